// The small pictures the driving screen cuts pieces from: gear cells, warning bands and
// time digits. Their cell layouts are fixed by the code that copies from them.
#include <algorithm>
#include <string>

#include "canvas.h"
#include "labels.h"
#include "palette.h"
#include "pictures.h"

namespace {

// gear.bmp: cells of 24 x 36; the game copies 23 columns of each, so the design is
// centred on the first 23.
constexpr int kGearCellWidth = 24;
constexpr int kGearCellHeight = 36;
constexpr int kGearDrawnWidth = 23;

// alarm.bmp: two bands of 179 x 29, at rows 0 and 30.
constexpr int kBandWidth = 179;
constexpr int kBandHeight = 29;
constexpr int kLowerBandTop = 30;

// number.bmp: glyphs 12 x 21, digits 0..9 then the colon; one row per colour.
constexpr int kGlyphWidth = 12;
constexpr int kGlyphHeight = 21;
constexpr int kGlyphCount = 11;
constexpr int kColonGlyph = 10;

void DrawGearCell(Surface& picture, int cell, Colorref plate) {
    const int left = cell * kGearCellWidth;
    const Rect face{left + 1, 2, left + kGearDrawnWidth - 1, kGearCellHeight - 2};
    picture.FillRect(face, plate);
    picture.FillRect(Rect{face.left, face.top, face.right, face.top + 1}, Mix(plate, Rgb(255, 255, 255), 1, 2));
    picture.FillRect(Rect{face.left, face.bottom - 1, face.right, face.bottom}, Mix(plate, Rgb(0, 0, 0), 1, 2));
    TextStyle style;
    style.height = 24;
    style.ink = palette::GearLetter;
    style.shadow = true;
    style.shadowInk = Mix(plate, Rgb(0, 0, 0), 1, 2);
    DrawTextCentred(picture, left + kGearDrawnWidth / 2 + 1, (kGearCellHeight - style.height) / 2,
                    GearLetters[cell], style, face.Width());
}

// A warning triangle with an exclamation mark, its top at (centreX, top).
void DrawWarningSign(Surface& picture, int centreX, int top, int size, Colorref sign, Colorref mark) {
    FillPolygon(picture, {{centreX, top}, {centreX + size / 2 + 1, top + size}, {centreX - size / 2, top + size}}, sign);
    picture.FillRect(Rect{centreX - 1, top + size / 3, centreX + 1, top + size - 6}, mark);
    picture.FillRect(Rect{centreX - 1, top + size - 4, centreX + 1, top + size - 2}, mark);
}

void DrawWrongLaneBand(Surface& picture) {
    const Rect band{0, 0, kBandWidth + 1, kBandHeight};
    picture.FillRect(band, palette::AlarmRed);
    OutlineRect(picture, Rect{0, 0, kBandWidth, kBandHeight}, 2, palette::AlarmYellow);
    DrawWarningSign(picture, 16, 5, 19, palette::AlarmYellow, palette::AlarmBlack);
    TextStyle style;
    style.height = 18;
    style.ink = palette::AlarmYellow;
    style.shadow = true;
    style.shadowInk = palette::AlarmBlack;
    // Between the sign and the band's yellow edge.
    const int centre = 104, from = 28, to = kBandWidth - 2;
    DrawTextCentred(picture, centre, (kBandHeight - style.height) / 2, Labels().wrongLane, style,
                    2 * std::min(centre - from, to - centre));
}

// Yellow and black hazard stripes between two columns.
void DrawHazardStripes(Surface& picture, int left, int right, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            picture.SetPixel(x, y, ((x + y) / 6) % 2 == 0 ? palette::AlarmBlack : palette::AlarmYellow);
}

void DrawWallContactBand(Surface& picture) {
    const int top = kLowerBandTop;
    picture.FillRect(Rect{0, top, kBandWidth + 1, top + kBandHeight}, palette::AlarmYellow);
    DrawHazardStripes(picture, 0, 26, top, top + kBandHeight);
    DrawHazardStripes(picture, kBandWidth - 26, kBandWidth + 1, top, top + kBandHeight);
    OutlineRect(picture, Rect{0, top, kBandWidth, top + kBandHeight}, 2, palette::AlarmRed);
    TextStyle style;
    style.height = 20;
    style.ink = palette::AlarmRed;
    style.shadow = true;
    style.shadowInk = palette::AlarmBlack;
    // Between the hazard stripes.
    const int centre = kBandWidth / 2, from = 28, to = kBandWidth - 28;
    DrawTextCentred(picture, centre, top + (kBandHeight - style.height) / 2, Labels().wallContact, style,
                    2 * std::min(centre - from, to - centre));
}

// Seven segments a..g, each as a rectangle inside a 12 x 21 glyph cell.
const Rect kSegments[7] = {
    {3, 1, 9, 3},    // a: top
    {9, 3, 11, 9},   // b: upper right
    {9, 11, 11, 18}, // c: lower right
    {3, 18, 9, 20},  // d: bottom
    {1, 11, 3, 18},  // e: lower left
    {1, 3, 3, 9},    // f: upper left
    {3, 9, 9, 11},   // g: middle
};

// Lit segments of the digits 0..9, as bits a (1) to g (64).
const int kDigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void DrawGlyph(Surface& picture, int glyph, int top, Colorref on, Colorref off) {
    const int left = glyph * kGlyphWidth;
    if (glyph == kColonGlyph) {
        picture.FillRect(Rect{left + 5, top + 5, left + 7, top + 7}, on);
        picture.FillRect(Rect{left + 5, top + 14, left + 7, top + 16}, on);
        return;
    }
    for (int segment = 0; segment < 7; ++segment) {
        const Rect& s = kSegments[segment];
        const bool lit = (kDigitSegments[glyph] >> segment) & 1;
        picture.FillRect(Rect{left + s.left, top + s.top, left + s.right, top + s.bottom}, lit ? on : off);
    }
}

}  // namespace

std::unique_ptr<Surface> DrawGearCells() {
    std::unique_ptr<Surface> picture = NewPicture(3 * kGearCellWidth, kGearCellHeight, palette::GearCellBack);
    const Colorref plates[3] = {palette::GearReverse, palette::GearNeutral, palette::GearForward};
    for (int cell = 0; cell < 3; ++cell) DrawGearCell(*picture, cell, plates[cell]);
    return picture;
}

std::unique_ptr<Surface> DrawWarningBands() {
    std::unique_ptr<Surface> picture = NewPicture(kBandWidth + 1, kLowerBandTop + kBandHeight, palette::AlarmBlack);
    DrawWrongLaneBand(*picture);
    DrawWallContactBand(*picture);
    return picture;
}

std::unique_ptr<Surface> DrawDigits() {
    std::unique_ptr<Surface> picture =
        NewPicture(kGlyphCount * kGlyphWidth, 2 * kGlyphHeight, palette::DigitBack);
    for (int glyph = 0; glyph < kGlyphCount; ++glyph) {
        DrawGlyph(*picture, glyph, 0, palette::DriveDigitOn, palette::DriveDigitOff);
        DrawGlyph(*picture, glyph, kGlyphHeight, palette::PenaltyDigitOn, palette::PenaltyDigitOff);
    }
    return picture;
}
