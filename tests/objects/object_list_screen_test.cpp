// The object list driven by clicks, over a stand-in main screen.
#include "objects/object_list_screen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "fake_hub.h"
#include "objects/strdata.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

class ObjectListTest : public ::testing::Test {
  protected:
    void SetUp() override { form = new TForm16; }
    void TearDown() override { delete form.data(); }
    void Click(int n) {
        QPushButton* b = form->Btn[static_cast<std::size_t>(n)];
        ASSERT_TRUE(b->isVisible()) << n;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void Add(int kind, int times = 1) {
        for (int i = 0; i < times; ++i) Click(kind);
    }
    std::optional<ObjectRecord> Record(int slot) const { return ReadObject(main.folder(), slot); }
    bool FileOf(int slot) const { return Files().FileExists(ObjectFilePath(main.folder(), slot)); }
    // Whether the slot's picture carries the silver selection frame (its top-left pixel).
    static bool Framed(int slot) {
        const TCImg* img = ObjectImages()[slot];
        return img && img->bitmap().pixel(0, 0) == clSilver;
    }
    bool Shown(int n) const { return form->Btn[static_cast<std::size_t>(n)]->isVisible(); }
    std::vector<std::string> Said() { return test::Said(dialogs); }

    test::ScriptedDialogScope dialogs;
    test::FakeMainScreen main;
    QPointer<TForm16> form;
};

TEST_F(ObjectListTest, OpensBesideThePageAndDisablesIt) {
    EXPECT_TRUE(App().ObjectListOpen);
    EXPECT_EQ(form->geometry(), QRect(567, 0, 1280 - 567, 800));
    EXPECT_FALSE(main.page->isEnabled());
    EXPECT_FALSE(main.floating->isEnabled());
    // Only the add buttons and "元の画面に戻る" until there is an object.
    for (int n = 0; n <= 8; ++n) EXPECT_EQ(Shown(n), n >= 5) << n;
}

TEST_F(ObjectListTest, AddingStacksObjectsDownThePageAndSelectsTheNewOne) {
    Add(5);
    Add(6);
    Add(7);
    struct Expected {
        int slot;
        bool decorated;
        const char* text;
    };
    const Expected expected[] = {
        {0, false, "あいうえお\r\n12345"}, {1, true, "あいうえお"}, {2, true, "vrnSHAPE1"}};
    for (const Expected& e : expected) {
        const auto r = Record(e.slot);
        ASSERT_TRUE(r) << e.slot;
        EXPECT_EQ(r->decorated(), e.decorated);
        EXPECT_EQ(r->Text, e.text);
        EXPECT_EQ(r->Left, 0);
        EXPECT_EQ(r->Top, e.slot * (559 / 199));
        ASSERT_TRUE(ObjectImages().exists(e.slot));
        EXPECT_EQ(ObjectImages()[e.slot]->PositionOn(*main.page), (Point{0, e.slot * 2}));
    }
    EXPECT_EQ(Record(1)->FontIndex, DefaultFontIndex(InstalledFonts()));
    EXPECT_EQ(Record(2)->FontIndex, 0);
    // Only the newest is selected and framed; the others were rendered again without frame.
    EXPECT_EQ(App().SelectedObject, 2);
    EXPECT_TRUE(Framed(2));
    EXPECT_FALSE(Framed(1));
    EXPECT_FALSE(Framed(0));
    for (int n = 0; n <= 4; ++n) EXPECT_TRUE(Shown(n)) << n;
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ObjectListTest, DeletingRemovesBothFilesAndLeavesNothingSelected) {
    Add(6, 2);
    SaveBmp(Bitmap(2, 2), CompanionBitmapPath(main.folder(), 1));
    Click(1);  // slot 1 goes; slot 0 stays
    EXPECT_FALSE(FileOf(1));
    EXPECT_FALSE(Files().FileExists(CompanionBitmapPath(main.folder(), 1)));
    EXPECT_FALSE(ObjectImages().exists(1));
    EXPECT_TRUE(FileOf(0));
    ASSERT_EQ(App().SelectedObject, kNoObject);
    // Without a selection the buttons only say so.
    for (int n : {0, 1, 2, 3, 4}) Click(n);
    EXPECT_EQ(Said(), std::vector<std::string>(5, "何か選択しろ/どうでもいいけど"));
    EXPECT_TRUE(FileOf(0));
    EXPECT_FALSE(FileOf(2));
    EXPECT_TRUE(main.keyboard.empty());
    // With the last object gone the buttons hide.
    App().SelectedObject = 0;
    Click(1);
    for (int n = 0; n <= 4; ++n) EXPECT_FALSE(Shown(n)) << n;
}

TEST_F(ObjectListTest, BringingToTheFrontMovesTheRecordUpAndLeavesTheGap) {
    Add(6, 6);  // slots 0..5
    SaveBmp(Bitmap(2, 2), CompanionBitmapPath(main.folder(), 3));
    App().SelectedObject = 3;
    ObjectImages()[3]->image()->move(main.page->x() + 40, main.page->y() + 50);
    Click(2);
    EXPECT_FALSE(FileOf(3));
    EXPECT_FALSE(Files().FileExists(CompanionBitmapPath(main.folder(), 3)));
    EXPECT_FALSE(ObjectImages().exists(3));
    ASSERT_TRUE(ObjectImages().exists(6));
    EXPECT_EQ(App().SelectedObject, 6);
    EXPECT_TRUE(Framed(6));
    // Its position was saved before the move and the new image stands there.
    EXPECT_EQ((Point{Record(6)->Left, Record(6)->Top}), (Point{40, 50}));
    EXPECT_EQ(ObjectImages()[6]->PositionOn(*main.page), (Point{40, 50}));
    // The gap is not reused; the highest object still moves one slot up.
    Add(5);
    EXPECT_TRUE(FileOf(7));
    Click(2);
    EXPECT_TRUE(FileOf(8));
    EXPECT_FALSE(FileOf(7));
    EXPECT_EQ(App().SelectedObject, 8);
}

TEST_F(ObjectListTest, CopiesGoToTheTopLeftOfThePage) {
    Add(7);
    ObjectRecord r = *Record(0);
    r.FillColor = RGB(1, 2, 3);
    r.Left = 70;
    WriteObject(main.folder(), 0, r);
    Click(0);
    const auto copy = Record(1);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->FillColor, RGB(1, 2, 3));
    EXPECT_EQ((Point{copy->Left, copy->Top}), (Point{0, 0}));
    EXPECT_EQ(ObjectImages()[1]->PositionOn(*main.page), (Point{0, 0}));
    EXPECT_EQ(App().SelectedObject, 1);
    EXPECT_TRUE(Framed(1));
    EXPECT_FALSE(Framed(0));

    // A full table: copying and bringing to the front do nothing, silently.
    WriteObject(main.folder(), 199, r);
    ASSERT_TRUE(main.LoadObjectImage(main.folder(), 199));
    App().SelectedObject = 0;
    Click(0);
    Click(2);
    Add(5);
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(FileOf(0));
    EXPECT_FALSE(FileOf(2));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ObjectListTest, TextChangeOpensTheKeyboardExceptForShapes) {
    Add(7);
    Click(3);
    EXPECT_EQ(Said(), std::vector<std::string>{"これは文字じゃない/NG"});
    EXPECT_TRUE(main.keyboard.empty());
    EXPECT_TRUE(form->isVisible());

    Add(6);
    ObjectRecord r = *Record(1);
    r.Text = "大売出し\r\n\r\n本日";
    WriteObject(main.folder(), 1, r);
    ObjectImages()[1]->image()->move(main.page->x() + 12, main.page->y() + 30);
    Click(3);
    ASSERT_EQ(main.keyboard.size(), 1u);
    EXPECT_EQ(main.keyboard[0].callerMode, 0);
    EXPECT_EQ(main.keyboard[0].text, "大売出し\r\n\r\n本日");
    EXPECT_TRUE(main.keyboard[0].decoratedHint);
    EXPECT_EQ(Record(1)->Left, 12) << "the position is saved first";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull() || !form->isVisible());
    EXPECT_FALSE(App().ObjectListOpen);
    EXPECT_EQ(main.notes, std::vector<bool>{true});
    EXPECT_EQ(App().SelectedObject, 1) << "the selection survives the hand-over";

    // A plain text that happens to read like a shape marker is still a text.
    form = new TForm16;
    Add(5);
    r = *Record(2);
    r.Text = "vrnSHAPE3";
    WriteObject(main.folder(), 2, r);
    Click(3);
    ASSERT_EQ(main.keyboard.size(), 2u);
    EXPECT_FALSE(main.keyboard[1].decoratedHint);
}

TEST_F(ObjectListTest, ReturningSavesEveryPositionAndEnablesThePage) {
    Add(5);
    Add(6);
    ObjectImages()[0]->image()->move(main.page->x() + 33, main.page->y() + 44);
    ObjectImages()[1]->image()->move(main.page->x() + 55, main.page->y() + 66);
    Click(8);
    EXPECT_EQ((Point{Record(0)->Left, Record(0)->Top}), (Point{33, 44}));
    EXPECT_EQ(Record(1)->Left, 55);
    EXPECT_FALSE(Framed(1));
    EXPECT_EQ(App().SelectedObject, kNoObject);
    EXPECT_TRUE(main.page->isEnabled());
    EXPECT_TRUE(main.floating->isEnabled());
    EXPECT_FALSE(App().ObjectListOpen);
    EXPECT_EQ(main.notes, std::vector<bool>{true});
}

}  // namespace
}  // namespace pb
