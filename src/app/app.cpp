// Placeholder; replaced by the shell's implementation.
#include "app/app.h"
int InitApp() { return 0; }
int CreateSurfaces(int, int) { return 0; }
int LoadAllBitmaps() { return 0; }
void CreateGameObjects() {}
void render_frame() {}
void ReleaseAll() {}
int RunGame() { return 0; }
FramePacer::FramePacer(ClockSource& clock) : clock_(clock), highResolution_(false), interval_(33), nextFrameTime_(0) {}
bool FramePacer::FrameDue() { return false; }
int FramePacer::MillisecondsToDeadline() { return 0; }
std::int64_t FramePacer::Now() { return 0; }
