// The small error-log files that failing drawing calls leave behind.
#pragma once

// Opens fileName in the game folder for writing (replacing any earlier content), formats the message into a
// zeroed 100-byte buffer and writes exactly its first 20 bytes: the text followed by zero
// bytes, or a longer text cut after 20 bytes. A file that cannot be created is skipped.
void WriteErrorLog(const char* fileName, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
