// The whole course as one picture, drawn from the game's own tile pictures, so a course maker
// sees the course as the player will.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "maptool/map_text.h"
#include "platform/surface.h"

constexpr int CourseTileSize = 128;

using TilePictures = std::array<std::unique_ptr<Surface>, 24>;

// 0.bmp to 23.bmp of folder, the start and goal tiles in the game's language (English ones
// from its folder en); false when one cannot be read.
bool LoadTilePictures(const std::string& folder, TilePictures& tiles);

// The folder that holds the game's tile pictures: beside the program, else the installed data
// folder that dataFromProgram names relative to it; empty when neither has them.
std::string FindTileFolder(const std::string& programFolder, const std::string& dataFromProgram);
// The words that say where the tile pictures were looked for.
std::string NoTilesText(const std::string& programFolder, const std::string& dataFromProgram);
// LoadTilePictures from the program's own folder (the game folder of a build), else from the
// installed data folder dataFromProgram names relative to it. False, with the words that say
// where they were looked for in missing, when neither has them.
bool LoadGameTiles(const std::string& programFolder, const std::string& dataFromProgram, TilePictures& tiles,
                   std::string& missing);

// A tile shrunk to size by size pixels (1 to 128) by averaging, so thin road paint stays visible.
std::unique_ptr<Surface> ShrinkTile(const Surface& tile, int size);

// Every cell drawn with its tile at tileSize pixels (1 to 128); tiles are shrunk by averaging,
// so thin road paint stays visible. A value that is no tile code is drawn as empty ground,
// as the game draws it.
std::unique_ptr<Surface> DrawCoursePicture(const CourseGrid& grid, const TilePictures& tiles, int tileSize);

// The cells that DrawCoursePicture drew as empty ground because they hold no tile code.
std::vector<std::string> CellsWithoutTile(const CourseGrid& grid);
