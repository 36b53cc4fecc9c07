// The text form of a course: what a player writes in an editor and what `quonfel-map print`
// gives back. One grid row per line, top row first, one token per cell; '#' starts a comment.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Cell values of a course, of any size, as read from a text or a map file. A value need not be
// a tile code: the checker says which ones are not.
struct CourseGrid {
    int xCount = 0;
    int yCount = 0;
    std::vector<std::int32_t> cells;  // x-major, like the map file: cell (x, y) at x * yCount + y

    void Resize(int columns, int rows);  // every cell empty (0)
    std::int32_t At(int x, int y) const { return cells[static_cast<std::size_t>(x) * yCount + y]; }
    void Set(int x, int y, std::int32_t value) { cells[static_cast<std::size_t>(x) * yCount + y] = value; }
};

struct TileSymbol {
    int code;
    const char* symbol;   // two characters, drawn so the road shape shows
    const char* meaning;  // for the legend at the top of a course file
};

// Every tile code 0..23 with its symbol, in code order.
const std::vector<TileSymbol>& TileSymbols();

// The symbol of a value, or the value as a number when it is not a tile code.
std::string SymbolOf(std::int32_t value);

// Reads a token: a symbol of the table or a whole number (which the checker judges later).
// False when the token is neither.
bool ReadToken(const std::string& token, std::int32_t& value);

// Reads the text form into grid. Each thing that cannot be read (an unknown token, a row of
// another length than the first) adds a problem naming its line; returns true when none did.
bool ParseCourseText(const std::string& text, CourseGrid& grid, std::vector<std::string>& problems);

// Something a text holds that cannot be read as it stands: where (line and column, from 1),
// the cells read as empty ground instead (cells from (x, y) along the row; none when x < 0),
// and what is wrong.
struct TextFlaw {
    int line;
    int column;
    int x;
    int y;
    int cells;
    std::string what;
};
// Reads whatever can be read, so that a text with typos can be mended: an unreadable cell and
// the missing cells of a short row become empty ground, rows and cells past 20 are left out;
// each adds a flaw. The grid is as wide as the longest row. False only when there is no row.
bool ReadCourseTextAnyway(const std::string& text, CourseGrid& grid, std::vector<TextFlaw>& flaws);

// The comment block that explains the symbols, each line starting with "# ".
std::string LegendText();

// The text form of grid: the title as a comment line, the legend, then the rows.
std::string FormatCourseText(const CourseGrid& grid, const std::string& title);
// Its two parts: the comment lines up to the rows, and the rows.
std::string CourseTextHeader(const std::string& title);
std::string FormatCourseRows(const CourseGrid& grid);
// The comment and blank lines before a text's first row, with Unix line ends and without a
// byte-order mark.
std::string CourseTextHeaderOf(const std::string& text);

// The course's name: what follows "name:" on the first comment line of the form
// "# name: ...", without the spaces around it; empty when no line names the course.
std::string CourseNameOf(const std::string& text);
// The comment lines with that name: its first name line changed, or one put first when none
// is there; an empty name takes the line away.
std::string WithCourseName(const std::string& header, const std::string& name);

bool IsTileCode(std::int32_t value);

// A course wider or higher than 20 cells (or empty), which the game cannot load.
std::vector<std::string> CountProblems(const CourseGrid& grid);
// Each cell holding a value that is no tile code, row by row.
std::vector<std::string> ValueProblems(const CourseGrid& grid);
// That problem of cell (x, y).
std::string ValueProblem(const CourseGrid& grid, int x, int y);

// "row 3, column 5 (x=4, y=2)": how problems name a cell, counting rows and columns from 1 as
// a player sees them in the text.
std::string CellName(int x, int y);
