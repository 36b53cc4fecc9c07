// The storage of the five game objects declared in shared/globals.h. It lives here, above the
// subsystems, because keeping an object needs its whole type.
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "shared/unreleased.h"

namespace {

struct GameObjects {
    std::unique_ptr<CourseMap> courseMap;
    std::unique_ptr<MenuScreen> menuScreen;
    std::unique_ptr<Bus> bus;
    std::unique_ptr<Stopwatch> stopwatch;
    std::unique_ptr<ScoreTable> scoreTable;
};

Unreleased<GameObjects> owned;

}  // namespace

std::unique_ptr<CourseMap>& courseMap = owned.objects.courseMap;
std::unique_ptr<MenuScreen>& menuScreen = owned.objects.menuScreen;
std::unique_ptr<Bus>& bus = owned.objects.bus;
std::unique_ptr<Stopwatch>& stopwatch = owned.objects.stopwatch;
std::unique_ptr<ScoreTable>& scoreTable = owned.objects.scoreTable;
