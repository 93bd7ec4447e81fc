// The painter canvas: mirrored copies and hatches on an image.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include "platform/bitmap_qt.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(PainterCanvas, MirroredCopiesAndHatches) {
    Bitmap bmp(4, 2);
    QImage image = ImageView(bmp);
    QPainter painter(&image);
    PainterCanvas canvas(painter, {4, 2});
    Bitmap pair(2, 1, clRed);
    pair.setPixel(1, 0, clBlack);
    canvas.StretchBlt({0, 0, 2, 1}, pair, {1, 0, -1, 1}, StretchMode::ColorOnColor);
    canvas.StretchBlt({3, 1, 1, 2}, pair, {0, 0, 2, 1}, StretchMode::ColorOnColor);
    painter.end();
    EXPECT_EQ(bmp.pixel(0, 0), clBlack);
    EXPECT_EQ(bmp.pixel(1, 0), clRed);
    EXPECT_EQ(bmp.pixel(2, 1), clBlack);
    EXPECT_EQ(bmp.pixel(3, 1), clRed);

    Bitmap hatched(16, 16);
    QImage hatchImage = ImageView(hatched);
    QPainter hatchPainter(&hatchImage);
    PainterCanvas h(hatchPainter, {16, 16});
    h.brush.style = BrushStyle::FDiagonal;
    h.brush.colour = clBlack;
    h.bkMode = BkMode::Opaque;
    h.bkColour = clRed;
    h.FillRect({0, 0, 16, 16});
    hatchPainter.end();
    EXPECT_GT(test::CountPixels(hatched, clBlack), 16);
    EXPECT_GT(test::CountPixels(hatched, clRed), 160);
    EXPECT_EQ(test::CountPixels(hatched, clBlack) + test::CountPixels(hatched, clRed), 256);
}

}  // namespace
}  // namespace pb
