// The command line's watch options: --watch FILE and --watch-best N.
#pragma once
#include <string>

struct WatchRequest {
    enum Kind { None, File, Best };
    Kind kind = None;
    std::string file;  // --watch
    int course = 0;    // --watch-best
};

// Takes --watch FILE (or --watch=FILE) and --watch-best N (N from 0 to 11), leaving other
// options alone; false with the reason for a watch option without its value, or for two.
bool ParseWatchOptions(int argc, const char* const* argv, WatchRequest& request, std::string& error);
// Reads and checks the key file the request names; false with one line when it is refused.
bool PrepareRequestedWatch(const WatchRequest& request, std::string& error);
// The whole program: a wrong command line or a refused key file ends it with status 2 and
// one line on stderr; otherwise the game runs, watching if asked.
int RunWithWatchOptions(int argc, const char* const* argv);
