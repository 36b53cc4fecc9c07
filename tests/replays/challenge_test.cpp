// Challenge files: a good one reads back, and every damaged, truncated, oversized or hostile
// one is refused with its problem named.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "course/map_text.h"
#include "replays/challenge.h"
#include "support/test_support.h"

namespace {

// A start above a goal, one column: version 3, 1 by 2 cells.
const std::vector<std::int32_t> kTinyMap = {3, 1, 2, 16, 20};
const char* const kTinyHash = "a496465b7474a1c1";

std::string Keys(const std::string& course, const std::string& hash) {
    return "course " + course + "\nbus 2\ncourse-hash " + hash + "\nmap tiny.map\n1 Up\n2 W\n";
}

std::string Bytes(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string File(const std::string& name, const std::string& map, const std::string& keys, const std::string& tail = "") {
    return "quonfel-challenge 1\nname " + name + "\nmap " + std::to_string(map.size()) + "\n" + map + "keys " +
           std::to_string(keys.size()) + "\n" + keys + tail;
}

std::string Read(const std::string& text, Challenge& challenge, DriveRecord& drive) {
    return ReadChallenge(std::vector<std::uint8_t>(text.begin(), text.end()), challenge, drive);
}

TEST(Challenge, AGoodFileReadsAndEveryBadOneIsNamed) {
    ScopedWorkDir dir;
    const std::string map = Bytes(Int32s(kTinyMap));
    const std::string keys = Keys("11", kTinyHash);
    const std::string good = File("Tiny", map, keys);
    Challenge challenge;
    DriveRecord drive;
    ASSERT_EQ(Read(good, challenge, drive), "");
    EXPECT_EQ(challenge.name, "Tiny");
    EXPECT_EQ(Bytes(challenge.map), map);
    EXPECT_EQ(drive.busType, 2);
    EXPECT_EQ(drive.presses.size(), 2u);
    EXPECT_EQ(Bytes(FormatChallenge(challenge)), good);

    const struct {
        std::string file;
        std::string problem;
    } bad[] = {
        {"", "not a challenge file"},
        {"GIF89a\n", "not a challenge file"},
        {"quonfel-challenge 2\n", "a challenge of another version than this game reads (1)"},
        {"quonfel-challenge 1\nmap 0\n", "damaged: no name line"},
        {File("\x1b]0;owned\x07", map, keys), "damaged: the name is empty, longer than 100 bytes or not plain text"},
        {File("", map, keys), "damaged: the name is empty, longer than 100 bytes or not plain text"},
        {File(std::string(101, 'a'), map, keys), "damaged: the name is empty, longer than 100 bytes or not plain text"},
        {"quonfel-challenge 1\nname x\nmap 65537\n", "damaged: no map file length (\"map N\", N at most 65536)"},
        {"quonfel-challenge 1\nname x\nmap -1\n", "damaged: no map file length (\"map N\", N at most 65536)"},
        {"quonfel-challenge 1\nname x\nmap 020\n", "damaged: no map file length (\"map N\", N at most 65536)"},
        {"quonfel-challenge 1\nname x\nmap 20\n0123456789", "truncated: the map file is 10 bytes short"},
        {File("x", map, keys).substr(0, File("x", map, keys).size() - 5), "truncated: the key file is 5 bytes short"},
        {"quonfel-challenge 1\nname x\nmap 0\nkeys 99999999\n",
         "damaged: no key file length (\"keys N\", N at most 16777216)"},
        {File("x", map, keys, "end"), "damaged: 3 bytes after the key file"},
        {File("x", Bytes(Int32s({3, 21, 2})), keys), "the course is damaged: 21 by 2 cells, outside 0 to 20"},
        {File("x", Bytes(Int32s({3, 1, 2, 16})), keys), "the course is damaged: only 1 of its 2 cells"},
        {File("x", map, Keys("11", "0123456789abcdef")), "the drive was driven on another course"},
        {File("x", map, Keys("3", kTinyHash)), "the drive is one of course 3, not of a course of your own (11)"},
        {File("x", map, "course 11\nbus 9\n"), "the drive cannot be read: line 2: expected bus and a number from 0 to 3"},
        {File("x", map, "course 11\nbus 1\n"), "the drive cannot be read: no course-hash line"},
    };
    for (const auto& file : bad) EXPECT_EQ(Read(file.file, challenge, drive), file.problem) << file.file;

    // Files that are no challenge are not read.
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    WriteText("huge", "");
    std::filesystem::resize_file("huge", 3ull << 30);  // sparse: takes no room
    EXPECT_EQ(ReadChallengeFile("pipe", challenge, drive), "not a regular file");
    EXPECT_EQ(ReadChallengeFile("huge", challenge, drive), "larger than a challenge file can be (17 MB)");
    EXPECT_EQ(ReadChallengeFile("none", challenge, drive), "there is no such file");
}

TEST(Challenge, MadeFromACourseAndItsDrive) {
    ScopedWorkDir dir;
    WriteBytes("my loop.map", Int32s(kTinyMap));
    WriteText("best.keys", "# mine\n" + Keys("11", kTinyHash));
    WriteText("other.keys", Keys("11", "0123456789abcdef"));
    Challenge challenge;
    ASSERT_EQ(MakeChallenge("my loop.map", "best.keys", challenge), "");
    EXPECT_EQ(challenge.name, "my loop");
    EXPECT_EQ(challenge.keys, "# a drive of my loop\ncourse 11\nbus 2\ncourse-hash a496465b7474a1c1\nmap my loop.map\n"
                              "1 Up\n2 W\n");
    EXPECT_EQ(MakeChallenge("my loop.map", "other.keys", challenge), "other.keys: the drive was driven on another course");
    EXPECT_EQ(MakeChallenge("gone.map", "best.keys", challenge), "gone.map: there is no such file");
    // A long file name is cut before a character that would not fit whole: 33 of 40 (3 bytes each).
    std::string longName;
    for (int i = 0; i < 40; ++i) longName += "坂";
    std::filesystem::rename("my loop.map", longName + ".map");
    ASSERT_EQ(MakeChallenge(longName + ".map", "best.keys", challenge), "");
    EXPECT_EQ(challenge.name, longName.substr(0, 99));

    // Written whole where the name says, never through a link.
    std::filesystem::create_symlink("elsewhere", "link.quonfel-challenge");
    EXPECT_EQ(WriteChallengeFile("link.quonfel-challenge", challenge),
              "link.quonfel-challenge is a symbolic link; a challenge is not written through one");
    EXPECT_FALSE(std::filesystem::exists("elsewhere"));

    // A course text names itself at its top; the name makes the file's name.
    const auto name = [](const std::string& text) { return CourseNameOf(CourseTextHeaderOf(text)); };
    EXPECT_EQ(name("# name: Loop of mine \n# more\n|| ..\n"), "Loop of mine");
    EXPECT_EQ(name("# a comment\n# names: not this\n# name:山道\n.. ..\n"), "山道");
    EXPECT_EQ(name(".. ..\n# name: after the rows\n"), "");
    EXPECT_EQ(ChallengeFileStem("a/b"), "a_b");
    EXPECT_EQ(ChallengeFileStem(".."), "_..");
}

}  // namespace
