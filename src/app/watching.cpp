#include "app/watching.h"

#include "app/app.h"
#include "app/keys.h"
#include "replays/watch.h"

void BeginPreparedWatch() {
    if (TakePreparedWatch()) StartDriving();
}

void AdvanceWatch(Window* window) {
    int key = 0;
    while (NextWatchedKey(key)) {
        MainWindowProc(window, WM_KEYDOWN, static_cast<WParam>(key), 0);
        MainWindowProc(window, WM_KEYUP, static_cast<WParam>(key), 0);
    }
    WatchedKeysGiven();
}

bool TakeKeyWhileWatching(Window* window, int key) {
    switch (TakePlayerKey(key)) {
    case WatchKey::NotWatching: return false;
    case WatchKey::Ignored: break;
    case WatchKey::Quit:
    case WatchKey::StopAndEnd: CloseMainWindow(window); break;
    case WatchKey::StopToMenu: ReturnToCourseMenu(); break;
    }
    return true;
}
