// Key files: the names of the keys, the header and the keys read back as written, and every
// damaged line refused with its number.
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "replays/drive_keys.h"
#include "support/test_support.h"

namespace {

DriveRecord Parsed(const std::string& text) {
    DriveRecord drive;
    std::string error;
    EXPECT_TRUE(ParseDrive(text, drive, error)) << text << ": " << error;
    return drive;
}

TEST(DriveKeys, EveryDrivingKeyHasANameThatReadsBack) {
    std::vector<int> keys = {'W', 'S', 'X', 'Q', 'A', 'Z', 'U', 'H', 'J', 'I', 'L', 'K', VK_UP, VK_DOWN, VK_LEFT,
                             VK_RIGHT, VK_RETURN, VK_SPACE, VK_ESCAPE, VK_NUMPAD0 + 8, VK_NUMPAD0 + 5, VK_NUMPAD0 + 2};
    for (int n = 1; n <= 12; ++n) keys.push_back(VK_F1 + n - 1);  // F1 to F12, as the window sends them
    for (int key : keys) {
        std::string name = KeyName(key);
        ASSERT_FALSE(name.empty()) << key;
        EXPECT_EQ(KeyFromName(name), key) << name;
    }
    EXPECT_EQ(KeyName(VK_NUMPAD0 + 5), "Num5");
    EXPECT_EQ(KeyName(VK_F8), "F8");
    EXPECT_EQ(KeyFromName("Nothing"), 0);
    EXPECT_EQ(KeyFromName(""), 0);
}

TEST(DriveKeys, HeaderAndKeysReadBackAsWritten) {
    DriveRecord drive;
    drive.course = 11;
    drive.busType = 3;
    drive.hasCourseHash = true;
    drive.courseHash = 0x00ab'cdef'0123'4567ull;
    drive.mapFile = "/home/me/my maps/#1.map";
    drive.drivingSeconds = 75;
    drive.penaltySeconds = 120;
    drive.scoreSeconds = 195;
    drive.presses = {{1, VK_UP}, {2, 'W'}, {2, 'U'}, {40, VK_NUMPAD0 + 8}, {41, VK_DOWN}};
    const std::string text = FormatDrive({"a drive"}, drive);
    EXPECT_EQ(text,
              "# a drive\ncourse 11\nbus 3\ncourse-hash 00abcdef01234567\nmap /home/me/my maps/#1.map\n"
              "driving 75\npenalty 120\nscore 195\n1 Up\n2 W\n2 U\n40 Num8\n41 Down\n");

    const DriveRecord back = Parsed(text);
    EXPECT_EQ(back.course, 11);
    EXPECT_EQ(back.busType, 3);
    EXPECT_TRUE(back.hasCourseHash);
    EXPECT_EQ(back.courseHash, drive.courseHash);
    EXPECT_EQ(back.mapFile, drive.mapFile);
    EXPECT_EQ(back.drivingSeconds, 75);
    EXPECT_EQ(back.penaltySeconds, 120);
    EXPECT_EQ(back.scoreSeconds, 195);
    ASSERT_EQ(back.presses.size(), drive.presses.size());
    for (std::size_t i = 0; i < back.presses.size(); ++i) {
        EXPECT_EQ(back.presses[i].frame, drive.presses[i].frame);
        EXPECT_EQ(back.presses[i].key, drive.presses[i].key);
    }
}

TEST(DriveKeys, KeysAloneCommentsAndWindowsLineEndsRead) {
    const DriveRecord bare = Parsed("# keys only\r\n\r\n  3 W  # faster\r\n4 Num2\r\n");
    EXPECT_EQ(bare.course, kNotRecorded);
    EXPECT_FALSE(bare.hasCourseHash);
    EXPECT_TRUE(bare.mapFile.empty());
    ASSERT_EQ(bare.presses.size(), 2u);
    EXPECT_EQ(bare.presses[0].frame, 3);
    EXPECT_EQ(bare.presses[1].key, VK_NUMPAD0 + 2);
    EXPECT_EQ(Parsed("course-hash ABCDEF0123456789\r\nmap  x.map\r\n").mapFile, "x.map");
    EXPECT_EQ(Parsed("\v map\tmy  course.map \t\n").mapFile, "my  course.map");
    // The zero bytes a save killed before its last step leaves after the text.
    EXPECT_EQ(Parsed("1 W\n" + std::string(9, '\0')).presses.size(), 1u);
    // So a path with a blank at either end or a line break would not read back.
    EXPECT_TRUE(FitsAMapLine("my  course.map"));
    for (const char* path : {"", " x.map", "\tx.map", "x.map ", "x.map\t", "x\n.map", "x\r.map"})
        EXPECT_FALSE(FitsAMapLine(path)) << path;
}

TEST(DriveKeys, DamagedLinesAreRefusedByNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 Up\n2 Jump\n", "line 2: expected a frame number and a key name"},
        {"x Up\n", "line 1: expected a frame number and a key name, or a header line"},
        {"-3 Up\n", "line 1: expected"},
        {"+3 Up\n", "line 1: expected"},
        {"1 Up W\n", "line 1: expected"},
        {"99999999999 W\n", "line 1: expected a frame number"},
        {"2147483648 W\n", "line 1: expected a frame number"},
        {"5 Up\n4 W\n", "line 2: frame 4 comes after frame 5"},
        {"1 W\n2 Enter\n", "line 2: Enter leaves the drive"},
        {"1 Esc\n", "line 1: Esc leaves the drive"},
        {"course 12\n", "line 1: expected course and a number from 0 to 11"},
        {"bus 4\n", "line 1: expected bus and a number from 0 to 3"},
        {"bus\n", "line 1: expected bus"},
        {"driving -1\n", "line 1: expected driving"},
        {"score 1 2\n", "line 1: expected score"},
        {"course 1\n\ncourse 1\n", "line 3: a second course line"},
        {"1 W\nbus 0\n", "line 2: the bus line comes after the keys"},
        {"course-hash 0123456789abcde\n", "line 1: expected the course hash as 16 hex digits"},
        {"course-hash 0123456789abcdeg\n", "line 1: expected the course hash"},
        {"course-hash 0123456789abcdef 1\n", "line 1: expected the course hash"},
        {"map   \n", "line 1: the map line names no file"},
        {"Course 1\n", "line 1: expected a frame number and a key name, or a header line"},
    };
    for (const auto& [text, message] : cases) {
        DriveRecord drive;
        std::string error;
        EXPECT_FALSE(ParseDrive(text, drive, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << " gave: " << error;
    }
}

TEST(DriveKeys, CourseHashIsSixtyFourBitFnv1a) {
    EXPECT_EQ(CourseHash({}), 0xcbf29ce484222325ull);
    EXPECT_EQ(CourseHash({'a'}), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(CourseHash({'f', 'o', 'o', 'b', 'a', 'r'}), 0x85944171f73967e8ull);
}

TEST(DriveKeys, OnlyARegularFileOfACoursesSizeIsHashed) {
    ScopedWorkDir dir;
    std::uint64_t hash = 0;
    WriteBytes("largest.map", std::vector<std::uint8_t>(kLargestCourseFile, 'x'));
    EXPECT_TRUE(HashCourseFile("largest.map", hash));
    WriteBytes("larger.map", std::vector<std::uint8_t>(kLargestCourseFile + 1, 'x'));
    for (const char* path : {"larger.map", "missing.map", ".", "/dev/null", "/dev/zero"})
        EXPECT_FALSE(HashCourseFile(path, hash)) << path;
    WriteBytes("a.map", {'a'});
    ASSERT_TRUE(HashCourseFile("a.map", hash));
    EXPECT_EQ(hash, CourseHash({'a'}));
}

}  // namespace
