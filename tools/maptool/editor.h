// quonfel-map edit FILE: the course editor in a window of its own (maptool/editor_view.h shows
// it, maptool/editor_model.h holds the course), with a test drive by the map tool's driver and
// the game started on the course.
#pragma once
#include <string>
#include <vector>

// The arguments after "edit": FILE [--scale N|auto]. The tile pictures and the game are found
// beside the program (programFolder), or the tiles in the data folder dataFromProgram names
// from there. Returns the exit status: 0, 1 when the file holds no course the editor can show,
// 2 for wrong use, an unreadable file or no window.
int EditCommand(const std::vector<std::string>& args, const std::string& programFolder,
                const std::string& dataFromProgram);
