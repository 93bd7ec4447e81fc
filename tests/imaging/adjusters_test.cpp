#include <gtest/gtest.h>

#include <cstdint>

#include "imaging/colour_tone.h"
#include "imaging/region_stretch.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(ColourTone, SliderPositionsBecomeOffsets) {
    const std::pair<int, int> cases[] = {{0, -100}, {25, -50}, {50, 0}, {51, 2}, {100, 100}};
    for (auto [position, offset] : cases) EXPECT_EQ(ToneOffsetOfPosition(position), offset);
}

TEST(ColourTone, OffsetsRaiseEachByteAndClamp) {
    // No offsets, +100 and -100 overall are the tone screen's cases.
    struct Case {
        ToneOffsets offsets;
        TColor before, after;  // one pixel, 0x00BBGGRR
    };
    const Case cases[] = {
        {{50, 0, 0, 0}, RGB(10, 20, 30), RGB(10, 20, 157)},        // blue + 127
        {{0, 0, -1, 0}, RGB(10, 20, 30), RGB(8, 20, 30)},          // -255 div 100 is -2
        {{0, 0, -10, 10}, RGB(10, 20, 30), RGB(10, 45, 55)},       // overall and red cancel
        {{100, 100, 100, 100}, RGB(0, 0, 0), RGB(255, 255, 255)},  // 510 clamps to 255
        {{-100, 0, 0, 60}, RGB(200, 200, 200), RGB(255, 255, 98)},
    };
    for (const Case& c : cases) {
        const Bitmap out = AdjustTone(Bitmap(3, 2, c.before), c.offsets);
        EXPECT_EQ(out, Bitmap(3, 2, c.after)) << std::hex << c.before << " -> " << out.pixel(0, 0);
    }
}

TEST(RegionStretch, StepsOfFiveAppliedFromFiveUp) {
    struct Case {
        int scale;
        bool enlarge;
        StretchStep step;
    };
    const Case cases[] = {
        {100, false, {95, true}}, {100, true, {105, true}}, {5, false, {0, false}},
        {0, false, {-5, false}},  {-5, true, {0, false}},
    };
    for (const Case& c : cases) {
        const StretchStep s = StepStretchScale(c.scale, c.enlarge);
        EXPECT_EQ(s.scale, c.step.scale) << c.scale;
        EXPECT_EQ(s.apply, c.step.apply) << c.scale;
    }
}

TEST(RegionStretch, ShrinkCentresWithWhiteMarginsAndGrowCropsEvenly) {
    // 95 % of 100 x 100: drawn at (2, 2), 95 x 95.
    const TColor red = RGB(200, 0, 0);
    const Bitmap plain(100, 100, red);
    const Bitmap shrunk = StretchAboutCentre(plain, 95);
    ASSERT_EQ(shrunk.size(), (Size{100, 100}));
    EXPECT_EQ(test::CountPixels(shrunk, red), 95 * 95);
    EXPECT_EQ(std::pair(shrunk.pixel(2, 2), shrunk.pixel(96, 96)), std::pair(red, red));
    EXPECT_EQ(StretchAboutCentre(plain, 100), plain);

    // 200 % of four quadrants: the middle half is shown, the quadrants still meeting at 50.
    Bitmap quads(100, 100);
    const TColor q[4] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) quads.setPixel(x, y, q[(y >= 50) * 2 + (x >= 50)]);
    const Bitmap grown = StretchAboutCentre(quads, 200);
    const std::pair<Point, TColor> probes[] = {{{0, 0}, q[0]},   {{49, 49}, q[0]}, {{50, 49}, q[1]},
                                               {{99, 0}, q[1]},  {{49, 50}, q[2]}, {{0, 99}, q[2]},
                                               {{50, 50}, q[3]}, {{99, 99}, q[3]}};
    for (auto [p, colour] : probes) EXPECT_EQ(grown.pixel(p.x, p.y), colour) << p.x << "," << p.y;
    // Odd sizes: 105 % of 21 x 11 is 22 x 11 at (0, 0); no white is left.
    EXPECT_EQ(test::CountPixels(StretchAboutCentre(Bitmap(21, 11, red), 105), clWhite), 0);
}

}  // namespace
}  // namespace pb
