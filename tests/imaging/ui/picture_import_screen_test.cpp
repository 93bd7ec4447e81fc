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
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/platform_fixtures.h"
#include "support/ui/dialog_scope.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {
using namespace test;

const Size kRegion{300, 200};

class PictureImportTest : public ::testing::Test {
  protected:
    PictureImportTest() : host(NoiseBitmap(kRegion.width, kRegion.height, 7)) {
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
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    void Open() {
        form = static_cast<TForm3*>(OpenPictureImport(host));
        ASSERT_TRUE(form);
        QCoreApplication::processEvents();
    }
    static void Click(QWidget* w) {
        ASSERT_TRUE(w && w->isVisible());
        // A radio button takes clicks on its circle and caption only.
        const bool radio = qobject_cast<QRadioButton*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {},
                          radio ? QPoint(8, w->height() / 2) : w->rect().center());
    }
    // Touches the thumbnail of `name` in the list.
    void Pick(const char* name) {
        const auto items = form->ListView1->findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        QListWidget* list = form->ListView1;
        list->scrollToItem(items[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items[0]).center());
    }
    // Drags the placed image so that its top-left lands `offset` screen pixels from the
    // canvas's (its centre follows the pointer).
    void DragPlacedTo(QPoint offset) {
        ImageControl* placed = host.placed;
        const QPoint target = host.canvas->pos() + offset;
        const QPoint pointer =
            target - placed->pos() + QPoint(placed->width() / 2, placed->height() / 2);
        Send(placed, QEvent::MouseButtonPress, {1, 1});
        Send(placed, QEvent::MouseMove, pointer);
        Send(placed, QEvent::MouseButtonRelease, pointer);
    }
    static void Send(QWidget* w, QEvent::Type type, QPoint at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
    void SetZoom(int zoom) {
        host.zoom = zoom;
        host.RegionChanged();
    }
    Size PlacedOnScreen() const { return {host.placed->width(), host.placed->height()}; }

    ScriptedDialogScope dialogs;
    TempDir appDir, pictures;
    FakeRegionHost host;
    const Bitmap small = NoiseBitmap(100, 60, 3);
    QPointer<TForm3> form;
};

TEST_F(PictureImportTest, StripLeavesTheLabelHoleAndDisablesTheCanvasWhileOpen) {
    Open();
    EXPECT_EQ(form->geometry(), QRect(host.window.mapToGlobal(QPoint(0, 0)), QSize(792, 200)));
    const QRegion mask = form->mask();
    EXPECT_TRUE(mask.contains(QPoint(10, 10)));
    EXPECT_TRUE(mask.contains(QPoint(679, 120)));
    EXPECT_FALSE(mask.contains(QPoint(680, 110)));
    EXPECT_FALSE(mask.contains(QPoint(779, 151)));
    EXPECT_TRUE(mask.contains(QPoint(780, 152)));
    EXPECT_EQ(form->ListView1->count(), 2);
    EXPECT_FALSE(host.canvas->isEnabled());
    EXPECT_TRUE(host.placed->isHidden());
    Click(form->BtnFormClose);
    Settle();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(host.canvas->isEnabled());
}

TEST_F(PictureImportTest, EachModeFitsTheWholePictureAtTheZoomShown) {
    // 1000 x 500 into the 300 x 200 region, shown at zoom 50.
    const struct {
        int mode;
        Size placed;
        bool gap, halftoneShown, sizeButtonsShown;
    } cases[] = {
        {0, {300, 200}, false, false, false},
        {1, {300, 200}, false, true, false},
        {2, {300, 150}, true, true, false},
        {3, {300, 150}, true, true, true},
    };
    SetZoom(50);
    Open();
    Pick("wide.jpg");
    EXPECT_EQ(form->picture().size(), (Size{1000, 500}));
    for (const auto& c : cases) {
        DragPlacedTo({5, 5});
        Click(form->RadioButton[c.mode]);
        EXPECT_EQ(host.placed->picture().size(), c.placed) << c.mode;
        EXPECT_EQ(PlacedOnScreen(), (Size{c.placed.width / 2, c.placed.height / 2})) << c.mode;
        EXPECT_EQ(host.placed->pos(), host.canvas->pos()) << c.mode;
        EXPECT_EQ(form->LabelSUKIMA->isVisible(), c.gap) << c.mode;
        EXPECT_EQ(form->CheckBox1->isVisible(), c.halftoneShown) << c.mode;
        EXPECT_EQ(form->BtnS[1]->isVisible(), c.sizeButtonsShown) << c.mode;
    }
    EXPECT_EQ(host.Counter(), 1);  // nothing pasted yet
}

TEST_F(PictureImportTest, SizingByHandStopsAt19AndAtTheRoomLeftInTheRegion) {
    // Mode 3 starts at 300 x 150. The room is counted in bitmap pixels from where "OK" would
    // paste: at zoom 50 an on-screen offset of 20 is 40 pixels, at zoom 200 one of 60 is 30.
    const struct {
        int zoom;
        QPoint offset;  // on screen, after shrinking by `shrink` steps of "←"
        int shrink, button, presses;
        Size expected;
    } cases[] = {
        {100, {0, 0}, 0, 1, 100, {19, 150}},  {100, {0, 0}, 0, 3, 100, {300, 19}},
        {100, {0, 0}, 0, 4, 100, {300, 200}}, {100, {30, 0}, 10, 2, 10, {270, 150}},
        {50, {20, 0}, 10, 2, 10, {260, 150}}, {200, {60, 0}, 10, 2, 10, {270, 150}},
        {50, {0, 10}, 0, 4, 20, {300, 180}},
    };
    for (const auto& c : cases) {
        SetZoom(c.zoom);
        Open();
        Pick("wide.jpg");
        Click(form->RadioButton[3]);
        for (int i = 0; i < c.shrink; ++i) Click(form->BtnS[1]);
        if (c.offset != QPoint()) DragPlacedTo(c.offset);
        for (int i = 0; i < c.presses; ++i) Click(form->BtnS[c.button]);
        EXPECT_EQ(host.placed->picture().size(), c.expected) << c.zoom << " button " << c.button;
        EXPECT_EQ(PlacedOnScreen(),
                  (Size{c.expected.width * c.zoom / 100, c.expected.height * c.zoom / 100}));
        Click(form->BtnFormClose);
        Settle();
    }
}

TEST_F(PictureImportTest, OkPastesWhereThePlacedImageLiesInBitmapPixels) {
    const struct {
        int zoom;
        QPoint offset;  // on screen from the canvas's corner
        Point at;       // in RegionBitmap
    } cases[] = {
        {100, {30, 20}, {30, 20}},
        {50, {30, 21}, {60, 42}},
        {200, {31, 20}, {15, 10}},
        {100, {250, 190}, {200, 140}},  // dragged off the far corner: kept inside
    };
    for (const auto& c : cases) {
        host.RegionBitmap() = NoiseBitmap(kRegion.width, kRegion.height, 7);
        SetZoom(c.zoom);
        Open();
        Click(form->RadioButton[0]);  // unscaled, so the pixels can be compared exactly
        Pick("small.bmp");
        DragPlacedTo(c.offset);
        const int counter = host.Counter();
        Click(form->BtnDtStClose);
        Settle();
        EXPECT_TRUE(form.isNull()) << c.zoom;
        EXPECT_EQ(host.Counter(), counter + 1);
        Bitmap expected = NoiseBitmap(kRegion.width, kRegion.height, 7);
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x)
                expected.setPixel(c.at.x + x, c.at.y + y, small.pixel(x, y));
        EXPECT_EQ(CountDifferentPixels(host.RegionBitmap(), expected), 0) << c.zoom;
        EXPECT_TRUE(host.placed->isHidden());
        EXPECT_TRUE(host.canvas->isEnabled());
    }
}

TEST_F(PictureImportTest, AFailedSnapshotOrCancelLeavesTheRegionAsItWas) {
    const Bitmap before = host.RegionBitmap();
    const struct {
        bool failSnapshots;
        bool cancel;
        bool staysOpen;
    } cases[] = {
        {true, false, true},
        {false, true, false},
    };
    for (const auto& c : cases) {
        host.failSnapshots = c.failSnapshots;
        Open();
        Pick("small.bmp");
        DragPlacedTo({40, 40});
        Click(c.cancel ? form->BtnFormClose : form->BtnDtStClose);
        Settle();
        EXPECT_EQ(!form.isNull(), c.staysOpen);
        EXPECT_EQ(host.RegionBitmap(), before);
        EXPECT_EQ(host.Counter(), 1);
        EXPECT_EQ(host.placed->isHidden(), !c.staysOpen);
        if (form) Click(form->BtnFormClose);
        Settle();
    }
}

TEST_F(PictureImportTest, PicturesThatCannotBeUsedAreRefusedWithAMessage) {
    const std::string jpeg = EncodeJpeg(NoiseBitmap(200, 200, 5));
    const std::string bmp = EncodeBmp(small);
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty.jpg", "", "この画像は読めない(壊れているか、BMPでもJPEGでもない)"},
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 3), "この画像は壊れている(途中までしかない)"},
        {"header.jpg", jpeg.substr(0, 20), "この画像は読めない(壊れているか、BMPでもJPEGでもない)"},
        {"cut.bmp", bmp.substr(0, bmp.size() / 2),
         "この画像は読めない(壊れているか、BMPでもJPEGでもない)"},
        {"text.bmp", "not a picture", "この画像は読めない(壊れているか、BMPでもJPEGでもない)"},
    };
    for (const auto& c : cases) WriteFileBytes(pictures.file(c.name), c.bytes);
    Open();
    for (const auto& c : cases) {
        dialogs->shown.clear();
        Pick(c.name);
        ASSERT_EQ(dialogs->shown.size(), 1u) << c.name;
        EXPECT_EQ(dialogs->shown[0].text, c.message) << c.name;
        EXPECT_EQ(dialogs->shown[0].caption, "NG");
        EXPECT_TRUE(host.placed->isHidden()) << c.name;
    }
    // A picture deleted since the list was made gets the marker instead of a message.
    ASSERT_TRUE(Files().DeleteFile(pictures.file("small.bmp")));
    dialogs->shown.clear();
    const QIcon before = form->ListView1->findItems("small.bmp", Qt::MatchExactly)[0]->icon();
    Pick("small.bmp");
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_NE(form->ListView1->findItems("small.bmp", Qt::MatchExactly)[0]->icon().cacheKey(),
              before.cacheKey());
    // The screen still works.
    Pick("wide.jpg");
    EXPECT_EQ(host.placed->picture().size(), (Size{300, 150}));
    EXPECT_TRUE(host.placed->isVisible());
}

}  // namespace
}  // namespace pb
