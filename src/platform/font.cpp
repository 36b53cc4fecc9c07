// Fonts: fontconfig finds the file, SDL_ttf draws it. Japanese text asks for "ＭＳ ゴシック",
// which Linux does not have; IPAGothic has the same cell metrics, so we prefer it, and draw
// its bold twice, as it has no bold face. English text asks for a face by its own name.
#include "platform/font.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace {

constexpr const char* kDefaultFace = "ＭＳ ゴシック";
constexpr FcChar32 kHiraganaA = 0x3042;
// Text boxes kept per font before the kept ones are dropped (a screen draws a few dozen).
constexpr std::size_t kKeptTextBoxes = 128;

// Without this alias fontconfig answers "ＭＳ ゴシック" with a Latin face.
constexpr const char* kGothicAlias = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="strong">
    <family>ＭＳ ゴシック</family>
    <prefer><family>IPAGothic</family><family>IPAゴシック</family></prefer>
  </alias>
  <alias binding="strong">
    <family>MS Gothic</family>
    <prefer><family>IPAGothic</family><family>IPAゴシック</family></prefer>
  </alias>
</fontconfig>
)";

FcConfig* FontConfig() {
    static FcConfig* config = [] {
        FcInit();
        FcConfig* current = FcConfigGetCurrent();
        FcConfigParseAndLoadFromMemory(current, reinterpret_cast<const FcChar8*>(kGothicAlias), FcFalse);
        return current;
    }();
    return config;
}

bool IsGothicAlias(const std::string& face) { return face == kDefaultFace || face == "MS Gothic"; }

FcPattern* BestMatch(FcPattern* pattern) {
    FcConfig* config = FontConfig();
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcFontMatch(config, pattern, &result);
}

// The best match for the pattern: its file and whether it has Japanese characters.
bool MatchFont(FcPattern* pattern, std::string& path, bool& coversJapanese) {
    FcPattern* match = BestMatch(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    FcCharSet* charset = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) path = reinterpret_cast<const char*>(file);
    coversJapanese = FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
                     FcCharSetHasChar(charset, kHiraganaA);
    FcPatternDestroy(match);
    return found;
}

// Any font at all for the face, Japanese or not; empty when fontconfig has none.
std::string ResolveAnyFontFile(const std::string& face) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    std::string path;
    bool japanese = false;
    MatchFont(pattern, path, japanese);
    FcPatternDestroy(pattern);
    return path;
}

struct NamedFaceFile {
    std::string path;  // empty when the face is not installed
    bool boldFile = false;
};

// The installed face of exactly that family name, in the weight asked for when it has one.
NamedFaceFile ResolveNamedFace(const std::string& face, bool bold) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPattern* match = BestMatch(pattern);
    FcPatternDestroy(pattern);
    NamedFaceFile file;
    if (!match) return file;
    bool named = false;
    FcChar8* family = nullptr;
    for (int i = 0; !named && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        named = FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(face.c_str())) == 0;
    FcChar8* path = nullptr;
    int weight = FC_WEIGHT_REGULAR;
    // A regular face asked for in bold comes back marked bold, to be emboldened: that is
    // no bold file.
    FcBool embolden = FcFalse;
    FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
    if (named && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file.path = reinterpret_cast<const char*>(path);
        file.boldFile = !embolden && FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
                        weight >= FC_WEIGHT_BOLD;
    }
    FcPatternDestroy(match);
    return file;
}

void WarnMissingFaceOnce(const std::string& face) {
    static std::set<std::string> warned;
    if (!warned.insert(face).second) return;
    std::fprintf(stderr, "quonfel: the font \"%s\" was not found; its text is drawn in another font.\n",
                 face.c_str());
}

// The largest size whose line fits the cell: IPAGothic's line is as tall as its size, while
// most Latin faces need a smaller size to keep their descenders inside the cell.
TTF_Font* OpenToFitCell(const std::string& path, int cell) {
    for (int size = cell; size > 0; --size) {
        TTF_Font* ttf = TTF_OpenFont(path.c_str(), size);
        if (!ttf || TTF_FontHeight(ttf) <= cell || size == 1) return ttf;
        TTF_CloseFont(ttf);
    }
    return nullptr;
}

std::string& DefaultFace() {
    static auto* face = new std::string(kDefaultFace);
    return *face;
}

void WarnNoJapaneseFontOnce() {
    static bool warned = false;
    if (warned) return;
    warned = true;
    std::fprintf(stderr,
                 "quonfel: no font with Japanese characters was found; Japanese text will not "
                 "show. Install the package fonts-ipafont-gothic.\n");
}

bool TtfReady() {
    static const bool ready = TTF_WasInit() > 0 || TTF_Init() == 0;
    return ready;
}

// Face asked for, height, bold.
using FontKey = std::tuple<std::string, int, bool>;

// Opened fonts live for the whole program: the menus ask for their font every frame, and
// a repeated request skips fontconfig as well as the file.
std::map<FontKey, std::shared_ptr<Font>>& FontCache() {
    static auto* cache = new std::map<FontKey, std::shared_ptr<Font>>();
    return *cache;
}

}  // namespace

// For the gothic the weight does not change the file: IPAGothic has no bold face, so bold is
// made from the regular one when drawing (SDL_ttf's own emboldening fills the small letters in).
std::string ResolveFontFile(const std::string& face, int weight) {
    if (!IsGothicAlias(face)) return ResolveNamedFace(face, weight >= FW_BOLD).path;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    std::string path;
    bool japanese = false;
    const bool found = MatchFont(pattern, path, japanese);
    FcPatternDestroy(pattern);
    return found && japanese ? path : std::string();
}

std::shared_ptr<Font> Font::Create(const std::string& face, int height, int weight) {
    if (!TtfReady()) return nullptr;
    if (height < 0) height = -height;
    if (height == 0) height = 16;
    const bool bold = weight >= FW_BOLD;

    auto& cache = FontCache();
    const FontKey key{face, height, bold};
    auto cached = cache.find(key);
    if (cached != cache.end()) return cached->second;

    const bool gothic = IsGothicAlias(face);
    const NamedFaceFile named = gothic ? NamedFaceFile{} : ResolveNamedFace(face, bold);
    std::string path = gothic ? ResolveFontFile(face, weight) : named.path;
    if (path.empty()) {
        if (gothic) WarnNoJapaneseFontOnce();
        else WarnMissingFaceOnce(face);
        path = ResolveAnyFontFile(face);
        if (path.empty()) return nullptr;
    }

    TTF_Font* ttf = OpenToFitCell(path, height);
    if (!ttf) return nullptr;
    std::shared_ptr<Font> font(new Font(ttf, height, path));
    font->bold_ = bold && !named.boldFile;
    cache.emplace(key, font);
    return font;
}

std::shared_ptr<Font> Font::Default() { return Create(DefaultFace(), 16, FW_NORMAL); }

void SetDefaultFontFace(const std::string& face) { DefaultFace() = face; }

Font::Font(_TTF_Font* ttf, int height, std::string path) : ttf_(ttf), height_(height), path_(std::move(path)) {}

Font::~Font() { TTF_CloseFont(ttf_); }

int Font::TextWidth(const std::string& utf8) const {
    if (utf8.empty()) return 0;
    int width = 0;
    int height = 0;
    if (TTF_SizeUTF8(ttf_, utf8.c_str(), &width, &height) != 0) return 0;
    return width;
}

bool Font::HasGlyphs(const std::string& utf8) const {
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        Uint32 character = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            character = character << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (!TTF_GlyphIsProvided32(ttf_, character)) return false;
        i += length;
    }
    return true;
}

namespace {

// Solid rendering gives 8-bit pixels: 0 is the background, anything else ink. The glyphs
// are cut to the box, since SDL_ttf's line can be a pixel taller than the font.
std::unique_ptr<Surface> RenderTextBox(_TTF_Font* ttf, const std::string& utf8, int width, int height, bool bold,
                                       Colorref ink, Colorref paper) {
    auto box = Surface::Create(width, height);
    if (!box) return nullptr;
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(ttf, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs) return nullptr;
    box->Fill(paper);
    const int rows = std::min(glyphs->h, height);
    const int columns = std::min(glyphs->w, width);
    const int strokes = bold ? 2 : 1;
    for (int row = 0; row < rows; ++row) {
        const Uint8* line = static_cast<const Uint8*>(glyphs->pixels) + row * glyphs->pitch;
        for (int column = 0; column < columns; ++column) {
            if (line[column] == 0) continue;
            for (int stroke = 0; stroke < strokes && column + stroke < width; ++stroke)
                box->SetPixel(column + stroke, row, ink);
        }
    }
    SDL_FreeSurface(glyphs);
    return box;
}

}  // namespace

const Surface* Font::TextBox(const std::string& utf8, Colorref ink, Colorref paper) const {
    auto key = std::make_tuple(utf8, ink, paper);
    const auto kept = boxes_.find(key);
    if (kept != boxes_.end()) return kept->second.get();
    const int width = TextWidth(utf8);
    if (utf8.empty() || width <= 0) return nullptr;
    auto box = RenderTextBox(ttf_, utf8, width, height_, bold_, ink, paper);
    if (!box) return nullptr;  // tried again next time
    if (boxes_.size() >= kKeptTextBoxes) boxes_.clear();
    return boxes_.emplace(std::move(key), std::move(box)).first->second.get();
}
