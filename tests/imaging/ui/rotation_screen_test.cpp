// The rotation screen over a stand-in region editor, driven by clicks and slider drags: quarter
// turns and mirrors, angles, the two-colour split, and the way out by "OK" and "キャンセル".
#include "imaging/ui/rotation_screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <functional>
#include <vector>

#include "common/palette.h"
#include "imaging/ui/region_screens.h"
#include "imaging/ui/track_bar.h"
#include "platform/bitmap_ops.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

using test::FakeRegionHost;

void Click(Form& form, const char* name) {
    auto* w = form.Find<QWidget>(QString::fromUtf8(name));
    ASSERT_TRUE(w) << name;
    ASSERT_TRUE(w->isVisible()) << name;
    QTest::mouseClick(w, Qt::LeftButton);
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Drags the slider's thumb `dx` pixels and lets go.
void DragThumb(TYTrackBar& bar, int dx) {
    const int x = bar.thumbCentre();
    auto send = [&bar](QEvent::Type type, int at, Qt::MouseButtons buttons) {
        const QPointF local(at, 15);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, bar.mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    };
    send(QEvent::MouseButtonPress, x, Qt::LeftButton);
    send(QEvent::MouseMove, x + dx, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, x + dx, Qt::NoButton);
}

TForm4* Open(FakeRegionHost& host, bool twoColours) {
    return static_cast<TForm4*>(OpenRotation(host, twoColours));
}

TEST(RotationScreen, QuarterTurnsAndMirrorsKeepTheFrame) {
    const auto same = [](const Bitmap& b) { return b; };
    const auto leftRight = [](const Bitmap& b) {
        Bitmap m = b;
        MirrorBitmap(m, false);
        return m;
    };
    const struct {
        const char* what;
        Size size;
        std::vector<const char*> clicks;
        std::function<Bitmap(const Bitmap&)> expected;
    } cases[] = {
        {"four clockwise, square", {8, 8}, {"Button1", "Button1", "Button1", "Button1"}, same},
        {"four clockwise, wide", {12, 5}, {"Button1", "Button1", "Button1", "Button1"}, same},
        {"four anticlockwise, tall", {5, 12}, {"Button2", "Button2", "Button2", "Button2"}, same},
        {"half turn, square",
         {8, 8},
         {"Button1", "Button1"},
         [](const Bitmap& b) { return TurnBitmap(b, 180); }},
        {"mirrored twice", {12, 5}, {"Button3", "Button3"}, same},
        // The mirror stays through later turns.
        {"mirror, four turns", {12, 5}, {"Button3", "Button1", "Button1", "Button1", "Button1"},
         leftRight},
        {"turn, mirror, three turns",
         {12, 5},
         {"Button1", "Button4", "Button1", "Button1", "Button1"},
         leftRight},
    };
    for (const auto& c : cases) {
        const Bitmap opened = test::NoiseBitmap(c.size.width, c.size.height, 3);
        FakeRegionHost host(opened);
        QPointer<TForm4> form = Open(host, false);
        EXPECT_FALSE(form->BtnDtStClose->isVisible());
        for (const char* name : c.clicks) {
            Click(*form, name);
            EXPECT_EQ(host.RegionBitmap().size(), c.size) << c.what;
        }
        EXPECT_EQ(host.RegionBitmap(), c.expected(opened)) << c.what;
        EXPECT_EQ(host.Counter(), 1 + static_cast<int>(c.clicks.size())) << c.what;
        // "OK" keeps what was done.
        Click(*form, "BtnDtStClose");
        Settle();
        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(host.RegionBitmap(), c.expected(opened)) << c.what;
    }
}

TEST(RotationScreen, AnglesTurnTheRegionAsOpenedInsideItsFrame) {
    // Dark top rows on white: upside down after a half turn.
    Bitmap opened(40, 30, clWhite);
    for (int y = 0; y < 10; ++y) opened.fillSpan(y, 0, 40, clBlack);
    FakeRegionHost host(opened);
    TForm4* form = Open(host, false);
    Click(*form, "RadioButton2");
    EXPECT_FALSE(form->Button[1]->isVisible());
    EXPECT_TRUE(form->YTrackBar2->isVisible());
    EXPECT_EQ(host.Counter(), 2);

    // The whole bar's length is 360 degrees: half of it turns by 180 (41 x 31 squeezed back).
    DragThumb(*form->YTrackBar2, 116);
    EXPECT_EQ(form->LabelYTBVAL->text(), QStringLiteral("180"));
    const Bitmap& half = host.RegionBitmap();
    EXPECT_EQ(half.size(), opened.size());
    EXPECT_LT(GetRValue(half.pixel(20, 27)), 32);
    EXPECT_GT(GetRValue(half.pixel(20, 3)), 224);
    EXPECT_EQ(host.Counter(), 3);

    const struct {
        const char* button;
        const char* label;
        int position;
        bool asOpened;
    } steps[] = {
        {"BtnYTB2", "180", 360, false},  // at the end: stays
        {"BtnYTB1", "179", 359, false},
        {"BtnYTB0", "0", 180, true},
        {"BtnYTB1", "-1", 179, false},
        {"BtnYTB2", "0", 180, true},
    };
    for (const auto& s : steps) {
        Click(*form, s.button);
        EXPECT_EQ(form->LabelYTBVAL->text(), QString::fromUtf8(s.label)) << s.button;
        EXPECT_EQ(form->YTrackBar2->Position(), s.position) << s.button;
        EXPECT_EQ(host.RegionBitmap() == opened, s.asOpened) << s.label;
        EXPECT_EQ(host.RegionBitmap().size(), opened.size()) << s.label;
    }
    // "Reset" at 0 does nothing at all.
    const int counter = host.Counter();
    Click(*form, "BtnYTB0");
    EXPECT_EQ(host.Counter(), counter);

    // Back to the four buttons: the region as opened, with a snapshot to undo it.
    DragThumb(*form->YTrackBar2, -30);
    EXPECT_NE(host.RegionBitmap(), opened);
    Click(*form, "RadioButton1");
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_EQ(form->LabelYTBVAL->text(), QStringLiteral("0"));
    EXPECT_TRUE(form->Button[1]->isVisible());
    EXPECT_FALSE(form->YTrackBar2->isVisible());
    form->close();
}

TEST(RotationScreen, TwoColourSplitPutsColourAOnTheLargerPart) {
    const Bitmap opened = test::NoiseBitmap(30, 20, 5);
    FakeRegionHost host(opened);
    TForm4* form = Open(host, true);
    EXPECT_FALSE(form->Button[1]->isVisible());
    EXPECT_FALSE(form->YTrackBar2->isVisible());
    EXPECT_TRUE(form->YTrackBar1->isVisible());
    EXPECT_EQ(form->Label3->text(), QStringLiteral("50"));

    DragThumb(*form->YTrackBar1, 400);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("255"));
    EXPECT_EQ(test::CountPixels(host.RegionBitmap(), clWhite), 600);

    // A palette cell chooses the colour that a click on a sample then takes.
    const TColor chosen = PaletteColour(12);
    Click(*form, "Edit12");
    EXPECT_EQ(test::CountPixels(host.RegionBitmap(), clWhite), 600);
    Click(*form, "Label1");
    EXPECT_EQ(form->Label1->colour(), chosen);
    EXPECT_EQ(test::CountPixels(host.RegionBitmap(), chosen), 600);

    // At threshold 0 only the darkest pixels are near; the rest is the larger part, colour A.
    DragThumb(*form->YTrackBar1, -400);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("0"));
    const long a = test::CountPixels(host.RegionBitmap(), chosen);
    const long b = test::CountPixels(host.RegionBitmap(), clBlack);
    EXPECT_EQ(a + b, 600);
    EXPECT_GT(a, b);
    EXPECT_GT(b, 0);
    EXPECT_EQ(host.RegionBitmap().size(), opened.size());
    form->close();
}

TEST(RotationScreen, CancelRestoresTheRegionAndItsHistory) {
    const struct {
        const char* what;
        bool twoColours;
        std::function<void(TForm4&)> changes;
        std::function<void(TForm4&)> leave;
    } cases[] = {
        {"turns and mirrors", false,
         [](TForm4& f) {
             for (const char* b : {"Button1", "Button3", "Button1", "Button4"}) Click(f, b);
         },
         [](TForm4& f) { Click(f, "BtnFormClose"); }},
        {"angles", false,
         [](TForm4& f) {
             Click(f, "Button1");
             Click(f, "RadioButton2");
             Click(f, "BtnYTB2");
             DragThumb(*f.YTrackBar2, 40);
         },
         [](TForm4& f) { Click(f, "BtnFormClose"); }},
        {"split, closed by the window manager", true,
         [](TForm4& f) {
             DragThumb(*f.YTrackBar1, 20);
             Click(f, "Edit3");
             Click(f, "Label2");
         },
         [](TForm4& f) { f.close(); }},
    };
    for (const auto& c : cases) {
        const Bitmap opened = test::NoiseBitmap(24, 16, 9);
        FakeRegionHost host(opened);
        // Work done in the editor before the screen opened stays.
        ASSERT_TRUE(host.SnapshotRegion());
        const int start = host.Counter();
        QPointer<TForm4> form = Open(host, c.twoColours);
        c.changes(*form);
        EXPECT_NE(host.RegionBitmap(), opened) << c.what;
        EXPECT_GT(host.Counter(), start + 1) << c.what;
        c.leave(*form);
        Settle();
        EXPECT_TRUE(form.isNull()) << c.what;
        EXPECT_EQ(host.RegionBitmap(), opened) << c.what;
        EXPECT_EQ(host.Counter(), start) << c.what;
    }
}

TEST(RotationScreen, NothingChangesWhenTheSnapshotFails) {
    const Bitmap opened = test::NoiseBitmap(12, 5, 1);
    for (const bool twoColours : {false, true}) {
        FakeRegionHost host(opened);
        host.failSnapshots = true;
        TForm4* form = Open(host, twoColours);
        if (twoColours) {
            DragThumb(*form->YTrackBar1, 100);
            Click(*form, "Label1");
        } else {
            for (const char* b : {"Button1", "Button3", "RadioButton2"}) Click(*form, b);
            EXPECT_TRUE(form->Button[1]->isVisible());
        }
        EXPECT_EQ(host.RegionBitmap(), opened) << twoColours;
        EXPECT_FALSE(form->BtnDtStClose->isVisible()) << twoColours;
        form->close();
    }
}

}  // namespace
}  // namespace pb
