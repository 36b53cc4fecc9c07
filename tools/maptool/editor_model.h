// The course editor without its window: the course being painted, the piece chosen, the
// cursor, undo and redo many steps deep, and what the checker says after every change, with
// the cells it names. The editor's window (maptool/editor.h) shows it and feeds it.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "course/course_map.h"
#include "maptool/course_check.h"
#include "maptool/map_text.h"

bool SameCourse(const CourseGrid& a, const CourseGrid& b);

// The piece a quarter turn clockwise: a road along x runs along y, a curve or junction opens
// the next way round, a start faces and a goal is entered the next way round.
std::int32_t TurnedPiece(std::int32_t code);
// The piece seen in a mirror standing up (leftRight) or lying down. The bus still keeps to the
// left, so a start faces and a goal is entered the mirrored way in the lane that way takes.
std::int32_t MirroredPiece(std::int32_t code, bool leftRight);

// The course turned a quarter clockwise, or mirrored, every piece with it.
CourseGrid TurnedCourse(const CourseGrid& course);
CourseGrid MirroredCourse(const CourseGrid& course, bool leftRight);

// A rectangle of cells, its corners included.
struct CellBlock {
    GridCell first;
    GridCell last;
    int Width() const { return last.x - first.x + 1; }
    int Height() const { return last.y - first.y + 1; }
};
// The cells of the block as a course of their own, and that course laid with its top-left
// cell at a cell of another, as far as it lies on it.
CourseGrid CutOut(const CourseGrid& course, const CellBlock& block);
void LayInto(CourseGrid& course, const CourseGrid& piece, GridCell at);

// Steps of undo kept; the oldest go first. A step holds a whole course (at most 1.6 kB).
constexpr std::size_t UndoSteps = 1000;

class EditorModel {
public:
    explicit EditorModel(const CourseGrid& course);

    const CourseGrid& Course() const { return course_; }
    // The checker's problems first, then its warnings.
    const std::vector<CourseFinding>& Findings() const { return findings_; }
    int ProblemCount() const;
    // What reading the text could not read, as findings: a cell's stays until the cell is
    // painted, one without cells until the course is saved.
    void SetReadFlaws(const std::vector<CourseFinding>& flaws);

    // The piece that painting lays, a tile code 0 to 23.
    std::int32_t Piece() const { return piece_; }
    void Pick(std::int32_t code);
    // The next or the previous piece of the palette, round.
    void PickNext(int step);
    void TurnPiece() { piece_ = TurnedPiece(piece_); }
    // The piece of a digit key (0 to 9); the junction, start and goal keys pressed again turn
    // the piece they chose.
    void PickByDigit(int digit);

    GridCell Cursor() const { return cursor_; }
    // The cursor stays on the course.
    void MoveCursor(int dx, int dy);
    void SetCursor(GridCell cell);

    // Every cell painted between the two is one step to undo; a change of any other kind ends
    // the stroke first. A cell off the course is left alone. True when the cell changed.
    void BeginStroke();
    bool Paint(GridCell cell, std::int32_t code);
    void EndStroke();
    // The piece, or empty ground, at the cursor: a step of its own.
    bool PlaceAtCursor() { return Paint(cursor_, piece_); }
    bool ClearAtCursor() { return Paint(cursor_, TileEmpty); }

    // A row or column of empty ground more, or one less, on a side (CellSide); false when the
    // course would then be narrower or lower than 1 cell or wider or higher than 20.
    bool Grow(int side);
    bool Shrink(int side);

    // The rectangle between the anchor and the cursor, while one is being chosen.
    void StartSelection() { anchor_ = cursor_, selecting_ = true; }
    void DropSelection() { selecting_ = false; }
    bool HasSelection() const { return selecting_; }
    CellBlock Selection() const;

    // Copy and cut take the selection; paste lays what they took with its top-left cell at the
    // cursor, as far as the course reaches. False when there is nothing to take or lay.
    bool Copy();
    bool Cut();
    bool Paste();
    bool HasCopy() const { return copied_.xCount > 0; }
    // The selection to empty ground.
    bool DeleteSelection();

    // Of the selection, or of the whole course when none is chosen; each a step of its own.
    // A selection turned keeps its top-left cell; false when it would then leave the course.
    void Mirror(bool leftRight);
    bool Turn();

    bool Undo();
    bool Redo();
    std::size_t UndoDepth() const { return undo_.size(); }

    // Whether the course differs from the one last saved or opened.
    bool Unsaved() const { return !SameCourse(course_, saved_); }
    void MarkSaved();

private:
    struct Snapshot {
        CourseGrid course;
        GridCell cursor;
    };
    void Resize(int side, int change);
    // keepsPlaces: every cell stays where it was (no mirror, turn or new size of the course).
    void Replace(const CourseGrid& course, bool keepsPlaces);
    bool ForgetReadFlawsAt(GridCell cell);  // true when a mark went
    void LayAt(const CourseGrid& piece, GridCell at);
    void Record(const Snapshot& before);
    void Restore(std::deque<Snapshot>& from, std::deque<Snapshot>& to);
    void Changed();

    CourseGrid course_;
    CourseGrid saved_;
    std::vector<CourseFinding> findings_;
    std::vector<CourseFinding> readFlaws_;
    std::int32_t piece_ = TileStraightX;
    GridCell cursor_{0, 0};
    GridCell anchor_{0, 0};
    bool selecting_ = false;
    CourseGrid copied_;
    bool inStroke_ = false;
    Snapshot strokeStart_;
    std::deque<Snapshot> undo_;
    std::deque<Snapshot> redo_;
};
