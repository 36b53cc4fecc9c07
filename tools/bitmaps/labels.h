// Every text the game's pictures show, one set per language. Change a label here and rebuild.
#pragma once

struct PictureLabels {
    const char* gameName;

    // Course tiles.
    const char* start;
    const char* goal;

    // Driving screen.
    const char* driveTime;
    const char* penalty;
    const char* courseMap;
    const char* warning;
    const char* gear;
    const char* steering;
    const char* steerLeft;
    const char* steerRight;
    const char* drivingKeys[4];

    // Menus.
    const char* courseMenuTitle;
    const char* busMenuTitle;
    const char* courseColumn;
    const char* bestTimeColumn;
    const char* busColumn;
    const char* legendOpen;
    const char* legendCleared;
    const char* legendLocked;
    const char* busMenuHint;
    const char* menuKeys;

    // Warning bands.
    const char* wrongLane;
    const char* wallContact;

    // Result screens.
    const char* goalIn;
    const char* congratulations;
    const char* discontinued;
    const char* discontinuedReason1;
    const char* discontinuedReason2;
    const char* discontinuedAdvice;
    const char* backToMenu;
};

// Gear cells, in the order reverse, neutral, forward: the same letters in every language.
constexpr const char* GearLetters[] = {"R", "N", "D"};

// The labels of the language the pictures are being drawn in (GameLanguage).
const PictureLabels& Labels();
