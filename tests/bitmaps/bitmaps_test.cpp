// The generated pictures, read back from the game's data folder: sizes, the transparent
// windows of the overlays, and tiles whose every pixel agrees with the wall geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "rules/walls.h"

namespace {

const Surface& Picture(const std::string& name) {
    static std::map<std::string, std::unique_ptr<Surface>> loaded;
    std::unique_ptr<Surface>& picture = loaded[name];
    if (!picture) picture = Surface::LoadBmp(std::string(QUONFEL_GAME_DIR) + "/" + name);
    if (!picture) {
        // Every test below needs the pictures; without them there is nothing to check.
        std::fprintf(stderr, "cannot load %s from %s (the game_data target makes it)\n", name.c_str(), QUONFEL_GAME_DIR);
        std::exit(1);
    }
    return *picture;
}

std::string TileName(int code) { return std::to_string(code) + ".bmp"; }

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// ---- Colour families ---------------------------------------------------------------------

enum class Family { Ground, Road, Kerb, Wall, Other };

const char* FamilyName(Family f) {
    switch (f) {
        case Family::Ground: return "ground";
        case Family::Road: return "road";
        case Family::Kerb: return "kerb";
        case Family::Wall: return "wall";
        default: return "other";
    }
}

int Spread(Colorref c) {
    const int hi = std::max({RedOf(c), GreenOf(c), BlueOf(c)});
    const int lo = std::min({RedOf(c), GreenOf(c), BlueOf(c)});
    return hi - lo;
}

bool IsNeutral(Colorref c) { return Spread(c) <= 12; }
bool IsYellowPaint(Colorref c) { return RedOf(c) >= 200 && GreenOf(c) >= 150 && BlueOf(c) <= 100; }

// Grass is green; asphalt is grey and its paint white, black or yellow; kerbs are red or a
// warm white; walls are dark blue-grey.
Family FamilyOf(Colorref c) {
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    if (g > r + 20 && g > b + 20) return Family::Ground;
    if (r >= 140 && r - g >= 70 && r - b >= 70) return Family::Kerb;
    if (r >= 190 && r - b >= 20 && b >= 130 && g >= b) return Family::Kerb;
    if (std::max({r, g, b}) <= 100 && b >= r + 10) return Family::Wall;
    if (IsNeutral(c) || IsYellowPaint(c)) return Family::Road;
    return Family::Other;
}

bool IsAsphalt(Colorref c) { return IsNeutral(c) && RedOf(c) >= 70 && RedOf(c) <= 130; }
bool IsPaint(Colorref c) { return FamilyOf(c) == Family::Road && !IsAsphalt(c); }

// What the course rules make of a pixel.
Family ExpectedFamily(int code, int lx, int ly) {
    if (code == 0) return Family::Ground;
    int corners[4];
    bool deep = InStraightDeepZone(code, lx, ly);
    for (int i = 0, n = CrashCornerOrder(code, corners); i < n; ++i) deep = deep || InCornerTriangle(corners[i], lx, ly);
    if (deep) return Family::Wall;
    bool face = OnStraightWallFace(code, lx, ly);
    for (int i = 0, n = ContactCornerOrder(code, corners); i < n; ++i) face = face || InCornerPiece(corners[i], lx, ly);
    return face ? Family::Kerb : Family::Road;
}

// ---- Sizes and colour key ------------------------------------------------------------

TEST(Pictures, HaveTheSizesTheGameCopiesFrom) {
    struct Size { std::string name; int width; int height; };
    std::vector<Size> sizes = {
        {"front.bmp", 640, 480},   {"back.bmp", 640, 480},  {"menu1.bmp", 640, 480},
        {"menu2.bmp", 640, 480},   {"goalin.bmp", 640, 480}, {"discontinue.bmp", 640, 480},
        {"gear.bmp", 72, 36},      {"alarm.bmp", 180, 59},  {"number.bmp", 132, 42},
    };
    for (int code = 0; code < 24; ++code) sizes.push_back({TileName(code), 128, 128});
    for (const Size& s : sizes) {
        const Surface& picture = Picture(s.name);
        EXPECT_GE(picture.Width(), s.width) << s.name;
        EXPECT_GE(picture.Height(), s.height) << s.name;
        if (s.name.size() <= 6) {   // tiles are exactly one cell of the course view
            EXPECT_EQ(picture.Width(), 128) << s.name;
            EXPECT_EQ(picture.Height(), 128) << s.name;
        }
    }
}

// Magenta in exactly the listed rectangles: the game shows through there and nowhere else.
TEST(Pictures, OverlaysAreTransparentExactlyWhereTheGameDrawsBeneath) {
    struct Overlay { std::string name; std::vector<Rect> windows; };
    const std::vector<Overlay> overlays = {
        {"front.bmp",
         {{6, 6, 390, 390}, {505, 120, 601, 141}, {505, 155, 601, 176}, {414, 190, 614, 390},
          {424, 405, 604, 464}, {60, 420, 84, 456}, {136, 428, 338, 448}}},
        {"menu1.bmp", {{50, 100, 580, 340}}},
        {"menu2.bmp", {{50, 100, 590, 180}}},
        // Copied without the key: any magenta would show as magenta.
        {"back.bmp", {}}, {"goalin.bmp", {}}, {"discontinue.bmp", {}},
        {"gear.bmp", {}}, {"alarm.bmp", {}}, {"number.bmp", {}},
    };
    for (const Overlay& overlay : overlays) {
        const Surface& picture = Picture(overlay.name);
        int wrong = 0;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                bool window = false;
                for (const Rect& r : overlay.windows) window = window || Inside(r, x, y);
                const bool magenta = picture.PixelAt(x, y) == ColourKeyMagenta;
                if (magenta != window && wrong++ == 0)
                    ADD_FAILURE() << overlay.name << " at (" << x << ", " << y << "): "
                                  << (window ? "not magenta inside a window" : "magenta outside the windows");
            }
        }
        EXPECT_EQ(wrong, 0) << overlay.name;
    }
}

// ---- Tiles ---------------------------------------------------------------------------

TEST(Tiles, EveryPixelShowsWhatTheWallGeometryMakesOfIt) {
    for (int code = 0; code < 24; ++code) {
        const Surface& tile = Picture(TileName(code));
        int wrong = 0;
        for (int ly = 0; ly < 128; ++ly) {
            for (int lx = 0; lx < 128; ++lx) {
                const Family expected = ExpectedFamily(code, lx, ly);
                const Family shown = FamilyOf(tile.PixelAt(lx, ly));
                if (shown != expected && wrong++ == 0)
                    ADD_FAILURE() << "tile " << code << " at (" << lx << ", " << ly << ") shows "
                                  << FamilyName(shown) << ", the rules make it " << FamilyName(expected);
            }
        }
        EXPECT_EQ(wrong, 0) << "tile " << code;
    }
}

// A few worked points of the geometry, so that a picture and a wall function that went
// wrong together are still caught.
TEST(Tiles, WorkedPointsOfTheRoadBandAndCorners) {
    struct Spot { int code; int lx; int ly; Family family; };
    const Spot spots[] = {
        {1, 64, 27, Family::Kerb},  {1, 64, 28, Family::Road},   {1, 64, 99, Family::Road},
        {1, 64, 100, Family::Kerb}, {1, 64, 10, Family::Wall},   {1, 64, 11, Family::Kerb},
        {1, 64, 117, Family::Wall}, {1, 64, 116, Family::Kerb},  {2, 27, 64, Family::Kerb},
        {2, 28, 64, Family::Road},  {15, 10, 10, Family::Kerb},  {15, 19, 19, Family::Kerb},
        {15, 30, 30, Family::Road}, {15, 5, 5, Family::Wall},    {15, 64, 5, Family::Road},
        {7, 64, 20, Family::Kerb},  {7, 120, 120, Family::Kerb}, {7, 122, 122, Family::Wall},
        {7, 120, 64, Family::Road}, {0, 64, 64, Family::Ground},
    };
    for (const Spot& s : spots)
        EXPECT_EQ(FamilyName(FamilyOf(Picture(TileName(s.code)).PixelAt(s.lx, s.ly))), FamilyName(s.family))
            << "tile " << s.code << " at (" << s.lx << ", " << s.ly << ")";
}

bool AlongX(int code) { return code == 1 || code == 3 || code == 4 || code == 16 || code == 17 || code == 20 || code == 21; }
bool AlongY(int code) { return code == 2 || code == 5 || code == 6 || code == 18 || code == 19 || code == 22 || code == 23; }

bool LaneRuleHolds(int code, int along) {
    if (code == 3 || code == 5) return along < 77;
    if (code == 4 || code == 6) return along > 50;
    return AlongX(code) || AlongY(code);
}

// Pixel of a tile by position along and across its road.
Colorref RoadPixel(const Surface& tile, bool alongX, int along, int across) {
    return alongX ? tile.PixelAt(along, across) : tile.PixelAt(across, along);
}

TEST(Tiles, CentreLineRunsExactlyWhereTheLaneRuleHolds) {
    for (int code = 1; code < 24; ++code) {
        const Surface& tile = Picture(TileName(code));
        if (!AlongX(code) && !AlongY(code)) {
            for (int along = 0; along < 128; ++along)
                for (int across : {63, 64})
                    for (bool alongX : {true, false})
                        EXPECT_FALSE(IsPaint(RoadPixel(tile, alongX, along, across)))
                            << "tile " << code << " has paint on its middle at " << along << "/" << across;
            continue;
        }
        int ruled = 0, painted = 0;
        for (int along = 0; along < 128; ++along) {
            const bool top = IsPaint(RoadPixel(tile, AlongX(code), along, 63));
            const bool bottom = IsPaint(RoadPixel(tile, AlongX(code), along, 64));
            if (!LaneRuleHolds(code, along)) {
                EXPECT_FALSE(top || bottom) << "tile " << code << ": centre line at " << along << " without the lane rule";
                continue;
            }
            ++ruled;
            if (top && bottom) ++painted;
        }
        EXPECT_GE(2 * painted, ruled) << "tile " << code << ": the centre line covers too little";
    }
}

// The bus stands in one lane of a start tile; its arrow and word are drawn in that lane.
// Counted by stretches of road, so that a start line across both lanes weighs little.
TEST(Tiles, StartMarkingIsInTheLaneWhereTheBusStands) {
    struct Start { int code; int laneFirst; };
    for (const Start s : {Start{16, 64}, Start{17, 28}, Start{18, 28}, Start{19, 64}}) {
        const Surface& tile = Picture(TileName(s.code));
        int busLane = 0, otherLane = 0;
        for (int along = 0; along < 128; ++along) {
            bool paintInBusLane = false, paintInOtherLane = false;
            for (int across = 28; across <= 99; ++across) {
                if (across == 63 || across == 64) continue;
                if (!IsPaint(RoadPixel(tile, AlongX(s.code), along, across))) continue;
                const bool inBusLane = across >= s.laneFirst && across < s.laneFirst + 36;
                (inBusLane ? paintInBusLane : paintInOtherLane) = true;
            }
            busLane += paintInBusLane;
            otherLane += paintInOtherLane;
        }
        EXPECT_GT(busLane, 2 * otherLane) << "tile " << s.code;
    }
}

TEST(Tiles, GoalBoxIsOutlinedWhereTheGoalCheckLooks) {
    struct Goal { int code; int first; int last; };
    for (const Goal g : {Goal{20, 69, 98}, Goal{21, 29, 58}, Goal{22, 29, 58}, Goal{23, 69, 98}}) {
        const Surface& tile = Picture(TileName(g.code));
        const bool alongX = AlongX(g.code);
        for (int along = 0; along < 128; ++along) {
            EXPECT_TRUE(IsYellowPaint(RoadPixel(tile, alongX, along, g.first))) << "tile " << g.code << " at " << along;
            EXPECT_TRUE(IsYellowPaint(RoadPixel(tile, alongX, along, g.last))) << "tile " << g.code << " at " << along;
            for (int across = 0; across < 128; ++across) {
                if (across >= g.first && across <= g.last) continue;
                EXPECT_FALSE(IsYellowPaint(RoadPixel(tile, alongX, along, across)))
                    << "tile " << g.code << ": yellow outside the box at " << along << "/" << across;
            }
        }
    }
}

// ---- Instruments and result screens --------------------------------------------------

// The cell's pixels, to compare cells with each other.
std::vector<Colorref> Cell(const Surface& picture, const Rect& r) {
    std::vector<Colorref> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(picture.PixelAt(x, y));
    return pixels;
}

int Brightness(Colorref c) { return RedOf(c) + GreenOf(c) + BlueOf(c); }

Colorref Brightest(const std::vector<Colorref>& pixels) {
    return *std::max_element(pixels.begin(), pixels.end(),
                             [](Colorref a, Colorref b) { return Brightness(a) < Brightness(b); });
}

int Distance(Colorref a, Colorref b) {
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) + std::abs(BlueOf(a) - BlueOf(b));
}

TEST(Instruments, DigitGlyphsAreInkedDistinctAndTheTwoRowsDifferInColour) {
    const Surface& digits = Picture("number.bmp");
    Colorref rowInk[2];
    for (int row = 0; row < 2; ++row) {
        std::vector<std::vector<Colorref>> glyphs;
        for (int g = 0; g < 11; ++g) glyphs.push_back(Cell(digits, Rect{12 * g, 21 * row, 12 * g + 12, 21 * row + 21}));
        rowInk[row] = Brightest(Cell(digits, Rect{0, 21 * row, 132, 21 * row + 21}));
        for (int g = 0; g < 11; ++g) {
            EXPECT_NE(std::count(glyphs[g].begin(), glyphs[g].end(), rowInk[row]), 0) << "row " << row << " glyph " << g;
            for (int h = 0; h < g; ++h) EXPECT_NE(glyphs[g], glyphs[h]) << "row " << row << " glyphs " << h << ", " << g;
        }
    }
    EXPECT_GT(Distance(rowInk[0], rowInk[1]), 150);
}

TEST(Instruments, GearCellsDifferInColourAndCarryALetter) {
    const Surface& gear = Picture("gear.bmp");
    std::vector<Colorref> plate;
    for (int cell = 0; cell < 3; ++cell) {
        // The game copies the first 23 columns of each 24-wide cell.
        const std::vector<Colorref> pixels = Cell(gear, Rect{24 * cell, 0, 24 * cell + 23, 36});
        std::map<Colorref, int> counts;
        for (Colorref c : pixels) ++counts[c];
        plate.push_back(std::max_element(counts.begin(), counts.end(),
                                         [](auto& a, auto& b) { return a.second < b.second; })->first);
        EXPECT_GT(Distance(Brightest(pixels), plate.back()), 150) << "cell " << cell << " has no legible letter";
    }
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < a; ++b) EXPECT_GT(Distance(plate[a], plate[b]), 100) << "cells " << b << ", " << a;
}

TEST(Instruments, WarningBandsAreRedAndYellowAndDifferent) {
    const Surface& alarm = Picture("alarm.bmp");
    const std::vector<Colorref> bands[2] = {Cell(alarm, Rect{0, 0, 179, 29}), Cell(alarm, Rect{0, 30, 179, 59})};
    for (int band = 0; band < 2; ++band) {
        const auto red = std::count_if(bands[band].begin(), bands[band].end(), [](Colorref c) {
            return RedOf(c) >= 180 && GreenOf(c) <= 60 && BlueOf(c) <= 60;
        });
        const auto yellow = std::count_if(bands[band].begin(), bands[band].end(), IsYellowPaint);
        EXPECT_GT(red, 100) << "band " << band;
        EXPECT_GT(yellow, 100) << "band " << band;
    }
    EXPECT_NE(bands[0], bands[1]);
}

// The result screen writes three lines of 24-pixel text on white boxes there.
TEST(ResultScreens, GoalPictureLeavesAPlainLightPanelForTheTimes) {
    const Surface& goal = Picture("goalin.bmp");
    const std::vector<Colorref> panel = Cell(goal, Rect{170, 170, 570, 245});
    EXPECT_EQ(std::count(panel.begin(), panel.end(), panel.front()), static_cast<long>(panel.size()));
    EXPECT_GT(Brightness(panel.front()), 600);
}

}  // namespace
