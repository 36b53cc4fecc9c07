#include "maptool/course_picture.h"

#include <filesystem>

#include "maptool/course_route.h"
#include "platform/printable.h"
#include "shared/texts.h"

namespace fs = std::filesystem;

namespace {

constexpr int EmptyGround = 0;

// The Japanese set: every tile is there, the English start and goal tiles only beside it.
std::string TileFile(const fs::path& folder, int code, Language language = Language::Japanese) {
    return (folder / PictureFile(std::to_string(code) + ".bmp", language)).string();
}

bool HasTiles(const fs::path& folder) {
    for (int code = 0; code < 24; ++code)
        if (!fs::is_regular_file(TileFile(folder, code))) return false;
    return true;
}

// One channel of a COLORREF (0x00BBGGRR): shift 0 red, 8 green, 16 blue.
int Channel(Colorref colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// The average of the source pixels that output pixel (x, y) covers.
Colorref AveragePixel(const Surface& tile, int size, int x, int y) {
    const int left = x * CourseTileSize / size, right = (x + 1) * CourseTileSize / size;
    const int top = y * CourseTileSize / size, bottom = (y + 1) * CourseTileSize / size;
    long sum[3] = {0, 0, 0};
    for (int sy = top; sy < bottom; ++sy)
        for (int sx = left; sx < right; ++sx)
            for (int c = 0; c < 3; ++c) sum[c] += Channel(tile.PixelAt(sx, sy), 8 * c);
    const long count = static_cast<long>(right - left) * (bottom - top);
    Colorref average = 0;
    for (int c = 0; c < 3; ++c) average |= static_cast<Colorref>((sum[c] + count / 2) / count) << (8 * c);
    return average;
}

int DrawnCode(std::int32_t value) { return IsTileCode(value) ? value : EmptyGround; }

}  // namespace

std::unique_ptr<Surface> ShrinkTile(const Surface& tile, int size) {
    std::unique_ptr<Surface> small = Surface::Create(size, size);
    if (!small) return nullptr;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) small->SetPixel(x, y, AveragePixel(tile, size, x, y));
    return small;
}

bool LoadTilePictures(const std::string& folder, TilePictures& tiles) {
    for (int code = 0; code < 24; ++code) {
        tiles[code] = Surface::LoadBmp(TileFile(folder, code, GameLanguage));
        if (!tiles[code] || tiles[code]->Width() < CourseTileSize || tiles[code]->Height() < CourseTileSize)
            return false;
    }
    return true;
}

std::string FindTileFolder(const std::string& programFolder, const std::string& dataFromProgram) {
    if (HasTiles(programFolder)) return programFolder;
    const fs::path installed = (fs::path(programFolder) / dataFromProgram).lexically_normal();
    return HasTiles(installed) ? installed.string() : "";
}

std::string NoTilesText(const std::string& programFolder, const std::string& dataFromProgram) {
    const fs::path installed = (fs::path(programFolder) / dataFromProgram).lexically_normal();
    return "the game's tile pictures (0.bmp to 23.bmp, en/16.bmp to en/23.bmp) are not beside the program "
           "nor in " + Printable(installed.string());
}

bool LoadGameTiles(const std::string& programFolder, const std::string& dataFromProgram, TilePictures& tiles,
                   std::string& missing) {
    const std::string folder = FindTileFolder(programFolder, dataFromProgram);
    if (!folder.empty() && LoadTilePictures(folder, tiles)) return true;
    missing = NoTilesText(programFolder, dataFromProgram);
    return false;
}

std::unique_ptr<Surface> DrawCoursePicture(const CourseGrid& grid, const TilePictures& tiles, int tileSize) {
    std::unique_ptr<Surface> picture = Surface::Create(grid.xCount * tileSize, grid.yCount * tileSize);
    if (!picture) return nullptr;
    TilePictures sized;
    for (int code = 0; code < 24; ++code) {
        sized[code] = tileSize == CourseTileSize ? nullptr : ShrinkTile(*tiles[code], tileSize);
        if (tileSize != CourseTileSize && !sized[code]) return nullptr;
    }
    const Rect source{0, 0, tileSize, tileSize};
    for (int x = 0; x < grid.xCount; ++x)
        for (int y = 0; y < grid.yCount; ++y) {
            const int code = DrawnCode(grid.At(x, y));
            const Surface& tile = sized[code] ? *sized[code] : *tiles[code];
            picture->BltFast(x * tileSize, y * tileSize, tile, source, false);
        }
    return picture;
}

std::vector<std::string> CellsWithoutTile(const CourseGrid& grid) {
    std::vector<std::string> cells;
    for (int y = 0; y < grid.yCount; ++y)
        for (int x = 0; x < grid.xCount; ++x)
            if (!IsTileCode(grid.At(x, y)))
                cells.push_back(CellName(x, y) + " holds " + std::to_string(grid.At(x, y)) +
                                ", not a tile code: drawn as empty ground");
    return cells;
}
