// Which pixels the bitmap canvas paints for lines, shapes, pens and brushes.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::Art;
using test::Chain;
using test::clGreen;
using test::Rows;

// A drawing on a white bitmap with a red brush, and the picture it must give (which also
// gives the bitmap's size).
struct ShapeCase {
    const char* name;
    std::function<void(BitmapCanvas&)> draw;
    std::vector<const char*> picture;
};

void ExpectShapes(std::initializer_list<ShapeCase> cases) {
    for (const ShapeCase& c : cases) {
        Bitmap bmp(static_cast<int>(std::string_view(c.picture[0]).size()),
                   static_cast<int>(c.picture.size()));
        BitmapCanvas canvas(bmp);
        canvas.brush.colour = clRed;
        c.draw(canvas);
        std::string expected;
        for (const char* row : c.picture)
            expected += (expected.empty() ? "" : "\n") + std::string(row);
        EXPECT_EQ(Art(bmp), expected) << c.name << "\n" << Art(bmp);
    }
}

TEST(CanvasShapes, ShapesAndLinesPaintTheirPictures) {
    const std::vector<const char*> outlined(
        {"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........"});
    ExpectShapes({
        {"rectangle: left to right minus one", [](BitmapCanvas& c) { c.Rectangle(1, 1, 6, 5); },
         outlined},
        {"rectangle, reversed corners", [](BitmapCanvas& c) { c.Rectangle(6, 5, 1, 1); }, outlined},
        {"rectangle, clear pen paints one pixel less",
         [](BitmapCanvas& c) {
             c.pen.style = PenStyle::Clear;
             c.Rectangle(1, 1, 6, 5);
         },
         {"........", ".oooo...", ".oooo...", ".oooo...", "........", "........"}},
        {"rectangle, pen of 2: one row outside the outline, one inside, clear brush",
         [](BitmapCanvas& c) {
             c.pen.width = 2;
             c.brush.style = BrushStyle::Clear;
             c.Rectangle(2, 2, 8, 6);
         },
         {"..........", "..#####...", ".#######..", ".##...##..", ".#######..", ".#######..",
          "..........", ".........."}},
        {"empty rectangle draws nothing",
         [](BitmapCanvas& c) { c.Rectangle(1, 1, 1, 3); },
         {"....", "....", "...."}},
        {"ellipse 4 x 4 (even: the halves one pixel apart)",
         [](BitmapCanvas& c) { c.Ellipse(1, 1, 5, 5); },
         {"......", "..##..", ".#oo#.", ".#oo#.", "..##..", "......"}},
        {"ellipse, clear pen: the brush one pixel smaller",
         [](BitmapCanvas& c) {
             c.pen.style = PenStyle::Clear;
             c.Ellipse(1, 1, 8, 6);
         },
         {".........", "..oooo...", ".oooooo..", ".oooooo..", "..oooo...", ".........",
          "........."}},
        {"round rect with corner 6",
         [](BitmapCanvas& c) { c.RoundRect(1, 1, 11, 7, 6, 6); },
         {"............", "..########..", ".#oooooooo#.", ".#oooooooo#.", ".#oooooooo#.",
          ".#oooooooo#.", "..########..", "............"}},
        {"line, shallow slope: halves rounded away from the start, the end pixel left",
         [](BitmapCanvas& c) {
             Chain(c, {{1, 1}, {10, 4}});
         },
         {"............", ".##.........", "...###......", "......###...", ".........#.."}},
        // Not-xor flips a pixel twice if it is painted twice: every joint of this closed chain
        // must come out black, and the chain must match the rectangle's outline.
        {"closed chain in not-xor",
         [](BitmapCanvas& c) {
             c.pen.mode = PenMode::NotXor;
             Chain(c, {{1, 1}, {8, 1}, {8, 6}, {1, 6}, {1, 1}});
         },
         {"..........", ".########.", ".#......#.", ".#......#.", ".#......#.", ".#......#.",
          ".########.", ".........."}},
        {"a zero pen width counts as one",
         [](BitmapCanvas& c) {
             c.pen.width = 0;
             Chain(c, {{0, 1}, {4, 1}});
         },
         {".....", "####.", "....."}},
        {"dot pen: three on, three off, transparent gaps",
         [](BitmapCanvas& c) {
             c.pen.style = PenStyle::Dot;
             Chain(c, {{0, 0}, {16, 0}});
         },
         {"###...###...###."}},
        {"dot pen, opaque gaps take the background colour",
         [](BitmapCanvas& c) {
             c.pen.style = PenStyle::Dot;
             c.bkMode = BkMode::Opaque;
             c.bkColour = clRed;
             Chain(c, {{0, 0}, {16, 0}});
         },
         {"###ooo###ooo###o"}},
    });
}

TEST(CanvasShapes, NotXorDrawnTwiceRestoresEveryPixel) {
    struct Case {
        const char* name;
        std::function<void(BitmapCanvas&)> draw;
    };
    const Case cases[] = {
        {"rectangle", [](BitmapCanvas& c) { c.Rectangle(5, 4, 30, 20); }},
        {"round rect from a reversed drag (negative corner)",
         [](BitmapCanvas& c) { c.RoundRect(30, 25, 5, 4, (5 - 30) / 4, (5 - 30) / 4); }},
        {"self-crossing polyline",
         [](BitmapCanvas& c) {
             const Point pts[] = {{2, 2}, {30, 20}, {30, 2}, {2, 20}, {20, 27}};
             c.Polyline(pts);
         }},
        {"path",
         [](BitmapCanvas& c) {
             c.BeginPath();
             c.Ellipse(5, 4, 30, 25);
             c.Rectangle(10, 8, 20, 15);
             c.EndPath();
             c.StrokePath();
         }},
    };
    for (const Case& c : cases) {
        for (int width : {1, 2}) {
            const Bitmap original = test::NoisyBitmap(40, 30);
            Bitmap bmp = original;
            BitmapCanvas canvas(bmp);
            canvas.pen.mode = PenMode::NotXor;
            canvas.pen.width = width;
            canvas.pen.colour = 0x10A0F0;
            canvas.brush.style = BrushStyle::Clear;
            c.draw(canvas);
            EXPECT_GT(test::CountDifferentPixels(bmp, original), 0) << c.name << " width " << width;
            c.draw(canvas);
            EXPECT_EQ(test::CountDifferentPixels(bmp, original), 0) << c.name << " width " << width;
        }
    }
}

TEST(CanvasShapes, HatchBrushesRepeatEveryEightDevicePixels) {
    // Whether each hatch paints the pixel at (x, y) mod 8: FDiagonal runs from top-left to
    // bottom-right like "\", BDiagonal from bottom-left to top-right like "/".
    const std::pair<BrushStyle, bool (*)(int, int)> hatches[] = {
        {BrushStyle::Horizontal, [](int, int y) { return y == 7; }},
        {BrushStyle::Vertical, [](int x, int) { return x == 7; }},
        {BrushStyle::FDiagonal, [](int x, int y) { return x == y; }},
        {BrushStyle::BDiagonal, [](int x, int y) { return x + y == 7; }},
        {BrushStyle::Cross, [](int x, int y) { return x == 7 || y == 7; }},
        {BrushStyle::DiagCross, [](int x, int y) { return x == y || x + y == 7; }},
    };
    for (const auto& [style, line] : hatches) {
        for (const BkMode mode : {BkMode::Transparent, BkMode::Opaque}) {
            Bitmap bmp(24, 20, clGreen);
            BitmapCanvas c(bmp);
            c.brush.style = style;
            c.brush.colour = clBlack;
            c.bkMode = mode;
            c.bkColour = clRed;
            // Anchored at the device origin, not at the rectangle.
            const Rect area{3, 5, 21, 19};
            c.FillRect(area);
            for (int y = 0; y < bmp.height(); ++y) {
                for (int x = 0; x < bmp.width(); ++x) {
                    const bool inside =
                        x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                    const TColor expected = !inside                  ? clGreen
                                            : line(x % 8, y % 8)     ? clBlack
                                            : mode == BkMode::Opaque ? clRed
                                                                     : clGreen;
                    ASSERT_EQ(bmp.pixel(x, y), expected)
                        << "style " << static_cast<int>(style) << " mode " << static_cast<int>(mode)
                        << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(CanvasShapes, PatternBrushTilesFromItsOrigin) {
    auto pattern = std::make_shared<Bitmap>(3, 2);
    const TColor colours[2][3] = {{0x000001, 0x000002, 0x000003}, {0x000004, 0x000005, 0x000006}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pattern->setPixel(x, y, colours[y][x]);
    for (const Point origin : {Point{0, 0}, Point{5, 7}, Point{-4, -1}}) {
        Bitmap bmp(13, 11);
        BitmapCanvas c(bmp);
        c.brush.style = BrushStyle::Pattern;
        c.brush.pattern = pattern;
        c.brush.patternOrigin = origin;
        c.pen.style = PenStyle::Clear;
        c.Rectangle(1, 1, 14, 12);  // a clear pen paints 1..12 and 1..10
        for (int y = 1; y < 11; ++y)
            for (int x = 1; x < 13; ++x) {
                const int px = ((x - origin.x) % 3 + 3) % 3, py = ((y - origin.y) % 2 + 2) % 2;
                ASSERT_EQ(bmp.pixel(x, y), colours[py][px])
                    << origin.x << "," << origin.y << " at " << x << "," << y;
            }
        EXPECT_EQ(bmp.pixel(0, 0), clWhite);
    }
}

TEST(CanvasShapes, DrawingFarOutsideTheBitmapIsCutQuickly) {
    Bitmap bmp(20, 20);
    BitmapCanvas c(bmp);
    c.MoveTo(-1000000000, 5);
    c.LineTo(1000000000, 5);
    EXPECT_EQ(test::CountPixels(bmp, clBlack), 20);
    c.brush.colour = clRed;
    c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(test::CountPixels(bmp, clRed), 400);  // the outline lies far outside
    c.pen.width = 7;
    c.Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
    c.RoundRect(-50, -50, 70, 70, -2000000000, 2000000000);
    c.Polyline(std::vector<Point>{{-100000, -100000}, {100000, 100000}, {-100000, 100000}});
    // The shapes cover the bitmap with their insides; only the polyline's diagonal crosses it.
    EXPECT_EQ(std::tuple(bmp.pixel(10, 10), bmp.pixel(19, 0), bmp.pixel(0, 19)),
              std::tuple(clBlack, clRed, clRed));
}

}  // namespace
}  // namespace pb
