// The course view: bus step, tiles around the current cell, and the copy to the screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "bus/bus_test_helpers.h"
#include "platform/dialogs.h"
#include "support/test_support.h"

namespace {

constexpr Colorref Sentinel = Rgb(1, 2, 3);

// Each tile code has its own flat colour.
Colorref TileColour(int code) { return Rgb(10 * code, 100, 50); }

class CourseViewTest : public BusGlobalsTest {
protected:
    void SetUp() override {
        BusGlobalsTest::SetUp();
        offscreen = MakeFilledSurface(640, 480, Sentinel);
        mapscreen = MakeFilledSurface(640, 640, Sentinel);
        for (int code = 0; code < TileCodeCount; ++code) {
            TileSurfaces[code] = MakeFilledSurface(128, 128, TileColour(code));
            TileSurfaces[code]->SetColourKey(ColourKeyMagenta);
        }
        SetupBusType(0);
    }

    void FillGrid(int code) {
        for (auto& column : map.grid)
            for (auto& cell : column) cell = code;
    }

    // A bus already on the course, standing still with its driver's seat at the point.
    void StandBusWithDriverAt(Point driver) {
        const Point seat = Bus::RotatePoint(busGeometry.driverPoint.x, busGeometry.driverPoint.y, 0.0);
        liveBusState.x = driver.x - seat.x;
        liveBusState.y = driver.y - seat.y;
        liveBusState.exactX = liveBusState.x;
        liveBusState.exactY = liveBusState.y;
        liveBusState.heading = 0.0;
        liveBusState.placed = 1;
        frameBusState = liveBusState;
    }

    // Whether the screen shows any of view block (i, j): the square around the driver's seat
    // reaches into it.
    static bool Shown(int i, int j) {
        const Point seat = frameBusState.driverPoint;
        const auto reaches = [](int block, int centre) {
            return block * TileSize < centre + 192 && (block + 1) * TileSize > centre - 192;
        };
        return reaches(i, seat.x) && reaches(j, seat.y);
    }

    // The screen pixel that shows course-view point (x, y) of mapscreen.
    static Colorref OnScreen(int x, int y) {
        const Point seat = frameBusState.driverPoint;
        return offscreen->PixelAt(WindowOrigin.x + 6 + x - (seat.x - 192), WindowOrigin.y + 6 + y - (seat.y - 192));
    }

    static int CodeOfColour(Colorref c) {
        for (int code = 0; code < TileCodeCount; ++code)
            if (TileColour(code) == c) return code;
        return -1;
    }

    // The code whose colour the screen shows near the top-left corner of the part of view
    // block (i, j) that it shows, clear of the bus.
    int ShownCode(int i, int j) const {
        const Point seat = frameBusState.driverPoint;
        return CodeOfColour(OnScreen(std::max(i * TileSize, seat.x - 192) + 2, std::max(j * TileSize, seat.y - 192) + 2));
    }

    CourseMap map;
};

TEST_F(CourseViewTest, FirstFramePlacesTheBusOnTheStartTileWithoutMoving) {
    map.startCellX = 3;
    map.startCellY = 4;
    map.grid[3][4] = TileStartUp;
    map.currentCellX = 9;
    frameBusState.speed = liveBusState.speed = 5.0;
    map.RenderMap(*offscreen);
    EXPECT_EQ(map.currentCellX, 3);
    EXPECT_EQ(map.currentCellY, 4);
    EXPECT_EQ(frameBusState.placed, 1);
    EXPECT_EQ(frameBusState.x, 300);
    EXPECT_EQ(frameBusState.y, 339);
    EXPECT_EQ(frameBusState.exactY, 339.0);
    EXPECT_EQ(ShownCode(2, 2), TileStartUp);
    // The bus is drawn in the centre tile.
    EXPECT_EQ(mapscreen->PixelAt(300, 320), busGeometry.bodyColour);
}

TEST_F(CourseViewTest, LaterFramesMoveFollowAndCopyTheState) {
    StandBusWithDriverAt({300, 257});
    liveBusState.speed = 2.0;
    map.currentCellX = 6;
    map.currentCellY = 6;
    map.RenderMap(*offscreen);
    // The driver's seat crossed into the tile above: the view moved one cell up.
    EXPECT_EQ(map.currentCellY, 5);
    EXPECT_EQ(frameBusState.driverPoint, (Point{300, 255 + 128}));
    EXPECT_EQ(frameBusState.exactY, liveBusState.exactY);
    EXPECT_EQ(frameBusState.y, liveBusState.y);
    EXPECT_EQ(frameBusState.placed, 1);
}

TEST_F(CourseViewTest, TilesOffTheGridOrWithoutACodeShowEmptyGround) {
    for (int x = 0; x < GridSize; ++x)
        for (int y = 0; y < GridSize; ++y) map.grid[x][y] = 7;
    map.grid[1][2] = -1;  // never loaded
    map.grid[2][1] = 99;  // not a tile code
    map.lastCellX = 11;   // the course's counts do not limit the view
    map.grid[12][19] = 9;
    struct Case {
        int cellX, cellY;
    };
    // The seat left of and above the centre shows blocks 0 to 3, right of and below it 1 to 4.
    for (const Case c : {Case{0, 0}, Case{19, 19}, Case{12, 19}, Case{1, 1}})
        for (const Point seat : {Point{300, 300}, Point{340, 340}}) {
            SCOPED_TRACE(testing::Message() << "current " << c.cellX << "," << c.cellY << ", seat " << seat.x);
            StandBusWithDriverAt(seat);
            map.currentCellX = c.cellX;
            map.currentCellY = c.cellY;
            map.RenderMap(*offscreen);
            for (int i = 0; i < 5; ++i)
                for (int j = 0; j < 5; ++j) {
                    if (!Shown(i, j)) continue;
                    const int x = c.cellX + i - 2, y = c.cellY + j - 2;
                    const bool onGrid = x >= 0 && x < GridSize && y >= 0 && y < GridSize;
                    int expected = onGrid ? 7 : TileEmpty;
                    if ((x == 1 && y == 2) || (x == 2 && y == 1)) expected = TileEmpty;
                    if (x == 12 && y == 19) expected = 9;
                    EXPECT_EQ(ShownCode(i, j), expected) << "block " << i << "," << j;
                }
        }
}

// The tiles are opaque pictures with holes: a magenta pixel of a tile leaves what was there,
// the tile drawn there the frame before, even when no tile with holes was in view then.
TEST_F(CourseViewTest, TileCopiesUseTheColourKeyAndHolesShowTheFrameBefore) {
    TileSurfaces[3]->FillRect({0, 0, 4, 4}, ColourKeyMagenta);
    StandBusWithDriverAt({320, 320});
    map.currentCellX = map.currentCellY = 10;
    FillGrid(3);
    map.RenderMap(*offscreen);
    EXPECT_EQ(mapscreen->PixelAt(TileSize, TileSize), Sentinel);
    EXPECT_EQ(mapscreen->PixelAt(TileSize + 4, TileSize + 4), TileColour(3));

    FillGrid(4);
    map.RenderMap(*offscreen);
    FillGrid(3);
    map.RenderMap(*offscreen);
    EXPECT_EQ(mapscreen->PixelAt(TileSize, TileSize), TileColour(4));
    EXPECT_EQ(OnScreen(TileSize, TileSize), TileColour(4));
    EXPECT_EQ(OnScreen(TileSize + 4, TileSize + 4), TileColour(3));
}

TEST_F(CourseViewTest, CopiesTheSquareAroundTheDriversSeat) {
    for (int x = 0; x < GridSize; ++x)
        for (int y = 0; y < GridSize; ++y) map.grid[x][y] = (x * 3 + y) % TileCodeCount;
    for (Point origin : {Point{0, 0}, Point{25, 10}}) {
        SCOPED_TRACE(testing::Message() << "origin " << origin.x << "," << origin.y);
        WindowOrigin = origin;
        offscreen = MakeFilledSurface(700, 520, Sentinel);
        StandBusWithDriverAt({256, 383});
        map.currentCellX = map.currentCellY = 8;
        map.RenderMap(*offscreen);
        ASSERT_EQ(frameBusState.driverPoint, (Point{256, 383}));
        // Destination (ox + 6, oy + 6) to (ox + 390, oy + 390) shows mapscreen (64, 191) to
        // (448, 575): the tiles of the blocks there, and the bus as drawn into mapscreen.
        const Rect bus = BusDrawingBounds(frameBusState);
        int mismatches = 0;
        for (int v = 0; v < 384; ++v)
            for (int u = 0; u < 384; ++u) {
                const Point p{64 + u, 191 + v};
                const bool underBus = p.x >= bus.left && p.x < bus.right && p.y >= bus.top && p.y < bus.bottom;
                const Colorref expected = underBus ? mapscreen->PixelAt(p.x, p.y)
                                                   : TileColour(map.grid[8 + p.x / 128 - 2][8 + p.y / 128 - 2]);
                mismatches += offscreen->PixelAt(origin.x + 6 + u, origin.y + 6 + v) != expected;
            }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(OnScreen(256, 383 + 20), busGeometry.bodyColour);
        for (Point outside : {Point{5, 6}, Point{6, 5}, Point{390, 389}, Point{389, 390}})
            EXPECT_EQ(offscreen->PixelAt(origin.x + outside.x, origin.y + outside.y), Sentinel);
    }
}

TEST_F(CourseViewTest, FailedTileCopyLeavesItsCodeInTheLog) {
    ScopedWorkDir dir;
    FillGrid(1);
    map.grid[10][10] = 5;
    TileSurfaces[5]->SetLost(true);
    StandBusWithDriverAt({320, 320});
    map.currentCellX = map.currentCellY = 10;
    map.RenderMap(*offscreen);
    const auto bytes = ReadBytes("error.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string("-2005532222\0\0\0\0\0\0\0\0\0", 20));
    // The other tiles were still drawn.
    EXPECT_EQ(ShownCode(1, 1), 1);
    EXPECT_EQ(ShownCode(3, 3), 1);
}

TEST_F(CourseViewTest, FailedScreenCopyShowsABoxEveryFrame) {
    MessageBoxRecorder boxes;
    StandBusWithDriverAt({320, 320});
    offscreen->SetLost(true);
    map.RenderMap(*offscreen);
    map.RenderMap(*offscreen);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "RenderMap(mapscreen->Offscreen) Blt Error ");
    EXPECT_EQ(boxes.boxes[0].caption, "Blt Error!");
    EXPECT_EQ(boxes.boxes[0].type, MB_OK);
}

// The frame leaves the view's square to the view, so a view that is not copied leaves the
// background there, as the frame's background copy would have.
TEST_F(CourseViewTest, WithoutTheViewItsSquareShowsTheBackground) {
    ScopedWorkDir dir;  // the lost view surface leaves error.txt behind
    MessageBoxRecorder boxes;
    constexpr Colorref Back = Rgb(10, 20, 30);
    backSurface = MakeFilledSurface(640, 480, Back);
    WindowOrigin = {25, 10};
    StandBusWithDriverAt({320, 320});
    for (const bool lost : {true, false}) {
        SCOPED_TRACE(lost ? "view surface lost" : "no view surface");
        offscreen = MakeFilledSurface(700, 520, Sentinel);
        if (lost) mapscreen->SetLost(true);
        else mapscreen.reset();
        map.RenderMap(*offscreen);
        for (Point p : {Point{31, 16}, Point{414, 399}})
            EXPECT_EQ(offscreen->PixelAt(p.x, p.y), Back) << p.x << "," << p.y;
        for (Point p : {Point{30, 16}, Point{415, 400}})
            EXPECT_EQ(offscreen->PixelAt(p.x, p.y), Sentinel) << p.x << "," << p.y;
    }
    EXPECT_EQ(boxes.boxes.size(), 1u);  // only the lost surface is a failed copy
}

}  // namespace

// What runs beside the bus shows over the tiles and under the bus, the same whichever way the
// view is drawn: straight to the screen with only the part under the bus through mapscreen,
// or all of it through mapscreen (as when a tile has holes).
TEST_F(CourseViewTest, TheLayerBeneathTheBusShowsTheSameEitherWay) {
    constexpr Colorref kLayer = Rgb(9, 9, 9);
    beneathTheBus = [](Surface& into, Point shift, const Rect& clip) {
        const Rect acrossTheBus{200 + shift.x, 300 + shift.y, 460 + shift.x, 340 + shift.y};
        into.FillRect(Intersection(acrossTheBus, clip), kLayer);
    };
    FillGrid(5);
    std::vector<Colorref> shown[2];
    for (auto& square : shown) {
        if (&square == &shown[1]) TileSurfaces[23]->SetPixel(0, 0, ColourKeyMagenta);
        offscreen = MakeFilledSurface(640, 480, Sentinel);
        StandBusWithDriverAt({320, 320});
        map.currentCellX = map.currentCellY = 10;
        map.RenderMap(*offscreen);
        for (int y = CourseViewOnScreen.top; y < CourseViewOnScreen.bottom; ++y)
            for (int x = CourseViewOnScreen.left; x < CourseViewOnScreen.right; ++x) square.push_back(offscreen->PixelAt(x, y));
    }
    beneathTheBus = nullptr;
    EXPECT_TRUE(shown[0] == shown[1]);
    EXPECT_GT(std::count(shown[0].begin(), shown[0].end(), kLayer), 0);
}
