// The four bus types, measured in pixels at 10 pixels per metre.
#include "bus/bus.h"

namespace {

constexpr Colorref DarkGrey = Rgb(60, 60, 60);
constexpr Colorref Orange = Rgb(255, 128, 64);
constexpr Colorref LightBlue = Rgb(128, 128, 255);
constexpr Colorref Ivory = Rgb(242, 236, 213);
constexpr Colorref BrightOrange = Rgb(250, 150, 60);

}  // namespace

// Fields: halfWidth, wheelbase, frontOverhang, rearOverhang, minTurnRadius, driverPoint,
// outlineCount, outline, frontWheel (left, right), bodyColour, options. Option entries not
// listed are zero, which ends the list.
const BusGeometry BusTypeTables[BusTypeCount] = {
    // 0: large route bus, about 10 m long, wheelbase 4.8 m.
    {12, 48, 22, 31, 79, {7, -59},
     4, {{-12, 31}, {-12, -70}, {12, -70}, {12, 31}},
     {{-11, -48}, {11, -48}},
     Ivory,
     {{OptionLinePairs, DarkGrey, 12,
       {{-12, -70}, {12, -70}, {-12, 31}, {12, 31}, {-12, -69}, {12, -69},
        {-12, 30}, {12, 30}, {-12, -66}, {12, -66}, {-12, 27}, {12, 27}}},
      {OptionLinePairs, Orange, 8,
       {{-12, -67}, {-12, -68}, {-12, -68}, {-10, -68}, {12, -67}, {12, -68}, {12, -68}, {10, -68}}},
      {OptionLinePairs, LightBlue, 6,
       {{-6, -68}, {6, -68}, {-9, -67}, {9, -67}, {-10, 28}, {10, 28}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-2, -63}, {2, -63}, {2, -56}, {-2, -56}}},
      {OptionOutlinedPolygon, DarkGrey, 8,
       {{-1, 23}, {1, 23}, {3, 21}, {3, 19}, {1, 17}, {-1, 17}, {-3, 19}, {-3, 21}}}}},

    // 1: medium route bus, about 9 m long (its wheelbase is 44 pixels).
    {11, 44, 18, 25, 74, {6, -51},
     4, {{-11, 25}, {-11, -62}, {11, -62}, {11, 25}},
     {{-10, -44}, {10, -44}},
     Ivory,
     {{OptionLinePairs, DarkGrey, 12,
       {{-11, -62}, {11, -62}, {-11, 25}, {11, 25}, {-11, -61}, {11, -61},
        {-11, 24}, {11, 24}, {-11, -58}, {11, -58}, {-11, 21}, {11, 21}}},
      {OptionLinePairs, Orange, 8,
       {{-11, -59}, {-11, -60}, {-11, -60}, {-9, -60}, {11, -59}, {11, -60}, {11, -60}, {9, -60}}},
      {OptionLinePairs, LightBlue, 6,
       {{-7, -60}, {7, -60}, {-8, -59}, {8, -59}, {-9, 22}, {9, 22}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-2, -55}, {2, -55}, {2, -48}, {-2, -48}}},
      {OptionOutlinedPolygon, DarkGrey, 8,
       {{-1, 17}, {1, 17}, {3, 15}, {3, 13}, {1, 11}, {-1, 11}, {-3, 13}, {-3, 15}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-9, -44}, {9, -44}, {9, -32}, {-9, -32}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-8, -41}, {8, -41}, {8, -34}, {-8, -34}}}}},

    // 2: medium route bus, about 10 m long, wheelbase 5.5 m.
    {11, 55, 20, 23, 84, {6, -64},
     4, {{-11, 23}, {-11, -75}, {11, -75}, {11, 23}},
     {{-10, -55}, {10, -55}},
     Ivory,
     {{OptionLinePairs, DarkGrey, 12,
       {{-11, -75}, {11, -75}, {-11, 23}, {11, 23}, {-11, -74}, {11, -74},
        {-11, 22}, {11, 22}, {-11, -71}, {11, -71}, {-11, 19}, {11, 19}}},
      {OptionLinePairs, Orange, 8,
       {{-11, -72}, {-11, -73}, {-11, -73}, {-9, -73}, {11, -72}, {11, -73}, {11, -73}, {9, -73}}},
      {OptionLinePairs, LightBlue, 6,
       {{-7, -73}, {7, -73}, {-8, -72}, {8, -72}, {-9, 20}, {9, 20}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-2, -68}, {2, -68}, {2, -61}, {-2, -61}}},
      {OptionOutlinedPolygon, DarkGrey, 8,
       {{-1, 5}, {1, 5}, {3, 3}, {3, 1}, {1, -1}, {-1, -1}, {-3, 1}, {-3, 3}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-9, 19}, {9, 19}, {9, 9}, {-9, 9}}},
      {OptionOutlinedPolygon, DarkGrey, 4, {{-8, 18}, {8, 18}, {8, 13}, {-8, 13}}}}},

    // 3: large sightseeing bus, about 12 m long, wheelbase 6.2 m, with a rounded nose.
    {12, 62, 26, 32, 102, {7, -77},
     8, {{-12, 32}, {-12, -85}, {-11, -87}, {-9, -88}, {9, -88}, {11, -87}, {12, -85}, {12, 32}},
     {{-11, -62}, {11, -62}},
     BrightOrange,
     {{OptionLinePairs, LightBlue, 14,
       {{-8, -87}, {8, -87}, {-10, -86}, {10, -86}, {-11, -85}, {-7, -85}, {11, -85}, {7, -85},
        {-10, 29}, {10, 29}, {-12, -83}, {-12, 29}, {12, -83}, {12, 29}}}}},
};
