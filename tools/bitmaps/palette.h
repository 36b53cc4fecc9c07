// Every colour the game's pictures use, by name. Change a colour here and rebuild.
#pragma once
#include "platform/geometry.h"

namespace palette {

// Course ground (tile 0): grass in a few shades.
constexpr Colorref Grass = Rgb(74, 132, 62);
constexpr Colorref GrassDark = Rgb(62, 116, 54);
constexpr Colorref GrassLight = Rgb(88, 148, 72);
constexpr Colorref GrassTuft = Rgb(54, 102, 48);

// Road surface: asphalt greys, kept neutral so the paint stands out.
constexpr Colorref Asphalt = Rgb(96, 97, 100);
constexpr Colorref AsphaltDark = Rgb(86, 87, 90);
constexpr Colorref AsphaltLight = Rgb(108, 109, 112);

// Road paint.
constexpr Colorref PaintWhite = Rgb(238, 238, 236);
constexpr Colorref PaintBlack = Rgb(34, 34, 34);
constexpr Colorref PaintYellow = Rgb(250, 196, 36);

// Kerb blocks along the road edge (the zone that costs penalty): red and warm white.
constexpr Colorref KerbRed = Rgb(206, 44, 40);
constexpr Colorref KerbRedShade = Rgb(160, 30, 28);
constexpr Colorref KerbWhite = Rgb(240, 230, 208);
constexpr Colorref KerbWhiteShade = Rgb(206, 194, 170);

// The wall itself beyond the kerb: dark blue-grey concrete.
constexpr Colorref Wall = Rgb(48, 54, 70);
constexpr Colorref WallJoint = Rgb(34, 38, 52);
constexpr Colorref WallTop = Rgb(66, 74, 92);

// Screens: the dark blue panel look shared by every screen.
constexpr Colorref BackTop = Rgb(28, 36, 58);
constexpr Colorref BackBottom = Rgb(12, 16, 28);
constexpr Colorref PanelTop = Rgb(70, 80, 102);
constexpr Colorref PanelBottom = Rgb(40, 46, 62);
constexpr Colorref PanelInset = Rgb(30, 35, 48);
constexpr Colorref PanelEdgeLight = Rgb(128, 140, 168);
constexpr Colorref PanelEdgeDark = Rgb(14, 16, 24);
constexpr Colorref Accent = Rgb(250, 150, 60);        // the tour bus's orange
constexpr Colorref AccentDark = Rgb(176, 92, 30);
constexpr Colorref Ink = Rgb(236, 240, 250);           // labels on panels
constexpr Colorref InkDim = Rgb(160, 170, 196);
constexpr Colorref InkShadow = Rgb(8, 10, 16);
constexpr Colorref DriveTimeInk = Rgb(120, 232, 140);
constexpr Colorref PenaltyInk = Rgb(255, 140, 120);

// Menus: the row colours the course menu uses, for the legend.
constexpr Colorref MenuOpen = Rgb(255, 255, 255);
constexpr Colorref MenuCleared = Rgb(255, 255, 0);
constexpr Colorref MenuLocked = Rgb(128, 128, 128);

// Result screens.
constexpr Colorref ResultPanel = Rgb(255, 255, 255);   // the time lines stand on white boxes
constexpr Colorref ResultPanelEdge = Rgb(250, 196, 36);
constexpr Colorref GoalTitle = Rgb(255, 214, 40);
constexpr Colorref GoalTitleEdge = Rgb(150, 60, 10);
constexpr Colorref CheckerLight = Rgb(240, 240, 240);
constexpr Colorref CheckerDark = Rgb(20, 22, 28);
constexpr Colorref StopTop = Rgb(70, 20, 24);
constexpr Colorref StopBottom = Rgb(24, 8, 12);
constexpr Colorref StopTitle = Rgb(255, 80, 64);
constexpr Colorref StopBand = Rgb(210, 40, 36);

// Instruments.
constexpr Colorref GearCellBack = Rgb(22, 26, 36);
constexpr Colorref GearReverse = Rgb(214, 46, 40);
constexpr Colorref GearNeutral = Rgb(36, 160, 76);
constexpr Colorref GearForward = Rgb(40, 110, 226);
constexpr Colorref GearLetter = Rgb(255, 255, 255);
constexpr Colorref DigitBack = Rgb(0, 0, 0);
constexpr Colorref DriveDigitOn = Rgb(70, 255, 100);
constexpr Colorref DriveDigitOff = Rgb(0, 26, 8);
constexpr Colorref PenaltyDigitOn = Rgb(255, 64, 48);
constexpr Colorref PenaltyDigitOff = Rgb(32, 5, 4);

// Warning bands.
constexpr Colorref AlarmRed = Rgb(214, 20, 20);
constexpr Colorref AlarmYellow = Rgb(255, 222, 0);
constexpr Colorref AlarmBlack = Rgb(16, 16, 16);

}  // namespace palette
