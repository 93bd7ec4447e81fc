// The background fill of the region (TForm7) against the stand-in region editor, and the
// margin fill of the page (TForm10) on a page surface of its own: clicks through the palette,
// the styles and the component colours, the history they leave, "Cancel"/"キャンセル".
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <memory>

#include "common/ui/palette_widgets.h"
#include "imaging/ui/colour_key_fill_screen.h"
#include "imaging/ui/margin_fill_screen.h"
#include "imaging/ui/region_screens.h"
#include "support/test_support.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(0xFF, 0, 0);      // Edit3
constexpr TColor kBlue = RGB(0, 0, 0xFF);     // Edit27
constexpr TColor kGrey = RGB(100, 100, 100);  // the key's brightness in another hue below
constexpr TColor kSameLuma = RGB(85, 109, 93);
constexpr TColor kInk = RGB(10, 200, 10);

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

template <class T = QWidget>
T* Control(QWidget* form, const char* name) {
    return form->findChild<T*>(QString::fromLatin1(name));
}

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
    test::FakeRegionHost host(Region());
    const Bitmap opened = host.RegionBitmap();
    const int start = host.Counter();
    QPointer<QWidget> form = OpenColourKeyFill(host);
    ASSERT_NE(form, nullptr);
    auto* f7 = static_cast<TForm7*>(form.data());

    // Two holes: the editor's canvas and its undo/redo labels show through.
    const QRegion mask = form->mask();
    EXPECT_FALSE(mask.contains(QPoint(10, 300)));
    EXPECT_FALSE(mask.contains(QPoint(700, 60)));
    EXPECT_TRUE(mask.contains(QPoint(600, 20)));
    EXPECT_EQ(f7->Image1->geometry(), QRect(592, 350, 160, 80));
    EXPECT_EQ(f7->keyColour(), kGrey);
    EXPECT_FALSE(f7->BtnDtStClose->isEnabled());

    struct Step {
        const char* control;
        Bitmap expected;
        int snapshots;
    };
    const Step steps[] = {
        // SOLID at once from the palette, exact key.
        {"Edit3", Replaced(opened, {kGrey}, kRed), 1},
        // Again from the region as opened: the red of the first fill is not the key.
        {"Edit27", Replaced(opened, {kGrey}, kBlue), 2},
        // Similar mode resets the region without a snapshot.
        {"RadioButton2", opened, 2},
    };
    for (const Step& s : steps) {
        Click(Control(form, s.control));
        EXPECT_EQ(host.RegionBitmap(), s.expected) << s.control;
        EXPECT_EQ(host.Counter(), start + s.snapshots) << s.control;
    }
    EXPECT_TRUE(f7->BtnDtStClose->isEnabled());

    // Threshold 0 takes every hue of the key's brightness, the ink stays.
    ASSERT_TRUE(f7->YTrackBar1->isVisible());
    f7->YTrackBar1->SetPosition(0);
    emit f7->YTrackBar1->OnMouseUp(Qt::LeftButton, 0, 0);
    EXPECT_EQ(host.RegionBitmap(), Replaced(opened, {kGrey, kSameLuma}, kBlue));

    // A touch on the ink in the preview makes it the key (160 x 80 shows 48 x 24: x 10/3).
    f7->Image1Click(20, 6 * 80 / 24 + 1);
    EXPECT_EQ(f7->keyColour(), kInk);
    EXPECT_EQ(host.RegionBitmap(), Replaced(opened, {kInk}, kBlue));

    Click(f7->BtnFormClose);
    QApplication::processEvents();
    EXPECT_EQ(host.RegionBitmap(), opened);
    EXPECT_EQ(host.Counter(), start);
    EXPECT_TRUE(form.isNull() || !form->isVisible());
}

TEST(ColourKeyFillScreen, BandsWithoutSlotsLeaveTheRegionAndOneSlotIsSolid) {
    for (const char* style : {"RadioButton4", "RadioButton5"}) {
        test::FakeRegionHost host(Region());
        const Bitmap opened = host.RegionBitmap();
        QPointer<QWidget> form = OpenColourKeyFill(host);
        Click(Control(form, "Edit3"));  // SOLID red, then the style switch resets it
        Click(Control(form, style));
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        EXPECT_TRUE(Control(form, "Button48")->isVisible()) << style;
        EXPECT_EQ(Control(form, "Label4")->isVisible(), std::string(style) == "RadioButton4");

        Click(Control(form, "Edit27"));  // the current colour; no fill outside SOLID
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        Click(Control(form, "Edit41"));  // one slot: SOLID in its colour
        EXPECT_EQ(host.RegionBitmap(), Replaced(opened, {kGrey}, kBlue)) << style;
        Click(Control(form, "Button41"));  // no slot: the region as opened
        EXPECT_EQ(host.RegionBitmap(), opened) << style;

        // A failed snapshot leaves the region alone.
        host.failSnapshots = true;
        Click(Control(form, "Button48"));
        EXPECT_EQ(host.RegionBitmap(), opened) << style;
        form->close();
    }
}

// A page of its own: Image1 in a window, the page history in a temporary folder.
struct Page {
    explicit Page(Bitmap bmp) {
        window.setGeometry(0, 0, 800, 553);
        image = new ImageControl(&window);
        image->setPicture(std::move(bmp));
        floating = new ImageControl(&window);
        surface = std::make_unique<EditSurface>(image->picture(), dir.file("TmpWorkA"));
        surface->history().Reset();
        window.show();
    }
    QWidget* Open() { return OpenMarginFill({*surface, *image, floating, 567}); }

    test::TempDir dir;
    QWidget window;
    ImageControl* image = nullptr;
    ImageControl* floating = nullptr;
    std::unique_ptr<EditSurface> surface;
};

TEST(MarginFillScreen, OnlyWhiteIsPaintedAndCancelDeletesTheSnapshots) {
    Bitmap bmp(60, 40, clWhite);
    const TColor offWhite = RGB(255, 254, 255);
    for (int x = 0; x < 60; ++x) bmp.setPixel(x, 20, kInk);
    bmp.setPixel(3, 3, offWhite);
    Page page(bmp);
    const int start = page.surface->history().counter();
    QPointer<QWidget> form = page.Open();
    ASSERT_NE(form, nullptr);
    auto* f10 = static_cast<TForm10*>(form.data());
    EXPECT_FALSE(page.image->isEnabled());
    EXPECT_FALSE(page.floating->isEnabled());
    EXPECT_FALSE(form->mask().contains(QPoint(706 - 567 + 10, 80)));
    EXPECT_FALSE(f10->BtnDtStClose->isVisible());

    struct Step {
        const char* control;
        int snapshots;        // taken since open
        bool painted;         // the white is painted (off-white and ink never are)
        const char* caption;  // Label3
    };
    const Step steps[] = {
        {"Edit3", 1, true, ""},  // SOLID at once
        {"RadioButton2", 1, false, "STRIPE構成色選択"},
        {"Edit27", 1, false, "STRIPE構成色選択"},  // the current colour only
        {"Edit41", 2, true, "STRIPE構成色選択"},
        {"ColBtn01", 2, false, "STRIPE構成色選択"},  // no slot left: the page as opened
        {"RadioButton3", 2, false, "GRADATION構成色選択"},
        {"ColBtn08", 3, true, "GRADATION構成色選択"},
        {"RadioButton6", 4, true, "GRADATION構成色選択"},
    };
    for (const Step& s : steps) {
        Click(Control(form, s.control));
        const Bitmap& now = page.surface->bitmap();
        EXPECT_EQ(page.surface->history().counter(), start + s.snapshots) << s.control;
        EXPECT_EQ(now.pixel(3, 3), offWhite) << s.control;
        EXPECT_EQ(test::CountPixels(now, kInk), 60) << s.control;
        EXPECT_EQ(test::CountPixels(now, clWhite), s.painted ? 0 : 60 * 39 - 1) << s.control;
        EXPECT_EQ(f10->Label3->text(), QString::fromUtf8(s.caption)) << s.control;
    }
    EXPECT_TRUE(f10->BtnDtStClose->isVisible());

    Click(f10->BtnFormClose);
    QApplication::processEvents();
    EXPECT_EQ(page.surface->bitmap(), bmp);
    EXPECT_EQ(page.surface->history().counter(), start);
    for (int n = start; n < start + 4; ++n)
        EXPECT_FALSE(std::filesystem::exists(SnapshotPath(page.surface->history().folder(), n)))
            << n;
    EXPECT_TRUE(page.image->isEnabled());
    EXPECT_TRUE(page.floating->isEnabled());
}

}  // namespace
}  // namespace pb
