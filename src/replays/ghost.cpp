#include "replays/ghost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/font.h"
#include "replays/drive_keys.h"
#include "replays/drive_recorder.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/outside_text.h"
#include "shared/unreleased.h"

namespace {

constexpr long kFramesPerSecond = 30;
constexpr long kNotReached = -1;
// Room for the picture of any bus type at any heading.
constexpr int kPictureSide = 256;
constexpr Colorref kGhostWhite = Rgb(255, 255, 255);
constexpr Colorref kGhostTint = Rgb(150, 210, 255);
constexpr Colorref kAhead = Rgb(0, 255, 0);
constexpr Colorref kBehind = Rgb(255, 64, 64);
constexpr Colorref kDifferencePaper = Rgb(0, 0, 0);
constexpr const char* kDifferenceFace = "ＭＳ ゴシック";
constexpr int kDifferenceHeight = 24;
// The difference stands in the top right corner of the course view, this far from its edges.
constexpr int kDifferenceMargin = 6;
constexpr int kDifferencePadding = 3;

// Everything the bus step reads and writes, kept apart from the player's.
struct OwnBus {
    BusState live{};
    BusState frame{};
    BusGeometry geometry{};
    std::int32_t maxSteer = 0;
    std::int32_t cellX = 0;
    std::int32_t cellY = 0;

    BusRecords Records() { return {live, frame, geometry, maxSteer}; }
};

// The frame in which each cell was first reached by the player and by the ghost.
using ReachedCells = long[GridSize][GridSize];

struct Ghost {
    bool running = false;
    DriveRecord drive;
    std::size_t nextPress = 0;
    long framesMoved = 0;
    OwnBus bus;
    ReachedCells playerReached;
    ReachedCells ghostReached;
    bool hasDifference = false;
    long difference = 0;          // frames, positive when the player is behind
    // The bus on the picture, its points moved to the picture's corner: a bus that only moved
    // (going straight, or turning by less than a pixel) need not be drawn again.
    bool hasPicture = false;
    BusState onPicture{};
};
Ghost ghost;
bool ghostShown = true;
// --ghost-file and its course.
std::string chosenFile;
int chosenCourse = -1;
// --challenge: the drive itself, with no file of its own.
DriveRecord chosenDrive;
std::string userCourseBestDrive;
std::set<std::string> complaints;

// The ghost's picture, drawn on the key colour; never destroyed (see shared/unreleased.h).
Unreleased<std::unique_ptr<Surface>> picture;

// Once a run for each reason.
GhostStart Complain(GhostStart why, const std::string& what) {
    if (!complaints.insert(what).second) return GhostStart::AlreadyTold;
    std::fprintf(stderr, "quonfel: no ghost: %s\n", Printable(what).c_str());
    return why;
}

// The ghost of the course: the chosen file (or the challenge's drive) on its course, elsewhere
// the best drive.
GhostStart FindGhostDrive(int course, const std::string& mapFileRead, DriveRecord& drive) {
    const bool held = course == chosenCourse && chosenFile.empty();
    std::string keyFile = held ? "the challenge" : course == chosenCourse ? chosenFile : BestDriveFileName(course);
    if (course != chosenCourse && course == UserMapCourse && !userCourseBestDrive.empty()) keyFile = userCourseBestDrive;
    std::error_code unknown;
    if (course != chosenCourse && !std::filesystem::exists(keyFile, unknown))
        return Complain(GhostStart::NoDriveYet, "no best drive of course " + std::to_string(course) + " yet");
    std::string mapFile, error;
    if (held) {
        drive = chosenDrive;
    } else if (!ReadCheckedDrive(keyFile, drive, mapFile, error)) {
        const bool otherCourse = error.find(kDrivenOnAnotherCourse) != std::string::npos;
        return Complain(otherCourse ? GhostStart::OtherCourse : GhostStart::Unreadable, error);
    }
    if (drive.course != course)
        return Complain(GhostStart::OtherCourse,
                        keyFile + ": a drive of course " + std::to_string(drive.course) + ", not " + std::to_string(course));
    std::uint64_t hash = 0;
    if (!HashDrivenCourse(course, mapFileRead, hash) || hash != drive.courseHash)
        return Complain(GhostStart::OtherCourse, keyFile + ": " + kDrivenOnAnotherCourse + mapFileRead);
    return GhostStart::Racing;
}

void ForgetCells(ReachedCells& cells) {
    for (auto& column : cells)
        for (long& frame : column) frame = kNotReached;
}

bool OnGrid(int x, int y) { return x >= 0 && x < GridSize && y >= 0 && y < GridSize; }

// The first to reach a cell only notes it; the second learns the difference.
void Reach(ReachedCells& mine, const ReachedCells& theirs, int x, int y, long frame, int playerSide) {
    if (!OnGrid(x, y) || mine[x][y] != kNotReached) return;
    mine[x][y] = frame;
    if (theirs[x][y] == kNotReached) return;
    ghost.hasDifference = true;
    ghost.difference = playerSide * (frame - theirs[x][y]);
}

void NoteCellsReached() {
    const long frame = ghost.framesMoved - 1;
    Reach(ghost.playerReached, ghost.ghostReached, courseMap->currentCellX, courseMap->currentCellY, frame, 1);
    Reach(ghost.ghostReached, ghost.playerReached, ghost.bus.cellX, ghost.bus.cellY, frame, -1);
}

// Halfway to a pale blue: a ghost of the player's own bus type reads as another bus.
Colorref Tinted(Colorref colour) {
    return Rgb((RedOf(colour) + RedOf(kGhostTint)) / 2, (GreenOf(colour) + GreenOf(kGhostTint)) / 2,
               (BlueOf(colour) + BlueOf(kGhostTint)) / 2);
}

// Whether the bus drawing of two states is the same: it draws their points and nothing else.
bool SameDrawing(const BusState& a, const BusState& b) {
    return a.outlineCount == b.outlineCount && std::memcmp(a.outline, b.outline, sizeof a.outline) == 0 &&
           std::memcmp(a.frontWheelLine, b.frontWheelLine, sizeof a.frontWheelLine) == 0 &&
           std::memcmp(a.options, b.options, sizeof a.options) == 0;
}

// The ghost's bus on its picture, drawn the way the player's is drawn, with the top left of
// its bounds at the picture's.
void DrawPicture(const Rect& bounds) {
    BusState onPicture = ghost.bus.frame;
    ShiftBusState(onPicture, bounds.left, bounds.top);
    if (ghost.hasPicture && SameDrawing(onPicture, ghost.onPicture)) return;
    ghost.hasPicture = true;
    ghost.onPicture = onPicture;
    for (BusOption& option : onPicture.options) option.colour = Tinted(option.colour);
    picture.objects->FillRect({0, 0, bounds.Width(), bounds.Height()}, ColourKeyMagenta);
    DrawBusOn(*picture.objects, onPicture, Tinted(ghost.bus.geometry.bodyColour));
}

// The course view's layer beneath the player's bus: the ghost, half its own colours and half
// the ground's.
void DrawGhostBeneathBus(Surface& into, Point shift, const Rect& clip) {
    if (!ghost.running || !ghostShown || !picture.objects || !courseMap) return;
    const Rect bounds = BusDrawingBounds(ghost.bus.frame);
    const int x = TileSize * (ghost.bus.cellX - courseMap->currentCellX) + shift.x + bounds.left;
    const int y = TileSize * (ghost.bus.cellY - courseMap->currentCellY) + shift.y + bounds.top;
    if (Intersection(clip, {x, y, x + bounds.Width(), y + bounds.Height()}).IsEmpty()) return;
    DrawPicture(bounds);
    into.MixFastWithin(clip, x, y, *picture.objects, {0, 0, bounds.Width(), bounds.Height()});
}

// A smaller square inside the slot, so that the player's own square shows around it.
void DrawMinimapDot() {
    Rect dot = MinimapCellSquare(ghost.bus.cellX, ghost.bus.cellY);
    if (dot.IsEmpty()) return;
    offscreen->FillRect({dot.left + 2, dot.top + 2, dot.right - 2, dot.bottom - 2}, kGhostWhite);
}

// On a black box in the top right corner of the course view, as the stopwatch's digits.
void DrawDifference() {
    if (!ghost.hasDifference) return;
    const std::shared_ptr<Font> font = Font::Create(kDifferenceFace, kDifferenceHeight, FW_BOLD);
    const Colorref ink = ghost.difference > 0 ? kBehind : kAhead;
    const Surface* text = font ? font->TextBox(DifferenceText(ghost.difference), ink, kDifferencePaper) : nullptr;
    if (!text) return;
    const int right = WindowOrigin.x + CourseViewOnScreen.right - kDifferenceMargin;
    const int top = WindowOrigin.y + CourseViewOnScreen.top + kDifferenceMargin;
    const Rect box{right - text->Width() - 2 * kDifferencePadding, top, right, top + font->Height() + 2 * kDifferencePadding};
    offscreen->FillRect(box, kDifferencePaper);
    const Rect whole{0, 0, text->Width(), std::min(text->Height(), font->Height())};
    offscreen->BltFast(box.left + kDifferencePadding, top + kDifferencePadding, *text, whole, false);
}

}  // namespace

bool PrepareGhostFile(const std::string& keyFile, std::string& error) {
    DriveRecord drive;
    std::string mapFile;
    if (!ReadCheckedDrive(keyFile, drive, mapFile, error)) return false;
    chosenFile = keyFile;
    chosenCourse = drive.course;
    return true;
}

void PrepareGhostDrive(const DriveRecord& drive) {
    chosenFile.clear();
    chosenCourse = drive.course;
    chosenDrive = drive;
}

void UseBestDriveOfUserCourse(const std::string& keyFile) { userCourseBestDrive = keyFile; }

GhostStart BeginGhost(bool on, int course, const std::string& mapFileRead) {
    ghost.running = false;
    beneathTheBus = nullptr;
    DriveRecord drive;
    if (!on || !courseMap) return GhostStart::Off;
    const GhostStart found = FindGhostDrive(course, mapFileRead, drive);
    if (found != GhostStart::Racing) return found;
    if (!picture.objects) picture.objects = Surface::Create(kPictureSide, kPictureSide);
    if (!picture.objects) return GhostStart::Off;
    picture.objects->SetColourKey(ColourKeyMagenta);
    ghost = Ghost{};
    ghost.drive = std::move(drive);
    ForgetCells(ghost.playerReached);
    ForgetCells(ghost.ghostReached);
    SetUpBus(ghost.bus.Records(), ghost.drive.busType);
    ghost.running = true;
    beneathTheBus = DrawGhostBeneathBus;
    return GhostStart::Racing;
}

bool GhostRunning() { return ghost.running; }

const BusState* GhostBus(int& cellX, int& cellY) {
    cellX = ghost.bus.cellX;
    cellY = ghost.bus.cellY;
    return ghost.running ? &ghost.bus.live : nullptr;
}

void MoveGhost() {
    if (!ghost.running || !courseMap) return;
    OwnBus& own = ghost.bus;
    const std::vector<KeyPress>& presses = ghost.drive.presses;
    while (ghost.nextPress < presses.size() && presses[ghost.nextPress].frame <= ghost.framesMoved)
        ApplyControlKey(own.live, presses[ghost.nextPress++].key, own.maxSteer);
    courseMap->MoveBus(own.Records(), own.cellX, own.cellY);
    ++ghost.framesMoved;
}

void ShowGhostRace() {
    if (!ghost.running || !courseMap || !offscreen) return;
    NoteCellsReached();
    if (!ghostShown) return;
    DrawMinimapDot();
    DrawDifference();
}

// A G in a drive without a ghost would otherwise hide the ghost of a later drive unseen.
void ToggleGhostShown() {
    if (ghost.running) ghostShown = !ghostShown;
}

bool GhostDifference(long& frames) {
    frames = ghost.difference;
    return ghost.running && ghost.hasDifference;
}

std::string DifferenceText(long frames) {
    // Tenths of a second, rounded to the nearest.
    const long tenths = (20 * (frames < 0 ? -frames : frames) + kFramesPerSecond) / (2 * kFramesPerSecond);
    const char* sign = tenths == 0 ? "" : (frames > 0 ? "+" : "-");
    return sign + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}
