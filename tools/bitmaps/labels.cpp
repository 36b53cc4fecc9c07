#include "labels.h"

#include "shared/texts.h"

namespace {

const PictureLabels JapaneseLabels = {
    "Ｑｕｏｎｆｅｌ",
    "スタート",
    "ゴール",
    "走行時間",
    "ペナルティ",
    "コースマップ",
    "警告",
    "ギア",
    "ハンドル",
    "左",
    "右",
    {"↑↓：ギア（停車中）", "W S X：加速　Q A Z：減速", "←→ U H J / I L K：ハンドル", "Enter：メニュー　Esc：終了"},
    "コース選択",
    "車種選択",
    "コース",
    "ベストタイム",
    "車種",
    "運転できます",
    "クリア済み",
    "未開放",
    "運転するバスを選んでください",
    "↑↓：選択　Enter：決定　Esc：終了",
    "逆走・車線違反！",
    "壁に接触！",
    "ゴール！",
    "おめでとうございます",
    "運転中止",
    "車体が壁に深く入るか、",
    "コースの外に出ました。",
    "速度を落として、もう一度挑戦しましょう。",
    "Enter：メニューへ戻る",
};

const PictureLabels EnglishLabels = {
    "Quonfel",
    "START",
    "GOAL",
    "Time",
    "Penalty",
    "COURSE MAP",
    "ALERT",
    "Gear",
    "Steering",
    "L",
    "R",
    {"↑↓: gear (only when stopped)", "W S X: faster    Q A Z: slower", "←→ U H J / I L K: steer",
     "Enter: menu    Esc: quit"},
    "Choose a Course",
    "Choose a Bus",
    "Course",
    "Best Time",
    "Bus",
    "Open",
    "Cleared",
    "Locked",
    "Choose the bus you want to drive",
    "↑↓: select    Enter: choose    Esc: quit",
    "Wrong lane!",
    "Hit the wall!",
    "GOAL!",
    "Congratulations!",
    "Drive Stopped",
    "The bus ran deep into a wall",
    "or left the course.",
    "Slow down and try again.",
    "Enter: back to the menu",
};

}  // namespace

const PictureLabels& Labels() { return GameLanguage == Language::English ? EnglishLabels : JapaneseLabels; }
