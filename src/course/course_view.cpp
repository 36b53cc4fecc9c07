// The scrolling course view: the bus step, the 5 by 5 tiles around the current cell, the
// bus on top, and the 384 by 384 square around the driver's seat copied to the screen.
#include "app/error_log.h"
#include "app/globals.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/dialogs.h"

namespace {

constexpr int ViewTiles = 5;      // the view block is 5 by 5 tiles
constexpr int ViewHalfSide = 192;  // half of the 384-pixel square shown on screen

// Tile code drawn for a cell: off the 20 by 20 grid, never loaded (-1) or not a tile code
// at all, the cell shows empty ground.
int TileCodeForView(const CourseMap& map, int x, int y) {
    const int code = map.CodeAt(x, y);
    return (code >= 0 && code < TileCodeCount) ? code : TileEmpty;
}

// First frame of a drive: place the bus on the start tile; afterwards: one frame of motion.
void RunBusStep(CourseMap& map) {
    if (frameBusState.placed == 0) {
        map.currentCellX = map.startCellX;
        map.currentCellY = map.startCellY;
        map.PlaceBus(map.CodeAt(map.startCellX, map.startCellY));
        return;
    }
    Bus& theBus = ActiveBus();
    theBus.Advance();
    theBus.Transform();
    map.FollowBus();
}

// The part of mapscreen that is copied to the screen: the square around the driver's seat.
Rect ShownSquare() {
    const Point centre = frameBusState.driverPoint;
    return {centre.x - ViewHalfSide, centre.y - ViewHalfSide, centre.x + ViewHalfSide, centre.y + ViewHalfSide};
}

// Only what the square shows of each tile is drawn: at most 4 by 4 of the 5 by 5 tiles
// reach into it, and only in part. The square's pixels come out as if all were drawn.
void DrawViewTiles(const CourseMap& map) {
    const Rect tileRect{0, 0, TileSize, TileSize};
    const Rect shown = ShownSquare();
    for (int i = 0; i < ViewTiles; ++i) {
        for (int j = 0; j < ViewTiles; ++j) {
            const int code = TileCodeForView(map, map.currentCellX + i - 2, map.currentCellY + j - 2);
            const Surface* tile = TileSurfaces[code].get();
            if (!tile) continue;
            const int result = mapscreen->BltFastWithin(shown, i * TileSize, j * TileSize, *tile, tileRect, true);
            if (result != kCopyOk) WriteErrorLog("error.txt", "%02d", result);
        }
    }
}

// The frame leaves the view's square to the view; when the view cannot be copied, the
// square shows the background as it would have without the view.
void ShowBackgroundInstead(Surface& target, const Rect& destination) {
    if (backSurface) target.Blt(&destination, *backSurface, &CourseViewOnScreen, false);
}

void CopyViewToScreen(Surface& target) {
    const Rect source = ShownSquare();
    const Rect destination{WindowOrigin.x + CourseViewOnScreen.left, WindowOrigin.y + CourseViewOnScreen.top,
                           WindowOrigin.x + CourseViewOnScreen.right, WindowOrigin.y + CourseViewOnScreen.bottom};
    if (!mapscreen) {
        ShowBackgroundInstead(target, destination);
        return;
    }
    if (target.Blt(&destination, *mapscreen, &source, false) == kCopyOk) return;
    ShowBackgroundInstead(target, destination);
    MessageBox("RenderMap(mapscreen->Offscreen) Blt Error ", "Blt Error!", MB_OK);
}

}  // namespace

void CourseMap::RenderMap(Surface& target) {
    RunBusStep(*this);
    frameBusState = liveBusState;
    if (mapscreen) {
        DrawViewTiles(*this);
        DrawBus();
    }
    CopyViewToScreen(target);
}
