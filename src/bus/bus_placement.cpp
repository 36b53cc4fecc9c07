// Putting the bus on its start tile and keeping the course view on the driver's seat.
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

}  // namespace

void CourseMap::PlaceBus(int startCode) {
    const BusGeometry& g = busGeometry;
    const int m = (g.rearOverhang + g.wheelbase + g.frontOverhang) / 2 - g.rearOverhang;
    const int k = g.halfWidth + 32;
    StartPose pose;
    if (StartPoseFor(startCode, m, k, pose)) {
        frameBusState.x = pose.x;
        frameBusState.y = pose.y;
        frameBusState.heading = pose.heading;
    }
    frameBusState.exactX = frameBusState.x;
    frameBusState.exactY = frameBusState.y;
    frameBusState.placed = 1;
    liveBusState = frameBusState;
    ActiveBus().Transform();
}

void CourseMap::FollowBus() {
    const int tx = liveBusState.driverPoint.x / TileSize - 2;
    const int ty = liveBusState.driverPoint.y / TileSize - 2;
    if (tx == 0 && ty == 0) return;
    ActiveBus().Shift(tx, ty);
    currentCellX += tx;
    currentCellY += ty;
}
