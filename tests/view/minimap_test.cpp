// The minimap: field, start, goal and current cell squares.
#include <gtest/gtest.h>

#include "bus/bus_test_helpers.h"

namespace {

constexpr Colorref Sentinel = Rgb(1, 2, 3);
constexpr Colorref Field = Rgb(0, 64, 0);
constexpr Colorref Blue = Rgb(0, 0, 255);
constexpr Colorref Red = Rgb(255, 0, 0);
constexpr Colorref Yellow = Rgb(255, 255, 0);

class MinimapTest : public BusGlobalsTest {
protected:
    void SetUp() override {
        BusGlobalsTest::SetUp();
        offscreen = MakeFilledSurface(640, 480, Sentinel);
    }
    int Count(Colorref colour) const { return CountPixels(*offscreen, {0, 0, 640, 480}, colour); }
    CourseMap map;
};

TEST_F(MinimapTest, CellsAreNineByNineSquaresInTenPixelSlots) {
    map.startCellX = map.startCellY = 0;
    map.goalCellX = 5;
    map.goalCellY = 6;
    map.currentCellX = map.currentCellY = 19;
    map.DrawMinimap();
    EXPECT_EQ(CountPixels(*offscreen, {414, 190, 423, 199}, Blue), 81);
    EXPECT_EQ(Count(Blue), 81);
    EXPECT_EQ(CountPixels(*offscreen, {464, 250, 473, 259}, Red), 81);
    EXPECT_EQ(Count(Red), 81);
    EXPECT_EQ(offscreen->PixelAt(612, 388), Yellow);
    EXPECT_EQ(Count(Yellow), 81);
    // One pixel of field between slots and around the last one; nothing beyond the field.
    EXPECT_EQ(offscreen->PixelAt(423, 190), Field);
    EXPECT_EQ(offscreen->PixelAt(414, 199), Field);
    EXPECT_EQ(offscreen->PixelAt(613, 389), Field);
    EXPECT_EQ(offscreen->PixelAt(614, 389), Sentinel);
    EXPECT_EQ(offscreen->PixelAt(613, 390), Sentinel);
    EXPECT_EQ(offscreen->PixelAt(413, 190), Sentinel);
    EXPECT_EQ(Count(Field), 200 * 200 - 3 * 81);
}

TEST_F(MinimapTest, CurrentCellIsDrawnOverTheGoal) {
    map.startCellX = map.startCellY = 2;
    map.goalCellX = map.currentCellX = 7;
    map.goalCellY = map.currentCellY = 8;
    map.DrawMinimap();
    EXPECT_EQ(Count(Red), 0);
    EXPECT_EQ(CountPixels(*offscreen, {484, 270, 493, 279}, Yellow), 81);
}

TEST_F(MinimapTest, CellsOffTheGridAreNotDrawn) {
    // A course without start or goal keeps them at 23; the current cell just off each side.
    for (const Point cell : {Point{-1, 4}, Point{20, 4}, Point{4, 20}}) {
        offscreen->Fill(Sentinel);
        map.currentCellX = cell.x;
        map.currentCellY = cell.y;
        map.DrawMinimap();
        EXPECT_EQ(Count(Blue) + Count(Red) + Count(Yellow), 0) << cell.x << "," << cell.y;
        EXPECT_EQ(Count(Field), 200 * 200);
        EXPECT_EQ(Count(Sentinel), 640 * 480 - 200 * 200);
    }
}

TEST_F(MinimapTest, FollowsTheWindowOrigin) {
    offscreen = MakeFilledSurface(700, 520, Sentinel);
    WindowOrigin = {20, 30};
    map.startCellX = map.startCellY = 0;
    map.currentCellX = map.currentCellY = 5;
    map.DrawMinimap();
    EXPECT_EQ(CountPixels(*offscreen, {434, 220, 443, 229}, Blue), 81);
    EXPECT_EQ(CountPixels(*offscreen, {484, 270, 493, 279}, Yellow), 81);
    EXPECT_EQ(CountPixels(*offscreen, {434, 220, 634, 420}, Field), 200 * 200 - 2 * 81);
}

}  // namespace
