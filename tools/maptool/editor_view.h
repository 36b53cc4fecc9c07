// What the course editor's window shows, drawn on a surface: the course in the game's own tile
// pictures at the zoom chosen, the checker's marks, the cursor and a test drive's bus; the
// palette with the grid's size and the settings beside it; the status lines below. Also which
// part of the picture a point of the window falls on.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "maptool/course_picture.h"
#include "maptool/editor_model.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/surface.h"

constexpr int EditorWidth = 960;
constexpr int EditorHeight = 720;
constexpr int EditorStatusTop = EditorHeight - 5 * 18 - 2;  // five lines of text
constexpr Rect EditorGridArea{0, 0, 744, EditorStatusTop};
constexpr Rect EditorPanelArea{744, 0, EditorWidth, EditorStatusTop};
constexpr Rect EditorStatusArea{0, EditorStatusTop, EditorWidth, EditorHeight};

// The zooms, in pixels a tile.
constexpr std::array<int, 3> EditorZooms{32, 64, 128};

// The tile pictures at every zoom, and the font.
struct EditorPictures {
    std::array<TilePictures, EditorZooms.size()> tiles;
    std::shared_ptr<Font> font;
};
// Made from the game's tile pictures (128 pixels a tile), with the font; false when a copy or
// the font cannot be made.
bool MakeEditorPictures(TilePictures full, EditorPictures& pictures);

// How the course is shown and what the status lines say, apart from the course itself.
struct EditorView {
    int zoom = 64;
    Point scroll{0, 0};         // how far the course is scrolled, in pixels at the zoom
    GridCell hover{-1, -1};     // the cell under the pointer; off the course when none
    std::size_t finding = 0;    // which of the checker's findings the status line tells
    std::string message;        // what the last action did, or the test drive's result
    bool prompt = false;        // the message asks a question, answered by a key
    bool help = false;          // the list of keys over the course
    int busType = 0;            // for the test drive
    int driveSpeed = 1;         // frames a step of the test drive takes: 1, 2, 4 or 8
    std::vector<Point> bus;     // the test drive's bus body and the line its rear axle drew,
    std::vector<Point> trail;   // in course pixels; empty when none is shown
    std::string fileName;       // the course text, as named on the command line
    std::string courseName;     // its "# name:" line's, empty when it has none
    bool renamed = false;       // the name differs from the one saved
};

// The test drive's next speed: 1, 2, 4, 8 and round again.
int NextDriveSpeed(int speed);

void DrawEditor(Surface& screen, const EditorModel& model, const EditorView& view, const EditorPictures& pictures);

// The cell under a point of the window; false when the point is not on the course.
bool CellAt(const EditorView& view, const CourseGrid& course, Point at, GridCell& cell);
// The tile code of the palette entry under the point, or -1.
int PaletteEntryAt(Point at);
// The grow (+) or shrink (-) button under the point: true with its side and kind.
bool SizeButtonAt(Point at, int& side, bool& grow);
bool OnFindingLines(Point at);

// Scrolls as little as needed to show the cell whole, and never past the course's ends.
void ShowCell(EditorView& view, const CourseGrid& course, GridCell cell);
void ScrollBy(EditorView& view, const CourseGrid& course, int dx, int dy);
// Zooms in or out by one step, keeping the cell at the window point where it is if it can.
void Zoom(EditorView& view, const CourseGrid& course, int steps, Point at);
// Scrolls so that a course pixel (at 128 pixels a tile) stays well inside the area.
void FollowCoursePixel(EditorView& view, const CourseGrid& course, Point coursePixel);

// The editor's keys: what is pressed, and what it does (the help drawn over the course).
struct EditorKey {
    const char* keys;
    const char* does;
};
const std::vector<EditorKey>& EditorKeys();
