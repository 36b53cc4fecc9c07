// The running times of the driving screen and the result screen.
#include <algorithm>
#include <cstdio>
#include <string>

#include "course/course_map.h"
#include "platform/draw_context.h"
#include "platform/font.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "shared/texts.h"

namespace {

constexpr int GlyphWidth = 12;
constexpr int GlyphHeight = 21;
constexpr int ColonGlyph = 10;
constexpr int TimeTextLength = 8;

constexpr int TimesLeft = 505;
constexpr int DriveTimeTop = 120;
constexpr int PenaltyTimeTop = 155;

constexpr int ResultFontHeight = 24;
constexpr int ResultTextLeft = 170;
constexpr Colorref ResultBackground = 0xFFFFFF;
constexpr Colorref ResultText = 0x000000;
constexpr Colorref ScoreText = 0x0000FF;

// Which number.bmp glyph shows a character of a time text; anything not a digit shows 0.
int GlyphOf(char c) {
    if (c == ':') return ColonGlyph;
    if (c >= '0' && c <= '9') return c - '0';
    return 0;
}

// One time text in digit pictures; glyphRow 0 holds the driving-time digits, 1 the penalty's.
void DrawTimeText(const char* text, int glyphRow, int top) {
    const int ox = WindowOrigin.x;
    const int sourceTop = glyphRow * GlyphHeight;
    for (int k = 0; k < TimeTextLength; ++k) {
        const int g = GlyphOf(text[k]);
        const Rect source{GlyphWidth * g, sourceTop, GlyphWidth * g + GlyphWidth, sourceTop + GlyphHeight};
        const int left = ox + TimesLeft + GlyphWidth * k;
        const Rect target{left, top, left + GlyphWidth, top + GlyphHeight};
        offscreen->Blt(&target, *numberSurface, &source, false);  // a failed copy leaves a gap
    }
}

void CopyFullScreen(const Surface& picture) {
    const Rect source{0, 0, 640, 480};
    const Rect target{WindowOrigin.x, WindowOrigin.y, WindowOrigin.x + 640, WindowOrigin.y + 480};
    offscreen->Blt(&target, picture, &source, false);
}

// What a result line says before its time.
std::string LabelOf(const char* line) {
    const std::string format = line;
    return format.substr(0, format.find("%s"));
}

// A result line: its format with the time, drawn from ox + 170, or further right by as much as
// its label is narrower than the widest, so that the three times stand one below the other
// (the Japanese labels are all of one width).
int WidestLabel(const DrawContext& dc) {
    const GameTexts& texts = Texts();
    int widest = 0;
    for (const char* each : {texts.driveTimeLine, texts.penaltyTimeLine, texts.scoreTimeLine})
        widest = std::max(widest, dc.TextWidth(LabelOf(each)));
    return widest;
}

void DrawResultLine(DrawContext& dc, const char* line, const char* time, int top, int widest) {
    char text[128] = {};
    std::snprintf(text, sizeof text, line, time);
    dc.TextOut(WindowOrigin.x + ResultTextLeft + widest - dc.TextWidth(LabelOf(line)), top, text);
}

}  // namespace

void CourseMap::DrawTimes() {
    if (!offscreen || !numberSurface) return;
    char text[TimeTextSize] = {};
    stopwatch->FormatDriveTime(text);
    DrawTimeText(text, 0, WindowOrigin.y + DriveTimeTop);
    stopwatch->FormatPenaltyTime(text);
    DrawTimeText(text, 1, WindowOrigin.y + PenaltyTimeTop);
}

void CourseMap::DrawResult() {
    if (!offscreen) return;
    if (goalReached == 0) {
        if (discontinueSurface) CopyFullScreen(*discontinueSurface);
        return;
    }
    if (goalinSurface) CopyFullScreen(*goalinSurface);

    DrawContext dc(*offscreen);
    if (!dc.Ok()) return;
    // Without the font the context's own font is used.
    std::shared_ptr<Font> font = Font::Create(Texts().fontFace, ResultFontHeight, FW_BOLD);
    std::shared_ptr<Font> previousFont = font ? dc.SelectFont(font) : nullptr;
    dc.SetBkColor(ResultBackground);
    dc.SetTextColor(ResultText);

    const int oy = WindowOrigin.y;
    const int widest = WidestLabel(dc);
    char time[TimeTextSize] = {};
    stopwatch->FormatDriveTime(time);
    DrawResultLine(dc, Texts().driveTimeLine, time, oy + 170, widest);
    stopwatch->FormatPenaltyTime(time);
    DrawResultLine(dc, Texts().penaltyTimeLine, time, oy + 194, widest);
    stopwatch->FormatTotalTime(time);
    dc.SetTextColor(ScoreText);
    DrawResultLine(dc, Texts().scoreTimeLine, time, oy + 221, widest);

    if (font) dc.SelectFont(previousFont);
}
