// The full-screen pictures: background, driving dashboard, the two menu frames and the two
// result screens. Overlays are magenta exactly where the game draws beneath them.
#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "labels.h"
#include "palette.h"
#include "pictures.h"

namespace {

// Windows of the driving screen: where the game draws beneath the dashboard.
const Rect kCourseView{6, 6, 390, 390};
const Rect kDriveDigits{505, 120, 601, 141};
const Rect kPenaltyDigits{505, 155, 601, 176};
const Rect kMinimap{414, 190, 614, 390};
const Rect kWarningBands{424, 405, 604, 464};
const Rect kGearCell{60, 420, 84, 456};
const Rect kSteeringGauge{136, 428, 338, 448};

// Windows of the menus: the rows of text the menus draw (the best time of the course menu
// ends at 490 + 8 characters of 8 pixels; the bus captions are about 40 characters long).
const Rect kCourseRows{50, 100, 580, 340};
const Rect kBusRows{50, 100, 590, 180};

// Where the result screen writes the three time lines.
const Rect kTimeLines{150, 156, 590, 262};

const Rect kScreen{0, 0, kScreenWidth, kScreenHeight};
// Texts across the whole screen keep 20 pixels from its edges; the driving screen's right
// panel ends 6 pixels before its own edge.
constexpr int kWideRoom = kScreenWidth - 40;
constexpr int kPanelRight = 634 - 6;

TextStyle LabelStyle(int height, Colorref ink) {
    TextStyle style;
    style.height = height;
    style.ink = ink;
    style.shadow = true;
    style.shadowInk = palette::InkShadow;
    return style;
}

TextStyle TitleStyle(int height, Colorref ink, Colorref ring) {
    TextStyle style;
    style.height = height;
    style.ink = ink;
    style.outline = 2;
    style.outlineInk = ring;
    return style;
}

void CutWindow(Surface& picture, const Rect& window) { picture.FillRect(window, ColourKeyMagenta); }

// The shared panel look: a gradient with fine brushed lines.
void PaintPanel(Surface& picture, const Rect& area, Colorref top, Colorref bottom) {
    VerticalGradient(picture, area, top, bottom);
    for (int y = area.top; y < area.bottom; y += 3) {
        const Colorref line = Mix(picture.PixelAt(area.left, y), Rgb(255, 255, 255), 1, 24);
        picture.FillRect(Rect{area.left, y, area.right, y + 1}, line);
    }
}

void DrawGameName(Surface& picture, int x, int y, int room) {
    TextStyle style = LabelStyle(24, palette::Ink);
    DrawText(picture, x, y, Labels().gameName, style, room);
    const int width = TextWidth(Labels().gameName, style);
    picture.FillRect(Rect{x, y + 28, x + width, y + 30}, palette::Accent);
    picture.FillRect(Rect{x, y + 30, x + width, y + 31}, palette::AccentDark);
}

// Header of a menu screen: the game's name on the left, the screen's title on the right.
void DrawMenuHeader(Surface& picture, const char* title) {
    RaisedPanel(picture, Rect{0, 0, kScreenWidth, 64}, palette::PanelTop, palette::PanelBottom);
    DrawGameName(picture, 24, 16, 260);
    const TextStyle style = LabelStyle(24, palette::Accent);
    DrawText(picture, kScreenWidth - 24 - TextWidth(title, style), 18, title, style, 300);
}

void DrawKeyHelpBar(Surface& picture, const char* keys) {
    const Rect bar{0, 432, kScreenWidth, kScreenHeight};
    RaisedPanel(picture, bar, palette::PanelTop, palette::PanelBottom);
    DrawTextCentred(picture, kScreenWidth / 2, 448, keys, LabelStyle(16, palette::Ink), kWideRoom);
}

// The text may reach to 12 pixels before nextX, where the next entry (or the margin) starts.
void DrawLegendEntry(Surface& picture, int x, int y, Colorref swatch, const char* text, int nextX) {
    picture.FillRect(Rect{x, y + 2, x + 12, y + 14}, palette::PanelEdgeDark);
    picture.FillRect(Rect{x + 1, y + 3, x + 11, y + 13}, swatch);
    DrawText(picture, x + 18, y, text, LabelStyle(16, palette::InkDim), nextX - 12 - (x + 18));
}

std::vector<Point> Circle(int cx, int cy, int radius) {
    std::vector<Point> points;
    for (int i = 0; i < 32; ++i) {
        const double a = i * 2 * M_PI / 32;
        points.push_back(Point{cx + static_cast<int>(std::lround(radius * std::cos(a))),
                               cy + static_cast<int>(std::lround(radius * std::sin(a)))});
    }
    return points;
}

// A route bus seen from the side, facing right, its body's top-left at (left, top);
// 320 by 112 pixels with the wheels.
void DrawBusSideView(Surface& picture, int left, int top) {
    const Colorref ivory = Rgb(242, 236, 213);
    const Colorref ivoryShade = Rgb(206, 198, 176);
    const Colorref glass = Rgb(44, 62, 92);
    const Colorref glassShine = Rgb(92, 118, 156);
    const Colorref tyre = Rgb(18, 18, 20);
    const Colorref hub = Rgb(150, 154, 160);
    auto at = [&](int x, int y) { return Point{left + x, top + y}; };

    // The road it stands on, then the body with its rounded roof corners and slanted nose.
    picture.FillRect(Rect{left - 60, top + 104, left + 380, top + 124}, palette::Asphalt);
    picture.FillRect(Rect{left - 60, top + 104, left + 380, top + 106}, palette::KerbWhiteShade);
    for (int x = left - 52; x + 24 <= left + 380; x += 48)
        picture.FillRect(Rect{x, top + 114, x + 24, top + 116}, palette::PaintWhite);
    FillPolygon(picture, {at(6, 0), at(300, 0), at(312, 6), at(320, 40), at(320, 96), at(0, 96), at(0, 6)}, ivory);
    picture.FillRect(Rect{left, top + 84, left + 320, top + 96}, ivoryShade);
    picture.FillRect(Rect{left, top + 58, left + 320, top + 66}, palette::Accent);
    picture.FillRect(Rect{left, top + 66, left + 320, top + 69}, palette::AccentDark);
    // Side windows, the driver's window and the windscreen.
    for (int x = 20; x + 34 <= 250; x += 40) {
        picture.FillRect(Rect{left + x, top + 12, left + x + 34, top + 46}, glass);
        FillPolygon(picture, {at(x + 4, 14), at(x + 14, 14), at(x + 4, 30)}, glassShine);
    }
    picture.FillRect(Rect{left + 262, top + 12, left + 290, top + 90}, glass);   // front door
    picture.FillRect(Rect{left + 275, top + 12, left + 277, top + 90}, ivoryShade);
    FillPolygon(picture, {at(296, 10), at(306, 10), at(314, 40), at(314, 56), at(296, 56)}, glass);
    picture.FillRect(Rect{left + 300, top + 2, left + 312, top + 8}, Rgb(20, 20, 24));   // destination sign
    picture.FillRect(Rect{left + 302, top + 4, left + 310, top + 6}, palette::Accent);
    picture.FillRect(Rect{left + 314, top + 74, left + 320, top + 82}, Rgb(255, 230, 140));   // headlight
    // Wheels.
    for (int cx : {70, 246}) {
        FillPolygon(picture, Circle(left + cx, top + 96, 17), tyre);
        FillPolygon(picture, Circle(left + cx, top + 96, 8), hub);
        FillPolygon(picture, Circle(left + cx, top + 96, 3), tyre);
    }
}

// Two rows of black and white squares across the screen.
void DrawChequerBand(Surface& picture, int top) {
    const int square = 16;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column * square < kScreenWidth; ++column) {
            const Colorref colour = (row + column) % 2 == 0 ? palette::CheckerLight : palette::CheckerDark;
            picture.FillRect(Rect{column * square, top + row * square, (column + 1) * square, top + (row + 1) * square},
                             colour);
        }
}

void DrawHazardBand(Surface& picture, int top, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            picture.SetPixel(x, y, ((x + y) / 16) % 2 == 0 ? palette::StopBand : palette::AlarmBlack);
}

// ---- The driving screen's dashboard ------------------------------------------------------

void DrawDrivingKeys(Surface& picture) {
    TextStyle style = LabelStyle(12, palette::InkDim);
    style.bold = false;   // bold smears kanji at this size
    int y = 54;
    for (const char* line : Labels().drivingKeys) {
        DrawText(picture, 410, y, line, style, kPanelRight - 410);
        y += 13;
    }
}

void DrawTimePanel(Surface& picture) {
    const Rect box{408, 110, 624, 184};
    picture.FillRect(box, palette::PanelInset);
    OutlineRect(picture, box, 1, palette::PanelEdgeDark);
    const int room = kDriveDigits.left - 2 - 3 - 416;   // up to the digits' frame
    DrawText(picture, 416, kDriveDigits.top + 3, Labels().driveTime, LabelStyle(16, palette::DriveTimeInk), room);
    DrawText(picture, 416, kPenaltyDigits.top + 3, Labels().penalty, LabelStyle(16, palette::PenaltyInk), room);
    SunkenFrame(picture, kDriveDigits);
    SunkenFrame(picture, kPenaltyDigits);
}

void DrawInstrumentLabels(Surface& picture) {
    const TextStyle label = LabelStyle(16, palette::Ink);
    // The labels beside a window end 6 pixels before it, or start 6 pixels after it.
    const PictureLabels& words = Labels();
    DrawText(picture, kGearCell.left - 6 - TextWidth(words.gear, label), kGearCell.top + 10, words.gear, label,
             kGearCell.left - 6 - 10);
    SunkenFrame(picture, kGearCell);
    const int gaugeCentre = 236;   // the game's centre mark of the steering gauge
    DrawTextCentred(picture, gaugeCentre, 406, words.steering, label, 200);
    DrawText(picture, kSteeringGauge.left - 6 - TextWidth(words.steerLeft, label), kSteeringGauge.top + 2,
             words.steerLeft, label, kSteeringGauge.left - 6 - (kGearCell.right + 6));
    DrawText(picture, kSteeringGauge.right + 6, kSteeringGauge.top + 2, words.steerRight, label,
             390 - 4 - (kSteeringGauge.right + 6));
    SunkenFrame(picture, kSteeringGauge);
    // Scale ticks under the gauge: full lock at both ends, straight ahead in the middle.
    for (int x : {kSteeringGauge.left, gaugeCentre, kSteeringGauge.right - 1})
        picture.FillRect(Rect{x, kSteeringGauge.bottom + 3, x + 1, kSteeringGauge.bottom + 9}, palette::InkDim);
}

}  // namespace

std::unique_ptr<Surface> DrawBackground() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::BackBottom);
    VerticalGradient(*picture, kScreen, palette::BackTop, palette::BackBottom);
    return picture;
}

std::unique_ptr<Surface> DrawDashboard() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::PanelBottom);
    PaintPanel(*picture, kScreen, palette::PanelTop, palette::PanelBottom);
    OutlineRect(*picture, kScreen, 1, palette::PanelEdgeDark);
    SunkenFrame(*picture, kCourseView);

    RaisedPanel(*picture, Rect{398, 6, 634, 474}, palette::PanelTop, palette::PanelBottom);
    DrawGameName(*picture, 410, 14, kPanelRight - 410);
    DrawDrivingKeys(*picture);
    DrawTimePanel(*picture);
    SunkenFrame(*picture, kMinimap);
    DrawTextVertical(*picture, 625, 200, Labels().courseMap, LabelStyle(16, palette::Ink), kMinimap.bottom - 200);
    SunkenFrame(*picture, kWarningBands);
    // Beside the warning bands, centred on them.
    const TextStyle warning = LabelStyle(16, palette::AlarmYellow);
    DrawTextVertical(*picture, 411, 434 - VerticalLength(Labels().warning, warning) / 2, Labels().warning, warning,
                     kWarningBands.Height() + 4);

    RaisedPanel(*picture, Rect{6, 398, 390, 474}, palette::PanelTop, palette::PanelBottom);
    DrawInstrumentLabels(*picture);

    for (const Rect& window : {kCourseView, kDriveDigits, kPenaltyDigits, kMinimap, kWarningBands, kGearCell,
                               kSteeringGauge})
        CutWindow(*picture, window);
    return picture;
}

std::unique_ptr<Surface> DrawCourseMenuFrame() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::PanelBottom);
    PaintPanel(*picture, kScreen, palette::PanelTop, palette::PanelBottom);
    const PictureLabels& words = Labels();
    DrawMenuHeader(*picture, words.courseMenuTitle);
    const TextStyle column = LabelStyle(16, palette::InkDim);
    DrawText(*picture, kCourseRows.left, 78, words.courseColumn, column, 200);
    // Over the 8-character times, within the rows' frame.
    DrawTextCentred(*picture, 490 + 32, 78, words.bestTimeColumn, column, 2 * (kCourseRows.right - (490 + 32)));
    SunkenFrame(*picture, kCourseRows);
    DrawLegendEntry(*picture, 60, 360, palette::MenuOpen, words.legendOpen, 250);
    DrawLegendEntry(*picture, 250, 360, palette::MenuCleared, words.legendCleared, 420);
    DrawLegendEntry(*picture, 420, 360, palette::MenuLocked, words.legendLocked, kScreenWidth - 8);
    DrawKeyHelpBar(*picture, words.menuKeys);
    CutWindow(*picture, kCourseRows);
    return picture;
}

std::unique_ptr<Surface> DrawBusMenuFrame() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::PanelBottom);
    PaintPanel(*picture, kScreen, palette::PanelTop, palette::PanelBottom);
    DrawMenuHeader(*picture, Labels().busMenuTitle);
    DrawText(*picture, kBusRows.left, 78, Labels().busColumn, LabelStyle(16, palette::InkDim), 200);
    SunkenFrame(*picture, kBusRows);
    DrawTextCentred(*picture, kScreenWidth / 2, 204, Labels().busMenuHint, LabelStyle(16, palette::Ink), kWideRoom);
    DrawBusSideView(*picture, 160, 270);
    DrawKeyHelpBar(*picture, Labels().menuKeys);
    CutWindow(*picture, kBusRows);
    return picture;
}

std::unique_ptr<Surface> DrawGoalResult() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::BackBottom);
    VerticalGradient(*picture, kScreen, palette::BackTop, palette::BackBottom);
    DrawChequerBand(*picture, 0);
    DrawChequerBand(*picture, kScreenHeight - 32);
    DrawTextCentred(*picture, kScreenWidth / 2, 48, Labels().goalIn,
                    TitleStyle(48, palette::GoalTitle, palette::GoalTitleEdge), kWideRoom);
    DrawTextCentred(*picture, kScreenWidth / 2, 112, Labels().congratulations, LabelStyle(24, palette::Ink), kWideRoom);
    OutlineRect(*picture, Rect{kTimeLines.left - 4, kTimeLines.top - 4, kTimeLines.right + 4, kTimeLines.bottom + 4},
                4, palette::ResultPanelEdge);
    picture->FillRect(kTimeLines, palette::ResultPanel);
    DrawBusSideView(*picture, 160, 282);
    DrawTextCentred(*picture, kScreenWidth / 2, 420, Labels().backToMenu, LabelStyle(16, palette::Ink), kWideRoom);
    return picture;
}

std::unique_ptr<Surface> DrawDiscontinuedResult() {
    std::unique_ptr<Surface> picture = NewPicture(kScreenWidth, kScreenHeight, palette::StopBottom);
    VerticalGradient(*picture, kScreen, palette::StopTop, palette::StopBottom);
    DrawHazardBand(*picture, 0, 24);
    DrawHazardBand(*picture, kScreenHeight - 24, 24);
    const PictureLabels& words = Labels();
    DrawTextCentred(*picture, kScreenWidth / 2, 110, words.discontinued,
                    TitleStyle(48, palette::StopTitle, palette::InkShadow), kWideRoom);
    const TextStyle reason = LabelStyle(24, palette::Ink);
    DrawTextCentred(*picture, kScreenWidth / 2, 200, words.discontinuedReason1, reason, kWideRoom);
    DrawTextCentred(*picture, kScreenWidth / 2, 232, words.discontinuedReason2, reason, kWideRoom);
    DrawTextCentred(*picture, kScreenWidth / 2, 290, words.discontinuedAdvice, LabelStyle(16, palette::InkDim),
                    kWideRoom);
    DrawTextCentred(*picture, kScreenWidth / 2, 410, words.backToMenu, LabelStyle(16, palette::Ink), kWideRoom);
    return picture;
}
