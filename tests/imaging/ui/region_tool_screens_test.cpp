// The slider and the region editor's tool screens over a stand-in region editor, the page's
// margin fill on a page of its own, driven by clicks and drags: what each writes, its
// snapshots, and the ways out.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPointer>
#include <QSignalSpy>
#include <filesystem>
#include <vector>

#include "common/app_state.h"
#include "common/palette.h"
#include "driving.h"
#include "imaging/ui/colour_key_fill_screen.h"
#include "imaging/ui/colour_tone_screen.h"
#include "imaging/ui/margin_fill_screen.h"
#include "imaging/ui/picture_import_screen.h"
#include "imaging/ui/region_screens.h"
#include "imaging/ui/rotation_screen.h"
#include "imaging/ui/shape_stamp_screen.h"
#include "imaging/ui/stretch_screen.h"
#include "platform/bitmap_ops.h"
#include "platform/picture_io.h"
#include "support/platform_fixtures.h"
#include "support/ui/dialog_scope.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {
using namespace test;

constexpr TColor kRed = RGB(0xFF, 0, 0);      // Edit3
constexpr TColor kBlue = RGB(0, 0, 0xFF);     // Edit27
constexpr TColor kGrey = RGB(100, 100, 100);  // the key's brightness in another hue below
constexpr TColor kSameLuma = RGB(85, 109, 93);
constexpr TColor kInk = RGB(10, 200, 10);

// A grey background with a line of ink and a line of the grey's brightness in another hue.
Bitmap Region() {
    Bitmap bmp(48, 24, kGrey);
    for (int x = 4; x < 40; ++x) {
        bmp.setPixel(x, 6, kInk);
        bmp.setPixel(x, 15, kSameLuma);
    }
    return bmp;
}

// `opened` with every pixel of colour `from` painted `to`.
Bitmap Replaced(const Bitmap& opened, std::initializer_list<TColor> from, TColor to) {
    Bitmap out = opened;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            for (TColor c : from)
                if (opened.pixel(x, y) == c) out.setPixel(x, y, to);
    return out;
}

TEST(ColourKeyFillScreen, EveryFillStartsFromTheRegionAsOpenedAndCancelRollsBack) {
    FakeRegionHost host(Region());
    const Bitmap opened = host.RegionBitmap();
    const int start = host.Counter();
    QPointer<QWidget> form = OpenColourKeyFill(host);
    auto* f7 = static_cast<TForm7*>(form.data());
    // The editor's canvas shows through a hole.
    EXPECT_FALSE(form->mask().contains(QPoint(10, 300)));
    EXPECT_EQ(f7->keyColour(), kGrey);

    const struct {
        const char* control;
        Bitmap expected;
        int snapshots;
    } steps[] = {
        // SOLID at once from the palette, exact key.
        {"Edit3", Replaced(opened, {kGrey}, kRed), 1},
        // Again from the region as opened: the red of the first fill is not the key.
        {"Edit27", Replaced(opened, {kGrey}, kBlue), 2},
        // Similar mode resets the region without a snapshot.
        {"RadioButton2", opened, 2},
    };
    for (const auto& s : steps) {
        Click(form, s.control);
        EXPECT_EQ(host.RegionBitmap(), s.expected) << s.control;
        EXPECT_EQ(host.Counter(), start + s.snapshots) << s.control;
    }

    // Threshold 0 takes every hue of the key's brightness, the ink stays.
    f7->YTrackBar1->SetPosition(0);
    emit f7->YTrackBar1->OnMouseUp(Qt::LeftButton, 0, 0);
    EXPECT_EQ(host.RegionBitmap(), Replaced(opened, {kGrey, kSameLuma}, kBlue));

    // A touch on the ink in the preview makes it the key (160 x 80 shows 48 x 24: x 10/3).
    f7->Image1Click(20, 6 * 80 / 24 + 1);
    EXPECT_EQ(f7->keyColour(), kInk);
    EXPECT_EQ(host.RegionBitmap(), Replaced(opened, {kInk}, kBlue));

    Click(f7->BtnFormClose);
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_EQ(host.Counter(), start);
    EXPECT_TRUE(form.isNull() || !form->isVisible());
}

TEST(ColourKeyFillScreen, OutsideSolidNeitherAPaletteTapNorAFailedSnapshotFills) {
    for (const char* style : {"RadioButton4", "RadioButton5"}) {
        FakeRegionHost host(Region());
        const Bitmap opened = host.RegionBitmap();
        QPointer<QWidget> form = OpenColourKeyFill(host);
        Clicks(form, {"Edit3", style});  // SOLID red, then the style switch resets it
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        Click(form, "Edit27");  // the current colour; no fill outside SOLID
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        host.failSnapshots = true;  // a failed snapshot leaves the region alone
        Click(form, "Button48");
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        form->close();
    }
}

TEST(MarginFillScreen, OnlyWhiteIsPaintedAndCancelDeletesTheSnapshots) {
    Bitmap bmp(60, 40, clWhite);
    const TColor offWhite = RGB(255, 254, 255);
    for (int x = 0; x < 60; ++x) bmp.setPixel(x, 20, kInk);
    bmp.setPixel(3, 3, offWhite);
    // A page of its own: Image1 in a window, the page history in a temporary folder.
    TempDir dir;
    QWidget window;
    window.setGeometry(0, 0, 800, 553);
    auto* image = new ImageControl(&window);
    image->setPicture(bmp);
    EditSurface page(image->picture(), dir.file("TmpWorkA"));
    page.history().Reset();
    window.show();
    const int start = page.history().counter();
    QPointer<QWidget> form = OpenMarginFill({page, *image, new ImageControl(&window), 567});
    auto* f10 = static_cast<TForm10*>(form.data());
    EXPECT_FALSE(image->isEnabled());
    EXPECT_FALSE(form->mask().contains(QPoint(706 - 567 + 10, 80)));
    const struct {
        const char* control;
        int snapshots;        // taken since open
        bool painted;         // the white is painted (off-white and ink never are)
        const char* caption;  // Label3
    } steps[] = {
        {"Edit3", 1, true, ""},  // SOLID at once
        {"RadioButton2", 1, false, "STRIPE構成色選択"},
        {"Edit41", 2, true, "STRIPE構成色選択"},
        {"ColBtn01", 2, false, "STRIPE構成色選択"},  // no slot left: the page as opened
    };
    for (const auto& s : steps) {
        Click(form, s.control);
        const Bitmap& now = page.bitmap();
        EXPECT_EQ(page.history().counter(), start + s.snapshots) << s.control;
        EXPECT_EQ(CountPixels(now, clWhite), s.painted ? 0 : 60 * 39 - 1) << s.control;
        EXPECT_EQ(f10->Label3->text(), QString::fromUtf8(s.caption)) << s.control;
    }
    Click(f10->BtnFormClose);
    EXPECT_EQ(page.bitmap(), bmp);
    EXPECT_EQ(page.history().counter(), start);
    for (int n = start; n < start + 2; ++n)
        EXPECT_FALSE(std::filesystem::exists(SnapshotPath(page.history().folder(), n))) << n;
    EXPECT_TRUE(image->isEnabled());
}

TEST(TrackBar, APressBesideTheThumbMovesNothing) {
    TYTrackBar bar;
    bar.SetMax(255);
    bar.SetPosition(100);  // centre 63: the thumb covers 58..68
    // Where a press takes the thumb is the track's arithmetic; here the widget follows it.
    SendMouse(bar, QEvent::MouseButtonPress, 57);
    SendMouse(bar, QEvent::MouseMove, 97);
    EXPECT_EQ(bar.Position(), 100);
    SendMouse(bar, QEvent::MouseButtonRelease, 97);
    SendMouse(bar, QEvent::MouseButtonPress, 68);  // the thumb's edge takes the press
    EXPECT_TRUE(bar.dragging());
}

TForm4* Rotation(FakeRegionHost& host, bool twoColours) {
    return static_cast<TForm4*>(OpenRotation(host, twoColours));
}

TEST(RotationScreen, QuarterTurnsAndAMirrorEachTakeASnapshotAndOkKeepsThem) {
    const Bitmap opened = NoiseBitmap(12, 5, 3);
    FakeRegionHost host(opened);
    QPointer<TForm4> form = Rotation(host, false);
    Clicks(form, {"Button1", "Button4", "Button1", "Button1", "Button1"});
    Bitmap expected = opened;
    MirrorBitmap(expected, false);
    EXPECT_EQ(host.RegionBitmap(), expected);
    EXPECT_EQ(host.Counter(), 6);
    Click(form->BtnDtStClose);  // "OK" keeps it
    Settle();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(host.RegionBitmap(), expected);
}

TEST(RotationScreen, AnglesTurnTheRegionAsOpenedInsideItsFrame) {
    Bitmap opened(40, 30, clWhite);  // dark top rows: at the bottom after a half turn
    for (int y = 0; y < 10; ++y) opened.fillSpan(y, 0, 40, clBlack);
    FakeRegionHost host(opened);
    TForm4* form = Rotation(host, false);
    Click(form, "RadioButton2");
    // Half the bar's length is 180 degrees: 41 x 31 squeezed back into 40 x 30.
    DragThumb(*form->YTrackBar2, 116);
    EXPECT_EQ(form->LabelYTBVAL->text(), "180");
    EXPECT_LT(GetRValue(host.RegionBitmap().pixel(20, 27)), 32);
    const struct {
        const char* button;
        const char* label;
        int position;
    } steps[] = {{"BtnYTB2", "180", 360}, {"BtnYTB0", "0", 180}, {"BtnYTB1", "-1", 179}};
    for (const auto& s : steps) {
        Click(form, s.button);
        EXPECT_EQ(form->YTrackBar2->Position(), s.position) << s.label;
        EXPECT_EQ(host.RegionBitmap() == opened, s.position == 180) << s.label;
    }
    Click(form, "RadioButton1");  // back to the region as opened, with a snapshot
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_EQ(host.Counter(), 7);
    form->close();
}

TEST(RotationScreen, ThresholdTopGivesColourAAndCancelRestoresTheRegionAndItsCounter) {
    for (const bool split : {false, true}) {
        const Bitmap opened = NoiseBitmap(30, 20, 9);
        FakeRegionHost host(opened);
        ASSERT_TRUE(host.SnapshotRegion());  // earlier work in the editor stays
        QPointer<TForm4> form = Rotation(host, split);
        if (split) {
            DragThumb(*form->YTrackBar1, 400);
            EXPECT_EQ(form->Label3->text(), "255");
            EXPECT_EQ(CountPixels(host.RegionBitmap(), clWhite), 600);
            // A palette cell chooses the colour that a click on a sample then takes.
            Clicks(form, {"Edit12", "Label1"});
            EXPECT_EQ(CountPixels(host.RegionBitmap(), PaletteColour(12)), 600);
            form->close();  // by the window manager
        } else {
            Clicks(form, {"Button1", "Button3", "RadioButton2", "BtnYTB2", "BtnFormClose"});
        }
        Settle();
        EXPECT_TRUE(form.isNull()) << split;
        EXPECT_EQ(host.RegionBitmap(), opened) << split;
        EXPECT_EQ(host.Counter(), 2) << split;
    }
    // A failed snapshot stops every change.
    FakeRegionHost host(NoiseBitmap(12, 5, 1));
    host.failSnapshots = true;
    const Bitmap opened = host.RegionBitmap();
    TForm4* form = Rotation(host, false);
    Clicks(form, {"Button1", "Button3", "RadioButton2"});
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_TRUE(form->Button[1]->isVisible());
    form->close();
}

TForm5* Shape(FakeRegionHost& host) {
    return static_cast<TForm5*>(OpenShapeStamp(host));
}

// Opens the shape screen on `region` and confirms after `clicks`: one snapshot, the screen closed.
Bitmap Stamped(const Bitmap& region, const std::vector<QString>& clicks) {
    FakeRegionHost host(region);
    QPointer<TForm5> form = Shape(host);
    for (const QString& name : clicks) Click(form, name);
    Click(form, "Button1");
    Settle();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(host.Counter(), 2);
    return host.RegionBitmap();
}

TEST(ShapeStampScreen, ConfirmWritesTheStamp) {
    // The stamp itself is guarded by the core tests; here the buttons reach it.
    const Bitmap noise = NoiseBitmap(100, 100, 4);
    // An outline of width 3 in a palette colour.
    const Bitmap outlined = Stamped(noise, {"Edit5", "BtnPWUP", "BtnPWUP"});
    EXPECT_EQ(outlined.pixel(1, 50), PaletteColour(5));
    EXPECT_EQ(outlined.pixel(50, 50), noise.pixel(50, 50));
    // Insets -4 enlarge 1.8 times, centred: the square's 40..59 becomes 32..67.
    Bitmap square(100, 100, clWhite);
    for (int y = 40; y < 60; ++y) square.fillSpan(y, 40, 60, clBlack);
    const Bitmap out = Stamped(square, std::vector<QString>(5, "BtnKS00"));
    const auto dark = [&out](int x, int y) { return GetRValue(out.pixel(x, y)) < 64; };
    EXPECT_TRUE(dark(34, 50) && !dark(29, 50));
}

TEST(ShapeStampScreen, LeavingWithoutConfirmingChangesNothing) {
    const Bitmap region = NoiseBitmap(50, 40, 6);
    for (const bool snapshotFails : {false, true}) {
        FakeRegionHost host(region);
        host.failSnapshots = snapshotFails;
        QPointer<TForm5> form = Shape(host);
        Clicks(form, {"RadioButton03", "BtnX1P", snapshotFails ? "Button1" : "Button2"});
        Settle();
        EXPECT_EQ(form.isNull(), !snapshotFails);  // a failed snapshot keeps the screen open
        EXPECT_EQ(host.RegionBitmap(), region);
        EXPECT_EQ(host.Counter(), 1);
        if (form) form->close();
    }
}

// The offsets are the adjuster's arithmetic; here a bar reaches its own bytes and label.
TEST(ColourToneScreen, ABarMovesItsOwnBytesAndLabel) {
    FakeRegionHost host(Bitmap(40, 30, kGrey));
    auto* form = static_cast<TForm17*>(OpenColourTone(host));
    // The strip over the editor's top panel, as wide as the editor.
    EXPECT_EQ(form->geometry(), QRect(host.window.geometry().topLeft(), QSize(792, 200)));
    DragTo(*form->YTB[0], 75);
    EXPECT_EQ(form->Label[0]->text(), "50");
    EXPECT_EQ(host.RegionBitmap(), Bitmap(40, 30, RGB(100, 100, 227)));
    form->Release();
}

TEST(ColourToneScreen, OkKeepsOneSnapshotOfTheRegionAsOpenedTheOtherWaysGiveItBack) {
    const Bitmap opened = NoiseBitmap(31, 17, 5);
    enum Way { Ok, FailingOk, ResetAndOk, Cancel };
    const struct {
        std::vector<std::pair<int, int>> drags;  // bar, position
        Way way;
        bool keepsAdjusted;
        int snapshots;
    } cases[] = {
        {{{3, 80}, {3, 50}}, Ok, false, 0},  // back in the middle: nothing changed
        {{{3, 60}, {2, 10}, {0, 90}}, Ok, true, 1}, {{{1, 70}}, FailingOk, true, 0},
        {{{3, 20}, {1, 95}}, ResetAndOk, false, 0}, {{{3, 20}, {1, 95}}, Cancel, false, 0},
    };
    for (const auto& c : cases) {
        FakeRegionHost host(opened);
        QPointer<TForm17> form = static_cast<TForm17*>(OpenColourTone(host));
        for (auto [bar, position] : c.drags)
            DragTo(*form->YTB[static_cast<std::size_t>(bar)], position);
        const Bitmap adjusted = host.RegionBitmap();
        host.failSnapshots = c.way == FailingOk;
        if (c.way == ResetAndOk) Click(form->BtnReset);
        Click(c.way == Cancel ? form->BtnFormClose : form->BtnDtStClose);
        EXPECT_EQ(host.RegionBitmap(), c.keepsAdjusted ? adjusted : opened) << c.way;
        EXPECT_EQ(host.Counter(), 1 + c.snapshots) << c.way;
        EXPECT_TRUE(!c.snapshots || host.surface->history().Newest() == opened) << c.way;
        EXPECT_EQ(form && form->isVisible(), c.way == FailingOk) << c.way;
        if (form) form->Release();
    }
}

TEST(StretchScreen, StepsDrawAboutTheCentreFromTheRegionAsOpened) {
    const TColor red = RGB(200, 0, 0);
    FakeRegionHost host(Bitmap(100, 100, red));
    auto* form = static_cast<TForm12*>(OpenStretch(host));
    EXPECT_FALSE(form->mask().contains(QPoint(700, 100)));  // the editor's undo group

    Click(form->BtnZS0);
    EXPECT_EQ(host.Counter(), 2);
    EXPECT_EQ(host.surface->history().Newest(), Bitmap(100, 100, red));
    EXPECT_EQ(CountPixels(host.RegionBitmap(), red), 95 * 95);  // 95 %, white around

    Click(form->BtnZS1);  // back to 100 % from the region as opened
    // A snapshot that cannot be written: nothing is drawn.
    const int counter = host.Counter();
    host.failSnapshots = true;
    Click(form->BtnZS0);
    EXPECT_EQ(host.RegionBitmap(), Bitmap(100, 100, red));
    EXPECT_EQ(host.Counter(), counter);
    Click(form->BtnDtStClose);
    EXPECT_FALSE(form->isVisible());
}

TEST(StretchScreen, CancelAndTheWindowCloseRollBackToTheOpeningCounter) {
    const Bitmap opened = NoiseBitmap(50, 40, 3);
    for (const bool byWindow : {false, true}) {
        FakeRegionHost host(opened);
        ASSERT_TRUE(host.SnapshotRegion());  // an earlier change: the screen opens at counter 2
        QPointer<TForm12> form = static_cast<TForm12*>(OpenStretch(host));
        Clicks(form, {"BtnZS0", "BtnZS0", "BtnZS0", "BtnZS1"});
        if (byWindow)
            form->close();
        else
            Click(form->BtnFormClose);
        EXPECT_EQ(host.RegionBitmap(), opened) << byWindow;
        EXPECT_EQ(host.Counter(), 2);
        EXPECT_FALSE(std::filesystem::exists(SnapshotPath(host.surface->history().folder(), 2)));
        EXPECT_FALSE(form && form->isVisible());
    }
}

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
    void Open(int zoom) {
        host.zoom = zoom;
        host.RegionChanged();
        form = static_cast<TForm3*>(OpenPictureImport(host));
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

TEST_F(PictureImportTest, SizingByHandCountsTheRoomFromWhereOkWouldPaste) {
    // 1000 x 500 into the 300 x 200 region (the fitting itself has its own tests). In mode 3
    // the room is counted in bitmap pixels: an on-screen offset of 20 at zoom 50 is 40 pixels.
    Open(50);
    Pick("wide.jpg");
    Click(form->RadioButton[3]);
    for (int i = 0; i < 10; ++i) Click(form->BtnS[1]);
    DragPlacedTo({20, 0});
    for (int i = 0; i < 10; ++i) Click(form->BtnS[2]);
    EXPECT_EQ(host.placed->picture().size(), (Size{260, 150}));
    EXPECT_EQ(host.placed->size(), QSize(130, 75));
    EXPECT_TRUE(form->LabelSUKIMA->isVisible());
}

TEST_F(PictureImportTest, OkPastesWhereThePlacedImageLiesAndOnlyAfterASnapshot) {
    const Bitmap before = host.RegionBitmap();
    const struct {
        int zoom;
        QPoint offset;  // on screen from the canvas's corner
        Point at;       // in RegionBitmap
        bool failSnapshot = false, cancel = false;
    } cases[] = {
        {50, {30, 21}, {60, 42}},
        {200, {31, 20}, {15, 10}},
        {50, {30, 20}, {}, true, false},  // the screen stays open, nothing pasted
        {50, {30, 20}, {}, false, true},
    };
    for (const auto& c : cases) {
        host.RegionBitmap() = before;
        host.failSnapshots = c.failSnapshot;
        Open(c.zoom);
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
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 3), "この画像は壊れている(途中までしかない)"},
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
