#include "app/shelf_menu.h"

#include <string>

#include "app/keys.h"
#include "app/map_to_play.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "menus/shelf_screen.h"
#include "records/score_table.h"
#include "records/shelf.h"
#include "replays/drive_keys.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "sound/sound.h"

namespace {
// The shelf course of the drive under way.
bool drivingShelfCourse = false;
std::uint64_t shelfCourseHash = 0;
}  // namespace

bool OpenShelf() {
    FillShelfScreen();
    if (shelfScreen.courses.empty()) return false;
    PlayCue(SoundCue::Choose);
    ScreenState = ShelfSelect;
    return true;
}

void LeaveShelf() {
    ScreenState = CourseSelect;
    lastRowOnShelf = ShelfHoldsACourse();
}

void ChooseOnShelf() {
    if (!ShelfCursorOnOtherFile()) {
        const ShelfCourse& course = shelfScreen.courses[static_cast<std::size_t>(shelfScreen.cursor)];
        PlayShelfCourse(course.path);
        return ChooseUserCourse(course.bestTime > 0);
    }
    // Any other file, chosen in the dialog: the row is open while the shelf holds a course.
    ForgetMapToPlay();
    PlayCue(SoundCue::Choose);
    courseMap->ChooseUserMap();
    ChooseUserCourse(scoreTable->Current(UserMapCourse).courseState == Completed);
}

void BeginShelfDrive(int course) {
    drivingShelfCourse = course == UserMapCourse && ShelfCourseToPlay() &&
                         HashUserCourseFile(courseMap->mapFileRead, shelfCourseHash);
    UseBestDriveOfUserCourse(drivingShelfCourse ? ShelfBestDriveFile(shelfCourseHash) : "");
}

void ScoreShelfGoal(std::int32_t drivingSeconds, std::int32_t penaltySeconds, std::int32_t scoreSeconds) {
    if (drivingShelfCourse && RecordShelfTime(shelfCourseHash, scoreSeconds))
        SaveBestDriveIn(ShelfBestDriveFile(shelfCourseHash), drivingSeconds, penaltySeconds, scoreSeconds);
}
