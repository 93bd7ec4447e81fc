// The region editor's code buttons on a stand-in editor; the rules behind them are guarded by
// the core tests, here only that the controls reach them, and zbarimg reads the results back.
#include "codes/ui/code_drawing.h"

#include <gtest/gtest.h>

#include <QTest>
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
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        hub_.requests.clear();
        host_ = std::make_unique<test::FakeRegionHost>(Bitmap(width, height, RGB(200, 30, 30)));
    }
    TForm13* Screen() {  // the QR size screen over the editor, or nullptr
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
        {200, 60, "49012347", false, "", 2},
        {99, 36, "4901234567894", false, "もうちょっと幅がほしい / ごめん", 0},
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
        const int label = c.width * 1000 + c.height;
        EXPECT_EQ(Shown(), c.message) << label;
        // The size is checked before the box asks.
        EXPECT_EQ(dialogs_->inputs.empty(), c.width >= 100 && c.height >= 36) << label;
        const Bitmap& region = host_->RegionBitmap();
        EXPECT_EQ(region == before, c.module == 0) << label;
        EXPECT_EQ(host_->Counter(), counter + (c.module ? 1 : 0)) << label;
    }
}

TEST_F(CodeDrawing, QrSizeSelectionOpensTheKeyboardWithTheCapacityOfTheChosenSize) {
    const struct {
        int width, height;
        int choices;
        std::string caption;
        int chosen;          // 0: "キャンセル"
        std::string limits;  // numeric, single-byte, kanji
    } cases[] = {
        {300, 38, 1, "この面積だとサイズ選択の余地はなし", 1,
         "17文字､英数だったら6文字、日本語は4"},
        // 150 div 2 x 5 div 9 = 41: version 6; 150 div 3 x 5 div 9 = 27: version 2.
        {150, 400, 3, "サイズ選択", 2, "139文字､英数だったら64文字、日本語は36"},
        {150, 400, 3, "サイズ選択", 0, ""},
    };
    Open(37, 300);
    DrawQrCodeInRegion(*host_);
    EXPECT_TRUE(Screen() == nullptr && Shown() == "狭すぎ / NG");
    for (const auto& c : cases) {
        Open(c.width, c.height);
        DrawQrCodeInRegion(*host_);
        TForm13* form = Screen();
        ASSERT_TRUE(form) << c.width;
        EXPECT_EQ(form->GroupBox1->title().toStdString(), c.caption) << c.width;
        EXPECT_EQ(form->RadioButton[2]->isVisible(), c.choices == 3) << c.width;
        EXPECT_EQ(form->geometry().size(), QSize(792, 200));  // ends where the canvas begins
        if (c.chosen) Click(form->RadioButton[static_cast<std::size_t>(c.chosen - 1)]);
        Click(c.chosen ? form->Button4 : form->Button5);
        EXPECT_EQ(Screen(), nullptr);
        ASSERT_EQ(hub_.requests.size(), c.chosen ? 1u : 0u);
        if (!c.chosen) continue;
        EXPECT_EQ(hub_.requests[0].hint,
                  "上限 : 数字だけなら" + c.limits + "文字(多少の計算違いは勘弁)");
        EXPECT_EQ(RegionQrCode(*host_).Pxmag(), c.chosen);
    }
}

TEST_F(CodeDrawing, HandOverOpensTheScannerTestThatStepsTheVersionThenKeepsOrGivesBack) {
    Open(60, 60);  // 60 div 2 x 5 div 9 = 16 modules: refused, the keyboard stays open
    EXPECT_FALSE(HandOverQrText(*host_, "abc"));
    EXPECT_TRUE(Screen() == nullptr && Shown() == "文字多すぎ / NG");

    for (const bool cancel : {false, true}) {
        // "abcdefg" at module size 2 in 90 x 90: version 2 (66 pixels) up to 5 (90).
        Open(90, 90);
        ASSERT_TRUE(host_->SnapshotRegion());  // an earlier change in the editor
        const Bitmap before = host_->RegionBitmap();
        const int counter = host_->Counter();
        ASSERT_TRUE(HandOverQrText(*host_, "abcdefg"));
        TForm13* form = Screen();
        ASSERT_TRUE(form);
        const struct {
            int direction, shown;
            std::string message;
        } steps[] = {
            {0, 2, ""},  // "↓" at the minimum keeps it
            {1, 3, ""}, {1, 4, ""},
            {1, 5, ""}, {1, 5, "選択範囲狭すぎ、または、文字多すぎ / これ以上は無理"},
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
}

TEST_F(CodeDrawing, CodesDrawnByTheButtonsReadBack) {
    REQUIRE_PROGRAMS("zbarimg");
    test::TempDir dir;
    const std::vector<std::string> files = {dir.file("qr.pgm"), dir.file("ean.pgm")};
    const std::vector<std::string> texts = {Utf8ToCp932("https://例え.jp/店/特売?日=土"),
                                            "4901234567894"};
    // QR: the keyboard's text at the preselected 2 pixels, one version up.
    Open(260, 240);
    ASSERT_TRUE(HandOverQrText(*host_, texts[0]));
    Click(Screen()->BtnUpDn1);
    Click(Screen()->Button2);
    test::WritePgm(host_->RegionBitmap(), files[0], 1);
    // EAN-13 as a scanner types it (the real input box: the end-to-end test of the page).
    Open(240, 90);
    dialogs_->inputs = {texts[1]};
    DrawBarcodeInRegion(*host_);
    test::WritePgm(host_->RegionBitmap(), files[1], 1);
    EXPECT_EQ(test::ZbarReadAll(files, texts), texts);
}

}  // namespace
}  // namespace pb
