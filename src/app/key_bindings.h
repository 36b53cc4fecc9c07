// The player's own keys: "key ACTION = KEY[, KEY...]" lines of the preferences file give a
// driving action further keys, named as SDL names them. The window reports a bound key as the
// action's own key, so that the game, and the drives it records, see the game's keys only and
// play on anyone's game; a watched drive's keys are never translated. The game's keys always
// keep working.
#pragma once
#include <map>
#include <string>
#include <vector>

// What a line of the file starts with.
constexpr const char* kKeyLinePrefix = "key ";

struct KeyBinding {
    int key;                // the player's key, a virtual-key code
    int actionKey;          // the game's key of the action it does
    std::string keyName;    // as SDL writes it
    std::string action;     // as the file writes it
};

struct GameAction {
    const char* name;       // in the file
    int key;                // the game's key that it is
};
// Every action that can be bound, in the order --help lists them.
const std::vector<GameAction>& GameActions();

// One line's action (its name after "key ") and keys into the bindings. Each key that
// cannot be bound adds one line to `problems`, which starts with `where`; the others apply.
void ReadKeyBindingLine(const std::string& action, const std::string& keys, const std::string& where,
                        std::vector<KeyBinding>& bindings, std::vector<std::string>& problems);
// Each bound key with the game's key it stands for, which the window reports in its place.
std::map<int, int> KeysStandingFor(const std::vector<KeyBinding>& bindings);
