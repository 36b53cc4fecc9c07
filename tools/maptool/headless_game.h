// The real game without a window: its surfaces, bitmaps and objects, keys through the window
// procedure and frames through render_frame, as the frame loop would run them. The game's
// files are read from the current folder.
#pragma once
#include <cstdint>
#include <vector>

#include "maptool/drive_controller.h"
#include "platform/geometry.h"

class HeadlessGame {
public:
    // Start-up without the window; false when a surface or bitmap cannot be made.
    bool Start();
    ~HeadlessGame();

    // From the course menu into a drive: opens the course in the score table (and completes it
    // when a bus type other than 0 is wanted, which brings up the bus-type menu), then moves
    // the cursors and presses Enter.
    void EnterCourse(int course, int busType);

    void Press(int key);
    // One frame; the first frame of a drive places the bus.
    void Frame();
    // A driving frame with only the steps that move the bus and judge it (no pictures), for
    // trying many drives quickly; a drive found this way is recorded again with Frame.
    void QuickFrame();

    bool Driving() const;
    bool GoalReached() const;
    // Frames of the current drive so far, and those in which a rule was broken.
    long DriveFrames() const { return driveFrames_; }
    long ViolationFrames() const { return violationFrames_; }
    // The bus in course pixels, as a player would judge it.
    BusPose Pose() const;
    // The bus body as the last frame drew it, in course pixels.
    std::vector<Point> BodyOutline() const;
    // The course cell of the driver's seat.
    void DriverCell(int& x, int& y) const;
    BusMeasures Measures() const;
    // The stopwatch's readings, in seconds: those of the ended drive, or so far.
    std::int32_t DrivingSeconds() const;
    std::int32_t PenaltySeconds() const;
    // The course's state in the best-times table (locked, open or completed).
    std::int32_t CourseState(int course) const;

private:
    bool started_ = false;
    long driveFrames_ = 0;
    long violationFrames_ = 0;
};
