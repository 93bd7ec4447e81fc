// Text on the bitmap canvas: font sizes, measuring, and glyphs without antialiasing.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/bitmap_canvas.h"
#include "platform/qt_font.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor clGreen = 0x00FF00;

TEST(CanvasText, FontsAreSizedAsAScreenSizesPoints) {
    struct Case {
        int points, dpi, pixels;
    };
    const Case cases[] = {
        {10, 96, 13}, {11, 96, 15}, {10, 120, 17}, {72, 600, 600}, {0, 96, 1}, {-12, 96, 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FontPixelSize(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;

    Font font;
    font.family = "IPAゴシック";
    EXPECT_EQ(QFontInfo(QtFontFor(font, 96)).family().toStdString(), "IPAゴシック");
}

TEST(CanvasText, GlyphsTakeOnlyTheTextColour) {
    struct Case {
        const char* text;
        int points;
        bool bold;
        BkMode mode;
    };
    const Case cases[] = {
        {"Ag漢字", 20, false, BkMode::Transparent},
        {"Ag漢字", 15, false, BkMode::Opaque},
    };
    for (const Case& c : cases) {
        Bitmap bmp(260, 60);
        BitmapCanvas canvas(bmp);
        canvas.font.family = "IPAゴシック";
        canvas.font.sizePoints = c.points;
        canvas.font.bold = c.bold;
        canvas.font.colour = clRed;
        canvas.bkMode = c.mode;
        canvas.bkColour = clGreen;
        const Point at{7, 5};
        canvas.TextOut(at.x, at.y, c.text);
        const int w = canvas.TextWidth(c.text), h = canvas.TextHeight(c.text);
        long red = 0, green = 0, other = 0, outsideCell = 0;
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x) {
                const TColor p = bmp.pixel(x, y);
                const bool inCell = x >= at.x && x < at.x + w && y >= at.y && y < at.y + h;
                if (p == clRed)
                    ++red;
                else if (p == clGreen)
                    ++green;
                else if (p != clWhite)
                    ++other;
                if (p != clWhite && !inCell) ++outsideCell;
            }
        EXPECT_EQ(other, 0) << c.text << ": no antialiasing";
        EXPECT_GT(red, 40) << c.text;
        EXPECT_EQ(outsideCell, 0) << c.text;
        if (c.mode == BkMode::Opaque) {
            EXPECT_EQ(red + green, static_cast<long>(w) * h) << c.text << ": the cell is filled";
        } else {
            EXPECT_EQ(green, 0) << c.text;
        }
    }
}

TEST(CanvasText, TextOutsideTheBitmapIsCut) {
    Bitmap bmp(20, 10);
    BitmapCanvas c(bmp);
    c.font.sizePoints = 30;
    c.TextOut(-15, -20, "漢字漢字");
    c.TextOut(15, 5, "漢字漢字");
    c.TextOut(100000, 100000, "漢字");
    EXPECT_GT(test::CountPixels(bmp, clBlack), 0);
}

}  // namespace
}  // namespace pb
