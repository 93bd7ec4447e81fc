#include "imaging/shape_stamp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kPicture = RGB(200, 30, 30);

TEST(ShapeStamp, DefaultFramesThePictureInASilverLine) {
    const Bitmap region = test::NoiseBitmap(40, 31, 7);
    const StampStyle style;  // rectangle, no shadow, insets 0
    const Bitmap out = StampWithCorners(region, style, PictureCorners(40, 31));
    EXPECT_EQ(out, ComposeStamp(region, style));
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool edge = x == 0 || y == 0 || x == 39 || y == 30;
            ASSERT_EQ(out.pixel(x, y), edge ? clSilver : region.pixel(x, y)) << x << "," << y;
        }
}

// A black square 40..59 on white, in a 100 x 100 region.
Bitmap Square() {
    Bitmap bmp(100, 100, clWhite);
    for (int y = 40; y < 60; ++y) bmp.fillSpan(y, 40, 60, clBlack);
    return bmp;
}

TEST(ShapeStamp, InsetsMoveAndScaleThePicture) {
    struct Case {
        const char* name;
        StampInsets insets;
        std::vector<int> dark, light;  // along the middle row
    };
    const Case cases[] = {
        {"none", {}, {41, 58}, {38, 61}},
        // -4 on every side: 1.8 times the frame, centred: the square spans 32..67.
        {"all -4", {-4, -4, -4, -4}, {34, 50, 65}, {29, 70}},
        // +4 left and right: a fifth of the width in the middle, 40..59 -> 48..51.
        {"sides +4", {0, 4, 0, 4}, {49, 50}, {46, 53}},
    };
    for (const Case& c : cases) {
        const Bitmap brush = StampPictureBrush(Square(), 100, 100, c.insets, clWhite);
        for (int x : c.dark) EXPECT_LT(GetRValue(brush.pixel(x, 50)), 64) << c.name << " x " << x;
        for (int x : c.light) EXPECT_GT(GetRValue(brush.pixel(x, 50)), 192) << c.name << " x " << x;
    }
    // Positive insets leave a margin in the background colour.
    const Bitmap margin =
        StampPictureBrush(Bitmap(50, 50, clBlack), 50, 50, {4, 4, 4, 4}, kPicture);
    EXPECT_EQ(std::pair(margin.pixel(19, 25), margin.pixel(20, 25)), std::pair(kPicture, clBlack));
}

TEST(ShapeStamp, ShapesCoverTheirOutlines) {
    // Shape, direction, a point of the picture inside, a white point outside the figure and a
    // point on the figure's edge (outline or shadow, not white).
    using D = StampDirection;
    const std::tuple<const char*, StampShape, D, Point, Point, Point> cases[] = {
        {"ellipse", StampShape::Ellipse, D::Up, {45, 45}, {1, 1}, {45, 0}},
        {"heart", StampShape::Heart, D::Up, {45, 80}, {45, 4}, {20, 2}},
        {"arrow up", StampShape::Arrow, D::Up, {45, 60}, {3, 87}, {45, 3}},
        {"arrow right", StampShape::Arrow, D::Right, {30, 45}, {3, 3}, {86, 45}},
        {"balloon down", StampShape::Balloon, D::Down, {45, 30}, {45, 1}, {45, 87}},
        {"cylinder", StampShape::Cylinder, D::Up, {67, 67}, {89, 89}, {30, 21}},
    };
    for (const auto& [name, shape, direction, inside, outside, edge] : cases) {
        StampStyle style;
        style.shape = shape;
        style.direction = direction;
        const Bitmap out = ComposeStamp(Bitmap(90, 90, kPicture), style);
        EXPECT_EQ(out.pixel(inside.x, inside.y), kPicture) << name;
        EXPECT_EQ(out.pixel(outside.x, outside.y), clWhite) << name;
        EXPECT_NE(out.pixel(edge.x, edge.y), clWhite) << name;
        EXPECT_EQ(test::CountPixels(out, clGray), 0) << name;
    }
}

TEST(ShapeStamp, HeartShadowShowsAboveTheLobes) {
    const Bitmap region(90, 90, kPicture);  // dy = 3: the figure's lobes 6 rows lower
    StampStyle style;
    style.shape = StampShape::Heart;
    for (int x : {20, 70}) {
        style.shadow = false;
        const Bitmap plain = ComposeStamp(region, style);
        style.shadow = true;
        const Bitmap shadowed = ComposeStamp(region, style);
        int topPlain = 0, topShadow = 0;
        while (plain.pixel(x, topPlain) == clWhite) ++topPlain;
        while (shadowed.pixel(x, topShadow) == clWhite) ++topShadow;
        EXPECT_EQ(plain.pixel(x, topPlain), clSilver) << x;
        EXPECT_EQ(shadowed.pixel(x, topShadow), clGray) << x;
        EXPECT_EQ(topShadow, topPlain) << x;  // the shadow is the plain heart's outline
        // The figure's lobe starts lower, below the grey.
        int topFigure = topShadow;
        while (shadowed.pixel(x, topFigure) != clSilver) ++topFigure;
        EXPECT_GT(topFigure, topPlain) << x;
    }
}

}  // namespace
}  // namespace pb
