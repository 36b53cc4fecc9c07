// One frame: background, the screen that ScreenState names, then the copy into the window.
#include "app/app.h"
#include "app/globals.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "records/stopwatch.h"

namespace {
constexpr Rect kScreenPicture{0, 0, 640, 480};

// A part of back.bmp to the same place in the window.
void CopyBackground(const Rect& part) {
    const Rect target{WindowOrigin.x + part.left, WindowOrigin.y + part.top, WindowOrigin.x + part.right,
                      WindowOrigin.y + part.bottom};
    offscreen->Blt(&target, *backSurface, &part, false);
}

// The driving screen leaves out the square that the course view covers (the view puts the
// background there itself if it cannot be copied).
void DrawBackground() {
    if (ScreenState != Driving) {
        CopyBackground(kScreenPicture);
        return;
    }
    const Rect& view = CourseViewOnScreen;
    CopyBackground({0, 0, kScreenPicture.right, view.top});
    CopyBackground({0, view.top, view.left, view.bottom});
    CopyBackground({view.right, view.top, kScreenPicture.right, view.bottom});
    CopyBackground({0, view.bottom, kScreenPicture.right, kScreenPicture.bottom});
}

// A full-screen picture whose magenta lets the drawing beneath show through.
void Overlay(const Surface& picture) {
    offscreen->BltFast(WindowOrigin.x, WindowOrigin.y, picture, kScreenPicture, true);
}

// A crash ends the run here; only a goal reached with the gear keys is scored.
void EndRunFromFrame() {
    ScreenState = Result;
    liveBusState.placed = 0;
    liveBusState.speed = 0;
    liveBusState.gear = 0;
    liveBusState.steering = 0;
    // As after a goal: the next open course starts with the standard bus.
    bus->busType = 0;
    stopwatch->Stop();
}

void DrawDrivingScreen() {
    courseMap->RenderMap(*offscreen);
    courseMap->DrawMinimap();
    DrawGear();
    DrawSteeringGauge();
    courseMap->ApplyLaneRule();
    courseMap->ApplyWallRule();
    courseMap->DrawTimes();
    Overlay(*frontSurface);
    if (courseMap->CheckCrash() == 1) EndRunFromFrame();
}

void DrawScreen() {
    switch (ScreenState) {
    case CourseSelect:
        menuScreen->DrawCourseMenu();
        Overlay(*menu1Surface);
        break;
    case Driving:
        DrawDrivingScreen();
        break;
    case Result:
        courseMap->DrawResult();
        break;
    case BusSelect:
        menuScreen->DrawBusMenu();
        Overlay(*menu2Surface);
        break;
    default:
        break;
    }
}

void Present() {
    if (!mainWindow) return;  // headless: the frame stays on offscreen
    if (mainWindow->Present(*offscreen) != kCopyOk) {
        MessageBox("render_frame(offscreen->primary) Blt Error ", "Blt Error!", MB_OK);
    }
}
}  // namespace

void render_frame() {
    // After shutdown nothing is left to draw with (a frame can still be asked for while the
    // quit message is on its way).
    if (!offscreen || !courseMap) return;
    DrawBackground();
    DrawScreen();
    Present();
}
