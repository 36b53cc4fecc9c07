#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace {
CommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quonfel");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}
}  // namespace

TEST(CommandLine, NoOptionsPlayTheGameAsItAlwaysWas) {
    const CommandLine line = Parse({});
    EXPECT_EQ(line.action, CommandLine::Play);
    EXPECT_EQ(line.display.scale, 1);
    EXPECT_FALSE(line.display.autoScale);
    EXPECT_FALSE(line.display.fullscreen);
}

TEST(CommandLine, ScaleAndFullscreenOnlyChangeHowTheGameIsShown) {
    const struct {
        std::vector<const char*> arguments;
        int scale;
        bool autoScale, fullscreen;
    } cases[] = {
        {{"--scale", "3"}, 3, false, false},
        {{"--scale=6"}, 6, false, false},
        {{"--scale", "auto"}, 1, true, false},
        {{"--scale=auto", "--fullscreen"}, 1, true, true},
        {{"--fullscreen", "--scale", "2"}, 2, false, true},
        {{"--scale", "auto", "--scale", "4"}, 4, false, false},  // the last one counts
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Play) << line.error;
        EXPECT_EQ(line.display.scale, c.scale);
        EXPECT_EQ(line.display.autoScale, c.autoScale);
        EXPECT_EQ(line.display.fullscreen, c.fullscreen);
    }
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(Parse({"--help"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(Parse({"-h"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(Parse({"--scale", "2", "--help", "--bogus"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::ShowVersion);
    EXPECT_NE(std::string(kUsage).find("--scale N"), std::string::npos);
}

TEST(CommandLine, UnknownOptionsAndBadValuesAreRefusedWithTheReason) {
    const struct {
        std::vector<const char*> arguments;
        const char* reason;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"course1.map"}, "unknown option 'course1.map'"},
        {{"--scale"}, "--scale needs a value"},
        {{"--scale", "0"}, "not '0'"},
        {{"--scale", "7"}, "not '7'"},
        {{"--scale", "2.5"}, "not '2.5'"},
        {{"--scale", "-1"}, "not '-1'"},
        {{"--scale="}, "not ''"},
        {{"--scale", "AUTO"}, "not 'AUTO'"},
        {{"--fullscreen=yes"}, "unknown option '--fullscreen=yes'"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Refuse) << c.arguments[0];
        EXPECT_NE(line.error.find(c.reason), std::string::npos) << line.error;
    }
}
