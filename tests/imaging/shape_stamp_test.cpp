#include "imaging/shape_stamp.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kPicture = RGB(200, 30, 30);

Bitmap Noise(int w, int h) {
    Bitmap bmp(w, h);
    std::uint32_t state = 7;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x) {
            state = state * 1103515245u + 12345u;
            bmp.scanLine(y)[x] = static_cast<std::uint8_t>(state >> 16);
        }
    return bmp;
}

TEST(ShapeStamp, DefaultFramesThePictureInASilverLine) {
    const Bitmap region = Noise(40, 31);
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
        // -4 at the left only: 1.4 times as wide, the left part cropped.
        {"left -4", {0, 0, 0, -4}, {18, 43}, {14, 46}},
    };
    for (const Case& c : cases) {
        const Bitmap brush = StampPictureBrush(Square(), 100, 100, c.insets, clWhite);
        for (int x : c.dark) EXPECT_LT(GetRValue(brush.pixel(x, 50)), 64) << c.name << " x " << x;
        for (int x : c.light) EXPECT_GT(GetRValue(brush.pixel(x, 50)), 192) << c.name << " x " << x;
    }
    // Positive insets leave a margin in the background colour.
    const Bitmap margin =
        StampPictureBrush(Bitmap(50, 50, clBlack), 50, 50, {4, 4, 4, 4}, kPicture);
    EXPECT_EQ(margin.pixel(19, 25), kPicture);
    EXPECT_EQ(margin.pixel(20, 25), clBlack);
    EXPECT_EQ(margin.pixel(29, 29), clBlack);
    EXPECT_EQ(margin.pixel(30, 25), kPicture);

    const std::pair<StampInsets, StampInsets> shifts[] = {{{0, 0, 0, 0}, {-1, -1, -1, -1}},
                                                          {{-4, 4, 0, 3}, {-4, 4, -1, 4}}};
    EXPECT_EQ(ShiftInsets(shifts[0].first, -1, -1, -1, -1), shifts[0].second);
    EXPECT_EQ(ShiftInsets(shifts[1].first, -1, 1, -1, 1), shifts[1].second);
    EXPECT_EQ(ShiftInsets({2, 2, 2, 2}, -9, 9, 0, 0), (StampInsets{-4, 4, 2, 2}));
}

enum class Seen { White, Picture, Outline, Shadow, NotWhite };

bool Is(TColor c, Seen s) {
    switch (s) {
        case Seen::White:
            return c == clWhite;
        case Seen::Picture:
            return c == kPicture;
        case Seen::Outline:
            return c == clSilver;
        case Seen::Shadow:
            return c == clGray;
        case Seen::NotWhite:
            return c != clWhite;
    }
    return false;
}

TEST(ShapeStamp, ShapesCoverTheirOutlines) {
    constexpr int W = 90, H = 90;
    struct Probe {
        Point at;
        Seen seen;
    };
    struct Case {
        const char* name;
        StampShape shape;
        StampDirection direction;
        std::vector<Probe> probes;
    };
    using D = StampDirection;
    const Case cases[] = {
        {"ellipse",
         StampShape::Ellipse,
         D::Up,
         {{{45, 45}, Seen::Picture}, {{1, 1}, Seen::White}, {{45, 0}, Seen::Outline}}},
        {"rounded",
         StampShape::RoundRect,
         D::Up,
         {{{45, 45}, Seen::Picture}, {{0, 0}, Seen::White}, {{45, 0}, Seen::Outline}}},
        {"heart",
         StampShape::Heart,
         D::Up,
         {{{45, 45}, Seen::Picture},
          {{45, 4}, Seen::White},
          {{2, 87}, Seen::White},
          {{87, 87}, Seen::White},
          {{45, 80}, Seen::Picture}}},
        {"star",
         StampShape::Star,
         D::Up,
         {{{45, 45}, Seen::Picture},
          {{45, 87}, Seen::White},
          {{2, 87}, Seen::White},
          {{45, 3}, Seen::NotWhite}}},
        {"arrow up",
         StampShape::Arrow,
         D::Up,
         {{{45, 60}, Seen::Picture}, {{45, 3}, Seen::NotWhite}, {{3, 87}, Seen::White}}},
        {"arrow right",
         StampShape::Arrow,
         D::Right,
         {{{30, 45}, Seen::Picture}, {{86, 45}, Seen::NotWhite}, {{3, 3}, Seen::White}}},
        {"arrow down",
         StampShape::Arrow,
         D::Down,
         {{{45, 30}, Seen::Picture}, {{45, 86}, Seen::NotWhite}, {{3, 3}, Seen::White}}},
        {"arrow left",
         StampShape::Arrow,
         D::Left,
         {{{60, 45}, Seen::Picture}, {{3, 45}, Seen::NotWhite}, {{86, 3}, Seen::White}}},
        {"balloon up",
         StampShape::Balloon,
         D::Up,
         {{{45, 60}, Seen::Picture}, {{45, 2}, Seen::NotWhite}, {{45, 88}, Seen::White}}},
        {"balloon right",
         StampShape::Balloon,
         D::Right,
         {{{30, 45}, Seen::Picture}, {{87, 45}, Seen::NotWhite}, {{1, 45}, Seen::White}}},
        {"balloon down",
         StampShape::Balloon,
         D::Down,
         {{{45, 30}, Seen::Picture}, {{45, 87}, Seen::NotWhite}, {{45, 1}, Seen::White}}},
        {"balloon left",
         StampShape::Balloon,
         D::Left,
         {{{60, 45}, Seen::Picture}, {{2, 45}, Seen::NotWhite}, {{88, 45}, Seen::White}}},
        {"cylinder",
         StampShape::Cylinder,
         D::Up,
         {{{67, 67}, Seen::Picture},
          {{89, 89}, Seen::White},
          {{0, 0}, Seen::White},
          {{3, 3}, Seen::Outline},
          {{30, 21}, Seen::Outline}}},
    };
    for (const Case& c : cases) {
        StampStyle style;
        style.shape = c.shape;
        style.direction = c.direction;
        const Bitmap out = ComposeStamp(Bitmap(W, H, kPicture), style);
        for (const Probe& p : c.probes)
            EXPECT_TRUE(Is(out.pixel(p.at.x, p.at.y), p.seen))
                << c.name << " at " << p.at.x << "," << p.at.y << ": " << std::hex
                << out.pixel(p.at.x, p.at.y);
        EXPECT_EQ(test::CountPixels(out, clGray), 0) << c.name;
    }
}

TEST(ShapeStamp, ShadowsFallRightAndDownByAThirtieth) {
    const Bitmap region(90, 60, kPicture);  // dx = 3, dy = 2
    StampStyle style;
    style.shadow = true;
    style.outlineWidth = 1;
    const Bitmap out = ComposeStamp(region, style);
    EXPECT_EQ(out.pixel(86, 30), clSilver);
    for (int x = 87; x < 90; ++x) EXPECT_EQ(out.pixel(x, 30), clGray) << x;
    EXPECT_EQ(out.pixel(40, 57), clSilver);
    for (int y = 58; y < 60; ++y) EXPECT_EQ(out.pixel(40, y), clGray) << y;
    EXPECT_EQ(out.pixel(40, 30), kPicture);

    // The cylinder has no shadow.
    style.shape = StampShape::Cylinder;
    EXPECT_EQ(test::CountPixels(ComposeStamp(region, style), clGray), 0);
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

TEST(ShapeStamp, OutlineWidthIsClampedFromOneToEight) {
    const Bitmap region(60, 60, kPicture);
    const std::pair<int, int> widths[] = {{0, 1}, {1, 1}, {5, 5}, {8, 8}, {30, 8}};
    for (auto [asked, drawn] : widths) {
        StampStyle style;
        style.outlineWidth = asked;
        const Bitmap out = ComposeStamp(region, style);
        int silver = 0;
        while (silver < 30 && out.pixel(30, silver) == clSilver) ++silver;
        // The pen is centred on the outline through row 0: half of it falls outside.
        EXPECT_EQ(silver, (drawn + 1) / 2) << asked;
    }
}

TEST(ShapeStamp, PreviewFitsInto400By400) {
    struct Case {
        int w, h;
        Size preview;
    };
    const Case cases[] = {{300, 200, {300, 200}},
                          {800, 400, {400, 200}},
                          {1000, 2000, {200, 400}},
                          {400, 400, {400, 400}},
                          {300, 600, {200, 400}}};
    for (const Case& c : cases)
        EXPECT_EQ(StampPreviewSize(c.w, c.h), c.preview) << c.w << "x" << c.h;
}

}  // namespace
}  // namespace pb
