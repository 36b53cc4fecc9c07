// Shared by the bus and course-view tests: saves and restores the globals they change, and
// makes the surfaces the drawing needs.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/draw_context.h"
#include "platform/surface.h"
#include "shared/globals.h"

// Puts the bus records, the surfaces, the window origin and the fault switches back as the
// test found them.
class BusGlobalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedGeometry_ = busGeometry;
        savedMaxSteer_ = maxSteerDeg;
        savedLive_ = liveBusState;
        savedFrame_ = frameBusState;
        savedOrigin_ = WindowOrigin;
        savedFaults_ = gdiFaults;
    }
    void TearDown() override {
        busGeometry = savedGeometry_;
        maxSteerDeg = savedMaxSteer_;
        liveBusState = savedLive_;
        frameBusState = savedFrame_;
        WindowOrigin = savedOrigin_;
        gdiFaults = savedFaults_;
        offscreen.reset();
        mapscreen.reset();
        gearSurface.reset();
        backSurface.reset();
        for (auto& tile : TileSurfaces) tile.reset();
    }

    // Selects a type the way the game does.
    static void SetupBusType(int type) {
        Bus b;
        b.busType = type;
        b.Setup();
    }

private:
    BusGeometry savedGeometry_;
    std::int32_t savedMaxSteer_;
    BusState savedLive_;
    BusState savedFrame_;
    Point savedOrigin_;
    GdiFaults savedFaults_;
};

// A surface filled with one colour; fails the test when it cannot be made.
inline std::unique_ptr<Surface> MakeFilledSurface(int width, int height, Colorref colour) {
    auto surface = Surface::Create(width, height);
    EXPECT_NE(surface, nullptr) << "Surface::Create(" << width << ", " << height << ")";
    if (surface) surface->Fill(colour);
    return surface;
}

// The x positions in row y of [fromX, toX) whose pixel has the given colour.
inline std::vector<int> ColumnsWithColour(const Surface& s, int y, int fromX, int toX, Colorref colour) {
    std::vector<int> columns;
    for (int x = fromX; x < toX; ++x)
        if (s.PixelAt(x, y) == colour) columns.push_back(x);
    return columns;
}

inline int CountPixels(const Surface& s, const Rect& area, Colorref colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.PixelAt(x, y) == colour) ++count;
    return count;
}
