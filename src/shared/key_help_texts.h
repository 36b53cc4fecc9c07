// The keys of each screen as F1 lists them, in both languages: the keys, then what they do.
#pragma once
#include <string>
#include <vector>

#include "shared/texts.h"

struct KeyHelpRow {
    const char* keys[2];    // Japanese, English
    const char* action[2];
};

// The screens whose keys differ.
enum class KeyHelpScreen { CourseMenu, BusMenu, Driving, Result, Watching };

struct KeyHelpList {
    const char* title[2];
    std::vector<KeyHelpRow> rows;  // the screen's own keys, then those of every screen
};

const KeyHelpList& KeyHelpFor(KeyHelpScreen screen);
// The row's keys and action in a language.
const char* KeysIn(const KeyHelpRow& row, Language language);
const char* ActionIn(const KeyHelpRow& row, Language language);
// The list's last line: how it closes.
const char* KeyHelpFooter(Language language);
// What a player's own key does, from its action's name in the preferences file
// ("faster-0.4"), in a language.
std::string BoundActionIn(const std::string& action, Language language);
