// The course: a grid of tiles with its start, goal and current cells, and every operation
// that works on it (map files, course view, minimap, course rules, times and result).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"

class Surface;
struct BusRecords;

constexpr int GridSize = 20;        // the grid holds at most 20 by 20 cells
constexpr int TileSize = 128;       // pixels per tile side
constexpr int TileCodeCount = 24;   // tile codes 0 to 23

// Tile codes.
enum TileCode {
    TileEmpty = 0,
    TileStraightX = 1,
    TileStraightY = 2,
    TileStartLeft = 16,   // start, facing -x
    TileStartRight = 17,  // start, facing +x
    TileStartUp = 18,     // start, facing -y
    TileStartDown = 19,   // start, facing +y
    TileGoalFirst = 20,
    TileGoalLast = 23,
};

// Where the course view lands on the screen, relative to WindowOrigin: 384 by 384 pixels.
constexpr Rect CourseViewOnScreen{6, 6, 390, 390};

// Drawn by the course view over the tiles and under the bus, wherever the view draws them
// (for what runs beside the bus, like the ghost): onto `into`, mapscreen's pixels carried
// there by `shift`, nothing outside `clip` changed. Null draws nothing.
using ViewLayer = void (*)(Surface& into, Point shift, const Rect& clip);
extern ViewLayer beneathTheBus;

// The square of a grid cell on the minimap, on the screen; empty for a cell off the grid.
Rect MinimapCellSquare(int cellX, int cellY);

// Course index: 0 practice, 1..10 numbered courses, 11 the user-made map.
constexpr int PracticeCourse = 0;
constexpr int LastNumberedCourse = 10;
constexpr int UserMapCourse = 11;

// Why a bus standing on a goal tile has not reached the goal: the side of the goal box its
// body crosses (as the screen shows it), or that it is not in the box's lane at all.
enum class GoalMiss { None, NotOnGoalTile, WrongLane, Top, Bottom, Left, Right };

class CourseMap {
public:
    CourseMap();
    virtual ~CourseMap();

    // Largest valid subscripts; a cell outside 0..lastCellX, 0..lastCellY is off the course.
    std::int32_t lastCellY = 0;
    std::int32_t lastCellX = 0;
    std::int32_t goalReached = 0;
    std::int32_t violationCount = 0;
    std::int32_t currentCellX = 0;
    std::int32_t currentCellY = 0;
    std::int32_t goalCellX = 23;
    std::int32_t goalCellY = 23;
    std::int32_t startCellX = 23;
    std::int32_t startCellY = 23;
    std::int32_t grid[GridSize][GridSize];  // [x][y]; -1 for a cell never loaded
    // The map file the grid was read from last ("3.map" in the game folder, or the user map's
    // path), so that a recorded drive can name its course; empty before the first load and
    // after a course given in memory.
    std::string mapFileRead;

    // The code at (x, y), or -1 for a cell outside the 20 by 20 grid. Never reads outside it.
    std::int32_t CodeAt(std::int32_t x, std::int32_t y) const;

    // Map files (course/map_file.cpp, course/user_map.cpp).
    int LoadCourse(int courseIndex);
    int LoadUserMap(const std::string& path);
    // The user map reader on a map file or a course text (course/user_course.h); 0 when the
    // file cannot be read as a course.
    int LoadUserCourse(const std::string& path);
    void ChooseUserMap();

    // Course view and minimap (course/course_view.cpp, course/minimap.cpp).
    void RenderMap(Surface& target);
    void DrawMinimap();

    // The bus on the course (bus/bus_placement.cpp, bus/bus_drawing.cpp). The bus step that
    // RenderMap begins with, on any bus and the cell its view is centred on: the bus placed
    // in the first frame of a drive, else one frame of motion; then the frame copy.
    void MoveBus(const BusRecords& bus, std::int32_t& cellX, std::int32_t& cellY);
    // PlaceBus and FollowBus work on the player's bus.
    void PlaceBus(int startCode);
    void FollowBus();
    void DrawBus();

    // Course rules (rules/).
    int CheckLane();
    void ApplyLaneRule();
    int CheckWallContact();
    void ApplyWallRule();
    int CheckCrash();
    int CheckGoalIn();
    // Read from the same points as CheckGoalIn; None when they are all inside the box.
    GoalMiss MissedGoal();
    void BuildCornerPiece(int corner);

    // Time display and result screen (records/time_display.cpp).
    void DrawTimes();
    void DrawResult();
};

// No map file is read that is larger: 20 by 20 cells take 1612 bytes (3224 if every byte were
// 0x0A, stored as 0x0D 0x0A), so anything near this size was named by mistake.
constexpr std::size_t kLargestMapFile = 64 * 1024;
// A course the course reader takes for courseIndex in place of its file "N.map": the stream
// such a file holds, read as the file would be. The map tool drives the course it holds this
// way, without writing it anywhere. One at a time; Forget gives the file back its place.
void GiveCourse(int courseIndex, std::vector<std::uint8_t> stream);
void ForgetGivenCourse();
// Which reader a map file is read with: the course file reader or the user map reader.
enum class MapReader { Course, UserMap };
// Why reading the map file with that reader would end the game at once (a damaged file) or
// would not read it at all (not a regular file, too large); empty when it is read, or missing.
std::string MapFileProblem(const std::string& path, MapReader reader);
