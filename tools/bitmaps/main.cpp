// Draws the game's 33 pictures and writes them as BMP files into the folder given on the
// command line (the game's data folder).
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "pictures.h"

namespace {

struct PictureFile {
    std::string name;
    std::function<std::unique_ptr<Surface>()> draw;
};

std::vector<PictureFile> AllPictures() {
    std::vector<PictureFile> files;
    for (int code = 0; code < kTileCodeCount; ++code)
        files.push_back({std::to_string(code) + ".bmp", [code] { return DrawTile(code); }});
    files.push_back({"front.bmp", DrawDashboard});
    files.push_back({"back.bmp", DrawBackground});
    files.push_back({"gear.bmp", DrawGearCells});
    files.push_back({"alarm.bmp", DrawWarningBands});
    files.push_back({"discontinue.bmp", DrawDiscontinuedResult});
    files.push_back({"goalin.bmp", DrawGoalResult});
    files.push_back({"menu1.bmp", DrawCourseMenuFrame});
    files.push_back({"number.bmp", DrawDigits});
    files.push_back({"menu2.bmp", DrawBusMenuFrame});
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quonfel_bitmaps <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const PictureFile& file : AllPictures()) {
        const std::string path = folder + "/" + file.name;
        if (!file.draw()->SaveBmp(path)) {
            std::fprintf(stderr, "quonfel_bitmaps: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
