#include "maptool/editor_view.h"

#include <algorithm>

#include "maptool/course_route.h"
#include "platform/draw_context.h"

namespace {
constexpr int Margin = 8;  // around the course in its area
constexpr int LineHeight = 18;
constexpr int TextLeft = 6;
// Latin letters only, in a face that draws a backslash as one (the Japanese gothic draws a yen
// sign); its 13-pixel size is the largest whose line fits a 16-pixel cell.
constexpr const char* TextFace = "DejaVu Sans Mono";
constexpr int TextCell = 16;

constexpr Colorref Backdrop = Rgb(32, 32, 32);
constexpr Colorref PanelFace = Rgb(48, 48, 48);
constexpr Colorref GridLine = Rgb(40, 90, 34);
constexpr Colorref CourseEdge = Rgb(255, 255, 255);
constexpr Colorref ProblemMark = Rgb(255, 40, 200);
constexpr Colorref WarningMark = Rgb(255, 160, 0);
constexpr Colorref CursorMark = Rgb(255, 255, 0);
constexpr Colorref SelectionMark = Rgb(0, 230, 255);
constexpr Colorref BusBody = Rgb(255, 230, 0);
constexpr Colorref BusTrail = Rgb(0, 160, 255);
constexpr Colorref Ink = Rgb(230, 230, 230);
constexpr Colorref DimInk = Rgb(160, 160, 160);
constexpr Colorref GoodInk = Rgb(90, 230, 90);
constexpr Colorref Black = Rgb(0, 0, 0);

// The palette: two columns of entries, a picture at the smallest zoom and its code and symbol.
constexpr int PaletteLeft = 748;
constexpr int PaletteTop = 22;
constexpr int EntryWidth = 104;
constexpr int EntryHeight = 36;
constexpr int PaletteColumns = 2;
constexpr int PaletteBottom = PaletteTop + EntryHeight * TileCodeCount / PaletteColumns;
// Under it: the piece's meaning, then a row of + and - for each side of the course.
constexpr int MeaningTop = PaletteBottom + 4;
constexpr int SizeTop = MeaningTop + 2 * LineHeight + 4;
constexpr int ButtonWidth = 26;
constexpr int GrowButtonLeft = 830;
constexpr int ShrinkButtonLeft = GrowButtonLeft + ButtonWidth + 6;
constexpr int SettingsTop = SizeTop + 5 * LineHeight + 2;

int ZoomIndex(int zoom) {
    for (std::size_t i = 0; i < EditorZooms.size(); ++i)
        if (EditorZooms[i] == zoom) return static_cast<int>(i);
    return 1;
}

// The window point of the course's top-left corner.
Point CourseOrigin(const EditorView& view) {
    return {EditorGridArea.left + Margin - view.scroll.x, EditorGridArea.top + Margin - view.scroll.y};
}

Rect CellRect(const EditorView& view, GridCell cell) {
    const Point origin = CourseOrigin(view);
    const int left = origin.x + cell.x * view.zoom, top = origin.y + cell.y * view.zoom;
    return {left, top, left + view.zoom, top + view.zoom};
}

Point OnScreen(const EditorView& view, Point coursePixel) {
    const Point origin = CourseOrigin(view);
    return {origin.x + coursePixel.x * view.zoom / CourseTileSize, origin.y + coursePixel.y * view.zoom / CourseTileSize};
}

Rect EntryRect(int code) {
    const int left = PaletteLeft + (code % PaletteColumns) * EntryWidth;
    const int top = PaletteTop + (code / PaletteColumns) * EntryHeight;
    return {left, top, left + EntryWidth, top + EntryHeight};
}

Rect ButtonRect(int side, bool grow) {
    const int left = grow ? GrowButtonLeft : ShrinkButtonLeft;
    const int top = SizeTop + (side + 1) * LineHeight;
    return {left, top, left + ButtonWidth, top + LineHeight - 2};
}

class Writer {
public:
    Writer(Surface& screen, const std::shared_ptr<Font>& font) : dc_(screen), font_(font) { dc_.SelectFont(font); }
    // Text on the paper colour, cut short with "..." where it would pass maxWidth.
    void Write(int x, int y, const std::string& text, Colorref ink, Colorref paper, int maxWidth = EditorWidth) {
        dc_.SetTextColor(ink);
        dc_.SetBkColor(paper);
        dc_.TextOut(x, y, Fit(text, maxWidth));
    }
    // Text folded at spaces into at most `lines` lines of maxWidth.
    std::vector<std::string> Fold(const std::string& text, int maxWidth, std::size_t lines) const {
        std::vector<std::string> folded;
        std::size_t start = 0;
        while (start < text.size() && folded.size() < lines) {
            std::size_t end = text.size();
            while (font_->TextWidth(text.substr(start, end - start)) > maxWidth) {
                const std::size_t space = text.rfind(' ', end - 1);
                if (space == std::string::npos || space <= start) break;
                end = space;
            }
            if (folded.size() + 1 == lines) end = text.size();  // the last line takes the rest, cut short
            folded.push_back(text.substr(start, end - start));
            start = text.find_first_not_of(' ', end);
        }
        return folded;
    }

private:
    std::string Fit(std::string text, int maxWidth) const {
        if (font_->TextWidth(text) <= maxWidth) return text;
        while (!text.empty() && font_->TextWidth(text + "...") > maxWidth) text.pop_back();
        return text + "...";
    }
    DrawContext dc_;
    std::shared_ptr<Font> font_;
};

void DrawCourse(Surface& screen, const EditorModel& model, const EditorView& view, const EditorPictures& pictures) {
    const CourseGrid& course = model.Course();
    const TilePictures& tiles = pictures.tiles[ZoomIndex(view.zoom)];
    const Rect source{0, 0, view.zoom, view.zoom};
    for (int x = 0; x < course.xCount; ++x)
        for (int y = 0; y < course.yCount; ++y) {
            const Rect cell = CellRect(view, {x, y});
            if (Intersection(cell, EditorGridArea).IsEmpty()) continue;
            const std::int32_t value = course.At(x, y);
            screen.BltFastWithin(EditorGridArea, cell.left, cell.top, *tiles[IsTileCode(value) ? value : TileEmpty],
                                 source, false);
            screen.FillRect(Intersection({cell.left, cell.top, cell.right, cell.top + 1}, EditorGridArea), GridLine);
            screen.FillRect(Intersection({cell.left, cell.top, cell.left + 1, cell.bottom}, EditorGridArea), GridLine);
        }
    const Rect whole{CellRect(view, {0, 0}).left - 1, CellRect(view, {0, 0}).top - 1,
                     CellRect(view, {course.xCount - 1, course.yCount - 1}).right + 1,
                     CellRect(view, {course.xCount - 1, course.yCount - 1}).bottom + 1};
    OutlineRect(screen, whole, 1, CourseEdge);
}

// Every cell the checker names is framed; those of the finding told below, thickly.
void DrawMarks(Surface& screen, const EditorModel& model, const EditorView& view) {
    const std::vector<CourseFinding>& findings = model.Findings();
    for (std::size_t i = 0; i < findings.size(); ++i) {
        for (const GridCell& cell : findings[i].cells) {
            if (!InGrid(model.Course(), cell.x, cell.y)) continue;
            OutlineRect(screen, CellRect(view, cell), i == view.finding ? 5 : 2,
                  findings[i].Warning() ? WarningMark : ProblemMark);
        }
    }
    if (model.HasSelection()) {
        const CellBlock block = model.Selection();
        const Rect first = CellRect(view, block.first), last = CellRect(view, block.last);
        OutlineRect(screen, {first.left, first.top, last.right, last.bottom}, 3, SelectionMark);
    }
    const Rect cursor = CellRect(view, model.Cursor());
    OutlineRect(screen, cursor, 4, Black);
    OutlineRect(screen, {cursor.left + 1, cursor.top + 1, cursor.right - 1, cursor.bottom - 1}, 2, CursorMark);
}

void DrawBus(Surface& screen, const EditorView& view) {
    DrawContext dc(screen);
    dc.SelectPen(CreatePen(2, BusTrail));
    for (std::size_t i = 0; i + 1 < view.trail.size(); ++i) {
        const Point from = OnScreen(view, view.trail[i]), to = OnScreen(view, view.trail[i + 1]);
        dc.MoveTo(from.x, from.y);
        dc.LineTo(to.x, to.y);
    }
    if (view.bus.empty()) return;
    std::vector<Point> body;
    for (const Point& p : view.bus) body.push_back(OnScreen(view, p));
    dc.SelectPen(CreatePen(1, Black));
    dc.SelectBrush(CreateSolidBrush(BusBody));
    dc.Polygon(body.data(), static_cast<int>(body.size()));
}

void DrawPalette(Surface& screen, Writer& writer, const EditorModel& model, const EditorPictures& pictures) {
    writer.Write(PaletteLeft, 2, "Pieces (Tab, 0-9, R turns)", Ink, PanelFace);
    const TilePictures& small = pictures.tiles[0];
    for (const TileSymbol& tile : TileSymbols()) {
        const Rect entry = EntryRect(tile.code);
        if (tile.code == model.Piece()) screen.FillRect(entry, Rgb(90, 90, 40));
        screen.BltFast(entry.left + 2, entry.top + 2, *small[tile.code], {0, 0, EditorZooms[0], EditorZooms[0]}, false);
        if (tile.code == model.Piece()) OutlineRect(screen, entry, 2, CursorMark);
        const std::string label = (tile.code < 10 ? " " : "") + std::to_string(tile.code) + " " + tile.symbol;
        writer.Write(entry.left + 40, entry.top + 10, label, Ink, tile.code == model.Piece() ? Rgb(90, 90, 40) : PanelFace);
    }
    const std::string meaning = TileSymbols()[model.Piece()].meaning;
    int y = MeaningTop;
    for (const std::string& line : writer.Fold(meaning, EditorPanelArea.Width() - 8, 2)) {
        writer.Write(PaletteLeft, y, line, DimInk, PanelFace, EditorPanelArea.Width() - 8);
        y += LineHeight;
    }
}

void DrawSizeAndSettings(Surface& screen, Writer& writer, const EditorModel& model, const EditorView& view) {
    const CourseGrid& course = model.Course();
    writer.Write(PaletteLeft, SizeTop,
                 "Size " + std::to_string(course.xCount) + " by " + std::to_string(course.yCount) + " (1 to 20)", Ink,
                 PanelFace);
    for (int side = 0; side < 4; ++side) {
        writer.Write(PaletteLeft + 8, SizeTop + (side + 1) * LineHeight, StepOf(side).name, DimInk, PanelFace);
        for (bool grow : {true, false}) {
            const Rect button = ButtonRect(side, grow);
            screen.FillRect(button, Rgb(80, 80, 80));
            writer.Write(button.left + 9, button.top, grow ? "+" : "-", Ink, Rgb(80, 80, 80));
        }
    }
    writer.Write(PaletteLeft, SettingsTop, "Zoom " + std::to_string(view.zoom) + " px (PgUp PgDn)", DimInk, PanelFace);
    writer.Write(PaletteLeft, SettingsTop + LineHeight,
                 "Bus " + std::to_string(view.busType) + " (B), speed x" + std::to_string(view.driveSpeed) + " (F)",
                 DimInk, PanelFace);
}

std::string FindingTitle(const EditorModel& model, std::size_t shown) {
    const std::vector<CourseFinding>& findings = model.Findings();
    const CourseFinding& finding = findings[shown];
    const int problems = model.ProblemCount();
    const int number = static_cast<int>(shown) + 1;
    if (finding.Warning())
        return "Warning " + std::to_string(number - problems) + " of " +
               std::to_string(findings.size() - problems) + " (N: next): ";
    return "Problem " + std::to_string(number) + " of " + std::to_string(problems) + " (N: next): ";
}

std::string CellWords(const EditorModel& model, GridCell cell) {
    const std::int32_t value = model.Course().At(cell.x, cell.y);
    return CellName(cell.x, cell.y) + " " + SymbolOf(value);
}

void DrawStatus(Surface& screen, Writer& writer, const EditorModel& model, const EditorView& view) {
    screen.FillRect(EditorStatusArea, Black);
    const int top = EditorStatusArea.top + 2;
    const int width = EditorWidth - 2 * TextLeft;
    // The message is read whole: when it needs a third line, the finding gives one up.
    const std::vector<std::string> message = writer.Fold(view.message, width, 3);
    const int findingLines = message.size() > 2 ? 1 : 2;
    const std::vector<CourseFinding>& findings = model.Findings();
    if (findings.empty()) {
        writer.Write(TextLeft, top, "Check: no problems; a bus can be test-driven (T) and the course played (P)",
                     GoodInk, Black);
    } else {
        const std::size_t shown = std::min(view.finding, findings.size() - 1);
        const CourseFinding& finding = findings[shown];
        const std::vector<std::string> lines = writer.Fold(FindingTitle(model, shown) + finding.text, width, findingLines);
        for (std::size_t i = 0; i < lines.size(); ++i)
            writer.Write(TextLeft, top + static_cast<int>(i) * LineHeight, lines[i],
                         finding.Warning() ? WarningMark : ProblemMark, Black, width);
    }
    const int messageTop = top + findingLines * LineHeight;
    const Colorref paper = view.prompt ? CursorMark : Black;
    if (view.prompt) screen.FillRect({0, messageTop - 1, EditorWidth, top + 4 * LineHeight - 1}, paper);
    for (std::size_t i = 0; i < message.size(); ++i)
        writer.Write(TextLeft, messageTop + static_cast<int>(i) * LineHeight, message[i], view.prompt ? Black : Ink,
                     paper, width);
    const bool hovering = InGrid(model.Course(), view.hover.x, view.hover.y);
    const std::string where = hovering ? "Pointer at " + CellWords(model, view.hover)
                                       : "Cursor at " + CellWords(model, model.Cursor());
    writer.Write(TextLeft, top + 4 * LineHeight,
                 (model.Unsaved() || view.renamed ? "* " : "") + view.fileName +
                     (view.courseName.empty() ? "" : " \"" + view.courseName + "\"") + " | " + where +
                     " | Ctrl+S save, T test drive, P play, F1 keys",
                 DimInk, Black, width);
}

void DrawHelp(Surface& screen, Writer& writer) {
    const Rect box{24, 16, EditorGridArea.right - 24, EditorGridArea.bottom - 16};
    screen.FillRect(box, Rgb(16, 16, 48));
    OutlineRect(screen, box, 2, Ink);
    int y = box.top + 10;
    writer.Write(box.left + 12, y, "The editor's keys (F1 or Esc closes this)", CursorMark, Rgb(16, 16, 48));
    for (const EditorKey& key : EditorKeys()) {
        y += LineHeight;
        writer.Write(box.left + 12, y, key.keys, Ink, Rgb(16, 16, 48), 190);
        writer.Write(box.left + 210, y, key.does, DimInk, Rgb(16, 16, 48), box.Width() - 222);
    }
}

int CourseExtent(int cells, int zoom) { return cells * zoom + 2 * Margin; }
}  // namespace

bool MakeEditorPictures(TilePictures full, EditorPictures& pictures) {
    for (std::size_t z = 0; z < EditorZooms.size(); ++z) {
        for (int code = 0; code < TileCodeCount; ++code) {
            pictures.tiles[z][code] = EditorZooms[z] == CourseTileSize ? std::move(full[code])
                                                                     : ShrinkTile(*full[code], EditorZooms[z]);
            if (!pictures.tiles[z][code]) return false;
        }
    }
    pictures.font = Font::Create(TextFace, TextCell, FW_NORMAL);
    return pictures.font != nullptr;
}

int NextDriveSpeed(int speed) { return speed >= 8 ? 1 : speed * 2; }

void DrawEditor(Surface& screen, const EditorModel& model, const EditorView& view, const EditorPictures& pictures) {
    screen.FillRect(EditorGridArea, Backdrop);
    DrawCourse(screen, model, view, pictures);
    DrawMarks(screen, model, view);
    DrawBus(screen, view);
    screen.FillRect(EditorPanelArea, PanelFace);
    Writer writer(screen, pictures.font);
    DrawPalette(screen, writer, model, pictures);
    DrawSizeAndSettings(screen, writer, model, view);
    DrawStatus(screen, writer, model, view);
    if (view.help) DrawHelp(screen, writer);
}

bool CellAt(const EditorView& view, const CourseGrid& course, Point at, GridCell& cell) {
    if (!EditorGridArea.Contains(at.x, at.y)) return false;
    const Point origin = CourseOrigin(view);
    const int dx = at.x - origin.x, dy = at.y - origin.y;
    if (dx < 0 || dy < 0) return false;
    cell = {dx / view.zoom, dy / view.zoom};
    return InGrid(course, cell.x, cell.y);
}

int PaletteEntryAt(Point at) {
    for (int code = 0; code < TileCodeCount; ++code)
        if (EntryRect(code).Contains(at.x, at.y)) return code;
    return -1;
}

bool SizeButtonAt(Point at, int& side, bool& grow) {
    for (side = 0; side < 4; ++side)
        for (bool kind : {true, false})
            if (ButtonRect(side, kind).Contains(at.x, at.y)) {
                grow = kind;
                return true;
            }
    return false;
}

bool OnFindingLines(Point at) {
    return at.y >= EditorStatusArea.top && at.y < EditorStatusArea.top + 2 * LineHeight;
}

void ScrollBy(EditorView& view, const CourseGrid& course, int dx, int dy) {
    const int maxX = std::max(0, CourseExtent(course.xCount, view.zoom) - EditorGridArea.Width());
    const int maxY = std::max(0, CourseExtent(course.yCount, view.zoom) - EditorGridArea.Height());
    view.scroll.x = std::clamp(view.scroll.x + dx, 0, maxX);
    view.scroll.y = std::clamp(view.scroll.y + dy, 0, maxY);
}

void ShowCell(EditorView& view, const CourseGrid& course, GridCell cell) {
    const Rect r = CellRect(view, cell);
    int dx = 0, dy = 0;
    if (r.left < EditorGridArea.left) dx = r.left - EditorGridArea.left - Margin;
    if (r.right > EditorGridArea.right) dx = r.right - EditorGridArea.right + Margin;
    if (r.top < EditorGridArea.top) dy = r.top - EditorGridArea.top - Margin;
    if (r.bottom > EditorGridArea.bottom) dy = r.bottom - EditorGridArea.bottom + Margin;
    ScrollBy(view, course, dx, dy);
}

void Zoom(EditorView& view, const CourseGrid& course, int steps, Point at) {
    const int index = std::clamp(ZoomIndex(view.zoom) + steps, 0, static_cast<int>(EditorZooms.size()) - 1);
    const Point origin = CourseOrigin(view);
    // The course pixel (at 128 a tile) under the point stays under it.
    const int courseX = (at.x - origin.x) * CourseTileSize / view.zoom;
    const int courseY = (at.y - origin.y) * CourseTileSize / view.zoom;
    view.zoom = EditorZooms[index];
    view.scroll = {0, 0};
    const Point now = CourseOrigin(view);
    ScrollBy(view, course, now.x + courseX * view.zoom / CourseTileSize - at.x,
             now.y + courseY * view.zoom / CourseTileSize - at.y);
}

void FollowCoursePixel(EditorView& view, const CourseGrid& course, Point coursePixel) {
    const Point at = OnScreen(view, coursePixel);
    const int keep = std::min(EditorGridArea.Width(), EditorGridArea.Height()) / 4;
    int dx = 0, dy = 0;
    if (at.x < EditorGridArea.left + keep) dx = at.x - EditorGridArea.left - keep;
    if (at.x > EditorGridArea.right - keep) dx = at.x - EditorGridArea.right + keep;
    if (at.y < EditorGridArea.top + keep) dy = at.y - EditorGridArea.top - keep;
    if (at.y > EditorGridArea.bottom - keep) dy = at.y - EditorGridArea.bottom + keep;
    ScrollBy(view, course, dx, dy);
}

const std::vector<EditorKey>& EditorKeys() {
    static const std::vector<EditorKey> keys = {
        {"Left button, drag", "paint the chosen piece; on the palette: choose one"},
        {"Right button, drag", "clear to empty ground"},
        {"Arrows", "move the cursor (the course scrolls along)"},
        {"Space, Enter", "lay the chosen piece at the cursor"},
        {"Delete, Backspace", "clear the cell at the cursor"},
        {"Tab, Shift+Tab", "next or previous piece of the palette"},
        {"0, 1, 2", "empty ground, road across, road up and down"},
        {"3, 4, 5, 6", "the curves at a loop's corners, clockwise from its top left"},
        {"7, 8, 9, X", "junction, start, goal (7, 8, 9 again turn them); crossing"},
        {"R", "turn the chosen piece a quarter clockwise"},
        {"Shift+arrow, Shift+drag", "select a rectangle (Esc drops it; Delete clears it)"},
        {"Ctrl+C, Ctrl+X, Ctrl+V", "copy, cut the selection; paste it at the cursor"},
        {"H, V, Shift+R", "mirror left-right, up-down, turn a quarter: the selection or the course"},
        {"Ctrl+arrow", "grow the course by a row or column on that side"},
        {"Ctrl+Shift+arrow", "shrink it by the row or column on that side"},
        {"Ctrl+Z, Ctrl+Y", "undo, redo (Ctrl+Shift+Z redoes too)"},
        {"PgUp, PgDn, Ctrl+wheel", "zoom in, out (32, 64, 128 pixels a tile)"},
        {"Wheel, Shift+wheel", "scroll up and down, left and right"},
        {"N, click the problem", "next problem or warning; its cells framed thickly"},
        {"Ctrl+S", "save the text, and the map file once no problem is left"},
        {"Ctrl+N", "name the course (its \"# name:\" line); Enter keeps the name"},
        {"T", "test drive by the map tool's driver (T or Esc stops it)"},
        {"B, F", "the test drive's bus type (0 to 3), speed (x1 to x8)"},
        {"P", "play: save, then start the game on this course"},
        {"C", "challenge file: the saved course and its best drive"},
        {"F1", "this list"},
        {"Esc", "close this list, take the drive away, or quit"},
    };
    return keys;
}
