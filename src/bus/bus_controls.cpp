// The driving keys' effect on the bus: the gear, the speed and the steering angle. The window
// procedure applies them to the player's bus, the ghost to its own.
#include "bus/bus.h"
#include "platform/messages.h"

namespace {

// Speed keys: speed changes by gear times the step.
struct SpeedKey {
    int key;
    double step;
};
const SpeedKey kSpeedKeys[] = {
    {'W', 0.4}, {VK_F8, 0.4}, {'S', 0.3},  {VK_F4, 0.3}, {'X', 0.2},  {VK_F9, 0.2},
    {'Q', -0.7}, {VK_F2, -0.7}, {'A', -0.5}, {'Z', -0.3}, {VK_F11, -0.3},
};

enum SteerKind { SteerLeft, SteerRight, SteerTowardZero };
struct SteerKey {
    int key;
    SteerKind kind;
    int degrees;
};
const SteerKey kSteerKeys[] = {
    {'U', SteerLeft, 16},  {VK_NUMPAD0 + 7, SteerLeft, 16},
    {'H', SteerLeft, 8},   {VK_LEFT, SteerLeft, 8},   {VK_NUMPAD0 + 4, SteerLeft, 8},
    {'J', SteerLeft, 4},   {VK_NUMPAD0 + 1, SteerLeft, 4},
    {'I', SteerRight, 16}, {VK_NUMPAD0 + 9, SteerRight, 16},
    {'L', SteerRight, 8},  {VK_RIGHT, SteerRight, 8}, {VK_NUMPAD0 + 6, SteerRight, 8},
    {'K', SteerRight, 4},  {VK_NUMPAD0 + 3, SteerRight, 4},
    {VK_NUMPAD0 + 8, SteerTowardZero, 16},
    {VK_NUMPAD0 + 5, SteerTowardZero, 8},
    {VK_NUMPAD0 + 2, SteerTowardZero, 4},
};

// The gear moves only while the bus stands; in neutral the goal is tried even when the
// press changed nothing.
ControlResult ShiftGear(BusState& s, int direction) {
    std::int32_t& gear = s.gear;
    if (s.speed == 0) gear += direction;
    if (gear > 1) {
        gear = 1;
    } else if (gear < -1) {
        gear = -1;
    } else if (gear == 0) {
        return ControlResult::LeftInNeutral;
    }
    return ControlResult::Taken;
}

void ChangeSpeed(BusState& s, double step) {
    double& speed = s.speed;
    speed = speed + s.gear * step;
    if (s.gear == 1 && speed < 0) speed = 0;
    if (s.gear == -1 && speed > 0) speed = 0;
}

void Steer(BusState& s, SteerKind kind, int degrees, int maxSteer) {
    double& angle = s.steering;
    switch (kind) {
    case SteerLeft:
        angle = angle + Bus::DegToRad(degrees);
        if (angle > Bus::DegToRad(maxSteer)) angle = Bus::DegToRad(maxSteer);
        break;
    case SteerRight:
        angle = angle - Bus::DegToRad(degrees);
        if (angle < -Bus::DegToRad(maxSteer)) angle = -Bus::DegToRad(maxSteer);
        break;
    case SteerTowardZero:
        if (angle < 0) {
            angle = angle + Bus::DegToRad(degrees);
            if (angle > 0) angle = 0;
        } else {
            angle = angle - Bus::DegToRad(degrees);
            if (angle < 0) angle = 0;
        }
        break;
    }
}

bool IsGearKey(int key) { return key == VK_UP || key == VK_DOWN; }

const SpeedKey* FindSpeedKey(int key) {
    for (const auto& speedKey : kSpeedKeys) {
        if (speedKey.key == key) return &speedKey;
    }
    return nullptr;
}

const SteerKey* FindSteerKey(int key) {
    for (const auto& steerKey : kSteerKeys) {
        if (steerKey.key == key) return &steerKey;
    }
    return nullptr;
}

}  // namespace

bool IsControlKey(int key) { return IsGearKey(key) || FindSpeedKey(key) || FindSteerKey(key); }

ControlResult ApplyControlKey(BusState& s, int key, int maxSteer) {
    if (IsGearKey(key)) return ShiftGear(s, key == VK_UP ? 1 : -1);
    if (const SpeedKey* speedKey = FindSpeedKey(key)) {
        ChangeSpeed(s, speedKey->step);
        return ControlResult::Taken;
    }
    if (const SteerKey* steerKey = FindSteerKey(key)) {
        Steer(s, steerKey->kind, steerKey->degrees, maxSteer);
        return ControlResult::Taken;
    }
    return ControlResult::NotAControl;
}
