// Overlay objects on the main screen: the object list opened from "WordArt風MetaFile使用",
// selecting and dragging object images, zoom, and the keyboard's text update.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>

#include "app/main_screen.h"
#include "common/app_state.h"
#include "common/object_image.h"
#include "objects/object_list_screen.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/metrics.h"
#include "support/test_support.h"
#include "textentry/keyboard_screen.h"
#include "textentry/string_grid.h"

namespace pb {
namespace {

template <typename T>
T* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible()) return qobject_cast<T*>(w);
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == QLatin1String(name) && w->isWindow() && w->isVisible())
            return qobject_cast<T*>(w);
    return nullptr;
}

class ObjectsOnMainScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
        form = std::make_unique<TForm1>(dir.path());
        form->show();
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
    TForm16* List() { return TopLevel<TForm16>("Form16"); }
    TForm16* OpenList() {
        Click(form->Btn[16]);
        TForm16* list = List();
        EXPECT_NE(list, nullptr);
        return list;
    }
    ImageControl* Image(int slot) {
        TCImg* img = ObjectImages()[slot];
        return img ? img->image() : nullptr;
    }
    static bool Framed(int slot) {
        const TCImg* img = ObjectImages()[slot];
        return img && img->bitmap().pixel(0, 0) == clSilver;
    }
    std::optional<ObjectRecord> Record(int slot) const {
        return ReadObject(App().ObjectFolder, slot);
    }
    void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(ObjectsOnMainScreen, TheObjectListOpensBesideThePageAndLeavesNotesBehind) {
    EXPECT_TRUE(form->Btn[16]->isEnabled());
    EXPECT_FALSE(form->Label[10]->isVisible());
    TForm16* list = OpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->geometry().left(), form->ScrollBox1->width());
    EXPECT_FALSE(form->Image1->isEnabled());
    EXPECT_TRUE(App().ObjectListOpen);
    // Opening it again does not make a second one.
    form->OpenObjectList();
    int lists = 0;
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == "Form16" && w->isVisible()) ++lists;
    EXPECT_EQ(lists, 1);

    Click(list->Btn[6]);
    Click(list->Btn[8]);
    Settle();
    EXPECT_EQ(List(), nullptr);
    EXPECT_TRUE(form->Image1->isEnabled());
    EXPECT_TRUE(form->Label[10]->isVisible());
    EXPECT_TRUE(form->Label[11]->isVisible());

    // With the last object deleted the notes go when the list closes.
    list = OpenList();
    App().SelectedObject = 0;
    Click(list->Btn[1]);
    Click(list->Btn[8]);
    EXPECT_FALSE(form->Label[10]->isVisible());
}

TEST_F(ObjectsOnMainScreen, TouchingAnObjectSelectsItOnlyInObjectMode) {
    TForm16* list = OpenList();
    Click(list->Btn[6]);
    Click(list->Btn[7]);
    ASSERT_EQ(App().SelectedObject, 1);
    // The decorated text lies under the shape at the top-left; its right part is free.
    Image(1)->move(form->Image1->x() + 200, form->Image1->y() + 300);
    QTest::mouseClick(Image(0), Qt::LeftButton, {}, QPoint(Image(0)->width() - 5, 10));
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(Framed(0));
    EXPECT_FALSE(Framed(1));
    QTest::mouseClick(Image(0), Qt::LeftButton, {}, QPoint(Image(0)->width() - 5, 10));
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_TRUE(Framed(0));

    Click(list->Btn[8]);
    ASSERT_EQ(App().SelectedObject, kNoObject);
    QTest::mouseClick(Image(1), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(App().SelectedObject, kNoObject);
    EXPECT_FALSE(Framed(1));
}

TEST_F(ObjectsOnMainScreen, DraggingKeepsObjectsOnThePageAndZoomOnlyStretches) {
    TForm16* list = OpenList();
    Click(list->Btn[7]);  // a 100 x 100 shape
    ImageControl* img = Image(0);
    const QRect page = form->Image1->geometry();
    // Its centre follows the pointer, but it stops at the page's right edge.
    QTest::mousePress(img, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(img, QPoint(50 + 120, 50 + 70));
    EXPECT_EQ(img->pos(), QPoint(page.x() + 120, page.y() + 70));
    QTest::mouseMove(img, QPoint(1000, 80));
    EXPECT_EQ(img->x(), page.x() + page.width() - img->width());
    QTest::mouseRelease(img, Qt::LeftButton, {}, QPoint(50, 50));
    Click(list->Btn[8]);
    EXPECT_EQ(Record(0)->Left, page.width() - 100);
    EXPECT_EQ(Record(0)->Top, 70 + 80 - 50);

    // Dragging does not need object mode, and zooming stretches without rendering again.
    const Bitmap picture = ObjectImages()[0]->bitmap();
    Click(form->Btn[2]);  // zoom out: 90
    for (int i = 0; i < 4; ++i) Click(form->Btn[2]);
    ASSERT_EQ(form->zoom(), 50);
    EXPECT_EQ(img->size(), QSize(50, 50));
    EXPECT_EQ(ObjectImages()[0]->PositionOn(*form->Image1),
              (Point{(page.width() - 100) / 2, 100 / 2}));
    EXPECT_EQ(ObjectImages()[0]->bitmap(), picture);
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ObjectsOnMainScreen, TextChangeGoesThroughTheKeyboardAndFitsTheBox) {
    TForm16* list = OpenList();
    Click(list->Btn[6]);  // "あいうえお", 36 pt
    const Size box = ObjectImages()[0]->bitmapSize();
    Click(list->Btn[3]);
    Settle();
    EXPECT_EQ(List(), nullptr);
    TForm6* keyboard = TopLevel<TForm6>("Form6");
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->Label0->text(), "0");
    EXPECT_EQ(keyboard->Memo1->toPlainText(), "あいうえお");
    EXPECT_TRUE(keyboard->Label4->isVisible());

    // Ten digits in place of five kana: the size shrinks until they fit the old box.
    Click(keyboard->Find<QPushButton>("Button130"));  // Clear
    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(keyboard->StringGrid4->viewport(), Qt::LeftButton, {},
                          keyboard->StringGrid4->CellRect(i % 10, 0).center());
    ASSERT_EQ(keyboard->Memo1->toPlainText(), "1234567890");
    Click(keyboard->BtnDtStClose);
    Settle();
    const auto rec = Record(0);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->Text, "1234567890");
    EXPECT_LT(rec->FontSize, 36);
    EXPECT_GE(rec->FontSize, 3);
    EXPECT_LE(ObjectImages()[0]->bitmapSize().width, box.width);
    EXPECT_TRUE(Framed(0));
    EXPECT_NE(List(), nullptr) << "the object list is back";
    EXPECT_EQ(TopLevel<TForm6>("Form6"), nullptr);
}

TEST_F(ObjectsOnMainScreen, TextUpdateLeavesEmptyRecordsAlone) {
    TForm16* list = OpenList();
    Click(list->Btn[5]);
    // A short text keeps the record's size.
    EXPECT_TRUE(form->ApplyObjectText("ab"));
    EXPECT_EQ(Record(0)->FontSize, 10);
    EXPECT_EQ(Record(0)->Text, "ab");
    // The record is gone: nothing is written.
    Files().DeleteFile(ObjectFilePath(App().ObjectFolder, 0));
    EXPECT_FALSE(form->ApplyObjectText("cd"));
    EXPECT_FALSE(Files().FileExists(ObjectFilePath(App().ObjectFolder, 0)));
    App().SelectedObject = kNoObject;
    EXPECT_FALSE(form->ApplyObjectText("cd"));
}

TEST_F(ObjectsOnMainScreen, ANewPageTakesTheObjectsAway) {
    TForm16* list = OpenList();
    Click(list->Btn[5]);
    Click(list->Btn[8]);
    dialogs->answers.push_back(IDNO);
    Click(form->Btn[20]);
    EXPECT_FALSE(AnyObject());
    EXPECT_FALSE(form->Label[10]->isVisible());
    EXPECT_FALSE(Files().FileExists(ObjectFilePath(App().ObjectFolder, 0)));
}

}  // namespace
}  // namespace pb
