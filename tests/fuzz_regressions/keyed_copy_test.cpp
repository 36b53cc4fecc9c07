// The copies of every frame take a fast path (whole runs of pixels, several compared at a
// time). Rows with the key at every position, in runs of every length, must come out as the
// plain rule says: the key leaves the destination, anything else is copied.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/surface.h"

namespace {

constexpr Colorref kDestination = Rgb(9, 9, 9);
constexpr Colorref kPaint = Rgb(200, 100, 50);
// Differs from the key only in green: a near miss must be copied.
constexpr Colorref kNearKey = Rgb(255, 1, 255);

// 'k' the key, 'p' a colour, 'n' the near miss.
Colorref ColourOf(char c) { return c == 'k' ? ColourKeyMagenta : c == 'n' ? kNearKey : kPaint; }

// Copies the row pattern at an offset into a wider destination and checks every pixel.
void ExpectKeyedRowCopy(const std::string& pattern, int sourceLeft, int destinationLeft) {
    const int width = static_cast<int>(pattern.size());
    auto source = Surface::Create(width, 1);
    for (int x = 0; x < width; ++x) source->SetPixel(x, 0, ColourOf(pattern[x]));
    source->SetColourKey(ColourKeyMagenta);
    auto target = Surface::Create(width + 16, 1);
    target->Fill(kDestination);

    const Rect part{sourceLeft, 0, width, 1};
    ASSERT_EQ(target->BltFast(destinationLeft, 0, *source, part, true), kCopyOk);
    for (int x = 0; x < target->Width(); ++x) {
        const int from = x - destinationLeft + sourceLeft;
        const bool copied = from >= sourceLeft && from < width && pattern[from] != 'k';
        const Colorref expected = copied ? ColourOf(pattern[from]) : kDestination;
        EXPECT_EQ(target->PixelAt(x, 0), expected)
            << "pattern " << pattern << " from " << sourceLeft << " to " << destinationLeft << ", pixel " << x;
    }
}

TEST(KeyedCopyFastPath, KeyRunsAtEveryPositionMatchThePlainRule) {
    const std::vector<std::string> patterns = {
        "p", "k", "pppp", "kkkk", "pkpk", "kpkp", "ppppk", "kpppp", "pppppppppppppppppk",
        "kkkkkkkkkkkkkkkkkp", "ppkkkkkppppppkkpkkkkkpppn", "nnnnnnnnkn", "kkkkpppppppppkkkkkkkkkkkk",
    };
    for (const std::string& pattern : patterns) {
        for (int sourceLeft = 0; sourceLeft < static_cast<int>(pattern.size()) && sourceLeft < 5; ++sourceLeft) {
            for (int destinationLeft : {0, 1, 3, 7}) ExpectKeyedRowCopy(pattern, sourceLeft, destinationLeft);
        }
    }
}

TEST(KeyedCopyFastPath, UnkeyedCopiesCarryTheKeyColourAsAnyOther) {
    auto source = Surface::Create(13, 2);
    for (int x = 0; x < 13; ++x) source->SetPixel(x, 1, x % 3 == 0 ? ColourKeyMagenta : kPaint);
    source->SetColourKey(ColourKeyMagenta);
    auto target = Surface::Create(13, 2);
    target->Fill(kDestination);
    ASSERT_EQ(target->Blt(nullptr, *source, nullptr, false), kCopyOk);
    for (int x = 0; x < 13; ++x) {
        EXPECT_EQ(target->PixelAt(x, 0), Rgb(0, 0, 0)) << x;
        EXPECT_EQ(target->PixelAt(x, 1), x % 3 == 0 ? ColourKeyMagenta : kPaint) << x;
    }
}

}  // namespace
