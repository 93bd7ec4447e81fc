// The four-corner warp: the picture's own corners change nothing, a moved corner moves its
// edges.
#include "imaging/quad_warp.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/pixel_art.h"

namespace pb {
namespace {

using test::NoisyBitmap;

TEST(WarpQuadrilateral, ThePicturesOwnCornersLeaveItAsItIs) {
    for (const Size size : {Size{30, 20}, Size{17, 41}, Size{1, 1}, Size{7, 1}, Size{1, 6}}) {
        const Bitmap picture = NoisyBitmap(size.width, size.height);
        const WarpCorners own = PictureCorners(size.width, size.height);
        EXPECT_EQ(WarpQuadrilateral(picture, own, clWhite), picture) << size.width;
        // Upside down on both sides, or left and right exchanged: put right first.
        const WarpCorners flipped{own[1], own[0], own[3], own[2]};
        EXPECT_EQ(WarpQuadrilateral(picture, flipped, clWhite), picture) << size.width;
        const WarpCorners swapped{own[2], own[3], own[0], own[1]};
        EXPECT_EQ(WarpQuadrilateral(picture, swapped, clWhite), picture) << size.width;
    }
}

TEST(WarpQuadrilateral, AMovedCornerMovesItsEdges) {
    constexpr int W = 60, H = 48;  // a sixth: 10 across, 8 down
    const Bitmap red(W, H, clRed);
    const struct {
        const char* what;
        int corner;
        bool alongX, plus;
        std::vector<Point> white, stillRed;
    } cases[] = {
        {"top-left right", 0, true, true, {{0, 0}, {8, 0}, {4, 20}}, {{11, 0}, {1, H - 1}}},
        {"bottom-left up",
         1,
         false,
         false,
         {{0, H - 1}, {0, H - 7}},
         {{0, H - 10}, {W - 1, H - 10}}},
        {"top-right left", 2, true, false, {{W - 1, 0}, {W - 9, 0}}, {{W - 12, 0}, {0, H - 1}}},
        {"bottom-right up", 3, false, false, {{W - 1, H - 1}, {W - 1, H - 7}}, {{W - 1, H - 10}}},
    };
    for (const auto& c : cases) {
        const WarpCorners corners =
            StepCorner(PictureCorners(W, H), c.corner, c.alongX, c.plus, W, H);
        const Bitmap warped = WarpQuadrilateral(red, corners, clWhite);
        ASSERT_EQ(warped.size(), red.size());
        for (const Point p : c.white) EXPECT_EQ(warped.pixel(p.x, p.y), clWhite) << c.what;
        for (const Point p : c.stillRed) EXPECT_EQ(warped.pixel(p.x, p.y), clRed) << c.what;
    }
}

}  // namespace
}  // namespace pb
