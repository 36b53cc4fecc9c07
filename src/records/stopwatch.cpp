// Placeholder; replaced by the stopwatch's implementation.
#include "records/stopwatch.h"
#include <cstring>
void FormatTimeText(std::int64_t, char* text) { std::strcpy(text, "00:00:00"); }
Stopwatch::Stopwatch() = default;
Stopwatch::~Stopwatch() = default;
void Stopwatch::Reset() {}
void Stopwatch::Start() {}
void Stopwatch::Stop() {}
void Stopwatch::StartPenalty() {}
void Stopwatch::StopPenalty() {}
void Stopwatch::FormatDriveTime(char* text) { FormatTimeText(0, text); }
void Stopwatch::FormatPenaltyTime(char* text) { FormatTimeText(0, text); }
void Stopwatch::FormatTotalTime(char* text) { FormatTimeText(0, text); }
std::int32_t Stopwatch::TotalSeconds() { return 0; }
void Stopwatch::FormatBestTime(int, char* text) { FormatTimeText(0, text); }
