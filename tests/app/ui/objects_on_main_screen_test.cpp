// Overlay objects on the real main screen: the object list opened from "WordArt風MetaFile使用",
// selecting and dragging object images, zoom, the keyboard's text update, and the picture note
// of the decorated design screen with the picture folder read at start-up.
#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "objects/strdata.h"
#include "objects/ui/decorated_design_screen.h"
#include "objects/ui/object_images.h"
#include "objects/ui/object_list_screen.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"
#include "textentry/ui/string_grid.h"

namespace pb {
namespace {

class ObjectsOnMainScreen : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        ASSERT_TRUE(
            SaveBmp(Bitmap(120, 60, RGB(0, 128, 0)), JoinPath(pictures.path(), "green.bmp")));
        ASSERT_TRUE(WriteWholeFile(dir.file("PixDir.txt"), pictures.path()));
        Start();
    }
    TForm16* List() { return Window<TForm16>("Form16"); }
    // The object list, with a new object of kind 5 (plain text), 6 (decorated) or 7 (shape).
    TForm16* OpenList(std::initializer_list<int> kinds = {}) {
        Click(form->Btn[16]);
        TForm16* list = List();
        EXPECT_NE(list, nullptr);
        if (list)
            for (int kind : kinds) Click(list->Btn[static_cast<std::size_t>(kind)]);
        return list;
    }
    static ImageControl* Image(int slot) { return ObjectImages()[slot]->image(); }
    static bool Framed(int slot) { return ObjectImages()[slot]->bitmap().pixel(0, 0) == clSilver; }
    std::optional<ObjectRecord> Record(int slot) const {
        return ReadObject(App().ObjectFolder, slot);
    }

    test::TempDir pictures;
};

TEST_F(ObjectsOnMainScreen, ObjectsAreDraggedAndTouchedInObjectModeZoomOnlyStretches) {
    TForm16* list = OpenList({6, 7});  // a decorated text under a 100 x 100 shape, top-left
    ASSERT_EQ(App().SelectedObject, 1);
    ImageControl* shape = Image(1);
    const QRect page = form->Image1->geometry();
    const int top = shape->y() - page.y();  // the second object starts a little lower
    // The shape's centre follows the pointer, but it stops at the page's right edge.
    QTest::mousePress(shape, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(shape, QPoint(50 + 120, 50 + 70));
    EXPECT_EQ(shape->pos(), QPoint(page.x() + 120, page.y() + top + 70));
    QTest::mouseMove(shape, QPoint(1000, 80));
    EXPECT_EQ(shape->x(), page.x() + page.width() - shape->width());
    QTest::mouseRelease(shape, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(Image(0), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(Framed(0));
    EXPECT_FALSE(Framed(1));
    Click(list->Btn[8]);
    EXPECT_EQ(Record(1)->Left, page.width() - 100);
    EXPECT_EQ(Record(1)->Top, top + 70 + 80 - 50);
    ASSERT_EQ(App().SelectedObject, kNoObject);
    QTest::mouseClick(shape, Qt::LeftButton, {}, QPoint(10, 10));  // not in object mode
    EXPECT_EQ(App().SelectedObject, kNoObject);
    EXPECT_FALSE(Framed(1));
    // Zooming stretches without rendering again, and positions do not drift.
    const Bitmap picture = ObjectImages()[1]->bitmap();
    for (int i = 0; i < 5; ++i) Click(form->Btn[2]);
    ASSERT_EQ(form->zoom(), 50);
    EXPECT_EQ(shape->size(), QSize(50, 50));
    EXPECT_EQ(ObjectImages()[1]->PositionOn(*form->Image1),
              (Point{(page.width() - 100) / 2, (top + 100) / 2}));
    EXPECT_EQ(ObjectImages()[1]->bitmap(), picture);
    EXPECT_TRUE(dialogs->shown.empty());
    // A new page takes them away.
    dialogs->answers = {IDNO};
    Click(form->Btn[20]);
    EXPECT_FALSE(AnyObject());
    EXPECT_FALSE(form->Label[10]->isVisible());
    EXPECT_FALSE(Files().FileExists(ObjectFilePath(App().ObjectFolder, 0)));
}

TEST_F(ObjectsOnMainScreen, TextChangeGoesThroughTheKeyboardAndFitsTheBox) {
    TForm16* list = OpenList({6});  // "あいうえお", 36 pt
    const Size box = ObjectImages()[0]->bitmapSize();
    Click(list->Btn[3]);
    EXPECT_EQ(List(), nullptr);
    TForm6* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->Label0->text(), "0");
    EXPECT_EQ(keyboard->Memo1->toPlainText(), "あいうえお");
    // Ten digits in place of five kana: the size shrinks until they fit the old box.
    Click(keyboard->Find<QPushButton>("Button130"));  // Clear
    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(keyboard->StringGrid4->viewport(), Qt::LeftButton, {},
                          keyboard->StringGrid4->CellRect(i, 0).center());
    ASSERT_EQ(keyboard->Memo1->toPlainText(), "1234567890");
    Click(keyboard->BtnDtStClose);
    const auto rec = Record(0);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->Text, "1234567890");
    EXPECT_LT(rec->FontSize, 36);
    EXPECT_GE(rec->FontSize, 3);
    EXPECT_LE(ObjectImages()[0]->bitmapSize().width, box.width);
    EXPECT_TRUE(Framed(0));
    EXPECT_NE(List(), nullptr) << "the object list is back";
    EXPECT_EQ(Window<TForm6>("Form6"), nullptr);
}

TEST_F(ObjectsOnMainScreen, APictureFillShowsTheNoteUnderThePageWhileTheDesignScreenIsOpen) {
    EXPECT_EQ(App().CurrentPictureFolder, pictures.path()) << "read from PixDir.txt at start-up";
    TForm16* list = OpenList({7});
    ASSERT_NE(list, nullptr);
    Click(list->Btn[4]);
    TForm9* design = Window<TForm9>("Form9");
    ASSERT_TRUE(design);
    EXPECT_EQ(design->geometry(), QRect(567, 0, 1280 - 567, 800));
    EXPECT_FALSE(List());
    Click(design->BtnB[4]);
    ASSERT_EQ(design->ListView1->count(), 1);
    design->ListView1Click(design->ListView1->item(0));
    ASSERT_TRUE(form->Memo1->isVisible());
    EXPECT_EQ(form->Memo1->pos(), QPoint(10, form->Image1->geometry().bottom() + 1 + 10));
    // The page area reaches down to the note.
    EXPECT_GE(form->ScrollBox1->widget()->height(), form->Memo1->geometry().bottom() + 1);
    form->Memo1->move(200, form->Memo1->y());  // dragged aside
    Click(design->BtnDtStClose);
    EXPECT_FALSE(form->Memo1->isVisible());
    EXPECT_EQ(form->Memo1->x(), 10);
    ASSERT_TRUE(List());
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(Framed(0));
    const auto rec = Record(0);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->FillStyle, 4);
    EXPECT_EQ(rec->ImageFile, JoinPath(pictures.path(), "green.bmp"));
}

// The second tap of a double tap on "確定" lands on the screen that "確定" opens under the
// finger (the keyboard's over the object list's "デザイン変更", the design screen's over its
// "文字列変更"); the screen that has just opened drops it.
TEST_F(ObjectsOnMainScreen, ADoubleTapOnConfirmDoesNotReachTheScreenBelow) {
    const test::DoubleClickInterval interval(300);
    QTest::qWait(350);  // the main screen has just opened
    TForm16* list = OpenList();
    ASSERT_NE(list, nullptr);
    QTest::qWait(350);
    Click(list->Btn[6]);
    Click(list->Btn[3]);  // 文字列変更
    TForm6* keyboard = Window<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    QTest::qWait(350);
    Click(keyboard->BtnDtStClose);
    list = List();
    ASSERT_NE(list, nullptr);
    Click(list->Btn[4]);  // the second tap: デザイン変更 under 確定
    EXPECT_EQ(Window<TForm9>("Form9"), nullptr);
    EXPECT_EQ(List(), list);

    QTest::qWait(350);
    Click(list->Btn[4]);  // a tap of its own opens the design screen
    TForm9* design = Window<TForm9>("Form9");
    ASSERT_NE(design, nullptr);
    QTest::qWait(350);
    Click(design->BtnDtStClose);
    list = List();
    ASSERT_NE(list, nullptr);
    Click(list->Btn[3]);  // the second tap: 文字列変更 under 確定
    EXPECT_EQ(Window<TForm6>("Form6"), nullptr);
    EXPECT_EQ(List(), list);
}

}  // namespace
}  // namespace pb
