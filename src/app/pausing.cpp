// A paused drive: the picture of the moment with a label over the course view, shown again
// whenever the window needs it, while the bus and the stopwatch stand still.
#include <algorithm>
#include <memory>

#include "app/app.h"
#include "app/keys.h"
#include "course/course_map.h"
#include "platform/font.h"
#include "platform/surface.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "shared/globals.h"
#include "shared/texts.h"

namespace {
constexpr Rect kWindowPicture{0, 0, 640, 480};
constexpr int kLabelHeight = 24;
constexpr int kLabelPadding = 8;
constexpr Colorref kLabelInk = Rgb(255, 255, 0);
constexpr Colorref kLabelPaper = Rgb(0, 0, 0);

// The window's picture as the pause began, label included; null while driving goes on.
std::unique_ptr<Surface> pausedPicture;

// Yellow on a black box, as the game's other warnings, across the middle of the course view's
// upper half: the bus stays in sight at its centre.
void DrawPauseLabel(Surface& picture) {
    const std::shared_ptr<Font> font = Font::Create(Texts().fontFace, kLabelHeight, FW_BOLD);
    const Surface* text = font ? font->TextBox(Texts().pausedLabel, kLabelInk, kLabelPaper) : nullptr;
    if (!text) return;
    const int width = text->Width() + 2 * kLabelPadding;
    const int height = font->Height() + 2 * kLabelPadding;
    const int left = (CourseViewOnScreen.left + CourseViewOnScreen.right - width) / 2;
    const int top = CourseViewOnScreen.top + (CourseViewOnScreen.bottom - CourseViewOnScreen.top) / 4 - height / 2;
    picture.FillRect({left, top, left + width, top + height}, kLabelPaper);
    const Rect whole{0, 0, text->Width(), std::min(text->Height(), font->Height())};
    picture.BltFast(left + kLabelPadding, top + kLabelPadding, *text, whole, false);
}

// The last frame composed is still on offscreen at the window's place.
std::unique_ptr<Surface> PictureOfTheMoment() {
    std::unique_ptr<Surface> picture = Surface::Create(kWindowPicture.right, kWindowPicture.bottom);
    if (!picture || !offscreen) return picture;
    const Rect inWindow{WindowOrigin.x, WindowOrigin.y, WindowOrigin.x + kWindowPicture.right,
                        WindowOrigin.y + kWindowPicture.bottom};
    picture->BltFast(0, 0, *offscreen, inWindow, false);
    DrawPauseLabel(*picture);
    return picture;
}
}  // namespace

void PauseDriving() {
    // Before the first driving frame offscreen still holds the menu: nothing to rest on yet.
    if (ScreenState != Driving || DrivingPaused() || !stopwatch || DrivingFramesDrawn() == 0) return;
    pausedPicture = PictureOfTheMoment();
    if (!pausedPicture) return;  // no picture to rest on: driving goes on
    // The engine and the warnings fall silent by themselves: no driving frame is told.
    stopwatch->Pause();
}

void ResumeDriving() {
    if (!pausedPicture) return;
    pausedPicture.reset();
    if (stopwatch) stopwatch->Resume();
}

// A drive left without ResumeDriving leaves no pause behind on the screen that follows.
bool DrivingPaused() { return pausedPicture != nullptr && ScreenState == Driving; }

void DrawPausedPicture() {
    if (pausedPicture && offscreen)
        offscreen->BltFast(WindowOrigin.x, WindowOrigin.y, *pausedPicture, kWindowPicture, false);
}
