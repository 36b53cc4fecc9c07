// The game's icon for its window: the installed icon's picture, its pixels built into the
// program (0xAARRGGBB, row by row) so that no file has to be found at run time.
#pragma once
#include <cstdint>

extern const int WindowIconSide;
extern const std::uint32_t WindowIconPixels[];
