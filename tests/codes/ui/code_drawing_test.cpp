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

std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

// A region with a recognisable picture, so that any change to it shows.
Bitmap Region(int width, int height) {
    Bitmap bmp(width, height, clWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x + y) % 7 == 0) bmp.setPixel(x, y, RGB(200, 30, 30));
    return bmp;
}

// First and last column of row y that are black; {-1, -1} without any.
std::pair<int, int> BlackSpan(const Bitmap& bmp, int y) {
    int first = -1, last = -1;
    for (int x = 0; x < bmp.width(); ++x)
        if (bmp.pixel(x, y) == clBlack) {
            if (first < 0) first = x;
            last = x;
        }
    return {first, last};
}

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
        host_ = std::make_unique<test::FakeRegionHost>(Region(width, height));
    }
    // The QR size screen over the editor, or nullptr.
    TForm13* Screen() {
        Settle();
        const auto forms =
            host_->window.findChildren<TForm13*>(QString(), Qt::FindDirectChildrenOnly);
        return forms.size() == 1 ? forms.front() : nullptr;
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (const auto& s : dialogs_->shown) texts.push_back(s.text + " / " + s.caption);
        dialogs_->shown.clear();
        return texts;
    }

    KeyboardHub hub_;
    test::ScriptedDialogScope dialogs_;
    std::unique_ptr<test::FakeRegionHost> host_;
};

using Messages = std::vector<std::string>;

TEST_F(CodeDrawing, BarcodeChecksTheRegionAndTheScannedDigits) {
    const struct {
        int width, height;
        std::optional<std::string> typed;
        bool failSnapshot;
        Messages messages;
        int module;  // 0: the region stays as it was
    } cases[] = {
        {100, 36, "4901234567894", false, {}, 1},
        {199, 60, "4901234567894", false, {}, 1},
        {200, 60, "49012347", false, {}, 2},
        {99, 36, "4901234567894", false, {"もうちょっと幅がほしい / ごめん"}, 0},
        {100, 35, "4901234567894", false, {"もうちょっと高さがほしい / ごめん"}, 0},
        {150, 60, std::nullopt, false, {}, 0},
        {150, 60, "", false, {}, 0},
        {150, 60, "490123456789", false, {"8桁、13桁の数字以外は受け付ける気になれない / NG"}, 0},
        {150, 60, "4901234567895", false, {"なんか変 / NG"}, 0},
        {150, 60, "4901234567894", true, {}, 0},
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
        EXPECT_EQ(Shown(), c.messages) << label;
        // The size is checked before the box asks for anything.
        EXPECT_EQ(dialogs_->inputs.empty(), c.width >= 100 && c.height >= 36) << label;
        const Bitmap& region = host_->RegionBitmap();
        ASSERT_EQ(region.size(), before.size()) << label;
        EXPECT_EQ(region == before, c.module == 0) << label;
        EXPECT_EQ(host_->Counter(), counter + (c.module ? 1 : 0)) << label;
        if (c.module) {
            const int modules = c.typed->size() == 13 ? 95 : 67;
            const int first = (c.width - (modules + 1) * c.module) / 2;  // with the quiet module
            EXPECT_EQ(BlackSpan(region, 0).second - BlackSpan(region, 0).first + 1,
                      modules * c.module)
                << label;
            EXPECT_EQ(BlackSpan(region, 0).first, first) << label;
        }
    }
}

TEST_F(CodeDrawing, QrSizeSelectionOffersTheSizesTheRegionAllows) {
    const struct {
        int width, height;
        int choices, checked;
        const char* caption;
    } cases[] = {
        {37, 300, 0, 0, nullptr},
        {300, 38, 1, 1, "この面積だとサイズ選択の余地はなし"},
        {76, 200, 2, 2, "サイズ選択"},
        {114, 114, 3, 2, "サイズ選択"},
    };
    for (const auto& c : cases) {
        Open(c.width, c.height);
        DrawQrCodeInRegion(*host_);
        TForm13* form = Screen();
        if (c.choices == 0) {
            EXPECT_EQ(Shown(), Messages{"狭すぎ / NG"}) << c.width;
            EXPECT_EQ(form, nullptr) << c.width;
            continue;
        }
        ASSERT_TRUE(form) << c.width;
        EXPECT_TRUE(Shown().empty());
        EXPECT_EQ(form->state(), TForm13::State::SizeSelection);
        EXPECT_EQ(form->GroupBox1->title().toStdString(), c.caption) << c.width;
        for (int k = 1; k <= 3; ++k) {
            auto* radio = form->Find<QRadioButton>(QStringLiteral("RadioButton%1").arg(k));
            ASSERT_TRUE(radio);
            EXPECT_EQ(radio->isVisible(), k <= c.choices) << c.width << " " << k;
            EXPECT_EQ(radio->isChecked(), k == c.checked) << c.width << " " << k;
        }
        // The strip ends where the canvas begins, over the editor's width.
        EXPECT_EQ(form->geometry().size(), QSize(792, 200));
        EXPECT_FALSE(form->Find<QWidget>(QStringLiteral("BtnUpDn1"))->isVisible());
    }
}

TEST_F(CodeDrawing, QrSizeOkOpensTheKeyboardWithTheCapacityOfTheChosenSize) {
    const struct {
        int radio;
        int numeric, singleByte, kanji;
    } cases[] = {
        {2, 139, 64, 36},    // 150 div 2 x 5 div 9 = 41: version 6
        {1, 468, 259, 120},  // m = 83: version 14
        {3, 34, 10, 8},      // 50 x 5 div 9 = 27: version 2
    };
    for (const auto& c : cases) {
        Open(150, 400);
        hub_.requests.clear();
        DrawQrCodeInRegion(*host_);
        ASSERT_TRUE(Screen());
        Click(Screen()->RadioButton[static_cast<std::size_t>(c.radio - 1)]);
        Click(Screen()->Button4);
        EXPECT_EQ(Screen(), nullptr) << c.radio;
        ASSERT_EQ(hub_.requests.size(), 1u);
        EXPECT_EQ(hub_.requests[0].callerMode, 1);
        EXPECT_EQ(hub_.requests[0].hint, "上限 : 数字だけなら" + std::to_string(c.numeric) +
                                             "文字､英数だったら" + std::to_string(c.singleByte) +
                                             "文字、日本語は" + std::to_string(c.kanji) +
                                             "文字(多少の計算違いは勘弁)");
        EXPECT_EQ(RegionQrCode(*host_).Pxmag(), c.radio);
        EXPECT_TRUE(Shown().empty());
    }
    // Cancel opens nothing.
    hub_.requests.clear();
    DrawQrCodeInRegion(*host_);
    Click(Screen()->Button5);
    EXPECT_EQ(Screen(), nullptr);
    EXPECT_TRUE(hub_.requests.empty());
}

TEST_F(CodeDrawing, HandOverPlacesTheTextAndOpensTheScannerTest) {
    const struct {
        int side;
        std::string text;
        bool placed;
        int version;
        Messages messages;
    } cases[] = {
        {300, std::string(17, '7'), true, 1, {}},
        {300, std::string(18, '7'), true, 2, {}},
        {300, "abcdefg", true, 2, {}},
        {300, Sjis("ab漢cd"), true, 2, {}},
        {300, "", false, 0, {}},  // the keyboard stays without a message
        // 60 div 2 x 5 div 9 = 16 modules: nothing fits at module size 2.
        {60, "abc", false, 0, {"文字多すぎ / NG"}},
    };
    for (const auto& c : cases) {
        Open(c.side, c.side);
        const Bitmap before = host_->RegionBitmap();
        EXPECT_EQ(HandOverQrText(*host_, c.text), c.placed) << c.text;
        EXPECT_EQ(Shown(), c.messages) << c.text;
        EXPECT_EQ(host_->RegionBitmap() == before, !c.placed) << c.text;
        TForm13* form = Screen();
        ASSERT_EQ(form != nullptr, c.placed) << c.text;
        if (!form) continue;
        EXPECT_EQ(form->state(), TForm13::State::ScannerTest);
        EXPECT_EQ(form->LabelVerNum->text().toInt(), c.version) << c.text;
        EXPECT_EQ(form->LabelVerMin->text().toInt(), c.version) << c.text;
        EXPECT_EQ(form->Memo1->toPlainText().toStdString(), Cp932ToUtf8(c.text));
        EXPECT_FALSE(form->GroupBox1->isVisible());
        EXPECT_TRUE(form->Button2->isVisible());
    }
}

TEST_F(CodeDrawing, ScannerTestStepsTheVersionWithinTheRegion) {
    // "abcdefg" at module size 2 in 100 x 100: version 2 (66 pixels) up to version 6 (98);
    // 7 would take 106.
    Open(100, 100);
    ASSERT_TRUE(HandOverQrText(*host_, "abcdefg"));
    TForm13* form = Screen();
    ASSERT_TRUE(form);
    const struct {
        int direction;
        int shown;
        Messages messages;
    } steps[] = {
        {0, 2, {}},  // "↓" at the minimum keeps it
        {1, 3, {}},
        {1, 4, {}},
        {1, 5, {}},
        {1, 6, {}},
        {1, 6, {"選択範囲狭すぎ、または、文字多すぎ / これ以上は無理"}},
        {0, 5, {}},
    };
    for (const auto& s : steps) {
        const Bitmap before = host_->RegionBitmap();
        const int shown = form->LabelVerNum->text().toInt();
        Click(s.direction == 1 ? form->BtnUpDn1 : form->BtnUpDn0);
        EXPECT_EQ(form->LabelVerNum->text().toInt(), s.shown) << shown << " " << s.direction;
        EXPECT_EQ(Shown(), s.messages) << shown << " " << s.direction;
        EXPECT_EQ(host_->RegionBitmap() == before, s.shown == shown) << shown;
        EXPECT_EQ(RegionQrCode(*host_).Version(), s.messages.empty() ? s.shown : 7);
    }
    EXPECT_EQ(dialogs_->maxBusyDepth, 1);

    // "↑" at 14 keeps 14.
    Open(300, 300);
    ASSERT_TRUE(HandOverQrText(*host_, "HELLO"));
    form = Screen();
    for (int i = 0; i < 14; ++i) Click(form->BtnUpDn1);
    EXPECT_EQ(form->LabelVerNum->text(), QStringLiteral("14"));
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CodeDrawing, ScannerTestConfirmKeepsTheCodeAndCancelRestoresTheRegion) {
    for (const bool cancel : {false, true}) {
        Open(200, 150);
        ASSERT_TRUE(host_->SnapshotRegion());  // an earlier change of the editor
        const Bitmap before = host_->RegionBitmap();
        const int counter = host_->Counter();
        ASSERT_TRUE(HandOverQrText(*host_, "POP"));
        Click(Screen()->BtnUpDn1);
        const Bitmap placed = host_->RegionBitmap();
        Click(cancel ? Screen()->Button1 : Screen()->Button2);
        EXPECT_EQ(Screen(), nullptr);
        EXPECT_TRUE(host_->RegionBitmap() == (cancel ? before : placed)) << cancel;
        EXPECT_EQ(host_->Counter(), cancel ? counter : counter + 1) << cancel;
    }
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
    const std::string url = Sjis("https://例え.jp/店/特売?日=土");
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
