// Start-up, the frame loop, the frame itself and shutdown.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/messages.h"

#include "app/preferences.h"

class Surface;
class Window;

// Start-up in its fixed order; 1 on success, 0 with StartupError set (or left null).
int InitApp();
// The steps of start-up after the window, also used by headless tests: the screen-sized
// offscreen (of the given size), mapscreen, the 33 bitmaps, then the five game objects.
int CreateSurfaces(int screenWidth, int screenHeight);
int LoadAllBitmaps();
// The driving screen's background, made from back.bmp and front.bmp once they are loaded.
void PrepareDrivingBackground();
void ReleaseDrivingBackground();
void CreateGameObjects();
// One bitmap file into a new surface of its own size; null when it cannot be loaded.
std::unique_ptr<Surface> LoadBitmapSurface(const char* fileName);

void render_frame();
// A crash ends the run from the driving frame: the result screen, the bus stopped, the
// stopwatch too.
void EndRunFromFrame();
// Static screens rest: once a frame of the course menu, the bus menu or the result screen
// is in the window, the frames due after it would show the same picture until something
// happens, and need not be drawn. Every message for the window counts as something (keys,
// mouse, the window uncovered, moved or given the focus back after a dialog).
void NoteWindowMessage();
bool FrameWouldShowSomethingNew();
// Releases every surface and object, then shows StartupError if set. Runs once.
void ReleaseAll();
// The entry point's body: start-up with these settings (the window shown as they ask, the
// language chosen), the paced loop, and the exit code: the loop's, or 1 after a failed
// start-up, once its box was shown (the failing step says what failed on stderr).
int RunGame(const Settings& settings);
// The settings of this run: the preferences file's, with the command line over them.
extern Settings GameSettings;
// Whether this game keeps its records: score.dat read at start-up and written at a goal, with
// the best drive beside it. The drives the map tool makes keep none.
extern bool RecordsKept;

// The window procedure (app/window_proc.cpp). A null window stands for a headless game:
// closing then runs the shutdown directly and the window itself is left out.
LParam MainWindowProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam);

// Window dragging with Ctrl and the left button; points are the window's client points.
extern int Dragging;
extern Point DragLastPoint;  // screen coordinates
void BeginWindowDrag(Window* window, int x, int y);
void DragWindow(Window* window, int x, int y);
// The right-button popup "ゲーム" at a client point; 0 when it cannot be shown, else 1.
int ShowGameMenu(Window* window, int x, int y);

// Frame pacing: a frame is due when the clock is strictly past the deadline; the next
// deadline counts from the reading taken before the frame.
class FramePacer {
public:
    explicit FramePacer(ClockSource& clock);
    // True when a frame is due now; the deadline then moves on from this reading.
    bool FrameDue();
    // Nanoseconds until the next frame is due (for sleeping), at least 0.
    std::int64_t NanosecondsToDeadline();
    bool UsesMillisecondClock() const { return !highResolution_; }
    std::int64_t FrameInterval() const { return interval_; }

private:
    std::int64_t Now();
    ClockSource& clock_;
    bool highResolution_;
    std::int64_t frequency_ = 1000;
    std::int64_t interval_;
    std::int64_t nextFrameTime_;
};
