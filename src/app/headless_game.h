// The real game without a window: its surfaces, pictures and objects, keys through the window
// procedure and frames through render_frame, as the frame loop would run them. Its files are
// those of the game folder (shared/game_folder.h); the clock is whatever Clock() is, a
// FakeClock for drives that read the same on every run. The map tool drives courses in it and
// the tests play recorded drives in it.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"

// The bus as a player judges it: the rear-axle centre in course pixels (cell x * 128 + in-tile x).
struct BusPose {
    double x;
    double y;
    double heading;   // radians, 0 faces up, positive turns counter-clockwise
    double speed;     // pixels per frame
    double steering;  // radians, positive turns left
    int gear;
};

class HeadlessGame {
public:
    ~HeadlessGame();

    // Before Start: score.dat is neither read nor written, nor a best drive.
    void KeepNoRecords();
    // The course the game reads for course instead of "N.map" (GiveCourse in course_map.h).
    void GiveCourse(int course, std::vector<std::uint8_t> stream);
    // Start-up without the window, on a screen of the given size; false when a surface or a
    // picture cannot be made (the line on stderr says which: there is no window for a box).
    bool Start(int screenWidth = 640, int screenHeight = 480);

    // From the course menu into a drive: opens the course in the score table (and completes it
    // when a bus type other than 0 is wanted, which brings up the bus-type menu), then moves
    // the cursors and presses Enter, as a player would.
    void EnterCourse(int course, int busType);

    void Press(int key);
    // One frame; the first frame of a drive places the bus.
    void Frame();
    // A driving frame with only the steps that move the bus and judge it (no pictures), for
    // trying many drives quickly; a drive found this way is driven again with Frame.
    void QuickFrame();

    bool Driving() const;
    bool GoalReached() const;
    // Frames of the current drive so far, and those in which a rule was broken.
    long DriveFrames() const { return driveFrames_; }
    long ViolationFrames() const { return violationFrames_; }
    BusPose Pose() const;
    // The bus body as the last frame drew it, in course pixels.
    std::vector<Point> BodyOutline() const;
    // The course cell of the driver's seat.
    void DriverCell(int& x, int& y) const;
    // The stopwatch's readings, in seconds: those of the ended drive, or so far.
    std::int32_t DrivingSeconds() const;
    std::int32_t PenaltySeconds() const;
    // The course's state in the best-times table (locked, open or completed).
    std::int32_t CourseState(int course) const;

private:
    void CountFrame();
    bool started_ = false;
    long driveFrames_ = 0;
    long violationFrames_ = 0;
};
