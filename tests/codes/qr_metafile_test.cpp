// Metafile pictures of the QR component: what the metafile holds must be what the bitmap
// shows, in every turn and mirror, and another program's EMF reader must read it.

#include <gtest/gtest.h>

#include <QProcess>
#include <string>

#include "codes/qr_code.h"
#include "platform/bitmap_canvas.h"
#include "platform/emf_writer.h"
#include "platform/text_codec.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

Bitmap PlayBack(const Recording& drawing) {
    Bitmap shown(drawing.size().width, drawing.size().height);
    BitmapCanvas canvas(shown);
    drawing.PlayInto(canvas, {0, 0, shown.width(), shown.height()});
    return shown;
}

TEST(QrMetafile, HoldsWhatTheBitmapShowsInEveryTurn) {
    TQRCode q;
    q.SetMatch(true);
    q.SetPxmag(2);
    q.SetCode("POP 2026");
    for (const int angle : {0, 90, 180, 270}) {
        for (const bool reverse : {false, true}) {
            SCOPED_TRACE(testing::Message() << "angle " << angle << " reverse " << reverse);
            q.SetAngle(angle);
            q.SetReverse(reverse);
            q.SetSymbolPicture(picBMP);
            const Bitmap bitmap = q.Picture();
            EXPECT_EQ(q.Metafile(), nullptr);
            q.SetSymbolPicture(angle % 180 ? picWMF : picEMF);
            ASSERT_TRUE(q.SymbolDisped() && q.Metafile());
            EXPECT_EQ(q.Picture(), bitmap);
            EXPECT_EQ(PlayBack(*q.Metafile()), bitmap);
        }
    }
}

// The .emf file, read by another program's EMF reader and rasterised, decodes to the data.
TEST(QrMetafile, SavedMetafileDecodesThroughAnIndependentReader) {
    REQUIRE_PROGRAMS("emf2svg-conv", "rsvg-convert", "zbarimg");
    const std::string text = "POP 2026 ポップ売場";
    TQRCode q;
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetPxmag(4);
    q.SetAngle(90);
    q.SetCode(Utf8ToCp932(text));
    ASSERT_TRUE(q.SymbolDisped());
    test::TempDir dir;
    const std::string emf = dir.file("qr.emf"), svg = dir.file("qr.svg"), png = dir.file("qr.png");
    ASSERT_TRUE(SaveEmf(*q.Metafile(), emf));
    const auto program = [](const char* name) {
        return QString::fromStdString(test::ProgramPath(name));
    };
    ASSERT_EQ(QProcess::execute(program("emf2svg-conv"), {"-i", QString::fromStdString(emf), "-o",
                                                          QString::fromStdString(svg)}),
              0);
    // On white, whatever the SVG leaves transparent.
    ASSERT_EQ(QProcess::execute(program("rsvg-convert"),
                                {"-b", "white", "-f", "png", "-o", QString::fromStdString(png),
                                 QString::fromStdString(svg)}),
              0);
    EXPECT_EQ(test::ZbarRead({png}), Utf8ToCp932(text));
}

}  // namespace
}  // namespace pb
