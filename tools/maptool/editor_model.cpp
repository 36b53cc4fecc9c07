#include "maptool/editor_model.h"

#include <algorithm>

#include "maptool/course_route.h"

namespace {
// How far the first cell of the course moves on each side's change, and which count changes.
struct SideChange {
    int shiftX;
    int shiftY;
    bool columns;
};
SideChange ChangeOn(int side) {
    switch (side) {
    case SideTop: return {0, 1, false};
    case SideBottom: return {0, 0, false};
    case SideLeft: return {1, 0, true};
    default: return {0, 0, true};
    }
}
// Findings and their cells together: forgetting marks only ever lowers it.
std::size_t MarksOf(const std::vector<CourseFinding>& findings) {
    std::size_t marks = findings.size();
    for (const CourseFinding& finding : findings) marks += finding.cells.size();
    return marks;
}
}  // namespace

bool SameCourse(const CourseGrid& a, const CourseGrid& b) {
    return a.xCount == b.xCount && a.yCount == b.yCount && a.cells == b.cells;
}

std::int32_t TurnedPiece(std::int32_t code) {
    // Each kind of piece in the order a clockwise quarter turn goes through it.
    static const std::vector<std::vector<std::int32_t>> rounds = {
        {1, 2}, {3, 5, 4, 6}, {7, 8, 9, 10}, {11, 12, 13, 14}, {18, 17, 19, 16}, {22, 21, 23, 20}};
    for (const auto& round : rounds) {
        auto at = std::find(round.begin(), round.end(), code);
        if (at != round.end()) return ++at == round.end() ? round.front() : *at;
    }
    return code;
}

std::int32_t MirroredPiece(std::int32_t code, bool leftRight) {
    // Pairs that trade places; every other piece looks the same in that mirror.
    static const std::vector<std::pair<std::int32_t, std::int32_t>> acrossUpright = {
        {3, 4}, {7, 8}, {9, 10}, {12, 14}, {16, 17}, {20, 21}};
    static const std::vector<std::pair<std::int32_t, std::int32_t>> acrossLying = {
        {5, 6}, {7, 10}, {8, 9}, {11, 13}, {18, 19}, {22, 23}};
    for (const auto& [a, b] : leftRight ? acrossUpright : acrossLying) {
        if (code == a) return b;
        if (code == b) return a;
    }
    return code;
}

CourseGrid TurnedCourse(const CourseGrid& course) {
    CourseGrid turned;
    turned.Resize(course.yCount, course.xCount);
    for (int x = 0; x < course.xCount; ++x)
        for (int y = 0; y < course.yCount; ++y) turned.Set(course.yCount - 1 - y, x, TurnedPiece(course.At(x, y)));
    return turned;
}

CourseGrid MirroredCourse(const CourseGrid& course, bool leftRight) {
    CourseGrid mirrored;
    mirrored.Resize(course.xCount, course.yCount);
    for (int x = 0; x < course.xCount; ++x)
        for (int y = 0; y < course.yCount; ++y) {
            const int toX = leftRight ? course.xCount - 1 - x : x, toY = leftRight ? y : course.yCount - 1 - y;
            mirrored.Set(toX, toY, MirroredPiece(course.At(x, y), leftRight));
        }
    return mirrored;
}

CourseGrid CutOut(const CourseGrid& course, const CellBlock& block) {
    CourseGrid piece;
    piece.Resize(block.Width(), block.Height());
    for (int x = 0; x < piece.xCount; ++x)
        for (int y = 0; y < piece.yCount; ++y) piece.Set(x, y, course.At(block.first.x + x, block.first.y + y));
    return piece;
}

void LayInto(CourseGrid& course, const CourseGrid& piece, GridCell at) {
    for (int x = 0; x < piece.xCount; ++x)
        for (int y = 0; y < piece.yCount; ++y)
            if (InGrid(course, at.x + x, at.y + y)) course.Set(at.x + x, at.y + y, piece.At(x, y));
}

EditorModel::EditorModel(const CourseGrid& course) : course_(course), saved_(course) { Changed(); }

int EditorModel::ProblemCount() const {
    return static_cast<int>(
        std::count_if(findings_.begin(), findings_.end(), [](const CourseFinding& f) { return !f.Warning(); }));
}

void EditorModel::SetReadFlaws(const std::vector<CourseFinding>& flaws) {
    readFlaws_ = flaws;
    Changed();
}

void EditorModel::MarkSaved() {
    saved_ = course_;
    readFlaws_.erase(std::remove_if(readFlaws_.begin(), readFlaws_.end(), [](const CourseFinding& f) { return f.cells.empty(); }),
                     readFlaws_.end());
    Changed();
}

bool EditorModel::ForgetReadFlawsAt(GridCell cell) {
    const std::size_t before = MarksOf(readFlaws_);
    for (CourseFinding& flaw : readFlaws_) flaw.cells.erase(std::remove(flaw.cells.begin(), flaw.cells.end(), cell), flaw.cells.end());
    readFlaws_.erase(std::remove_if(readFlaws_.begin(), readFlaws_.end(),
                                    [](const CourseFinding& f) { return f.kind == FindingKind::UnreadCell && f.cells.empty(); }),
                     readFlaws_.end());
    return MarksOf(readFlaws_) != before;
}

void EditorModel::Pick(std::int32_t code) {
    if (IsTileCode(code)) piece_ = code;
}

void EditorModel::PickByDigit(int digit) {
    static constexpr std::int32_t DigitPieces[10] = {0, 1, 2, 7, 8, 9, 10, 11, 18, 22};
    const std::int32_t piece = DigitPieces[digit];
    std::int32_t turned = piece;
    for (int turns = 0; turns < 4 && digit >= 7; ++turns, turned = TurnedPiece(turned))
        if (turned == piece_) return TurnPiece();
    Pick(piece);
}

void EditorModel::PickNext(int step) { piece_ = ((piece_ + step) % TileCodeCount + TileCodeCount) % TileCodeCount; }

void EditorModel::MoveCursor(int dx, int dy) { SetCursor({cursor_.x + dx, cursor_.y + dy}); }

void EditorModel::SetCursor(GridCell cell) {
    cursor_.x = std::clamp(cell.x, 0, std::max(course_.xCount - 1, 0));
    cursor_.y = std::clamp(cell.y, 0, std::max(course_.yCount - 1, 0));
    // A selection keeps to a course made smaller too.
    anchor_.x = std::clamp(anchor_.x, 0, std::max(course_.xCount - 1, 0));
    anchor_.y = std::clamp(anchor_.y, 0, std::max(course_.yCount - 1, 0));
}

void EditorModel::BeginStroke() {
    EndStroke();
    strokeStart_ = {course_, cursor_};
    inStroke_ = true;
}

bool EditorModel::Paint(GridCell cell, std::int32_t code) {
    if (!InGrid(course_, cell.x, cell.y)) return false;
    // Painting an unread cell, even with what it holds, is the maker's answer to its mark.
    if (ForgetReadFlawsAt(cell)) Changed();
    if (course_.At(cell.x, cell.y) == code) return false;
    const bool stepOfItsOwn = !inStroke_;
    if (stepOfItsOwn) BeginStroke();
    course_.Set(cell.x, cell.y, code);
    Changed();
    if (stepOfItsOwn) EndStroke();
    return true;
}

void EditorModel::EndStroke() {
    if (inStroke_ && !SameCourse(course_, strokeStart_.course)) Record(strokeStart_);
    inStroke_ = false;
}

bool EditorModel::Grow(int side) {
    const bool columns = ChangeOn(side).columns;
    if ((columns ? course_.xCount : course_.yCount) >= GridSize) return false;
    Resize(side, 1);
    return true;
}

bool EditorModel::Shrink(int side) {
    const bool columns = ChangeOn(side).columns;
    if ((columns ? course_.xCount : course_.yCount) <= 1) return false;
    Resize(side, -1);
    return true;
}

// The cells keep their places on the course; the new row or column is empty ground.
void EditorModel::Resize(int side, int change) {
    EndStroke();
    Record({course_, cursor_});
    const SideChange how = ChangeOn(side);
    const int dx = how.shiftX * change, dy = how.shiftY * change;
    CourseGrid resized;
    resized.Resize(course_.xCount + (how.columns ? change : 0), course_.yCount + (how.columns ? 0 : change));
    for (int x = 0; x < resized.xCount; ++x)
        for (int y = 0; y < resized.yCount; ++y)
            if (InGrid(course_, x - dx, y - dy)) resized.Set(x, y, course_.At(x - dx, y - dy));
    for (int x = 0; x < course_.xCount; ++x)
        for (int y = 0; y < course_.yCount; ++y)
            if (!InGrid(resized, x + dx, y + dy)) ForgetReadFlawsAt({x, y});
    for (CourseFinding& flaw : readFlaws_)
        for (GridCell& cell : flaw.cells) cell = {cell.x + dx, cell.y + dy};
    course_ = resized;
    SetCursor({cursor_.x + dx, cursor_.y + dy});
    Changed();
}

CellBlock EditorModel::Selection() const {
    if (!selecting_) return {{0, 0}, {course_.xCount - 1, course_.yCount - 1}};
    return {{std::min(anchor_.x, cursor_.x), std::min(anchor_.y, cursor_.y)},
            {std::max(anchor_.x, cursor_.x), std::max(anchor_.y, cursor_.y)}};
}

bool EditorModel::Copy() {
    if (!selecting_) return false;
    copied_ = CutOut(course_, Selection());
    return true;
}

bool EditorModel::Cut() { return Copy() && DeleteSelection(); }

bool EditorModel::Paste() {
    if (!HasCopy()) return false;
    LayAt(copied_, cursor_);
    return true;
}

bool EditorModel::DeleteSelection() {
    if (!selecting_) return false;
    CourseGrid empty;
    empty.Resize(Selection().Width(), Selection().Height());
    LayAt(empty, Selection().first);
    return true;
}

void EditorModel::Mirror(bool leftRight) {
    if (!selecting_) return Replace(MirroredCourse(course_, leftRight), false);
    LayAt(MirroredCourse(CutOut(course_, Selection()), leftRight), Selection().first);
}

bool EditorModel::Turn() {
    if (!selecting_) {
        Replace(TurnedCourse(course_), false);
        return true;
    }
    const CellBlock block = Selection();
    const GridCell last{block.first.x + block.Height() - 1, block.first.y + block.Width() - 1};
    if (!InGrid(course_, last.x, last.y)) return false;
    CourseGrid empty, turned = course_;
    empty.Resize(block.Width(), block.Height());
    LayInto(turned, empty, block.first);
    LayInto(turned, TurnedCourse(CutOut(course_, block)), block.first);
    Replace(turned, true);
    // The selection turns with its cells.
    anchor_ = block.first;
    cursor_ = last;
    return true;
}

// A change of many cells at once, one step to undo. The marks of unread cells go with the
// cells changed, and all of them when the cells move.
void EditorModel::Replace(const CourseGrid& course, bool keepsPlaces) {
    EndStroke();
    if (SameCourse(course, course_)) return;
    Record({course_, cursor_});
    for (int x = 0; x < course_.xCount; ++x)
        for (int y = 0; y < course_.yCount; ++y)
            if (!keepsPlaces || course.At(x, y) != course_.At(x, y)) ForgetReadFlawsAt({x, y});
    course_ = course;
    SetCursor(cursor_);
    Changed();
}

void EditorModel::LayAt(const CourseGrid& piece, GridCell at) {
    CourseGrid laid = course_;
    LayInto(laid, piece, at);
    Replace(laid, true);
}

bool EditorModel::Undo() {
    EndStroke();
    if (undo_.empty()) return false;
    Restore(undo_, redo_);
    return true;
}

bool EditorModel::Redo() {
    EndStroke();
    if (redo_.empty()) return false;
    Restore(redo_, undo_);
    return true;
}

void EditorModel::Record(const Snapshot& before) {
    undo_.push_back(before);
    if (undo_.size() > UndoSteps) undo_.pop_front();
    redo_.clear();
}

void EditorModel::Restore(std::deque<Snapshot>& from, std::deque<Snapshot>& to) {
    to.push_back({course_, cursor_});
    course_ = from.back().course;
    cursor_ = from.back().cursor;
    from.pop_back();
    SetCursor(cursor_);
    Changed();
}

void EditorModel::Changed() {
    findings_ = readFlaws_;
    std::stable_partition(findings_.begin(), findings_.end(), [](const CourseFinding& f) { return !f.Warning(); });
    const std::vector<CourseFinding> problems = CheckCourse(course_);
    findings_.insert(std::find_if(findings_.begin(), findings_.end(), [](const CourseFinding& f) { return f.Warning(); }),
                     problems.begin(), problems.end());
    const std::vector<CourseFinding> warnings = CourseWarnings(course_);
    findings_.insert(findings_.end(), warnings.begin(), warnings.end());
}
