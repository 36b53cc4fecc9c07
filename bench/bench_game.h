// A headless game for the benchmarks: the game's pictures from the build, in a folder of
// its own, and a busy course laid out here so the figures do not depend on the courses.
#pragma once

// Makes a fresh folder the current directory, links the pictures into it, creates the
// surfaces, loads the bitmaps and the five game objects, and writes the busy course.
// False (with a message on stderr) when something is missing.
bool SetUpBenchGame();
void TearDownBenchGame();

// Starts a drive on the busy course with the bus type, as the course menu does, and draws
// the first frame (which places the bus), then puts the bus into forward gear at the speed.
void StartBusyDrive(int busType, double speed);

// Course index of the busy course: a 20 by 20 grid of every kind of tile, with a road of
// crossings and junctions from the start on the left to the goal on the right.
constexpr int kBusyCourse = 1;
