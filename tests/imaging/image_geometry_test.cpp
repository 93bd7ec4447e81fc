// Quarter turns into the region's frame, rotation by degrees and the two-colour split.
#include "imaging/image_geometry.h"

#include <gtest/gtest.h>

#include "platform/bitmap_ops.h"
#include "platform/pixel_art.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::CountPixels;
using test::NoisyBitmap;

TEST(QuarterTurnOfRegion, FourTurnsRestoreTheRegionAndOneSqueezesItIntoItsFrame) {
    const struct {
        Size size;
        bool clockwise;
    } cases[] = {{{8, 8}, true}, {{12, 5}, true}, {{12, 5}, false}, {{3, 17}, true}};
    for (const auto& c : cases) {
        const Bitmap opened = NoisyBitmap(c.size.width, c.size.height);
        Bitmap turned = opened, region = opened;
        TurnRegionQuarter(turned, region, c.clockwise);
        EXPECT_EQ(region.size(), opened.size());
        EXPECT_EQ(turned.size(), (Size{c.size.height, c.size.width}));
        if (c.size.width == c.size.height)
            EXPECT_EQ(region, TurnBitmap(opened, c.clockwise ? 90 : -90));
        else
            EXPECT_NE(region, TurnBitmap(opened, c.clockwise ? 90 : -90));
        for (int i = 0; i < 3; ++i) TurnRegionQuarter(turned, region, c.clockwise);
        EXPECT_EQ(turned, opened) << c.size.width << "x" << c.size.height;
        EXPECT_EQ(region, opened) << c.size.width << "x" << c.size.height;
    }
}

TEST(RotateByAngle, SizeGrowsByTheTurnedExtentPlusOne) {
    const struct {
        Size source;
        int degrees;
        Size rotated;
    } cases[] = {
        {{40, 30}, 180, {41, 31}},  // the sine's remainder rounds away
        {{10, 4}, 90, {5, 11}},
        {{100, 50}, -30, {113, 94}},  // 25 + 86.6 and 43.3 + 50
    };
    for (const auto& c : cases) {
        const Bitmap src(c.source.width, c.source.height, clBlack);
        EXPECT_EQ(RotateByAngle(src, c.degrees, clWhite).size(), c.rotated) << c.degrees;
        EXPECT_EQ(RegionAtAngle(src, c.degrees).size(), c.source) << c.degrees;
    }
}

TEST(SplitTwoColours, ColourAEndsOnTheLargerPart) {
    // Three greys: 100 (4 pixels), 150 (2), 200 (6); levels count from the darkest.
    Bitmap picture(12, 1, RGB(200, 200, 200));
    for (int x = 0; x < 4; ++x) picture.setPixel(x, 0, RGB(100, 100, 100));
    for (int x = 4; x < 6; ++x) picture.setPixel(x, 0, RGB(150, 150, 150));
    const TColor a = RGB(255, 255, 0), b = RGB(0, 0, 128);
    const struct {
        int threshold;
        long countA;
        TColor first;  // colour of the darkest pixels
        TColor last;   // colour of the lightest
    } cases[] = {
        {255, 12, a, a},                 // everything near the darkest: all A
        {100, 12, a, a}, {99, 6, a, b},  // 6 dark pixels against 6 light: no swap needed
        {50, 6, a, b},   {49, 8, b, a},  // 4 dark become B after the swap: the 8 others are A
        {-5, 8, b, a},
    };
    for (const auto& c : cases) {
        const Bitmap split = SplitTwoColours(picture, a, c.threshold, b);
        EXPECT_EQ(CountPixels(split, a), c.countA) << c.threshold;
        EXPECT_EQ(CountPixels(split, b), 12 - c.countA) << c.threshold;
        EXPECT_EQ(split.pixel(0, 0), c.first) << c.threshold;
        EXPECT_EQ(split.pixel(11, 0), c.last) << c.threshold;
    }
    const Bitmap photo = NoisyBitmap(30, 20);
    EXPECT_EQ(CountPixels(SplitTwoColours(photo, a, 255, b), a), 600);
}

}  // namespace
}  // namespace pb
