// Placeholder; replaced by the platform layer's implementation.
#include "platform/process.h"
#include <cstdlib>
static ExitHandler handler = nullptr;
void ExitProcessNow(int status) { if (handler) handler(status); std::_Exit(status & 0xFF); }
void SetExitHandler(ExitHandler h) { handler = h; }
