// The window's picture in memory shared with the X server (MIT-SHM), shown mostly without
// waiting for the server. SDL shows its window surface the same way but then waits for the
// server to answer (XSync): a round trip of five system calls and a sleep in every frame.
// Kept apart from window.cpp for the same reason as x11_pointer.h.
#pragma once
#include <memory>

struct SDL_Surface;
struct SDL_Window;

class X11ShmPicture {
public:
    // Null where the window is not on X11, or the server cannot share memory with the game
    // (a remote display) or shows the window in a format other than 32-bit XRGB.
    static std::unique_ptr<X11ShmPicture> Create(SDL_Window* window, int width, int height);
    ~X11ShmPicture();
    X11ShmPicture(const X11ShmPicture&) = delete;
    X11ShmPicture& operator=(const X11ShmPicture&) = delete;

    // XRGB8888, width by height; the pixels stay until the picture is destroyed.
    SDL_Surface* Pixels() const { return pixels_; }
    // Asks the server to copy the pixels into the window's top left corner.
    void Show();
    // The System V segment holding the pixels.
    int SegmentId() const;

    struct Shared;

private:
    explicit X11ShmPicture(std::unique_ptr<Shared> shared, SDL_Surface* pixels);
    std::unique_ptr<Shared> shared_;
    SDL_Surface* pixels_;
    int framesSinceWait_ = 0;
};
