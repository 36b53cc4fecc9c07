#include <gtest/gtest.h>

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
