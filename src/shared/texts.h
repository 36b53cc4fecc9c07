// Every text a player reads at run time, by language. The words inside the pictures are drawn
// by tools/bitmaps (its labels), one set of pictures per language.
#pragma once
#include <string>

enum class Language { Japanese, English };

// Chosen once at start-up, before anything is drawn; Japanese unless the player asks.
extern Language GameLanguage;

constexpr int CourseNameCount = 12;
constexpr int BusCaptionTextCount = 4;

struct GameTexts {
    // The face every text of the language is drawn in.
    const char* fontFace;
    const char* windowTitle;
    // Start-up failures, shown in a box titled with the window title.
    const char* windowCreateError;
    const char* imageLoadError;

    const char* courseNames[CourseNameCount];
    const char* busCaptions[BusCaptionTextCount];
    // The result screen's three lines, each formed with its time text.
    const char* driveTimeLine;
    const char* penaltyTimeLine;
    const char* scoreTimeLine;

    // Message boxes: text and caption.
    const char* courseLocked;
    const char* courseLockedCaption;
    const char* damagedCourseFile;
    const char* damagedCourseFileCaption;
    const char* shortUserMap;
    const char* shortUserMapCaption;
    const char* frameCopyError;
    const char* courseViewCopyError;
    const char* copyErrorCaption;
    // Over the course view while driving is paused.
    const char* pausedLabel;

    // The right-button popup and the file dialog of the user-made map.
    const char* popupStart;
    const char* popupQuit;
    const char* userMapDialogTitle;
    const char* mapFilesFilter;
    const char* allFilesFilter;
    // The shelf's last entry, which opens the file dialog.
    const char* shelfOtherFile;

    // One line over the course view. With hints on: why a bus standing on the goal tile in
    // neutral has not reached the goal (the side formed with one of the four box sides).
    const char* goalHintWrongLane;
    const char* goalHintSide;
    const char* boxSides[4];  // top, bottom, left, right
    // With the ghost on, at the start of a drive that has none to race.
    const char* noGhostYet;
    const char* ghostOfOtherCourse;
    const char* ghostUnreadable;
};

const GameTexts& TextsIn(Language language);
// The texts of the game's language.
const GameTexts& Texts();

// The pictures that carry words come in one set per language: the Japanese set in the game's
// folder, the English one in its folder "en". Pictures without words are shared.
constexpr const char* EnglishPictureFolder = "en";
bool PictureHasWords(const std::string& fileName);
// The relative path a picture of the game's folder is read from in that language.
std::string PictureFile(const std::string& fileName, Language language);
