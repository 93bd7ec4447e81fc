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

int DifferentPixels(const Bitmap& a, const Bitmap& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

struct Painted {
    Bitmap picture;
    std::unique_ptr<Recording> metafile;
};

Painted Paint(TPictures kind, int angle, bool reverse, const std::string& comment) {
    TQRCode q;
    q.SetMatch(true);
    q.SetSymbolPicture(kind);
    q.SetPxmag(2);
    q.SetSymbolSpaceDown(comment.empty() ? 0 : 20);
    q.SetCommentDown(comment);
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
            const Painted bitmap = Paint(picBMP, angle, reverse, "");
            EXPECT_EQ(bitmap.metafile, nullptr);
            const Painted metafile = Paint(picEMF, angle, reverse, "");
            ASSERT_NE(metafile.metafile, nullptr);
            EXPECT_EQ(metafile.picture, bitmap.picture);
            EXPECT_EQ(PlayBack(*metafile.metafile), bitmap.picture);
        }
    }
}

TEST(QrMetafile, TurnedCommentsStayWhereTheBitmapHasThem) {
    // Turned text becomes glyph outlines, which may differ from the rasterised text by
    // single pixels along the glyph edges but not by a misplaced or unturned comment.
    for (const int angle : {0, 90, 270}) {
        SCOPED_TRACE(angle);
        const Painted bitmap = Paint(picBMP, angle, true, "Shop 12");
        const Painted metafile = Paint(picWMF, angle, true, "Shop 12");
        ASSERT_NE(metafile.metafile, nullptr);
        const Bitmap shown = PlayBack(*metafile.metafile);
        ASSERT_EQ(shown.width(), bitmap.picture.width());
        ASSERT_EQ(shown.height(), bitmap.picture.height());
        // Measured: about 50 edge pixels; an unmirrored picture differs by 700 and more.
        EXPECT_LT(DifferentPixels(shown, bitmap.picture), 150);
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
    const QByteArray emf = mime->data(QStringLiteral("image/emf"));
    EXPECT_EQ(emf.toStdString(), EncodeEmf(*q.Metafile()));
    ASSERT_GE(emf.size(), 4);
    EXPECT_EQ(static_cast<unsigned char>(emf[0]), 1);  // EMR_HEADER
}

}  // namespace
}  // namespace pb
