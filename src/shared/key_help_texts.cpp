#include "shared/key_help_texts.h"

namespace {

int Index(Language language) { return language == Language::English ? 1 : 0; }

// Keys every screen has.
const std::vector<KeyHelpRow> kEveryScreen = {
    {{"Esc", "Esc"}, {"ゲームを終了", "Quit the game"}},
    {{"- / =（テンキー - / +）", "- / = (keypad - / +)"}, {"音量を下げる / 上げる", "Volume down / up"}},
    {{"Alt+Enter", "Alt+Enter"}, {"全画面 / ウィンドウ", "Fullscreen / window"}},
    {{"右クリック", "Right click"}, {"メニュー（終了）", "Menu (Quit)"}},
    {{"Ctrl+左ドラッグ", "Ctrl+left drag"}, {"ウィンドウを動かす", "Move the window"}},
};

std::vector<KeyHelpRow> With(std::vector<KeyHelpRow> own, const std::vector<KeyHelpRow>& common) {
    own.insert(own.end(), common.begin(), common.end());
    return own;
}

const KeyHelpList kCourseMenu = {
    {"キー一覧：コース選択", "Keys: course menu"},
    With({{{"↑ / ↓", "↑ / ↓"}, {"コースを選ぶ", "Choose a course"}},
          {{"Enter / Space", "Enter / Space"}, {"そのコースへ", "Play that course"}}},
         kEveryScreen),
};

const KeyHelpList kBusMenu = {
    {"キー一覧：車種選択", "Keys: bus menu"},
    With({{{"↑ / ↓", "↑ / ↓"}, {"バスを選ぶ", "Choose a bus"}},
          {{"Enter / Space", "Enter / Space"}, {"運転開始", "Start driving"}}},
         kEveryScreen),
};

// Keypad digits are written as the digit alone, as the last row says.
const KeyHelpList kDriving = {
    {"キー一覧：運転中", "Keys: driving"},
    With({{{"↑ / ↓", "↑ / ↓"}, {"ギアを上げる / 下げる", "Gear up / down"}},
          {{"W F8 / S F4 / X F9", "W F8 / S F4 / X F9"}, {"加速 0.4 / 0.3 / 0.2", "Faster by 0.4 / 0.3 / 0.2"}},
          {{"Q F2 / A / Z F11", "Q F2 / A / Z F11"}, {"ブレーキ 0.7 / 0.5 / 0.3", "Brake by 0.7 / 0.5 / 0.3"}},
          {{"U 7 / H ← 4 / J 1", "U 7 / H ← 4 / J 1"}, {"左へ 16° / 8° / 4°", "Steer left 16° / 8° / 4°"}},
          {{"I 9 / L → 6 / K 3", "I 9 / L → 6 / K 3"}, {"右へ 16° / 8° / 4°", "Steer right 16° / 8° / 4°"}},
          {{"8 / 5 / 2", "8 / 5 / 2"}, {"ハンドルを戻す 16° / 8° / 4°", "Straighten 16° / 8° / 4°"}},
          {{"G", "G"}, {"ゴーストを表示 / 隠す", "Show / hide the ghost"}},
          {{"P / Pause", "P / Pause"}, {"一時停止 / 再開", "Pause / go on"}},
          {{"Enter / Space", "Enter / Space"}, {"やめてコース選択へ", "Give up: course menu"}},
          {{"7 8 9 4 5 6 1 2 3", "7 8 9 4 5 6 1 2 3"}, {"（数字はテンキー）", "(digits: the keypad)"}}},
         kEveryScreen),
};

const KeyHelpList kResult = {
    {"キー一覧：結果", "Keys: result"},
    With({{{"Enter / Space", "Enter / Space"}, {"コース選択へ", "Back to the course menu"}}}, kEveryScreen),
};

const KeyHelpList kWatching = {
    {"キー一覧：走行の再生", "Keys: watching a drive"},
    With({{{"Enter / Space", "Enter / Space"}, {"再生をやめる", "Stop watching"}},
          {{"G", "G"}, {"ゴーストを表示 / 隠す", "Show / hide the ghost"}}},
         kEveryScreen),
};

// The actions a player's key can be bound to, by the first part of the name the preferences
// file gives them ("faster" of "faster-0.4"); steering amounts are degrees.
struct BoundActionWords {
    const char* name;
    const char* words[2];
    const char* unit;
};
const BoundActionWords kBoundActions[] = {
    {"gear-up", {"ギアを上げる", "Gear up"}, ""},
    {"gear-down", {"ギアを下げる", "Gear down"}, ""},
    {"faster", {"加速", "Faster by"}, ""},
    {"brake", {"ブレーキ", "Brake by"}, ""},
    {"left", {"左へ", "Steer left"}, "°"},
    {"right", {"右へ", "Steer right"}, "°"},
    {"straighten", {"ハンドルを戻す", "Straighten"}, "°"},
    {"ghost", {"ゴーストを表示 / 隠す", "Show / hide the ghost"}, ""},
    {"pause", {"一時停止 / 再開", "Pause / go on"}, ""},
    {"volume-down", {"音量を下げる", "Volume down"}, ""},
    {"volume-up", {"音量を上げる", "Volume up"}, ""},
};

// The words of a bound action without the note that the key is the player's own.
std::string BoundActionWordsIn(const std::string& action, Language language) {
    for (const BoundActionWords& bound : kBoundActions) {
        const std::string name = bound.name;
        if (action == name) return bound.words[Index(language)];
        if (action.compare(0, name.size() + 1, name + "-") == 0)
            return std::string(bound.words[Index(language)]) + " " + action.substr(name.size() + 1) + bound.unit;
    }
    return action;
}
}  // namespace

const KeyHelpList& KeyHelpFor(KeyHelpScreen screen) {
    switch (screen) {
    case KeyHelpScreen::CourseMenu: return kCourseMenu;
    case KeyHelpScreen::BusMenu: return kBusMenu;
    case KeyHelpScreen::Driving: return kDriving;
    case KeyHelpScreen::Result: return kResult;
    default: return kWatching;
    }
}

const char* KeysIn(const KeyHelpRow& row, Language language) { return row.keys[Index(language)]; }

const char* ActionIn(const KeyHelpRow& row, Language language) { return row.action[Index(language)]; }

const char* KeyHelpFooter(Language language) {
    return language == Language::English ? "F1 or Esc closes this list; the game waits meanwhile."
                                          : "F1 か Esc で閉じます。表示中はゲームが止まります。";
}

std::string BoundActionIn(const std::string& action, Language language) {
    return BoundActionWordsIn(action, language) + (language == Language::English ? " (your key)" : "（自分のキー）");
}
