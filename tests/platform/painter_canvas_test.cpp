// The painter canvas: mirrored copies, hatches, and text and shapes written into a PDF.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <QPdfWriter>

#include "platform/bitmap_qt.h"
#include "support/platform_fixtures.h"
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

TEST(PainterCanvas, WritesTextAndShapesIntoAPdf) {
    test::TempDir dir;
    const std::string path = dir.file("page.pdf");
    {
        QPdfWriter pdf(QString::fromStdString(path));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        painter.scale(600 / 96.0, 600 / 96.0);
        PainterCanvas canvas(painter, {794, 1123});
        canvas.font.sizePoints = 24;
        canvas.TextOut(50, 50, "popboard 漢字");
        canvas.pen.width = 3;
        canvas.brush.style = BrushStyle::Cross;
        canvas.Ellipse(50, 120, 300, 260);
        canvas.BeginPath();
        canvas.TextOut(50, 300, "POP");
        canvas.EndPath();
        canvas.StrokeAndFillPath();
        canvas.StretchDraw({400, 400, 500, 500}, Bitmap(10, 10, clRed));
    }
    const std::string bytes = test::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // Another program's reading of the text, when pdftotext is installed.
    const std::string text = test::RunCommand("pdftotext '" + path + "' - 2>/dev/null");
    EXPECT_TRUE(text.empty() || text.find("popboard") != std::string::npos) << text;
}

}  // namespace
}  // namespace pb
