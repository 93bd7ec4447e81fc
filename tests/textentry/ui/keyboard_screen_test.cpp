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
        InstallHub(&hub);
    }
    void TearDown() override {
        delete form.data();
        InstallHub(nullptr);
    }
    void Open(int mode = 0, const std::string& text = {}) {
        KeyboardRequest request;
        request.callerMode = mode;
        request.text = text;
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
            {"BtnDtStClose", 2, "文字  ", true, {"OpenPlainTextStamp 文字"}, true},
            {"BtnDtStClose", 3, "文字  ", true, {"OpenDecoratedTextStamp 文字"}, true},
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

}  // namespace
}  // namespace pb
