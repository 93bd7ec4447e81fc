// The four-corner warp: the picture's own corners change nothing, a moved corner moves its
// edges, and the line resampler's spacing, halving and end blends.
#include "imaging/quad_warp.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/pixel_art.h"

namespace pb {
namespace {

using test::NoisyBitmap;

std::vector<std::uint8_t> GreyLine(std::initializer_list<int> greys) {
    std::vector<std::uint8_t> line;
    for (const int g : greys) line.insert(line.end(), 3, static_cast<std::uint8_t>(g));
    return line;
}

std::vector<int> Greys(const std::vector<std::uint8_t>& line) {
    std::vector<int> greys;
    for (std::size_t k = 0; k < line.size(); k += 3) {
        EXPECT_TRUE(line[k] == line[k + 1] && line[k] == line[k + 2]);
        greys.push_back(line[k]);
    }
    return greys;
}

TEST(ResampleLine, MapsTheLineOntoItsSpan) {
    const struct {
        std::initializer_list<int> line;
        double s, e;
        std::vector<int> expected;
    } cases[] = {
        {{10, 20, 30, 40}, 0, 4, {10, 20, 30, 40}},    // the line's own span
        {{10, 20, 30, 40}, 4, 0, {10, 20, 30, 40}},    // ends given the other way round
        {{10, 20, 30, 40}, -3, 9, {10, 20, 30, 40}},   // cut to the line
        {{10, 20, 30, 40}, 2, 4, {255, 255, 15, 35}},  // halved: pairs averaged
        {{10, 20, 30, 40}, 0, 2, {15, 35, 255, 255}},
        {{10, 21, 30}, 0, 1, {15, 255, 255}},    // 10+21 truncates; 30 meets white
        {{10, 20, 30}, 0, 1.5, {15, 199, 255}},  // (30 + 255) / 2, half covered
        {{0, 100}, 0.5, 2.5, {127, 67}},         // half-covered end; 100 - 33
        {{0, 100}, 0, 1, {50, 255}},
        {{80}, 0, 0.4, {255}},                       // narrower than half a pixel
        {{10, 20}, 1, 1, {255, 255}},                // no span at all
        {{10, 20}, 5, 9, {255, 255}},                // beyond the line
        {{10, 20, 30, 40}, 0, 8, {10, 20, 30, 40}},  // cut to 0..4: unchanged
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> line = GreyLine(c.line);
        ResampleLine(line, c.s, c.e, clWhite);
        EXPECT_EQ(Greys(line), c.expected) << c.s << ".." << c.e;
    }
}

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
        {"top-left down", 0, false, true, {{0, 0}, {0, 6}, {20, 2}}, {{0, 9}, {W - 1, 9}}},
        {"bottom-left up",
         1,
         false,
         false,
         {{0, H - 1}, {0, H - 7}},
         {{0, H - 10}, {W - 1, H - 10}}},
        {"top-right left", 2, true, false, {{W - 1, 0}, {W - 9, 0}}, {{W - 12, 0}, {0, H - 1}}},
        {"bottom-right up", 3, false, false, {{W - 1, H - 1}, {W - 1, H - 7}}, {{W - 1, H - 10}}},
        {"bottom-right left", 3, true, false, {{W - 1, H - 1}, {W - 9, H - 1}}, {{W - 12, H - 1}}},
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

// One side upside down: rows go first, then each column is fitted between the two crossing
// diagonals, which pinch the picture into a bow tie at the middle.
TEST(WarpQuadrilateral, OneSideUpsideDownPinchesThePictureAtTheMiddle) {
    constexpr int W = 60, H = 48;
    const Bitmap red(W, H, clRed);
    const WarpCorners twisted{PointF{0, H}, PointF{0, 0}, PointF{W, 0}, PointF{W, H}};
    const Bitmap warped = WarpQuadrilateral(red, twisted, clWhite);
    const struct {
        int x;
        long redPixels;  // in that column
    } cases[] = {{0, H - 1}, {W / 2, 0}, {W / 4, H / 2 - 1}, {W - 1, H - 3}};
    for (const auto& c : cases) {
        long count = 0;
        for (int y = 0; y < H; ++y) count += warped.pixel(c.x, y) == clRed;
        EXPECT_NEAR(count, c.redPixels, 2) << c.x;
    }
    EXPECT_EQ(warped.pixel(W / 2, 2), clWhite);
    EXPECT_EQ(warped.pixel(W / 4, H / 2), clRed);
}

TEST(WarpQuadrilateral, CornerStepsStayOnThePicture) {
    constexpr int W = 60, H = 45;  // steps of 10 and 7
    const struct {
        int corner;
        bool alongX, plus;
        int presses;
        PointF expected;
    } cases[] = {
        {0, true, false, 1, {0, 0}},                                 // at the edge already
        {0, true, true, 2, {20, 0}},  {0, false, true, 7, {0, 45}},  // 7 x 7 = 49 stops at H
        {3, true, true, 1, {60, 45}}, {3, false, false, 3, {60, 24}}, {2, true, false, 9, {0, 0}},
    };
    for (const auto& c : cases) {
        WarpCorners corners = PictureCorners(W, H);
        for (int i = 0; i < c.presses; ++i)
            corners = StepCorner(corners, c.corner, c.alongX, c.plus, W, H);
        EXPECT_EQ(corners[static_cast<std::size_t>(c.corner)], c.expected) << c.corner;
    }
}

}  // namespace
}  // namespace pb
