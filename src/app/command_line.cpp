#include "app/command_line.h"

#include <cstdio>

#include "app/app.h"
#include "platform/scaling.h"
#include "replays/watch.h"

namespace {
constexpr int kRefusedStatus = 2;
constexpr const char* kScaleOption = "--scale";
constexpr const char* kWatchOption = "--watch";
constexpr const char* kWatchBestOption = "--watch-best";

// "auto" or a whole number from 1 to the largest scale, nothing else.
bool ReadScale(const std::string& value, DisplayOptions& display) {
    if (value == "auto") {
        display.autoScale = true;
        return true;
    }
    if (value.size() != 1 || value[0] < '1' || value[0] > '0' + kLargestWindowScale) return false;
    display.scale = value[0] - '0';
    display.autoScale = false;
    return true;
}

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

// Reads and checks the key file the request names; false with one line when it is refused.
bool PrepareRequestedWatch(const WatchRequest& watch, std::string& error) {
    switch (watch.kind) {
    case WatchRequest::File: return PrepareWatch(watch.file, AfterWatching::EndTheGame, error);
    case WatchRequest::Best: return PrepareBestWatch(watch.course, AfterWatching::CourseMenu, error);
    case WatchRequest::None: break;
    }
    return true;
}

CommandLine Refused(const std::string& why) {
    CommandLine refused;
    refused.action = CommandLine::Refuse;
    refused.error = why;
    return refused;
}
}  // namespace

const char* const kUsage =
    "Usage: quonfel [--scale N|auto] [--fullscreen] [--watch FILE | --watch-best N]\n"
    "Drive a bus from the start into the goal, seen from above.\n"
    "\n"
    "Options:\n"
    "  --scale N      show every pixel of the game as N by N pixels of the screen (1 to 6;\n"
    "                 default 1, the game's own 640 by 480 window)\n"
    "  --scale auto   the largest scale whose window fits within 90 % of the screen\n"
    "  --fullscreen   start in fullscreen; Alt+Enter switches between window and fullscreen\n"
    "  --watch FILE   play the recorded drive in the key file FILE, then print its times\n"
    "                 next to the replay's; Esc quits, Enter or Space end the game\n"
    "  --watch-best N the same with your best drive of course N (0 to 11), best-N.keys;\n"
    "                 Enter or Space lead to the course menu\n"
    "  --help         show this help and end\n"
    "  --version      show the version and end\n"
    "\n"
    "Gamepads can be plugged in at any time. The game reads and writes its files (score.dat,\n"
    "best-N.keys, the pictures and courses) in the folder it is started in.\n";

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
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
        if (argument == "--fullscreen") {
            line.display.fullscreen = true;
            continue;
        }
        std::string value;
        bool missing = false;
        const bool best = OptionValue(kWatchBestOption, argc, argv, i, value, missing);
        if (best || OptionValue(kWatchOption, argc, argv, i, value, missing)) {
            const std::string why = ReadWatch(best, value, missing, line.watch);
            if (!why.empty()) return Refused(why);
            continue;
        }
        if (!OptionValue(kScaleOption, argc, argv, i, value, missing))
            return Refused("unknown option '" + argument + "'");
        if (missing) return Refused("--scale needs a value: a number from 1 to 6, or auto");
        if (!ReadScale(value, line.display))
            return Refused("--scale takes a number from 1 to 6, or auto, not '" + value + "'");
    }
    return line;
}

int RunFromCommandLine(int argc, const char* const* argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::ShowHelp:
        std::fputs(kUsage, stdout);
        return 0;
    case CommandLine::ShowVersion:
        std::printf("quonfel %s\n", QUONFEL_VERSION);
        return 0;
    case CommandLine::Refuse:
        std::fprintf(stderr, "quonfel: %s\n\n%s", line.error.c_str(), kUsage);
        return kRefusedStatus;
    case CommandLine::Play:
    default:
        break;
    }
    std::string refusal;
    if (!PrepareRequestedWatch(line.watch, refusal)) {
        std::fprintf(stderr, "quonfel: %s\n", refusal.c_str());
        return kRefusedStatus;
    }
    return RunGame(line.display);
}
