#include "shared/texts.h"

Language GameLanguage = Language::Japanese;

namespace {

const GameTexts JapaneseTexts = {
    "ＭＳ ゴシック",
    "Ｑｕｏｎｆｅｌ",
    "ウィンドウの作成エラー",
    "イメージのロードエラー",
    {"練習用コース", "第１コース", "第２コース", "第３コース", "第４コース", "第５コース", "第６コース",
     "第７コース", "第８コース", "第９コース", "第10コース", "ユーザ作成マップ"},
    {"大型路線車(全長約10m、ホイルベース4.8m)", "中型路線車(全長約 9m、ホイルベース4.8m)",
     "中型路線車(全長約10m、ホイルベース5.5m)", "大型観光車(全長約12m、ホイルベース6.2m)"},
    " 所要時間 ：　%s",
    "ペナルティ：　%s",
    "スコア時間：　%s",
    "このコースは、まだ運転できません。",
    "Course Select Error",
    "マップファイルが壊れています。",
    "Map File Error",
    "Map File Read Error!!",
    "Read Error",
    "render_frame(offscreen->primary) Blt Error ",
    "RenderMap(mapscreen->Offscreen) Blt Error ",
    "Blt Error!",
    "一時停止",
    "開始",
    "終了",
    "ユーザ作成マップファイルの選択",
    "Map Files(*.map)",
    "All Files(*.*)",
    "ほかのファイルを開く…",
    "バスがゴールの車線にいません",
    "バスがゴール枠の%sにはみ出しています",
    {"上", "下", "左", "右"},
    "ゴーストなし：まだベスト走行がありません",
    "ゴーストなし：別の版のコースの走行です",
    "ゴーストなし：キーファイルが読めません",
};

// DejaVu Sans: its hand-hinted shapes stay crisp in the game's two-colour text at 12 to 24
// pixels, and it has a bold face of its own and the arrows of the key help.
const GameTexts EnglishTexts = {
    "DejaVu Sans",
    "Quonfel",
    "Could not create the game window.",
    "Could not load the game's pictures.",
    {"Practice Course", "Course 1", "Course 2", "Course 3", "Course 4", "Course 5", "Course 6", "Course 7",
     "Course 8", "Course 9", "Course 10", "Your Own Course"},
    {"Large city bus (about 10 m long, wheelbase 4.8 m)", "Medium city bus (about 9 m long, wheelbase 4.8 m)",
     "Medium city bus (about 10 m long, wheelbase 5.5 m)", "Large coach (about 12 m long, wheelbase 6.2 m)"},
    "Driving time: %s",
    "Penalty time: %s",
    "Score time: %s",
    "This course is still locked: finish the one before it to open it.",
    "Course Locked",
    "The course file is damaged.",
    "Course File Error",
    "The map file ends before all its tiles are read: it is damaged or cut short.",
    "Map File Error",
    "The picture could not be shown in the window (render_frame: offscreen to primary).",
    "The course view could not be drawn (RenderMap: mapscreen to offscreen).",
    "Display Error",
    "PAUSE",
    "Start",
    "Quit",
    "Choose the map file of your own course",
    "Map files (*.map)",
    "All files",
    "Open another file…",
    "The bus is not in the goal's lane",
    "The bus sticks out of the box's %s side",
    {"top", "bottom", "left", "right"},
    "No ghost: no best drive here yet",
    "No ghost: its drive was on another course",
    "No ghost: its key file cannot be read",
};

const char* const WordedPictures[] = {"16.bmp",    "17.bmp",   "18.bmp",          "19.bmp",     "20.bmp",
                                      "21.bmp",    "22.bmp",   "23.bmp",          "front.bmp",  "alarm.bmp",
                                      "menu1.bmp", "menu2.bmp", "discontinue.bmp", "goalin.bmp"};

}  // namespace

const GameTexts& TextsIn(Language language) {
    return language == Language::English ? EnglishTexts : JapaneseTexts;
}

const GameTexts& Texts() { return TextsIn(GameLanguage); }

bool PictureHasWords(const std::string& fileName) {
    for (const char* worded : WordedPictures)
        if (fileName == worded) return true;
    return false;
}

std::string PictureFile(const std::string& fileName, Language language) {
    if (language == Language::English && PictureHasWords(fileName)) return std::string(EnglishPictureFolder) + "/" + fileName;
    return fileName;
}
