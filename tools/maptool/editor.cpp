#include "maptool/editor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/app.h"
#include "app/preferences.h"
#include "maptool/course_route.h"
#include "maptool/drive_session.h"
#include "maptool/editor_files.h"
#include "maptool/editor_view.h"
#include "maptool/exit_status.h"
#include "platform/process.h"
#include "platform/window.h"
#include "records/shelf.h"
#include "replays/challenge.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"
#include "shared/texts.h"

namespace fs = std::filesystem;

namespace {
constexpr std::int64_t UntilInput = -1;

constexpr std::int32_t Crossing = 15;

enum class Question { None, SaveBeforeClosing, ReplaceText, ChangedOnDisk };
enum class AfterSave { Nothing, Play, Quit };

struct Editor {
    explicit Editor(const OpenedCourse& opened) : model(opened.course), files(opened.files), header(opened.header),
                                                  savedHeader(opened.header), replacesOtherText(opened.replacesOtherText) {}
    EditorModel model;
    EditorView view;
    EditorPictures pictures;
    CourseFiles files;  // absolute
    std::string header;
    std::string savedHeader;  // as last saved or opened: a new name is a change to save
    std::string nameDraft;    // the name being typed
    bool naming = false;
    bool replacesOtherText;
    // The course text as this editor last read or wrote it, and as it was when a change by
    // another program was last asked about: a save never writes over a change unasked, and
    // the focus coming back asks once per change.
    std::optional<std::string> textKnown;
    std::optional<std::string> textNoticed;
    std::string programFolder;
    std::unique_ptr<Window> window;
    std::unique_ptr<Surface> screen;
    std::unique_ptr<DriveRun> drive;  // the test drive
    int busTypeDriven = 0;
    Question question = Question::None;
    AfterSave afterSave = AfterSave::Nothing;
    enum class Stroke { None, Paint, Clear, Select } stroke = Stroke::None;
    GridCell lastStroked{0, 0};
    bool redraw = true;
};
Editor* editor = nullptr;  // the one the window procedure works on

void Say(const std::string& message) {
    editor->view.message = message;
    editor->view.prompt = false;
}

void Ask(Question question, const std::string& words) {
    editor->question = question;
    editor->view.message = words;
    editor->view.prompt = true;
}

void StopDrive() {
    editor->drive.reset();
    editor->view.bus.clear();
    editor->view.trail.clear();
}

// After every change of the course: a drive shown belongs to the course before.
void CourseChanged() {
    if (editor->drive || !editor->view.bus.empty()) StopDrive();
    editor->view.finding = 0;
}

void Quit() { editor->window->Destroy(); }

bool Unsaved() { return editor->model.Unsaved() || editor->header != editor->savedHeader; }

// The course's name, which the window's title and the file line show.
void ShowName() {
    const std::string name = Printable(CourseNameOf(editor->header));
    editor->view.courseName = name;
    editor->view.renamed = editor->header != editor->savedHeader;
    if (editor->window)
        editor->window->SetTitle("quonfel-map edit " + editor->view.fileName + (name.empty() ? "" : ": " + name));
}

// ---- Saving and playing -----------------------------------------------------------------

std::string Name(const std::string& path) { return fs::path(path).filename().string(); }

// The game beside the map tool: the program itself in a build, the launcher once installed;
// both run as if started from that folder.
void PlayTheMap() {
    const std::string game = (fs::path(editor->programFolder) / "quonfel").string();
    if (!IsExecutableFile(game)) return Say("Not played: there is no game program " + game);
    const int error = StartDetachedProgram({game, "--map", editor->files.map}, editor->programFolder);
    if (error != 0) return Say("Not played: cannot start " + game + " (" + std::strerror(error) + ")");
    Say("Playing " + Name(editor->files.map) + " in the game (quonfel --map " + editor->files.map + ")");
    std::cout << "playing: " << Printable(game) << " --map " << Printable(editor->files.map) << std::endl;
}

// The folders the game plays in: beside the map tool (a build), and the player's own folder
// that the installed launcher starts it in.
std::vector<std::string> GameFolders() {
    std::vector<std::string> folders = {editor->programFolder};
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && data[0] == '/') folders.push_back(std::string(data) + "/quonfel");
    else if (home && home[0] == '/') folders.push_back(std::string(home) + "/.local/share/quonfel");
    return folders;
}

// C: the saved course and its best drive in the game, as one challenge file beside the text.
void ShareTheCourse() {
    if (editor->model.Unsaved() || editor->model.ProblemCount() > 0)
        return Say("Not shared: save the course, with no problem left, first (Ctrl+S)");
    std::uint64_t hash = 0;
    if (!HashUserCourseFile(editor->files.map, hash)) return Say("Not shared: " + Name(editor->files.map) + " cannot be read");
    const std::string out = fs::path(editor->files.text).replace_extension(kChallengeExtension).string();
    const std::string shelfDrive = fs::path(ShelfBestDriveFile(hash)).filename().string();
    for (const std::string& folder : GameFolders()) {
        for (const std::string& name : {shelfDrive, std::string("best-11.keys")}) {
            const std::string keys = (fs::path(folder) / name).string();
            Challenge challenge;
            std::error_code error;
            // A best drive of another course is no fault: the next one may be of this one.
            if (!fs::exists(keys, error) || !MakeChallenge(editor->files.text, keys, challenge).empty()) continue;
            const std::string problem = WriteChallengeFile(out, challenge);
            return Say(problem.empty() ? "Challenge written: " + Name(out) + ", with the best drive " + keys
                                       : "Not shared: " + problem);
        }
    }
    Say("Not shared: no best drive of this course in the game yet; drive it to the goal (P) first");
}

void SaveNow(AfterSave after) {
    const SaveOutcome outcome = SaveCourse(editor->files, editor->header, editor->model);
    Say(outcome.line);
    if (outcome.textSaved) {
        editor->model.MarkSaved();
        editor->textKnown = TextOnDisk(editor->files.text);
        editor->savedHeader = editor->header;
        ShowName();
    }
    if (after == AfterSave::Quit && outcome.textSaved) return Quit();
    if (after == AfterSave::Play) {
        if (outcome.mapSaved) return PlayTheMap();
        Say(outcome.line + "; not played");
    }
}

bool ChangedOnDisk() {
    const std::optional<std::string> now = TextOnDisk(editor->files.text);
    return now && now != editor->textKnown;
}

void AskAboutChangeOnDisk() {
    editor->textNoticed = TextOnDisk(editor->files.text);
    Ask(Question::ChangedOnDisk, Name(editor->files.text) + " was changed by another program: Y writes this course "
                                 "over it, R reloads it (changes here are lost), N or Esc does neither");
}

// The window coming back into focus: the maker may have changed the text elsewhere.
void OnFocusBack() {
    if (editor->question == Question::None && ChangedOnDisk() && TextOnDisk(editor->files.text) != editor->textNoticed)
        AskAboutChangeOnDisk();
}

void Reload() {
    OpenedCourse opened;
    std::vector<std::string> problems;
    if (!OpenCourse(editor->files.text, opened, problems))
        return Say("Not reloaded: " + Name(editor->files.text) + (problems.empty() ? "" : ": " + problems.front()));
    editor->model = EditorModel(opened.course);
    editor->model.SetReadFlaws(opened.readFlaws);
    editor->header = editor->savedHeader = opened.header;
    editor->replacesOtherText = false;
    editor->textKnown = TextOnDisk(editor->files.text);
    CourseChanged();
    ShowName();
    Say("Reloaded " + Name(editor->files.text));
}

void Save(AfterSave after) {
    editor->model.EndStroke();
    if (ChangedOnDisk()) {
        editor->afterSave = after;
        return AskAboutChangeOnDisk();
    }
    if (!editor->replacesOtherText) return SaveNow(after);
    editor->afterSave = after;
    Ask(Question::ReplaceText, Name(editor->files.text) + " holds another course than this one: replace it? "
                               "Y replaces it, N or Esc saves nothing");
}

void RequestClose() {
    editor->model.EndStroke();
    if (!Unsaved()) return Quit();
    Ask(Question::SaveBeforeClosing, "Unsaved changes: Y saves them and quits, N quits without saving, Esc stays");
}

void Answer(int key) {
    const bool yes = key == 'Y', cancel = key == VK_ESCAPE;
    const Question question = editor->question;
    editor->question = Question::None;
    Say("");
    if (question == Question::ChangedOnDisk) {
        if (key == 'R') return Reload();
        if (!yes) return Say("Nothing saved or reloaded: " + Name(editor->files.text) + " changed elsewhere");
        editor->textKnown = TextOnDisk(editor->files.text);
        return Save(editor->afterSave);
    }
    if (question == Question::SaveBeforeClosing) {
        if (cancel) return;
        if (!yes) return Quit();
        return Save(AfterSave::Quit);
    }
    if (question == Question::ReplaceText) {
        if (!yes) return Say("Nothing saved: " + Name(editor->files.text) + " kept as it was");
        editor->replacesOtherText = false;
        SaveNow(editor->afterSave);
    }
}

// ---- The test drive --------------------------------------------------------------------

void StartDrive() {
    StopDrive();
    editor->model.EndStroke();
    if (editor->model.ProblemCount() > 0)
        return Say("Test drive: not driven while the check finds " + std::to_string(editor->model.ProblemCount()) +
                   " problem(s)");
    editor->busTypeDriven = editor->view.busType;
    editor->drive = DriveOfHeldCourse(editor->model.Course(), editor->busTypeDriven);
    Say("Test drive with bus type " + std::to_string(editor->busTypeDriven) + " ... (T or Esc stops it, F: faster)");
}

void EndDrive() {
    const DriveResult result = editor->drive->Result();
    editor->drive.reset();  // the bus stays where it ended
    std::cout << DriveSummary(editor->view.fileName, editor->busTypeDriven, editor->model.Course(), result) << std::endl;
    // A question asked meanwhile keeps the status line: only its answer may take it. The file's
    // name is on the line below, so the whole result fits the status lines.
    if (editor->question == Question::None)
        Say("Test drive, " + DriveOutcome(editor->busTypeDriven, editor->model.Course(), result));
}

void DriveFrame() {
    for (int i = 0; i < editor->view.driveSpeed && editor->drive; ++i) {
        const bool going = editor->drive->Step();
        editor->view.bus = editor->drive->BodyOutline();
        const BusPose pose = editor->drive->Pose();
        const Point axle{static_cast<int>(pose.x), static_cast<int>(pose.y)};
        std::vector<Point>& trail = editor->view.trail;
        if (trail.empty() || std::abs(axle.x - trail.back().x) + std::abs(axle.y - trail.back().y) >= 4)
            trail.push_back(axle);
        if (!going) EndDrive();
    }
    if (!editor->view.trail.empty()) FollowCoursePixel(editor->view, editor->model.Course(), editor->view.trail.back());
    editor->redraw = true;
}

// ---- The course's name -----------------------------------------------------------------

constexpr std::size_t LongestName = 40;

void ShowNameDraft() {
    Ask(Question::None, "Course name: " + editor->nameDraft + "_   (Enter keeps it, Esc leaves the name as it was)");
}

void StartNaming() {
    editor->naming = true;
    editor->nameDraft = CourseNameOf(editor->header);
    ShowNameDraft();
}

// The letter a key types: letters (capitals with Shift), digits, space, '-' and '_'.
char TypedLetter(int key, bool shift) {
    if (key >= 'A' && key <= 'Z') return static_cast<char>(shift ? key : key - 'A' + 'a');
    if ((key >= '0' && key <= '9') || key == VK_SPACE) return static_cast<char>(key);
    if (key == VK_OEM_MINUS) return shift ? '_' : '-';
    return 0;
}

// A name read from a file may hold any UTF-8: Backspace takes a whole letter.
void DropLastLetter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
}

void NameKey(int key, bool shift) {
    std::string& draft = editor->nameDraft;
    if (key == VK_ESCAPE || key == VK_RETURN) {
        editor->naming = false;
        if (key == VK_ESCAPE) return Say("The name stays as it was");
        const std::size_t first = draft.find_first_not_of(' ');
        draft = first == std::string::npos ? "" : draft.substr(first, draft.find_last_not_of(' ') - first + 1);
        editor->header = WithCourseName(editor->header, draft);
        ShowName();
        return Say(draft.empty() ? "The course has no name now; Ctrl+S saves that"
                                 : "Named \"" + draft + "\"; Ctrl+S saves the name with the course");
    }
    if (key == VK_BACK) DropLastLetter(draft);
    else if (const char letter = TypedLetter(key, shift); letter != 0 && draft.size() < LongestName) draft += letter;
    ShowNameDraft();
}

// ---- Keys ------------------------------------------------------------------------------

bool Held(int key) { return (editor->window->KeyState(key) & 0x80) != 0; }

int SideOfArrow(int key) {
    switch (key) {
    case VK_UP: return SideTop;
    case VK_DOWN: return SideBottom;
    case VK_LEFT: return SideLeft;
    default: return SideRight;
    }
}

bool IsArrow(int key) { return key >= VK_LEFT && key <= VK_DOWN; }

void ShowCursor() { ShowCell(editor->view, editor->model.Course(), editor->model.Cursor()); }

void ShowNextFinding() {
    EditorModel& model = editor->model;
    if (model.Findings().empty()) return;
    editor->view.finding = (editor->view.finding + 1) % model.Findings().size();
    const CourseFinding& finding = model.Findings()[editor->view.finding];
    if (!finding.cells.empty() && InGrid(model.Course(), finding.cells[0].x, finding.cells[0].y)) {
        model.SetCursor(finding.cells[0]);
        ShowCursor();
    }
}

void ChangeSize(int side, bool grow) {
    EditorModel& model = editor->model;
    const bool done = grow ? model.Grow(side) : model.Shrink(side);
    if (!done) return Say(grow ? "The course is 20 cells across or high at most" : "The course keeps 1 cell at least");
    CourseChanged();
    Say("");
    ScrollBy(editor->view, model.Course(), 0, 0);
}

std::string BlockWords(int width, int height) {
    return std::to_string(width) + " by " + std::to_string(height) + " cells";
}

void ClipboardKey(int key) {
    EditorModel& model = editor->model;
    const CellBlock block = model.Selection();
    if (key == 'V') {
        if (!model.Paste()) return Say("Nothing to paste: select cells (Shift+arrows or Shift+drag), then Ctrl+C");
        model.DropSelection();
        CourseChanged();
        return Say("Pasted at " + CellName(model.Cursor().x, model.Cursor().y) + " (Ctrl+Z takes it back)");
    }
    const bool cut = key == 'X';
    if (!(cut ? model.Cut() : model.Copy())) return Say("Nothing selected: Shift+arrows or Shift+drag select cells");
    if (cut) CourseChanged();
    Say((cut ? "Cut " : "Copied ") + BlockWords(block.Width(), block.Height()) + "; Ctrl+V pastes at the cursor");
}

// Of the selection, or of the whole course when none is chosen.
void MirrorOrTurn(int key) {
    EditorModel& model = editor->model;
    const std::string what = model.HasSelection() ? "the selection" : "the course";
    if (key == 'R') {
        if (!model.Turn()) return Say("The selection does not fit on the course turned here");
        Say("Turned " + what + " a quarter clockwise");
    } else {
        model.Mirror(key == 'H');
        Say("Mirrored " + what + (key == 'H' ? " left-right" : " up-down"));
    }
    CourseChanged();
    ScrollBy(editor->view, model.Course(), 0, 0);
}

void ControlKey(int key, bool shift) {
    EditorModel& model = editor->model;
    if (key == 'S') {
        Save(AfterSave::Nothing);
    } else if (key == 'Z' || key == 'Y') {
        const bool redo = key == 'Y' || shift;
        if (redo ? model.Redo() : model.Undo()) {
            CourseChanged();
            Say(redo ? "Redone" : "Undone");
            ShowCursor();
        } else {
            Say(redo ? "Nothing to redo" : "Nothing to undo");
        }
    } else if (IsArrow(key)) {
        ChangeSize(SideOfArrow(key), !shift);
    } else if (key == 'C' || key == 'X' || key == 'V') {
        ClipboardKey(key);
    } else if (key == 'N') {
        StartNaming();
    }
}

void ChangeAtCursor(bool place) {
    EditorModel& model = editor->model;
    if (place ? model.PlaceAtCursor() : model.ClearAtCursor()) CourseChanged();
}

bool CourseKey(int key, bool shift) {
    EditorModel& model = editor->model;
    if (IsArrow(key)) {
        if (!shift) model.DropSelection();
        else if (!model.HasSelection()) model.StartSelection();
        const SideStep& step = StepOf(SideOfArrow(key));
        model.MoveCursor(step.dx, step.dy);
        ShowCursor();
    } else if (key == VK_SPACE || key == VK_RETURN) {
        ChangeAtCursor(true);
    } else if ((key == VK_DELETE || key == VK_BACK) && model.HasSelection()) {
        if (model.DeleteSelection()) CourseChanged();
    } else if (key == VK_DELETE || key == VK_BACK) {
        ChangeAtCursor(false);
    } else if (key == 'H' || key == 'V' || (key == 'R' && shift)) {
        MirrorOrTurn(key);
    } else if (key == VK_TAB) {
        model.PickNext(shift ? -1 : 1);
    } else if (key >= '0' && key <= '9') {
        model.PickByDigit(key - '0');
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
        model.PickByDigit(key - VK_NUMPAD0);
    } else if (key == 'X') {
        model.Pick(Crossing);
    } else if (key == 'R') {
        model.TurnPiece();
    } else if (key == 'N') {
        ShowNextFinding();
    } else {
        return false;
    }
    return true;
}

bool ViewKey(int key) {
    EditorView& view = editor->view;
    const Point centre{EditorGridArea.Width() / 2, EditorGridArea.Height() / 2};
    if (key == VK_PRIOR || key == VK_NEXT) {
        Zoom(view, editor->model.Course(), key == VK_PRIOR ? 1 : -1, centre);
        ShowCursor();
    } else if (key == 'T') {
        if (editor->drive) {
            StopDrive();
            Say("Test drive stopped");
        } else {
            StartDrive();
        }
    } else if (key == 'B') {
        view.busType = (view.busType + 1) % 4;
    } else if (key == 'F') {
        view.driveSpeed = NextDriveSpeed(view.driveSpeed);
    } else if (key == 'P') {
        Save(AfterSave::Play);
    } else if (key == 'C') {
        ShareTheCourse();
    } else if (key == VK_F1) {
        view.help = !view.help;
    } else if (key == VK_ESCAPE) {
        if (view.help) {
            view.help = false;
        } else if (editor->model.HasSelection()) {
            editor->model.DropSelection();
        } else if (editor->drive || !view.bus.empty()) {
            StopDrive();
            Say("");
        } else {
            RequestClose();
        }
    } else {
        return false;
    }
    return true;
}

void OnKey(int key) {
    if (editor->naming) return NameKey(key, Held(VK_SHIFT));
    if (editor->question != Question::None) {
        const bool reload = key == 'R' && editor->question == Question::ChangedOnDisk;
        if (key == 'Y' || key == 'N' || key == VK_ESCAPE || reload) Answer(key);
        return;
    }
    const bool shift = Held(VK_SHIFT);
    if (editor->view.help && key != VK_F1 && key != VK_ESCAPE) editor->view.help = false;
    if (Held(VK_CONTROL)) return ControlKey(key, shift);
    if (!CourseKey(key, shift)) ViewKey(key);
}

// ---- Mouse -----------------------------------------------------------------------------

// Every cell on the way from the last one stroked, so a quick drag leaves no gaps.
void StrokeTo(GridCell cell) {
    EditorModel& model = editor->model;
    const std::int32_t code = editor->stroke == Editor::Stroke::Paint ? model.Piece() : TileEmpty;
    GridCell at = editor->lastStroked;
    bool changed = false;
    for (;;) {
        changed |= model.Paint(at, code);
        if (at == cell) break;
        const int dx = cell.x - at.x, dy = cell.y - at.y;
        if (std::abs(dx) >= std::abs(dy)) at.x += dx > 0 ? 1 : -1;
        else at.y += dy > 0 ? 1 : -1;
    }
    editor->lastStroked = cell;
    model.SetCursor(cell);
    if (changed) CourseChanged();
    editor->redraw = true;
}

void BeginStroke(Editor::Stroke stroke, GridCell cell) {
    editor->model.BeginStroke();
    editor->stroke = stroke;
    editor->lastStroked = cell;
    StrokeTo(cell);
}

// Shift and the left button: the corner pressed is the anchor, the pointer's cell the cursor.
void BeginSelection(GridCell cell) {
    EditorModel& model = editor->model;
    model.SetCursor(cell);
    model.StartSelection();
    editor->stroke = Editor::Stroke::Select;
}

void EndStroke() {
    editor->model.EndStroke();
    editor->stroke = Editor::Stroke::None;
}

void OnLeftDown(Point at) {
    EndStroke();
    editor->view.help = false;
    GridCell cell{0, 0};
    int side = 0;
    bool grow = false;
    if (const int code = PaletteEntryAt(at); code >= 0) {
        editor->model.Pick(code);
    } else if (SizeButtonAt(at, side, grow)) {
        ChangeSize(side, grow);
    } else if (OnFindingLines(at)) {
        ShowNextFinding();
    } else if (CellAt(editor->view, editor->model.Course(), at, cell) && Held(VK_SHIFT)) {
        BeginSelection(cell);
    } else if (CellAt(editor->view, editor->model.Course(), at, cell)) {
        editor->model.DropSelection();
        BeginStroke(Editor::Stroke::Paint, cell);
    }
}

void OnMove(Point at, WParam keys) {
    GridCell cell{-1, -1};
    if (!CellAt(editor->view, editor->model.Course(), at, cell)) cell = {-1, -1};
    if (!(editor->view.hover == cell)) editor->redraw = true;
    editor->view.hover = cell;
    const bool held = editor->stroke == Editor::Stroke::Clear ? (keys & MK_RBUTTON) != 0 : (keys & MK_LBUTTON) != 0;
    if (editor->stroke == Editor::Stroke::None) return;
    if (!held) return EndStroke();
    if (!InGrid(editor->model.Course(), cell.x, cell.y)) return;
    if (editor->stroke == Editor::Stroke::Select) return editor->model.SetCursor(cell);
    StrokeTo(cell);
}

void OnWheel(Point at, WParam wParam) {
    const int notches = static_cast<std::int16_t>(wParam >> 16) / WHEEL_DELTA;
    EditorView& view = editor->view;
    if (wParam & MK_CONTROL) Zoom(view, editor->model.Course(), notches, at);
    else if (wParam & MK_SHIFT) ScrollBy(view, editor->model.Course(), -notches * view.zoom, 0);
    else ScrollBy(view, editor->model.Course(), 0, -notches * view.zoom);
}

LParam EditorProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    const Point at{PointParamX(lParam), PointParamY(lParam)};
    editor->redraw = true;
    // A question or a name waits for its keys; the mouse changes nothing meanwhile.
    const bool asking = editor->question != Question::None || editor->naming;
    if (asking && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MOUSEWHEEL)) return 0;
    switch (message) {
    case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
    case WM_LBUTTONDOWN: OnLeftDown(at); return 0;
    case WM_LBUTTONUP: EndStroke(); return 0;
    case WM_RBUTTONDOWN: {
        EndStroke();
        GridCell cell{0, 0};
        if (CellAt(editor->view, editor->model.Course(), at, cell)) BeginStroke(Editor::Stroke::Clear, cell);
        return 0;
    }
    case WM_MOUSEMOVE:
        editor->redraw = false;  // only when the pointer changes cells, or paints
        OnMove(at, wParam);
        return 0;
    case WM_MOUSEWHEEL: OnWheel(at, wParam); return 0;
    case WM_SETFOCUS: OnFocusBack(); return 0;
    case WM_CLOSE: RequestClose(); return 0;
    case WM_DESTROY: window->PostQuitMessage(0); return 0;
    default: return window->DefWindowProc(message, wParam, lParam);
    }
}

// ---- Start and loop --------------------------------------------------------------------

// The game's settings that the editor takes too, from the preferences or its command line.
const SettingRow* EditorSetting(const std::string& option) {
    if (option != "--scale" && option != "--lang") return nullptr;
    for (const SettingRow& row : SettingRows())
        if (option == row.option) return &row;
    return nullptr;
}

// "--scale 2" or "--scale=2", and the one file.
bool ReadEditArguments(const std::vector<std::string>& args, std::string& path, Settings& settings) {
    settings = LoadPreferences();
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::size_t equals = args[i].find('=');
        const SettingRow* setting = EditorSetting(args[i].substr(0, equals));
        if (!setting) {
            files.push_back(args[i]);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) value = args[i].substr(equals + 1);
        else if (++i < args.size()) value = args[i];
        else return false;
        if (!setting->read(value, settings)) return false;
    }
    if (files.size() != 1 || files[0].empty() || files[0][0] == '-') return false;
    path = files[0];
    settings.display.fullscreen = false;
    settings.display.framed = true;
    return true;
}

bool OpenWindow(Editor& e, const DisplayOptions& display) {
    e.window = Window::Create(EditorProc, "quonfel-map", "quonfel-map edit " + e.view.fileName, 0, 0, EditorWidth,
                              EditorHeight, display);
    e.screen = Surface::Create(EditorWidth, EditorHeight);
    if (e.window) e.window->ReportMovesWithoutButtons(true);
    return e.window && e.screen;
}

void Show(Editor& e) {
    DrawEditor(*e.screen, e.model, e.view, e.pictures);
    e.window->Present(*e.screen);
    e.redraw = false;
}

int RunLoop(Editor& e) {
    FramePacer pacer(Clock());
    Message message;
    for (;;) {
        if (e.window->PeekMessage(message)) {
            if (message.message == WM_QUIT) return ExitOk;
            e.window->DispatchMessage(message);
            continue;
        }
        if (e.drive && pacer.FrameDue()) DriveFrame();
        if (e.redraw && !e.window->IsDestroyed()) Show(e);
        e.window->WaitForEvent(e.drive ? pacer.NanosecondsToDeadline() : UntilInput);
    }
}

std::string Opening(const OpenedCourse& opened, const std::string& path) {
    std::string words = opened.isNew ? "New course: " + path + " (saved as " + Name(opened.files.text) + " and " +
                                           Name(opened.files.map) + ")"
                                     : "Opened " + path;
    for (const std::string& note : opened.notes) words += "; " + note;
    return words;
}
}  // namespace

int EditCommand(const std::vector<std::string>& args, const std::string& programFolder,
                const std::string& dataFromProgram) {
    std::string path;
    Settings settings;
    if (!ReadEditArguments(args, path, settings)) {
        std::cerr << "usage: quonfel-map edit FILE [--scale N|auto] [--lang ja|en]\n";
        return ExitUsage;
    }
    GameLanguage = settings.language;  // the start and goal tiles' words
    OpenedCourse opened;
    std::vector<std::string> problems;
    if (!OpenCourse(path, opened, problems)) {
        if (opened.unreadable) {
            std::cerr << "quonfel-map: cannot read " << Printable(path) << (problems.empty() ? "" : ": " + problems[0])
                      << "\n";
            return ExitUsage;
        }
        for (const std::string& problem : FirstProblems(problems)) std::cerr << Printable(path) << ": " << Printable(problem) << "\n";
        std::cerr << "quonfel-map: " << Printable(path) << " cannot be edited\n";
        return ExitProblems;
    }
    TilePictures tiles;
    std::string missing;
    if (!LoadGameTiles(programFolder, dataFromProgram, tiles, missing)) {
        std::cerr << "quonfel-map: " << missing << "\n";
        return ExitUsage;
    }
    SetGameFolder(FindTileFolder(programFolder, dataFromProgram));  // the test drive's pictures
    opened.files = {AbsolutePath(opened.files.text), AbsolutePath(opened.files.map)};
    Editor e(opened);
    e.textKnown = TextOnDisk(e.files.text);
    editor = &e;
    e.model.SetReadFlaws(opened.readFlaws);
    e.programFolder = programFolder;
    e.view.fileName = path;
    Say(Opening(opened, path));
    if (!MakeEditorPictures(std::move(tiles), e.pictures) || !OpenWindow(e, settings.display)) {
        std::cerr << "quonfel-map: cannot open the editor's window\n";
        return ExitUsage;
    }
    ShowName();
    const int status = RunLoop(e);
    e.drive.reset();
    e.window.reset();
    editor = nullptr;
    return status;
}
