// Dialogs are shown by zenity, a separate process, so they are real desktop windows with
// proper Japanese text. The game waits for them, as it would for a native modal box.
#include "platform/dialogs.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/process.h"
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

// The program's file as a shell finds it on PATH; empty when there is none.
std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/bin:/usr/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end == std::string::npos ? end : end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

void OpenNullAs(int fd, int flags) {
    const int null = open("/dev/null", flags);
    if (null < 0 || null == fd) return;
    dup2(null, fd);
    close(null);
}

// The forked child: only calls that are safe between fork and exec. It ends with the game
// (EndChildProcessesWithGame), so a game ended by any signal takes its dialog along instead of
// leaving it on screen.
[[noreturn]] void BecomeDialog(const char* program, char* const argv[], char* const envp[], int outputFd) {
    if (outputFd == STDOUT_FILENO) fcntl(outputFd, F_SETFD, 0);
    else dup2(outputFd, STDOUT_FILENO);
    OpenNullAs(STDIN_FILENO, O_RDONLY);
    // GTK's warnings about dialogs without a parent are noise to the player.
    OpenNullAs(STDERR_FILENO, O_WRONLY);
    execve(program, argv, envp);
    _exit(127);
}

// Starts a program found on PATH, without a shell, with its output into the file descriptor.
// The child's process id, or -1.
pid_t StartDialogProgram(std::vector<std::string> argv, int outputFd) {
    const std::string program = FindOnPath(argv[0]);
    if (program.empty()) return -1;
    std::vector<std::string> env = DialogEnvironment();
    std::vector<char*> argvPointers = PointersTo(argv);
    std::vector<char*> envPointers = PointersTo(env);
    EndChildProcessesWithGame();
    const pid_t child = fork();
    if (child == 0) BecomeDialog(program.c_str(), argvPointers.data(), envPointers.data(), outputFd);
    return child;
}

// Runs a dialog program and collects what it writes to stdout. Returns its exit status, or
// kCouldNotStart.
int RunCollectingOutput(std::vector<std::string> argv, std::string& output) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return kCouldNotStart;
    const pid_t child = StartDialogProgram(std::move(argv), pipeEnds[1]);
    close(pipeEnds[1]);
    if (child < 0) {
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
    // 127: the program could not be run.
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
        EndChildProcessesWithGame();  // SDL shows its box in a forked copy of the game
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
