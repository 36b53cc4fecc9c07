// The course file reader and the user map reader, on map files the tests write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "course/course_map.h"
#include "platform/dialogs.h"
#include "records/score_table.h"
#include "support/test_support.h"

namespace {

// Little-endian int32 values, as a map file holds them.
std::vector<std::uint8_t> MapBytes(const std::vector<std::int32_t>& values) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t value : values) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    return bytes;
}

// A map file: version, x count, y count, then the cells x-major.
std::vector<std::int32_t> MapValues(std::int32_t version, std::int32_t xCount,
                                    std::int32_t yCount, std::vector<std::int32_t> cells) {
    std::vector<std::int32_t> values = {version, xCount, yCount};
    values.insert(values.end(), cells.begin(), cells.end());
    return values;
}

std::string CourseFileName(int course) { return std::to_string(course) + ".map"; }

void WriteCourse(int course, const std::vector<std::int32_t>& values) {
    WriteBytes(CourseFileName(course), MapBytes(values));
}

class MapReaderTest : public ::testing::Test {
protected:
    ScopedWorkDir dir;
    MessageBoxRecorder boxes;
    CourseMap map;
};

using MapReaderDeathTest = MapReaderTest;

}  // namespace

TEST_F(MapReaderTest, VersionTwoSubtracts64AndTurnsBothEmptyMarkersIntoZero) {
    // Cells x-major: (0,0)=65 (0,1)=63 (1,0)=64 (1,1)=64+23.
    WriteCourse(3, MapValues(2, 2, 2, {65, 63, 64, 87}));
    ASSERT_EQ(map.LoadCourse(3), 1);
    EXPECT_EQ(map.grid[0][0], 1);
    EXPECT_EQ(map.grid[0][1], 0);  // 63 - 64 = -1, an empty cell
    EXPECT_EQ(map.grid[1][0], 0);
    EXPECT_EQ(map.grid[1][1], 23);
    EXPECT_EQ(map.goalCellX, 1);
    EXPECT_EQ(map.goalCellY, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MapReaderTest, LaterVersionsStoreCodesAsTheyAreWithMinusOneEmpty) {
    WriteCourse(0, MapValues(3, 1, 3, {-1, 1, 18}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.grid[0][0], 0);
    EXPECT_EQ(map.grid[0][1], 1);
    EXPECT_EQ(map.grid[0][2], 18);
    EXPECT_EQ(map.startCellX, 0);
    EXPECT_EQ(map.startCellY, 2);
}

TEST_F(MapReaderTest, CellOffsetsAreXMajor) {
    // The value of (x, y) is at 12 + 4 * (x * ycount + y).
    WriteCourse(1, MapValues(3, 3, 2, {1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(map.LoadCourse(1), 1);
    EXPECT_EQ(map.grid[0][0], 1);
    EXPECT_EQ(map.grid[0][1], 2);
    EXPECT_EQ(map.grid[1][0], 3);
    EXPECT_EQ(map.grid[2][1], 6);
    EXPECT_EQ(map.lastCellX, 2);
    EXPECT_EQ(map.lastCellY, 1);
}

TEST_F(MapReaderTest, LaterStartAndGoalCodesWinInFileOrder) {
    WriteCourse(0, MapValues(3, 2, 2, {16, 20, 19, 22}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.startCellX, 1);
    EXPECT_EQ(map.startCellY, 0);
    EXPECT_EQ(map.goalCellX, 1);
    EXPECT_EQ(map.goalCellY, 1);
}

TEST_F(MapReaderTest, ShortFilesReadMissingValuesAsTheirDefaults) {
    // Counts promise 4 cells, the file holds 1: the rest read as -1, stored as 0.
    WriteCourse(0, MapValues(3, 2, 2, {5}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.grid[0][0], 5);
    EXPECT_EQ(map.grid[0][1], 0);
    EXPECT_EQ(map.grid[1][1], 0);

    // A file that ends after the version: counts 0, nothing read, extent -1.
    WriteCourse(1, {3});
    ASSERT_EQ(map.LoadCourse(1), 1);
    EXPECT_EQ(map.lastCellX, -1);
    EXPECT_EQ(map.lastCellY, -1);
    EXPECT_EQ(map.grid[0][0], 5);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MapReaderTest, VersionTwoShortFileKeepsTheAdjustedMissingValueButReadsAsEmpty) {
    // A missing value reads as -1 before the adjustment, so it becomes -65: not a tile code.
    WriteCourse(0, MapValues(2, 1, 2, {65}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.grid[0][1], -65);
    EXPECT_EQ(map.CodeAt(0, 1), TileEmpty);
}

TEST_F(MapReaderTest, PartialMapLeavesTheRestOfTheGridAsItWas) {
    std::vector<std::int32_t> full(400, 1);
    WriteCourse(0, MapValues(3, 20, 20, full));
    ASSERT_EQ(map.LoadCourse(0), 1);

    std::vector<std::int32_t> partial(20 * 12, 2);
    WriteCourse(1, MapValues(3, 20, 12, partial));
    ASSERT_EQ(map.LoadCourse(1), 1);
    EXPECT_EQ(map.lastCellX, 19);
    EXPECT_EQ(map.lastCellY, 11);
    EXPECT_EQ(map.grid[19][11], 2);
    EXPECT_EQ(map.grid[0][12], 1);
    EXPECT_EQ(map.grid[19][19], 1);
}

TEST_F(MapReaderTest, ALoadWithoutStartOrGoalKeepsThePreviousCells) {
    WriteCourse(0, MapValues(3, 1, 1, {1}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.startCellX, 23);
    EXPECT_EQ(map.goalCellY, 23);
    EXPECT_EQ(map.grid[1][0], -1);
}

TEST_F(MapReaderTest, LoadResetsThePerDriveFields) {
    map.violationCount = 2;
    map.goalReached = 1;
    WriteCourse(0, MapValues(3, 1, 1, {1}));
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.violationCount, 0);
    EXPECT_EQ(map.goalReached, 0);
}

TEST_F(MapReaderTest, MissingCourseFileChangesNothing) {
    map.grid[0][0] = 7;
    map.lastCellX = 4;
    map.violationCount = 1;
    EXPECT_EQ(map.LoadCourse(5), 0);
    EXPECT_EQ(map.grid[0][0], 7);
    EXPECT_EQ(map.lastCellX, 4);
    EXPECT_EQ(map.violationCount, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MapReaderTest, CarriageReturnLineFeedPairsAreReadAsTextMode) {
    // Version 3, 1 x 1, code 10 stored as 0A 00 00 00 - in text mode 0D 0A 00 00 00.
    WriteBytes("0.map", {3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x0D, 0x0A, 0, 0, 0});
    ASSERT_EQ(map.LoadCourse(0), 1);
    EXPECT_EQ(map.grid[0][0], 10);
}

TEST_F(MapReaderDeathTest, DamagedCourseFilesEndTheProgramWith254) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> values;
    };
    const Case cases[] = {
        {"version 1", MapValues(1, 1, 1, {1})},
        {"version 0", MapValues(0, 1, 1, {1})},
        {"empty file", {}},
        {"x count 21", MapValues(3, 21, 1, {})},
        {"y count 21", MapValues(3, 1, 21, {})},
        {"negative x count", MapValues(3, -1, 5, {})},
        {"negative y count", MapValues(2, 5, -3, {})},
    };
    // The box shows in the child; it reports the box on stderr so the parent can see it.
    SetMessageBoxHandler([](const std::string& text, const std::string& caption, unsigned type) {
        std::fprintf(stderr, "box[%s|%s|%u]", text.c_str(), caption.c_str(), type);
        return 1;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteCourse(4, c.values);
        EXPECT_EXIT(map.LoadCourse(4), ::testing::ExitedWithCode(254),
                    "quonfel: [^\n]*4\\.map is damaged: [^\n]+\nbox\\[マップファイルが壊れています。\\|Map File Error\\|16\\]");
    }
}

TEST_F(MapReaderTest, UserMapTakesEveryVersion) {
    // Version 1 stores the codes unchanged, like version 3.
    WriteBytes("old.map", MapBytes(MapValues(1, 2, 1, {17, 21})));
    ASSERT_EQ(map.LoadUserMap("old.map"), 1);
    EXPECT_EQ(map.grid[0][0], 17);
    EXPECT_EQ(map.grid[1][0], 21);
    EXPECT_EQ(map.startCellX, 0);
    EXPECT_EQ(map.goalCellX, 1);
    EXPECT_EQ(map.lastCellX, 1);
    EXPECT_EQ(map.lastCellY, 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MapReaderTest, UserMapStoresEveryNegativeValueAsEmpty) {
    // Version 2: -1 becomes -65, 63 becomes -1, 66 becomes 2.
    WriteBytes("v2.map", MapBytes(MapValues(2, 1, 3, {-1, 63, 66})));
    ASSERT_EQ(map.LoadUserMap("v2.map"), 1);
    EXPECT_EQ(map.grid[0][0], 0);
    EXPECT_EQ(map.grid[0][1], 0);
    EXPECT_EQ(map.grid[0][2], 2);

    WriteBytes("v3.map", MapBytes(MapValues(3, 1, 2, {-7, 4})));
    ASSERT_EQ(map.LoadUserMap("v3.map"), 1);
    EXPECT_EQ(map.grid[0][0], 0);
    EXPECT_EQ(map.grid[0][1], 4);
}

TEST_F(MapReaderTest, UserMapTenByTenSetsTheExtentAndResetsTheDrive) {
    map.goalReached = 1;
    map.violationCount = 1;
    std::vector<std::int32_t> cells(100, 1);
    WriteBytes("ten.map", MapBytes(MapValues(3, 10, 10, cells)));
    ASSERT_EQ(map.LoadUserMap("ten.map"), 1);
    EXPECT_EQ(map.lastCellX, 9);
    EXPECT_EQ(map.lastCellY, 9);
    EXPECT_EQ(map.grid[9][9], 1);
    EXPECT_EQ(map.grid[10][0], -1);
    EXPECT_EQ(map.goalReached, 0);
    EXPECT_EQ(map.violationCount, 0);
}

TEST_F(MapReaderTest, UnopenableUserMapChangesNothing) {
    map.grid[0][0] = 3;
    EXPECT_EQ(map.LoadUserMap("no-such-folder/none.map"), 0);
    EXPECT_EQ(map.grid[0][0], 3);
}

TEST_F(MapReaderDeathTest, ShortOrOversizedUserMapsEndTheProgramWith253) {
    std::vector<std::int32_t> cells399(399, 1);
    struct Case {
        const char* what;
        std::vector<std::int32_t> values;
    };
    const Case cases[] = {
        {"399 of 400 values", MapValues(3, 20, 20, cells399)},
        {"no cells at all", MapValues(1, 1, 1, {})},
        {"x count 21", MapValues(3, 21, 1, std::vector<std::int32_t>(21, 1))},
        {"negative y count", MapValues(3, 1, -2, {})},
    };
    SetMessageBoxHandler([](const std::string& text, const std::string& caption, unsigned type) {
        std::fprintf(stderr, "box[%s|%s|%u]", text.c_str(), caption.c_str(), type);
        return 1;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("user.map", MapBytes(c.values));
        EXPECT_EXIT(map.LoadUserMap("user.map"), ::testing::ExitedWithCode(253),
                    "box\\[Map File Read Error!!\\|Read Error\\|16\\]");
    }
}

TEST_F(MapReaderTest, ChooseUserMapAsksForAMapFileAndLoadsTheChosenPath) {
    WriteBytes("mine.map", MapBytes(MapValues(3, 1, 1, {2})));
    const std::string chosen = dir.Path() + "/mine.map";
    OpenFileRequest seen;
    SetOpenFileHandler([&](const OpenFileRequest& request, std::string& path) {
        seen = request;
        path = chosen;
        return true;
    });
    map.ChooseUserMap();
    SetOpenFileHandler(nullptr);

    EXPECT_EQ(map.grid[0][0], 2);
    EXPECT_EQ(seen.title, "ユーザ作成マップファイルの選択");
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[0].name, "Map Files(*.map)");
    EXPECT_EQ(seen.filters[0].pattern, "*.map");
    EXPECT_EQ(seen.filters[1].name, "All Files(*.*)");
    EXPECT_EQ(seen.filters[1].pattern, "*.*");
    EXPECT_EQ(seen.filterIndex, 1);
    EXPECT_EQ(seen.initialDirectory, dir.Path());
}

TEST_F(MapReaderTest, CancelledDialogLeavesThePreviousCourse) {
    // The path names a real map, so only the cancel keeps the old course.
    WriteBytes("mine.map", MapBytes(MapValues(3, 1, 1, {2})));
    map.grid[0][0] = 9;
    SetOpenFileHandler([&](const OpenFileRequest&, std::string& path) {
        path = dir.Path() + "/mine.map";
        return false;
    });
    map.ChooseUserMap();
    SetOpenFileHandler(nullptr);
    EXPECT_EQ(map.grid[0][0], 9);
}

TEST(CourseMapCodeAt, NeverGivesAnIndexPastTheTileTable) {
    CourseMap map;
    map.grid[0][0] = 23;
    map.grid[0][1] = 24;
    map.grid[0][2] = -65;
    map.grid[0][3] = 1000000;
    EXPECT_EQ(map.CodeAt(0, 0), 23);
    EXPECT_EQ(map.CodeAt(0, 1), TileEmpty);
    EXPECT_EQ(map.CodeAt(0, 2), TileEmpty);
    EXPECT_EQ(map.CodeAt(0, 3), TileEmpty);
    EXPECT_EQ(map.CodeAt(5, 5), TileEmpty);  // never loaded
    EXPECT_EQ(map.CodeAt(20, 0), -1);
    EXPECT_EQ(map.CodeAt(0, -1), -1);
}

// Named by mistake or malice, a pipe, a device, a folder or a huge file is a file that cannot
// be opened, told in one line: never read for ever, nor into memory.
TEST_F(MapReaderTest, APipeADeviceAFolderOrAHugeFileIsAFileThatCannotBeOpened) {
    ScoreTable table;
    table.records[0][1].bestTime = 77;
    map.grid[0][0] = 5;
    const std::tuple<const char*, std::string, std::function<int()>> readers[] = {
        {"5.map", "course file", [&] { return map.LoadCourse(5); }},
        {"5.map", "map file", [&] { return map.LoadUserMap("5.map"); }},
        {ScoreFileName, "best-times file", [&] { return table.Load(); }}};
    const std::function<void(const char*)> plants[] = {
        [](const char* name) { mkfifo(name, 0644); },
        [](const char* name) { std::filesystem::create_symlink("/dev/zero", name); },
        [](const char* name) { std::filesystem::create_directory(name); },
        [](const char* name) { WriteBytes(name, {}), std::filesystem::resize_file(name, 1u << 30); }};
    for (const auto& [file, kind, read] : readers) {
        for (const auto& plant : plants) {
            const bool huge = &plant == &plants[3];
            std::filesystem::remove_all(file);
            plant(file);
            testing::internal::CaptureStderr();
            EXPECT_EQ(read(), 0) << file;
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_EQ(said, "quonfel: the " + kind + " " + file + " cannot be read: " +
                                (huge ? "larger than a " + kind + " can be (64 kB)\n" : "not a regular file\n"));
        }
    }
    EXPECT_EQ(map.grid[0][0], 5);
    EXPECT_EQ(table.records[0][1].bestTime, 77);
    EXPECT_TRUE(boxes.boxes.empty());
}
