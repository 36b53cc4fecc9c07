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
#include "shared/game_folder.h"
#include "shared/outside_text.h"

namespace fs = std::filesystem;

namespace {
constexpr std::int64_t UntilInput = -1;

// The piece each digit chooses (the keypad's too).
constexpr std::int32_t DigitPieces[10] = {0, 1, 2, 7, 8, 9, 10, 11, 18, 22};
constexpr std::int32_t Crossing = 15;

enum class Question { None, SaveBeforeClosing, ReplaceText, ChangedOnDisk };
enum class AfterSave { Nothing, Play, Quit };

struct Editor {
    explicit Editor(const OpenedCourse& opened) : model(opened.course), files(opened.files), header(opened.header),
                                                  replacesOtherText(opened.replacesOtherText) {}
    EditorModel model;
    EditorView view;
    EditorPictures pictures;
    CourseFiles files;  // absolute
    std::string header;
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
    enum class Stroke { None, Paint, Clear } stroke = Stroke::None;
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

void SaveNow(AfterSave after) {
    const SaveOutcome outcome = SaveCourse(editor->files, editor->header, editor->model);
    Say(outcome.line);
    if (outcome.textSaved) {
        editor->model.MarkSaved();
        editor->textKnown = TextOnDisk(editor->files.text);
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
    editor->header = opened.header;
    editor->replacesOtherText = false;
    editor->textKnown = TextOnDisk(editor->files.text);
    CourseChanged();
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
    if (!editor->model.Unsaved()) return Quit();
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
    const std::string summary = DriveSummary(editor->view.fileName, editor->busTypeDriven, editor->model.Course(),
                                             editor->drive->Result());
    editor->drive.reset();  // the bus stays where it ended
    // A question asked meanwhile keeps the status line: only its answer may take it.
    if (editor->question == Question::None) Say("Test drive: " + summary);
    std::cout << summary << std::endl;
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

// The junction, start and goal keys pressed again turn the piece they chose.
void PickByDigit(int digit) {
    EditorModel& model = editor->model;
    const std::int32_t piece = DigitPieces[digit];
    std::int32_t turned = piece;
    for (int turns = 0; turns < 4 && digit >= 7; ++turns, turned = TurnedPiece(turned))
        if (turned == model.Piece()) return model.TurnPiece();
    model.Pick(piece);
}

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
    }
}

void ChangeAtCursor(bool place) {
    EditorModel& model = editor->model;
    if (place ? model.PlaceAtCursor() : model.ClearAtCursor()) CourseChanged();
}

bool CourseKey(int key, bool shift) {
    EditorModel& model = editor->model;
    if (IsArrow(key)) {
        const SideStep& step = StepOf(SideOfArrow(key));
        model.MoveCursor(step.dx, step.dy);
        ShowCursor();
    } else if (key == VK_SPACE || key == VK_RETURN) {
        ChangeAtCursor(true);
    } else if (key == VK_DELETE || key == VK_BACK) {
        ChangeAtCursor(false);
    } else if (key == VK_TAB) {
        model.PickNext(shift ? -1 : 1);
    } else if (key >= '0' && key <= '9') {
        PickByDigit(key - '0');
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
        PickByDigit(key - VK_NUMPAD0);
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
        view.driveSpeed = view.driveSpeed >= 8 ? 1 : view.driveSpeed * 2;
    } else if (key == 'P') {
        Save(AfterSave::Play);
    } else if (key == VK_F1) {
        view.help = !view.help;
    } else if (key == VK_ESCAPE) {
        if (view.help) {
            view.help = false;
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
    } else if (CellAt(editor->view, editor->model.Course(), at, cell)) {
        BeginStroke(Editor::Stroke::Paint, cell);
    }
}

void OnMove(Point at, WParam keys) {
    GridCell cell{-1, -1};
    if (!CellAt(editor->view, editor->model.Course(), at, cell)) cell = {-1, -1};
    if (!(editor->view.hover == cell)) editor->redraw = true;
    editor->view.hover = cell;
    const bool held = editor->stroke == Editor::Stroke::Paint ? (keys & MK_LBUTTON) != 0 : (keys & MK_RBUTTON) != 0;
    if (editor->stroke == Editor::Stroke::None) return;
    if (!held) return EndStroke();
    if (InGrid(editor->model.Course(), cell.x, cell.y)) StrokeTo(cell);
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
    // A question waits for its key; the mouse changes nothing meanwhile.
    const bool asking = editor->question != Question::None;
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
    case WM_ACTIVATE:
        if (wParam == WA_ACTIVE) OnFocusBack();
        return 0;
    case WM_CLOSE: RequestClose(); return 0;
    case WM_DESTROY: window->PostQuitMessage(0); return 0;
    default: return window->DefWindowProc(message, wParam, lParam);
    }
}

// ---- Start and loop --------------------------------------------------------------------

bool ReadEditArguments(const std::vector<std::string>& args, std::string& path, DisplayOptions& display) {
    Settings settings = LoadPreferences();
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--scale") {
            if (++i >= args.size() || !ReadScale(args[i], settings)) return false;
        } else if (args[i].rfind("--scale=", 0) == 0) {
            if (!ReadScale(args[i].substr(8), settings)) return false;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1 || files[0].empty() || files[0][0] == '-') return false;
    path = files[0];
    display = settings.display;
    display.fullscreen = false;
    display.framed = true;
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
    DisplayOptions display;
    if (!ReadEditArguments(args, path, display)) {
        std::cerr << "usage: quonfel-map edit FILE [--scale N|auto]\n";
        return ExitUsage;
    }
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
    e.programFolder = programFolder;
    e.view.fileName = path;
    Say(Opening(opened, path));
    if (!MakeEditorPictures(std::move(tiles), e.pictures) || !OpenWindow(e, display)) {
        std::cerr << "quonfel-map: cannot open the editor's window\n";
        return ExitUsage;
    }
    const int status = RunLoop(e);
    e.drive.reset();
    e.window.reset();
    editor = nullptr;
    return status;
}
