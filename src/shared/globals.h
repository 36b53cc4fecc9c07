// The application's global state: screen, window, surfaces and the five game objects.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/geometry.h"
#include "platform/surface.h"

class Window;
class CourseMap;
class MenuScreen;
class Bus;
class Stopwatch;
class ScoreTable;

enum ScreenStateValue { CourseSelect = 0, Driving = 1, Result = 2, BusSelect = 3 };

using TileSurfaceArray = std::array<std::unique_ptr<Surface>, 24>;

struct WindowExtent {
    std::int32_t width;
    std::int32_t height;
};

extern std::int32_t ScreenState;
extern Point WindowOrigin;
extern WindowExtent WindowSize;
extern const char* StartupError;

// The objects below are released by ReleaseAll in its order (the window at the end of
// RunGame), or not at all: the C++ runtime never destroys them after main or exit, when
// their SDL resources may belong to a display that is gone.

// The window stands in for the primary surface: presenting a frame copies the window's
// part of offscreen into it.
extern std::unique_ptr<Window>& mainWindow;
extern std::unique_ptr<Surface>& offscreen;   // the screen's size, composed every frame
extern std::unique_ptr<Surface>& mapscreen;   // 640 by 640 course view

// The 33 bitmaps.
extern TileSurfaceArray& TileSurfaces;
extern std::unique_ptr<Surface>& frontSurface;
extern std::unique_ptr<Surface>& backSurface;
extern std::unique_ptr<Surface>& gearSurface;
extern std::unique_ptr<Surface>& alarmSurface;
extern std::unique_ptr<Surface>& discontinueSurface;
extern std::unique_ptr<Surface>& goalinSurface;
extern std::unique_ptr<Surface>& menu1Surface;
extern std::unique_ptr<Surface>& numberSurface;
extern std::unique_ptr<Surface>& menu2Surface;

// The five game objects (their storage is in app/game_objects.cpp, which knows their types).
extern std::unique_ptr<CourseMap>& courseMap;
extern std::unique_ptr<MenuScreen>& menuScreen;
extern std::unique_ptr<Bus>& bus;
extern std::unique_ptr<Stopwatch>& stopwatch;
extern std::unique_ptr<ScoreTable>& scoreTable;
