#include "textentry/ui/keyboard_screen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QPointer>
#include <QTableWidgetItem>
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

    bool Record(const std::string& call) {
        calls.push_back(call);
        return handOverResult;
    }
    void OpenObjectList() override { Record("List"); }
    bool ApplyObjectText(const std::string& t) override { return Record("Object " + t); }
    bool HandOverQrText(const std::string& t) override { return Record("Qr " + Cp932ToUtf8(t)); }
    void OpenPlainTextStamp(const std::string& t) override { Record("Plain " + t); }
    void OpenDecoratedTextStamp(const std::string& t) override { Record("Decorated " + t); }
};

class KeyboardScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppDir(App(), dir.path());
        test::WriteDicData(dir.path(), "KANJI.txt", "Yomi,Kanji\nかんじ,漢字\n");
        InstallHub(&hub);
    }
    void TearDown() override {
        delete form.data();
        InstallHub(nullptr);
    }
    void Open(int mode = 0, const std::string& text = {}) {
        form = new TForm6();
        form->Setup(KeyboardRequest{mode, text, {}, false});
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

    test::TempDir dir;
    FakeHub hub;
    QPointer<TForm6> form;
};

// The shipped first symbol page: both forms of the field braces go in as shown, while a symbol
// whose half-width form the page does not list still goes in half-width.
TEST_F(KeyboardScreen, FieldBracesFromTheFirstSymbolPage) {
    const auto shipped = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "DicData";
    test::WriteFileBytes(dir.path() + "/DicData/KIGO.txt",
                         test::ReadFileBytes((shipped / "KIGO.txt").string()));
    Open();
    for (const QString symbol : {"{", "｝", "（", "｛", "}"}) {
        Press("Button118");  // 一般記号
        const auto rows = form->StringGrid1->findItems(symbol, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << symbol.toStdString();
        form->StringGrid1->scrollToItem(rows[0]);
        ClickCell(form->StringGrid1, 0, rows[0]->row());
    }
    EXPECT_EQ(form->Memo1->toPlainText(), "{｝(｛}");
}

// What the word store did behind the screen is said: a rebuilt store, a word cut to 120.
TEST_F(KeyboardScreen, ALostWordListAndACutWordAreSaid) {
    test::ScriptedDialogScope dialogs;
    test::WriteFileBytes(UserStorePath(dir.path()), "a store no longer readable");
    Open(2);
    Press("Button132");
    form->Memo1->setPlainText(QString(121, QLatin1Char('a')));  // typed on a physical keyboard
    Press("BtnDtStClose");
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text,
              "登録した単語のファイルが壊れてたので作り直した\n前のは TOUROKU.mdb.bak に取ってある");
    EXPECT_EQ(dialogs->shown[1].text, "長すぎるので120文字で切って登録した");
}

TEST_F(KeyboardScreen, ConfirmAndCancelByCallerMode) {
    // Button, caller mode, memo, what the hand-over answers, the calls, whether the screen closes.
    const std::tuple<const char*, int, const char*, bool, std::vector<std::string>, bool> cases[] =
        {
            {"BtnDtStClose", 0, "文字  ", true, {"Object 文字", "List"}, true},
            // An empty record: the object list opens, the keyboard stays.
            {"BtnDtStClose", 0, "文字  ", false, {"Object 文字", "List"}, false},
            {"BtnDtStClose", 1, "文字  ", true, {"Qr 文字"}, true},
            {"BtnDtStClose", 2, "文字  ", true, {"Plain 文字"}, true},
            {"BtnDtStClose", 3, "文字  ", true, {"Decorated 文字"}, true},
            {"BtnDtStClose", 2, "", true, {}, false},  // nothing typed: 確定 does nothing
            {"BtnFormClose", 0, "文字", true, {"List"}, true},
            // Closing the window by the window manager is "キャンセル": the object list comes
            // back for an object's text, so that the page is not left disabled.
            {"window manager", 0, "文字", true, {"List"}, true},
            {"window manager", 1, "文字", true, {}, true},
        };
    for (const auto& [button, mode, text, handOverResult, calls, closes] : cases) {
        hub.calls.clear();
        hub.handOverResult = handOverResult;
        Open(mode, text);
        if (std::string_view(button) == "window manager")
            form->close();
        else
            Press(button);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::pair(hub.calls, form.isNull()), std::pair(calls, closes))
            << button << " " << mode;
        delete form.data();
    }
}

}  // namespace
}  // namespace pb
