// Codes drawn on a page as a user makes them: a region lifted on an A4 page, a QR code of a
// shop address typed on the on-screen keyboard, a second region with an EAN-13 entered as a
// hand-held scanner does (keys, then Enter); both pasted back, the work saved and exported by
// popboard-cli, and the exported bitmap read by zbarimg.
#include <QApplication>
#include <QInputDialog>
#include <QProcess>
#include <QTimer>

#include "../../codes/zbar_reader.h"
#include "codes/ui/qr_size_screen.h"
#include "common/app_state.h"
#include "imaging/ui/region_editor.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"
#include "platform/ui/dialogs.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb {
namespace {

class CodesOnPage : public test::MainScreenFixture {
  protected:
    // Marks a rectangle with "□選択範囲編集" (screen points of the page image at zoom 50).
    TForm2* MarkRegion(QPoint from, QPoint to) {
        Click(form->RBtn[7]);
        Stroke(from, to);
        return Window<TForm2>("Form2");
    }
    // Presses the keyboard's key showing `key`, or one key per character.
    void Type(TForm6* keyboard, const QString& keys) {
        for (const QChar c : keys) {
            bool found = false;
            for (StringGrid* grid : {keyboard->StringGrid2, keyboard->StringGrid3,
                                     keyboard->StringGrid4, keyboard->StringGrid5})
                for (int r = 0; r < grid->RowCount() && !found; ++r)
                    for (int col = 0; col < grid->ColCount() && !found; ++col)
                        if (grid->Cell(col, r).trimmed() == QString(c)) {
                            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                              grid->CellRect(col, r).center());
                            found = true;
                        }
            ASSERT_TRUE(found) << "no key " << QString(c).toStdString();
        }
    }
    void Press(TForm6* keyboard, const char* button) { Click(keyboard->Find<QPushButton>(button)); }
};

TEST_F(CodesOnPage, QrCodeAndBarcodeDrawnInRegionsReadBackFromTheExportedPage) {
    REQUIRE_PROGRAMS("zbarimg");
    Start();
    Click(form->Btn[21]);  // A4 portrait at zoom 50

    // The QR code: "QRcode描画" on a 260 x 260 region, the preselected size, the keyboard.
    TForm2* editor = MarkRegion({20, 20}, {150, 150});
    ASSERT_NE(editor, nullptr);
    Click(editor->Btn[16]);
    TForm13* sizes = Window<TForm13>("Form13");
    ASSERT_NE(sizes, nullptr);
    Click(sizes->Button4);
    auto* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    Type(keyboard, "HTTPS");
    Press(keyboard, "Button116");  // 英小文字変換
    Type(keyboard, "://");
    Type(keyboard, "PAN");
    Press(keyboard, "Button116");
    Type(keyboard, ".JP");
    Press(keyboard, "Button116");
    Type(keyboard, "/");
    Type(keyboard, QStringLiteral("ﾊﾟﾝﾔ"));
    Press(keyboard, "Button115");  // ひらがな変換
    const std::string url = "https://pan.jp/ぱんや";
    ASSERT_EQ(keyboard->Memo1->toPlainText().toStdString(), url);
    Press(keyboard, "BtnDtStClose");  // 確定: the code is placed, the size screen tests it
    sizes = Window<TForm13>("Form13");
    ASSERT_NE(sizes, nullptr);
    Click(sizes->Button2);  // 確定
    Click(editor->Btn[8]);  // the region's 確定
    ASSERT_EQ(Window<TForm2>("Form2"), nullptr);

    // The barcode: "Barcode描画" on a 240 x 100 region, typed by a scanner into the input box.
    editor = MarkRegion({20, 200}, {140, 250});
    ASSERT_NE(editor, nullptr);
    auto previous = InstallDialogService(MakeQtDialogService());
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        auto* line = box->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        QTest::keyClicks(line, QStringLiteral("4901234567894"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    Click(editor->Btn[15]);
    InstallDialogService(std::move(previous));
    Click(editor->Btn[8]);
    ASSERT_EQ(Window<TForm2>("Form2"), nullptr);

    // Saved as a work and exported by the command-line program.
    Click(form->Btn[13]);  // 保存
    const std::string name = App().WorkName;
    ASSERT_FALSE(name.empty());
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    QProcess cli;
    cli.start(QString::fromUtf8(bin ? bin : ".") + "/popboard-cli",
              {"export", QString::fromStdString(name), "--bmp",
               QString::fromStdString(dir.file("page.bmp")), "--appdir",
               QString::fromStdString(dir.path())});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const auto page = LoadBmp(dir.file("page.bmp"));
    ASSERT_TRUE(page);

    // Each code read from its own part of the exported page.
    const std::vector<std::pair<Rect, std::string>> parts = {
        {{40, 40, 300, 300}, Utf8ToCp932(url)}, {{40, 400, 280, 500}, "4901234567894"}};
    std::vector<std::string> files, expected;
    for (const auto& [r, text] : parts) {
        Bitmap part(r.right - r.left, r.bottom - r.top);
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x) part.setPixel(x, y, page->pixel(r.left + x, r.top + y));
        files.push_back(dir.file("part" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(part, files.back(), 2);
        expected.push_back(text);
    }
    EXPECT_EQ(test::ZbarReadAll(files, expected), expected);
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text;
}

}  // namespace
}  // namespace pb
