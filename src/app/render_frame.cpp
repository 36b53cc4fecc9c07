// One frame: background, the screen that ScreenState names, then the copy into the window.
#include <algorithm>
#include <vector>

#include "app/app.h"
#include "app/course_note.h"
#include "app/key_help.h"
#include "app/keys.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "menus/shelf_screen.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "shared/texts.h"
#include "sound/sound.h"
#include "sound/volume_display.h"

namespace {
constexpr Rect kScreenPicture{0, 0, 640, 480};

// The last frame shown in the window and the screen it began on; forgotten when anything
// happens to the window.
bool frameInWindow = false;
std::int32_t screenInWindow = -1;

// A part of back.bmp to the same place in the window.
void CopyBackground(const Rect& part) {
    const Rect target{WindowOrigin.x + part.left, WindowOrigin.y + part.top, WindowOrigin.x + part.right,
                      WindowOrigin.y + part.bottom};
    offscreen->Blt(&target, *backSurface, &part, false);
}

// back.bmp where front.bmp has its holes, outside the course view's square; elsewhere a
// colour back.bmp does not use, which is the picture's key.
std::unique_ptr<Surface> drivingBackground;

Colorref ColourNotIn(const Surface& picture, const Rect& part) {
    std::vector<Colorref> used;
    used.reserve(static_cast<std::size_t>(part.Width()) * part.Height());
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) used.push_back(picture.PixelAt(x, y));
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    Colorref unused = 0;
    for (Colorref colour : used) {
        if (colour != unused) break;
        ++unused;
    }
    return unused;
}

bool CoversTheWindow(const Surface* picture) {
    return picture && picture->Width() >= kScreenPicture.right && picture->Height() >= kScreenPicture.bottom;
}

// The driving screen draws the background only where it can show: front.bmp is laid over
// every driving frame and hides the rest, and the course view covers its square (the view
// puts the background there itself if it cannot be copied). Without front.bmp's holes to go
// by, everything outside the square.
void DrawBackground() {
    if (ScreenState != Driving) {
        CopyBackground(kScreenPicture);
        return;
    }
    if (drivingBackground && !frontSurface->IsLost() && !backSurface->IsLost()) {
        offscreen->BltFast(WindowOrigin.x, WindowOrigin.y, *drivingBackground, kScreenPicture, true);
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

void DrawDrivingScreen() {
    MoveGhost();
    courseMap->RenderMap(*offscreen);
    courseMap->DrawMinimap();
    DrawGear();
    DrawSteeringGauge();
    courseMap->ApplyLaneRule();
    const int laneWarning = courseMap->violationCount > 0 ? WarnWrongLane : 0;
    courseMap->ApplyWallRule();
    const int wallWarning = courseMap->violationCount > (laneWarning ? 1 : 0) ? WarnWallContact : 0;
    courseMap->DrawTimes();
    ShowGhostRace();
    Overlay(*frontSurface);
    TellDrivingFrame(liveBusState.speed, liveBusState.gear, laneWarning | wallWarning);
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
    case ShelfSelect:
        DrawShelfScreen();
        Overlay(*menu1Surface);
        break;
    default:
        break;
    }
}

// True when the frame reached the window.
bool Present() {
    if (!mainWindow) return false;  // headless: the frame stays on offscreen
    if (mainWindow->Present(*offscreen) == kCopyOk) return true;
    MessageBox(Texts().frameCopyError, Texts().copyErrorCaption, MB_OK);
    return false;
}

// The driving screen moves with every frame; a result screen whose penalty clock was left
// running counts on by itself.
bool ScreenChangesByItself() {
    if ((ScreenState == Driving && !DrivingPaused()) || VolumeShowing()) return true;
    return ScreenState == Result && stopwatch && (stopwatch->penaltyRunning != 0 || stopwatch->watchState == Running);
}
}  // namespace

// Only a goal reached with the gear keys is scored.
void EndRunFromFrame() {
    ScreenState = Result;
    liveBusState.placed = 0;
    liveBusState.speed = 0;
    liveBusState.gear = 0;
    liveBusState.steering = 0;
    // As after a goal: the next open course starts with the standard bus.
    bus->busType = 0;
    stopwatch->Stop();
    PlayCue(SoundCue::Crash);
}

void render_frame() {
    // After shutdown nothing is left to draw with (a frame can still be asked for while the
    // quit message is on its way).
    if (!offscreen || !courseMap) return;
    // The key list stands over the last frame, which does not move on beneath it.
    if (KeyHelpShown()) {
        DrawKeyHelp(*offscreen);
        frameInWindow = Present();
        return;
    }
    const std::int32_t screen = ScreenState;
    if (screen == Driving && DrivingPaused()) {
        DrawPausedPicture();  // the drive stands still: nothing moves, nothing is counted
    } else {
        DrawBackground();
        DrawScreen();
        if (screen == Driving) CountDrivingFrame();
        if (screen == Driving) DrawCourseNote(*offscreen);
    }
    DrawVolumeShown(*offscreen, SoundVolume());
    frameInWindow = Present();
    screenInWindow = screen;
}

void PrepareDrivingBackground() {
    drivingBackground.reset();
    if (!CoversTheWindow(backSurface.get()) || !CoversTheWindow(frontSurface.get()) || !frontSurface->HasColourKey())
        return;
    auto picture = Surface::Create(kScreenPicture.right, kScreenPicture.bottom);
    if (!picture) return;
    const Colorref unused = ColourNotIn(*backSurface, kScreenPicture);
    for (int y = 0; y < kScreenPicture.bottom; ++y) {
        for (int x = 0; x < kScreenPicture.right; ++x) {
            const bool shows = frontSurface->PixelAt(x, y) == ColourKeyMagenta && !CourseViewOnScreen.Contains(x, y);
            picture->SetPixel(x, y, shows ? backSurface->PixelAt(x, y) : unused);
        }
    }
    picture->SetColourKey(unused);
    drivingBackground = std::move(picture);
}

void ReleaseDrivingBackground() { drivingBackground.reset(); }

void NoteWindowMessage() { frameInWindow = false; }

bool FrameWouldShowSomethingNew() {
    if (KeyHelpShown()) return !frameInWindow;
    return !frameInWindow || screenInWindow != ScreenState || ScreenChangesByItself();
}
