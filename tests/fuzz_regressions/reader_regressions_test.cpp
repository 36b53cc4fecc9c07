// Every input that once made a file reader fail under the fuzzer (fuzz/regressions/<reader>/)
// is read again here: the reader must take it or refuse it the sound way, never read or
// write outside what it holds. Under the sanitizer build these also catch undefined
// arithmetic on the values.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "course/course_map.h"
#include "platform/process.h"
#include "records/score_table.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDamagedCourseStatus = -2;
constexpr int kShortUserMapStatus = -3;

struct ExitRequest {
    int status;
};
[[noreturn]] void ThrowExit(int status) { throw ExitRequest{status}; }

std::vector<std::string> KeptInputs(const std::string& reader) {
    std::vector<std::string> paths;
    const fs::path folder = fs::path(QUONFEL_SOURCE_DIR) / "fuzz" / "regressions" / reader;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) paths.push_back(entry.path().string());
    return paths;
}

std::string InputName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = fs::path(info.param).stem().string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

class KeptInput : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { SetExitHandler(ThrowExit); }
    void TearDown() override { SetExitHandler(nullptr); }
    void CopyInputAs(const std::string& name) { WriteBytes(name, ReadBytes(GetParam())); }

    ScopedWorkDir dir;
    MessageBoxRecorder boxes;
};

// Every cell of the grid, loaded or not, reads as a tile code or as off the grid.
void ExpectEveryCellReadsAsATileCode(const CourseMap& map) {
    for (int x = -1; x <= GridSize; ++x) {
        for (int y = -1; y <= GridSize; ++y) {
            const std::int32_t code = map.CodeAt(x, y);
            EXPECT_TRUE(code >= -1 && code < TileCodeCount) << x << "," << y << " reads " << code;
        }
    }
}

class CourseFileInput : public KeptInput {};
TEST_P(CourseFileInput, IsReadOrRefusedAsDamaged) {
    CopyInputAs("7.map");
    CourseMap map;
    try {
        EXPECT_EQ(map.LoadCourse(7), 1);
        EXPECT_GE(map.lastCellX, -1);
        EXPECT_LT(map.lastCellX, GridSize);
        EXPECT_GE(map.lastCellY, -1);
        EXPECT_LT(map.lastCellY, GridSize);
        ExpectEveryCellReadsAsATileCode(map);
    } catch (const ExitRequest& exit) {
        EXPECT_EQ(exit.status, kDamagedCourseStatus);
    }
}
INSTANTIATE_TEST_SUITE_P(Kept, CourseFileInput, ::testing::ValuesIn(KeptInputs("course_file")), InputName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CourseFileInput);

class UserMapInput : public KeptInput {};
TEST_P(UserMapInput, IsReadWithNoNegativeCellOrRefusedAsShort) {
    CopyInputAs("chosen.map");
    CourseMap map;
    try {
        EXPECT_EQ(map.LoadUserMap(dir.Path() + "/chosen.map"), 1);
        for (int x = 0; x <= map.lastCellX; ++x) {
            for (int y = 0; y <= map.lastCellY; ++y) EXPECT_GE(map.grid[x][y], 0) << x << "," << y;
        }
        ExpectEveryCellReadsAsATileCode(map);
    } catch (const ExitRequest& exit) {
        EXPECT_EQ(exit.status, kShortUserMapStatus);
    }
}
INSTANTIATE_TEST_SUITE_P(Kept, UserMapInput, ::testing::ValuesIn(KeptInputs("user_map")), InputName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(UserMapInput);

class ScoreFileInput : public KeptInput {};
TEST_P(ScoreFileInput, IsReadAndWrittenBackToTheSameTable) {
    CopyInputAs(ScoreFileName);
    ScoreTable loaded;
    ASSERT_EQ(loaded.Load(), 1);
    ASSERT_GE(loaded.setCount, 1);
    ASSERT_LE(loaded.setCount, MaxRecordSets);
    loaded.Save();
    ScoreTable reread;
    ASSERT_EQ(reread.Load(), 1);
    ASSERT_EQ(reread.setCount, loaded.setCount);
    for (int s = 0; s < loaded.setCount; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            EXPECT_EQ(reread.records[s][c].courseState, loaded.records[s][c].courseState) << s << "," << c;
            EXPECT_EQ(reread.records[s][c].bestTime, loaded.records[s][c].bestTime) << s << "," << c;
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Kept, ScoreFileInput, ::testing::ValuesIn(KeptInputs("score_file")), InputName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScoreFileInput);

}  // namespace
