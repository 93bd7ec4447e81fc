// The shape screen over a stand-in region editor, driven by clicks: what "確定" writes into the
// region after the shape, inset, outline and corner buttons, and the ways out.
#include "imaging/ui/shape_stamp_screen.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <functional>
#include <vector>

#include "common/palette.h"
#include "imaging/ui/region_screens.h"
#include "platform/ui/image_control.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

using test::FakeRegionHost;

void Click(Form& form, const QString& name) {
    auto* w = form.Find<QWidget>(name);
    ASSERT_TRUE(w) << name.toStdString();
    ASSERT_TRUE(w->isVisible()) << name.toStdString();
    // A radio button takes the click on its circle or its caption.
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {}, radio ? QPoint(8, w->height() / 2) : QPoint());
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TForm5* Open(FakeRegionHost& host) {
    return static_cast<TForm5*>(OpenShapeStamp(host));
}

// The region framed by a one-pixel silver line: the default stamp.
Bitmap Framed(const Bitmap& region) {
    Bitmap out = region;
    const int w = region.width(), h = region.height();
    out.fillSpan(0, 0, w, clSilver);
    out.fillSpan(h - 1, 0, w, clSilver);
    for (int y = 0; y < h; ++y) {
        out.setPixel(0, y, clSilver);
        out.setPixel(w - 1, y, clSilver);
    }
    return out;
}

// A black square 40..59 on white, in a 100 x 100 region.
Bitmap Square() {
    Bitmap bmp(100, 100, clWhite);
    for (int y = 40; y < 60; ++y) bmp.fillSpan(y, 40, 60, clBlack);
    return bmp;
}

std::vector<QString> Times(int n, const char* name) {
    return std::vector<QString>(static_cast<std::size_t>(n), QString::fromUtf8(name));
}

TEST(ShapeStampScreen, ConfirmWritesTheStampWithOneSnapshot) {
    const Bitmap noise = test::NoiseBitmap(100, 100, 4);
    const auto framed = [](const Bitmap& result, const Bitmap& region) {
        EXPECT_EQ(result, Framed(region));
    };
    const struct {
        const char* what;
        Bitmap region;
        std::vector<QString> clicks;
        std::function<void(const Bitmap&, const Bitmap&)> check;
    } cases[] = {
        {"default", noise, {}, framed},
        {"insets back to 0", noise, {"BtnKS00", "BtnKS11", "BtnKS40", "BtnKS50"}, framed},
        {"corners at their limits stay", noise, {"BtnX0M", "BtnY0M", "BtnX3P", "BtnY3P"}, framed},
        {"a new shape resets insets and corners",
         noise,
         {"BtnKS01", "BtnX0P", "BtnY2P", "RadioButton02", "RadioButton00"},
         framed},
        {"insets -4 enlarge 1.8 times, centred",
         Square(),
         Times(5, "BtnKS00"),
         [](const Bitmap& result, const Bitmap&) {
             // The square's 20 pixels become 36, 32..67, on both axes.
             for (const int v : {34, 50, 65}) {
                 EXPECT_LT(GetRValue(result.pixel(v, 50)), 64) << v;
                 EXPECT_LT(GetRValue(result.pixel(50, v)), 64) << v;
             }
             for (const int v : {29, 70}) {
                 EXPECT_GT(GetRValue(result.pixel(v, 50)), 192) << v;
                 EXPECT_GT(GetRValue(result.pixel(50, v)), 192) << v;
             }
         }},
        {"the top inset alone",
         Square(),
         {"BtnKS11", "BtnKS11"},  // the picture's top moves down by 2/10
         [](const Bitmap& result, const Bitmap&) {
             EXPECT_GT(GetRValue(result.pixel(50, 50)), 192);
             EXPECT_LT(GetRValue(result.pixel(50, 60)), 64);
         }},
        {"top-left corner a sixth to the right",
         noise,
         {"BtnX0P"},
         [](const Bitmap& result, const Bitmap&) {
             EXPECT_EQ(result.pixel(8, 0), clWhite);
             EXPECT_EQ(result.pixel(0, 50), clWhite);
             EXPECT_NE(result.pixel(50, 50), clWhite);
         }},
        {"a shadow W div 30 wide",
         noise,
         {"RadioButton09"},
         [](const Bitmap& result, const Bitmap&) {
             EXPECT_EQ(result.pixel(98, 50), clGray);
             EXPECT_EQ(result.pixel(96, 50), clSilver);
             EXPECT_EQ(result.pixel(50, 97), clGray);
         }},
        {"outline of width 3 in a palette colour",
         noise,
         {"Edit5", "BtnPWUP", "BtnPWUP"},
         [](const Bitmap& result, const Bitmap& region) {
             EXPECT_EQ(result.pixel(1, 50), PaletteColour(5));
             EXPECT_EQ(result.pixel(50, 98), PaletteColour(5));
             EXPECT_EQ(result.pixel(50, 50), region.pixel(50, 50));
         }},
    };
    for (const auto& c : cases) {
        FakeRegionHost host(c.region);
        QPointer<TForm5> form = Open(host);
        EXPECT_EQ(form->Image1->geometry(), QRect(50, 75, 100, 100));
        for (const QString& name : c.clicks) Click(*form, name);
        Click(*form, QStringLiteral("Button1"));
        Settle();
        EXPECT_TRUE(form.isNull()) << c.what;
        EXPECT_EQ(host.Counter(), 2) << c.what;
        SCOPED_TRACE(c.what);
        c.check(host.RegionBitmap(), c.region);
    }
}

TEST(ShapeStampScreen, ControlsFollowTheShapeAndTheShadow) {
    FakeRegionHost host(test::NoiseBitmap(60, 40, 2));
    TForm5* form = Open(host);
    const struct {
        const char* radio;
        bool shadowGroup, directions, shadowColour;
    } steps[] = {
        {"RadioButton06", true, true, false},  {"RadioButton09", true, true, true},
        {"RadioButton07", true, true, true},   {"RadioButton05", false, false, false},
        {"RadioButton03", true, false, true},  {"RadioButton08", true, false, false},
    };
    for (const auto& s : steps) {
        Click(*form, QString::fromUtf8(s.radio));
        EXPECT_EQ(form->ShadowGroup->isVisible(), s.shadowGroup) << s.radio;
        EXPECT_EQ(form->DirectionGroup->isVisible(), s.directions) << s.radio;
        EXPECT_EQ(form->RadioButton[15]->isVisible(), s.shadowColour) << s.radio;
        EXPECT_EQ(form->RadioButton[15]->isChecked(), s.shadowColour) << s.radio;
    }
    // The width stays within 1..8.
    for (int i = 0; i < 10; ++i) Click(*form, QStringLiteral("BtnPWUP"));
    EXPECT_EQ(form->LabelPW->text(), QStringLiteral("8"));
    for (int i = 0; i < 10; ++i) Click(*form, QStringLiteral("BtnPWDN"));
    EXPECT_EQ(form->LabelPW->text(), QStringLiteral("1"));
    form->close();
}

TEST(ShapeStampScreen, PreviewAndCornerButtonsFitTheRegion) {
    const struct {
        Size region;
        QRect preview;
    } cases[] = {
        {{1000, 500}, {50, 75, 400, 200}},
        {{120, 900}, {50, 75, 53, 400}},
        {{30, 25}, {50, 75, 30, 25}},
    };
    for (const auto& c : cases) {
        FakeRegionHost host(Bitmap(c.region.width, c.region.height, clRed));
        TForm5* form = Open(host);
        EXPECT_EQ(form->Image1->geometry(), c.preview);
        EXPECT_EQ(form->Image1->picture().size(), c.region);
        const int right = 50 + c.preview.width(), below = 125 + c.preview.height();
        const struct {
            const char* name;
            QPoint at;
        } buttons[] = {{"BtnY0P", {25, 50}},     {"BtnY0M", {25, 0}},
                       {"BtnX0M", {0, 25}},      {"BtnX1P", {50, below - 25}},
                       {"BtnX2M", {right - 25, 25}}, {"BtnY3P", {right, below}}};
        for (const auto& b : buttons)
            EXPECT_EQ(form->Find<QWidget>(QString::fromUtf8(b.name))->pos(), b.at) << b.name;
        form->close();
    }
}

TEST(ShapeStampScreen, LeavingWithoutConfirmingChangesNothing) {
    const Bitmap region = test::NoiseBitmap(50, 40, 6);
    for (const bool snapshotFails : {false, true}) {
        FakeRegionHost host(region);
        host.failSnapshots = snapshotFails;
        QPointer<TForm5> form = Open(host);
        Click(*form, QStringLiteral("RadioButton03"));
        Click(*form, QStringLiteral("BtnX1P"));
        // A failed snapshot keeps the screen open, the region as it was.
        Click(*form, snapshotFails ? QStringLiteral("Button1") : QStringLiteral("Button2"));
        Settle();
        EXPECT_EQ(form.isNull(), !snapshotFails);
        EXPECT_EQ(host.RegionBitmap(), region);
        EXPECT_EQ(host.Counter(), 1);
        if (form) form->close();
    }
}

}  // namespace
}  // namespace pb
