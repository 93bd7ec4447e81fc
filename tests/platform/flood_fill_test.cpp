// Surface flood fill: which pixels a fill reaches and what it paints them with.
#include "platform/flood_fill.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "pixel_art.h"
#include "platform/bitmap_canvas.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::Art;
using test::FromArt;
using test::Rows;

// The four-connected area by a plain breadth-first search, to hold the span fill against.
std::vector<bool> AreaByBfs(const Bitmap& bmp, Point start) {
    std::vector<bool> in(static_cast<std::size_t>(bmp.width()) * bmp.height());
    const TColor surface = bmp.pixel(start.x, start.y);
    std::deque<Point> queue{start};
    in[start.y * bmp.width() + start.x] = true;
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        for (const Point d : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
            const Point q{p.x + d.x, p.y + d.y};
            if (!bmp.contains(q.x, q.y) || bmp.pixel(q.x, q.y) != surface) continue;
            if (in[q.y * bmp.width() + q.x]) continue;
            in[q.y * bmp.width() + q.x] = true;
            queue.push_back(q);
        }
    }
    return in;
}

TEST(FloodFill, AgreesWithABreadthFirstSearchOnRandomPictures) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        // Every fourth picture is wide and nearly empty, for the long runs.
        const bool sparse = round % 4 == 0;
        const int w =
            sparse ? 100 + static_cast<int>(random() % 300) : 5 + static_cast<int>(random() % 60);
        const int h = 5 + static_cast<int>(random() % 40);
        const double density = sparse ? 0.004 : 0.25 + 0.05 * (round % 8);
        Bitmap bmp(w, h);
        std::uniform_real_distribution<double> u(0, 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (u(random) < density) bmp.setPixel(x, y, clBlack);
        const Point start{static_cast<int>(random() % w), static_cast<int>(random() % h)};
        bmp.setPixel(start.x, start.y, clWhite);
        const std::vector<bool> expected = AreaByBfs(bmp, start);

        // The spans cover the area, each pixel once.
        std::vector<int> hits(expected.size());
        for (const Span& s : SurfaceRegion(bmp, start.x, start.y, clWhite))
            for (int x = s.left; x < s.right; ++x) ++hits[s.y * w + x];
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(hits[i], expected[i] ? 1 : 0) << "round " << round << " pixel " << i;

        Bitmap filled = bmp;
        ASSERT_TRUE(FloodFillSurface(filled, start.x, start.y, clWhite, clRed));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(filled.pixel(x, y), expected[y * w + x] ? clRed : bmp.pixel(x, y))
                    << "round " << round << " at " << x << "," << y;
    }
}

TEST(FloodFill, PaintsWithTheBrush) {
    // A hatch leaves gaps of the surface colour behind; the fill must still end.
    for (const BkMode mode : {BkMode::Transparent, BkMode::Opaque}) {
        Bitmap bmp =
            FromArt({"..........", ".########.", ".#......#.", ".#......#.", ".########."});
        BitmapCanvas c(bmp);
        c.brush.style = BrushStyle::FDiagonal;
        c.brush.colour = clRed;
        c.bkMode = mode;
        c.bkColour = 0x00FF00;
        EXPECT_TRUE(c.FloodFill(3, 2, clWhite));
        const std::string gaps = mode == BkMode::Opaque ? "g" : ".";
        EXPECT_EQ(
            Art(bmp),
            Rows({"..........", ".########.", (".#o" + std::string(5, gaps[0]) + "#.").c_str(),
                  (".#" + gaps + "o" + std::string(4, gaps[0]) + "#.").c_str(), ".########."}))
            << Art(bmp);
    }
    // Filling with the surface's own colour changes nothing and still counts as a fill.
    Bitmap bmp(4, 4);
    BitmapCanvas c(bmp);
    c.brush.colour = clWhite;
    EXPECT_TRUE(c.FloodFill(0, 0, clWhite));
    EXPECT_EQ(test::CountPixels(bmp, clWhite), 16);
    // A clear brush paints nothing, nor does a start on another colour.
    EXPECT_FALSE(c.FloodFill(0, 0, clBlack));
    c.brush.style = BrushStyle::Clear;
    EXPECT_FALSE(c.FloodFill(0, 0, clWhite));
}

}  // namespace
}  // namespace pb
