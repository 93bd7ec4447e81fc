#include "imaging/colour_key_fill.h"

#include <gtest/gtest.h>

#include <vector>

namespace pb {
namespace {

constexpr TColor kKey = RGB(100, 100, 100);
constexpr TColor kSameBrightness[] = {RGB(85, 109, 93), RGB(115, 91, 107), RGB(74, 108, 127)};
constexpr TColor kOther = RGB(10, 200, 10);
constexpr TColor kC1 = RGB(0, 0, 0);
constexpr TColor kC2 = RGB(100, 100, 100);
constexpr TColor kC3 = RGB(200, 0, 50);

ComponentColours Slots(const std::vector<TColor>& colours) {
    ComponentColours c;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        c.use[i + 2] = true;  // from slot 3: slot order counts, not the slot number
        c.colour[i + 2] = colours[i];
    }
    return c;
}

// Every third pixel another colour, the rest the key's brightness in turning hues.
Bitmap Speckled(int w, int h) {
    Bitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.setPixel(x, y, (x + y) % 3 == 0 ? kOther : kSameBrightness[(x + 2 * y) % 3]);
    return bmp;
}

TEST(ColourKeyFill, ThresholdZeroTakesEveryHueOfTheKeysBrightnessInEveryStyle) {
    const Bitmap opened = Speckled(23, 11);
    Bitmap picture(5, 4, RGB(1, 2, 3));
    struct Case {
        const char* name;
        KeyFill fill;
    };
    KeyFill solid;
    solid.colour = kC3;
    KeyFill stripe{KeyFillStyle::Stripe, clBlack, Slots({kC1, kC3}), 2, false, nullptr};
    KeyFill gradation{KeyFillStyle::Gradation, clBlack, Slots({kC1, kC3}), 5, true, nullptr};
    KeyFill pictured{KeyFillStyle::Picture, clBlack, {}, 5, true, &picture};
    const Case cases[] = {
        {"solid", solid}, {"stripe", stripe}, {"gradation", gradation}, {"picture", pictured}};
    for (const Case& c : cases) {
        const Bitmap out = ApplyKeyFill(opened, KeyMatch::Similar(kKey, 0), c.fill);
        for (int y = 0; y < opened.height(); ++y)
            for (int x = 0; x < opened.width(); ++x) {
                if (opened.pixel(x, y) == kOther)
                    ASSERT_EQ(out.pixel(x, y), kOther) << c.name << " " << x << "," << y;
                else
                    ASSERT_NE(out.pixel(x, y), opened.pixel(x, y))
                        << c.name << " " << x << "," << y;
            }
        // The exact test takes none of them: the key colour itself is not in the region.
        EXPECT_EQ(ApplyKeyFill(opened, KeyMatch::Exact(kKey), c.fill), opened) << c.name;
    }
}

TEST(ColourKeyFill, NoSlotLeavesTheRegionAndOneSlotIsSolid) {
    const Bitmap opened = Speckled(19, 13);
    const KeyMatch match = KeyMatch::Similar(kKey, 3);
    KeyFill solid;
    solid.colour = RGB(9, 8, 7);
    ASSERT_NE(ApplyKeyFill(opened, match, solid), opened);
    for (KeyFillStyle style : {KeyFillStyle::Stripe, KeyFillStyle::Gradation})
        for (bool horizontal : {true, false}) {
            KeyFill fill{style, kC3, {}, 3, horizontal, nullptr};
            EXPECT_EQ(ApplyKeyFill(opened, match, fill), opened);
            fill.components = Slots({RGB(9, 8, 7)});
            EXPECT_EQ(ApplyKeyFill(opened, match, fill), ApplyKeyFill(opened, match, solid));
        }
}

TEST(ColourKeyFill, GradationOfThreeColoursOver101Rows) {
    const Bitmap opened(3, 101, clWhite);
    const Bitmap out =
        ApplyKeyFill(opened, KeyMatch::Exact(clWhite),
                     {KeyFillStyle::Gradation, clBlack, Slots({kC1, kC2, kC3}), 5, true, nullptr});
    // Two bands of 50 rows; the row left over takes the third colour.
    const std::pair<int, TColor> rows[] = {
        {0, kC1},  {25, RGB(50, 50, 50)}, {49, RGB(98, 98, 98)},
        {50, kC2}, {99, RGB(198, 2, 51)}, {100, kC3},
    };
    for (auto [row, colour] : rows)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(out.pixel(x, row), colour) << "row " << row;
}

TEST(MarginFill, OnlyExactlyWhitePixelsChange) {
    Bitmap page(40, 30, clWhite);
    const TColor offWhite[] = {RGB(254, 255, 255), RGB(255, 254, 255), RGB(255, 255, 254)};
    for (int i = 0; i < 3; ++i) page.setPixel(5 + 10 * i, 7 + 5 * i, offWhite[i]);
    page.setPixel(20, 20, clBlack);
    const Bitmap picture(6, 6, RGB(0, 0, 200));
    const KeyFill fills[] = {
        {KeyFillStyle::Solid, RGB(1, 2, 3), {}, 5, true, nullptr},
        {KeyFillStyle::Stripe, clBlack, Slots({kC1, kC3, kC2}), 1, true, nullptr},
        {KeyFillStyle::Gradation, clBlack, Slots({kC1, kC3}), 5, false, nullptr},
        {KeyFillStyle::Picture, clBlack, {}, 5, true, &picture},
    };
    for (const KeyFill& fill : fills) {
        const Bitmap out = ApplyMarginFill(page, fill);
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (page.pixel(x, y) == clWhite)
                    ASSERT_NE(out.pixel(x, y), clWhite) << x << "," << y;
                else
                    ASSERT_EQ(out.pixel(x, y), page.pixel(x, y)) << x << "," << y;
            }
        // A page without white is left as it is.
        const Bitmap grey(9, 9, RGB(250, 250, 250));
        EXPECT_EQ(ApplyMarginFill(grey, fill), grey);
    }
}

TEST(ColourKeyFill, PictureIsCroppedOrTiledNeverScaled) {
    Bitmap picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.setPixel(x, y, RGB(x, y, 9));
    struct Case {
        int w, h;
    };
    // Smaller (cropped), wider, taller, both (tiled and cut), and the same size.
    for (Case c : {Case{3, 2}, Case{10, 3}, Case{4, 7}, Case{9, 8}, Case{4, 3}}) {
        const Bitmap out = PictureToSize(picture, c.w, c.h);
        ASSERT_EQ(out.size(), (Size{c.w, c.h}));
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(out.pixel(x, y), RGB(x % 4, y % 3, 9)) << c.w << "x" << c.h;
    }
    EXPECT_EQ(PictureToSize(Bitmap(), 2, 2), Bitmap(2, 2, clWhite));
}

TEST(ColourKeyFill, PreviewKeepsTheAspectInside240By80) {
    struct Case {
        int w, h;
        Size preview;
    };
    const Case cases[] = {
        {300, 100, {240, 80}},  // exactly 3 : 1
        {50, 200, {20, 80}},   {301, 100, {240, 79}},
        {5000, 1, {240, 1}},  // never thinner than a pixel
        {0, 10, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyFillPreviewSize(c.w, c.h), c.preview) << c.w << "x" << c.h;
}

}  // namespace
}  // namespace pb
