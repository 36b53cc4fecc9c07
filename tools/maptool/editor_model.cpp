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

EditorModel::EditorModel(const CourseGrid& course) : course_(course), saved_(course) { Changed(); }

int EditorModel::ProblemCount() const {
    return static_cast<int>(
        std::count_if(findings_.begin(), findings_.end(), [](const CourseFinding& f) { return !f.Warning(); }));
}

void EditorModel::Pick(std::int32_t code) {
    if (IsTileCode(code)) piece_ = code;
}

void EditorModel::PickNext(int step) { piece_ = ((piece_ + step) % TileCodeCount + TileCodeCount) % TileCodeCount; }

void EditorModel::MoveCursor(int dx, int dy) { SetCursor({cursor_.x + dx, cursor_.y + dy}); }

void EditorModel::SetCursor(GridCell cell) {
    cursor_.x = std::clamp(cell.x, 0, std::max(course_.xCount - 1, 0));
    cursor_.y = std::clamp(cell.y, 0, std::max(course_.yCount - 1, 0));
}

void EditorModel::BeginStroke() {
    EndStroke();
    strokeStart_ = {course_, cursor_};
    inStroke_ = true;
}

bool EditorModel::Paint(GridCell cell, std::int32_t code) {
    if (!InGrid(course_, cell.x, cell.y) || course_.At(cell.x, cell.y) == code) return false;
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
    course_ = resized;
    SetCursor({cursor_.x + dx, cursor_.y + dy});
    Changed();
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
    findings_ = CheckCourse(course_);
    const std::vector<CourseFinding> warnings = CourseWarnings(course_);
    findings_.insert(findings_.end(), warnings.begin(), warnings.end());
}
