// Watching a recorded drive in the game window: the course and the bus as recorded, the
// recorded keys fed to the window procedure before their frames, every screen the real one.
// While watching, the player's keys do nothing but Esc (quit) and Enter or Space (stop
// watching). Watching scores nothing and writes no file.
#pragma once
#include <string>

class Window;

// Where stopping a watch leads.
enum class AfterWatching { EndTheGame, CourseMenu };

// Reads and checks a key file before the game starts. False, with one line for stderr, when
// it cannot be read, is damaged (naming the line), or was driven on another course file than
// the one now in the folder.
bool PrepareWatch(const std::string& keyFile, AfterWatching after, std::string& error);
// The best drive of a course, best-N.keys in the current folder.
bool PrepareBestWatch(int course, AfterWatching after, std::string& error);

// After start-up: the prepared watch, if any, begins in the driving screen.
void BeginPreparedWatch();
bool Watching();
// Before each frame: the recorded keys of the coming driving frame go to the window
// procedure; once the drive has ended, its times are printed.
void AdvanceWatch(Window* window);
// Every key of the player while watching is taken here (true); false when not watching.
bool TakePlayerKey(Window* window, int key);
// At the end of the game: the times, if the watch has not printed them yet.
void FinishWatch();
