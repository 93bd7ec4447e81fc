// Codes drawn on a page as a user makes them: a region lifted on an A4 page, a QR code of a
// shop address typed on the on-screen keyboard, a second region with an EAN-13 entered as a
// hand-held scanner does (keys, then Enter); both pasted back, the work saved and exported by
// popboard-cli, and the exported bitmap read by zbarimg.
#include <QInputDialog>
#include <QTimer>

#include "../../codes/zbar_reader.h"
#include "codes/ui/qr_size_screen.h"
#include "common/app_state.h"
#include "platform/bitmap_qt.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"
#include "platform/ui/dialogs.h"
#include "page_flow.h"

namespace pb {
namespace {

using CodesOnPage = test::PageFlow;

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
    Type(keyboard, QStringLiteral("HTTPS://PAN.JP/ﾊﾟﾝﾔ"));
    Click(keyboard->Find<QPushButton>("Button115"));  // ひらがな変換
    const std::string url = "HTTPS://PAN.JP/ぱんや";
    ASSERT_EQ(keyboard->Memo1->toPlainText().toStdString(), url);
    Click(keyboard->BtnDtStClose);  // 確定: the code is placed, the size screen tests it
    sizes = Window<TForm13>("Form13");
    ASSERT_NE(sizes, nullptr);
    Click(sizes->Button2);  // 確定
    Click(editor->Btn[8]);  // the region's 確定

    // The barcode: "Barcode描画" on a 240 x 100 region, typed by a scanner into the input box.
    editor = MarkRegion({20, 200}, {140, 250});
    ASSERT_NE(editor, nullptr);
    auto previous = InstallDialogService(MakeQtDialogService());
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        auto* line = box ? box->findChild<QLineEdit*>() : nullptr;
        ASSERT_TRUE(line);
        QTest::keyClicks(line, QStringLiteral("4901234567894"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    Click(editor->Btn[15]);
    InstallDialogService(std::move(previous));
    Click(editor->Btn[8]);

    // Saved as a work and exported by the command-line program.
    Click(form->Btn[13]);  // 保存
    const test::ProgramRun cli = test::Cli(
        {"export", App().WorkName, "--bmp", dir.file("page.bmp"), "--appdir", dir.path()});
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto page = LoadBmp(dir.file("page.bmp"));
    ASSERT_TRUE(page);

    // Each code read from its own part of the exported page.
    std::vector<std::string> files;
    for (const QRect part : {QRect(40, 40, 260, 260), QRect(40, 400, 240, 100)}) {
        files.push_back(dir.file("part" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(BitmapFromImage(ConstImageView(*page).copy(part)), files.back(), 2);
    }
    const std::vector<std::string> expected = {Utf8ToCp932(url), "4901234567894"};
    EXPECT_EQ(test::ZbarReadAll(files, expected), expected);
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text;
}

}  // namespace
}  // namespace pb
