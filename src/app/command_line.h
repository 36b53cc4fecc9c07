// The command line: options change only how the game is shown and played (the settings of
// app/preferences.h, for one run), never its rules, files or folder; or they name a recorded
// drive to watch.
#pragma once
#include <string>

#include "app/preferences.h"

// --watch FILE or --watch-best N.
struct WatchRequest {
    enum Kind { None, File, Best };
    Kind kind = None;
    std::string file;  // --watch
    int course = 0;    // --watch-best
};

struct CommandLine {
    enum Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Play;
    Settings settings;  // the preferences, with the options over them
    WatchRequest watch;
    std::string mapFile;  // --map: a course to play as the user-made course
    std::string challengeFile;  // --challenge: a course to play, with a drive on it as the ghost
    std::string ghostFile;  // --ghost-file: the ghost of its course instead of the best drive
    std::string error;  // why the command line is refused
};

// The options over the given settings (the preferences file's).
CommandLine ParseCommandLine(int argc, const char* const* argv, const Settings& preferences = {});
// The usage and the options, as --help prints them.
std::string Usage();
// The whole program from its command line: --help and --version print and end with 0
// (no display needed), a refused command line ends with 2, and so does a key file to watch
// that is refused (with one line); anything else plays.
int RunFromCommandLine(int argc, const char* const* argv);
