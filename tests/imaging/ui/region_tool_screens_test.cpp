// The rotation and shape screens over a stand-in region editor, driven by clicks and slider
// drags: what each writes into the region, its snapshots, and the ways out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <functional>
#include <vector>

#include "common/palette.h"
#include "imaging/ui/region_screens.h"
#include "imaging/ui/rotation_screen.h"
#include "imaging/ui/shape_stamp_screen.h"
#include "imaging/ui/track_bar.h"
#include "platform/bitmap_ops.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

using test::FakeRegionHost;
using test::NoiseBitmap;

void Click(Form& form, const QString& name) {
    auto* w = form.Find<QWidget>(name);
    ASSERT_TRUE(w && w->isVisible()) << name.toStdString();
    // A radio button takes the click on its circle or its caption.
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {}, radio ? QPoint(8, w->height() / 2) : QPoint());
}
void Clicks(Form& form, const std::vector<QString>& names) {
    for (const QString& name : names) Click(form, name);
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

TForm4* Rotation(FakeRegionHost& host, bool twoColours) {
    return static_cast<TForm4*>(OpenRotation(host, twoColours));
}

Bitmap MirroredLeftRight(Bitmap b) {
    MirrorBitmap(b, false);
    return b;
}

TEST(RotationScreen, QuarterTurnsAndMirrorsKeepTheFrame) {
    const std::vector<QString> fourTurns(4, "Button1");
    const struct {
        const char* what;
        Size size;
        std::vector<QString> clicks;
        bool mirrored;  // else the region as opened
    } cases[] = {
        {"square", {8, 8}, fourTurns, false},
        {"wide", {12, 5}, fourTurns, false},
        {"tall, anticlockwise", {5, 12}, std::vector<QString>(4, "Button2"), false},
        // A mirror stays through the turns that follow it.
        {"mirror, four turns",
         {12, 5},
         {"Button3", "Button1", "Button1", "Button1", "Button1"},
         true},
        {"turn, mirror, three turns",
         {12, 5},
         {"Button1", "Button4", "Button1", "Button1", "Button1"},
         true},
    };
    for (const auto& c : cases) {
        const Bitmap opened = NoiseBitmap(c.size.width, c.size.height, 3);
        FakeRegionHost host(opened);
        QPointer<TForm4> form = Rotation(host, false);
        EXPECT_FALSE(form->BtnDtStClose->isVisible());
        Click(*form, c.clicks.front());
        EXPECT_EQ(host.RegionBitmap().size(), c.size) << c.what;
        EXPECT_NE(host.RegionBitmap(), opened) << c.what;
        for (std::size_t i = 1; i < c.clicks.size(); ++i) Click(*form, c.clicks[i]);
        const Bitmap expected = c.mirrored ? MirroredLeftRight(opened) : opened;
        EXPECT_EQ(host.RegionBitmap(), expected) << c.what;
        EXPECT_EQ(host.Counter(), 1 + static_cast<int>(c.clicks.size())) << c.what;
        Click(*form, "BtnDtStClose");  // "OK" keeps it
        Settle();
        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(host.RegionBitmap(), expected) << c.what;
    }
}

TEST(RotationScreen, AnglesTurnTheRegionAsOpenedInsideItsFrame) {
    Bitmap opened(40, 30, clWhite);  // dark top rows: at the bottom after a half turn
    for (int y = 0; y < 10; ++y) opened.fillSpan(y, 0, 40, clBlack);
    FakeRegionHost host(opened);
    TForm4* form = Rotation(host, false);
    Click(*form, "RadioButton2");
    EXPECT_FALSE(form->Button[1]->isVisible());
    // Half the bar's length is 180 degrees: 41 x 31 squeezed back into 40 x 30.
    DragThumb(*form->YTrackBar2, 116);
    EXPECT_EQ(form->LabelYTBVAL->text(), "180");
    EXPECT_EQ(host.RegionBitmap().size(), opened.size());
    EXPECT_LT(GetRValue(host.RegionBitmap().pixel(20, 27)), 32);
    EXPECT_GT(GetRValue(host.RegionBitmap().pixel(20, 3)), 224);
    const struct {
        const char* button;
        const char* label;
        int position;
    } steps[] = {{"BtnYTB2", "180", 360},
                 {"BtnYTB1", "179", 359},
                 {"BtnYTB0", "0", 180},
                 {"BtnYTB1", "-1", 179}};
    for (const auto& s : steps) {
        Click(*form, s.button);
        EXPECT_EQ(form->LabelYTBVAL->text(), s.label);
        EXPECT_EQ(form->YTrackBar2->Position(), s.position) << s.label;
        EXPECT_EQ(host.RegionBitmap() == opened, s.position == 180) << s.label;
    }
    EXPECT_EQ(host.Counter(), 7);
    Click(*form, "RadioButton1");  // back to the region as opened, with a snapshot
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_EQ(host.Counter(), 8);
    EXPECT_TRUE(form->Button[1]->isVisible());
    form->close();
}

TEST(RotationScreen, ThresholdTopGivesColourAEverywhere) {
    FakeRegionHost host(NoiseBitmap(30, 20, 5));
    TForm4* form = Rotation(host, true);
    EXPECT_FALSE(form->Button[1]->isVisible());
    DragThumb(*form->YTrackBar1, 400);
    EXPECT_EQ(form->Label3->text(), "255");
    EXPECT_EQ(test::CountPixels(host.RegionBitmap(), clWhite), 600);
    // A palette cell chooses the colour that a click on a sample then takes.
    Clicks(*form, {"Edit12", "Label1"});
    EXPECT_EQ(test::CountPixels(host.RegionBitmap(), PaletteColour(12)), 600);
    form->close();
}

TEST(RotationScreen, CancelRestoresTheRegionAndItsCounter) {
    const struct {
        const char* what;
        bool twoColours;
        std::function<void(TForm4&)> change;
        bool byWindowManager;
    } cases[] = {
        {"turns and mirrors", false,
         [](TForm4& f) {
             Clicks(f, {"Button1", "Button3", "Button1", "Button4"});
         },
         false},
        {"angles", false,
         [](TForm4& f) {
             Clicks(f, {"Button1", "RadioButton2", "BtnYTB2"});
             DragThumb(*f.YTrackBar2, 40);
         },
         false},
        {"split", true,
         [](TForm4& f) {
             DragThumb(*f.YTrackBar1, 20);
             Clicks(f, {"Edit3", "Label2"});
         },
         true},
    };
    for (const auto& c : cases) {
        const Bitmap opened = NoiseBitmap(24, 16, 9);
        FakeRegionHost host(opened);
        ASSERT_TRUE(host.SnapshotRegion());  // earlier work in the editor stays
        QPointer<TForm4> form = Rotation(host, c.twoColours);
        c.change(*form);
        EXPECT_NE(host.RegionBitmap(), opened) << c.what;
        EXPECT_GT(host.Counter(), 3) << c.what;
        if (c.byWindowManager)
            form->close();
        else
            Click(*form, "BtnFormClose");
        Settle();
        EXPECT_TRUE(form.isNull()) << c.what;
        EXPECT_EQ(host.RegionBitmap(), opened) << c.what;
        EXPECT_EQ(host.Counter(), 2) << c.what;
    }
    // A failed snapshot stops every change.
    FakeRegionHost host(NoiseBitmap(12, 5, 1));
    host.failSnapshots = true;
    const Bitmap opened = host.RegionBitmap();
    TForm4* form = Rotation(host, false);
    Clicks(*form, {"Button1", "Button3", "RadioButton2"});
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_TRUE(form->Button[1]->isVisible());
    EXPECT_FALSE(form->BtnDtStClose->isVisible());
    form->close();
}

TForm5* Shape(FakeRegionHost& host) {
    return static_cast<TForm5*>(OpenShapeStamp(host));
}

// A black square 40..59 on white, in a 100 x 100 region.
Bitmap Square() {
    Bitmap bmp(100, 100, clWhite);
    for (int y = 40; y < 60; ++y) bmp.fillSpan(y, 40, 60, clBlack);
    return bmp;
}

TEST(ShapeStampScreen, ConfirmWritesTheStampWithOneSnapshot) {
    const Bitmap noise = NoiseBitmap(100, 100, 4);
    // The default stamp: the region framed by a one-pixel silver line.
    const auto framed = [](const Bitmap& out, const Bitmap& region) {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool edge = x == 0 || y == 0 || x == 99 || y == 99;
                ASSERT_EQ(out.pixel(x, y), edge ? clSilver : region.pixel(x, y)) << x << "," << y;
            }
    };
    const auto dark = [](const Bitmap& out, int x, int y) {
        return GetRValue(out.pixel(x, y)) < 64;
    };
    const struct {
        const char* what;
        Bitmap region;
        std::vector<QString> clicks;
        std::function<void(const Bitmap&, const Bitmap&)> check;
    } cases[] = {
        {"default", noise, {}, framed},
        {"corners at their limits stay", noise, {"BtnX0M", "BtnY0M", "BtnX3P", "BtnY3P"}, framed},
        {"a new shape starts again",
         noise,
         {"BtnKS01", "BtnKS40", "BtnX0P", "RadioButton02", "RadioButton00"},
         framed},
        {"insets -4 enlarge 1.8 times, centred",  // the square's 40..59 becomes 32..67
         Square(), std::vector<QString>(5, "BtnKS00"),
         [&](const Bitmap& out, const Bitmap&) {
             for (const int v : {34, 65}) EXPECT_TRUE(dark(out, v, 50) && dark(out, 50, v)) << v;
             for (const int v : {29, 70}) EXPECT_FALSE(dark(out, v, 50) || dark(out, 50, v)) << v;
         }},
        {"top-left corner a sixth to the right",
         noise,
         {"BtnX0P"},
         [](const Bitmap& out, const Bitmap&) {
             EXPECT_EQ(out.pixel(8, 0), clWhite);
             EXPECT_EQ(out.pixel(0, 50), clWhite);
             EXPECT_EQ(out.pixel(98, 99), clSilver);
         }},
        {"a shadow W div 30 wide",
         noise,
         {"RadioButton09"},
         [](const Bitmap& out, const Bitmap&) {
             EXPECT_EQ(out.pixel(98, 50), clGray);
             EXPECT_EQ(out.pixel(96, 50), clSilver);
         }},
        {"outline of width 3 in a palette colour",
         noise,
         {"Edit5", "BtnPWUP", "BtnPWUP"},
         [](const Bitmap& out, const Bitmap& region) {
             EXPECT_EQ(out.pixel(1, 50), PaletteColour(5));
             EXPECT_EQ(out.pixel(50, 50), region.pixel(50, 50));
         }},
    };
    for (const auto& c : cases) {
        FakeRegionHost host(c.region);
        QPointer<TForm5> form = Shape(host);
        Clicks(*form, c.clicks);
        Click(*form, "Button1");
        Settle();
        EXPECT_TRUE(form.isNull()) << c.what;
        EXPECT_EQ(host.Counter(), 2) << c.what;
        SCOPED_TRACE(c.what);
        c.check(host.RegionBitmap(), c.region);
    }
}

TEST(ShapeStampScreen, ControlsFollowTheShapeAndTheShadow) {
    FakeRegionHost host(NoiseBitmap(60, 40, 2));
    TForm5* form = Shape(host);
    const struct {
        const char* radio;
        bool shadowGroup, directions, shadowColourShown, shadowColourChosen;
    } steps[] = {
        {"RadioButton06", true, true, false, false},   {"RadioButton09", true, true, true, true},
        {"RadioButton05", false, false, false, false}, {"RadioButton03", true, false, true, false},
        {"RadioButton08", true, false, false, false},
    };
    for (const auto& s : steps) {
        Click(*form, s.radio);
        EXPECT_EQ(form->ShadowGroup->isVisible(), s.shadowGroup) << s.radio;
        EXPECT_EQ(form->DirectionGroup->isVisible(), s.directions) << s.radio;
        EXPECT_EQ(form->RadioButton[15]->isVisible(), s.shadowColourShown) << s.radio;
        EXPECT_EQ(form->RadioButton[15]->isChecked(), s.shadowColourChosen) << s.radio;
    }
    form->close();
}

TEST(ShapeStampScreen, LeavingWithoutConfirmingChangesNothing) {
    const Bitmap region = NoiseBitmap(50, 40, 6);
    for (const bool snapshotFails : {false, true}) {
        FakeRegionHost host(region);
        host.failSnapshots = snapshotFails;
        QPointer<TForm5> form = Shape(host);
        Clicks(*form, {"RadioButton03", "BtnX1P", snapshotFails ? "Button1" : "Button2"});
        Settle();
        EXPECT_EQ(form.isNull(), !snapshotFails);  // a failed snapshot keeps the screen open
        EXPECT_EQ(host.RegionBitmap(), region);
        EXPECT_EQ(host.Counter(), 1);
        if (form) form->close();
    }
}

}  // namespace
}  // namespace pb
