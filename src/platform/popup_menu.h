// The right-button popup menu: drawn by the window inside itself like a classic one, and
// modal while open (Window::TrackPopupMenu, platform/popup_menu.cpp).
#pragma once
#include <string>

struct PopupItem {
    std::string text;
    int command;   // sent as WM_COMMAND when chosen
    bool greyed;
};
