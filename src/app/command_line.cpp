#include "app/command_line.h"

#include "app/key_bindings.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/app.h"
#include "app/map_to_play.h"
#include "replays/challenge.h"
#include "replays/drive_keys.h"
#include "replays/ghost.h"
#include "replays/watch.h"
#include "shared/outside_text.h"

namespace {
constexpr int kRefusedStatus = 2;
constexpr const char* kWatchOption = "--watch";
constexpr const char* kWatchBestOption = "--watch-best";
constexpr const char* kGhostFileOption = "--ghost-file";
constexpr const char* kOffSwitch = "--no-";
constexpr const char* kMapOption = "--map";
constexpr const char* kChallengeOption = "--challenge";

// A course number from 0 to 11, nothing else.
bool ReadCourse(const std::string& value, int& course) {
    if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    course = std::stoi(value);
    return course <= 11;
}

// "--name VALUE" or "--name=VALUE": true when the argument at i is the option; missing when
// its value is not there.
bool OptionValue(const char* name, int argc, const char* const* argv, int& i, std::string& value, bool& missing) {
    const std::string argument = argv[i];
    const std::string withValue = std::string(name) + "=";
    missing = false;
    if (argument.rfind(withValue, 0) == 0) {
        value = argument.substr(withValue.size());
        return true;
    }
    if (argument != name) return false;
    missing = i + 1 >= argc;
    if (!missing) value = argv[++i];
    return true;
}

// The key file or course of --watch or --watch-best; empty when it is fine.
std::string ReadWatch(bool best, const std::string& value, bool missing, WatchRequest& watch) {
    if (watch.kind != WatchRequest::None) return "watch one drive at a time";
    if (best) {
        if (missing || !ReadCourse(value, watch.course)) return "--watch-best takes a course number from 0 to 11";
        watch.kind = WatchRequest::Best;
        return "";
    }
    if (missing || value.empty()) return "--watch takes a key file";
    watch.kind = WatchRequest::File;
    watch.file = value;
    return "";
}

// A setting's option at argument i: a switch (--sound, --no-sound) or an option with a value
// (--scale 2, --scale=2). False when the argument is none of the settings' options; else
// `why` is empty or says why the option is refused.
bool ReadSettingOption(int argc, const char* const* argv, int& i, Settings& settings, std::string& why) {
    const std::string argument = argv[i];
    for (const SettingRow& row : SettingRows()) {
        if (row.value == nullptr) {
            const bool on = argument == row.option;
            if (!on && argument != kOffSwitch + std::string(row.option + 2)) continue;
            row.read(on ? "on" : "off", settings);
            return true;
        }
        std::string value;
        bool missing = false;
        if (!OptionValue(row.option, argc, argv, i, value, missing)) continue;
        if (missing) why = std::string(row.option) + " needs a value: " + row.value;
        else if (!row.read(value, settings))
            why = std::string(row.option) + " takes " + row.value + ", not '" + value + "'";
        return true;
    }
    return false;
}

// Reads and checks the key file the request names; false with one line when it is refused.
bool PrepareRequestedWatch(const WatchRequest& watch, std::string& error) {
    switch (watch.kind) {
    case WatchRequest::File: return PrepareWatch(watch.file, AfterWatching::EndTheGame, error);
    case WatchRequest::Best: return PrepareBestWatch(watch.course, AfterWatching::CourseMenu, error);
    case WatchRequest::None: break;
    }
    return true;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

CommandLine Refused(const std::string& why) {
    CommandLine refused;
    refused.action = CommandLine::Refuse;
    refused.error = why;
    return refused;
}

// A key file names its map on one line without blanks at its ends, so the drives of a map whose
// path cannot be written so are played but not kept as best drives: said before they are driven.
void SayIfNoBestDriveIsKept(const std::string& mapFile) {
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(mapFile, error).string();
    if (FitsAMapLine(error ? mapFile : absolute)) return;
    std::fprintf(stderr,
                 "quonfel: %s: its best drive cannot be kept, as a key file cannot name a path with a line end or "
                 "with blanks at its end\n",
                 Printable(mapFile).c_str());
}

// "  --scale N|auto  text", the text folded at 88 columns under its column.
std::string OptionHelp(const std::string& option, const std::string& help) {
    constexpr std::size_t kColumn = 20, kWidth = 88;
    std::string out = "  " + option;
    out += out.size() < kColumn ? std::string(kColumn - out.size(), ' ') : "\n" + std::string(kColumn, ' ');
    std::size_t lineStart = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
    std::istringstream words(help);
    bool first = true;
    for (std::string word; words >> word; first = false) {
        if (!first && out.size() - lineStart + 1 + word.size() > kWidth) {
            out += "\n";
            lineStart = out.size();
            out += std::string(kColumn, ' ');
        } else if (!first) {
            out += ' ';
        }
        out += word;
    }
    return out + "\n";
}

// The player's own keys have a line in the file and no option.
std::string KeyLineHelp() {
    std::string actions;
    for (const GameAction& action : GameActions()) actions += (actions.empty() ? "" : ", ") + std::string(action.name);
    return "a line of the preferences file only: further keys for a driving action, named as SDL names them "
           "(E, PageUp, Keypad 0); a key the game uses for something else is refused. ACTION: " + actions;
}

std::string DescribedPreferencesPath() {
    const std::string path = PreferencesPath();
    return path.empty() ? "none (neither XDG_CONFIG_HOME nor HOME names a folder)" : path;
}
}  // namespace

std::string Usage() {
    std::string usage =
        "Usage: quonfel [options] [--watch FILE | --watch-best N | --map FILE] [--ghost-file FILE]\n"
        "       quonfel [options] [--challenge] FILE.quonfel-challenge\n"
        "Drive a bus from the start into the goal, seen from above.\n"
        "\n"
        "Options, each also a line \"name = value\" of the preferences file (they override it):\n";
    for (const SettingRow& row : SettingRows()) {
        if (row.value == nullptr) {
            usage += OptionHelp(row.option, row.help + std::string(" (") + row.name + " = on)");
            usage += OptionHelp(kOffSwitch + std::string(row.option + 2), "not so, for this run");
        } else {
            usage += OptionHelp(row.option + std::string(" ") + row.value,
                                row.help + std::string(" (") + row.name + " = " + row.value + ")");
        }
    }
    usage += OptionHelp("key ACTION = KEY[, KEY...]", KeyLineHelp());
    usage += "\n";
    usage += OptionHelp("--watch FILE",
                        "play the recorded drive in the key file FILE, then print its times next to the replay's; "
                        "Esc quits, Enter or Space end the game");
    usage += OptionHelp("--watch-best N",
                        "the same with your best drive of course N (0 to 11), best-N.keys; Enter or Space lead "
                        "to the course menu");
    usage += OptionHelp("--map FILE",
                        "play the map file or course text FILE as your own course (the last row of the course "
                        "menu) at once, open or not, and put it on your shelf (courses/); its best time and best "
                        "drive are kept as that row's and as its own on the shelf");
    usage += OptionHelp("--ghost-file FILE",
                        "race the drive in the key file FILE as the ghost of its course instead of your best "
                        "drive there, with the ghost on; with --watch or --watch-best the watched drive races it");
    usage += OptionHelp("--challenge FILE",
                        "race the challenge file FILE (made by quonfel-map share): its course goes on your shelf "
                        "(courses/) and is played at once, with the drive in the file as the ghost; your own best "
                        "time and drive are kept as ever. A FILE alone ending in .quonfel-challenge is taken so too");
    usage += OptionHelp("--help", "show this help and end");
    usage += OptionHelp("--version", "show the version and end");
    usage += "\nPreferences file: " + DescribedPreferencesPath() +
             "\n"
             "Gamepads can be plugged in at any time. The game reads and writes its files (score.dat,\n"
             "best-N.keys, the pictures and courses) in the folder it is started in.\n";
    return usage;
}

CommandLine ParseCommandLine(int argc, const char* const* argv, const Settings& preferences) {
    CommandLine line;
    line.settings = preferences;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::ShowHelp;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::ShowVersion;
            return line;
        }
        std::string why;
        if (ReadSettingOption(argc, argv, i, line.settings, why)) {
            if (!why.empty()) return Refused(why);
            continue;
        }
        std::string value;
        bool missing = false;
        if (OptionValue(kMapOption, argc, argv, i, value, missing)) {
            if (missing || value.empty()) return Refused("--map takes a map file or a course text");
            if (!line.mapFile.empty()) return Refused("play one map at a time");
            line.mapFile = value;
            continue;
        }
        // A challenge file alone: a file manager opens one so.
        const bool fileAlone = argument[0] != '-' && EndsWith(argument, kChallengeExtension);
        if (fileAlone) value = argument;
        if (fileAlone || OptionValue(kChallengeOption, argc, argv, i, value, missing)) {
            if (missing || value.empty()) return Refused("--challenge takes a challenge file");
            if (!line.challengeFile.empty()) return Refused("take one challenge at a time");
            line.challengeFile = value;
            line.settings.ghost = true;
            continue;
        }
        if (OptionValue(kGhostFileOption, argc, argv, i, value, missing)) {
            if (missing || value.empty()) return Refused("--ghost-file takes a key file");
            if (!line.ghostFile.empty()) return Refused("race one ghost at a time");
            line.ghostFile = value;
            line.settings.ghost = true;
            continue;
        }
        const bool best = OptionValue(kWatchBestOption, argc, argv, i, value, missing);
        if (!best && !OptionValue(kWatchOption, argc, argv, i, value, missing))
            return Refused("unknown option '" + argument + "'");
        why = ReadWatch(best, value, missing, line.watch);
        if (!why.empty()) return Refused(why);
    }
    if (!line.mapFile.empty() && line.watch.kind != WatchRequest::None) return Refused("play a map or watch a drive, not both");
    const bool otherCourseOrGhost = !line.mapFile.empty() || line.watch.kind != WatchRequest::None || !line.ghostFile.empty();
    if (!line.challengeFile.empty() && otherCourseOrGhost)
        return Refused("--challenge brings its own course and ghost: take it without --map, --watch or --ghost-file");
    return line;
}

int RunFromCommandLine(int argc, const char* const* argv) {
    const CommandLine line = ParseCommandLine(argc, argv, LoadPreferences());
    switch (line.action) {
    case CommandLine::ShowHelp:
        std::fputs(Usage().c_str(), stdout);
        return 0;
    case CommandLine::ShowVersion:
        std::printf("quonfel %s\n", QUONFEL_VERSION);
        return 0;
    case CommandLine::Refuse:
        // One line and where to look: the whole usage would scroll the line away.
        std::fprintf(stderr, "quonfel: %s\nTry 'quonfel --help' for the options.\n", Printable(line.error).c_str());
        return kRefusedStatus;
    case CommandLine::Play:
    default:
        break;
    }
    std::string refusal;
    if (!PrepareRequestedWatch(line.watch, refusal)) {
        std::fprintf(stderr, "quonfel: %s\n", Printable(refusal).c_str());
        return kRefusedStatus;
    }
    if (!line.mapFile.empty() && !PrepareMapToPlay(line.mapFile)) return kRefusedStatus;
    if (!line.challengeFile.empty() && !PrepareChallengeToPlay(line.challengeFile)) return kRefusedStatus;
    if (!line.mapFile.empty()) SayIfNoBestDriveIsKept(line.mapFile);
    if (!line.ghostFile.empty() && !PrepareGhostFile(line.ghostFile, refusal)) {
        std::fprintf(stderr, "quonfel: %s\n", Printable(refusal).c_str());
        return kRefusedStatus;
    }
    return RunGame(line.settings);
}
