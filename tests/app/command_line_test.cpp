#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "course/course_map.h"
#include "support/test_support.h"

namespace {
CommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quonfel");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}
}  // namespace

TEST(CommandLine, OptionsOnlyChangeHowTheGameIsShown) {
    const struct {
        std::vector<const char*> arguments;
        int scale;
        bool autoScale, fullscreen;
    } cases[] = {
        {{}, 1, false, false},  // as the game always was
        {{"--scale", "3"}, 3, false, false},
        {{"--scale=6", "--fullscreen"}, 6, false, true},
        {{"--scale", "auto"}, 1, true, false},
        {{"--scale", "auto", "--scale", "4"}, 4, false, false},  // the last one counts
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Play) << line.error;
        EXPECT_EQ(line.settings.display.scale, c.scale);
        EXPECT_EQ(line.settings.display.autoScale, c.autoScale);
        EXPECT_EQ(line.settings.display.fullscreen, c.fullscreen);
    }
    EXPECT_EQ(Parse({"--scale", "2", "--help", "--bogus"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::ShowVersion);
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
        {{"--scale="}, "not ''"},
        {{"--fullscreen=yes"}, "unknown option '--fullscreen=yes'"},
        {{"--map"}, "--map takes a map file or a course text"},
        {{"--map", "a.txt", "--watch", "b.keys"}, "play a map or watch a drive, not both"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Refuse) << c.arguments[0];
        EXPECT_NE(line.error.find(c.reason), std::string::npos) << line.error;
    }
}

TEST(CommandLine, WatchOptionsNameAKeyFileOrACourse) {
    CommandLine line = Parse({"--watch", "my drive.keys", "--scale", "2"});
    EXPECT_EQ(line.action, CommandLine::Play) << line.error;
    EXPECT_EQ(line.watch.kind, WatchRequest::File);
    EXPECT_EQ(line.watch.file, "my drive.keys");
    EXPECT_EQ(line.settings.display.scale, 2);
    line = Parse({"--watch-best=11"});
    EXPECT_EQ(line.watch.kind, WatchRequest::Best);
    EXPECT_EQ(line.watch.course, 11);
    EXPECT_EQ(Parse({"--watch=-odd name"}).watch.file, "-odd name");
    EXPECT_EQ(Parse({}).watch.kind, WatchRequest::None);
    EXPECT_EQ(Parse({"--map", "my course.txt"}).mapFile, "my course.txt");
    line = Parse({"--no-ghost", "--ghost-file=fast.keys", "--watch-best", "3"});
    EXPECT_EQ(line.ghostFile, "fast.keys");
    EXPECT_TRUE(line.settings.ghost);

    const struct {
        std::vector<const char*> arguments;
        const char* reason;
    } refused[] = {
        {{"--watch"}, "--watch takes a key file"},
        {{"--watch="}, "--watch takes a key file"},
        {{"--watch-best"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "12"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "-1"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "3", "--watch", "a.keys"}, "watch one drive at a time"},
        {{"--watchx"}, "unknown option '--watchx'"},
        {{"--ghost-file"}, "--ghost-file takes a key file"},
    };
    for (const auto& c : refused) {
        line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Refuse) << c.arguments[0];
        EXPECT_EQ(line.error, c.reason);
    }
}

TEST(CommandLine, SettingsComeFromThePreferencesAndTheOptionsOverrideThem) {
    std::vector<std::string> problems;
    const Settings kept = ReadPreferences(
        std::string("# mine\n"
        "scale = 3\n"
        "fullscreen = on\n"
        "lang=en\n"
        "  sound = yes  \n"
        "volume = 101\n"      // out of range: named, the rest applies
        "ghost = maybe\n"
        "colour = blue\n"     // unknown: named
        "just words\n"
        "volume = 40\n") +
            std::string(7, '\0'),  // left by a save killed before its last step: no line
        problems);
    EXPECT_EQ(kept.display.scale, 3);
    EXPECT_TRUE(kept.display.fullscreen);
    EXPECT_EQ(kept.language, Language::English);
    EXPECT_TRUE(kept.sound);
    EXPECT_FALSE(kept.ghost);
    EXPECT_EQ(kept.volume, 40);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "line 6: '101' is not a value of volume (0..100)");
    EXPECT_EQ(problems[1], "line 7: 'maybe' is not a value of ghost (on|off)");
    EXPECT_EQ(problems[2], "line 8: no setting is called 'colour'");
    EXPECT_EQ(problems[3], "line 9: not a 'name = value' line");

    const std::vector<const char*> arguments = {"quonfel", "--no-fullscreen", "--lang=ja", "--ghost"};
    const CommandLine line = ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), kept);
    EXPECT_EQ(line.action, CommandLine::Play) << line.error;
    EXPECT_FALSE(line.settings.display.fullscreen);
    EXPECT_EQ(line.settings.language, Language::Japanese);
    EXPECT_TRUE(line.settings.ghost);
    EXPECT_EQ(line.settings.display.scale, 3);  // not named on the line: the file's
    EXPECT_EQ(Parse({"--volume", "101"}).error, "--volume takes 0..100, not '101'");
    EXPECT_EQ(Parse({"--lang", "fr"}).error, "--lang takes ja|en, not 'fr'");
    EXPECT_EQ(Parse({"--no-volume"}).error, "unknown option '--no-volume'");
}

TEST(CommandLine, RememberingASettingKeepsEveryOtherLine) {
    const std::string text = "# my settings\nfullscreen = off\nfuture = 1\nfullscreen = off\n";
    Settings settings;
    settings.display.fullscreen = true;
    const SettingRow& fullscreen = SettingRows()[1];
    EXPECT_EQ(WithSetting(text, fullscreen, settings), "# my settings\nfullscreen = off\nfuture = 1\nfullscreen = on\n");
    EXPECT_EQ(WithSetting("", fullscreen, settings), "fullscreen = on\n");
    EXPECT_NE(Usage().find("--no-sound"), std::string::npos);
    EXPECT_NE(Usage().find("--volume 0..100"), std::string::npos);
}

// --map FILE is read before any window: a file that cannot be played is refused with one line
// for each problem and status 2; a map file the user map reader would stop on ends the game as
// that reader does, with one line.
TEST(CommandLine, AMapThatCannotBePlayedEndsTheGameBeforeAnyWindow) {
    ScopedWorkDir dir;
    WriteText("typo.txt", "S> =! G>\n== ==\n");
    WriteBytes("short.map", Int32s({3, 2, 2, 1, 2, 3}));
    std::vector<std::uint8_t> large = Int32s({3, 1, 1, 17});
    large.resize(kLargestMapFile + 1);  // more than the user map reader takes
    WriteBytes("large.map", large);
    std::string junk;
    for (int cell = 0; cell < 22; ++cell) junk += "x ";
    WriteText("junk.txt", junk);
    const struct {
        const char* file;
        long lineCount;
        std::vector<const char*> lines;
    } refused[] = {
        {"missing.txt", 1, {"quonfel: missing.txt: there is no such file"}},
        {"large.map", 1, {"quonfel: large.map: larger than a map file can be (64 kB)"}},
        {"typo.txt", 2,
         {"quonfel: typo.txt: line 1, cell 2: \"=!\" is neither a tile symbol", "quonfel: typo.txt: line 2 has 2 cells"}},
        // The first 20 problems, then the count of the rest.
        {"junk.txt", 21, {"quonfel: junk.txt: line 1, cell 20: ", "\nquonfel: junk.txt: ... and 2 more problems\n"}},
    };
    for (const auto& c : refused) {
        const char* argv[] = {"quonfel", "--map", c.file};
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunFromCommandLine(3, argv), 2) << c.file;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.lineCount) << said;
        for (const char* line : c.lines) EXPECT_NE(said.find(line), std::string::npos) << said;
    }
    const char* argv[] = {"quonfel", "--map", "short.map"};
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes;
            RunFromCommandLine(3, argv);
        },
        testing::ExitedWithCode(253), "quonfel: short.map: is damaged: only 3 of its 4 cells");
}
