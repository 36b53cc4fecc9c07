// The bus: its four types, body geometry, state on the course and motion.
#pragma once
#include <cstdint>

#include "platform/geometry.h"

class Surface;

constexpr int MaxOutlinePoints = 10;
constexpr int MaxOptions = 10;
constexpr int MaxOptionPoints = 20;
constexpr int BusTypeCount = 4;

// Decoration kinds ("Option Type").
enum BusOptionType { OptionEnd = 0, OptionLinePairs = 1, OptionOutlinedPolygon = 2, OptionFilledPolygon = 3 };

struct BusOption {
    std::int32_t type;
    Colorref colour;
    std::int32_t count;
    Point points[MaxOptionPoints];
};

// Body measurements of the selected type, in pixels relative to the rear-axle centre,
// x to the bus's right, y backwards (the front has negative y).
struct BusGeometry {
    std::int32_t halfWidth;
    std::int32_t wheelbase;
    std::int32_t frontOverhang;
    std::int32_t rearOverhang;
    std::int32_t minTurnRadius;
    Point driverPoint;
    std::int32_t outlineCount;
    Point outline[MaxOutlinePoints];
    Point frontWheel[2];
    Colorref bodyColour;
    BusOption options[MaxOptions];
};

// The bus on the course, in course-view pixels.
struct BusState {
    std::int32_t x;
    std::int32_t y;
    double exactX;
    double exactY;
    std::int32_t outlineCount;
    Point outline[MaxOutlinePoints];
    Point driverPoint;
    Point frontWheel[2];
    Point frontWheelLine[2][2];
    Point rearWheel[2];
    double speed;        // pixels per frame, negative in reverse
    std::int32_t gear;   // -1 reverse, 0 neutral, 1 forward
    double heading;      // radians, 0 faces up the screen, positive turns counter-clockwise
    double steering;     // radians, positive turns left
    std::int32_t placed;
    BusOption options[MaxOptions];
};

// The four types' measurements and decorations, in busType order (bus/bus_types.cpp).
extern const BusGeometry BusTypeTables[BusTypeCount];

extern BusGeometry busGeometry;
extern std::int32_t maxSteerDeg;
extern BusState liveBusState;
extern BusState frameBusState;

// The records one bus is driven on. The player's bus is the globals above (PlayerBus); the
// ghost keeps records of its own and drives them through the same code.
struct BusRecords {
    BusState& live;
    BusState& frame;
    BusGeometry& geometry;
    std::int32_t& maxSteer;
};
BusRecords PlayerBus();

// Fills the geometry for a type, derives the steering limit and resets the bus state.
void SetUpBus(const BusRecords& bus, std::int32_t busType);
// One frame of motion of a state with a geometry.
void AdvanceBus(BusState& s, const BusGeometry& g);
// Every course-view point of a state recomputed from the geometry, position and angles.
void TransformBus(BusState& s, const BusGeometry& g);

class Bus {
public:
    Bus();
    virtual ~Bus();

    std::int32_t busType = 0;

    // The player's bus: each works on the globals above.
    void Setup();
    void Advance();
    void Transform();
    void Shift(int tilesX, int tilesY);

    static double DegToRad(int degrees);
    static int RadToDeg(double radians);
    static Point RotatePoint(int x, int y, double angle);
};

// What a driving key did to a bus state (bus/bus_controls.cpp): LeftInNeutral when a gear key
// left the gear in neutral, which tries the goal.
enum class ControlResult { NotAControl, Taken, LeftInNeutral };
// Whether the key is a gear, speed or steering key.
bool IsControlKey(int key);
// A gear, speed or steering key on the state, the steering kept within maxSteer degrees
// either way.
ControlResult ApplyControlKey(BusState& s, int key, int maxSteer);
// Every course-view coordinate of the state moved by -dx, -dy pixels.
void ShiftBusState(BusState& s, int dx, int dy);

// Point counts in use, never more than the arrays hold.
int OptionPointCount(const BusOption& option);
int OutlinePointCount(std::int32_t outlineCount);

// A rectangle holding every pixel that CourseMap::DrawBus draws for the state (bus/bus_drawing.cpp).
Rect BusDrawingBounds(const BusState& s);
// The bus of a state, its body in the colour given, onto a surface; CourseMap::DrawBus draws
// the player's into mapscreen.
void DrawBusOn(Surface& surface, const BusState& s, Colorref bodyColour);

// Driver's instruments on the driving screen (bus/instruments.cpp).
void DrawGear();
void DrawSteeringGauge();
// Signed length of the steering bar for a steering angle, with the selected type's limit.
int SteeringGaugeWidth(double steering);
