#include "app/preferences.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "app/key_bindings.h"
#include "platform/file_save.h"
#include "platform/scaling.h"
#include "platform/text_file.h"
#include "shared/outside_text.h"

namespace {
// A preferences file is a few lines; anything larger was named by mistake.
constexpr std::size_t kLargestPreferencesFile = 64 * 1024;

std::string WriteScale(const Settings& settings) {
    return settings.display.autoScale ? "auto" : std::to_string(settings.display.scale);
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

bool ReadLanguage(const std::string& value, Settings& settings) {
    if (value == "ja") settings.language = Language::Japanese;
    else if (value == "en") settings.language = Language::English;
    else return false;
    return true;
}

bool ReadVolume(const std::string& value, Settings& settings) {
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    const int volume = std::stoi(value);
    if (volume > 100) return false;
    settings.volume = volume;
    return true;
}

// A name and a value, or false for a line that is neither a comment nor a setting.
bool SplitSetting(const std::string& line, std::string& name, std::string& value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    name = TrimmedBlanks(line.substr(0, equals));
    value = TrimmedBlanks(line.substr(equals + 1));
    return !name.empty();
}

bool IsBlankOrComment(const std::string& line) {
    const std::string trimmed = TrimmedBlanks(line);
    return trimmed.empty() || trimmed[0] == '#';
}

const SettingRow* RowNamed(const std::string& name) {
    for (const SettingRow& row : SettingRows())
        if (name == row.name) return &row;
    return nullptr;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(WithoutSavePadding(text));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Folder(const char* variable, const char* below) {
    const char* value = std::getenv(variable);
    // A relative folder would depend on where the game was started; such a value is ignored.
    if (value == nullptr || value[0] != '/') return "";
    return std::string(value) + below;
}
// A file in which no line is a setting or a comment (a binary file, say) is none the player
// wrote for the game, whatever it is: settings are not written into it. A setting's name is a
// word, as every setting's is, or "key" and an action.
bool HoldsNoSettings(const std::string& text) {
    bool anyLine = false;
    for (const std::string& line : Lines(text)) {
        if (TrimmedBlanks(line).empty()) continue;
        anyLine = true;
        std::string name, value;
        if (IsBlankOrComment(line)) return false;
        if (!SplitSetting(line, name, value)) continue;
        if (name.rfind(kKeyLinePrefix, 0) == 0 ||
            name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.") == std::string::npos)
            return false;
    }
    return anyLine;
}

// A switch reads on/off, yes/no, true/false and 1/0.
bool ReadSwitch(const std::string& value, bool& on) {
    for (const char* yes : {"on", "yes", "true", "1"})
        if (value == yes) return on = true;
    for (const char* no : {"off", "no", "false", "0"})
        if (value == no) return !(on = false);
    return false;
}

}  // namespace

bool ReadScale(const std::string& value, Settings& settings) {
    DisplayOptions& display = settings.display;
    if (value == "auto") {
        display.autoScale = true;
        return true;
    }
    if (value.size() != 1 || value[0] < '1' || value[0] > '0' + kLargestWindowScale) return false;
    display.scale = value[0] - '0';
    display.autoScale = false;
    return true;
}

const std::vector<SettingRow>& SettingRows() {
    static const std::vector<SettingRow> rows = {
        {"scale", "--scale", "N|auto",
         "show every pixel of the game as N by N pixels of the screen (1 to 6, default 1); auto: the largest "
         "scale whose window fits within 90 % of the screen",
         ReadScale, WriteScale},
        {"fullscreen", "--fullscreen", nullptr,
         "start in fullscreen; Alt+Enter switches between window and fullscreen and is remembered",
         [](const std::string& v, Settings& s) { return ReadSwitch(v, s.display.fullscreen); },
         [](const Settings& s) { return OnOff(s.display.fullscreen); }},
        {"lang", "--lang", "ja|en", "the language of the menus, pictures and messages: ja (Japanese, the default) or en (English)",
         ReadLanguage,
         [](const Settings& s) { return std::string(s.language == Language::English ? "en" : "ja"); }},
        {"ghost", "--ghost", nullptr, "race against the ghost of your best drive of the course (G shows or hides it)",
         [](const std::string& v, Settings& s) { return ReadSwitch(v, s.ghost); },
         [](const Settings& s) { return OnOff(s.ghost); }},
        {"sound", "--sound", nullptr, "play the engine, the warnings, the crash and the goal",
         [](const std::string& v, Settings& s) { return ReadSwitch(v, s.sound); },
         [](const Settings& s) { return OnOff(s.sound); }},
        {"hints", "--hints", nullptr,
         "when the bus stands in neutral on the goal tile but the goal does not count, say why over the "
         "course view: which side of the goal box the bus sticks out of, or that it is not in the goal's lane",
         [](const std::string& v, Settings& s) { return ReadSwitch(v, s.hints); },
         [](const Settings& s) { return OnOff(s.hints); }},
        {"volume", "--volume", "0..100", "how loud the sound is (default 80); - and = change it while playing",
         ReadVolume, [](const Settings& s) { return std::to_string(s.volume); }},
        {"pause-on-focus-loss", "--pause-on-focus-loss", nullptr,
         "pause the drive when the window loses the focus (P or Pause goes on)",
         [](const std::string& v, Settings& s) { return ReadSwitch(v, s.pauseOnFocusLoss); },
         [](const Settings& s) { return OnOff(s.pauseOnFocusLoss); }},
    };
    return rows;
}

std::string PreferencesPath() {
    std::string folder = Folder("XDG_CONFIG_HOME", "");
    if (folder.empty()) folder = Folder("HOME", "/.config");
    if (folder.empty()) return "";
    return folder + "/quonfel/quonfel.conf";
}

Settings ReadPreferences(const std::string& text, std::vector<std::string>& problems) {
    Settings settings;
    const std::vector<std::string> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsBlankOrComment(lines[i])) continue;
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        std::string name, value;
        if (!SplitSetting(lines[i], name, value)) {
            problems.push_back(where + "not a 'name = value' line");
            continue;
        }
        if (name.rfind(kKeyLinePrefix, 0) == 0) {
            ReadKeyBindingLine(TrimmedBlanks(name.substr(std::strlen(kKeyLinePrefix))), value, where,
                               settings.keyBindings, problems);
            continue;
        }
        const SettingRow* row = RowNamed(name);
        if (row == nullptr) problems.push_back(where + "no setting is called '" + name + "'");
        else if (!row->read(value, settings))
            problems.push_back(where + "'" + value + "' is not a value of " + name + " (" +
                               (row->value ? row->value : "on|off") + ")");
    }
    return settings;
}

std::string WithSetting(const std::string& text, const SettingRow& row, const Settings& settings) {
    std::vector<std::string> lines = Lines(text);
    const std::string setting = std::string(row.name) + " = " + row.write(settings);
    std::size_t last = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name, value;
        if (!IsBlankOrComment(lines[i]) && SplitSetting(lines[i], name, value) && name == row.name) last = i;
    }
    if (last < lines.size()) lines[last] = setting;
    else lines.push_back(setting);
    std::string written;
    for (const std::string& line : lines) written += line + "\n";
    return written;
}

Settings LoadPreferences() {
    const std::string path = PreferencesPath();
    std::vector<std::uint8_t> bytes;
    if (path.empty()) return {};
    const OutsideFile found = ReadOutsideFile(path, kLargestPreferencesFile, bytes);
    if (found == OutsideFile::Missing) return {};
    if (found != OutsideFile::Read) {
        std::fprintf(stderr, "quonfel: %s: %s; the defaults apply\n", Printable(path).c_str(),
                     WhyNotRead(found, "preferences file", kLargestPreferencesFile).c_str());
        return {};
    }
    std::vector<std::string> problems;
    const Settings settings = ReadPreferences(std::string(bytes.begin(), bytes.end()), problems);
    for (const std::string& problem : FirstProblems(problems))
        std::fprintf(stderr, "quonfel: %s %s\n", Printable(path).c_str(), Printable(problem).c_str());
    return settings;
}

void RememberSetting(const char* name, const Settings& settings) {
    const SettingRow* row = RowNamed(name);
    const std::string path = PreferencesPath();
    if (row == nullptr || path.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::vector<std::uint8_t> bytes;
    const OutsideFile found = ReadOutsideFile(path, kLargestPreferencesFile, bytes);
    // What cannot be read is not overwritten: it may hold the player's lines.
    if (found != OutsideFile::Read && found != OutsideFile::Missing) {
        std::fprintf(stderr, "quonfel: could not remember %s: %s: %s\n", name, Printable(path).c_str(),
                     WhyNotRead(found, "preferences file", kLargestPreferencesFile).c_str());
        return;
    }
    const std::string old(bytes.begin(), bytes.end());
    if (HoldsNoSettings(old)) {
        static bool told = false;
        if (!told)
            std::fprintf(stderr, "quonfel: %s holds no settings, so it is left as it is and no setting is remembered\n",
                         Printable(path).c_str());
        told = true;
        return;
    }
    const std::string text = WithSetting(old, *row, settings);
    const int failure = SaveWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    if (failure != 0)
        std::fprintf(stderr, "quonfel: could not remember %s in %s: %s\n", name, Printable(path).c_str(),
                     std::strerror(failure));
}
