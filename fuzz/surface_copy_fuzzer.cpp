// Surface copies against the plain rule they must follow, on any picture and rectangles:
// destination pixel (x, y) of the clipped target shows the nearest source pixel, except that
// a keyed copy leaves it alone where that source pixel is the key. The copies of every frame
// take a faster path than this rule spells out; any difference is a fault.
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "platform/surface.h"

namespace {
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int Next(int limit) { return at_ < size_ ? data_[at_++] % limit : 0; }
    int Signed(int range) { return Next(2 * range + 1) - range; }
private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

const Colorref kPalette[] = {ColourKeyMagenta, Rgb(1, 2, 3), Rgb(255, 0, 254), Rgb(0, 0, 0)};

int Nearest(int i, int srcLength, int dstLength) {
    return static_cast<int>(static_cast<std::int64_t>(i) * srcLength / dstLength);
}

Colorref Expected(const Surface& before, const Surface& source, const Rect& src, const Rect& dst, bool keyed,
                  int x, int y) {
    if (x < dst.left || x >= dst.right || y < dst.top || y >= dst.bottom) return before.PixelAt(x, y);
    const Colorref pixel = source.PixelAt(src.left + Nearest(x - dst.left, src.Width(), dst.Width()),
                                          src.top + Nearest(y - dst.top, src.Height(), dst.Height()));
    return keyed && pixel == ColourKeyMagenta ? before.PixelAt(x, y) : pixel;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    const int width = 1 + in.Next(40);
    const int height = 1 + in.Next(3);
    auto source = Surface::Create(width, height);
    auto target = Surface::Create(24, 4);
    auto before = Surface::Create(24, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) source->SetPixel(x, y, kPalette[in.Next(4)]);
    const bool keyed = in.Next(2) == 1;
    if (in.Next(4) != 0) source->SetColourKey(ColourKeyMagenta);

    const int srcLeft = in.Next(width);
    const int srcTop = in.Next(height);
    const Rect src{srcLeft, srcTop, srcLeft + 1 + in.Next(width - srcLeft), srcTop + 1 + in.Next(height - srcTop)};
    const bool stretched = in.Next(2) == 1;
    const int dstLeft = in.Signed(8);
    const int dstTop = in.Signed(2);
    const Rect dst = stretched ? Rect{dstLeft, dstTop, dstLeft + 1 + in.Next(48), dstTop + 1 + in.Next(6)}
                               : Rect{dstLeft, dstTop, dstLeft + src.Width(), dstTop + src.Height()};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 24; ++x) {
            const Colorref fill = Rgb(x * 10, y * 50, 7);
            target->SetPixel(x, y, fill);
            before->SetPixel(x, y, fill);
        }
    }
    const int result = stretched ? target->Blt(&dst, *source, &src, keyed)
                                 : target->BltFast(dst.left, dst.top, *source, src, keyed);
    FuzzExpect(result == kCopyOk, "a copy between valid rectangles succeeds");
    const bool keyApplies = keyed && source->HasColourKey();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 24; ++x)
            FuzzExpect(target->PixelAt(x, y) == Expected(*before, *source, src, dst, keyApplies, x, y),
                       "every destination pixel follows the copy rule");
    return 0;
}
