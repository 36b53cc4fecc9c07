#include <gtest/gtest.h>

#include "platform/printable.h"
#include "platform/text_file.h"
#include "support/test_support.h"

TEST(TextModeFile, WritesLineFeedsAsCrLfAndReadsThemBack) {
    ScopedWorkDir dir;
    const std::vector<std::uint8_t> stream = {0x01, 0x0A, 0x0D, 0x1A, 0x00, 0x0A, 0x0A, 0xFF, 0x0D};
    ASSERT_EQ(WriteTextModeFile("score.dat", stream), 0);
    const std::vector<std::uint8_t> onDisk = {0x01, 0x0D, 0x0A, 0x0D, 0x1A, 0x00, 0x0D,
                                              0x0A, 0x0D, 0x0A, 0xFF, 0x0D};
    EXPECT_EQ(ReadBytes("score.dat"), onDisk);
    std::vector<std::uint8_t> back;
    ASSERT_EQ(ReadTextModeFile("score.dat", 100, back), OutsideFile::Read);
    EXPECT_EQ(back, stream);
    EXPECT_EQ(FilesHere(), std::vector<std::string>{"score.dat"});
}

TEST(TextModeFile, ReadTurnsOnlyCrLfPairsIntoLineFeeds) {
    ScopedWorkDir dir;
    WriteBytes("map", {0x0D, 0x0D, 0x0A, 0x0A, 0x0D, 0x1A, 0x41, 0x0D});
    std::vector<std::uint8_t> stream = {9, 9, 9};
    ASSERT_EQ(ReadTextModeFile("map", 100, stream), OutsideFile::Read);
    EXPECT_EQ(stream, (std::vector<std::uint8_t>{0x0D, 0x0A, 0x0A, 0x0D, 0x1A, 0x41, 0x0D}));
    EXPECT_EQ(ReadTextModeFile("absent", 100, stream), OutsideFile::Missing);
    EXPECT_EQ(ReadTextModeFile("map/x", 100, stream), OutsideFile::Missing);  // through a regular file
}

TEST(Int32Stream, LittleEndianSignedValuesAndAShortTail) {
    std::vector<std::uint8_t> stream;
    AppendInt32(stream, -2);
    AppendInt32(stream, 0x01020304);
    EXPECT_EQ(stream, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}));
    stream.push_back(0x07);
    stream.push_back(0x00);
    stream.push_back(0x00);

    Int32Reader reader(stream);
    std::int32_t value = 99;
    ASSERT_TRUE(reader.Read(value));
    EXPECT_EQ(value, -2);
    ASSERT_TRUE(reader.Read(value));
    EXPECT_EQ(value, 0x01020304);
    EXPECT_FALSE(reader.Read(value));  // three bytes left
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(reader.Read(value));

    const std::vector<std::uint8_t> empty;
    Int32Reader none(empty);
    EXPECT_FALSE(none.Read(value));
}

// A terminal takes C0 and C1 controls and DEL as commands, and an 8-bit one takes a lone byte
// 0x80..0x9F (0x9B starts a control sequence) as one: they are shown as \xHH, as is every
// byte that is no valid UTF-8; text of any script stays as it is.
TEST(PrintableText, ControlsAndInvalidBytesAreEscapedAndEveryCharacterKept) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"plain name.map", "plain name.map"},
        {"\x1b]0;owned\a", "\\x1b]0;owned\\x07"},
        {"a\x7f" "b", "a\\x7fb"},                          // DEL
        {"\xc2\x80 \xc2\x9b \xc2\x9f", "\\xc2\\x80 \\xc2\\x9b \\xc2\\x9f"},  // C1: U+0080, U+009B, U+009F
        {"\xc2\xa0\xc3\xa9", "\xc2\xa0\xc3\xa9"},          // U+00A0 and é, just past the controls
        {"\x9b" "2J", "\\x9b2J"},                           // a lone C1 byte
        {"\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x9a\x8c", "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x9a\x8c"},
        {"end\xc2", "end\\xc2"},                            // cut short
        {"\xe0\x80\x9b", "\\xe0\\x80\\x9b"},                // an overlong form of 0x1B
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},                // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},       // beyond U+10FFFF
        {"\xc1\xbf\xff", "\\xc1\\xbf\\xff"},
    };
    for (const auto& c : cases) EXPECT_EQ(Printable(c.text), c.shown) << c.shown;
}
