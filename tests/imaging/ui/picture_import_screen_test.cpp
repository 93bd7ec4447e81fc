// The picture import screen over a stand-in region editor: loading and fitting per mode, the
// sizing by hand and its limit at every zoom, the paste at the zoom shown, the ways out, and
// pictures that cannot be used.
#include "imaging/ui/picture_import_screen.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include "common/app_state.h"
#include "imaging/ui/region_screens.h"
#include "platform/picture_io.h"
#include "support/platform_fixtures.h"
#include "support/ui/dialog_scope.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {
using namespace test;

class PictureImportTest : public ::testing::Test {
  protected:
    PictureImportTest() : host(NoiseBitmap(300, 200, 7)) {
        App() = AppState{};
        SetAppDir(App(), appDir.path());
        App().CurrentPictureFolder = pictures.path();
        WriteFileBytes(pictures.file("wide.jpg"), EncodeJpeg(NoiseBitmap(1000, 500, 1)));
        EXPECT_TRUE(SaveBmp(small, pictures.file("small.bmp")));
    }
    ~PictureImportTest() override {
        if (form) form->close();
        Settle();
    }
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void Open(int zoom) {
        host.zoom = zoom;
        host.RegionChanged();
        form = static_cast<TForm3*>(OpenPictureImport(host));
    }
    static void Click(QWidget* w) {
        // A radio button takes clicks on its circle and caption only.
        const bool radio = qobject_cast<QRadioButton*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, radio ? QPoint(8, 12) : w->rect().center());
    }
    // Touches the thumbnail of `name`.
    void Pick(const char* name) {
        QListWidget* list = form->ListView1;
        const auto items = list->findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items[0]).center());
    }
    // Drags the placed image (its centre follows the pointer) to `offset` from the canvas.
    void DragPlacedTo(QPoint offset) {
        ImageControl* placed = host.placed;
        const QPoint to = host.canvas->pos() + offset - placed->pos() +
                          QPoint(placed->width() / 2, placed->height() / 2);
        for (const auto type :
             {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(to), placed->mapToGlobal(QPointF(to)), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(placed, &event);
        }
    }

    ScriptedDialogScope dialogs;
    TempDir appDir, pictures;
    FakeRegionHost host;
    const Bitmap small = NoiseBitmap(100, 60, 3);
    QPointer<TForm3> form;
};

TEST_F(PictureImportTest, FitsThePictureAndSizesByHandWithinTheRoomAtEveryZoom) {
    // 1000 x 500 into the 300 x 200 region. In mode 3 the room is counted in bitmap pixels from
    // where "OK" would paste: an on-screen offset of 20 at zoom 50 is 40 pixels, 60 at 200 is 30.
    const struct {
        int zoom, mode;
        QPoint offset;  // on screen, after `shrink` presses of "←"
        int shrink, button, presses;
        Size expected;
        bool gap;
    } cases[] = {
        {50, 2, {}, 0, 0, 0, {300, 150}, true},
        {50, 1, {}, 0, 0, 0, {300, 200}, false},
        {100, 3, {}, 0, 1, 80, {19, 150}, true},
        {100, 3, {}, 0, 3, 80, {300, 19}, true},
        {100, 3, {30, 0}, 10, 2, 10, {270, 150}, true},
        {50, 3, {20, 0}, 10, 2, 10, {260, 150}, true},
        {200, 3, {60, 0}, 10, 2, 10, {270, 150}, true},
        {50, 3, {0, 10}, 0, 4, 20, {300, 180}, true},
    };
    for (const auto& c : cases) {
        Open(c.zoom);
        Pick("wide.jpg");
        Click(form->RadioButton[c.mode]);
        EXPECT_EQ(form->BtnS[1]->isVisible(), c.mode == 3);
        for (int i = 0; i < c.shrink; ++i) Click(form->BtnS[1]);
        if (c.offset != QPoint()) DragPlacedTo(c.offset);
        for (int i = 0; i < c.presses; ++i) Click(form->BtnS[c.button]);
        EXPECT_EQ(host.placed->picture().size(), c.expected) << c.zoom << " mode " << c.mode;
        EXPECT_EQ(host.placed->size(),
                  QSize(c.expected.width * c.zoom / 100, c.expected.height * c.zoom / 100));
        EXPECT_EQ(form->LabelSUKIMA->isVisible(), c.gap);
        Click(form->BtnFormClose);
        Settle();
    }
    EXPECT_EQ(host.Counter(), 1);
    // Back to the fitted size from a picture sized by hand and dragged right: kept in the canvas.
    Open(100);
    Pick("wide.jpg");
    Click(form->RadioButton[3]);
    for (int i = 0; i < 10; ++i) Click(form->BtnS[1]);
    DragPlacedTo({40, 30});
    Click(form->CheckBox1);
    EXPECT_EQ(host.placed->geometry(), QRect(host.canvas->pos() + QPoint(0, 30), QSize(300, 150)));
}

TEST_F(PictureImportTest, OkPastesWhereThePlacedImageLiesAndOnlyAfterASnapshot) {
    const Bitmap before = host.RegionBitmap();
    const struct {
        int zoom;
        QPoint offset;  // on screen from the canvas's corner
        Point at;       // in RegionBitmap
        bool failSnapshot = false, cancel = false;
    } cases[] = {
        {100, {30, 20}, {30, 20}},       {50, {30, 21}, {60, 42}},
        {200, {31, 20}, {15, 10}},       {100, {250, 190}, {200, 140}},  // dragged off the corner
        {50, {30, 20}, {}, true, false},  // the screen stays open, nothing pasted
        {50, {30, 20}, {}, false, true},
    };
    for (const auto& c : cases) {
        host.RegionBitmap() = before;
        host.failSnapshots = c.failSnapshot;
        Open(c.zoom);
        EXPECT_FALSE(host.canvas->isEnabled());
        EXPECT_FALSE(form->mask().contains(QPoint(700, 120)));  // the editor's size labels show
        Click(form->RadioButton[0]);  // unscaled, so the pixels can be compared exactly
        Pick("small.bmp");
        DragPlacedTo(c.offset);
        const int counter = host.Counter();
        Click(c.cancel ? form->BtnFormClose : form->BtnDtStClose);
        Settle();
        const bool pasted = !c.failSnapshot && !c.cancel;
        EXPECT_EQ(form.isNull(), !c.failSnapshot) << c.zoom;
        EXPECT_EQ(host.Counter(), counter + (pasted ? 1 : 0));
        Bitmap expected = before;
        for (int y = 0; pasted && y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x)
                expected.setPixel(c.at.x + x, c.at.y + y, small.pixel(x, y));
        EXPECT_EQ(CountDifferentPixels(host.RegionBitmap(), expected), 0) << c.zoom;
        EXPECT_EQ(host.placed->isHidden(), !c.failSnapshot);
        EXPECT_EQ(host.canvas->isEnabled(), !c.failSnapshot);
        if (form) Click(form->BtnFormClose);
        Settle();
    }
}

TEST_F(PictureImportTest, PicturesThatCannotBeUsedAreRefusedWithAMessage) {
    const std::string unreadable = "この画像は読めない(壊れているか、BMPでもJPEGでもない)";
    const std::string jpeg = EncodeJpeg(NoiseBitmap(200, 200, 5));
    const struct {
        const char* name;
        std::string bytes, message;
    } cases[] = {
        {"empty.jpg", "", unreadable},
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 3), "この画像は壊れている(途中までしかない)"},
        {"cut.bmp", EncodeBmp(small).substr(0, 500), unreadable},
        {"text.bmp", "not a picture", unreadable},
    };
    for (const auto& c : cases) WriteFileBytes(pictures.file(c.name), c.bytes);
    Open(100);
    for (const auto& c : cases) {
        dialogs->shown.clear();
        Pick(c.name);
        ASSERT_EQ(dialogs->shown.size(), 1u) << c.name;
        EXPECT_EQ(dialogs->shown[0].text + dialogs->shown[0].caption, c.message + "NG");
        EXPECT_TRUE(host.placed->isHidden()) << c.name;
    }
    Pick("wide.jpg");  // the screen still works
    EXPECT_TRUE(host.placed->isVisible());
}

}  // namespace
}  // namespace pb
