// Paths: what drawing calls add between BeginPath and EndPath, and painting them.
#include <gtest/gtest.h>

#include <functional>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::Art;
using test::Chain;
using test::Rows;

constexpr std::uint8_t M = PT_MOVETO, L = PT_LINETO, B = PT_BEZIERTO, C = PT_CLOSEFIGURE;

// A path as text: each point as its type (M, L or B) and x,y, with "C" for a closed figure.
std::string PathText(const PathData& path) {
    std::string s;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const std::uint8_t t = path.types[i];
        s += std::string(s.empty() ? "" : " ") +
             ((t & ~C) == M   ? "M"
              : (t & ~C) == L ? "L"
                              : "B") +
             std::to_string(path.points[i].x) + "," + std::to_string(path.points[i].y) +
             (t & C ? "C" : "");
    }
    return s;
}

TEST(CanvasPath, DrawingCallsAddFiguresWithGdiTypes) {
    // PolyDraw of these points with the types of each case.
    const Point pts[] = {{0, 0}, {5, 1}, {5, 5}};
    struct Case {
        const char* name;
        std::function<void(Canvas&)> calls;
        const char* path;
    };
    const Case cases[] = {
        {"LineTo starts at the pen position",
         [](Canvas& c) {
             Chain(c, {{1, 2}, {5, 2}, {5, 6}});
         },
         "M1,2 L5,2 L5,6"},
        {"Rectangle through the centres of l..r-1, closed",
         [](Canvas& c) { c.Rectangle(2, 3, 10, 8); }, "M9,3 L2,3 L2,7 L9,7C"},
        {"LineTo after a closed figure starts again at the pen position",
         [](Canvas& c) {
             c.MoveTo(1, 1);
             c.Rectangle(2, 3, 10, 8);
             c.LineTo(4, 4);
         },
         "M9,3 L2,3 L2,7 L9,7C M1,1 L4,4"},
        {"PolyBezier",
         [](Canvas& c) {
             c.PolyBezier(std::vector<Point>{{0, 0}, {1, 5}, {4, 5}, {5, 0}});
         },
         "M0,0 B1,5 B4,5 B5,0"},
        {"PolyBezier with a wrong point count adds nothing",
         [](Canvas& c) {
             c.PolyBezier(std::vector<Point>{{0, 0}, {1, 5}, {4, 5}});
         },
         ""},
        {"PolyDraw continues from the pen position",
         [&pts](Canvas& c) {
             c.MoveTo(1, 1);
             c.PolyDraw(std::span(pts + 1, 2), std::vector<std::uint8_t>{L, L | C});
             EXPECT_EQ(c.penPosition(), (Point{5, 5}));
         },
         "M1,1 L5,1 L5,5C"},
        {"PolyDraw refuses Beziers not in threes",
         [&pts](Canvas& c) {
             c.PolyDraw(pts, std::vector<std::uint8_t>{M, B, B});
         },
         ""},
    };
    for (const Case& c : cases) {
        Bitmap bmp(12, 10);
        BitmapCanvas canvas(bmp);
        canvas.BeginPath();
        c.calls(canvas);
        canvas.EndPath();
        EXPECT_EQ(PathText(canvas.GetPath()), c.path) << c.name;
        EXPECT_EQ(test::CountPixels(bmp, clWhite), 12 * 10)
            << c.name << ": nothing is drawn inside a path";
    }
}

TEST(CanvasPath, PaintedPathsMatchTheShapesTheyCameFrom) {
    struct Case {
        const char* name;
        std::function<void(Canvas&)> shape;
        bool fill;
    };
    const Case cases[] = {
        {"rectangle", [](Canvas& c) { c.Rectangle(3, 4, 25, 19); }, true},
        {"polyline",
         [](Canvas& c) {
             c.Polyline(std::vector<Point>{{2, 2}, {20, 9}, {8, 18}, {27, 20}});
         },
         false},
    };
    for (const Case& c : cases) {
        for (int width : {1, 6}) {
            Bitmap direct(30, 24), viaPath(30, 24);
            BitmapCanvas a(direct), b(viaPath);
            for (BitmapCanvas* canvas : {&a, &b}) {
                canvas->pen.width = width;
                canvas->brush.colour = clRed;
            }
            c.shape(a);
            b.BeginPath();
            c.shape(b);
            b.EndPath();
            if (c.fill) {
                b.StrokeAndFillPath();
            } else {
                b.StrokePath();
            }
            EXPECT_EQ(test::CountDifferentPixels(direct, viaPath), 0)
                << c.name << " width " << width << "\n"
                << Art(direct) << "\n\n"
                << Art(viaPath);
            EXPECT_TRUE(b.GetPath().points.empty()) << "painting discards the path";
        }
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
    EXPECT_EQ(Art(bmp), Rows({
                            "............",
                            ".oooooooooo.",
                            ".oooooooooo.",
                            ".ooo....ooo.",
                            ".ooo....ooo.",
                            ".ooo....ooo.",
                            ".ooo....ooo.",
                            ".oooooooooo.",
                            ".oooooooooo.",
                            "............",
                        }));
}

}  // namespace
}  // namespace pb
