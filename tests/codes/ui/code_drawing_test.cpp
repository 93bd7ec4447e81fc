// The region editor's code buttons on a stand-in editor: the barcode's input box and
// refusals, the QR size screen in both states with the keyboard hand-over between them, and
// the codes drawn by these flows read back by zbarimg.
#include "codes/ui/code_drawing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <optional>
#include <vector>

#include "../zbar_reader.h"
#include "codes/qr_code.h"
#include "codes/ui/qr_size_screen.h"
#include "common/ui/screen_hub.h"
#include "platform/text_codec.h"
#include "support/ui/dialog_scope.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void Click(QWidget* w) {
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
    QTest::mouseClick(w, Qt::LeftButton);
}

// The main screen as the code screens see it: it records the keyboard's requests.
class KeyboardHub : public ScreenHub {
  public:
    KeyboardHub() { InstallHub(this); }
    ~KeyboardHub() override { InstallHub(nullptr); }
    void OpenKeyboard(const KeyboardRequest& request) override { requests.push_back(request); }
    std::vector<KeyboardRequest> requests;
};

class CodeDrawing : public ::testing::Test {
  protected:
    void Open(int width, int height) {
        host_.reset();
        Settle();
        host_ = std::make_unique<test::FakeRegionHost>(Bitmap(width, height, RGB(200, 30, 30)));
    }
    // The QR size screen over the editor, or nullptr.
    TForm13* Screen() {
        Settle();
        const auto forms =
            host_->window.findChildren<TForm13*>(QString(), Qt::FindDirectChildrenOnly);
        return forms.size() == 1 ? forms.front() : nullptr;
    }
    // The message boxes shown since the last call, as "text / caption".
    std::string Shown() {
        std::string texts;
        for (const auto& s : dialogs_->shown) texts += s.text + " / " + s.caption;
        dialogs_->shown.clear();
        return texts;
    }

    KeyboardHub hub_;
    test::ScriptedDialogScope dialogs_;
    std::unique_ptr<test::FakeRegionHost> host_;
};

TEST_F(CodeDrawing, BarcodeChecksTheRegionAndTheScannedDigits) {
    const struct {
        int width, height;
        std::optional<std::string> typed;
        bool failSnapshot;
        std::string message;
        int module;  // 0: the region stays as it was
    } cases[] = {
        {100, 36, "4901234567894", false, "", 1},
        {199, 60, "4901234567894", false, "", 1},
        {200, 60, "49012347", false, "", 2},
        {99, 36, "4901234567894", false, "もうちょっと幅がほしい / ごめん", 0},
        {100, 35, "4901234567894", false, "もうちょっと高さがほしい / ごめん", 0},
        {150, 60, std::nullopt, false, "", 0},
        {150, 60, "", false, "", 0},
        {150, 60, "490123456789", false, "8桁、13桁の数字以外は受け付ける気になれない / NG", 0},
        {150, 60, "4901234567895", false, "なんか変 / NG", 0},
        {150, 60, "4901234567894", true, "", 0},
    };
    for (const auto& c : cases) {
        Open(c.width, c.height);
        host_->failSnapshots = c.failSnapshot;
        dialogs_->inputs = {c.typed};
        const Bitmap before = host_->RegionBitmap();
        const int counter = host_->Counter();
        DrawBarcodeInRegion(*host_);
        const std::string label = std::to_string(c.width) + " x " + std::to_string(c.height) + " " +
                                  c.typed.value_or("(cancel)");
        EXPECT_EQ(Shown(), c.message) << label;
        // The size is checked before the box asks for anything.
        EXPECT_EQ(dialogs_->inputs.empty(), c.width >= 100 && c.height >= 36) << label;
        const Bitmap& region = host_->RegionBitmap();
        ASSERT_EQ(region.size(), before.size()) << label;
        EXPECT_EQ(region == before, c.module == 0) << label;
        EXPECT_EQ(host_->Counter(), counter + (c.module ? 1 : 0)) << label;
        if (!c.module) continue;
        // The bars' top row: 95 (EAN-13) or 67 modules, centred with one quiet module.
        const int modules = c.typed->size() == 13 ? 95 : 67;
        int first = -1, last = -1;
        for (int x = 0; x < region.width(); ++x)
            if (region.pixel(x, 0) == clBlack) (first < 0 ? first : last) = x;
        EXPECT_EQ(first, (c.width - (modules + 1) * c.module) / 2) << label;
        EXPECT_EQ(last - first + 1, modules * c.module) << label;
    }
}

TEST_F(CodeDrawing, QrSizeSelectionOpensTheKeyboardWithTheCapacityOfTheChosenSize) {
    const struct {
        int width, height;
        int choices, checked;
        std::string caption;
        int chosen;
        std::string limits;  // numeric, single-byte, kanji
    } cases[] = {
        {37, 300, 0, 0, "", 0, ""},
        {300, 38, 1, 1, "この面積だとサイズ選択の余地はなし", 1,
         "17文字､英数だったら6文字、日本語は4"},
        {76, 200, 2, 2, "サイズ選択", 2, "17文字､英数だったら6文字、日本語は4"},
        // 150 div 2 x 5 div 9 = 41: version 6; 150 div 3 x 5 div 9 = 27: version 2.
        {150, 400, 3, 2, "サイズ選択", 2, "139文字､英数だったら64文字、日本語は36"},
        {150, 400, 3, 2, "サイズ選択", 3, "34文字､英数だったら10文字、日本語は8"},
    };
    for (const auto& c : cases) {
        Open(c.width, c.height);
        hub_.requests.clear();
        DrawQrCodeInRegion(*host_);
        TForm13* form = Screen();
        ASSERT_EQ(form != nullptr, c.choices > 0) << c.width;
        if (!form) {
            EXPECT_EQ(Shown(), "狭すぎ / NG");
            continue;
        }
        EXPECT_EQ(form->GroupBox1->title().toStdString(), c.caption) << c.width;
        for (int k = 1; k <= 3; ++k) {
            auto* radio = form->Find<QRadioButton>(QStringLiteral("RadioButton%1").arg(k));
            EXPECT_EQ(radio->isVisible(), k <= c.choices) << c.width << " " << k;
            EXPECT_EQ(radio->isChecked(), k == c.checked) << c.width << " " << k;
        }
        EXPECT_FALSE(form->BtnUpDn1->isVisible());
        // The strip ends where the canvas begins, over the editor's width.
        EXPECT_EQ(form->geometry().size(), QSize(792, 200));
        Click(form->RadioButton[static_cast<std::size_t>(c.chosen - 1)]);
        Click(form->Button4);
        EXPECT_EQ(Screen(), nullptr);
        ASSERT_EQ(hub_.requests.size(), 1u);
        EXPECT_EQ(hub_.requests[0].callerMode, 1);
        EXPECT_EQ(hub_.requests[0].hint,
                  "上限 : 数字だけなら" + c.limits + "文字(多少の計算違いは勘弁)");
        EXPECT_EQ(RegionQrCode(*host_).Pxmag(), c.chosen);
    }
    // Cancel opens nothing.
    hub_.requests.clear();
    DrawQrCodeInRegion(*host_);
    Click(Screen()->Button5);
    EXPECT_EQ(Screen(), nullptr);
    EXPECT_TRUE(hub_.requests.empty());
}

TEST_F(CodeDrawing, HandOverOpensTheScannerTestThatStepsTheVersionThenKeepsOrGivesBack) {
    // A refused text leaves the keyboard open: silently when no version holds it.
    Open(60, 60);  // 60 div 2 x 5 div 9 = 16 modules
    const Bitmap untouched = host_->RegionBitmap();
    EXPECT_FALSE(HandOverQrText(*host_, "abc"));
    EXPECT_EQ(Shown(), "文字多すぎ / NG");
    EXPECT_FALSE(HandOverQrText(*host_, ""));
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Screen(), nullptr);
    EXPECT_TRUE(host_->RegionBitmap() == untouched);

    for (const bool cancel : {false, true}) {
        // "abcdefg" at module size 2 in 100 x 100: version 2 (66 pixels) up to version 6
        // (98); 7 would take 106.
        Open(100, 100);
        ASSERT_TRUE(host_->SnapshotRegion());  // an earlier change in the editor
        const Bitmap before = host_->RegionBitmap();
        const int counter = host_->Counter();
        ASSERT_TRUE(HandOverQrText(*host_, "abcdefg"));
        TForm13* form = Screen();
        ASSERT_TRUE(form);
        EXPECT_FALSE(form->GroupBox1->isVisible());
        EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("abcdefg"));
        const struct {
            int direction, shown;
            std::string message;
        } steps[] = {
            {0, 2, ""},  // "↓" at the minimum keeps it
            {1, 3, ""},
            {1, 4, ""},
            {1, 5, ""},
            {1, 6, ""},
            {1, 6, "選択範囲狭すぎ、または、文字多すぎ / これ以上は無理"},
            {0, 5, ""},
        };
        for (const auto& s : steps) {
            const Bitmap shownBefore = host_->RegionBitmap();
            const int shown = form->LabelVerNum->text().toInt();
            Click(s.direction == 1 ? form->BtnUpDn1 : form->BtnUpDn0);
            EXPECT_EQ(form->LabelVerNum->text().toInt(), s.shown) << shown << " " << s.direction;
            EXPECT_EQ(Shown(), s.message) << shown << " " << s.direction;
            EXPECT_EQ(host_->RegionBitmap() == shownBefore, s.shown == shown) << shown;
        }
        const Bitmap placed = host_->RegionBitmap();
        Click(cancel ? form->Button1 : form->Button2);
        EXPECT_EQ(Screen(), nullptr);
        EXPECT_TRUE(host_->RegionBitmap() == (cancel ? before : placed)) << cancel;
        EXPECT_EQ(host_->Counter(), cancel ? counter : counter + 1) << cancel;
    }

    // "↑" at 14 keeps 14.
    Open(300, 300);
    ASSERT_TRUE(HandOverQrText(*host_, "HELLO"));
    for (int i = 0; i < 14; ++i) Click(Screen()->BtnUpDn1);
    EXPECT_EQ(Screen()->LabelVerNum->text(), QStringLiteral("14"));
    EXPECT_EQ(Shown(), "");
}

TEST_F(CodeDrawing, CodesDrawnByTheButtonsReadBack) {
    REQUIRE_PROGRAMS("zbarimg");
    test::TempDir dir;
    std::vector<std::string> files, expected;
    auto keep = [&](const std::string& text, int scale) {
        files.push_back(dir.file("region" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(host_->RegionBitmap(), files.back(), scale);
        expected.push_back(text);
    };

    // QR: size selection at the preselected 2 pixels, the keyboard's text, one version up.
    const std::string url = Utf8ToCp932("https://例え.jp/店/特売?日=土");
    Open(260, 240);
    DrawQrCodeInRegion(*host_);
    Click(Screen()->Button4);
    ASSERT_EQ(hub_.requests.size(), 1u);
    ASSERT_TRUE(HandOverQrText(*host_, url));
    Click(Screen()->BtnUpDn1);
    Click(Screen()->Button2);
    keep(url, 1);

    // EAN-13 typed by a scanner into the real input box: the digits, then Enter.
    Open(240, 90);
    auto previous = InstallDialogService(MakeQtDialogService());
    std::string caption, prompt;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        caption = box->windowTitle().toStdString();
        prompt = box->labelText().toStdString();
        auto* line = box->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        QTest::keyClicks(line, QStringLiteral("4901234567894"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    DrawBarcodeInRegion(*host_);
    InstallDialogService(std::move(previous));
    EXPECT_EQ(caption, "Keyboard入力でもいいけど");
    EXPECT_EQ(prompt, "描画したいBarcodeをScan");
    keep("4901234567894", 1);

    EXPECT_EQ(test::ZbarReadAll(files, expected), expected);
}

}  // namespace
}  // namespace pb
