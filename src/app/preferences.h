// The player's settings: how the game is shown, its language, the ghost of the best drive and
// the sound. One table names every setting with its values, the option that overrides it for
// one run and a line of help; the preferences file, the command line and --help all walk it.
//
// The file, $XDG_CONFIG_HOME/quonfel/quonfel.conf (~/.config/quonfel/quonfel.conf), holds
// "name = value" lines; '#' starts a comment line. A line the game cannot use is named on
// stderr and the rest still applies; lines it does not know are kept when it writes the file.
#pragma once
#include <string>
#include <vector>

#include "app/key_bindings.h"
#include "platform/scaling.h"
#include "platform/text_file.h"
#include "shared/texts.h"

struct Settings {
    DisplayOptions display;
    Language language = Language::Japanese;
    bool ghost = false;  // race the best drive of the course
    bool sound = false;
    int volume = 80;     // 0 to 100
    bool pauseOnFocusLoss = false;  // a drive pauses when the window loses the focus
    std::vector<KeyBinding> keyBindings;  // "key ACTION = KEY" lines
    bool hints = false;  // say why a goal does not count
};

struct SettingRow {
    const char* name;    // in the file
    const char* option;  // on the command line
    const char* value;   // what the option takes, for the help; null for an on/off switch
    const char* help;
    // Takes a value from the file or the command line; false when it is not one of its values.
    bool (*read)(const std::string& value, Settings& settings);
    // The value as the file keeps it.
    std::string (*write)(const Settings& settings);
};
const std::vector<SettingRow>& SettingRows();

// "auto" or a whole number from 1 to the largest scale, into the display settings.
bool ReadScale(const std::string& value, Settings& settings);

// The preferences file's path; empty when neither XDG_CONFIG_HOME nor HOME gives an absolute
// folder.
std::string PreferencesPath();
// The settings of the file's text, over the defaults; each line that cannot be used adds a
// line to `problems` (naming the file's line).
Settings ReadPreferences(const std::string& text, std::vector<std::string>& problems);
// The file's text with one setting written (its last line replaced, or a line added); every
// other line is kept as it was.
std::string WithSetting(const std::string& text, const SettingRow& row, const Settings& settings);

// From the file at PreferencesPath(): the settings, problems told on stderr, one line each.
Settings LoadPreferences();
// Writes one setting into the file (made with its folder if need be), whole or not at all;
// a failure is told on stderr and changes nothing else.
void RememberSetting(const char* name, const Settings& settings);
