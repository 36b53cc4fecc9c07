// Every text the game's pictures show, in one place. Change a label here and rebuild.
#pragma once

namespace labels {

constexpr const char* GameName = "Ｑｕｏｎｆｅｌ";
constexpr const char* GameFontFace = "ＭＳ ゴシック";

// Course tiles.
constexpr const char* Start = "スタート";
constexpr const char* Goal = "ゴール";

// Driving screen.
constexpr const char* DriveTime = "走行時間";
constexpr const char* Penalty = "ペナルティ";
constexpr const char* CourseMap = "コースマップ";
constexpr const char* Warning = "警告";
constexpr const char* Gear = "ギア";
constexpr const char* Steering = "ハンドル";
constexpr const char* SteerLeft = "左";
constexpr const char* SteerRight = "右";
constexpr const char* DrivingKeys[] = {
    "↑↓：ギア（停車中）",
    "W S X：加速　Q A Z：減速",
    "←→ U H J / I L K：ハンドル",
    "Enter：メニュー　Esc：終了",
};

// Menus.
constexpr const char* CourseMenuTitle = "コース選択";
constexpr const char* BusMenuTitle = "車種選択";
constexpr const char* CourseColumn = "コース";
constexpr const char* BestTimeColumn = "ベストタイム";
constexpr const char* BusColumn = "車種";
constexpr const char* LegendOpen = "運転できます";
constexpr const char* LegendCleared = "クリア済み";
constexpr const char* LegendLocked = "未開放";
constexpr const char* BusMenuHint = "運転するバスを選んでください";
constexpr const char* MenuKeys = "↑↓：選択　Enter：決定　Esc：終了";

// Warning bands.
constexpr const char* WrongLane = "逆走・車線違反！";
constexpr const char* WallContact = "壁に接触！";

// Gear cells, in the order reverse, neutral, forward.
constexpr const char* GearLetters[] = {"R", "N", "D"};

// Result screens.
constexpr const char* GoalIn = "ゴール！";
constexpr const char* Congratulations = "おめでとうございます";
constexpr const char* Discontinued = "運転中止";
constexpr const char* DiscontinuedReason1 = "車体が壁に深く入るか、";
constexpr const char* DiscontinuedReason2 = "コースの外に出ました。";
constexpr const char* DiscontinuedAdvice = "速度を落として、もう一度挑戦しましょう。";
constexpr const char* BackToMenu = "Enter：メニューへ戻る";

}  // namespace labels
