// The editor's files: the course text it keeps as the source and the map file beside it that
// the game reads, which `quonfel-map build` makes of the text.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "maptool/editor_model.h"

struct CourseFiles {
    std::string text;
    std::string map;
};

// The pair a file belongs to: for a map file (isMap) the text beside it with ".txt" for its
// ending; for a text the map file beside it with ".map".
CourseFiles FilesFor(const std::string& path, bool isMap);

struct OpenedCourse {
    CourseFiles files;
    CourseGrid course;
    std::string header;              // the comment lines the text starts with, kept on saving
    std::vector<std::string> notes;  // what reading the file noticed (an old version, ...)
    bool isNew = false;
    // A map file was opened and the text beside it holds another course (or none): saving
    // replaces that text, so the editor asks first.
    bool replacesOtherText = false;
    bool unreadable = false;  // opening failed as the file cannot be read, not for what it holds
};

// Reads the file; a file that does not exist yet is a new course of empty ground. False, with
// the reasons, when it holds no course the editor can show, or (unreadable) cannot be read.
bool OpenCourse(const std::string& path, OpenedCourse& opened, std::vector<std::string>& problems);

// What one save did, in one line for the status line.
struct SaveOutcome {
    bool textSaved = false;
    bool mapSaved = false;
    std::string line;
};
// Saves the text, then the map file, each whole or not at all; the map file only when the
// checker finds no problem, as build does.
SaveOutcome SaveCourse(const CourseFiles& files, const std::string& header, const EditorModel& model);

// What the course text holds on the disk now: nothing when there is no such file or it cannot
// be read, so that only a file another program really changed counts as a change.
std::optional<std::string> TextOnDisk(const std::string& path);
