#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include "platform/draw_context.h"
#include "platform/font.h"

namespace {

constexpr Colorref kField = Rgb(0, 128, 0);
constexpr Colorref kBox = Rgb(255, 0, 0);
constexpr Colorref kInk = Rgb(255, 255, 255);
const std::string kGothic = "ＭＳ ゴシック";

struct Counts {
    int box = 0, ink = 0, other = 0;
};

Counts CountIn(const Surface& s, const Rect& r) {
    Counts c;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const Colorref p = s.PixelAt(x, y);
            if (p == kBox) ++c.box;
            else if (p == kInk) ++c.ink;
            else ++c.other;
        }
    return c;
}

}  // namespace

TEST(FontResolution, GothicFaceResolvesToAJapaneseFontWithClassicCellMetrics) {
    const std::string path = ResolveFontFile(kGothic, FW_BOLD);
    ASSERT_FALSE(path.empty()) << "no Japanese font installed";
    for (int height : {16, 24}) {
        auto font = Font::Create(kGothic, height, FW_NORMAL);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->Height(), height);
        EXPECT_TRUE(TTF_GlyphIsProvided32(font->Ttf(), 0x3042));
        EXPECT_EQ(font->TextWidth("あ"), height);
        EXPECT_EQ(font->TextWidth("A"), height / 2);
        EXPECT_EQ(font->TextWidth("第１コース"), 5 * height);
        EXPECT_EQ(font->TextWidth(""), 0);
    }
    auto def = Font::Default();
    ASSERT_TRUE(def);
    EXPECT_EQ(def->Height(), 16);
    EXPECT_EQ(def->FilePath(), path);
    // Repeated requests give the font already opened.
    EXPECT_EQ(Font::Create(kGothic, 16, FW_BOLD), Font::Create(kGothic, 16, FW_BOLD));
    EXPECT_NE(Font::Create(kGothic, 16, FW_BOLD), Font::Create(kGothic, 16, FW_NORMAL));
}

TEST(TextOut, DrawsInkOnAnOpaqueBoxOfExactlyTheTextWidthAndFontHeight) {
    auto s = Surface::Create(100, 60);
    s->Fill(kField);
    auto font = Font::Create(kGothic, 16, FW_BOLD);
    ASSERT_TRUE(font);
    const std::string text = "第１A0:";
    const int width = font->TextWidth(text);
    ASSERT_GT(width, 0);
    {
        DrawContext dc(*s);
        dc.SelectFont(font);
        dc.SetBkColor(kBox);
        dc.SetTextColor(kInk);
        dc.TextOut(10, 20, text);
    }
    const Rect box{10, 20, 10 + width, 36};
    const Counts inside = CountIn(*s, box);
    EXPECT_EQ(inside.other, 0);
    EXPECT_GT(inside.ink, 40);
    EXPECT_GT(inside.box, inside.ink);
    // Box corners are background; nothing at all outside the box changes.
    EXPECT_EQ(s->PixelAt(box.left, box.top), kBox);
    EXPECT_EQ(s->PixelAt(box.right - 1, box.bottom - 1), kBox);
    EXPECT_EQ(CountIn(*s, Rect{0, 0, 100, 60}).other, 100 * 60 - width * 16);
}

TEST(TextOut, BoldHasMoreInkAndDefaultFontIsUsedWhenNoneIsSelected) {
    auto plain = Surface::Create(80, 20);
    auto bold = Surface::Create(80, 20);
    auto byDefault = Surface::Create(80, 20);
    const std::string text = "練習用";
    const auto draw = [&](Surface& s, std::shared_ptr<Font> font) {
        DrawContext dc(s);
        if (font) dc.SelectFont(font);
        dc.SetBkColor(kBox);
        dc.SetTextColor(kInk);
        dc.TextOut(0, 0, text);
    };
    draw(*plain, Font::Create(kGothic, 16, FW_NORMAL));
    draw(*bold, Font::Create(kGothic, 16, FW_BOLD));
    draw(*byDefault, nullptr);
    const Rect all{0, 0, 80, 20};
    EXPECT_GT(CountIn(*bold, all).ink, CountIn(*plain, all).ink);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(byDefault->PixelAt(x, y), plain->PixelAt(x, y)) << x << "," << y;
}

// A face asked for by its own name is bold with its own bold file (DejaVu Sans) or drawn
// twice (IPAGothic); either way bold has more ink than regular.
TEST(TextOut, FacesByNameAreBoldWithOrWithoutABoldFile) {
    for (const std::string face : {"DejaVu Sans", "IPAGothic"}) {
        const auto plain = Font::Create(face, 16, FW_NORMAL), bold = Font::Create(face, 16, FW_BOLD);
        ASSERT_TRUE(plain && bold) << face;
        EXPECT_EQ(plain->FilePath() != bold->FilePath(), face == "DejaVu Sans") << face;
        const auto ink = [](const Font& font) {
            const Surface* box = font.TextBox("Bus menu", kInk, kBox);
            return box ? CountIn(*box, Rect{0, 0, box->Width(), box->Height()}).ink : 0;
        };
        EXPECT_GT(ink(*bold), ink(*plain) * 5 / 4) << face;
    }
}

TEST(TextOut, ClipsAtTheSurfaceEdgesAndRefusesALostSurface) {
    auto s = Surface::Create(20, 10);
    s->Fill(kField);
    DrawContext dc(*s);
    dc.SetBkColor(kBox);
    dc.SetTextColor(kInk);
    dc.TextOut(-8, -6, "あいうえお");
    EXPECT_EQ(s->PixelAt(0, 0), kBox);
    EXPECT_EQ(CountIn(*s, Rect{0, 0, 20, 10}).other, 0);

    // Neither a refused drawing context nor a lost surface takes any text.
    s->Fill(kField);
    gdiFaults.getDC = true;
    DrawContext refused(*s);
    gdiFaults = GdiFaults{};
    refused.TextOut(0, 0, "A");
    s->SetLost(true);
    DrawContext lost(*s);
    lost.TextOut(0, 0, "A");
    EXPECT_EQ(CountIn(*s, Rect{0, 0, 20, 10}).other, 20 * 10);
}
