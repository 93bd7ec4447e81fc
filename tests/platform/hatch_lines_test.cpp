// Hatch lines as segments run through exactly the pixels the bitmap canvas hatches.
#include "platform/hatch_lines.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/bitmap_canvas.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(HatchLines, RunThroughThePixelsTheBitmapCanvasHatches) {
    // A square with a square hole, both clockwise, cut at x = 30.
    const std::vector<raster::Contour> square = {
        {{1.5, 1.5}, {37.5, 1.5}, {37.5, 37.5}, {1.5, 37.5}},
        {{11.5, 11.5}, {27.5, 11.5}, {27.5, 27.5}, {11.5, 27.5}}};
    for (const BrushStyle style :
         {BrushStyle::Horizontal, BrushStyle::Vertical, BrushStyle::FDiagonal,
          BrushStyle::BDiagonal, BrushStyle::Cross, BrushStyle::DiagCross})
        for (const auto rule : {raster::FillRule::Alternate, raster::FillRule::Winding}) {
            SCOPED_TRACE(testing::Message() << int(style) << " rule " << int(rule));
            Bitmap expected(40, 40, clBlack), actual(40, 40, clBlack);
            BitmapCanvas canvas(expected);
            canvas.brush.style = style;  // white lines
            canvas.FillRect({2, 2, 38, 38});
            canvas.brush = SolidBrush(clBlack);
            if (rule == raster::FillRule::Alternate) canvas.FillRect({12, 12, 28, 28});
            canvas.FillRect({30, 0, 40, 40});
            // Every segment ends on an edge half a pixel from the pixel centres it runs through.
            for (const HatchSegment& s : HatchSegments(square, rule, style, {0, 0, 30, 40})) {
                const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
                const double n = std::max(std::abs(dx), std::abs(dy));
                for (double k = 0.5; k < n; ++k)
                    actual.setPixel(int(std::lround(s.a.x + dx * k / n)),
                                    int(std::lround(s.a.y + dy * k / n)), clWhite);
            }
            EXPECT_EQ(test::CountDifferentPixels(actual, expected), 0);
        }
}

}  // namespace
}  // namespace pb
