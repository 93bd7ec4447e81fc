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

// Component slots holding `colours` in use, spread over the seven slots with unused ones
// between them (slot order counts, gaps do not).
ComponentColours Components(std::initializer_list<TColor> colours) {
    ComponentColours c;
    std::size_t slot = 0;
    for (TColor colour : colours) {
        c.colour[slot] = colour;
        c.use[slot] = true;
        c.colour[slot + 1] = RGB(99, 99, 99);  // not in use: ignored
        slot += 2;
    }
    return c;
}

TEST(FillStyles, StripesAreBandsOfTheSelectedColoursInSlotOrder) {
    struct Case {
        bool horizontal;
        int width, height;
        int bandWidth;
        std::vector<TColor> along;  // expected colour of each column (or row)
    };
    const std::vector<TColor> threeOver12 = {kC1, kC1, kC1, kC1, kC1, kC2,
                                             kC2, kC2, kC2, kC2, kC3, kC3};
    const Case cases[] = {
        {false, 12, 4, 5, threeOver12},
        {true, 4, 12, 5, threeOver12},
        // Wrapping back to colour 1 after colour 3; band width 0 counts as 1.
        {false, 7, 1, 2, {kC1, kC1, kC2, kC2, kC3, kC3, kC1}},
        {false, 4, 1, 0, {kC1, kC2, kC3, kC1}},
    };
    for (const Case& c : cases) {
        Bitmap bmp(c.width, c.height, clWhite);
        StripeFill(bmp, c.bandWidth, Components({kC1, kC2, kC3}), clWhite, c.horizontal);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(bmp.pixel(x, y), c.along[static_cast<std::size_t>(c.horizontal ? y : x)])
                    << "horizontal " << c.horizontal << " at " << x << "," << y;
    }
}

TEST(FillStyles, GradationSegmentsAndTheirRounding) {
    struct Case {
        const char* name;
        std::vector<TColor> colours;
        int length;
        std::vector<std::pair<int, TColor>> expected;  // row (column) and its colour
    };
    const Case cases[] = {
        // s = 1, g = 101: row 0 exactly colour 1, row 100 one step short of colour 2.
        {"two colours over 101",
         {RGB(0, 0, 0), RGB(202, 101, 255)},
         101,
         {{0, RGB(0, 0, 0)}, {50, RGB(100, 50, 126)}, {100, RGB(200, 100, 252)}}},
        // g = 5, no remainder: 1 -> 2 over rows 0-4, 2 -> 3 over rows 5-9.
        {"three colours over 10",
         {RGB(0, 0, 0), RGB(100, 200, 50), RGB(0, 0, 0)},
         10,
         {{0, RGB(0, 0, 0)}, {4, RGB(80, 160, 40)}, {5, RGB(100, 200, 50)}, {9, RGB(20, 40, 10)}}},
        // g = 3, r = 1: the last row is colour 4 exactly.
        {"four colours over 10",
         {RGB(0, 0, 0), RGB(90, 90, 90), RGB(30, 60, 90), kC4},
         10,
         {{0, RGB(0, 0, 0)},
          {2, RGB(60, 60, 60)},
          {3, RGB(90, 90, 90)},
          {6, RGB(30, 60, 90)},
          {8, RGB(17, 33, 50)},
          {9, kC4}}},
        // Halves go to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
        {"halves to even", {RGB(0, 0, 0), RGB(1, 3, 5)}, 2, {{0, 0}, {1, RGB(0, 2, 2)}}},
        // Fewer rows than segments: every row is a left-over row in the last colour.
        {"too short", {kC1, kC2, kC3, kC4}, 2, {{0, kC4}, {1, kC4}}},
    };
    for (const Case& c : cases) {
        ComponentColours comps;
        for (std::size_t i = 0; i < c.colours.size(); ++i) {
            comps.use[i] = true;
            comps.colour[i] = c.colours[i];
        }
        Bitmap down(3, c.length, clWhite), across(c.length, 3, clWhite);
        GradationFillDown(down, comps, clWhite);
        GradationFillAcross(across, comps, clWhite);
        for (const auto& [at, colour] : c.expected) {
            EXPECT_EQ(down.pixel(2, at), colour) << c.name << " row " << at;
            EXPECT_EQ(across.pixel(at, 1), colour) << c.name << " column " << at;
        }
    }
}

TEST(FillStyles, OnlyKeyPixelsChangeAndFewColoursFallBack) {
    // A "text" pixel and a pixel of another colour than the key stay; with no colour selected
    // nothing changes, with one every key pixel takes it.
    struct Case {
        std::initializer_list<TColor> colours;
        TColor keyPixelsBecome;
    };
    const Case cases[] = {{{}, clWhite}, {{kC2}, kC2}};
    using Fill = void (*)(Bitmap&, const ComponentColours&);
    const Fill fills[] = {
        [](Bitmap& b, const ComponentColours& c) { StripeFill(b, 5, c, clWhite, false); },
        [](Bitmap& b, const ComponentColours& c) { StripeFill(b, 5, c, clWhite, true); },
        [](Bitmap& b, const ComponentColours& c) { GradationFillDown(b, c, clWhite); },
        [](Bitmap& b, const ComponentColours& c) { GradationFillAcross(b, c, clWhite); },
    };
    for (Fill fill : fills) {
        for (const Case& c : cases) {
            Bitmap bmp(9, 9, clWhite);
            bmp.setPixel(4, 4, kInk);
            fill(bmp, Components(c.colours));
            EXPECT_EQ(bmp.pixel(4, 4), kInk);
            EXPECT_EQ(test::CountPixels(bmp, c.keyPixelsBecome), 80);
        }
        // Many colours: the ink pixel still stays.
        Bitmap bmp(30, 30, clWhite);
        bmp.setPixel(12, 17, kInk);
        fill(bmp, Components({kC1, kC2, kC3}));
        EXPECT_EQ(bmp.pixel(12, 17), kInk);
        EXPECT_EQ(test::CountPixels(bmp, clWhite), 0);
    }
    // A key other than white.
    Bitmap bmp(4, 1, clSilver);
    bmp.setPixel(1, 0, clWhite);
    ReplaceColour(bmp, clSilver, kC3);
    EXPECT_EQ(test::CountPixels(bmp, kC3), 3);
    EXPECT_EQ(bmp.pixel(1, 0), clWhite);
}

}  // namespace
}  // namespace pb
