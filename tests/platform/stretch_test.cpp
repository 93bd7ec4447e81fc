// Rectangle copies: mirroring through reversed rectangles, stretching, overlapping copies;
// quarter turns.
#include "platform/stretch.h"

#include <gtest/gtest.h>

#include <tuple>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "platform/bitmap_ops.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::Art;
using test::FromArt;
using test::Rows;

TColor Grey(int v) {
    return RGB(v, v, v);
}

Bitmap Row(const std::vector<int>& greys) {
    Bitmap bmp(static_cast<int>(greys.size()), 1);
    int x = 0;
    for (int g : greys) bmp.setPixel(x++, 0, Grey(g));
    return bmp;
}

std::vector<int> Greys(const Bitmap& bmp) {
    std::vector<int> v;
    for (int x = 0; x < bmp.width(); ++x) v.push_back(GetRValue(bmp.pixel(x, 0)));
    return v;
}

TEST(Stretch, CopyRectMirrorsAndCopiesOntoItself) {
    struct Case {
        const char* name;
        Rect dest, src;
        std::function<TColor(const Bitmap& original, int x, int y)> expected;
    };
    const int W = 9, H = 6;
    const Case cases[] = {
        {"left-right through (W-1, 0, -1, H)",
         {0, 0, W, H},
         {W - 1, 0, -1, H},
         [](const Bitmap& o, int x, int y) { return o.pixel(W - 1 - x, y); }},
        {"overlapping shift right and down",
         {2, 1, W, H},
         {0, 0, W - 2, H - 1},
         [](const Bitmap& o, int x, int y) {
             return x >= 2 && y >= 1 ? o.pixel(x - 2, y - 1) : o.pixel(x, y);
         }},
        {"overlapping shift left and up",
         {0, 0, W - 3, H - 2},
         {3, 2, W, H},
         [](const Bitmap& o, int x, int y) {
             return x < W - 3 && y < H - 2 ? o.pixel(x + 3, y + 2) : o.pixel(x, y);
         }},
    };
    for (const Case& c : cases) {
        const Bitmap original = test::NoisyBitmap(W, H);
        Bitmap bmp = original;
        BitmapCanvas canvas(bmp);
        canvas.CopyRect(c.dest, bmp, c.src);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                ASSERT_EQ(bmp.pixel(x, y), c.expected(original, x, y))
                    << c.name << " at " << x << "," << y;
    }
}

TEST(Stretch, HalftoneAveragesWhenShrinkingAndBlendsWhenGrowing) {
    constexpr StretchMode kHalftone = StretchMode::Halftone, kNearest = StretchMode::ColorOnColor;
    // source greys, width, mode, result
    const std::tuple<std::vector<int>, int, StretchMode, std::vector<int>> cases[] = {
        {{0, 100, 200, 50}, 2, kHalftone, {50, 125}},  // halves average pairs
        {{0, 90, 30}, 2, kHalftone, {30, 50}},         // a third of the way: weights 1 and 1/2
        {{0, 255}, 4, kHalftone, {0, 64, 191, 255}},   // growing blends between centres
        {{10, 20}, 4, kNearest, {10, 10, 20, 20}},
        {{1, 2, 3, 4}, 2, kNearest, {2, 4}},  // shrinking takes the centres
    };
    for (const auto& [src, width, mode, expected] : cases)
        EXPECT_EQ(Greys(StretchBitmap(Row(src), width, 1, mode)), expected) << width;

    // A plain colour stays exactly that colour at any size.
    const Bitmap silver(300, 200, clSilver);
    EXPECT_EQ(test::CountPixels(StretchBitmap(silver, 701, 333, StretchMode::Halftone), clSilver),
              701 * 333);
}

TEST(Stretch, PixelsOutsideEitherBitmapAreSkipped) {
    const Bitmap src = Row({10, 20});
    Bitmap dest = Row({1, 2, 3, 4});
    // The source rectangle starts two pixels left of the source bitmap.
    StretchBits(dest, {0, 0, 4, 1}, src, {-2, 0, 2, 1}, StretchMode::ColorOnColor);
    EXPECT_EQ(Greys(dest), (std::vector<int>{1, 2, 10, 20}));
    // The destination rectangle sticks out on both sides.
    dest = Row({1, 2, 3, 4});
    StretchBits(dest, {-1, 0, 5, 1}, Row({7, 8, 9, 10, 11, 12}), {0, 0, 6, 1},
                StretchMode::Halftone);
    EXPECT_EQ(Greys(dest), (std::vector<int>{8, 9, 10, 11}));
    // Rectangles beyond any picture are refused quickly.
    StretchBits(dest, {-2000000000, 0, 2000000000, 1}, src, {0, 0, 2, 1}, StretchMode::Halftone);
    StretchBits(dest, {0, 0, 4, 1}, src, {0, 0, 2000000000, 1}, StretchMode::Halftone);
    // Empty rectangles and bitmaps do nothing.
    StretchBits(dest, {0, 0, 0, 1}, src, {0, 0, 2, 1}, StretchMode::Halftone);
    Bitmap empty;
    StretchBits(empty, {0, 0, 4, 1}, src, {0, 0, 2, 1}, StretchMode::Halftone);
    EXPECT_EQ(Greys(dest), (std::vector<int>{8, 9, 10, 11}));
}

TEST(TurnBitmap, QuarterTurnsMovePixelsRoundTheCorners) {
    // Red marks the top-left pixel, green the top-right, black the bottom row.
    const Bitmap src = FromArt({"o.g", "###"});
    const struct {
        int degrees;
        std::string expected;
    } cases[] = {
        {90, Rows({"#o", "#.", "#g"})},  {180, Rows({"###", "g.o"})},
        {-90, Rows({"g#", ".#", "o#"})}, {450, Rows({"#o", "#.", "#g"})},
        {45, Rows({"o.g", "###"})},  // not a quarter turn: left as it is
    };
    for (const auto& c : cases) EXPECT_EQ(Art(TurnBitmap(src, c.degrees)), c.expected) << c.degrees;
}

}  // namespace
}  // namespace pb
