#include "maptool/drive_keys.h"

#include <cstdlib>
#include <sstream>

#include "platform/messages.h"

namespace {

struct NamedKey {
    int key;
    const char* name;
};

const NamedKey SpecialKeys[] = {
    {VK_UP, "Up"},       {VK_DOWN, "Down"},   {VK_LEFT, "Left"},   {VK_RIGHT, "Right"},
    {VK_RETURN, "Enter"}, {VK_SPACE, "Space"}, {VK_ESCAPE, "Esc"},
};

}  // namespace

std::string KeyName(int key) {
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return "Num" + std::to_string(key - VK_NUMPAD0);
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    for (const NamedKey& named : SpecialKeys) {
        if (named.key == key) return named.name;
    }
    return "";
}

int KeyFromName(const std::string& name) {
    for (int key = 1; key < 256; ++key) {
        if (KeyName(key) == name && !name.empty()) return key;
    }
    return 0;
}

std::string FormatDrive(const std::vector<std::string>& comments, const std::vector<KeyPress>& presses) {
    std::string text;
    for (const std::string& comment : comments) text += "# " + comment + "\n";
    for (const KeyPress& press : presses) text += std::to_string(press.frame) + " " + KeyName(press.key) + "\n";
    return text;
}

bool ParseDrive(const std::string& text, std::vector<KeyPress>& presses, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    long lineNumber = 0;
    presses.clear();
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::istringstream words(line);
        std::string frameWord, name, extra;
        if (!(words >> frameWord)) continue;
        char* end = nullptr;
        long frame = std::strtol(frameWord.c_str(), &end, 10);
        int key = (words >> name) ? KeyFromName(name) : 0;
        bool frameRead = *end == '\0' && frame >= 0;
        if (!frameRead || key == 0 || (words >> extra)) {
            error = "line " + std::to_string(lineNumber) + ": expected a frame number and a key name";
            return false;
        }
        if (!presses.empty() && frame < presses.back().frame) {
            error = "line " + std::to_string(lineNumber) + ": frame " + std::to_string(frame) + " comes after frame " +
                    std::to_string(presses.back().frame);
            return false;
        }
        presses.push_back({frame, key});
    }
    return true;
}
