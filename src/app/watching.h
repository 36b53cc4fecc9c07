// Playing a prepared watch in the game: the shell's side of replays/watch.h.
#pragma once

class Window;

// After start-up: the prepared watch, if any, begins in the driving screen.
void BeginPreparedWatch();
// Before each frame: the recorded keys of the coming driving frame go to the window
// procedure; once the drive has ended, its times are printed.
void AdvanceWatch(Window* window);
// Every key of the player while watching is taken here (true); false when not watching.
bool TakeKeyWhileWatching(Window* window, int key);
