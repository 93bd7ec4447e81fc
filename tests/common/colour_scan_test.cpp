// The first colours of a bitmap in scan order, and the one-colour test the tool screens'
// refusals rest on.
#include "common/colour_scan.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace pb {
namespace {

constexpr TColor kRed = RGB(0xFF, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 0xFF);
// Differs from white in one byte only.
constexpr TColor kNearWhite = RGB(0xFF, 0xFF, 0xFE);

TEST(ColourScan, FirstThreeColoursInScanOrderAndTheOneColourTest) {
    struct Case {
        int w, h;
        std::vector<std::pair<Point, TColor>> pixels;  // on white
        std::array<TColor, 3> first;
        bool single;
    };
    const Case cases[] = {
        {5, 4, {}, {clWhite, clWhite, clWhite}, true},
        {1, 1, {{{0, 0}, kRed}}, {kRed, kRed, kRed}, true},
        {5, 4, {{{4, 3}, kRed}}, {clWhite, kRed, clWhite}, false},  // the very last pixel
        {5, 4, {{{0, 3}, kNearWhite}}, {clWhite, kNearWhite, clWhite}, false},
        // Rows come before columns: (4, 0) is met before (0, 1).
        {5, 4, {{{0, 1}, kBlue}, {{4, 0}, kRed}}, {clWhite, kRed, kBlue}, false},
        // White comes fourth and is left out.
        {5, 4, {{{0, 0}, kRed}, {{1, 0}, kBlue}, {{2, 0}, clBlack}}, {kRed, kBlue, clBlack}, false},
        {0, 0, {}, {clWhite, clWhite, clWhite}, true},
    };
    for (const Case& c : cases) {
        Bitmap b(c.w, c.h, clWhite);
        for (const auto& [p, colour] : c.pixels) b.setPixel(p.x, p.y, colour);
        EXPECT_EQ(FirstThreeColours(b), c.first) << c.w << " x " << c.h << ", " << c.pixels.size();
        EXPECT_EQ(IsSingleColour(b), c.single) << c.w << " x " << c.h << ", " << c.pixels.size();
    }
}

}  // namespace
}  // namespace pb
