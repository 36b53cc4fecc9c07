// Draws the game's 33 pictures and writes them as BMP files into the folder given on the
// command line (the game's data folder), then the English set of the pictures with words
// into its folder "en".
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "pictures.h"
#include "shared/texts.h"

namespace {

struct Picture {
    std::string name;
    std::function<std::unique_ptr<Surface>()> draw;
};

std::vector<Picture> AllPictures() {
    std::vector<Picture> files;
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
    std::error_code error;
    std::filesystem::create_directories(folder + "/" + EnglishPictureFolder, error);
    for (Language language : {Language::Japanese, Language::English}) {
        GameLanguage = language;
        for (const Picture& file : AllPictures()) {
            if (language != Language::Japanese && !PictureHasWords(file.name)) continue;
            const std::string path = folder + "/" + PictureFile(file.name, language);
            if (!file.draw()->SaveBmp(path)) {
                std::fprintf(stderr, "quonfel_bitmaps: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    // The game still runs with a cramped label; its test fails on one.
    for (const DrawnLabel& label : DrawnLabels())
        if (label.needed > label.room)
            std::fprintf(stderr, "quonfel_bitmaps: warning: \"%s\" needs %d pixels where it has %d\n",
                         label.text.c_str(), label.needed, label.room);
    return 0;
}
