// EMF files read back by an independent reader (emf2svg-conv of Debian's emf2svg package):
// a file it cannot take apart fails the read-back.
#include "platform/emf_writer.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "pixel_art.h"
#include "support/outside_programs.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

// A page like printing makes: a bitmap over the whole page, then outlined objects.
Recording PageWithObjects(Size size) {
    Recording page(size);
    Bitmap bmp(size.width, size.height, clWhite);
    for (int y = 10; y < 60; ++y)
        for (int x = 10; x < 90; ++x)
            if (bmp.contains(x, y)) bmp.setPixel(x, y, RGB(0, 128, 255));
    page.StretchDraw({0, 0, size.width, size.height}, bmp);
    page.pen = {clRed, 3};
    page.brush.style = BrushStyle::Solid;
    page.brush.colour = 0x00FF00;
    page.BeginPath();
    page.RoundRect(100, 100, 200, 160, 30, 30);
    page.EndPath();
    page.StrokeAndFillPath();
    page.brush.style = BrushStyle::Clear;
    page.brush.colour = 0;
    page.font.sizePoints = 24;
    page.BeginPath();
    page.TextOut(20, 200, "あA");
    page.EndPath();
    page.StrokePath();
    return page;
}

// emf2svg-conv's picture of an EMF: the SVG text.
QString ReadBack(const test::TempDir& dir, const std::string& emf) {
    int status = -1;
    const std::string errors = test::RunCommand("'" + test::ProgramPath("emf2svg-conv") + "' -i '" +
                                                    emf + "' -o '" + dir.file("out.svg") + "' 2>&1",
                                                &status);
    EXPECT_EQ(status, 0) << errors;
    return QString::fromStdString(test::ReadFileBytes(dir.file("out.svg")));
}

double Attribute(const QString& element, const char* name) {
    const QRegularExpression re(QStringLiteral("\\b%1=\"([-0-9.]+)\"").arg(QLatin1String(name)));
    const auto m = re.match(element);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

TEST(EmfWriter, AnIndependentReaderSeesThePageAndTheObjectOutlines) {
    REQUIRE_PROGRAMS("emf2svg-conv");
    struct Case {
        const char* name;
        Size page;
        Size file;  // the file's size: the page, or a metafile it is stretched over
    };
    const Case cases[] = {
        {"A4 page at its size", {794, 1123}, {794, 1123}},
        {"portrait page stretched over 330 x 480", {378, 559}, {330, 480}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Recording page = PageWithObjects(c.page);
        Recording file(c.file);
        page.PlayInto(file, {0, 0, c.file.width, c.file.height});
        const std::string path = dir.file("page.emf");
        ASSERT_TRUE(SaveEmf(file, path));
        const QString svg = ReadBack(dir, path);
        const QString root = QRegularExpression(QStringLiteral("<svg[^>]*>")).match(svg).captured();
        // emf2svg takes the inclusive bounds as the size, one pixel short.
        EXPECT_NEAR(Attribute(root, "width"), c.file.width, 1.0);
        EXPECT_NEAR(Attribute(root, "height"), c.file.height, 1.0);
        const QString image =
            QRegularExpression(QStringLiteral("<image[^>]*>")).match(svg).captured();
        ASSERT_FALSE(image.isEmpty()) << "the page bitmap is missing";
        EXPECT_NEAR(Attribute(image, "width"), c.file.width, 0.01);
        EXPECT_NEAR(Attribute(image, "height"), c.file.height, 0.01);
        EXPECT_EQ(svg.count(QStringLiteral("<path")), 2) << "the rounded box and the text";
        EXPECT_TRUE(svg.contains(QStringLiteral("stroke=\"#FF0000\"")));
        EXPECT_TRUE(svg.contains(QStringLiteral("fill=\"#00FF00\"")));
    }
}

}  // namespace
}  // namespace pb
