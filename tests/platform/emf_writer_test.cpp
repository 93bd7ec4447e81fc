// EMF files: the header and the records as readers expect them, and a read-back by an
// independent reader (emf2svg-conv of Debian's emf2svg package).
#include "platform/emf_writer.h"

#include <gtest/gtest.h>
#include <uemf.h>

#include <QRegularExpression>
#include <cstring>

#include "pixel_art.h"
#include "support/outside_programs.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

struct EmfRecord {
    std::uint32_t type;
    std::string bytes;  // the whole record
    template <class T>
    T as() const {
        T value{};
        std::memcpy(&value, bytes.data(), std::min(sizeof(T), bytes.size()));
        return value;
    }
};

// Splits a file into its records; fails the test on a record that does not fit.
std::vector<EmfRecord> Records(const std::string& file) {
    std::vector<EmfRecord> out;
    std::size_t at = 0;
    while (at + 8 <= file.size()) {
        std::uint32_t type, size;
        std::memcpy(&type, file.data() + at, 4);
        std::memcpy(&size, file.data() + at + 4, 4);
        EXPECT_EQ(size % 4, 0u) << "record " << type << " at " << at;
        EXPECT_GE(size, 8u);
        if (size < 8 || at + size > file.size()) {
            ADD_FAILURE() << "record " << type << " runs past the end";
            break;
        }
        out.push_back({type, file.substr(at, size)});
        at += size;
    }
    EXPECT_EQ(at, file.size());
    return out;
}

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

TEST(EmfWriter, HeaderDescribesThePictureAndTheFileExactly) {
    const Size sizes[] = {{794, 1123}, {480, 330}, {1, 1}};
    for (const Size& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        const std::string file = EncodeEmf(PageWithObjects(size));
        const std::vector<EmfRecord> records = Records(file);
        ASSERT_GE(records.size(), 2u);
        ASSERT_EQ(records.front().type, static_cast<std::uint32_t>(U_EMR_HEADER));
        EXPECT_EQ(records.back().type, static_cast<std::uint32_t>(U_EMR_EOF));
        const auto header = records.front().as<U_EMRHEADER>();
        EXPECT_EQ(header.dSignature, static_cast<std::uint32_t>(U_ENHMETA_SIGNATURE));
        EXPECT_EQ(header.nBytes, file.size());
        EXPECT_EQ(header.nRecords, records.size());
        // Bounds in pixels and the frame in 0.01 mm, both inclusive.
        EXPECT_EQ(header.rclBounds.right, size.width - 1);
        EXPECT_EQ(header.rclBounds.bottom, size.height - 1);
        EXPECT_NEAR(header.rclFrame.right + 1, size.width * 2540.0 / 96, 0.5);
        EXPECT_NEAR(header.rclFrame.bottom + 1, size.height * 2540.0 / 96, 0.5);

        // Handles: every object index lies below nHandles, and the highest one is used.
        std::uint32_t highest = 0;
        for (const EmfRecord& r : records) {
            if (r.type == U_EMR_CREATEPEN || r.type == U_EMR_CREATEBRUSHINDIRECT ||
                r.type == U_EMR_CREATEDIBPATTERNBRUSHPT)
                highest = std::max(highest, r.as<U_EMRCREATEPEN>().ihPen);
        }
        EXPECT_EQ(header.nHandles, highest + 1);
    }
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
        {"landscape page stretched over 480 x 330", {559, 378}, {480, 330}},
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
