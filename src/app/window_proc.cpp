// Placeholder; replaced by the shell's implementation.
#include "app/app.h"
LParam MainWindowProc(Window*, std::uint32_t, WParam, LParam) { return 0; }
