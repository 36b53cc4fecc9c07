// One function per picture of the game. Each returns the finished picture.
#pragma once
#include <memory>

#include "platform/surface.h"

constexpr int kTileSize = 128;
constexpr int kTileCodeCount = 24;
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

std::unique_ptr<Surface> DrawTile(int code);

std::unique_ptr<Surface> DrawBackground();
std::unique_ptr<Surface> DrawDashboard();
std::unique_ptr<Surface> DrawCourseMenuFrame();
std::unique_ptr<Surface> DrawBusMenuFrame();
std::unique_ptr<Surface> DrawGoalResult();
std::unique_ptr<Surface> DrawDiscontinuedResult();

std::unique_ptr<Surface> DrawGearCells();
std::unique_ptr<Surface> DrawWarningBands();
std::unique_ptr<Surface> DrawDigits();
