#include "app/globals.h"

#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/window.h"
#include "records/score_table.h"
#include "records/stopwatch.h"

std::int32_t ScreenState = CourseSelect;
Point WindowOrigin{0, 0};
WindowExtent WindowSize{640, 480};
const char* StartupError = nullptr;

std::unique_ptr<Window> mainWindow;
std::unique_ptr<Surface> offscreen;
std::unique_ptr<Surface> mapscreen;

std::unique_ptr<Surface> TileSurfaces[24];
std::unique_ptr<Surface> frontSurface;
std::unique_ptr<Surface> backSurface;
std::unique_ptr<Surface> gearSurface;
std::unique_ptr<Surface> alarmSurface;
std::unique_ptr<Surface> discontinueSurface;
std::unique_ptr<Surface> goalinSurface;
std::unique_ptr<Surface> menu1Surface;
std::unique_ptr<Surface> numberSurface;
std::unique_ptr<Surface> menu2Surface;

std::unique_ptr<CourseMap> courseMap;
std::unique_ptr<MenuScreen> menuScreen;
std::unique_ptr<Bus> bus;
std::unique_ptr<Stopwatch> stopwatch;
std::unique_ptr<ScoreTable> scoreTable;
