#include <gtest/gtest.h>

#include "maptool/drive_keys.h"
#include "platform/messages.h"

namespace {

TEST(DriveKeys, EveryDrivingKeyHasANameThatReadsBack) {
    const int keys[] = {'W', 'S', 'X', 'Q', 'A', 'Z', 'U', 'H', 'J', 'I', 'L', 'K', VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT,
                        VK_RETURN, VK_SPACE, VK_ESCAPE, VK_NUMPAD0 + 8, VK_NUMPAD0 + 5, VK_NUMPAD0 + 2, VK_F2, VK_F11};
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

TEST(DriveKeys, TextRoundTripKeepsOrderWithinAFrame) {
    std::vector<KeyPress> presses = {{1, VK_UP}, {2, 'W'}, {2, 'U'}, {40, VK_NUMPAD0 + 8}, {41, VK_DOWN}};
    std::string text = FormatDrive({"a drive"}, presses);
    EXPECT_EQ(text, "# a drive\n1 Up\n2 W\n2 U\n40 Num8\n41 Down\n");
    std::vector<KeyPress> back;
    std::string error;
    ASSERT_TRUE(ParseDrive(text, back, error)) << error;
    ASSERT_EQ(back.size(), presses.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].frame, presses[i].frame);
        EXPECT_EQ(back[i].key, presses[i].key);
    }
}

TEST(DriveKeys, UnreadableLinesAreNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 Up\n2 Jump\n", "line 2: expected a frame number and a key name"},
        {"x Up\n", "line 1: expected"},
        {"-3 Up\n", "line 1: expected"},
        {"1 Up W\n", "line 1: expected"},
        {"5 Up\n4 W\n", "line 2: frame 4 comes after frame 5"},
    };
    for (const auto& [text, message] : cases) {
        std::vector<KeyPress> presses;
        std::string error;
        EXPECT_FALSE(ParseDrive(text, presses, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace
