#include <gtest/gtest.h>

#include "maptool/map_file.h"
#include "support/test_support.h"

namespace {

struct Decoded {
    bool readable;
    int version;
    CourseGrid grid;
    std::vector<std::string> problems;
};

Decoded Decode(const std::vector<std::uint8_t>& bytes) {
    Decoded d{};
    d.readable = DecodeMapFile(bytes, d.grid, d.version, d.problems);
    return d;
}

TEST(MapFile, WrittenAsVersion3LittleEndianXMajor) {
    CourseGrid grid;
    grid.Resize(2, 3);
    grid.Set(0, 0, 17);
    grid.Set(1, 0, 8);
    grid.Set(1, 2, 300);  // a value needing two bytes shows the byte order
    EXPECT_EQ(EncodeMapFile(grid), Int32s({3, 2, 3, 17, 0, 0, 8, 0, 300}));
    // Cell (x, y) sits at offset 12 + 4 * (x * ycount + y).
    std::vector<std::uint8_t> bytes = EncodeMapFile(grid);
    EXPECT_EQ(bytes[12 + 4 * (1 * 3 + 2)], 300 & 0xFF);
    EXPECT_EQ(bytes[12 + 4 * (1 * 3 + 2) + 1], 300 >> 8);
}

TEST(MapFile, ReadsLikeTheGameAcrossVersions) {
    struct Case {
        std::int32_t version;
        std::int32_t stored;
        std::int32_t read;
    };
    const Case cases[] = {
        {2, 65, 1},  {2, 63, 0},  {2, 64, 0},  {2, 87, 23},  // version 2 keeps codes plus 64
        {3, -1, 0},  {3, 0, 0},   {3, 1, 1},   {3, 23, 23},  // later versions keep them as they are
        {3, 24, 24}, {2, 88, 24}, {5, -3, -3},               // not tile codes: left for the checker
    };
    for (const Case& c : cases) {
        Decoded d = Decode(Int32s({c.version, 1, 1, c.stored}));
        ASSERT_TRUE(d.readable);
        EXPECT_EQ(d.grid.At(0, 0), c.read) << "version " << c.version << " value " << c.stored;
        EXPECT_TRUE(d.problems.empty());
    }
}

TEST(MapFile, ReadBackEqualsWhatWasWritten) {
    CourseGrid grid;
    grid.Resize(20, 20);
    for (std::size_t i = 0; i < grid.cells.size(); ++i) grid.cells[i] = static_cast<std::int32_t>(i % 24);
    Decoded d = Decode(EncodeMapFile(grid));
    ASSERT_TRUE(d.readable);
    EXPECT_EQ(d.version, 3);
    EXPECT_EQ(d.grid.xCount, 20);
    EXPECT_EQ(d.grid.cells, grid.cells);
}

TEST(MapFile, FlawsOfTheFileAreEachReported) {
    // Too short for the header: nothing to read.
    Decoded tiny = Decode({3, 0, 0, 0, 2});
    EXPECT_FALSE(tiny.readable);
    ASSERT_EQ(tiny.problems.size(), 1u);
    EXPECT_NE(tiny.problems[0].find("5 bytes"), std::string::npos);

    // Counts the game's grid cannot hold: both reported, nothing read.
    Decoded wide = Decode(Int32s({3, 21, 0}));
    EXPECT_FALSE(wide.readable);
    ASSERT_EQ(wide.problems.size(), 2u);
    EXPECT_NE(wide.problems[0].find("21 cells wide"), std::string::npos);
    EXPECT_NE(wide.problems[1].find("0 cells high"), std::string::npos);
    EXPECT_FALSE(Decode(Int32s({3, -4, 2})).readable);

    // Missing cells read as empty ground, as the course reader reads them.
    Decoded shortFile = Decode(Int32s({3, 2, 2, 17, 21, 1}));
    EXPECT_TRUE(shortFile.readable);
    ASSERT_EQ(shortFile.problems.size(), 1u);
    EXPECT_NE(shortFile.problems[0].find("after 3 of its 4"), std::string::npos);
    EXPECT_EQ(shortFile.grid.At(1, 1), 0);

    // Bytes beyond the last cell, and a version the course reader refuses.
    std::vector<std::uint8_t> extra = Int32s({1, 1, 1, 17});
    extra.push_back(7);
    Decoded trailing = Decode(extra);
    EXPECT_TRUE(trailing.readable);
    ASSERT_EQ(trailing.problems.size(), 2u);
    EXPECT_NE(trailing.problems[0].find("version 1"), std::string::npos);
    EXPECT_NE(trailing.problems[1].find("1 bytes follow"), std::string::npos);
}

TEST(MapFile, TellsMapFilesFromTexts) {
    EXPECT_TRUE(LooksLikeMapFile("course.MAP", {'S', '>'}));
    EXPECT_TRUE(LooksLikeMapFile("course.bin", Int32s({3, 1, 1, 17})));
    EXPECT_FALSE(LooksLikeMapFile("course.txt", {'S', '>', ' ', 'G', '>', '\n'}));
}

}  // namespace
