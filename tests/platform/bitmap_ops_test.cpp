// Quarter turns: where each pixel lands, for turns either way and beyond one revolution.
#include "platform/bitmap_ops.h"

#include <gtest/gtest.h>

#include "pixel_art.h"

namespace pb {
namespace {

using test::Art;
using test::FromArt;
using test::NoisyBitmap;
using test::Rows;

TEST(TurnBitmap, QuarterTurnsMovePixelsRoundTheCorners) {
    // Red marks the top-left pixel, green the top-right, black the bottom row.
    const Bitmap src = FromArt({"o.g", "###"});
    const struct {
        int degrees;
        std::string expected;
    } cases[] = {
        {90, Rows({"#o", "#.", "#g"})},  {-270, Rows({"#o", "#.", "#g"})},
        {180, Rows({"###", "g.o"})},     {270, Rows({"g#", ".#", "o#"})},
        {-90, Rows({"g#", ".#", "o#"})}, {450, Rows({"#o", "#.", "#g"})},
        {0, Rows({"o.g", "###"})},       {360, Rows({"o.g", "###"})},
        {45, Rows({"o.g", "###"})},  // not a quarter turn: left as it is
    };
    for (const auto& c : cases) EXPECT_EQ(Art(TurnBitmap(src, c.degrees)), c.expected) << c.degrees;
}

TEST(TurnBitmap, TurnsBackAndForthRestoreTheBitmap) {
    for (const Size size : {Size{5, 5}, Size{7, 3}, Size{1, 9}}) {
        const Bitmap src = NoisyBitmap(size.width, size.height);
        EXPECT_EQ(TurnBitmap(TurnBitmap(src, 90), -90), src);
        EXPECT_EQ(TurnBitmap(TurnBitmap(src, 180), 180), src);
        Bitmap turned = src;
        for (int i = 0; i < 4; ++i) turned = TurnBitmap(turned, 90);
        EXPECT_EQ(turned, src);
    }
    EXPECT_TRUE(TurnBitmap(Bitmap(0, 4), 90).isNull());
}

}  // namespace
}  // namespace pb
