// The import screen's fit modes and the sizing by hand of the last one.
#include "imaging/fit_modes.h"

#include <gtest/gtest.h>

#include "platform/pixel_art.h"

namespace pb {
namespace {

using test::NoisyBitmap;

TEST(FitModes, TargetSizePerMode) {
    const struct {
        FitMode mode;
        Size picture, canvas, expected;
    } cases[] = {
        {FitMode::KeepAspect, {1000, 500}, {300, 200}, {300, 150}},  // shrunk to 30 %
        {FitMode::KeepAspect, {600, 400}, {300, 200}, {300, 200}},  // the canvas's own ratio
        {FitMode::KeepAspect, {100, 80}, {300, 200}, {250, 200}},   // grown to 250 %
        {FitMode::FillCanvas, {1000, 500}, {300, 200}, {300, 200}},
        {FitMode::ActualSize, {100, 50}, {300, 200}, {100, 50}},
        {FitMode::ActualSize, {100, 500}, {300, 200}, {100, 200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitTargetSize(c.mode, c.picture, c.canvas), c.expected)
            << static_cast<int>(c.mode) << ": " << c.picture.width << "x" << c.picture.height;
        const Bitmap placed =
            FitPicture(Bitmap(c.picture.width, c.picture.height), c.mode, c.canvas, true);
        EXPECT_EQ(placed.size(), c.expected);
        EXPECT_EQ(LeavesGap(placed.size(), c.canvas), c.expected != c.canvas);
    }
}

TEST(FitModes, SizingByHandStepsByFourAndStopsAt19OrTheLimit) {
    const Size room{300, 200};
    const struct {
        Size current;
        int button;
        Size limit, expected;
    } cases[] = {
        {{100, 80}, 1, room, {96, 80}},    {{100, 80}, 2, room, {104, 80}},
        {{100, 80}, 3, room, {100, 76}},   {{100, 80}, 4, room, {100, 84}},
        {{21, 21}, 1, room, {19, 21}},  // stops at 19
        {{19, 19}, 3, room, {19, 19}},
        {{298, 80}, 2, room, {300, 80}},    // stops at the room left
        {{30, 30}, 2, {10, 12}, {10, 12}},  // the room wins over 19
        {{30, 30}, 4, {0, -3}, {1, 1}},     // no room at all: one pixel
        {{30, 30}, 7, room, {30, 30}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeByHand(c.current, c.button, c.limit), c.expected)
            << c.current.width << "x" << c.current.height << " button " << c.button;
}

TEST(FitModes, PastePositionCountsBitmapPixelsAndKeepsAFittingPictureInside) {
    const Size region{300, 200};
    const struct {
        Point placed, canvas;
        int zoom;
        Size picture;
        Point expected;
    } cases[] = {
        {{13, 207}, {6, 200}, 30, {100, 60}, {23, 23}},  // 7 * 100 div 30
        {{1, 0}, {0, 0}, 50, {299, 199}, {1, 0}},        // 2 would push a column off
        {{1, 0}, {0, 0}, 50, {400, 100}, {2, 0}},        // larger than the region
    };
    for (const auto& c : cases)
        EXPECT_EQ(PastePosition(c.placed, c.canvas, c.zoom, c.picture, region), c.expected)
            << "zoom " << c.zoom << " at " << c.placed.x;
}

}  // namespace
}  // namespace pb
