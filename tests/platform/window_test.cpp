#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/input_wait.h"
#include "platform/window.h"
#include "support/window_support.h"

namespace {

struct Seen {
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};

std::vector<Seen> seen;
unsigned char controlAtClick = 0;

// A window procedure shaped like the game's: it records, quits on WM_DESTROY and leaves
// the rest to the default processing.
LParam RecordingProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    seen.push_back({message, wParam, lParam});
    if (message == WM_LBUTTONDOWN) controlAtClick = window->KeyState(VK_CONTROL);
    if (message == WM_DESTROY) {
        window->PostQuitMessage(7);
        return 0;
    }
    return window->DefWindowProc(message, wParam, lParam);
}

void PushButton(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void PushType(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    SDL_PushEvent(&e);
}

class HeadlessWindow : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        controlAtClick = 0;
        window = WindowAccess::CreateHeadless(RecordingProc, 640, 480);
        ASSERT_TRUE(window);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }
    std::unique_ptr<Window> window;
};

}  // namespace

struct KeyCase {
    SDL_Keycode sym;
    SDL_Scancode scancode;
    int vk;
};

TEST(VirtualKeys, GameKeysGetTheirClassicCodes) {
    const KeyCase cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 65},          {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_w, SDL_SCANCODE_W, 87},          {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},    {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},  {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27}, {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_F1, SDL_SCANCODE_F1, 112},       {SDLK_F2, SDL_SCANCODE_F2, 113},
        {SDLK_F4, SDL_SCANCODE_F4, 115},       {SDLK_F8, SDL_SCANCODE_F8, 119},
        {SDLK_F9, SDL_SCANCODE_F9, 120},       {SDLK_F11, SDL_SCANCODE_F11, 122},
        {SDLK_F12, SDL_SCANCODE_F12, 123},     {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 17},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},  {SDLK_LALT, SDL_SCANCODE_LALT, 18},
        // Keypad with NumLock on ...
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 96},    {SDLK_KP_1, SDL_SCANCODE_KP_1, 97},
        {SDLK_KP_5, SDL_SCANCODE_KP_5, 101},   {SDLK_KP_9, SDL_SCANCODE_KP_9, 105},
        // ... and off: the keysym says Home or Up, the scancode keeps the digit.
        {SDLK_HOME, SDL_SCANCODE_KP_7, 103},   {SDLK_UP, SDL_SCANCODE_KP_8, 104},
        {SDLK_PAGEUP, SDL_SCANCODE_KP_9, 105}, {SDLK_LEFT, SDL_SCANCODE_KP_4, 100},
        {SDLK_CLEAR, SDL_SCANCODE_KP_5, 101},  {SDLK_RIGHT, SDL_SCANCODE_KP_6, 102},
        {SDLK_END, SDL_SCANCODE_KP_1, 97},     {SDLK_DOWN, SDL_SCANCODE_KP_2, 98},
        {SDLK_PAGEDOWN, SDL_SCANCODE_KP_3, 99}, {SDLK_INSERT, SDL_SCANCODE_KP_0, 96},
        // A keypad keysym without its scancode still counts as the keypad digit.
        {SDLK_KP_3, SDL_SCANCODE_UNKNOWN, 99},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(VirtualKeyOf(c.sym, c.scancode), c.vk) << SDL_GetKeyName(c.sym);
}

TEST_F(HeadlessWindow, KeysBecomeKeyMessagesAndEveryRepeatCounts) {
    PushKey(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W);
    PushKey(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W, true);
    PushKey(SDL_KEYUP, SDLK_w, SDL_SCANCODE_W);
    PushKey(SDL_KEYDOWN, SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK);  // no code: skipped
    PushKey(SDL_KEYDOWN, SDLK_END, SDL_SCANCODE_KP_1);
    const auto messages = PumpMessages(*window);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(messages[0].wParam, 87u);
    EXPECT_EQ(messages[0].lParam & (LParam{1} << 30), 0);
    EXPECT_EQ(messages[1].message, WM_KEYDOWN);
    EXPECT_NE(messages[1].lParam & (LParam{1} << 30), 0);  // was already down
    EXPECT_EQ(messages[2].message, WM_KEYUP);
    EXPECT_EQ(messages[3].message, WM_KEYDOWN);
    EXPECT_EQ(messages[3].wParam, 97u);
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(HeadlessWindow, AltF4ClosesThroughTheDefaultProcessingAndQuitFollows) {
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4);
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);  // never seen: the window is gone
    const auto messages = PumpMessages(*window);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[0].wParam, 18u);
    EXPECT_EQ(messages[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(messages[1].wParam, 115u);
    EXPECT_NE(messages[1].lParam & (LParam{1} << 29), 0);
    EXPECT_EQ(messages[2].message, WM_QUIT);
    EXPECT_EQ(messages[2].wParam, 7u);

    std::vector<std::uint32_t> procOrder;
    for (const auto& s : seen) procOrder.push_back(s.message);
    EXPECT_EQ(procOrder, (std::vector<std::uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
    EXPECT_TRUE(window->IsDestroyed());
    EXPECT_EQ(Window::Current(), nullptr);
    Message m;
    EXPECT_FALSE(window->PeekMessage(m));
}

// Alt let go while Enter is still held: its repeats must not become the game's Enter.
TEST_F(HeadlessWindow, AKeyPressedWithAltRepeatsAsASystemKeyUntilItIsLetGo) {
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);
    PushKey(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);  // pressed again, without Alt
    std::vector<std::uint32_t> kinds;
    for (const auto& m : PumpMessages(*window)) kinds.push_back(m.message);
    EXPECT_EQ(kinds, (std::vector<std::uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYDOWN,
                                                 WM_SYSKEYUP, WM_KEYDOWN}));

    // A key held since before Alt was tapped is the game's again once Alt is up.
    PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);
    PushKey(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W);
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W, true);
    PushKey(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W, true);
    kinds.clear();
    for (const auto& m : PumpMessages(*window)) kinds.push_back(m.message);
    EXPECT_EQ(kinds, (std::vector<std::uint32_t>{WM_KEYUP, WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP,
                                                 WM_KEYDOWN}));
}

TEST_F(HeadlessWindow, F4WithoutAltIsAPlainKey) {
    PushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4);
    const auto messages = PumpMessages(*window);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_KEYDOWN);
    EXPECT_FALSE(window->IsDestroyed());
}

TEST_F(HeadlessWindow, CloseRequestsBecomeWmClose) {
    PushType(SDL_QUIT);
    const auto messages = PumpMessages(*window);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_CLOSE);
    EXPECT_EQ(messages.back().message, WM_QUIT);
    EXPECT_TRUE(window->IsDestroyed());

    // WM_QUIT is never handed to the procedure.
    for (const auto& s : seen) EXPECT_NE(s.message, WM_QUIT);
}

void PushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.type = SDL_WINDOWEVENT;
    e.window.event = what;
    SDL_PushEvent(&e);
}

// The X server keeps no copy of the window's picture: whatever may have lost it asks for it
// to be shown again, and the game's loop draws a frame for each such message. The focus
// coming and going is told as well.
TEST_F(HeadlessWindow, WindowEventsThatMayLoseThePictureAskForItAgain) {
    for (Uint8 what : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_MOVED,
                       SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_ENTER,
                       SDL_WINDOWEVENT_FOCUS_LOST})
        PushWindowEvent(what);
    std::vector<std::pair<std::uint32_t, WParam>> seen;
    for (const auto& m : PumpMessages(*window)) seen.emplace_back(m.message, m.wParam);
    const std::vector<std::pair<std::uint32_t, WParam>> expected{
        {WM_PAINT, 0}, {WM_PAINT, 0}, {WM_PAINT, 0}, {WM_PAINT, 0}, {WM_PAINT, 0},
        {WM_SETFOCUS, 0}, {WM_KILLFOCUS, 0}};
    EXPECT_EQ(seen, expected);
}

// The loop's sleep ends at once for input already queued. The wait itself is asked to wait for
// input alone, so a sleep that missed the key would never end (the window's own wait is cut
// short for the pads). How close to its deadline a wait ends is measured by
// scripts/measure-game.sh, not here.
TEST_F(HeadlessWindow, QueuedInputEndsTheSleepAtOnce) {
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
    InputWait noDisplay;
    WaitForInputOrTimeout(noDisplay, -1);
    EXPECT_EQ(PumpMessages(*window).size(), 1u);
}

TEST_F(HeadlessWindow, MouseButtonsCarryWindowPointsAndCtrlAsItWasAtTheClick) {
    PushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 200);
    PushKey(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 310, 205);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1);  // ignored
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 1);     // ignored
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 639, 479);
    const auto messages = PumpMessages(*window);
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(messages[1].lParam, MakePointParam(300, 200));
    EXPECT_EQ(controlAtClick, 0x80);
    EXPECT_EQ(messages[3].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[3].lParam, MakePointParam(310, 205));
    EXPECT_EQ(messages[4].message, WM_RBUTTONDOWN);
    EXPECT_EQ(PointParamX(messages[4].lParam), 639);
    EXPECT_EQ(PointParamY(messages[4].lParam), 479);
    EXPECT_EQ(window->KeyState(VK_CONTROL), 0);

    // In fullscreen nothing starts or continues a drag: only the release is reported.
    window->SetFullscreen(true);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 200);
    PushType(SDL_MOUSEMOTION);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 310, 205);
    const auto inFullscreen = PumpMessages(*window);
    ASSERT_EQ(inFullscreen.size(), 1u);
    EXPECT_EQ(inFullscreen[0].message, WM_LBUTTONUP);
}

// A notch away from the user is +120, towards the user -120; a sideways turn says nothing.
TEST_F(HeadlessWindow, WheelTurnsCarryTheirNotches) {
    for (int notches : {1, -2, 0}) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.type = SDL_MOUSEWHEEL;
        e.wheel.x = notches == 0 ? 1 : 0;
        e.wheel.y = notches;
        SDL_PushEvent(&e);
    }
    const auto messages = PumpMessages(*window);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<std::int16_t>(messages[0].wParam >> 16), WHEEL_DELTA);
    EXPECT_EQ(static_cast<std::int16_t>(messages[1].wParam >> 16), -2 * WHEEL_DELTA);
}

TEST_F(HeadlessWindow, PostedQuitComesNextEvenWithInputWaiting) {
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
    window->PostQuitMessage(3);
    Message m;
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_EQ(window->DispatchMessage(m), 0);
    EXPECT_TRUE(seen.empty());
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
}

// The real window needs a display; the game's end-to-end tests cover the rest.
TEST(RealWindow, PresentsMovesAndReportsTheScreen) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    seen.clear();
    auto window = Window::Create(RecordingProc, "QuonfelTest", "テスト", 40, 30, 64, 48);
    ASSERT_TRUE(window);
    EXPECT_EQ(Window::Current(), window.get());
    EXPECT_GT(ScreenWidth(), 0);
    EXPECT_GT(ScreenHeight(), 0);

    auto screen = Surface::Create(ScreenWidth(), ScreenHeight());
    ASSERT_TRUE(screen);
    EXPECT_EQ(window->Present(*screen), kCopyOk);
    screen->SetLost(true);
    EXPECT_EQ(window->Present(*screen), kErrSurfaceLost);
    screen->SetLost(false);

    window->Move(100, 120, 64, 48);
    Message m;
    while (window->PeekMessage(m)) window->DispatchMessage(m);
    // Input already queued ends a wait on the display connection at once.
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
    window->WaitForEvent(-1);
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    // After a wait that its timer ended SDL's pump is left out; SDL's queue is still read.
    window->WaitForEvent(1000000);
    PushKey(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A);
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, WM_KEYUP);
    const Point at = window->Position();
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 120);
    const Point p = window->ClientToScreen(Point{5, 6});
    EXPECT_EQ(p.x, at.x + 5);
    EXPECT_EQ(p.y, at.y + 6);
    EXPECT_EQ(window->Present(*screen), kCopyOk);

    window->Destroy();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().message, WM_DESTROY);
    EXPECT_NE(window->Present(*screen), kCopyOk);
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
}

namespace {

void PushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

const std::vector<PopupItem> kGameMenu = {{"開始", IDM_GAME_START, true}, {"終了", IDM_GAME_EXIT, false}};

}  // namespace

// The events are queued before the modal menu opens; it reads them as if the player acted.
TEST(RealWindow, PopupMenuChoosesOnlyEnabledItemsAndIsDismissedByEscOrAClickOutside) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    auto window = Window::Create(RecordingProc, "QuonfelTest", "テスト", 0, 0, 640, 480);
    ASSERT_TRUE(window);
    Message m;
    while (window->PeekMessage(m)) {
    }
    const auto track = [&](int x, int y) {
        return window->TrackPopupMenu(kGameMenu, window->ClientToScreen(Point{x, y}));
    };
    // Opened at (10, 10): "開始" at y 12..31 and "終了" at y 32..51.
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 30, 40);  // the opening click's release
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(track(10, 10), 0);

    PushMotion(30, 20);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 20);  // greyed: nothing
    PushMotion(30, 40);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 30, 40);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 40);
    EXPECT_EQ(track(10, 10), IDM_GAME_EXIT);

    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300);
    EXPECT_EQ(track(10, 10), 0);

    // No room below and right of the corner: the menu opens above and left of the pointer,
    // so the pointer is not on an item.
    PushMotion(630, 470);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 630, 470);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(track(630, 470), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

namespace {
std::uint32_t WindowPixel(Window& window, int x, int y) {
    SDL_Surface* shown = SDL_GetWindowSurface(WindowAccess::Sdl(window));
    return static_cast<const std::uint32_t*>(shown->pixels)[y * (shown->pitch / 4) + x] & 0xFFFFFF;
}

// The window's place and size on the screen, in screen pixels.
SDL_Rect OnScreen(Window& window) {
    Message m;
    while (window.PeekMessage(m)) {
    }
    SDL_Rect r{};
    SDL_GetWindowPosition(WindowAccess::Sdl(window), &r.x, &r.y);
    SDL_GetWindowSize(WindowAccess::Sdl(window), &r.w, &r.h);
    return r;
}

bool operator==(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }
}  // namespace

TEST(RealWindow, AtScaleTwoEachGamePixelIsTwoByTwoWhileTheGameSeesItsOwnPixels) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    auto window = Window::Create(RecordingProc, "QuonfelTest", "テスト", 10, 20, 64, 48, DisplayOptions{2, false, false});
    ASSERT_TRUE(window);
    EXPECT_TRUE(OnScreen(*window) == (SDL_Rect{20, 40, 128, 96}));
    EXPECT_EQ(window->Position(), (Point{10, 20}));
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    EXPECT_EQ(ScreenWidth(), desktop.w / 2);

    // The window's part of the screen-sized surface starts at its place in game pixels.
    auto screen = Surface::Create(ScreenWidth(), ScreenHeight());
    screen->SetPixel(10 + 3, 20 + 4, Rgb(255, 0, 0));
    ASSERT_EQ(window->Present(*screen), kCopyOk);
    for (const Point p : {Point{6, 8}, Point{7, 9}}) EXPECT_EQ(WindowPixel(*window, p.x, p.y), 0xFF0000u);
    for (const Point p : {Point{5, 8}, Point{8, 9}, Point{6, 10}}) EXPECT_EQ(WindowPixel(*window, p.x, p.y), 0u);

    window->Move(30, 40, 64, 48);
    EXPECT_TRUE(OnScreen(*window) == (SDL_Rect{60, 80, 128, 96}));
    EXPECT_EQ(window->Position(), (Point{30, 40}));
}

// At scale 1 the surface's part is the window's own pixels. A resize that the window did not
// ask for gives the window new ones; the picture drawn in the old ones must come through.
TEST(RealWindow, AtScaleOneTheFrameIsDrawnInTheWindowAndOutlivesANewWindowSurface) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    auto window = Window::Create(RecordingProc, "QuonfelTest", "テスト", 10, 20, 64, 48);
    ASSERT_TRUE(window);
    auto screen = Surface::Create(ScreenWidth(), ScreenHeight());
    screen->SetPixel(10 + 3, 20 + 4, Rgb(255, 0, 0));
    ASSERT_EQ(window->Present(*screen), kCopyOk);
    EXPECT_EQ(WindowPixel(*window, 3, 4), 0xFF0000u);
    // Drawn after that present: in the window at once; outside its part nothing is kept.
    screen->SetPixel(10 + 5, 20 + 6, Rgb(0, 255, 0));
    screen->SetPixel(0, 0, Rgb(0, 0, 255));
    EXPECT_EQ(WindowPixel(*window, 5, 6), 0x00FF00u);
    EXPECT_EQ(screen->PixelAt(10 + 5, 20 + 6), Rgb(0, 255, 0));
    EXPECT_EQ(screen->PixelAt(0, 0), 0u);

    SDL_SetWindowSize(WindowAccess::Sdl(*window), 80, 60);
    OnScreen(*window);
    screen->SetPixel(10 + 7, 20 + 8, Rgb(0, 0, 255));
    ASSERT_EQ(window->Present(*screen), kCopyOk);
    // Copied now, centred in the larger window, with what was drawn in the old pixels.
    EXPECT_EQ(WindowPixel(*window, 8 + 3, 6 + 4), 0xFF0000u);
    EXPECT_EQ(WindowPixel(*window, 8 + 5, 6 + 6), 0x00FF00u);
    EXPECT_EQ(WindowPixel(*window, 8 + 7, 6 + 8), 0x0000FFu);

    // Back at its size the window composes in place again, from the same picture.
    SDL_SetWindowSize(WindowAccess::Sdl(*window), 64, 48);
    OnScreen(*window);
    ASSERT_EQ(window->Present(*screen), kCopyOk);
    screen->SetPixel(10 + 9, 20 + 9, Rgb(255, 255, 0));
    EXPECT_EQ(WindowPixel(*window, 7, 8), 0x0000FFu);
    EXPECT_EQ(WindowPixel(*window, 9, 9), 0xFFFF00u);

    // Resized away and back between two presents, it has new pixels of the same size.
    SDL_SetWindowSize(WindowAccess::Sdl(*window), 80, 60);
    OnScreen(*window);
    SDL_SetWindowSize(WindowAccess::Sdl(*window), 64, 48);
    OnScreen(*window);
    ASSERT_EQ(window->Present(*screen), kCopyOk);
    EXPECT_EQ(WindowPixel(*window, 9, 9), 0xFFFF00u);
    EXPECT_EQ(WindowPixel(*window, 3, 4), 0xFF0000u);
    window->Destroy();
    EXPECT_EQ(screen->PixelAt(10 + 9, 20 + 9), Rgb(255, 255, 0));
}
