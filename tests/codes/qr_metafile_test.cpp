// Metafile pictures of the QR component: what the metafile holds must be what the bitmap
// shows, in every turn and mirror, and it must leave through the clipboard as EMF.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
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

struct Painted {
    Bitmap picture;
    std::unique_ptr<Recording> metafile;
};

Painted Paint(TPictures kind, int angle, bool reverse) {
    TQRCode q;
    q.SetMatch(true);
    q.SetSymbolPicture(kind);
    q.SetPxmag(2);
    q.SetAngle(angle);
    q.SetReverse(reverse);
    q.SetCode("POP 2026");
    EXPECT_TRUE(q.SymbolDisped());
    Painted result{q.Picture(), nullptr};
    if (q.Metafile()) result.metafile = TurnRecording(*q.Metafile(), 0, false);  // a copy
    return result;
}

TEST(QrMetafile, HoldsWhatTheBitmapShowsInEveryTurn) {
    for (const int angle : {0, 90, 180, 270}) {
        for (const bool reverse : {false, true}) {
            SCOPED_TRACE(testing::Message() << "angle " << angle << " reverse " << reverse);
            const Painted bitmap = Paint(picBMP, angle, reverse);
            EXPECT_EQ(bitmap.metafile, nullptr);
            const Painted metafile = Paint(angle % 180 ? picWMF : picEMF, angle, reverse);
            ASSERT_NE(metafile.metafile, nullptr);
            EXPECT_EQ(metafile.picture, bitmap.picture);
            EXPECT_EQ(PlayBack(*metafile.metafile), bitmap.picture);
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

TEST(QrMetafile, CopyPutsTheMetafileBesideTheBitmap) {
    TQRCode q;
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetCode("COPY ME");
    q.CopyToClipboard();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasImage());
    EXPECT_EQ(mime->data(QStringLiteral("image/emf")).toStdString(), EncodeEmf(*q.Metafile()));
}

}  // namespace
}  // namespace pb
