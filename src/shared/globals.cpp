#include "shared/globals.h"

#include "platform/window.h"
#include "shared/unreleased.h"

std::int32_t ScreenState = CourseSelect;
Point WindowOrigin{0, 0};
WindowExtent WindowSize{640, 480};
const char* StartupError = nullptr;

namespace {

struct OwnedObjects {
    std::unique_ptr<Window> mainWindow;
    std::unique_ptr<Surface> offscreen;
    std::unique_ptr<Surface> mapscreen;
    TileSurfaceArray tiles;
    std::unique_ptr<Surface> front, back, gear, alarm, discontinue, goalin, menu1, number, menu2;
};

Unreleased<OwnedObjects> owned;

}  // namespace

std::unique_ptr<Window>& mainWindow = owned.objects.mainWindow;
std::unique_ptr<Surface>& offscreen = owned.objects.offscreen;
std::unique_ptr<Surface>& mapscreen = owned.objects.mapscreen;

TileSurfaceArray& TileSurfaces = owned.objects.tiles;
std::unique_ptr<Surface>& frontSurface = owned.objects.front;
std::unique_ptr<Surface>& backSurface = owned.objects.back;
std::unique_ptr<Surface>& gearSurface = owned.objects.gear;
std::unique_ptr<Surface>& alarmSurface = owned.objects.alarm;
std::unique_ptr<Surface>& discontinueSurface = owned.objects.discontinue;
std::unique_ptr<Surface>& goalinSurface = owned.objects.goalin;
std::unique_ptr<Surface>& menu1Surface = owned.objects.menu1;
std::unique_ptr<Surface>& numberSurface = owned.objects.number;
std::unique_ptr<Surface>& menu2Surface = owned.objects.menu2;
// The five game objects are kept by app/game_objects.cpp, which knows their types.
