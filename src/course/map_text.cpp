#include "course/map_text.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "course/course_map.h"

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

// The tokens of one line, without its comment.
std::vector<std::string> TokensOf(std::string line) {
    std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    std::vector<std::string> tokens;
    std::istringstream words(line);
    std::string word;
    while (words >> word) tokens.push_back(word);
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

bool ParseCourseText(const std::string& text, CourseGrid& grid, std::vector<std::string>& problems) {
    std::size_t problemsBefore = problems.size();
    std::vector<std::vector<std::int32_t>> rows;
    std::size_t firstRowLine = 0;
    std::vector<std::string> lines = LinesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> tokens = TokensOf(lines[i]);
        if (tokens.empty()) continue;
        std::string where = "line " + std::to_string(i + 1);
        if (rows.empty()) {
            firstRowLine = i + 1;
        } else if (tokens.size() != rows[0].size()) {
            problems.push_back(where + " has " + std::to_string(tokens.size()) + " cells, but the first row (line " +
                               std::to_string(firstRowLine) + ") has " + std::to_string(rows[0].size()) +
                               "; every row must be as long as the first");
        }
        std::vector<std::int32_t> row;
        for (std::size_t column = 0; column < tokens.size(); ++column) {
            std::int32_t value = 0;
            if (!ReadToken(tokens[column], value)) {
                problems.push_back(where + ", cell " + std::to_string(column + 1) + ": \"" + tokens[column] +
                                   "\" is neither a tile symbol nor a tile code number");
            }
            row.push_back(value);
        }
        rows.push_back(row);
    }
    if (rows.empty()) problems.push_back("there are no grid rows, only comments or blank lines");
    if (problems.size() != problemsBefore) return false;

    grid.Resize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < grid.yCount; ++y) {
        for (int x = 0; x < grid.xCount; ++x) grid.Set(x, y, rows[y][x]);
    }
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
