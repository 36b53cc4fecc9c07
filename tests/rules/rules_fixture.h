// A small course and a hand-built bus for the course rule tests, with the globals the
// rules touch (stopwatch, offscreen, alarm bitmap, window origin) set up and put back.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/draw_context.h"
#include "platform/surface.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "support/test_support.h"

// Background of offscreen before a frame's warnings.
constexpr Colorref Backdrop = Rgb(1, 2, 3);

// The alarm bitmap: every pixel tells its own column and row apart.
inline Colorref AlarmPixel(int x, int y) { return Rgb(x, y, 77); }

class RulesTest : public ::testing::Test {
protected:
    static constexpr int CentreCell = 5;  // current cell: the view shows cells 3 to 7

    void SetUp() override {
        map.lastCellX = 9;
        map.lastCellY = 9;
        map.currentCellX = CentreCell;
        map.currentCellY = CentreCell;
        for (auto& column : map.grid)
            for (auto& cell : column) cell = TileStraightX;
        liveBusState = BusState{};
        liveBusState.placed = 1;
        clock.wallSeconds = 100;
        stopwatch = std::make_unique<Stopwatch>();
        offscreen = Surface::Create(640, 480);
        offscreen->Fill(Backdrop);
        alarmSurface = Surface::Create(180, 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 180; ++x) alarmSurface->SetPixel(x, y, AlarmPixel(x, y));
        WindowOrigin = Point{0, 0};
        gdiFaults = GdiFaults{};
    }

    void TearDown() override {
        gdiFaults = GdiFaults{};
        WindowOrigin = Point{0, 0};
        alarmSurface.reset();
        offscreen.reset();
        stopwatch.reset();
        liveBusState = BusState{};
    }

    // The course-view point of in-tile (lx, ly) on cell (cellX, cellY).
    static Point At(int cellX, int cellY, int lx, int ly) {
        return Point{(cellX - CentreCell + 2) * TileSize + lx, (cellY - CentreCell + 2) * TileSize + ly};
    }
    static Point OnCentre(int lx, int ly) { return At(CentreCell, CentreCell, lx, ly); }

    void SetTile(int cellX, int cellY, int code) { map.grid[cellX][cellY] = code; }
    void SetCentreTile(int code) { SetTile(CentreCell, CentreCell, code); }

    // Wheels in checking order: rear left, rear right, front left, front right.
    void SetWheel(int index, Point p) {
        if (index < 2) liveBusState.rearWheel[index] = p;
        else liveBusState.frontWheel[index - 2] = p;
    }

    // A bus on a straight road along x, heading towards +x in its own lane, clear of every
    // wall of the centre tile: rear wheels at lx 20, front wheels at lx 100.
    void PlaceCleanBusTowardsPlusX() {
        SetWheel(0, OnCentre(20, 40));
        SetWheel(1, OnCentre(20, 60));
        SetWheel(2, OnCentre(100, 40));
        SetWheel(3, OnCentre(100, 60));
        SetOutline({OnCentre(10, 35), OnCentre(110, 35), OnCentre(110, 62), OnCentre(10, 62)});
    }

    void SetOutline(std::initializer_list<Point> points) {
        liveBusState.outlineCount = 0;
        for (Point p : points) liveBusState.outline[liveBusState.outlineCount++] = p;
    }

    bool OffscreenUntouchedAt(int x, int y) const { return offscreen->PixelAt(x, y) == Backdrop; }

    ScopedWorkDir workDir;  // error logs land here
    FakeClock clock;
    CourseMap map;
};
