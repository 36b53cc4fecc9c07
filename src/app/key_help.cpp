#include "app/key_help.h"

#include <algorithm>
#include <memory>

#include "app/app.h"
#include "app/keys.h"
#include "platform/font.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/key_help_texts.h"

namespace {
constexpr int kFontHeight = 16;
constexpr int kRowHeight = 20;
constexpr int kPanelLeft = 16;
constexpr int kPanelRight = 624;
constexpr int kPadding = 12;
constexpr int kColumnGap = 24;
constexpr Colorref kPaper = Rgb(24, 32, 48);
constexpr Colorref kFrame = Rgb(192, 192, 192);
constexpr Colorref kTitleInk = Rgb(255, 255, 0);
constexpr Colorref kKeyInk = Rgb(160, 220, 255);
constexpr Colorref kActionInk = Rgb(255, 255, 255);

bool shown = false;
// The list paused the drive itself, which it resumes on closing; a drive the player had
// paused before stays paused.
bool pausedByList = false;

KeyHelpScreen ScreenNow() {
    if (Watching() && (ScreenState == Driving || ScreenState == Result)) return KeyHelpScreen::Watching;
    switch (ScreenState) {
    case BusSelect: return KeyHelpScreen::BusMenu;
    case Driving: return KeyHelpScreen::Driving;
    case Result: return KeyHelpScreen::Result;
    default: return KeyHelpScreen::CourseMenu;
    }
}

// The player's own keys from the preferences join the driving list: they drive the bus.
void AddPlayerBindings(KeyHelpScreen screen, std::vector<KeyHelpLine>& lines) {
    if (screen != KeyHelpScreen::Driving) return;
    for (const KeyBinding& binding : GameSettings.keyBindings)
        lines.push_back({binding.keyName, BoundActionIn(binding.action, GameLanguage)});
}

// A drive, watched ones too, stands still through the game's own pause while the list shows:
// the stopwatch and the penalty clock keep the times they had.
void PauseDriveForList() {
    pausedByList = ScreenState == Driving && !DrivingPaused();
    if (pausedByList) PauseDriving();
}

void ResumeDriveAfterList() {
    if (pausedByList) ResumeDriving();
    pausedByList = false;
}

// Text in one colour on the panel's paper, its top left at (x, y), cut at maxWidth.
void DrawText(Surface& surface, const Font& font, const std::string& text, int x, int y, Colorref ink, int maxWidth) {
    const Surface* box = font.TextBox(text, ink, kPaper);
    if (!box) return;
    const Rect part{0, 0, std::min(box->Width(), maxWidth), std::min(box->Height(), font.Height())};
    surface.BltFast(x, y, *box, part, false);
}

int WidestKeys(const Font& font, const std::vector<KeyHelpLine>& lines) {
    int widest = 0;
    for (const KeyHelpLine& line : lines) widest = std::max(widest, font.TextWidth(line.keys));
    return widest;
}
}  // namespace

bool TakeKeyHelpKey(int key) {
    if (!shown) {
        if (key != VK_F1) return false;
        shown = true;
        PauseDriveForList();
        return true;
    }
    if (key != VK_F1 && key != VK_ESCAPE) return true;
    shown = false;
    ResumeDriveAfterList();
    return true;
}

bool KeyHelpShown() { return shown; }

std::string KeyHelpTitle() { return KeyHelpFor(ScreenNow()).title[GameLanguage == Language::English ? 1 : 0]; }

std::vector<KeyHelpLine> KeyHelpLines() {
    const KeyHelpScreen screen = ScreenNow();
    std::vector<KeyHelpLine> lines;
    for (const KeyHelpRow& row : KeyHelpFor(screen).rows)
        lines.push_back({KeysIn(row, GameLanguage), ActionIn(row, GameLanguage)});
    AddPlayerBindings(screen, lines);
    return lines;
}

void DrawKeyHelp(Surface& surface) {
    const std::shared_ptr<Font> font = Font::Create(Texts().fontFace, kFontHeight, FW_BOLD);
    if (!font) return;
    const std::vector<KeyHelpLine> lines = KeyHelpLines();
    // Title, a gap, the rows, a gap, the footer.
    const int height = 2 * kPadding + kRowHeight * (static_cast<int>(lines.size()) + 4);
    const int top = WindowOrigin.y + std::max(0, (480 - height) / 2);
    const int left = WindowOrigin.x + kPanelLeft, right = WindowOrigin.x + kPanelRight;
    surface.FillRect({left, top, right, top + height}, kFrame);
    surface.FillRect({left + 2, top + 2, right - 2, top + height - 2}, kPaper);
    const int textLeft = left + kPadding, textWidth = right - left - 2 * kPadding;
    int y = top + kPadding;
    DrawText(surface, *font, KeyHelpTitle(), textLeft, y, kTitleInk, textWidth);
    y += 2 * kRowHeight;
    const int actionLeft = textLeft + WidestKeys(*font, lines) + kColumnGap;
    for (const KeyHelpLine& line : lines) {
        DrawText(surface, *font, line.keys, textLeft, y, kKeyInk, actionLeft - textLeft);
        DrawText(surface, *font, line.action, actionLeft, y, kActionInk, right - kPadding - actionLeft);
        y += kRowHeight;
    }
    DrawText(surface, *font, KeyHelpFooter(GameLanguage), textLeft, y + kRowHeight, kTitleInk, textWidth);
}
