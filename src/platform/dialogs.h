// Message boxes and the file-open dialog, shown as separate windows.
#pragma once
#include <functional>
#include <string>
#include <vector>

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_ICONERROR = 0x10;

// Shows a modal box with the text, the caption as its title, the error icon when asked,
// and an OK button; returns when it is closed. The game window gets the keyboard back.
int MessageBox(const std::string& text, const std::string& caption, unsigned type);

struct FileFilter {
    std::string name;     // "Map Files(*.map)"
    std::string pattern;  // "*.map"
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int filterIndex = 1;  // 1-based, as the filters are listed
    std::string initialDirectory;
};

// Shows the file-open dialog. True with the chosen file's full path, false on cancel or
// failure. Never changes the current directory.
bool GetOpenFileName(const OpenFileRequest& request, std::string& chosenPath);

// The command lines of the zenity processes that show the dialogs (for tests).
std::vector<std::string> MessageBoxArguments(const std::string& text, const std::string& caption, unsigned type);
std::vector<std::string> OpenFileArguments(const OpenFileRequest& request);

// Test doubles: when set, these are called instead of showing anything.
using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, unsigned type)>;
using OpenFileHandler = std::function<bool(const OpenFileRequest& request, std::string& path)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
void SetOpenFileHandler(OpenFileHandler handler);
