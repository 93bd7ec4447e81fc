// The exported metafiles as LibreOffice and emf2svg (through rsvg-convert) show them, against the
// bitmap export: each region's mean colour (hatch density too), less the readers' antialiasing.
#include <gtest/gtest.h>

#include <QImage>
#include <QTransform>
#include <cmath>

#include "app/page_export.h"
#include "platform/bitmap_qt.h"
#include "platform/emf_writer.h"
#include "support/outside_programs.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr Size kPage{600, 412};  // exported over 480 x 330 as well
constexpr TColor kYellow = RGB(255, 255, 0), kGreen = RGB(0, 128, 0);

// A work as composed for export, with the areas (page pixels) whose colours are compared: a
// picture, a hatched ellipse over red, the six hatches over yellow, text, a hatched path.
Recording Work(std::vector<Rect>& areas) {
    Recording page(kPage);
    Bitmap picture(60, 40, kYellow);
    for (int y = 0; y < 40; ++y) picture.fillSpan(y, 0, y < 20 ? 60 : 30, y < 20 ? clRed : kGreen);
    page.StretchDraw({10, 10, 190, 130}, picture);
    areas = {{20, 20, 85, 65}, {20, 75, 85, 120}, {115, 20, 180, 65}, {115, 75, 180, 120}};
    page.pen = {clBlack, 3};
    page.brush = SolidBrush(clRed);
    page.Rectangle(220, 10, 590, 190);
    page.brush.colour = clNavy;
    page.brush.style = BrushStyle::DiagCross;
    page.Ellipse(260, 30, 550, 170);
    areas.insert(areas.end(), {{228, 18, 255, 182}, {340, 70, 470, 130}});
    page.bkMode = BkMode::Opaque;
    page.bkColour = kYellow;
    page.pen = {clBlack, 1};
    for (int i = 0, left = 10; i < 6; ++i, left += 95) {  // the six hatch styles
        page.brush.style = static_cast<BrushStyle>(static_cast<int>(BrushStyle::BDiagonal) + i);
        page.Rectangle(left, 210, left + 85, 290);
        areas.push_back({left + 8, 218, left + 77, 282});
    }
    page.font.sizePoints = 36;
    page.TextOut(20, 320, "あい漢字");
    page.pen = {clRed, 4};
    page.brush.style = BrushStyle::Cross;
    page.BeginPath();
    page.Polyline(std::vector<Point>{{300, 310}, {580, 310}, {440, 400}, {300, 310}});
    page.EndPath();
    page.StrokeAndFillPath();
    areas.insert(areas.end(), {{20, 320, 220, 390}, {380, 320, 500, 345}, {520, 360, 590, 400}});
    return page;
}

// The box of what is not white: LibreOffice puts the picture in the middle of a page.
QRect Content(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 224) box |= QRect(x, y, 1, 1);
    return box;
}

// The mean colour of `area` (page pixels, the content in `pageBox`), the content in `box`.
QRgb Mean(const QImage& image, const QRect& box, const QRect& pageBox, const Rect& area) {
    const QTransform toPicture = QTransform::fromTranslate(-pageBox.left(), -pageBox.top()) *
                                 QTransform::fromScale(double(box.width()) / pageBox.width(),
                                                       double(box.height()) / pageBox.height()) *
                                 QTransform::fromTranslate(box.left(), box.top());
    const QRectF part = toPicture.mapRect(QRectF(area.left, area.top, area.width(), area.height()));
    return image.copy(part.toRect())
        .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .pixel(0, 0);
}

TEST(ExportReaders, LibreOfficeAndEmf2svgShowWhatTheBitmapExportShows) {
    REQUIRE_PROGRAMS("soffice", "emf2svg-conv", "rsvg-convert");
    test::TempDir dir;
    std::vector<Rect> areas;
    const Recording work = Work(areas);
    // The page at its size (the command line's export) and the preview's metafile export.
    ASSERT_TRUE(SaveEmf(work, dir.file("page.emf")));
    ASSERT_TRUE(ExportMetafiles(work, kPage, dir.file("METAFILES"), "1"));
    // One LibreOffice start for both files (the start takes most of the time), then emf2svg.
    auto program = [](const char* name) { return "'" + test::ProgramPath(name) + "' "; };
    int status = -1;
    const std::string log = test::RunCommand(
        "cd '" + dir.path() + "' && mv METAFILES/M1.emf . && " + program("soffice") +
            "-env:UserInstallation=file://" + dir.file("lo") +
            " --headless --convert-to png page.emf M1.emf 2>&1 && for f in page M1; do " +
            program("emf2svg-conv") + "-i $f.emf -o $f.svg && " + program("rsvg-convert") +
            "-b white -o $f.svg.png $f.svg || exit 1; done 2>&1",
        &status);
    ASSERT_EQ(status, 0) << log;
    const QRect pageBox = Content(ImageFromBitmap(RenderDrawing(work, kPage)));
    for (const auto& [name, size] : {std::pair{"page", kPage}, {"M1", MetafileSize(kPage)}}) {
        const QImage own = ImageFromBitmap(RenderDrawing(work, size));
        const QRect ownBox = Content(own);
        for (const std::string& png :
             {std::string(name) + ".png", std::string(name) + ".svg.png"}) {
            SCOPED_TRACE(png);
            const QImage seen(QString::fromStdString(dir.file(png)));
            const QRect seenBox = Content(seen);
            const QPoint sizes = seenBox.bottomRight() - seenBox.topLeft() - ownBox.bottomRight();
            EXPECT_LE((sizes + ownBox.topLeft()).manhattanLength(), 3) << "the content's size";
            for (const Rect& area : areas) {
                const QRgb expected = Mean(own, ownBox, pageBox, area);
                const QRgb actual = Mean(seen, seenBox, pageBox, area);
                for (const int shift : {16, 8, 0})  // red, green, blue, each of 255
                    EXPECT_NEAR(actual >> shift & 0xFF, expected >> shift & 0xFF, 24)
                        << "area " << area.left << "," << area.top << " shift " << shift;
            }
        }
    }
}

}  // namespace
}  // namespace pb
