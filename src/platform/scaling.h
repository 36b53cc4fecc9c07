// How the game's 640 by 480 picture is shown on a bigger screen: every game pixel becomes
// N by N screen pixels, a whole number, so the pixel art stays sharp.
#pragma once

struct SDL_Surface;

constexpr int kLargestWindowScale = 6;

// How the window shows the game. Whatever they say, the game keeps its own pixels: every
// position and size it passes or reads is in game pixels, one game pixel being shown as
// scale by scale pixels of the screen.
struct DisplayOptions {
    int scale = 1;           // 1 to kLargestWindowScale
    bool autoScale = false;  // the largest scale whose window fits the screen, instead
    bool fullscreen = false;
    bool framed = false;     // the desktop's frame around the window, as tools have; the game has none
};

// The largest scale, 1 to kLargestWindowScale, whose window fits within 90 % of the
// screen's width and height; 1 when even that does not fit.
int AutoScale(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight);
// The largest scale at which the picture fits an area whole; at least 1.
int FittingScale(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight);

// Where the picture sits in a window: its scale and the window pixel of its top-left
// corner. Centred, so a fullscreen window shows it between black borders.
struct PicturePlacement {
    int scale;
    int x;
    int y;
};
PicturePlacement CentredPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight, int scale);

// Division that rounds toward minus infinity: a window pixel left of or above the picture
// belongs to a game pixel below 0, never to game pixel 0.
int FloorDivide(int value, int divisor);

// Copies the width by height pixels at (fromX, fromY) of source onto target with every
// pixel repeated scale by scale, the copy's top-left at (toX, toY). What falls outside either
// surface is left out. Both surfaces hold 32-bit pixels of the same format.
void CopyScaled(const SDL_Surface* source, int fromX, int fromY, int width, int height, SDL_Surface* target,
                int toX, int toY, int scale);
