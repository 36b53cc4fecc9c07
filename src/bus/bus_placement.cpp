// The bus step: putting the bus on its start tile, moving it, and keeping the course view on
// the driver's seat.
#include "bus/bus.h"
#include "course/course_map.h"

namespace {

// The bus's rear axle and heading on a start tile, in the centre tile of the view.
struct StartPose {
    int x;
    int y;
    double heading;
};

// m: rear axle to the middle of the bus; k: rear-axle centre to the tile edge on the bus's left.
bool StartPoseFor(int startCode, int m, int k, StartPose& pose) {
    switch (startCode) {
    case TileStartLeft: pose = {320 + m, 383 - k, Bus::DegToRad(90)}; return true;
    case TileStartRight: pose = {320 - m, 256 + k, Bus::DegToRad(-90)}; return true;
    case TileStartUp: pose = {256 + k, 320 + m, 0.0}; return true;
    case TileStartDown: pose = {383 - k, 320 - m, Bus::DegToRad(180)}; return true;
    default: return false;
    }
}

// The tile of a view coordinate. Below 0 it rounds down, not toward zero: a bus fast enough
// to leave the view to the left or top in one frame would otherwise be followed one tile
// short, and the view copy would then miss it every frame.
int TileOf(int coordinate) {
    return coordinate >= 0 ? coordinate / TileSize : -((TileSize - 1 - coordinate) / TileSize);
}

void FollowDriversSeat(const BusRecords& bus, std::int32_t& cellX, std::int32_t& cellY) {
    const int tx = TileOf(bus.live.driverPoint.x) - 2;
    const int ty = TileOf(bus.live.driverPoint.y) - 2;
    if (tx == 0 && ty == 0) return;
    ShiftBusState(bus.live, TileSize * tx, TileSize * ty);
    cellX += tx;
    cellY += ty;
}

void PlaceBusOnStart(const BusRecords& bus, std::int32_t& cellX, std::int32_t& cellY, int startCode) {
    const BusGeometry& g = bus.geometry;
    const int m = (g.rearOverhang + g.wheelbase + g.frontOverhang) / 2 - g.rearOverhang;
    const int k = g.halfWidth + 32;
    StartPose pose;
    const bool onStartTile = StartPoseFor(startCode, m, k, pose);
    if (onStartTile) {
        bus.frame.x = pose.x;
        bus.frame.y = pose.y;
        bus.frame.heading = pose.heading;
    }
    bus.frame.exactX = bus.frame.x;
    bus.frame.exactY = bus.frame.y;
    bus.frame.placed = 1;
    bus.live = bus.frame;
    TransformBus(bus.live, g);
    // Without a start tile the bus keeps its last position, which may lie anywhere: bring the
    // view to it, so the copy around the driver's seat stays inside the view.
    if (!onStartTile) FollowDriversSeat(bus, cellX, cellY);
}

}  // namespace

// First frame of a drive: place the bus on the start tile; afterwards: one frame of motion.
void CourseMap::MoveBus(const BusRecords& bus, std::int32_t& cellX, std::int32_t& cellY) {
    if (bus.frame.placed == 0) {
        cellX = startCellX;
        cellY = startCellY;
        PlaceBusOnStart(bus, cellX, cellY, CodeAt(startCellX, startCellY));
    } else {
        AdvanceBus(bus.live, bus.geometry);
        TransformBus(bus.live, bus.geometry);
        FollowDriversSeat(bus, cellX, cellY);
    }
    bus.frame = bus.live;
}

void CourseMap::PlaceBus(int startCode) { PlaceBusOnStart(PlayerBus(), currentCellX, currentCellY, startCode); }
void CourseMap::FollowBus() { FollowDriversSeat(PlayerBus(), currentCellX, currentCellY); }
