#include <gtest/gtest.h>

#include "maptool/map_text.h"

namespace {

CourseGrid Parse(const std::string& text, std::vector<std::string>* problems = nullptr) {
    CourseGrid grid;
    std::vector<std::string> found;
    ParseCourseText(text, grid, found);
    if (problems) *problems = found;
    return grid;
}

TEST(CourseText, EverySymbolAndItsNumberReadAsTheSameCode) {
    for (const TileSymbol& tile : TileSymbols()) {
        std::int32_t bySymbol = -1, byNumber = -1;
        ASSERT_TRUE(ReadToken(tile.symbol, bySymbol)) << tile.symbol;
        ASSERT_TRUE(ReadToken(std::to_string(tile.code), byNumber));
        EXPECT_EQ(bySymbol, tile.code) << tile.symbol;
        EXPECT_EQ(byNumber, tile.code);
        EXPECT_EQ(SymbolOf(tile.code), tile.symbol);
    }
    EXPECT_EQ(TileSymbols().size(), 24u);
}

TEST(CourseText, RowsAreReadTopFirstIntoTheXMajorGrid) {
    CourseGrid grid = Parse("S> == =\\\n.. 2 Gv\n");
    ASSERT_EQ(grid.xCount, 3);
    ASSERT_EQ(grid.yCount, 2);
    EXPECT_EQ(grid.At(0, 0), 17);
    EXPECT_EQ(grid.At(2, 0), 8);
    EXPECT_EQ(grid.At(1, 1), 2);
    EXPECT_EQ(grid.At(2, 1), 23);
    // x-major storage, as the map file keeps it: the two cells of column 0 come first.
    EXPECT_EQ(grid.cells, (std::vector<std::int32_t>{17, 0, 1, 2, 8, 23}));
}

TEST(CourseText, CommentsBlankLinesCrLfAndByteOrderMarkAreIgnored) {
    const std::string plain = "S> ==\n|| G<\n";
    const std::string dressed =
        "\xEF\xBB\xBF# a course from a Windows editor\r\n"
        "\r\n"
        "   # indented comment\r\n"
        "S>\t==   # trailing comment\r\n"
        "|| G<\r\n"
        "\r\n";
    EXPECT_EQ(Parse(dressed).cells, Parse(plain).cells);
    EXPECT_EQ(Parse(dressed).xCount, 2);
}

TEST(CourseText, NumbersOutsideTheTileCodesAreKeptForTheChecker) {
    std::vector<std::string> problems;
    CourseGrid grid = Parse("24 -5\n", &problems);
    ASSERT_TRUE(problems.empty()) << problems[0];
    EXPECT_EQ(grid.At(0, 0), 24);
    EXPECT_EQ(grid.At(1, 0), -5);
}

TEST(CourseText, EveryUnreadableTokenAndRowIsReportedWithItsLine) {
    std::vector<std::string> problems;
    Parse("# header\nS> Q7 ==\n|| ==\n== ?? 99999999999\n", &problems);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_NE(problems[0].find("line 2, cell 2: \"Q7\""), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 3 has 2 cells"), std::string::npos) << problems[1];
    EXPECT_NE(problems[1].find("first row (line 2) has 3"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("line 4, cell 2: \"??\""), std::string::npos) << problems[2];
    EXPECT_NE(problems[3].find("\"99999999999\""), std::string::npos) << problems[3];
}

TEST(CourseText, TextWithoutRowsIsAProblem) {
    std::vector<std::string> problems;
    CourseGrid grid;
    EXPECT_FALSE(ParseCourseText("# only a comment\n\n", grid, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no grid rows"), std::string::npos);
}

TEST(CourseText, PrintedTextReadsBackToTheSameGrid) {
    CourseGrid grid;
    grid.Resize(24, 2);
    for (int code = 0; code < 24; ++code) grid.Set(code, 0, code);
    grid.Set(0, 1, 99);  // not a tile code: printed as its number
    grid.Set(1, 1, -7);
    std::string text = FormatCourseText(grid, "round trip");
    EXPECT_EQ(text.rfind("# round trip\n", 0), 0u);
    std::vector<std::string> problems;
    CourseGrid back = Parse(text, &problems);
    ASSERT_TRUE(problems.empty()) << problems[0];
    EXPECT_EQ(back.xCount, 24);
    EXPECT_EQ(back.cells, grid.cells);
}

TEST(CourseText, TheFirstNameLineNamesTheCourse) {
    const std::pair<const char*, const char*> cases[] = {
        {"# name: Harbour loop\n# name: later\nS> G>\n", "Harbour loop"},
        {"\xEF\xBB\xBF  #name:\t Two  words \r\nS> G>\n", "Two  words"},
        {"# a comment\nS> G>\n# name: after the rows\n", "after the rows"},
        {"# names: no\n# Name: no\nS> G>  # name: in a row's comment\n", ""},
        {"# name:\n# name: second\n", ""},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(CourseNameOf(text), name) << text;
    EXPECT_EQ(WithCourseName("# A course\n#name: Old\n# name: other\n", "New one"),
              "# A course\n# name: New one\n# name: other\n");
    EXPECT_EQ(WithCourseName("# A course\n", "Mine"), "# name: Mine\n# A course\n");
    EXPECT_EQ(WithCourseName("# A course\n# name: Old\n", ""), "# A course\n");
}

TEST(CourseText, CellNamesCountRowsAndColumnsFromOne) {
    EXPECT_EQ(CellName(3, 0), "row 1, column 4 (x=3, y=0)");
}

}  // namespace
