// Dialogs are shown by zenity, a separate process, so they are real desktop windows with
// proper Japanese text. The game waits for them, as it would for a native modal box.
#include "platform/dialogs.h"

#include <SDL.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/window.h"

extern char** environ;

namespace {

MessageBoxHandler messageBoxHandler;
OpenFileHandler openFileHandler;

constexpr int kCouldNotStart = -1;

// The environment of the game, with dconf and the accessibility bus kept quiet.
std::vector<std::string> DialogEnvironment() {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("GSETTINGS_BACKEND=", 0) == 0 || text.rfind("NO_AT_BRIDGE=", 0) == 0) continue;
        env.push_back(text);
    }
    env.push_back("GSETTINGS_BACKEND=memory");
    env.push_back("NO_AT_BRIDGE=1");
    return env;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(&s[0]);
    pointers.push_back(nullptr);
    return pointers;
}

// Runs a program found on PATH, without a shell, and collects what it writes to stdout.
// Returns its exit status, or kCouldNotStart.
int RunCollectingOutput(std::vector<std::string> argv, std::string& output) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return kCouldNotStart;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    // GTK's warnings about dialogs without a parent are noise to the player.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env = DialogEnvironment();
    std::vector<char*> argvPointers = PointersTo(argv);
    std::vector<char*> envPointers = PointersTo(env);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argvPointers[0], &actions, nullptr, argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return kCouldNotStart;
    }

    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return kCouldNotStart;
    }
    if (!WIFEXITED(status)) return kCouldNotStart;
    // 127: the shell-less spawn found no program to run.
    return WEXITSTATUS(status) == 127 ? kCouldNotStart : WEXITSTATUS(status);
}

void GiveFocusBack() {
    if (Window* window = Window::Current()) window->TakeFocus();
}

// GTK's "*.*" hides names without a dot; Windows means every file by it.
std::string ZenityPatterns(std::string pattern) {
    for (char& c : pattern)
        if (c == ';') c = ' ';
    std::string out;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(' ', start);
        if (end == std::string::npos) end = pattern.size();
        const std::string one = pattern.substr(start, end - start);
        if (!one.empty()) out += (out.empty() ? "" : " ") + (one == "*.*" ? std::string("*") : one);
        start = end + 1;
    }
    return out;
}

}  // namespace

std::vector<std::string> MessageBoxArguments(const std::string& text, const std::string& caption, unsigned type) {
    std::vector<std::string> argv = {"zenity"};
    if (type & MB_ICONERROR) {
        argv.push_back("--error");
    } else {
        argv.push_back("--info");
        argv.push_back("--icon-name=");  // a plain box has no icon
    }
    argv.push_back("--no-markup");
    argv.push_back("--title=" + caption);
    argv.push_back("--text=" + text);
    argv.push_back("--no-wrap");
    return argv;
}

std::vector<std::string> OpenFileArguments(const OpenFileRequest& request) {
    std::vector<std::string> argv = {"zenity", "--file-selection", "--title=" + request.title};
    std::string folder = request.initialDirectory;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (!folder.empty()) argv.push_back("--filename=" + folder);
    // The filter the request selects comes first: zenity starts on its first filter.
    const int count = static_cast<int>(request.filters.size());
    const int first = request.filterIndex >= 1 && request.filterIndex <= count ? request.filterIndex - 1 : 0;
    for (int k = 0; k < count; ++k) {
        const FileFilter& filter = request.filters[(first + k) % count];
        argv.push_back("--file-filter=" + filter.name + " | " + ZenityPatterns(filter.pattern));
    }
    return argv;
}

int MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    if (messageBoxHandler) return messageBoxHandler(text, caption, type);
    std::string ignored;
    if (RunCollectingOutput(MessageBoxArguments(text, caption, type), ignored) == kCouldNotStart) {
        const Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
    }
    GiveFocusBack();
    return 1;  // IDOK
}

bool GetOpenFileName(const OpenFileRequest& request, std::string& chosenPath) {
    if (openFileHandler) return openFileHandler(request, chosenPath);
    std::string output;
    const int status = RunCollectingOutput(OpenFileArguments(request), output);
    GiveFocusBack();
    if (status != 0) return false;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty()) return false;
    chosenPath = output;
    return true;
}

void SetMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler = std::move(handler); }

void SetOpenFileHandler(OpenFileHandler handler) { openFileHandler = std::move(handler); }
