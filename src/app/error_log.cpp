// Placeholder; replaced by the shell's implementation.
#include "app/error_log.h"
void WriteErrorLog(const char*, const char*, ...) {}
