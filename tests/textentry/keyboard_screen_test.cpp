#include "textentry/keyboard_screen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "common/app_state.h"
#include "platform/text_codec.h"
#include "textentry_fixture.h"

namespace pb {
namespace {

// Stands in for the program's screens: records every hand-over.
class FakeHub : public ScreenHub {
  public:
    std::vector<std::string> calls;
    bool applyResult = true;
    bool qrResult = true;
    QWidget* main = nullptr;

    QWidget* MainWindow() override { return main; }
    void OpenObjectList() override { calls.push_back("OpenObjectList"); }
    bool ApplyObjectText(const std::string& text) override {
        calls.push_back("ApplyObjectText " + text);
        return applyResult;
    }
    bool HandOverQrText(const std::string& cp932) override {
        calls.push_back("HandOverQrText " + Cp932ToUtf8(cp932));
        return qrResult;
    }
    void OpenPlainTextStamp(const std::string& text) override {
        calls.push_back("OpenPlainTextStamp " + text);
    }
    void OpenDecoratedTextStamp(const std::string& text) override {
        calls.push_back("OpenDecoratedTextStamp " + text);
    }
};

class KeyboardScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppDir(App(), dir.path());
        test::WriteDicData(dir.path(), "KANJI.txt",
                           "Yomi,Kanji\nかんじ,漢字\nかんじ,幹事\nしょうひん,商品\n");
        test::WriteDicData(dir.path(), "KIGO.txt", "KbnCD,TokuMJ,BtSize\n7,Ａ,2\n7,A,1\n1,★,2\n");
        InstallHub(&hub);
    }
    void TearDown() override {
        delete form.data();
        InstallHub(nullptr);
    }

    TForm6* Open(int mode = 0, const std::string& text = {}) {
        form = new TForm6();
        KeyboardRequest request;
        request.callerMode = mode;
        request.text = text;
        form->Setup(request);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.data()));
        return form.data();
    }

    static void ClickCell(StringGrid* grid, int column, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->CellRect(column, row).center());
    }
    // Clicks the key showing `key` (UTF-8, without the leading spaces).
    void ClickKey(StringGrid* grid, const QString& key) {
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                if (grid->Cell(c, r).trimmed() == key) return ClickCell(grid, c, r);
        ADD_FAILURE() << "no key " << key.toStdString();
    }
    void TypeKana(const QString& keys) {
        for (const QChar k : keys) ClickKey(form->StringGrid2, QString(k));
    }
    void ClickButton(const char* name) {
        auto* b = form->Find<QPushButton>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    bool Closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }
    QString Memo() const { return form->Memo1->toPlainText(); }

    test::TempDir dir;
    FakeHub hub;
    QPointer<TForm6> form;
};

TEST_F(KeyboardScreen, TypeConvertPickAndConfirmByClicks) {
    Open(0);
    EXPECT_FALSE(form->StringGrid1->isVisible());
    TypeKana(QStringLiteral("ｶﾝｼﾞ"));
    EXPECT_EQ(form->Find<QLabel>("Label1")->text(), QStringLiteral("ｶﾝｼﾞ"));
    ClickButton("Button117");  // 漢字変換
    ASSERT_TRUE(form->StringGrid1->isVisible());
    EXPECT_EQ(form->StringGrid1->Cell(0, 0), QStringLiteral("漢字"));
    EXPECT_EQ(form->StringGrid1->Cell(0, 1), QStringLiteral("幹事"));
    ClickCell(form->StringGrid1, 0, 1);
    EXPECT_EQ(Memo(), QStringLiteral("幹事"));
    EXPECT_TRUE(form->Label1->text().isEmpty());
    EXPECT_FALSE(form->StringGrid1->isVisible());
    ClickButton("BtnDtStClose");  // 確定
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"ApplyObjectText 幹事", "OpenObjectList"}));
    EXPECT_TRUE(Closed());
}

TEST_F(KeyboardScreen, ConversionButtonsDirectKeysAndSymbolPages) {
    Open(2);
    TypeKana(QStringLiteral("ｶﾞ"));
    ClickButton("Button115");  // ひらがな変換
    ClickKey(form->StringGrid3, QStringLiteral("A"));
    ClickKey(form->StringGrid3, QStringLiteral("B"));
    ClickButton("Button114");  // 無変換
    ClickKey(form->StringGrid3, QStringLiteral("C"));
    ClickButton("Button116");  // 英小文字変換
    TypeKana(QStringLiteral("ｱ"));
    ClickKey(form->StringGrid4, QStringLiteral("7"));
    ClickKey(form->StringGrid5, QStringLiteral("改行"));
    EXPECT_EQ(Memo(), QStringLiteral("がABcア7\n"));
    ClickButton("Button131");  // Back of the text: CR LF goes as one
    ClickButton("Button131");
    EXPECT_EQ(Memo(), QStringLiteral("がABcア"));
    ClickButton("Button130");  // Clear
    EXPECT_EQ(Memo(), QString());

    // Symbol pages drop the pending reading, list double-byte symbols and commit them in
    // half width where there is one.
    TypeKana(QStringLiteral("ｱ"));
    ClickButton("Button124");  // ラテン語
    EXPECT_TRUE(form->Label1->text().isEmpty());
    ASSERT_TRUE(form->StringGrid1->isVisible());
    EXPECT_EQ(form->StringGrid1->RowCount(), 1);
    ClickCell(form->StringGrid1, 0, 0);
    ClickButton("Button118");  // 一般記号
    ClickCell(form->StringGrid1, 0, 0);
    EXPECT_EQ(Memo(), QStringLiteral("A★"));
}

TEST_F(KeyboardScreen, MemoClickSetsInsertMode) {
    test::ScriptedDialogScope dialogs;
    Open(2, "aあbい");
    QTextCursor at(form->Memo1->document());
    at.setPosition(2);
    const QPoint point = form->Memo1->cursorRect(at).center() + QPoint(1, 0);
    QTest::mouseClick(form->Memo1->viewport(), Qt::LeftButton, {}, point);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "aあ←文字押込→bい");
    EXPECT_TRUE(form->Logic().InsertMode());
    ClickKey(form->StringGrid4, QStringLiteral("1"));
    EXPECT_EQ(Memo(), QStringLiteral("aあ1bい"));
    ClickButton("Button131");
    ClickButton("Button131");
    EXPECT_EQ(Memo(), QStringLiteral("abい"));
}

TEST_F(KeyboardScreen, RegisterAWordByClicks) {
    Open(2, "書きかけ");
    ASSERT_TRUE(form->MLStringGrid1->isVisible());
    ClickButton("Button132");  // 単語追加
    EXPECT_TRUE(form->Label2->isVisible());
    EXPECT_FALSE(form->MLStringGrid1->isVisible());
    EXPECT_FALSE(form->Button132->isVisible());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(Memo(), QString());
    TypeKana(QStringLiteral("ｼｮｳﾋﾝ"));
    ClickButton("Button117");
    ClickCell(form->StringGrid1, 0, 0);
    ClickButton("BtnDtStClose");
    EXPECT_TRUE(hub.calls.empty());
    EXPECT_FALSE(form->Label2->isVisible());
    EXPECT_TRUE(form->MLStringGrid1->isVisible());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(Memo(), QStringLiteral("書きかけ"));
    EXPECT_EQ(form->MLStringGrid1->Cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(form->MLStringGrid1->Cell(1, 0), QStringLiteral("商品"));
    ClickCell(form->MLStringGrid1, 1, 0);
    EXPECT_EQ(Memo(), QStringLiteral("書きかけ商品"));

    // Cancel during a registration only ends it.
    ClickButton("Button132");
    ClickButton("BtnFormClose");
    EXPECT_FALSE(Closed());
    EXPECT_EQ(Memo(), QStringLiteral("書きかけ商品"));
    EXPECT_TRUE(form->MLStringGrid1->isVisible());
}

TEST_F(KeyboardScreen, ConfirmAndCancelByCallerMode) {
    struct Case {
        int mode;
        bool handOverResult;
        std::vector<std::string> calls;
        bool closes;
    };
    const Case confirms[] = {
        {0, true, {"ApplyObjectText 文字", "OpenObjectList"}, true},
        {0, false, {"ApplyObjectText 文字", "OpenObjectList"}, false},  // an empty record
        {1, true, {"HandOverQrText 文字"}, true},
        {1, false, {"HandOverQrText 文字"}, false},
        {2, true, {"OpenPlainTextStamp 文字"}, true},
        {3, true, {"OpenDecoratedTextStamp 文字"}, true},
        {9, true, {}, true},
    };
    for (const auto& c : confirms) {
        SCOPED_TRACE(c.mode);
        hub.calls.clear();
        hub.applyResult = hub.qrResult = c.handOverResult;
        Open(c.mode, "文字  ");
        ClickButton("BtnDtStClose");
        EXPECT_EQ(hub.calls, c.calls);
        EXPECT_EQ(Closed(), c.closes);
        delete form.data();
    }
    // Nothing typed: 確定 does nothing.
    hub.calls.clear();
    Open(2);
    ClickButton("BtnDtStClose");
    EXPECT_TRUE(hub.calls.empty());
    EXPECT_FALSE(Closed());
    delete form.data();

    for (const int mode : {0, 2}) {
        hub.calls.clear();
        Open(mode, "文字");
        ClickButton("BtnFormClose");
        EXPECT_EQ(hub.calls, mode == 0 ? std::vector<std::string>{"OpenObjectList"}
                                       : std::vector<std::string>{});
        EXPECT_TRUE(Closed());
    }
}

TEST_F(KeyboardScreen, SizeFollowsTheMainScreen) {
    QWidget main;
    main.resize(700, 500);
    hub.main = &main;
    Open();
    EXPECT_EQ(form->geometry(), QRect(0, 0, 700, 500));
}

TEST_F(KeyboardScreen, DecoratedHintShowsTheArrowKeys) {
    form = new TForm6();
    KeyboardRequest request;
    request.decoratedHint = true;
    request.hint = "最大30文字";
    form->Setup(request);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.data()));
    EXPECT_TRUE(form->StringGrid6->isVisible());
    EXPECT_TRUE(form->Label4->isVisible());
    EXPECT_EQ(form->Label3->text(), QStringLiteral("最大30文字"));
    ClickCell(form->StringGrid6, 3, 0);
    EXPECT_EQ(Memo(), QStringLiteral("★"));
}

}  // namespace
}  // namespace pb
