// Every text the player reads, in every language, measured at the font and size the game
// draws it with: it must fit the room its place gives it, stand within its line, and have a
// glyph for each of its characters. A translation too long for its box fails here.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "pictures.h"
#include "platform/font.h"
#include "shared/key_help_texts.h"
#include "shared/texts.h"

namespace {

const Language kLanguages[] = {Language::Japanese, Language::English};

const char* Name(Language language) { return language == Language::English ? "English" : "Japanese"; }

struct PlacedText {
    std::string text;
    int cellHeight;
    int weight;
    int room;  // 0: the box grows with the text
};

// The texts drawn while the game runs, with the room their screens give them.
std::vector<PlacedText> RunTimeTexts(const GameTexts& texts) {
    std::vector<PlacedText> placed;
    // Course names from x 50 up to the best times at 490; bus captions up to the menu
    // picture's window edge at 590.
    for (const char* name : texts.courseNames) placed.push_back({name, 16, FW_BOLD, 490 - 50});
    for (const char* caption : texts.busCaptions) placed.push_back({caption, 16, FW_BOLD, 590 - 50});
    // The result lines from x 170 to the result panel's edge at 590: the widest label, then
    // the time.
    for (const char* line : {texts.driveTimeLine, texts.penaltyTimeLine, texts.scoreTimeLine}) {
        std::string text = line;
        placed.push_back({text.replace(text.find("%s"), 2, "00:00:00"), 24, FW_BOLD, 590 - 170});
    }
    for (const char* item : {texts.popupStart, texts.popupQuit}) placed.push_back({item, 16, FW_NORMAL, 0});
    // One line across the course view (384 wide), 4 pixels of paper each side.
    for (const char* side : texts.boxSides) {
        std::string text = texts.goalHintSide;
        placed.push_back({text.replace(text.find("%s"), 2, side), 16, FW_BOLD, 384 - 8});
    }
    for (const char* note : {texts.goalHintWrongLane, texts.noGhostYet, texts.ghostOfOtherCourse, texts.ghostUnreadable})
        placed.push_back({note, 16, FW_BOLD, 384 - 8});
    // The key list: 584 pixels inside its panel, keys up to 240 of them, a gap of 24.
    const Language language = &texts == &TextsIn(Language::English) ? Language::English : Language::Japanese;
    placed.push_back({KeyHelpFooter(language), 16, FW_BOLD, 584});
    for (KeyHelpScreen screen : {KeyHelpScreen::CourseMenu, KeyHelpScreen::BusMenu, KeyHelpScreen::Driving,
                                 KeyHelpScreen::Result, KeyHelpScreen::Watching}) {
        for (const KeyHelpRow& row : KeyHelpFor(screen).rows) {
            placed.push_back({KeysIn(row, language), 16, FW_BOLD, 240});
            placed.push_back({ActionIn(row, language), 16, FW_BOLD, 584 - 240 - 24});
        }
    }
    return placed;
}

// Every picture of the language, drawn for the labels it places.
std::vector<DrawnLabel> PictureLabels(Language language) {
    GameLanguage = language;
    const std::size_t before = DrawnLabels().size();
    for (int code = 0; code < kTileCodeCount; ++code) DrawTile(code);
    DrawDashboard();
    DrawCourseMenuFrame();
    DrawBusMenuFrame();
    DrawGoalResult();
    DrawDiscontinuedResult();
    DrawGearCells();
    DrawWarningBands();
    GameLanguage = Language::Japanese;
    return std::vector<DrawnLabel>(DrawnLabels().begin() + static_cast<std::ptrdiff_t>(before), DrawnLabels().end());
}

}  // namespace

TEST(TextFit, RunTimeTextsFitTheirBoxesInTheFaceOfTheirLanguage) {
    for (Language language : kLanguages) {
        const GameTexts& texts = TextsIn(language);
        ASSERT_FALSE(ResolveFontFile(texts.fontFace, FW_BOLD).empty()) << texts.fontFace << " is not installed";
        for (const PlacedText& placed : RunTimeTexts(texts)) {
            SCOPED_TRACE(std::string(Name(language)) + ": \"" + placed.text + "\"");
            const auto font = Font::Create(texts.fontFace, placed.cellHeight, placed.weight);
            ASSERT_TRUE(font);
            EXPECT_LE(TTF_FontHeight(font->Ttf()), placed.cellHeight) << "its descenders would be cut";
            EXPECT_TRUE(font->HasGlyphs(placed.text)) << "a character has no glyph";
            if (placed.room > 0) {
                EXPECT_LE(font->TextWidth(placed.text), placed.room);
            }
        }
    }
}

TEST(TextFit, PictureLabelsFitTheRoomTheirPlacesGive) {
    for (Language language : kLanguages) {
        const std::vector<DrawnLabel> labels = PictureLabels(language);
        EXPECT_GE(labels.size(), 30u) << Name(language);
        for (const DrawnLabel& label : labels) {
            SCOPED_TRACE(std::string(Name(language)) + ": \"" + label.text + "\"");
            EXPECT_LE(label.needed, label.room);
            const auto font = Font::Create(TextsIn(language).fontFace, label.style.height,
                                           label.style.bold ? FW_BOLD : FW_NORMAL);
            ASSERT_TRUE(font);
            EXPECT_TRUE(font->HasGlyphs(label.text)) << "a character has no glyph";
        }
    }
}

// The popup's first item starts the game and the second ends it, in each language.
TEST(TextFit, ThePopupSaysStartThenQuit) {
    EXPECT_STREQ(TextsIn(Language::Japanese).popupStart, "開始");
    EXPECT_STREQ(TextsIn(Language::Japanese).popupQuit, "終了");
    EXPECT_STREQ(TextsIn(Language::English).popupStart, "Start");
    EXPECT_STREQ(TextsIn(Language::English).popupQuit, "Quit");
}
