// Fonts by face name, resolved through fontconfig.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/geometry.h"
#include "platform/surface.h"

struct _TTF_Font;

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

class Font {
public:
    // A font of the given face, cell height in pixels and weight (700 is bold). Null when
    // no usable font file is found. The face "ＭＳ ゴシック" resolves to a Japanese gothic face;
    // any other face is the installed face of that name, with its own bold when it has one.
    // The font's lines are at most the cell height tall, descenders included.
    static std::shared_ptr<Font> Create(const std::string& face, int height, int weight);
    // The font a drawing context (and the popup menu) uses before any other is selected.
    static std::shared_ptr<Font> Default();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Height() const { return height_; }
    // Width in pixels of a UTF-8 text.
    int TextWidth(const std::string& utf8) const;
    // Whether the font has a glyph for every character of a UTF-8 text (a missing one is
    // drawn as an empty box).
    bool HasGlyphs(const std::string& utf8) const;
    // A UTF-8 text as drawn: ink on a box of paper the text's width by the font's height, bold
    // strokes included. Rendered at its first use and kept, since the screens draw the same
    // captions in every frame. Null when the text is empty or cannot be rendered.
    const Surface* TextBox(const std::string& utf8, Colorref ink, Colorref paper) const;
    // Path of the font file in use (for diagnostics and tests).
    const std::string& FilePath() const { return path_; }
    _TTF_Font* Ttf() const { return ttf_; }

private:
    Font(_TTF_Font* ttf, int height, std::string path);
    _TTF_Font* ttf_;
    int height_;
    std::string path_;
    // Bold text is drawn twice, one pixel apart, as classic bitmap fonts were emboldened.
    bool bold_ = false;
    mutable std::map<std::tuple<std::string, Colorref, Colorref>, std::unique_ptr<Surface>> boxes_;
};

// The font file that fontconfig gives for a face name: for "ＭＳ ゴシック" one that covers
// Japanese text, for any other face that face itself. Empty when there is none.
std::string ResolveFontFile(const std::string& face, int weight);
// The face of the default font, at 16 pixels: "ＭＳ ゴシック" unless set otherwise.
void SetDefaultFontFace(const std::string& face);
