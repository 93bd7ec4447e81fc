// The object design screens on the real main screen: opened by "デザイン変更", the picture
// folder read at start-up, the image-quality note under the page, and the way back to the
// object list with the selection kept.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>

#include "app/main_screen.h"
#include "common/app_state.h"
#include "common/object_image.h"
#include "common/picture_browsing.h"
#include "objects/decorated_design_screen.h"
#include "objects/object_list_screen.h"
#include "objects/plain_text_design_screen.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/metrics.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

template <typename T>
T* Window(const char* name) {
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == QLatin1String(name) && w->isWindow() && w->isVisible())
            return qobject_cast<T*>(w);
    return nullptr;
}

class DesignOnMainScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
        Bitmap picture(120, 60, RGB(0, 128, 0));
        ASSERT_TRUE(SaveBmp(picture, JoinPath(pictures.path(), "green.bmp")));
        ASSERT_TRUE(WriteWholeFile(dir.file("PixDir.txt"), pictures.path()));
        form = std::make_unique<TForm1>(dir.path());
        form->show();
    }
    void TearDown() override {
        form.reset();
        Settle();
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // The object list with a new object of kind 5 (plain text), 6 (decorated) or 7 (shape).
    TForm16* ListWithNew(int kind) {
        Click(form->Btn[16]);
        TForm16* list = Window<TForm16>("Form16");
        EXPECT_NE(list, nullptr);
        if (list) Click(list->Btn[static_cast<std::size_t>(kind)]);
        return list;
    }

    test::TempDir dir;
    test::TempDir pictures;
    test::ScriptedDialogScope dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(DesignOnMainScreen, ThePictureFolderIsReadAtStartUp) {
    EXPECT_EQ(App().CurrentPictureFolder, pictures.path());
}

TEST_F(DesignOnMainScreen, AShapeWithAPictureShowsTheNoteUnderThePage) {
    TForm16* list = ListWithNew(7);
    ASSERT_TRUE(list);
    Click(list->Btn[4]);
    Settle();
    TForm9* design = Window<TForm9>("Form9");
    ASSERT_TRUE(design);
    EXPECT_EQ(design->geometry(), QRect(567, 0, 1280 - 567, 800));
    EXPECT_FALSE(Window<TForm16>("Form16"));

    Click(design->BtnB[4]);
    ASSERT_EQ(design->ListView1->count(), 1);
    design->ListView1Click(design->ListView1->item(0));
    ASSERT_TRUE(form->Memo1->isVisible());
    EXPECT_EQ(form->Memo1->x(), 10);
    EXPECT_EQ(form->Memo1->y(), form->Image1->y() + form->Image1->height() + 10);
    // The page area reaches down to the note.
    EXPECT_GE(form->ScrollBox1->widget()->height(), form->Memo1->geometry().bottom() + 1);
    form->Memo1->move(200, form->Memo1->y());  // dragged aside

    Click(design->BtnDtStClose);
    Settle();
    EXPECT_FALSE(form->Memo1->isVisible());
    EXPECT_EQ(form->Memo1->x(), 10);
    TForm16* back = Window<TForm16>("Form16");
    ASSERT_TRUE(back);
    EXPECT_EQ(App().SelectedObject, 0);
    EXPECT_EQ(ObjectImages()[0]->bitmap().pixel(0, 0), clSilver);  // still framed
    const auto rec = ReadObject(App().ObjectFolder, 0);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->FillStyle, 4);
    EXPECT_EQ(rec->ImageFile, JoinPath(pictures.path(), "green.bmp"));
}

TEST_F(DesignOnMainScreen, APlainTextOpensItsOwnScreen) {
    TForm16* list = ListWithNew(5);
    ASSERT_TRUE(list);
    Click(list->Btn[4]);
    Settle();
    TForm8* design = Window<TForm8>("Form8");
    ASSERT_TRUE(design);
    EXPECT_FALSE(Window<TForm9>("Form9"));
    Click(design->BtnFormClose);
    Settle();
    EXPECT_TRUE(Window<TForm16>("Form16"));
    EXPECT_FALSE(form->Memo1->isVisible());
}

}  // namespace
}  // namespace pb
