#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "platform/scaling.h"

namespace {
constexpr int kRefusedStatus = 2;
constexpr const char* kScaleOption = "--scale";

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

CommandLine Refused(const std::string& why) {
    CommandLine refused;
    refused.action = CommandLine::Refuse;
    refused.error = why;
    return refused;
}
}  // namespace

const char* const kUsage =
    "Usage: quonfel [--scale N|auto] [--fullscreen]\n"
    "Drive a bus from the start into the goal, seen from above.\n"
    "\n"
    "Options:\n"
    "  --scale N      show every pixel of the game as N by N pixels of the screen (1 to 6;\n"
    "                 default 1, the game's own 640 by 480 window)\n"
    "  --scale auto   the largest scale whose window fits within 90 % of the screen\n"
    "  --fullscreen   start in fullscreen; Alt+Enter switches between window and fullscreen\n"
    "  --help         show this help and end\n"
    "  --version      show the version and end\n"
    "\n"
    "Gamepads can be plugged in at any time. The game reads and writes its files (score.dat,\n"
    "the pictures and courses) in the folder it is started in.\n";

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
        if (argument == kScaleOption) {
            if (i + 1 >= argc) return Refused("--scale needs a value: a number from 1 to 6, or auto");
            value = argv[++i];
        } else if (argument.rfind(std::string(kScaleOption) + "=", 0) == 0) {
            value = argument.substr(std::strlen(kScaleOption) + 1);
        } else {
            return Refused("unknown option '" + argument + "'");
        }
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
        return RunGame(line.display);
    }
}
