#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
    line = Parse({"--no-ghost", "--challenge", "from Aki.quonfel-challenge"});
    EXPECT_EQ(line.challengeFile, "from Aki.quonfel-challenge");
    EXPECT_TRUE(line.settings.ghost);
    EXPECT_EQ(Parse({"--scale", "2", "/tmp/x.quonfel-challenge"}).challengeFile, "/tmp/x.quonfel-challenge");

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
        {{"--map", "a.txt", "--map=b.txt"}, "play one map at a time"},
        {{"--ghost-file=a.keys", "--ghost-file", "b.keys"}, "race one ghost at a time"},
        {{"--challenge"}, "--challenge takes a challenge file"},
        {{"--challenge=a", "b.quonfel-challenge"}, "take one challenge at a time"},
        {{"--map", "a.txt", "--challenge", "c"},
         "--challenge brings its own course and ghost: take it without --map, --watch or --ghost-file"},
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
    EXPECT_FALSE(Parse({}).settings.hints);
    EXPECT_TRUE(Parse({"--hints"}).settings.hints);
}

// Each key line's binding as "key K>A": the player's key K does what the game's key A does.
std::string Described(const Settings& s) {
    std::string text = "scale " + std::to_string(s.display.scale) + (s.display.autoScale ? " auto" : "") +
                       (s.display.fullscreen ? " fullscreen" : "") + (s.language == Language::English ? " en" : "") +
                       (s.ghost ? " ghost" : "") + (s.sound ? " sound" : "") + " volume " + std::to_string(s.volume) +
                       (s.hints ? " hints" : "");
    for (const KeyBinding& b : s.keyBindings) text += " key " + std::to_string(b.key) + ">" + std::to_string(b.actionKey);
    return text;
}

// Every value a setting takes, the key lines, each named problem word for word, and a last line without a
// line end read whole.
TEST(Preferences, EachLineIsTakenOrNamedAsAProblem) {
    const struct { const char *text, *settings, *problems; } cases[] = {
        {"volume = 100", "scale 1 volume 100", ""},
        {"volume = 0\n", "scale 1 volume 0", ""},
        {"sound = on\nghost = yes\nfullscreen = true\r\nlang = en\nscale = auto", "scale 1 auto fullscreen en ghost sound volume 80", ""},
        {"sound = 1\nghost=1\nfullscreen=1\nsound = off\nghost = no\nfullscreen = false\nsound = on\nsound = 0", "scale 1 volume 80", ""},
        {"hints = on\nhints = maybe", "scale 1 volume 80 hints", "line 2: 'maybe' is not a value of hints (on|off)"},
        {"= x\n =\n", "scale 1 volume 80", "line 1: not a 'name = value' line|line 2: not a 'name = value' line"},
        {"scale = 6\nvolume = -1\nsound = On", "scale 6 volume 80",
         "line 2: '-1' is not a value of volume (0..100)|line 3: 'On' is not a value of sound (on|off)"},
        // SDL's key names in any case; a key used for something else is refused by name, the rest applies.
        {"key faster-0.4 = E", "scale 1 volume 80 key 69>87", ""},
        {"key  gear-up = pageup, Keypad 0 ,;", "scale 1 volume 80 key 33>38 key 96>38 key 186>38", ""},
        {"key faster-0.4 = W, F8", "scale 1 volume 80", ""},  // its own keys already
        {"key brake-0.7 = Foo, Y", "scale 1 volume 80 key 89>81", "line 1: 'Foo' is not one of SDL's key names"},
        {"key faster-9 = E\nkey brake-0.7 = CapsLock", "scale 1 volume 80", "line 1: no action is called 'faster-9'|line 2: the game does not read the key 'CapsLock'"},
        {"key left-8 = E, w, Y", "scale 1 volume 80 key 69>72 key 89>72", "line 1: W is already the key of faster-0.4"},
        {"key pause = Return\nkey volume-up = Pause", "scale 1 volume 80", "line 1: Return is already the key of giving up the drive|line 2: Pause is already the key of pause"},
        {"key ghost = E\nkey pause = E, F12", "scale 1 volume 80 key 69>71 key 123>80", "line 2: E is already bound to ghost"},
        {"key ghost = Keypad 7, Keypad 6", "scale 1 volume 80",
         "line 1: Keypad 7 is already the key of left-16|line 1: Keypad 6 is already the key of right-8"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> problems;
        EXPECT_EQ(Described(ReadPreferences(c.text, problems)), c.settings) << c.text;
        std::string named;
        for (const std::string& problem : problems) named += (named.empty() ? "" : "|") + problem;
        EXPECT_EQ(named, c.problems) << c.text;
    }
}

// XDG_CONFIG_HOME names the folder when it is absolute; otherwise HOME's .config does.
TEST(Preferences, TheFileIsFoundFromAnAbsoluteFolderOnly) {
    const struct {
        const char* configHome;
        const char* home;
        const char* path;
    } cases[] = {
        {"/config", "/home/player", "/config/quonfel/quonfel.conf"},
        {"config", "/home/player", "/home/player/.config/quonfel/quonfel.conf"},
        {nullptr, "/home/player", "/home/player/.config/quonfel/quonfel.conf"},
        {"", "home/player", ""},
    };
    for (const auto& c : cases) {
        ScopedEnv configHome("XDG_CONFIG_HOME", c.configHome);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(PreferencesPath(), c.path) << (c.configHome ? c.configHome : "(unset)");
    }
}

// A file of junk names its first 20 problems and the count of the rest, and is never written
// into, which is said once; a link to a real preferences file is followed.
TEST(Preferences, AFileWithoutSettingsIsLeftAsItIsAndALinkIsFollowed) {
    ScopedWorkDir dir;
    ScopedEnv configHome("XDG_CONFIG_HOME", dir.Path().c_str());
    std::filesystem::create_directory("quonfel");
    const std::string path = dir.Path() + "/quonfel/quonfel.conf";
    std::string junk = "\x89PNG\r\n";
    for (int line = 0; line < 24; ++line) junk += std::string("\x01\xff=\x7f") + char('a' + line) + "\n";
    WriteText(path, junk);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Described(LoadPreferences()), "scale 1 volume 80");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 21) << said;
    EXPECT_NE(said.find("quonfel: " + path + " ... and 5 more problems\n"), std::string::npos) << said;

    Settings settings;
    settings.volume = 30;
    testing::internal::CaptureStderr();
    RememberSetting("volume", settings);
    RememberSetting("fullscreen", settings);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quonfel: " + path + " holds no settings, so it is left as it is and no setting is remembered\n");
    EXPECT_EQ(ReadText(path), junk);

    WriteText("mine.conf", "# kept in my dotfiles\n");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(dir.Path() + "/mine.conf", path);
    RememberSetting("volume", settings);
    EXPECT_EQ(ReadText("mine.conf"), "# kept in my dotfiles\nvolume = 30\n");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
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

    // A preferences file that cannot be read is neither used nor overwritten.
    ScopedWorkDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    std::filesystem::create_directories("quonfel/quonfel.conf");
    const std::string path = dir.Path() + "/quonfel/quonfel.conf";
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPreferences().display.scale, Settings{}.display.scale);
    RememberSetting("fullscreen", settings);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quonfel: " + path + ": not a regular file; the defaults apply\n" +
                  "quonfel: could not remember fullscreen: " + path + ": not a regular file\n");
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
