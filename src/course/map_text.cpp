#include "course/map_text.h"

#include <cerrno>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "course/course_map.h"
#include "platform/text_file.h"

void CourseGrid::Resize(int columns, int rows) {
    xCount = columns;
    yCount = rows;
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
}

const std::vector<TileSymbol>& TileSymbols() {
    // Two characters each, so that a grid of them shows the road: '=' a road along x, '|' a
    // road along y, '/' and '\' the curves, an arrow the side branch of a junction or the way a
    // start or goal faces.
    static const std::vector<TileSymbol> table = {
        {0, "..", "empty ground, no road"},
        {1, "==", "straight road along x (left-right)"},
        {2, "||", "straight road along y (up-down)"},
        {3, "=-", "road along x, lane rule only in its left part"},
        {4, "-=", "road along x, lane rule only in its right part"},
        {5, "|'", "road along y, lane rule only in its upper part"},
        {6, "|.", "road along y, lane rule only in its lower part"},
        {7, "/=", "curve joining right and down"},
        {8, "=\\", "curve joining left and down"},
        {9, "=/", "curve joining left and up"},
        {10, "\\=", "curve joining up and right"},
        {11, "=^", "junction: left, right and up"},
        {12, "|>", "junction: up, down and right"},
        {13, "=v", "junction: left, right and down"},
        {14, "<|", "junction: up, down and left"},
        {15, "++", "crossing: all four ways"},
        {16, "S<", "start, the bus faces left"},
        {17, "S>", "start, the bus faces right"},
        {18, "S^", "start, the bus faces up"},
        {19, "Sv", "start, the bus faces down"},
        {20, "G<", "goal for a bus driving left (lower lane)"},
        {21, "G>", "goal for a bus driving right (upper lane)"},
        {22, "G^", "goal for a bus driving up (left lane)"},
        {23, "Gv", "goal for a bus driving down (right lane)"},
    };
    return table;
}

std::string SymbolOf(std::int32_t value) {
    for (const TileSymbol& tile : TileSymbols()) {
        if (tile.code == value) return tile.symbol;
    }
    return std::to_string(value);
}

namespace {

bool ReadNumber(const std::string& token, std::int32_t& value) {
    std::size_t first = token[0] == '-' ? 1 : 0;
    if (first == token.size()) return false;
    for (std::size_t i = first; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
    }
    errno = 0;
    long long parsed = std::strtoll(token.c_str(), nullptr, 10);
    if (errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

// The tokens of one line, without its comment, each with the column it starts in (from 1).
struct Token {
    std::string text;
    int column;
};
std::vector<Token> TokensOf(std::string line) {
    std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    std::vector<Token> tokens;
    for (std::size_t at = line.find_first_not_of(" \t\r\v\f"); at != std::string::npos;) {
        const std::size_t end = std::min(line.find_first_of(" \t\r\v\f", at), line.size());
        tokens.push_back({line.substr(at, end - at), static_cast<int>(at) + 1});
        at = line.find_first_not_of(" \t\r\v\f", end);
    }
    return tokens;
}

// Lines of the text, without a leading byte-order mark or the CR of CR-LF line ends, so files
// from any editor read the same.
std::vector<std::string> LinesOf(const std::string& text) {
    std::string body = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text;
    std::vector<std::string> lines;
    std::istringstream in(body);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The lines that hold grid rows, with their numbers (from 1).
struct TextRow {
    int line;
    std::vector<Token> tokens;
};
std::vector<TextRow> RowsOf(const std::string& text) {
    std::vector<TextRow> rows;
    const std::vector<std::string> lines = LinesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<Token> tokens = TokensOf(lines[i]);
        if (!tokens.empty()) rows.push_back({static_cast<int>(i) + 1, tokens});
    }
    return rows;
}

}  // namespace

bool ReadToken(const std::string& token, std::int32_t& value) {
    if (token.empty()) return false;
    for (const TileSymbol& tile : TileSymbols()) {
        if (token == tile.symbol) {
            value = tile.code;
            return true;
        }
    }
    return ReadNumber(token, value);
}

namespace {
void ReadRows(const std::vector<TextRow>& rows, std::size_t largest, CourseGrid& grid, std::vector<TextFlaw>& flaws) {
    std::size_t widest = 0;
    for (const TextRow& row : rows) widest = std::max(widest, row.tokens.size());
    grid.Resize(static_cast<int>(std::min(widest, largest)), static_cast<int>(std::min(rows.size(), largest)));
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        const TextRow& row = rows[static_cast<std::size_t>(y)];
        if (y >= grid.yCount) {
            flaws.push_back({row.line, 1, -1, -1, 0, "more than 20 rows: this row and those after it are left out"});
            break;
        }
        for (int x = 0; x < static_cast<int>(row.tokens.size()); ++x) {
            const Token& token = row.tokens[static_cast<std::size_t>(x)];
            std::int32_t value = 0;
            if (x >= grid.xCount) {
                flaws.push_back({row.line, token.column, -1, -1, 0,
                                 "more than 20 cells: this cell and those after it are left out"});
                break;
            }
            if (ReadToken(token.text, value)) grid.Set(x, y, value);
            else flaws.push_back({row.line, token.column, x, y, 1,
                                  "\"" + token.text + "\" is neither a tile symbol nor a tile code number; read as empty ground"});
        }
        const int given = static_cast<int>(row.tokens.size());
        if (given < grid.xCount) {
            const Token& last = row.tokens.back();
            flaws.push_back({row.line, last.column + static_cast<int>(last.text.size()), given, y, grid.xCount - given,
                             "the row has " + std::to_string(given) + " cells, the longest " +
                                 std::to_string(grid.xCount) + ": the missing ones read as empty ground"});
        }
    }
}
}  // namespace

bool ParseCourseText(const std::string& text, CourseGrid& grid, std::vector<std::string>& problems) {
    std::size_t problemsBefore = problems.size();
    const std::vector<TextRow> rows = RowsOf(text);
    for (const TextRow& row : rows) {
        const std::string where = "line " + std::to_string(row.line);
        if (row.tokens.size() != rows[0].tokens.size()) {
            problems.push_back(where + " has " + std::to_string(row.tokens.size()) + " cells, but the first row (line " +
                               std::to_string(rows[0].line) + ") has " + std::to_string(rows[0].tokens.size()) +
                               "; every row must be as long as the first");
        }
        std::int32_t value = 0;
        for (std::size_t column = 0; column < row.tokens.size(); ++column) {
            if (!ReadToken(row.tokens[column].text, value)) {
                problems.push_back(where + ", cell " + std::to_string(column + 1) + ": \"" + row.tokens[column].text +
                                   "\" is neither a tile symbol nor a tile code number");
            }
        }
    }
    if (rows.empty()) problems.push_back("there are no grid rows, only comments or blank lines");
    if (problems.size() != problemsBefore) return false;
    std::vector<TextFlaw> none;
    ReadRows(rows, SIZE_MAX, grid, none);  // the checker tells a size past 20
    return true;
}

bool ReadCourseTextAnyway(const std::string& text, CourseGrid& grid, std::vector<TextFlaw>& flaws) {
    const std::vector<TextRow> rows = RowsOf(text);
    if (rows.empty()) return false;
    ReadRows(rows, GridSize, grid, flaws);
    return true;
}

std::string LegendText() {
    std::string legend =
        "# Text form of a Quonfel course. Lines starting with '#' are comments. Then come the\n"
        "# grid rows, top row first, one symbol per cell separated by spaces; every row has\n"
        "# the same number of cells (1 to 20 rows of 1 to 20 cells). A number 0..23 may stand\n"
        "# for a tile code instead of its symbol.\n"
        "#\n";
    for (const TileSymbol& tile : TileSymbols()) {
        std::string code = std::to_string(tile.code);
        legend += "#   " + std::string(tile.symbol) + "  " + std::string(3 - code.size(), ' ') + code + "  " +
                  tile.meaning + "\n";
    }
    legend +=
        "#\n"
        "# Every road side must meet a road side of its neighbour; the course needs one start tile\n"
        "# and one goal tile, joined by road.\n"
        "# The bus keeps to the left: upper lane driving right, lower lane driving left, left\n"
        "# half driving up, right half driving down.\n";
    return legend;
}

std::string FormatCourseText(const CourseGrid& grid, const std::string& title) {
    return CourseTextHeader(title) + FormatCourseRows(grid);
}

std::string CourseTextHeader(const std::string& title) { return "# " + title + "\n#\n" + LegendText() + "\n"; }

std::string CourseTextHeaderOf(const std::string& text) {
    std::string header;
    for (const std::string& line : LinesOf(text)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#') break;
        header += line + "\n";
    }
    return header;
}

namespace {
// The name a "# name: ..." line gives, and whether the line is one.
bool NameLine(const std::string& line, std::string& name) {
    const std::string body = TrimmedBlanks(line);
    if (body.empty() || body[0] != '#') return false;
    const std::string rest = TrimmedBlanks(body.substr(1));
    if (rest.compare(0, 5, "name:") != 0) return false;
    name = TrimmedBlanks(rest.substr(5));
    return true;
}
}  // namespace

std::string CourseNameOf(const std::string& text) {
    std::string name;
    for (const std::string& line : LinesOf(text))
        if (NameLine(line, name)) return name;
    return "";
}

std::string WithCourseName(const std::string& header, const std::string& name) {
    const std::string line = name.empty() ? "" : "# name: " + name + "\n";
    std::string named, old;
    bool replaced = false;
    for (const std::string& kept : LinesOf(header)) {
        if (!replaced && NameLine(kept, old)) {
            named += line;
            replaced = true;
        } else {
            named += kept + "\n";
        }
    }
    return replaced ? named : line + named;
}

std::string FormatCourseRows(const CourseGrid& grid) {
    std::string text;
    for (int y = 0; y < grid.yCount; ++y) {
        std::string line;
        for (int x = 0; x < grid.xCount; ++x) {
            std::string symbol = SymbolOf(grid.At(x, y));
            if (symbol.size() < 2) symbol.insert(0, 2 - symbol.size(), ' ');
            if (x > 0) line += ' ';
            line += symbol;
        }
        text += line + "\n";
    }
    return text;
}

std::string CellName(int x, int y) {
    return "row " + std::to_string(y + 1) + ", column " + std::to_string(x + 1) + " (x=" + std::to_string(x) +
           ", y=" + std::to_string(y) + ")";
}

bool IsTileCode(std::int32_t value) { return value >= 0 && value < TileCodeCount; }

std::vector<std::string> CountProblems(const CourseGrid& grid) {
    std::vector<std::string> problems;
    if (grid.xCount < 1 || grid.xCount > GridSize) {
        problems.push_back("the course is " + std::to_string(grid.xCount) + " cells wide; it must be 1 to 20");
    }
    if (grid.yCount < 1 || grid.yCount > GridSize) {
        problems.push_back("the course is " + std::to_string(grid.yCount) + " cells high; it must be 1 to 20");
    }
    return problems;
}

std::string ValueProblem(const CourseGrid& grid, int x, int y) {
    return CellName(x, y) + " holds " + std::to_string(grid.At(x, y)) + ", which is not a tile code (0 to 23)";
}

std::vector<std::string> ValueProblems(const CourseGrid& grid) {
    std::vector<std::string> problems;
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) {
            if (!IsTileCode(grid.At(x, y))) problems.push_back(ValueProblem(grid, x, y));
        }
    }
    return problems;
}
