#include "app/watch_options.h"

#include <cstdio>

#include "app/app.h"
#include "app/watch.h"

namespace {
constexpr int kRefusedStatus = 2;
constexpr const char* kWatch = "--watch";
constexpr const char* kWatchBest = "--watch-best";

// A course number from 0 to 11, nothing else.
bool ReadCourse(const std::string& text, int& course) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    course = std::stoi(text);
    return course <= 11;
}

// "--name VALUE" or "--name=VALUE": true when argument is the option, with its value.
bool TakeValue(const std::string& name, int argc, const char* const* argv, int& i, std::string& value,
               bool& missing) {
    const std::string argument = argv[i];
    if (argument.rfind(name + "=", 0) == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (argument != name) return false;
    missing = i + 1 >= argc;
    if (!missing) value = argv[++i];
    return true;
}
}  // namespace

bool ParseWatchOptions(int argc, const char* const* argv, WatchRequest& request, std::string& error) {
    request = WatchRequest{};
    for (int i = 1; i < argc; ++i) {
        std::string value;
        bool missing = false;
        if (request.kind != WatchRequest::None && std::string(argv[i]).rfind(kWatch, 0) == 0) {
            error = "watch one drive at a time";
            return false;
        }
        if (TakeValue(kWatchBest, argc, argv, i, value, missing)) {
            if (missing || !ReadCourse(value, request.course)) {
                error = "--watch-best takes a course number from 0 to 11";
                return false;
            }
            request.kind = WatchRequest::Best;
        } else if (TakeValue(kWatch, argc, argv, i, value, missing)) {
            if (missing || value.empty()) {
                error = "--watch takes a key file";
                return false;
            }
            request.kind = WatchRequest::File;
            request.file = value;
        }
        // Other options are not the watch's to judge.
    }
    return true;
}

bool PrepareRequestedWatch(const WatchRequest& request, std::string& error) {
    switch (request.kind) {
    case WatchRequest::File: return PrepareWatch(request.file, AfterWatching::EndTheGame, error);
    case WatchRequest::Best: return PrepareBestWatch(request.course, AfterWatching::CourseMenu, error);
    case WatchRequest::None: break;
    }
    return true;
}

int RunWithWatchOptions(int argc, const char* const* argv) {
    WatchRequest request;
    std::string error;
    if (!ParseWatchOptions(argc, argv, request, error) || !PrepareRequestedWatch(request, error)) {
        std::fprintf(stderr, "quonfel: %s\n", error.c_str());
        return kRefusedStatus;
    }
    return RunGame();
}
