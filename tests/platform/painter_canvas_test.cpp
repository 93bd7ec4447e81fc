// The painter canvas: the bitmap canvas's geometry as vector drawing, on images and PDF.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <QPdfWriter>

#include "platform/bitmap_canvas.h"
#include "platform/bitmap_qt.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

// The bounding box of the pixels of colour c, right and bottom exclusive.
Rect BoxOf(const Bitmap& bmp, TColor c) {
    Rect box{bmp.width(), bmp.height(), -1, -1};
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) == c) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x + 1);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

bool Near(const Rect& a, const Rect& b, int slack) {
    return std::abs(a.left - b.left) <= slack && std::abs(a.top - b.top) <= slack &&
           std::abs(a.right - b.right) <= slack && std::abs(a.bottom - b.bottom) <= slack;
}

// Each drawing covers, on a device four times as fine, the box the bitmap canvas covers.
TEST(PainterCanvas, ShapesCoverTheBitmapCanvasBoxOnAScaledDevice) {
    constexpr int kScale = 4;
    const std::pair<const char*, std::function<void(Canvas&)>> cases[] = {
        {"rectangle outline", [](Canvas& c) { c.Rectangle(2, 2, 10, 8); }},
        {"reversed rectangle", [](Canvas& c) { c.Rectangle(10, 8, 2, 2); }},
        {"clear pen: one pixel less",
         [](Canvas& c) {
             c.pen.style = PenStyle::Clear;
             c.Rectangle(2, 2, 10, 8);
         }},
        {"ellipse", [](Canvas& c) { c.Ellipse(1, 3, 12, 9); }},
        {"round rect with negative corner", [](Canvas& c) { c.RoundRect(12, 9, 1, 3, -4, -4); }},
        {"fill",
         [](Canvas& c) {
             c.FillRect({3, 1, 7, 4});
         }},
        {"rectangle path with a pen",
         [](Canvas& c) {
             c.BeginPath();
             c.Rectangle(2, 2, 10, 8);
             c.EndPath();
             c.StrokeAndFillPath();
         }},
    };
    for (const auto& [name, draw] : cases) {
        Bitmap logical(14, 10), bmp(14 * kScale, 10 * kScale);
        BitmapCanvas reference(logical);
        reference.brush.colour = clRed;
        draw(reference);
        QImage image = ImageView(bmp);
        QPainter painter(&image);
        painter.scale(kScale, kScale);
        PainterCanvas canvas(painter, {14, 10});
        canvas.brush.colour = clRed;
        draw(canvas);
        painter.end();
        for (const TColor colour : {clBlack, clRed}) {
            const Rect box = BoxOf(logical, colour), actual = BoxOf(bmp, colour);
            if (box.right < 0) {
                EXPECT_LT(actual.right, 0) << name << ": nothing of colour " << colour;
                continue;
            }
            const Rect expected{box.left * kScale, box.top * kScale, box.right * kScale,
                                box.bottom * kScale};
            EXPECT_TRUE(Near(actual, expected, 1))
                << name << " " << colour << ": " << actual.left << "," << actual.top << ","
                << actual.right << "," << actual.bottom;
        }
    }
}

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
