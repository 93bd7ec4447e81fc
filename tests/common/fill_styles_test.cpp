#include "common/fill_styles.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kC1 = RGB(255, 0, 0);
constexpr TColor kC2 = RGB(0, 128, 0);
constexpr TColor kC3 = RGB(0, 0, 255);
constexpr TColor kC4 = RGB(10, 20, 30);
constexpr TColor kInk = RGB(1, 2, 3);  // "drawn text": not the key

// `colours` in every other slot, with unused slots between them (slot order counts, gaps not).
ComponentColours Components(const std::vector<TColor>& colours) {
    ComponentColours c;
    std::size_t slot = 0;
    for (TColor colour : colours) {
        c.colour[slot] = colour;
        c.use[slot] = true;
        if (slot + 1 < c.colour.size()) c.colour[slot + 1] = RGB(99, 99, 99);
        slot += 2;
    }
    return c;
}

TEST(FillStyles, StripesAreBandsOfTheSelectedColoursInSlotOrder) {
    struct Case {
        bool horizontal;
        int length, bandWidth;
        std::vector<TColor> along;  // the colour of each column (row)
    };
    const std::vector<TColor> threeOver12 = {kC1, kC1, kC1, kC1, kC1, kC2,
                                             kC2, kC2, kC2, kC2, kC3, kC3};
    const Case cases[] = {
        {false, 12, 5, threeOver12},
        {true, 12, 5, threeOver12},
        {false, 7, 2, {kC1, kC1, kC2, kC2, kC3, kC3, kC1}},  // wraps to colour 1
        {false, 4, 0, {kC1, kC2, kC3, kC1}},                 // width 0 counts as 1
    };
    for (const Case& c : cases) {
        Bitmap bmp(c.horizontal ? 3 : c.length, c.horizontal ? c.length : 3, clWhite);
        StripeFill(bmp, c.bandWidth, Components({kC1, kC2, kC3}), clWhite, c.horizontal);
        for (int i = 0; i < c.length; ++i)
            for (int j = 0; j < 3; ++j)
                ASSERT_EQ(c.horizontal ? bmp.pixel(j, i) : bmp.pixel(i, j), c.along[i])
                    << "horizontal " << c.horizontal << " at " << i;
    }
}

// Segments and the row left over are held by the key fill's gradation over 101 rows.
TEST(FillStyles, GradationSegmentsAndTheirRounding) {
    struct Case {
        const char* name;
        std::vector<TColor> colours;
        int length;
        std::vector<std::pair<int, TColor>> expected;  // row (column) and its colour
    };
    const Case cases[] = {
        // Halves go to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
        {"halves to even", {RGB(0, 0, 0), RGB(1, 3, 5)}, 2, {{1, RGB(0, 2, 2)}}},
        {"fewer rows than segments", {kC1, kC2, kC3, kC4}, 2, {{0, kC4}, {1, kC4}}},
    };
    for (const Case& c : cases) {
        const ComponentColours comps = Components(c.colours);
        Bitmap down(3, c.length, clWhite), across(c.length, 3, clWhite);
        GradationFillDown(down, comps, clWhite);
        GradationFillAcross(across, comps, clWhite);
        for (const auto& [at, colour] : c.expected) {
            EXPECT_EQ(down.pixel(2, at), colour) << c.name << " row " << at;
            EXPECT_EQ(across.pixel(at, 1), colour) << c.name << " column " << at;
        }
    }
}

TEST(FillStyles, SimilarTestMeasuresBrightnessExactly) {
    const TColor key = RGB(100, 100, 100);  // brightness 100.000
    struct Case {
        TColor pixel;
        int threshold;
        bool matches;
    };
    const Case cases[] = {
        {RGB(85, 109, 93), 0, true},    // the same brightness, another hue
        {RGB(109, 96, 97), 0, false},   // 100.001
        {RGB(91, 104, 103), 0, false},  // 99.999
        {RGB(101, 101, 101), 1, true},  // 101.000: the bound itself
        {RGB(110, 97, 98), 1, false},   // 101.001
        {RGB(255, 255, 255), 155, true},
        {RGB(255, 255, 255), -3, false},  // below the range counts as 0
    };
    for (const Case& c : cases) {
        const KeyMatch match = KeyMatch::Similar(key, c.threshold);
        EXPECT_EQ(match.matches(c.pixel), c.matches) << std::hex << c.pixel;
        // Across a run and the tail of a row, where the fills test whole runs at once.
        Bitmap bmp(37, 1, c.pixel);
        ReplaceColour(bmp, match, kInk);
        EXPECT_EQ(test::CountPixels(bmp, kInk), c.matches ? 37 : 0) << std::hex << c.pixel;
    }
    // Above the range counts as 255: black and white are 255 apart.
    EXPECT_TRUE(KeyMatch::Similar(clBlack, 1000).matches(clWhite));
    EXPECT_FALSE(KeyMatch::Similar(clBlack, 254).matches(clWhite));
}

TEST(FillStyles, PictureFillTakesThePixelAtTheSamePlace) {
    Bitmap picture(30, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 30; ++x) picture.setPixel(x, y, RGB(x, y, 7));
    // Wider and higher than the picture, with a pixel that is not the key in a run.
    Bitmap bmp(37, 4, clWhite);
    bmp.setPixel(5, 1, kInk);
    ReplaceFromPicture(bmp, KeyMatch::Exact(clWhite), picture);
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) {
            TColor expected = x < 30 && y < 3 ? RGB(x, y, 7) : clWhite;
            if (x == 5 && y == 1) expected = kInk;
            ASSERT_EQ(bmp.pixel(x, y), expected) << x << "," << y;
        }
}

}  // namespace
}  // namespace pb
