// The course editor without its window: painting, undo and redo, growing and shrinking, the
// checker's findings with their cells, turning pieces, and saving what build would make.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "maptool/course_route.h"
#include "maptool/editor_files.h"
#include "maptool/editor_model.h"
#include "maptool/editor_view.h"
#include "maptool/map_file.h"
#include "support/course_texts.h"
#include "support/test_support.h"

namespace {

struct Step {
    const char* what;
    std::function<bool(EditorModel&)> act;  // true when the action was taken
    const char* rows;                       // the course after it
    bool unsaved;
};

// Selects from one cell to the other, the cursor ending on the second.
void Select(EditorModel& model, GridCell from, GridCell to) {
    model.SetCursor(from);
    model.StartSelection();
    model.SetCursor(to);
}

void RunSteps(EditorModel& model, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        EXPECT_TRUE(step.act(model)) << step.what;
        EXPECT_EQ(FormatCourseRows(model.Course()), step.rows) << step.what;
        EXPECT_EQ(model.Unsaved(), step.unsaved) << step.what;
    }
}

TEST(EditorModel, EveryStrokeIsOneStepToUndoAndRedo) {
    EditorModel model(CourseGridOf(".. .. ..\n.. .. ..\n"));
    RunSteps(model, {
        {"a stroke over three cells",
         [](EditorModel& m) {
             m.BeginStroke();
             for (int x = 0; x < 3; ++x) m.Paint({x, 0}, TileStraightX);
             m.Paint({5, 5}, TileStraightY);  // off the course: nothing
             m.EndStroke();
             return true;
         },
         "== == ==\n.. .. ..\n", true},
        {"the piece at the cursor is a step of its own",
         [](EditorModel& m) {
             m.SetCursor({1, 1});
             m.Pick(TileStraightY);
             m.PlaceAtCursor();
             return true;
         },
         "== == ==\n.. || ..\n", true},
        {"undo takes the last step back", [](EditorModel& m) { return m.Undo(); }, "== == ==\n.. .. ..\n", true},
        {"undo takes the whole stroke back", [](EditorModel& m) { return m.Undo(); }, ".. .. ..\n.. .. ..\n", false},
        {"nothing is left to undo", [](EditorModel& m) { return !m.Undo(); }, ".. .. ..\n.. .. ..\n", false},
        {"redo", [](EditorModel& m) { return m.Redo(); }, "== == ==\n.. .. ..\n", true},
        {"a stroke that changes nothing is no step",
         [](EditorModel& m) {
             m.BeginStroke();
             m.Paint({0, 0}, TileStraightX);
             m.EndStroke();
             return m.Undo();
         },
         ".. .. ..\n.. .. ..\n", false},
        {"a new change drops what could be redone",
         [](EditorModel& m) {
             m.SetCursor({0, 1});
             m.ClearAtCursor();
             m.Paint({2, 1}, 7);
             return !m.Redo();
         },
         ".. .. ..\n.. .. /=\n", true},
        {"saved", [](EditorModel& m) { m.MarkSaved(); return true; }, ".. .. ..\n.. .. /=\n", false},
    });
    for (int i = 0; i < static_cast<int>(UndoSteps) + 50; ++i) model.Paint({0, 0}, i % 2 ? TileStraightX : TileEmpty);
    EXPECT_EQ(model.UndoDepth(), UndoSteps);
}

TEST(EditorModel, GrowsAndShrinksOnEverySideWithinOneToTwenty) {
    EditorModel model(CourseGridOf("== ||\n/= =/\n"));
    model.SetCursor({1, 1});
    const auto grow = [](int side) { return [side](EditorModel& m) { return m.Grow(side); }; };
    const auto shrink = [](int side) { return [side](EditorModel& m) { return m.Shrink(side); }; };
    RunSteps(model, {
        {"a row on top", grow(SideTop), ".. ..\n== ||\n/= =/\n", true},
        {"a column on the left", grow(SideLeft), ".. .. ..\n.. == ||\n.. /= =/\n", true},
        {"a column on the right", grow(SideRight), ".. .. .. ..\n.. == || ..\n.. /= =/ ..\n", true},
        {"a row at the bottom", grow(SideBottom), ".. .. .. ..\n.. == || ..\n.. /= =/ ..\n.. .. .. ..\n", true},
        {"the bottom row off", shrink(SideBottom), ".. .. .. ..\n.. == || ..\n.. /= =/ ..\n", true},
        {"the top row off", shrink(SideTop), ".. == || ..\n.. /= =/ ..\n", true},
        {"the left column off", shrink(SideLeft), "== || ..\n/= =/ ..\n", true},
        {"two right columns off",
         [](EditorModel& m) { return m.Shrink(SideRight) && m.Shrink(SideRight); }, "==\n/=\n", true},
        {"not below one column", [](EditorModel& m) { return !m.Shrink(SideLeft); }, "==\n/=\n", true},
        {"undo", [](EditorModel& m) { return m.Undo(); }, "== ||\n/= =/\n", false},
    });
    EXPECT_EQ(model.Cursor(), (GridCell{1, 1}));  // back with the step undone
    ASSERT_TRUE(model.Grow(SideLeft) && model.Grow(SideTop));
    EXPECT_EQ(model.Cursor(), (GridCell{2, 2}));  // it goes with its cell
    for (int i = 0; i < 17; ++i) ASSERT_TRUE(model.Grow(SideRight));
    EXPECT_EQ(model.Course().xCount, 20);
    EXPECT_FALSE(model.Grow(SideLeft));
}

TEST(EditorModel, TheCheckerSpeaksAfterEveryChangeAndNamesItsCells) {
    struct Case {
        const char* text;
        std::function<void(EditorModel&)> change;
        const char* first;  // a piece of the first finding; empty for a sound course
        bool warning;
        std::vector<GridCell> cells;
    };
    const Case cases[] = {
        {SmallCourse, [](EditorModel&) {}, "", false, {}},
        {SmallCourse, [](EditorModel& m) { m.Paint({3, 1}, TileEmpty); }, "its road on its bottom side runs into empty",
         false, {{3, 0}, {3, 1}}},
        {"S> 99 G>\n", [](EditorModel&) {}, "holds 99", false, {{1, 0}}},
        {"/= == == == =\\\n|| .. .. .. ||\n\\= S> == G> =/\n",
         [](EditorModel& m) { m.Paint({2, 2}, TileStartRight); }, "there are 2 start tiles", true,
         {{1, 2}, {2, 2}, {2, 2}}},
        {SmallCourse, [](EditorModel& m) { m.Paint({2, 2}, TileStraightX); }, "there is no goal", false, {}},
    };
    for (const Case& c : cases) {
        EditorModel model(CourseGridOf(c.text));
        c.change(model);
        const std::vector<CourseFinding>& findings = model.Findings();
        ASSERT_EQ(findings.empty(), std::string(c.first).empty()) << c.text << c.first;
        if (findings.empty()) continue;
        EXPECT_NE(findings[0].text.find(c.first), std::string::npos) << findings[0].text;
        EXPECT_EQ(findings[0].Warning(), c.warning) << findings[0].text;
        EXPECT_EQ(findings[0].cells, c.cells) << findings[0].text;
    }
}

// A turned piece opens on the turned sides, and a start or goal faces the turned way.
TEST(EditorModel, TurningAPieceTurnsItsRoads) {
    const int clockwise[4] = {SideRight, SideLeft, SideTop, SideBottom};  // of top, bottom, left, right
    for (std::int32_t code = 0; code < TileCodeCount; ++code) {
        CourseGrid piece, turned;
        piece.Resize(1, 1);
        turned.Resize(1, 1);
        piece.Set(0, 0, code);
        turned.Set(0, 0, TurnedPiece(code));
        for (int side = 0; side < 4; ++side)
            EXPECT_EQ(OpensOn(piece, 0, 0, side), OpensOn(turned, 0, 0, clockwise[side])) << code << " side " << side;
        if (IsStartCode(code)) {
            EXPECT_EQ(clockwise[StartSide(code)], StartSide(TurnedPiece(code))) << code;
        }
        if (IsGoalCode(code)) {
            EXPECT_EQ(clockwise[GoalEntrySide(code)], GoalEntrySide(TurnedPiece(code))) << code;
        }
        EXPECT_EQ(TurnedPiece(TurnedPiece(TurnedPiece(TurnedPiece(code)))), code);
    }
}

// Every piece, written out: mirrored left-right and up-down, turned once and twice.
TEST(EditorModel, EveryPieceMirrorsAndTurnsToTheExpectedPiece) {
    const std::int32_t expected[TileCodeCount][5] = {
        {0, 0, 0, 0, 0},      {1, 1, 1, 2, 1},      {2, 2, 2, 1, 2},      {3, 4, 3, 5, 4},
        {4, 3, 4, 6, 3},      {5, 5, 6, 4, 6},      {6, 6, 5, 3, 5},      {7, 8, 10, 8, 9},
        {8, 7, 9, 9, 10},     {9, 10, 8, 10, 7},    {10, 9, 7, 7, 8},     {11, 11, 13, 12, 13},
        {12, 14, 12, 13, 14}, {13, 13, 11, 14, 11}, {14, 12, 14, 11, 12}, {15, 15, 15, 15, 15},
        {16, 17, 16, 18, 17}, {17, 16, 17, 19, 16}, {18, 18, 19, 17, 19}, {19, 19, 18, 16, 18},
        {20, 21, 20, 22, 21}, {21, 20, 21, 23, 20}, {22, 22, 23, 21, 23}, {23, 23, 22, 20, 22},
    };
    for (const auto& row : expected) {
        const std::int32_t code = row[0];
        EXPECT_EQ(MirroredPiece(code, true), row[1]) << code;
        EXPECT_EQ(MirroredPiece(code, false), row[2]) << code;
        EXPECT_EQ(TurnedPiece(code), row[3]) << code;
        EXPECT_EQ(TurnedPiece(TurnedPiece(code)), row[4]) << code;
    }
    EXPECT_EQ(MirroredPiece(99, true), 99);
}

// The whole course, or the selection, and each a step to undo.
TEST(EditorModel, MirrorsAndTurnsTheCourseOrTheSelection) {
    EditorModel model(CourseGridOf(LoopCourse));
    RunSteps(model, {
        {"left-right", [](EditorModel& m) { m.Mirror(true); return true; },
         "/= == == == =\\\n|| .. .. .. ||\nGv .. .. .. S^\n|| .. .. .. ||\n\\= == == == =/\n", true},
        {"up-down", [](EditorModel& m) { m.Mirror(false); return true; },
         "/= == == == =\\\n|| .. .. .. ||\nG^ .. .. .. Sv\n|| .. .. .. ||\n\\= == == == =/\n", true},
        {"undo takes one mirror back", [](EditorModel& m) { return m.Undo(); },
         "/= == == == =\\\n|| .. .. .. ||\nGv .. .. .. S^\n|| .. .. .. ||\n\\= == == == =/\n", true},
        {"a selection turned keeps its top-left cell",
         [](EditorModel& m) { m.Undo(); Select(m, {0, 1}, {1, 2}); return m.Turn(); },
         "/= == == == =\\\nS> == .. .. ||\n.. .. .. .. Gv\n|| .. .. .. ||\n\\= == == == =/\n", true},
        {"a 1 by 2 selection at the bottom does not fit turned",
         [](EditorModel& m) { Select(m, {3, 4}, {4, 4}); return !m.Turn(); },
         "/= == == == =\\\nS> == .. .. ||\n.. .. .. .. Gv\n|| .. .. .. ||\n\\= == == == =/\n", true},
        {"a mirrored selection", [](EditorModel& m) { m.Mirror(true); return true; },
         "/= == == == =\\\nS> == .. .. ||\n.. .. .. .. Gv\n|| .. .. .. ||\n\\= == == \\= ==\n", true},
        {"a copy pasted at the cursor",
         [](EditorModel& m) {
             Select(m, {0, 0}, {1, 0});
             m.Copy();
             m.DropSelection();
             m.SetCursor({1, 3});
             return m.Paste();
         },
         "/= == == == =\\\nS> == .. .. ||\n.. .. .. .. Gv\n|| /= == .. ||\n\\= == == \\= ==\n", true},
        {"undo takes the whole paste back", [](EditorModel& m) { return m.Undo(); },
         "/= == == == =\\\nS> == .. .. ||\n.. .. .. .. Gv\n|| .. .. .. ||\n\\= == == \\= ==\n", true},
        {"a cut pasted elsewhere",
         [](EditorModel& m) { Select(m, {4, 1}, {4, 2}); m.Cut(); m.SetCursor({2, 1}); return m.Paste(); },
         "/= == == == =\\\nS> == || .. ..\n.. .. Gv .. ..\n|| .. .. .. ||\n\\= == == \\= ==\n", true},
    });
    CourseGrid turned = CourseGridOf(LoopCourse);
    for (int i = 0; i < 4; ++i) turned = TurnedCourse(turned);
    EXPECT_EQ(FormatCourseRows(turned), LoopCourse);
    EXPECT_EQ(FormatCourseRows(TurnedCourse(CourseGridOf("S> G>\n"))), "Sv\nGv\n");
    for (bool leftRight : {true, false})
        EXPECT_EQ(FormatCourseRows(MirroredCourse(MirroredCourse(CourseGridOf(LoopCourse), leftRight), leftRight)),
                  LoopCourse);
}

TEST(EditorModel, PickingAndTheCursorGoRoundAndStopAtTheEdge) {
    EditorModel model(CourseGridOf(".. ..\n.. ..\n"));
    model.Pick(TileEmpty);
    model.PickNext(-1);
    EXPECT_EQ(model.Piece(), 23);  // Shift+Tab from the first piece
    model.PickNext(1);
    EXPECT_EQ(model.Piece(), 0);
    model.MoveCursor(2, 0);
    EXPECT_EQ(model.Cursor(), (GridCell{1, 0}));
    model.MoveCursor(-3, 5);
    EXPECT_EQ(model.Cursor(), (GridCell{0, 1}));
    EditorModel single(CourseGridOf("..\n"));
    single.MoveCursor(1, 1);
    EXPECT_EQ(single.Cursor(), (GridCell{0, 0}));  // one cell: nowhere to go
    EXPECT_FALSE(model.Paint({0, 1}, TileEmpty));  // a paint that changes nothing says so
    EXPECT_EQ(model.UndoDepth(), 0u);
    // A digit again turns the junction, start or goal it chose; the others only choose.
    const std::pair<int, std::vector<std::int32_t>> digits[] = {
        {7, {11, 12, 13, 14, 11}}, {8, {18, 17, 19}}, {9, {22, 21}}, {3, {7, 7}}, {1, {1, 1}}};
    for (const auto& [digit, pieces] : digits) {
        model.Pick(TileEmpty);
        for (std::int32_t piece : pieces) {
            model.PickByDigit(digit);
            EXPECT_EQ(model.Piece(), piece) << digit;
        }
    }
    int speed = 1;
    for (int expected : {2, 4, 8, 1}) EXPECT_EQ(speed = NextDriveSpeed(speed), expected);
}

// A text with typos opens with what could be read; each flaw has its line and column, and its
// cells stay marked as problems until they are painted.
TEST(EditorFiles, ATextWithTyposOpensWithItsFlawsMarked) {
    ScopedWorkDir dir;
    const std::string typos = "/= == == =\\\n|| ?? .. ||\n\\= S> G>\n# name: Typos\n";
    WriteText("typos.txt", typos);
    OpenedCourse opened;
    std::vector<std::string> problems;
    ASSERT_TRUE(OpenCourse("typos.txt", opened, problems));
    EXPECT_EQ(FormatCourseRows(opened.course), "/= == == =\\\n|| .. .. ||\n\\= S> G> ..\n");
    ASSERT_EQ(opened.readFlaws.size(), 2u);
    EXPECT_EQ(opened.readFlaws[0].text,
              "line 2, column 4: \"??\" is neither a tile symbol nor a tile code number; read as empty ground");
    EXPECT_EQ(opened.readFlaws[0].cells, (std::vector<GridCell>{{1, 1}}));
    EXPECT_EQ(opened.readFlaws[1].text, "line 3, column 9: the row has 3 cells, the longest 4: the missing ones read "
                                        "as empty ground");
    EXPECT_EQ(opened.readFlaws[1].cells, (std::vector<GridCell>{{3, 2}}));
    EXPECT_EQ(ReadText("typos.txt"), typos);  // nothing written on opening
    EXPECT_EQ(opened.header, "# name: Typos\n");  // a name after the rows is kept on saving
    EditorModel model(opened.course);
    model.SetReadFlaws(opened.readFlaws);
    EXPECT_EQ(model.ProblemCount(), 2 + 2);  // the flaws, then the roads into the empty corner
    EditorModel mirrored = model;
    mirrored.Mirror(true);
    EXPECT_EQ(mirrored.ProblemCount(), 2);  // the marks go when their cells move
    model.Paint({1, 1}, TileEmpty);          // painted as it was read: its mark goes all the same
    EXPECT_EQ(model.ProblemCount(), 3);
    model.Paint({3, 2}, 9);
    EXPECT_EQ(model.ProblemCount(), 0);

    // Too many cells: the rest left out, a warning; control characters: no course text at all.
    std::string wide;
    for (int i = 0; i < 21; ++i) wide += ".. ";
    WriteText("wide.txt", wide);
    OpenedCourse wideOpened;
    ASSERT_TRUE(OpenCourse("wide.txt", wideOpened, problems));
    EXPECT_EQ(wideOpened.course.xCount, 20);
    ASSERT_EQ(wideOpened.readFlaws.size(), 1u);
    EXPECT_EQ(wideOpened.readFlaws[0].text,
              "line 1, column 61: more than 20 cells: this cell and those after it are left out");
    EXPECT_TRUE(wideOpened.readFlaws[0].Warning());
    WriteText("binary.txt", "S> G>\x01\n");
    EXPECT_FALSE(OpenCourse("binary.txt", opened, problems));
}

// Saving writes the text with its own comment lines and the map file build makes of it; a
// course with problems keeps the map file as it was; old map files open and are saved anew.
TEST(EditorFiles, SavedFilesAreWhatBuildMakesOfTheText) {
    ScopedWorkDir dir;
    WriteText("mine.txt", std::string("# My course\n# second line\n\n") + SmallCourse);
    OpenedCourse opened;
    std::vector<std::string> problems;
    ASSERT_TRUE(OpenCourse("mine.txt", opened, problems));
    EXPECT_EQ(opened.files.map, "mine.map");
    EditorModel model(opened.course);
    model.Grow(SideLeft);
    model.Shrink(SideLeft);
    EXPECT_TRUE(SaveCourse(opened.files, opened.header, model).mapSaved);
    EXPECT_EQ(ReadText("mine.txt"), std::string("# My course\n# second line\n\n") + SmallCourse);
    ASSERT_EQ(RunMapTool("build mine.txt built.map").status, 0);
    EXPECT_EQ(ReadBytes("mine.map"), ReadBytes("built.map"));

    model.Paint({3, 1}, TileEmpty);
    const SaveOutcome withProblems = SaveCourse(opened.files, opened.header, model);
    EXPECT_TRUE(withProblems.textSaved && !withProblems.mapSaved) << withProblems.line;
    EXPECT_EQ(ReadBytes("mine.map"), ReadBytes("built.map"));
    EditorModel noGoal(CourseGridOf(SmallCourse));
    noGoal.Paint({2, 2}, TileStraightX);
    ASSERT_EQ(noGoal.ProblemCount(), 1);
    EXPECT_FALSE(SaveCourse(opened.files, opened.header, noGoal).mapSaved);
    EXPECT_EQ(ReadBytes("mine.map"), ReadBytes("built.map"));
    std::filesystem::create_directory("folder.txt");
    OpenedCourse folder;
    problems.clear();
    EXPECT_FALSE(OpenCourse("folder.txt", folder, problems));
    EXPECT_TRUE(folder.unreadable);
    EXPECT_EQ(problems, std::vector<std::string>{"not a regular file"});

    // A version 1 file of the same course, codes stored as they are.
    WriteBytes("old.map", Int32s({1, 4, 3, 7, 2, 10, 1, 0, 17, 1, 0, 21, 8, 2, 9}));
    OpenedCourse old;
    ASSERT_TRUE(OpenCourse("old.map", old, problems));
    EXPECT_EQ(old.files.text, "old.txt");
    EXPECT_EQ(old.notes, (std::vector<std::string>{
                             "the file has version 1; the game refuses course files of a version below 2",
                             "saved as version 3, which every reader takes"}));
    EXPECT_TRUE(SaveCourse(old.files, old.header, EditorModel(old.course)).mapSaved);
    EXPECT_EQ(ReadBytes("old.map"), ReadBytes("built.map"));
    ASSERT_EQ(RunMapTool("build old.txt old-built.map").status, 0);
    EXPECT_EQ(ReadBytes("old-built.map"), ReadBytes("built.map"));

    OpenedCourse again;  // mine.txt now holds another course than mine.map
    ASSERT_TRUE(OpenCourse("mine.map", again, problems));
    EXPECT_TRUE(again.replacesOtherText);
    ASSERT_TRUE(OpenCourse("new.txt", again, problems));
    EXPECT_TRUE(again.isNew);
    EXPECT_EQ(FormatCourseRows(again.course).substr(0, 6), ".. .. ");
}

}  // namespace
