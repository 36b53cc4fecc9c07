#include "app/headless_fixtures.h"

#include <cstdio>

#include "app/app.h"
#include "bus/bus.h"
#include "platform/surface.h"
#include "shared/globals.h"

void WriteSolidBitmap(const std::string& name, int width, int height, Colorref colour) {
    auto surface = Surface::Create(width, height);
    ASSERT_TRUE(surface);
    surface->Fill(colour);
    ASSERT_TRUE(surface->SaveBmp(name));
}

namespace {
void WriteOverlay(const std::string& name, Colorref band) {
    auto surface = Surface::Create(640, 480);
    ASSERT_TRUE(surface);
    surface->Fill(ColourKeyMagenta);
    surface->FillRect({0, kOverlayBandTop, 640, 480}, band);
    ASSERT_TRUE(surface->SaveBmp(name));
}

void WriteBack() {
    auto surface = Surface::Create(640, 480);
    ASSERT_TRUE(surface);
    surface->Fill(kBackColour);
    surface->SetPixel(kBackMagentaPixel.x, kBackMagentaPixel.y, ColourKeyMagenta);
    ASSERT_TRUE(surface->SaveBmp("back.bmp"));
}
}  // namespace

void WriteGameBitmaps(const std::string& skipped) {
    for (int n = 0; n < 24; ++n) {
        const std::string name = std::to_string(n) + ".bmp";
        if (name != skipped) WriteSolidBitmap(name, 128, 128, Rgb(n * 10, 100, 50));
    }
    if (skipped != "front.bmp") WriteOverlay("front.bmp", kFrontBand);
    if (skipped != "back.bmp") WriteBack();
    if (skipped != "menu1.bmp") WriteOverlay("menu1.bmp", kMenu1Band);
    if (skipped != "menu2.bmp") WriteOverlay("menu2.bmp", kMenu2Band);
    const struct {
        const char* name;
        int width, height;
    } others[] = {{"gear.bmp", 96, 32},           {"alarm.bmp", 179, 59},
                  {"discontinue.bmp", 640, 480}, {"goalin.bmp", 640, 480},
                  {"number.bmp", 132, 20}};
    for (const auto& other : others) {
        if (other.name != skipped) WriteSolidBitmap(other.name, other.width, other.height, Rgb(90, 90, 90));
    }
}

void ResetShellState() {
    ScreenState = CourseSelect;
    WindowOrigin = {0, 0};
    WindowSize = {640, 480};
    StartupError = nullptr;
    Dragging = 0;
    DragLastPoint = {0, 0};
    liveBusState = BusState{};
    frameBusState = BusState{};
}

void HeadlessObjects::SetUp() {
    HeadlessTest::SetUp();
    CreateGameObjects();
}

void HeadlessObjects::TearDown() {
    ReleaseAll();
    HeadlessTest::TearDown();
}

void HeadlessGameTest::SetUp() {
    HeadlessTest::SetUp();
    WriteGameBitmaps();
    ASSERT_TRUE(game.Start(800, 600));
}
