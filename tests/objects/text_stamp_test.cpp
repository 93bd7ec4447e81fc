#include "objects/text_stamp.h"

#include <gtest/gtest.h>

#include "objects/object_renderer.h"
#include "objects_fixture.h"

namespace pb {
namespace {
using namespace test;

// The colours of row y from x = 0, run by run: {colour, length}.
std::vector<std::pair<TColor, int>> Runs(const Bitmap& b, int y, int upTo) {
    std::vector<std::pair<TColor, int>> runs;
    for (int x = 0; x < upTo; ++x) {
        if (runs.empty() || runs.back().first != b.pixel(x, y))
            runs.push_back({b.pixel(x, y), 1});
        else
            ++runs.back().second;
    }
    return runs;
}

TEST(TextStamp, StripeBandsFollowTheStampSizeWhileObjectsKeepFive) {
    // Vertical red / yellow bands, read along the top row of the background or fill bitmap
    // (no glyph reaches row 0 of these boxes' background).
    const std::vector<std::pair<TColor, int>> two = {{kRed, 2}, {kYellow, 2}, {kRed, 2}};
    const std::vector<std::pair<TColor, int>> five = {{kRed, 5}, {kYellow, 5}, {kRed, 5}};
    struct Case {
        const char* name;
        bool decorated;
        int size;
        int stripeWidth;
        std::vector<std::pair<TColor, int>> bands;
    };
    const Case cases[] = {
        {"plain stamp, size 20: 20 / 7", false, 20, PlainStampStripeWidth(20), two},
        {"plain object, size 20", false, 20, kObjectStripeWidth, five},
        {"decorated stamp, size 48: 48 / 24", true, 48, DecoratedStampStripeWidth(48), two},
        {"decorated object, size 48", true, 48, kObjectStripeWidth, five},
    };
    for (const Case& c : cases) {
        ObjectRecord r = c.decorated ? TextRecord("ABCD", c.size) : PlainRecord("ABCD", c.size);
        r.BackStyle = 2;
        r.FillStyle = 2;
        r.Horizontal = false;
        UseColours(r, {kRed, kYellow});
        const auto picture = c.decorated ? RenderDecoratedPicture(r, c.stripeWidth)
                                         : RenderPlainTextPicture(r, c.stripeWidth);
        ASSERT_TRUE(picture && picture->companion) << c.name;
        int upTo = 0;
        for (const auto& run : c.bands) upTo += run.second;
        EXPECT_EQ(Runs(*picture->companion, 0, upTo), c.bands) << c.name;
    }
    // The band widths never drop below one pixel.
    EXPECT_EQ(PlainStampStripeWidth(6), 1);
    EXPECT_EQ(DecoratedStampStripeWidth(10), 1);
    // The object renderer's own default is still five.
    ObjectRecord plain = PlainRecord("ABCD", 20);
    plain.BackStyle = 2;
    UseColours(plain, {kRed, kYellow});
    EXPECT_EQ(RenderPlainTextPicture(plain)->companion,
              RenderPlainTextPicture(plain, 5)->companion);
}

TEST(TextStamp, CopyNonKeyPixelsStaysInsideTheRegion) {
    // A 10 x 6 picture: left half red, right half KeyColour, placed on a 20 x 10 white region.
    Bitmap picture(10, 6, KeyColour);
    for (int y = 0; y < 6; ++y) picture.fillSpan(y, 0, 5, kRed);
    struct Case {
        const char* name;
        Point at;
        long long copied;
    };
    const Case cases[] = {
        {"inside", {2, 2}, 30},
        {"over the right edge: columns 17..19 only", {17, 0}, 18},
        {"over the left and top edges", {-3, -4}, 4},
        {"wholly outside", {20, 0}, 0},
        {"far outside", {-2000000000, 2000000000}, 0},
    };
    for (const Case& c : cases) {
        Bitmap region(20, 10, clWhite);
        EXPECT_EQ(CopyNonKeyPixels(region, c.at, picture), c.copied) << c.name;
        EXPECT_EQ(CountPixels(region, kRed), c.copied) << c.name;
        EXPECT_EQ(CountPixels(region, KeyColour), 0) << c.name << ": the key never lands";
    }
}

TEST(TextStamp, TextInTheKeyColourDoesNotReachTheRegion) {
    // Outline and fill colours; the shadow stays off.
    const std::tuple<const char*, TColor, TColor, bool> cases[] = {
        {"black outline, white fill", clBlack, clWhite, true},
        {"outline and fill in the key colour", KeyColour, KeyColour, false},
    };
    for (const auto& [name, outline, fill, reaches] : cases) {
        ObjectRecord r = TextRecord("AB", 36);
        r.OutlineColor = outline;
        r.FillColor = fill;
        const auto picture = RenderDecoratedPicture(r, DecoratedStampStripeWidth(36));
        ASSERT_TRUE(picture) << name;
        Bitmap region = NoiseBitmap(120, 80, 7);
        const Bitmap before = region;
        const long long copied = CopyNonKeyPixels(region, {4, 4}, picture->image);
        EXPECT_EQ(copied > 0, reaches) << name;
        EXPECT_EQ(CountDifferentPixels(region, before) > 0, reaches) << name;
    }
}

TEST(TextStamp, PlainStampOverTheCornerIsCutThere) {
    // The screen tests burn whole stamps; here one hangs over the bottom-right corner.
    const TColor ground = RGB(0, 128, 0);
    ObjectRecord r = PlainRecord("ABC", 20);
    r.BackStyle = 1;
    r.BackColor = kYellow;
    Bitmap small(10, 10, ground);
    EXPECT_TRUE(BurnPlainStamp(small, {6, 6}, r));
    EXPECT_EQ(CountPixels(small, ground), 100 - 16);
}

TEST(TextStamp, DeformationButtons) {
    struct Case {
        const char* name;
        StampDeformation now;
        int button;
        StampDeformation next;
    };
    const Case cases[] = {
        {"arch down from open", {1, 0}, 2, {1, 9}},
        {"arch up", {1, 9}, 1, {1, 0}},
        {"slant after arch starts at 0 - step", {1, 9}, 3, {2, -9}},
        {"slant on", {2, -9}, 4, {2, 0}},
        {"arch after slant starts at 0 + step", {2, -27}, 2, {1, 9}},
        {"no such button", {2, -9}, 5, {2, -9}},
        {"no amount beyond reach", {1, 1100000000}, 2, {1, 1100000000}},
    };
    for (const Case& c : cases) EXPECT_EQ(NextDeformation(c.now, c.button, 9), c.next) << c.name;
}

}  // namespace
}  // namespace pb
