#include "app/key_bindings.h"

#include "app/preferences.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace {
// Every key the game reads itself, with what it does there: a binding may not take it for
// anything else. The actions come first, each under its name, its first key the one a binding
// stands for.
struct GameKey {
    int key;
    const char* does;
    bool action;
};
constexpr int Num(int digit) { return VK_NUMPAD0 + digit; }
const GameKey kGameKeys[] = {
    {VK_UP, "gear-up", true},        {VK_DOWN, "gear-down", true},
    {'W', "faster-0.4", true},       {VK_F8, "faster-0.4", true},    {'S', "faster-0.3", true},
    {VK_F4, "faster-0.3", true},     {'X', "faster-0.2", true},      {VK_F9, "faster-0.2", true},
    {'Q', "brake-0.7", true},        {VK_F2, "brake-0.7", true},     {'A', "brake-0.5", true},
    {'Z', "brake-0.3", true},        {VK_F11, "brake-0.3", true},
    {'U', "left-16", true},          {Num(7), "left-16", true},      {'H', "left-8", true},
    {VK_LEFT, "left-8", true},       {Num(4), "left-8", true},       {'J', "left-4", true},
    {Num(1), "left-4", true},        {'I', "right-16", true},        {Num(9), "right-16", true},
    {'L', "right-8", true},          {VK_RIGHT, "right-8", true},    {Num(6), "right-8", true},
    {'K', "right-4", true},          {Num(3), "right-4", true},
    {Num(8), "straighten-16", true}, {Num(5), "straighten-8", true}, {Num(2), "straighten-4", true},
    {'G', "ghost", true},            {'P', "pause", true},           {VK_PAUSE, "pause", true},
    {VK_OEM_MINUS, "volume-down", true}, {VK_SUBTRACT, "volume-down", true},
    {VK_OEM_PLUS, "volume-up", true},    {VK_ADD, "volume-up", true},
    {VK_RETURN, "giving up the drive", false}, {VK_SPACE, "giving up the drive", false},
    {VK_ESCAPE, "quitting", false},  {VK_F1, "the key list", false},
};

const GameKey* FindGameKey(int key) {
    for (const GameKey& gameKey : kGameKeys)
        if (gameKey.key == key) return &gameKey;
    return nullptr;
}

const GameAction* FindAction(const std::string& name) {
    for (const GameAction& action : GameActions())
        if (name == action.name) return &action;
    return nullptr;
}

const KeyBinding* FindBinding(const std::vector<KeyBinding>& bindings, int key) {
    for (const KeyBinding& binding : bindings)
        if (binding.key == key) return &binding;
    return nullptr;
}

std::vector<std::string> CommaSeparated(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        words.push_back(TrimmedBlanks(text.substr(start, comma - start)));
    words.push_back(TrimmedBlanks(text.substr(start)));
    return words;
}

// Why the key cannot do the action, or empty when it can.
std::string Refusal(const std::vector<KeyBinding>& bindings, const std::string& written, int key,
                    const std::string& name, const GameAction& action) {
    if (key == kUnknownKeyName) return "'" + written + "' is not one of SDL's key names";
    if (key == 0) return "the game does not read the key '" + name + "'";
    const GameKey* gameKey = FindGameKey(key);
    if (gameKey && action.name != std::string(gameKey->does)) return name + " is already the key of " + gameKey->does;
    const KeyBinding* bound = FindBinding(bindings, key);
    if (bound && bound->action != action.name) return name + " is already bound to " + bound->action;
    return "";
}
}  // namespace

const std::vector<GameAction>& GameActions() {
    static const std::vector<GameAction> actions = [] {
        std::vector<GameAction> list;
        for (const GameKey& gameKey : kGameKeys)
            if (gameKey.action && (list.empty() || gameKey.does != std::string(list.back().name)))
                list.push_back({gameKey.does, gameKey.key});
        return list;
    }();
    return actions;
}

void ReadKeyBindingLine(const std::string& actionName, const std::string& keys, const std::string& where,
                        std::vector<KeyBinding>& bindings, std::vector<std::string>& problems) {
    const GameAction* action = FindAction(actionName);
    if (!action) {
        problems.push_back(where + "no action is called '" + actionName + "'");
        return;
    }
    for (const std::string& written : CommaSeparated(keys)) {
        std::string name = written;
        const int key = written.empty() ? kUnknownKeyName : VirtualKeyNamed(written, name);
        const std::string refusal = Refusal(bindings, written, key, name, *action);
        if (!refusal.empty()) problems.push_back(where + refusal);
        // One of the action's own keys, or bound to it already, needs nothing more.
        else if (!FindGameKey(key) && !FindBinding(bindings, key))
            bindings.push_back({key, action->key, name, action->name});
    }
}

std::map<int, int> KeysStandingFor(const std::vector<KeyBinding>& bindings) {
    std::map<int, int> keys;
    for (const KeyBinding& binding : bindings) keys[binding.key] = binding.actionKey;
    return keys;
}
