#include "canvas.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "platform/region.h"
#include "shared/texts.h"

namespace {

std::shared_ptr<Font> GameFont(int height, bool bold) {
    const std::string face = Texts().fontFace;
    static std::map<std::tuple<std::string, int, bool>, std::shared_ptr<Font>> fonts;
    std::shared_ptr<Font>& font = fonts[{face, height, bold}];
    const int weight = bold ? FW_BOLD : FW_NORMAL;
    // A stand-in would draw empty boxes for every Japanese label, or English ones in another
    // face than the game's: refuse it.
    if (!font && !ResolveFontFile(face, weight).empty()) font = Font::Create(face, height, weight);
    if (!font) {
        std::fprintf(stderr, "quonfel_bitmaps: no font \"%s\" at %d pixels\n", face.c_str(), height);
        std::exit(1);
    }
    return font;
}

std::vector<DrawnLabel> drawnLabels;

void NoteLabel(const std::string& text, const TextStyle& style, int needed, int room) {
    drawnLabels.push_back({text, style, needed, room});
}

// The glyphs of a text in one colour on magenta, ready for a keyed copy.
std::unique_ptr<Surface> TextStamp(const std::string& text, int height, bool bold, Colorref ink) {
    std::shared_ptr<Font> font = GameFont(height, bold);
    const int width = font->TextWidth(text);
    std::unique_ptr<Surface> stamp = NewPicture(width > 0 ? width : 1, height, ColourKeyMagenta);
    stamp->SetColourKey(ColourKeyMagenta);
    DrawContext dc(*stamp);
    dc.SelectFont(font);
    dc.SetBkColor(ColourKeyMagenta);
    dc.SetTextColor(ink);
    dc.TextOut(0, 0, text);
    return stamp;
}

void Stamp(Surface& target, int x, int y, const Surface& stamp) {
    const Rect to{x, y, x + stamp.Width(), y + stamp.Height()};
    target.Blt(&to, stamp, nullptr, true);
}

// A quarter turn clockwise: what was the top now faces right.
std::unique_ptr<Surface> TurnedClockwise(const Surface& source) {
    std::unique_ptr<Surface> turned = NewPicture(source.Height(), source.Width(), ColourKeyMagenta);
    turned->SetColourKey(ColourKeyMagenta);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            turned->SetPixel(source.Height() - 1 - y, x, source.PixelAt(x, y));
    return turned;
}

// One text stamp drawn with its outline and shadow, as the style asks.
void StampStyled(Surface& target, int x, int y, const TextStyle& style,
                 const std::unique_ptr<Surface> (&layers)[3]) {
    const Surface& ring = *layers[0];
    const Surface& shade = *layers[1];
    const Surface& ink = *layers[2];
    for (int dy = -style.outline; dy <= style.outline; ++dy)
        for (int dx = -style.outline; dx <= style.outline; ++dx)
            if (dx != 0 || dy != 0) Stamp(target, x + dx, y + dy, ring);
    if (style.shadow) Stamp(target, x + 1, y + 1, shade);
    Stamp(target, x, y, ink);
}

bool IsLongVowelMark(const std::string& character) {
    return character == "ー" || character == "～" || character == "―";
}

bool IsSmallKana(const std::string& character) {
    static const char* const small[] = {"ッ", "ャ", "ュ", "ョ", "ァ", "ィ", "ゥ", "ェ", "ォ",
                                        "っ", "ゃ", "ゅ", "ょ", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ"};
    for (const char* kana : small)
        if (character == kana) return true;
    return false;
}

}  // namespace

std::unique_ptr<Surface> NewPicture(int width, int height, Colorref fill) {
    std::unique_ptr<Surface> picture = Surface::Create(width, height);
    if (!picture) {
        std::fprintf(stderr, "quonfel_bitmaps: cannot make a %dx%d picture\n", width, height);
        std::exit(1);
    }
    picture->Fill(fill);
    return picture;
}

int TextWidth(const std::string& text, const TextStyle& style) {
    return GameFont(style.height, style.bold)->TextWidth(text);
}

const std::vector<DrawnLabel>& DrawnLabels() { return drawnLabels; }

void DrawText(Surface& target, int x, int y, const std::string& text, const TextStyle& style, int room) {
    NoteLabel(text, style, TextWidth(text, style), room);
    const std::unique_ptr<Surface> layers[3] = {
        TextStamp(text, style.height, style.bold, style.outlineInk),
        TextStamp(text, style.height, style.bold, style.shadowInk),
        TextStamp(text, style.height, style.bold, style.ink)};
    StampStyled(target, x, y, style, layers);
}

void DrawTextCentred(Surface& target, int centreX, int y, const std::string& text, const TextStyle& style,
                     int room) {
    DrawText(target, centreX - TextWidth(text, style) / 2, y, text, style, room);
}

int VerticalLength(const std::string& text, const TextStyle& style) {
    if (GameLanguage == Language::English) return TextWidth(text, style);
    return style.height * static_cast<int>(SplitCharacters(text).size());
}

void DrawTextVertical(Surface& target, int centreX, int top, const std::string& text, const TextStyle& style,
                      int room) {
    NoteLabel(text, style, VerticalLength(text, style), room);
    if (GameLanguage == Language::English) {
        std::unique_ptr<Surface> layers[3] = {
            TurnedClockwise(*TextStamp(text, style.height, style.bold, style.outlineInk)),
            TurnedClockwise(*TextStamp(text, style.height, style.bold, style.shadowInk)),
            TurnedClockwise(*TextStamp(text, style.height, style.bold, style.ink))};
        StampStyled(target, centreX - style.height / 2, top, style, layers);
        return;
    }
    int y = top;
    for (const std::string& character : SplitCharacters(text)) {
        std::unique_ptr<Surface> layers[3] = {
            TextStamp(character, style.height, style.bold, style.outlineInk),
            TextStamp(character, style.height, style.bold, style.shadowInk),
            TextStamp(character, style.height, style.bold, style.ink)};
        if (IsLongVowelMark(character))
            for (std::unique_ptr<Surface>& layer : layers) layer = TurnedClockwise(*layer);
        int x = centreX - layers[2]->Width() / 2;
        int dy = 0;
        if (IsSmallKana(character)) {
            x += style.height / 8;
            dy = -style.height / 8;
        }
        StampStyled(target, x, y + dy, style, layers);
        y += style.height;
    }
}

std::vector<std::string> SplitCharacters(const std::string& utf8) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (lead >= 0xF0) length = 4;
        else if (lead >= 0xE0) length = 3;
        else if (lead >= 0xC0) length = 2;
        characters.push_back(utf8.substr(i, length));
        i += length;
    }
    return characters;
}

void FillPolygon(Surface& target, const std::vector<Point>& points, Colorref colour) {
    DrawContext dc(target);
    dc.FillRgn(Region::FromPolygon(points.data(), static_cast<int>(points.size())), CreateSolidBrush(colour));
}

void VerticalGradient(Surface& target, const Rect& area, Colorref top, Colorref bottom) {
    const int rows = area.Height() > 1 ? area.Height() - 1 : 1;
    for (int y = area.top; y < area.bottom; ++y)
        target.FillRect(Rect{area.left, y, area.right, y + 1}, Mix(top, bottom, y - area.top, rows));
}

void SunkenFrame(Surface& target, const Rect& window) {
    const Colorref dark = Rgb(10, 12, 18);
    const Colorref light = Rgb(150, 162, 190);
    for (int ring = 1; ring <= 2; ++ring) {
        const Rect r{window.left - ring, window.top - ring, window.right + ring, window.bottom + ring};
        target.FillRect(Rect{r.left, r.top, r.right, r.top + 1}, dark);
        target.FillRect(Rect{r.left, r.top, r.left + 1, r.bottom}, dark);
        target.FillRect(Rect{r.left + 1, r.bottom - 1, r.right, r.bottom}, light);
        target.FillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom}, light);
    }
}

void RaisedPanel(Surface& target, const Rect& area, Colorref top, Colorref bottom) {
    VerticalGradient(target, area, top, bottom);
    const Colorref light = Mix(top, Rgb(255, 255, 255), 1, 3);
    const Colorref dark = Mix(bottom, Rgb(0, 0, 0), 1, 2);
    target.FillRect(Rect{area.left, area.top, area.right, area.top + 1}, light);
    target.FillRect(Rect{area.left, area.top, area.left + 1, area.bottom}, light);
    target.FillRect(Rect{area.left + 1, area.bottom - 1, area.right, area.bottom}, dark);
    target.FillRect(Rect{area.right - 1, area.top + 1, area.right, area.bottom}, dark);
}

Colorref Mix(Colorref a, Colorref b, int numerator, int denominator) {
    auto channel = [&](int from, int to) { return from + (to - from) * numerator / denominator; };
    return Rgb(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)), channel(BlueOf(a), BlueOf(b)));
}

std::uint32_t PatternValue(int x, int y, int salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^
                      static_cast<std::uint32_t>(salt) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}
