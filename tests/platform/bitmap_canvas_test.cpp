// Which pixels the bitmap canvas paints for lines, shapes, pens, paths and text.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "platform/qt_font.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::Art;
using test::Chain;
using test::clGreen;

// A drawing on a white bitmap with a red brush, and the picture it must give (which also
// gives the bitmap's size).
struct ShapeCase {
    const char* name;
    std::function<void(BitmapCanvas&)> draw;
    std::vector<const char*> picture;
};

TEST(CanvasShapes, ShapesAndLinesPaintTheirPictures) {
    const ShapeCase cases[] = {
        {"rectangle, reversed corners: left to right minus one",
         [](BitmapCanvas& c) { c.Rectangle(6, 5, 1, 1); },
         {"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........"}},
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
        {"ellipse 4 x 4 (even: the halves one pixel apart)",
         [](BitmapCanvas& c) { c.Ellipse(1, 1, 5, 5); },
         {"......", "..##..", ".#oo#.", ".#oo#.", "..##..", "......"}},
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
        {"dot pen: three on, three off; opaque gaps take the background colour",
         [](BitmapCanvas& c) {
             c.pen.style = PenStyle::Dot;
             c.bkMode = BkMode::Opaque;
             c.bkColour = clRed;
             Chain(c, {{0, 0}, {16, 0}});
         },
         {"###ooo###ooo###o"}},
    };
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

// The shapes of the page tools are held to this by their rubber bands, the thin pen by the
// closed chain above; a wide pen over its own crossings is the other case.
TEST(CanvasShapes, NotXorDrawnTwiceRestoresEveryPixel) {
    const Bitmap original = test::NoisyBitmap(40, 30);
    Bitmap bmp = original;
    BitmapCanvas canvas(bmp);
    canvas.pen = Pen{0x10A0F0, 2, PenStyle::Solid, PenMode::NotXor};
    const Point crossing[] = {{2, 2}, {30, 20}, {30, 2}, {2, 20}, {20, 27}};
    canvas.Polyline(crossing);
    EXPECT_GT(test::CountDifferentPixels(bmp, original), 0);
    canvas.Polyline(crossing);
    EXPECT_EQ(test::CountDifferentPixels(bmp, original), 0);
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

// --- Paths ---

constexpr std::uint8_t M = PT_MOVETO, L = PT_LINETO, B = PT_BEZIERTO, C = PT_CLOSEFIGURE;

TEST(CanvasPath, DrawingCallsAddFiguresWithGdiTypes) {
    Bitmap bmp(12, 10);
    BitmapCanvas c(bmp);
    c.BeginPath();
    c.PolyBezier(std::vector<Point>{{0, 0}, {1, 5}, {4, 5}, {5, 0}});
    // A wrong point count adds nothing, nor do Beziers not in threes.
    c.PolyBezier(std::vector<Point>{{0, 0}, {1, 5}, {4, 5}});
    const Point pts[] = {{0, 0}, {5, 1}, {5, 5}};
    c.PolyDraw(pts, std::vector<std::uint8_t>{M, B, B});
    c.Rectangle(2, 3, 10, 8);  // through the centres of l..r-1, closed
    c.EndPath();
    const PathData path = c.GetPath();
    EXPECT_EQ(path.points,
              (std::vector<Point>{{0, 0}, {1, 5}, {4, 5}, {5, 0}, {9, 3}, {2, 3}, {2, 7}, {9, 7}}));
    EXPECT_EQ(path.types, (std::vector<std::uint8_t>{M, B, B, B, M, L, L, L | C}));
    EXPECT_EQ(test::CountPixels(bmp, clWhite), 12 * 10) << "nothing is drawn inside a path";
}

// A thin or thick pen stroked and filled along the path of a rectangle paints the rectangle
// itself (stroking or filling alone is the same painting with one part left out).
TEST(CanvasPath, PaintedPathsMatchTheShapesTheyCameFrom) {
    for (int width : {1, 6}) {
        Bitmap direct(30, 24), viaPath(30, 24);
        BitmapCanvas a(direct), b(viaPath);
        for (BitmapCanvas* canvas : {&a, &b}) {
            canvas->pen.width = width;
            canvas->brush.colour = clRed;
        }
        a.Rectangle(3, 4, 25, 19);
        b.BeginPath();
        b.Rectangle(3, 4, 25, 19);
        b.EndPath();
        b.StrokeAndFillPath();
        EXPECT_EQ(test::CountDifferentPixels(direct, viaPath), 0) << "width " << width << "\n"
                                                                  << Art(direct) << "\n\n"
                                                                  << Art(viaPath);
        EXPECT_TRUE(b.GetPath().points.empty()) << "painting discards the path";
    }
}

TEST(CanvasPath, FillUsesTheAlternateRule) {
    Bitmap bmp(12, 10);
    BitmapCanvas c(bmp);
    c.brush.colour = clRed;
    c.BeginPath();
    c.Rectangle(1, 1, 12, 10);
    c.Rectangle(4, 3, 9, 8);
    c.EndPath();
    c.FillPath();
    // The inner rectangle is a hole; the ring between them is filled.
    EXPECT_EQ(std::tuple(bmp.pixel(6, 5), bmp.pixel(2, 5), bmp.pixel(10, 8), bmp.pixel(0, 0)),
              std::tuple(clWhite, clRed, clRed, clWhite));
}

// --- Text ---

TEST(CanvasText, FontsAreSizedAsAScreenSizesPoints) {
    struct Case {
        int points, dpi, pixels;
    };
    const Case cases[] = {
        {10, 96, 13}, {11, 96, 15}, {10, 120, 17}, {72, 600, 600}, {0, 96, 1}, {-12, 96, 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FontPixelSize(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;
}

TEST(CanvasText, GlyphsTakeOnlyTheTextColour) {
    for (const BkMode mode : {BkMode::Transparent, BkMode::Opaque}) {
        const std::string text = "Ag漢字";
        Bitmap bmp(260, 60);
        BitmapCanvas canvas(bmp);
        canvas.font.family = "IPAゴシック";
        canvas.font.sizePoints = 20;
        canvas.font.colour = clRed;
        canvas.bkMode = mode;
        canvas.bkColour = clGreen;
        canvas.TextOut(7, 5, text);
        const int w = canvas.TextWidth(text), h = canvas.TextHeight(text);
        long red = 0, green = 0, other = 0, outsideCell = 0;
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x) {
                const TColor p = bmp.pixel(x, y);
                red += p == clRed;
                green += p == clGreen;
                other += p != clRed && p != clGreen && p != clWhite;  // antialiasing
                outsideCell += p != clWhite && (x < 7 || x >= 7 + w || y < 5 || y >= 5 + h);
            }
        EXPECT_EQ(std::tuple(other, outsideCell), std::tuple(0L, 0L));
        EXPECT_GT(red, 40);
        // An opaque background fills the cell, a transparent one leaves it alone.
        EXPECT_EQ(green, mode == BkMode::Opaque ? static_cast<long>(w) * h - red : 0);
    }
}

}  // namespace
}  // namespace pb
