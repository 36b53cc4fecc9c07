// The course editor without its window: painting, undo and redo, growing and shrinking, the
// checker's findings with their cells, turning pieces, and saving what build would make.
#include <gtest/gtest.h>

#include <functional>

#include "maptool/course_route.h"
#include "maptool/editor_files.h"
#include "maptool/editor_model.h"
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

    // A version 1 file of the same course, codes stored as they are.
    WriteBytes("old.map", Int32s({1, 4, 3, 7, 2, 10, 1, 0, 17, 1, 0, 21, 8, 2, 9}));
    OpenedCourse old;
    ASSERT_TRUE(OpenCourse("old.map", old, problems));
    EXPECT_EQ(old.files.text, "old.txt");
    EXPECT_FALSE(old.notes.empty());
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
