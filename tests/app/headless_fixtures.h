// A game without a window, in a fresh folder: what start-up makes, minus the window.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "platform/geometry.h"
#include "support/test_support.h"

// Colours of the test bitmaps.
constexpr Colorref kBackColour = Rgb(10, 20, 30);
constexpr Colorref kMenu1Band = Rgb(200, 0, 0);
constexpr Colorref kMenu2Band = Rgb(0, 200, 0);
constexpr Colorref kFrontBand = Rgb(0, 0, 200);
// Rows 460 to 479 of the overlays are opaque; the rest is magenta.
constexpr int kOverlayBandTop = 460;
// back.bmp has one magenta pixel here.
constexpr Point kBackMagentaPixel{5, 5};

void WriteSolidBitmap(const std::string& name, int width, int height, Colorref colour);
// All 33 bitmaps of the game, except the one named (if any).
void WriteGameBitmaps(const std::string& skipped = "");
// Back to the state of a freshly started program.
void ResetShellState();

// An empty folder, boxes recorded, a settable clock, the shell as a fresh program has it.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { ResetShellState(); }
    void TearDown() override { ResetShellState(); }
    ScopedWorkDir dir;
    MessageBoxRecorder boxes;
    FakeClock clock;
};

// The five game objects (no score.dat).
class HeadlessObjects : public HeadlessTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The game's headless game on the test bitmaps, on an 800 by 600 screen, as after a successful
// start-up.
class HeadlessGameTest : public HeadlessTest {
protected:
    void SetUp() override;
    HeadlessGame game;  // shut down before the folder goes
};
