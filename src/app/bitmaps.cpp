// The display surfaces and the 33 bitmaps the game draws with.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "platform/surface.h"
#include "shared/game_folder.h"
#include "shared/globals.h"
#include "shared/outside_text.h"
#include "shared/texts.h"

namespace fs = std::filesystem;

namespace {
constexpr int kMapscreenSide = 640;
constexpr int kTileCount = 24;

struct NamedBitmap {
    const char* fileName;
    std::unique_ptr<Surface>* surface;
};

// Loaded after the tiles, in this order.
const NamedBitmap kSingleBitmaps[] = {
    {"front.bmp", &frontSurface},         {"back.bmp", &backSurface},
    {"gear.bmp", &gearSurface},           {"alarm.bmp", &alarmSurface},
    {"discontinue.bmp", &discontinueSurface}, {"goalin.bmp", &goalinSurface},
    {"menu1.bmp", &menu1Surface},         {"number.bmp", &numberSurface},
    {"menu2.bmp", &menu2Surface},
};

// A picture with words comes from the set of the game's language; one missing there is a
// start-up failure like any other, never replaced by the Japanese one.
//
// One line for the terminal beside the box: the picture and the folder it was looked for in,
// so that a game started in the wrong folder says so.
void TellWhyPictureFailed(const char* fileName) {
    std::error_code error;
    const fs::path tried = fs::absolute(fileName, error);
    const std::string name = Printable(tried.filename().string()), folder = Printable(tried.parent_path().string());
    if (!fs::exists(tried, error))
        std::fprintf(stderr, "quonfel: start-up failed loading the pictures: no %s in %s\n", name.c_str(), folder.c_str());
    else
        std::fprintf(stderr, "quonfel: start-up failed loading the pictures: %s in %s is not a picture the game can read\n",
                     name.c_str(), folder.c_str());
}

bool LoadInto(std::unique_ptr<Surface>& target, const char* fileName) {
    const std::string path = InGameFolder(PictureFile(fileName, GameLanguage));
    target = LoadBitmapSurface(path.c_str());
    if (target) return true;
    StartupError = Texts().imageLoadError;
    TellWhyPictureFailed(path.c_str());
    return false;
}

void SetMagentaKeys() {
    for (auto& tile : TileSurfaces) tile->SetColourKey(ColourKeyMagenta);
    // back.bmp carries the key too, although its copy never uses it.
    for (auto* overlay : {&frontSurface, &backSurface, &menu1Surface, &menu2Surface}) {
        (*overlay)->SetColourKey(ColourKeyMagenta);
    }
}
}  // namespace

int CreateSurfaces(int screenWidth, int screenHeight) {
    mapscreen = Surface::Create(kMapscreenSide, kMapscreenSide);
    if (!mapscreen) return 0;
    offscreen = Surface::Create(screenWidth, screenHeight);
    if (!offscreen) return 0;
    return 1;
}

std::unique_ptr<Surface> LoadBitmapSurface(const char* fileName) {
    return Surface::LoadBmp(fileName);
}

int LoadAllBitmaps() {
    for (int n = 0; n < kTileCount; ++n) {
        char fileName[16] = {};
        std::snprintf(fileName, sizeof fileName, "%01d.bmp", n);
        if (!LoadInto(TileSurfaces[n], fileName)) return 0;
    }
    for (const auto& bitmap : kSingleBitmaps) {
        if (!LoadInto(*bitmap.surface, bitmap.fileName)) return 0;
    }
    SetMagentaKeys();
    PrepareDrivingBackground();
    return 1;
}
