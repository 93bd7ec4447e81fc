#include "textentry/ui/keyboard_screen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "common/app_state.h"
#include "platform/text_codec.h"
#include "support/ui/dialog_scope.h"
#include "textentry/dictionary.h"
#include "textentry_fixture.h"

namespace pb {
namespace {

// Stands in for the program's screens: records every hand-over.
class FakeHub : public ScreenHub {
  public:
    std::vector<std::string> calls;
    bool handOverResult = true;

    void OpenObjectList() override { calls.push_back("OpenObjectList"); }
    bool ApplyObjectText(const std::string& text) override {
        calls.push_back("ApplyObjectText " + text);
        return handOverResult;
    }
    bool HandOverQrText(const std::string& cp932) override {
        calls.push_back("HandOverQrText " + Cp932ToUtf8(cp932));
        return handOverResult;
    }
    void OpenPlainTextStamp(const std::string& t) override {
        calls.push_back("OpenPlainTextStamp " + t);
    }
    void OpenDecoratedTextStamp(const std::string& t) override {
        calls.push_back("OpenDecoratedTextStamp " + t);
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
    void Open(int mode = 0, const std::string& text = {}, const std::string& hint = {},
              bool decoratedHint = false) {
        KeyboardRequest request;
        request.callerMode = mode;
        request.text = text;
        request.hint = hint;
        request.decoratedHint = decoratedHint;
        form = new TForm6();
        form->Setup(request);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.data()));
    }
    static void ClickCell(StringGrid* grid, int column, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->CellRect(column, row).center());
    }
    // Clicks the button of that objectName or the key showing `name` (without its leading
    // spaces); a name that is neither is typed as one key per character.
    void Press(const QString& name) {
        if (auto* b = form->Find<QPushButton>(name)) {
            ASSERT_TRUE(b->isVisible()) << name.toStdString();
            return QTest::mouseClick(b, Qt::LeftButton);
        }
        for (StringGrid* grid :
             {form->StringGrid2, form->StringGrid3, form->StringGrid4, form->StringGrid5})
            for (int r = 0; r < grid->RowCount(); ++r)
                for (int c = 0; c < grid->ColCount(); ++c)
                    if (grid->Cell(c, r).trimmed() == name) return ClickCell(grid, c, r);
        ASSERT_GT(name.size(), 1) << "no key " << name.toStdString();
        for (const QChar c : name) Press(QString(c));
    }
    void Press(std::initializer_list<const char*> names) {
        for (const char* n : names) Press(QString::fromUtf8(n));
    }
    bool Closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }
    std::string Memo() const { return form->Memo1->toPlainText().toStdString(); }

    test::TempDir dir;
    FakeHub hub;
    QPointer<TForm6> form;
};

TEST_F(KeyboardScreen, TypeConvertPickAndConfirmByClicks) {
    Open();
    EXPECT_FALSE(form->StringGrid1->isVisible());
    Press({"ｶﾝｼﾞ"});
    EXPECT_EQ(form->Label1->text(), QStringLiteral("ｶﾝｼﾞ"));
    Press({"Button117"});  // 漢字変換
    ASSERT_TRUE(form->StringGrid1->isVisible());
    EXPECT_EQ(form->StringGrid1->Cell(0, 0) + form->StringGrid1->Cell(0, 1), "漢字幹事");
    ClickCell(form->StringGrid1, 0, 1);
    EXPECT_EQ(Memo(), "幹事");
    EXPECT_TRUE(form->Label1->text().isEmpty());
    EXPECT_FALSE(form->StringGrid1->isVisible());
    Press({"BtnDtStClose"});  // 確定
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"ApplyObjectText 幹事", "OpenObjectList"}));
    EXPECT_TRUE(Closed());
}

TEST_F(KeyboardScreen, ConversionButtonsDirectKeysAndSymbolPages) {
    Open(2);
    // ひらがな変換, 無変換, 英小文字変換; a digit after a pending reading; 改行.
    Press({"ｶﾞ", "Button115", "AB", "Button114", "C", "Button116", "ｱ7", "改行"});
    EXPECT_EQ(Memo(), "がABcア7\n");
    Press({"Button131", "Button131"});  // Back of the text: CR LF goes as one
    EXPECT_EQ(Memo(), "がABcア");
    Press({"Button130"});  // Clear
    EXPECT_EQ(Memo(), "");

    // Symbol pages drop the pending reading, list double-byte symbols and commit them in
    // half width where there is one.
    Press({"ｱ", "Button124"});  // ラテン語
    EXPECT_TRUE(form->Label1->text().isEmpty());
    ASSERT_TRUE(form->StringGrid1->isVisible());
    EXPECT_EQ(form->StringGrid1->RowCount(), 1);
    ClickCell(form->StringGrid1, 0, 0);
    Press({"Button118"});  // 一般記号
    ClickCell(form->StringGrid1, 0, 0);
    EXPECT_EQ(Memo(), "A★");
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
    Press({"1"});
    EXPECT_EQ(Memo(), "aあ1bい");
    Press({"Button131", "Button131"});
    EXPECT_EQ(Memo(), "abい");
}

TEST_F(KeyboardScreen, RegisterAWordByClicks) {
    Open(2, "書きかけ");
    ASSERT_TRUE(form->MLStringGrid1->isVisible());
    // Whether "新規単語登録" shows, the user words and 単語追加 show, the background, the memo.
    auto state = [&] {
        return std::tuple(form->Label2->isVisible(), form->MLStringGrid1->isVisible(),
                          form->Button132->isVisible(), form->palette().color(QPalette::Window),
                          Memo());
    };
    Press({"Button132"});  // 単語追加: the screen turns grey
    EXPECT_EQ(state(), std::tuple(true, false, false, QColor(0x80, 0x80, 0x80), std::string()));
    Press({"ｼｮｳﾋﾝ", "Button117"});
    ClickCell(form->StringGrid1, 0, 0);
    Press({"BtnDtStClose"});
    EXPECT_TRUE(hub.calls.empty());
    EXPECT_EQ(state(), std::tuple(false, true, true, QColor(Qt::black), std::string("書きかけ")));
    EXPECT_EQ(form->MLStringGrid1->Cell(0, 0) + form->MLStringGrid1->Cell(1, 0), "1商品");
    ClickCell(form->MLStringGrid1, 1, 0);
    EXPECT_EQ(Memo(), "書きかけ商品");

    // Cancel during a registration only ends it.
    Press({"Button132", "BtnFormClose"});
    EXPECT_FALSE(Closed());
    EXPECT_EQ(Memo(), "書きかけ商品");
    EXPECT_TRUE(form->MLStringGrid1->isVisible());

    // Closing the window during a registration ends it and closes, registering nothing.
    Press({"Button132", "ﾃｽﾄ"});
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(KeyboardScreen, ALostWordListAndACutWordAreSaid) {
    test::ScriptedDialogScope dialogs;
    test::WriteFileBytes(UserStorePath(dir.path()), "a store no longer readable");
    Open(2);
    // Opening again finds the new store usable: nothing more to say.
    delete form.data();
    Open(2);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(std::pair(dialogs->shown[0].text, dialogs->shown[0].caption),
              std::pair(std::string("登録した単語のファイルが壊れてたので作り直した\n"
                                    "前のは TOUROKU.mdb.bak に取ってある"),
                        std::string("どうでもいいけど")));

    Press({"Button132"});
    form->Memo1->setPlainText(QString(121, QLatin1Char('a')));  // typed on a physical keyboard
    Press({"BtnDtStClose"});
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].text, "長すぎるので120文字で切って登録した");
    EXPECT_EQ(form->MLStringGrid1->Cell(1, 0).size(), 120);
}

TEST_F(KeyboardScreen, ConfirmAndCancelByCallerMode) {
    // Button, caller mode, memo, what the hand-over answers, the calls, whether the screen closes.
    const std::tuple<const char*, int, const char*, bool, std::vector<std::string>, bool> cases[] =
        {
            {"BtnDtStClose", 0, "文字  ", true, {"ApplyObjectText 文字", "OpenObjectList"}, true},
            // An empty record: the object list opens, the keyboard stays.
            {"BtnDtStClose", 0, "文字  ", false, {"ApplyObjectText 文字", "OpenObjectList"}, false},
            {"BtnDtStClose", 1, "文字  ", true, {"HandOverQrText 文字"}, true},
            {"BtnDtStClose", 1, "文字  ", false, {"HandOverQrText 文字"}, false},
            {"BtnDtStClose", 2, "文字  ", true, {"OpenPlainTextStamp 文字"}, true},
            {"BtnDtStClose", 3, "文字  ", true, {"OpenDecoratedTextStamp 文字"}, true},
            {"BtnDtStClose", 9, "文字  ", true, {}, true},
            {"BtnDtStClose", 2, "", true, {}, false},  // nothing typed: 確定 does nothing
            {"BtnFormClose", 0, "文字", true, {"OpenObjectList"}, true},
            {"BtnFormClose", 2, "文字", true, {}, true},
            // Closing the window by the window manager is "キャンセル": the object list comes
            // back for an object's text, so that the page is not left disabled.
            {"window manager", 0, "文字", true, {"OpenObjectList"}, true},
            {"window manager", 1, "文字", true, {}, true},
        };
    for (const auto& [button, mode, text, handOverResult, calls, closes] : cases) {
        hub.calls.clear();
        hub.handOverResult = handOverResult;
        Open(mode, text);
        if (std::string_view(button) == "window manager")
            form->close();
        else
            Press({button});
        EXPECT_EQ(std::pair(hub.calls, Closed()), std::pair(calls, closes))
            << button << " " << mode;
        delete form.data();
    }
}

TEST_F(KeyboardScreen, DecoratedHintShowsTheArrowKeys) {
    Open(0, "", "最大30文字", true);
    EXPECT_TRUE(form->StringGrid6->isVisible() && form->Label4->isVisible());
    EXPECT_EQ(form->Label3->text(), QStringLiteral("最大30文字"));
    ClickCell(form->StringGrid6, 3, 0);
    EXPECT_EQ(Memo(), "★");
}

}  // namespace
}  // namespace pb
