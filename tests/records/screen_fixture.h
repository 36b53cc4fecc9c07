// Installs the globals that the drawing code uses (offscreen, stopwatch, score table) for one
// test and takes them away again; small pixel helpers for reading drawings back.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "platform/surface.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        stopwatch = std::make_unique<Stopwatch>();
        scoreTable = std::make_unique<ScoreTable>();
        InstallScreen(640, 480, Point{0, 0});
    }

    // A new offscreen of any size, with the window at the given origin.
    void InstallScreen(int width, int height, Point origin) {
        offscreen = Surface::Create(width, height);
        ASSERT_NE(offscreen, nullptr);
        WindowOrigin = origin;
    }

    void TearDown() override {
        offscreen.reset();
        numberSurface.reset();
        goalinSurface.reset();
        discontinueSurface.reset();
        stopwatch.reset();
        scoreTable.reset();
        WindowOrigin = Point{0, 0};
        gdiFaults = GdiFaults{};
    }
};

inline std::unique_ptr<Surface> FilledSurface(int width, int height, Colorref colour) {
    auto surface = Surface::Create(width, height);
    if (surface) surface->Fill(colour);
    return surface;
}

inline int CountPixels(const Surface& surface, const Rect& area, Colorref colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (surface.PixelAt(x, y) == colour) ++count;
        }
    }
    return count;
}

inline bool AllPixels(const Surface& surface, const Rect& area, Colorref colour) {
    return CountPixels(surface, area, colour) == area.Width() * area.Height();
}

// Number of pixels in the area where the two surfaces differ.
inline int DifferingPixels(const Surface& a, const Surface& b, const Rect& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.PixelAt(x, y) != b.PixelAt(x, y)) ++count;
        }
    }
    return count;
}

// What one line of text looks like when drawn alone on a surface of one colour.
inline std::unique_ptr<Surface> ReferenceText(int width, int height, Colorref base, int x, int y,
                                              int fontHeight, Colorref text, Colorref background,
                                              const std::string& utf8) {
    auto surface = FilledSurface(width, height, base);
    DrawContext dc(*surface);
    dc.SelectFont(Font::Create("ＭＳ ゴシック", fontHeight, FW_BOLD));
    dc.SetTextColor(text);
    dc.SetBkColor(background);
    dc.TextOut(x, y, utf8);
    return surface;
}
