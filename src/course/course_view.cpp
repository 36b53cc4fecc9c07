// The scrolling course view: the bus step, the 5 by 5 tiles around the current cell, the
// bus on top, and the 384 by 384 square around the driver's seat copied to the screen.
#include <algorithm>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/dialogs.h"
#include "shared/error_log.h"
#include "shared/globals.h"
#include "shared/texts.h"

ViewLayer beneathTheBus = nullptr;

namespace {

constexpr int ViewTiles = 5;      // the view block is 5 by 5 tiles
constexpr int ViewHalfSide = 192;  // half of the 384-pixel square shown on screen

// Tile code drawn for a cell: off the 20 by 20 grid, never loaded (-1) or not a tile code
// at all, the cell shows empty ground.
int TileCodeForView(const CourseMap& map, int x, int y) {
    const int code = map.CodeAt(x, y);
    return (code >= 0 && code < TileCodeCount) ? code : TileEmpty;
}

// The part of mapscreen that is copied to the screen: the square around the driver's seat.
Rect ShownSquare() {
    const Point centre = frameBusState.driverPoint;
    return {centre.x - ViewHalfSide, centre.y - ViewHalfSide, centre.x + ViewHalfSide, centre.y + ViewHalfSide};
}

Rect SquareOnScreen() {
    return {WindowOrigin.x + CourseViewOnScreen.left, WindowOrigin.y + CourseViewOnScreen.top,
            WindowOrigin.x + CourseViewOnScreen.right, WindowOrigin.y + CourseViewOnScreen.bottom};
}

Rect Moved(const Rect& r, Point by) { return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

const Surface* TileOfBlock(const CourseMap& map, int i, int j) {
    return TileSurfaces[TileCodeForView(map, map.currentCellX + i - 2, map.currentCellY + j - 2)].get();
}

// The tiles of the view block into a surface, each moved by shift from its place in mapscreen;
// only what lands within clip is drawn (at most 4 by 4 of the 5 by 5 tiles reach into the
// shown square, and only in part).
void DrawViewTiles(const CourseMap& map, Surface& into, Point shift, const Rect& clip, bool logFailures) {
    const Rect tileRect{0, 0, TileSize, TileSize};
    for (int i = 0; i < ViewTiles; ++i) {
        for (int j = 0; j < ViewTiles; ++j) {
            const Surface* tile = TileOfBlock(map, i, j);
            if (!tile) continue;
            const int result = into.BltFastWithin(clip, i * TileSize + shift.x, j * TileSize + shift.y, *tile, tileRect, true);
            if (logFailures && result != kCopyOk) WriteErrorLog("error.txt", "%02d", result);
        }
    }
}

// Every tile picture copies whole and covers all it is copied onto. Asked of all of them, not
// only of those shown: mapscreen must hold the last frame's whole block whenever a tile with
// holes or a failing copy comes into view.
bool EveryTileCopiesOpaque() {
    for (const auto& tile : TileSurfaces) {
        if (!tile || tile->IsLost() || tile->Width() < TileSize || tile->Height() < TileSize || tile->HasKeyPixels())
            return false;
    }
    return true;
}

// Whether the copy of the shown square to the screen would succeed.
bool ViewCopies(const Surface& target, const Rect& shown) {
    return mapscreen && !mapscreen->IsLost() && !target.IsLost() && shown.left >= 0 && shown.top >= 0 &&
           shown.right <= mapscreen->Width() && shown.bottom <= mapscreen->Height();
}

// Opaque tiles show the same wherever they are drawn, so they go straight into the screen's
// square; only the part under the bus goes through mapscreen, where the bus is drawn, and is
// copied over. The square's pixels are those of the whole square drawn in mapscreen and
// copied, for a sixth of the memory traffic.
void DrawViewStraightToScreen(CourseMap& map, Surface& target) {
    const Rect shown = ShownSquare();
    const Rect square = SquareOnScreen();
    const Point shift{square.left - shown.left, square.top - shown.top};
    DrawViewTiles(map, target, shift, square, true);
    if (beneathTheBus) beneathTheBus(target, shift, square);
    const Rect underBus = Intersection(BusDrawingBounds(frameBusState), shown);
    if (!underBus.IsEmpty()) {
        DrawViewTiles(map, *mapscreen, Point{0, 0}, underBus, false);
        if (beneathTheBus) beneathTheBus(*mapscreen, Point{0, 0}, underBus);
    }
    map.DrawBus();
    if (underBus.IsEmpty()) return;
    const Rect busOnScreen = Moved(underBus, shift);
    target.Blt(&busOnScreen, *mapscreen, &underBus, false);
}

// The frame leaves the view's square to the view; when the view cannot be copied, the
// square shows the background as it would have without the view.
void ShowBackgroundInstead(Surface& target, const Rect& destination) {
    if (backSurface) target.Blt(&destination, *backSurface, &CourseViewOnScreen, false);
}

// The whole block of 5 by 5 tiles drawn in mapscreen, then the shown square copied to the
// screen.
void DrawViewThroughMapscreen(CourseMap& map, Surface& target) {
    const Rect destination = SquareOnScreen();
    if (!mapscreen) {
        ShowBackgroundInstead(target, destination);
        return;
    }
    const Rect source = ShownSquare();
    const Rect wholeBlock{0, 0, ViewTiles * TileSize, ViewTiles * TileSize};
    DrawViewTiles(map, *mapscreen, Point{0, 0}, wholeBlock, true);
    if (beneathTheBus) beneathTheBus(*mapscreen, Point{0, 0}, wholeBlock);
    map.DrawBus();
    if (target.Blt(&destination, *mapscreen, &source, false) == kCopyOk) return;
    ShowBackgroundInstead(target, destination);
    MessageBox(Texts().courseViewCopyError, Texts().copyErrorCaption, MB_OK);
}

}  // namespace

void CourseMap::RenderMap(Surface& target) {
    MoveBus(PlayerBus(), currentCellX, currentCellY);
    // Tiles with holes let earlier drawing show through, which only the way through
    // mapscreen reproduces; so does a copy that fails.
    if (ViewCopies(target, ShownSquare()) && EveryTileCopiesOpaque()) {
        DrawViewStraightToScreen(*this, target);
    } else {
        DrawViewThroughMapscreen(*this, target);
    }
}
