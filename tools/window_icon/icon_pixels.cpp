// Turns the game's icon, drawn as a PNG from the same picture as the installed icons, into a
// C++ source that holds its pixels, so that the program sets its window icon without a file
// to find or a PNG reader of its own.
//
//   quonfel-icon-pixels ICON.png OUTPUT.cpp
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quonfel-icon-pixels ICON.png OUTPUT.cpp\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::fprintf(stderr, "quonfel-icon-pixels: %s: %s\n", argv[1], image.message);
        return 1;
    }
    if (image.width != image.height) {
        std::fprintf(stderr, "quonfel-icon-pixels: %s: not square\n", argv[1]);
        png_image_free(&image);
        return 1;
    }
    // Blue, green, red, alpha in memory: 0xAARRGGBB read as a 32-bit number on every machine
    // the game builds on, which is SDL's ARGB8888.
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "quonfel-icon-pixels: %s: %s\n", argv[1], image.message);
        return 1;
    }
    std::ofstream out(argv[2]);
    out << "// Made by quonfel-icon-pixels from the game's icon; not to be edited.\n"
        << "#include \"app/window_icon.h\"\n\n"
        << "const int WindowIconSide = " << image.width << ";\n"
        << "const std::uint32_t WindowIconPixels[] = {\n";
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        char value[16];
        std::snprintf(value, sizeof value, "0x%08x,", static_cast<unsigned>(pixels[i]));
        out << (i % 8 == 0 ? "    " : " ") << value << (i % 8 == 7 ? "\n" : "");
    }
    out << "};\n";
    return out ? 0 : 1;
}
