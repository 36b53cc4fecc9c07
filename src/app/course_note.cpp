#include "app/course_note.h"

#include <algorithm>
#include <memory>

#include "course/course_map.h"
#include "platform/font.h"
#include "platform/surface.h"
#include "shared/globals.h"
#include "shared/texts.h"

namespace {
constexpr int kShownFrames = 60;  // two seconds at 30 frames a second
constexpr int kFontHeight = 16;
constexpr int kPadding = 4;
constexpr int kMarginBelow = 8;
constexpr Colorref kInk = Rgb(255, 255, 255);
constexpr Colorref kPaper = Rgb(32, 42, 58);

std::string noteText;
int framesLeft = 0;
}  // namespace

std::string GoalHintText(GoalMiss miss) {
    const GameTexts& texts = Texts();
    switch (miss) {
    case GoalMiss::WrongLane: return texts.goalHintWrongLane;
    case GoalMiss::Top:
    case GoalMiss::Bottom:
    case GoalMiss::Left:
    case GoalMiss::Right: {
        std::string text = texts.goalHintSide;
        const int side = static_cast<int>(miss) - static_cast<int>(GoalMiss::Top);
        return text.replace(text.find("%s"), 2, texts.boxSides[side]);
    }
    default: return "";
    }
}

std::string NoGhostText(GhostStart start) {
    switch (start) {
    case GhostStart::NoDriveYet: return Texts().noGhostYet;
    case GhostStart::OtherCourse: return Texts().ghostOfOtherCourse;
    case GhostStart::Unreadable: return Texts().ghostUnreadable;
    default: return "";
    }
}

void ShowCourseNote(const std::string& text) {
    noteText = text;
    framesLeft = kShownFrames;
}

void ForgetCourseNote() {
    noteText.clear();
    framesLeft = 0;
}

const std::string& CourseNoteShown() { return noteText; }

void DrawCourseNote(Surface& surface) {
    if (framesLeft == 0) return;
    if (--framesLeft == 0) noteText.clear();
    const std::shared_ptr<Font> font = Font::Create(Texts().fontFace, kFontHeight, FW_BOLD);
    const Surface* text = font ? font->TextBox(noteText, kInk, kPaper) : nullptr;
    if (!text) return;
    const Rect& view = CourseViewOnScreen;
    const int width = std::min(text->Width(), view.Width() - 2 * kPadding);
    const int left = WindowOrigin.x + view.left + (view.Width() - width) / 2;
    const int bottom = WindowOrigin.y + view.bottom - kMarginBelow;
    const Rect box{left - kPadding, bottom - font->Height() - 2 * kPadding, left + width + kPadding, bottom};
    surface.FillRect(box, kPaper);
    const Rect whole{0, 0, width, std::min(text->Height(), font->Height())};
    surface.BltFast(left, box.top + kPadding, *text, whole, false);
}
