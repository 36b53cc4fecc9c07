// The Bus object: type selection, set-up and the angle conversions.
#include "bus/bus.h"

#include <cmath>


BusGeometry busGeometry{};
std::int32_t maxSteerDeg = 0;
BusState liveBusState{};
BusState frameBusState{};

Bus::Bus() = default;
Bus::~Bus() = default;

BusRecords PlayerBus() { return {liveBusState, frameBusState, busGeometry, maxSteerDeg}; }

double Bus::DegToRad(int degrees) { return degrees * 0.017453292519943295; }

// One more than the truncated degrees for a positive angle; the steering limit and the
// steering gauge are scaled with this offset.
int Bus::RadToDeg(double radians) {
    return 1 - static_cast<int>(std::trunc(radians * -57.29577951308232));
}

static void ClearOptions(BusOption* options) {
    for (int i = 0; i < MaxOptions; ++i) {
        options[i].type = OptionEnd;
        options[i].count = 0;
    }
}

// The steering angle at which the outer front corner runs on the type's minimum turning
// circle.
static int DeriveMaxSteerDeg(const BusGeometry& g) {
    const double L = g.wheelbase;
    const double F = g.frontOverhang;
    const double B = g.minTurnRadius;
    const double W = g.halfWidth;
    const double rearAxleRadius = std::sqrt(std::pow(B, 2.0) - std::pow(L + F, 2.0)) - W;
    return Bus::RadToDeg(std::atan2(L, rearAxleRadius));
}

// A new run: the bus stands still and is placed on the start tile by the next frame.
static void ResetBusState(BusState& frame, BusState& live) {
    frame.speed = 0.0;
    frame.gear = 0;
    frame.heading = 0.0;
    frame.steering = 0.0;
    frame.placed = 0;
    live = frame;
}

void SetUpBus(const BusRecords& bus, std::int32_t busType) {
    ClearOptions(bus.geometry.options);
    // An unknown type keeps the previous measurements but loses its decorations.
    if (busType >= 0 && busType < BusTypeCount) bus.geometry = BusTypeTables[busType];
    bus.maxSteer = DeriveMaxSteerDeg(bus.geometry);
    ResetBusState(bus.frame, bus.live);
}

void Bus::Setup() { SetUpBus(PlayerBus(), busType); }
