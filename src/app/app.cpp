// Start-up, the frame loop and shutdown.
#include "app/app.h"

#include <cstdio>
#include <cstdlib>

#include "app/keys.h"
#include "app/map_to_play.h"
#include "app/watching.h"
#include "app/window_icon.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/font.h"
#include "platform/window.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/texts.h"
#include "sound/sound.h"

namespace {
constexpr const char* kWindowClass = "Quonfel.exe";
constexpr std::int64_t kUntilInput = -1;
// A start-up that fails ends with this status, after its message box: a failure is no success.
constexpr int kStartupFailedStatus = 1;

void ReleaseSurface(std::unique_ptr<Surface>& surface) { surface.reset(); }

void ReleaseBitmaps() {
    ReleaseDrivingBackground();
    for (auto& tile : TileSurfaces) ReleaseSurface(tile);
    for (auto* bitmap : {&backSurface, &alarmSurface, &gearSurface, &discontinueSurface,
                         &goalinSurface, &numberSurface, &menu1Surface, &menu2Surface,
                         &frontSurface}) {
        ReleaseSurface(*bitmap);
    }
}

void DeleteGameObjects() {
    courseMap.reset();
    menuScreen.reset();
    bus.reset();
    stopwatch.reset();
    scoreTable.reset();
}

void ShowStartupError() {
    if (StartupError == nullptr) return;
    MessageBox(StartupError, Texts().windowTitle, MB_OK);
    StartupError = nullptr;
}

// The window must exist before the screen size can be asked and the surfaces made.
int CreateMainWindow() {
    mainWindow = Window::Create(MainWindowProc, kWindowClass, Texts().windowTitle, WindowOrigin.x,
                                WindowOrigin.y, WindowSize.width, WindowSize.height, GameSettings.display);
    if (mainWindow) mainWindow->SetIcon(WindowIconPixels, WindowIconSide);
    if (mainWindow) return 1;
    StartupError = Texts().windowCreateError;
    return 0;
}
// Alt+Enter's choice is kept for the next start; a start that asked for fullscreen and did
// not get it changes nothing.
void RememberFullscreen() {
    const bool fullscreen = mainWindow->IsFullscreen();
    if (fullscreen == GameSettings.display.fullscreen) return;
    GameSettings.display.fullscreen = fullscreen;
    RememberSetting("fullscreen", GameSettings);
}

// The volume the keys chose is kept for the next start. QUONFEL_SOUND_REPORT asks for a line
// on how the audio thread kept up (for measuring).
void FinishSound(const Settings& started) {
    if (std::getenv("QUONFEL_SOUND_REPORT") && SoundPlaying()) std::fprintf(stderr, "%s\n", SoundTimingReport().c_str());
    StopSound();
    if (GameSettings.volume != started.volume) RememberSetting("volume", GameSettings);
}
}  // namespace

Settings GameSettings;
bool RecordsKept = true;

void CreateGameObjects() {
    menuScreen = std::make_unique<MenuScreen>();
    courseMap = std::make_unique<CourseMap>();
    bus = std::make_unique<Bus>();
    bus->Setup();
    stopwatch = std::make_unique<Stopwatch>();
    scoreTable = std::make_unique<ScoreTable>();
    if (RecordsKept) scoreTable->Load();
}

int InitApp() {
    WindowOrigin = {0, 0};
    WindowSize = {640, 480};
    if (!CreateMainWindow()) return 0;
    // A surface that cannot be made ends start-up without a message box.
    if (!CreateSurfaces(ScreenWidth(), ScreenHeight())) {
        std::fprintf(stderr, "quonfel: start-up failed making the drawing surfaces (%dx%d)\n", ScreenWidth(),
                     ScreenHeight());
        return 0;
    }
    if (!LoadAllBitmaps()) return 0;
    CreateGameObjects();
    return 1;
}

void ReleaseAll() {
    ResumeDriving();  // lets the paused picture go
    ReleaseBitmaps();
    ReleaseSurface(mapscreen);
    DeleteGameObjects();
    ReleaseSurface(offscreen);
    ShowStartupError();
}

int RunGame(const Settings& settings) {
    GameSettings = settings;
    GameLanguage = settings.language;
    SetDefaultFontFace(Texts().fontFace);
    if (!InitApp()) {
        ReleaseAll();
        mainWindow.reset();
        return kStartupFailedStatus;
    }
    GameSettings.display.fullscreen = mainWindow->IsFullscreen();
    mainWindow->SetKeysStandingFor(KeysStandingFor(GameSettings.keyBindings));
    if (settings.sound) StartSound(settings.volume);
    BeginPreparedWatch();
    BeginMapToPlay();
    FramePacer pacer(Clock());
    Message message;
    bool running = true;
    while (running) {
        if (mainWindow->PeekMessage(message)) {
            if (message.message == WM_QUIT) running = false;
            NoteWindowMessage();
            mainWindow->DispatchMessage(message);
            if (mainWindow) RememberFullscreen();
            continue;
        }
        // A static screen already in the window sleeps until something happens; its next
        // frame is then due at once.
        if (!FrameWouldShowSomethingNew()) {
            mainWindow->WaitForEvent(kUntilInput);
            continue;
        }
        if (pacer.FrameDue()) {
            AdvanceWatch(mainWindow.get());
            render_frame();
        }
        // Sleep until input or the next deadline instead of spinning a core; input that came
        // during the frame ends the sleep at once.
        mainWindow->WaitForEvent(pacer.NanosecondsToDeadline());
    }
    mainWindow.reset();
    FinishWatch();
    FinishSound(settings);
    return static_cast<int>(message.wParam);
}
