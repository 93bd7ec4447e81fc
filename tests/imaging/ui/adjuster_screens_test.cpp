// The colour tone and stretch screens over a stand-in region editor, driven through their
// sliders and buttons: what reaches RegionBitmap and the region history, and how they close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <filesystem>

#include "imaging/ui/colour_tone_screen.h"
#include "imaging/ui/region_screens.h"
#include "imaging/ui/stretch_screen.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {

void SendMouse(TYTrackBar& bar, QEvent::Type type, int x) {
    const QPointF local(x, 15);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, bar.mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}

// Drags the bar's thumb until the bar stands at `position`, then lets it go.
void DragTo(TYTrackBar& bar, int position) {
    const int from = bar.thumbCentre();
    const int range = bar.Max() - bar.Min();
    const int delta = position - bar.Position();
    int dx = delta * bar.trackLength() / range;
    while (dx * range / bar.trackLength() != delta) dx += delta > 0 ? 1 : -1;
    SendMouse(bar, QEvent::MouseButtonPress, from);
    SendMouse(bar, QEvent::MouseMove, from + dx);
    SendMouse(bar, QEvent::MouseButtonRelease, from + dx);
    ASSERT_EQ(bar.Position(), position);
}

void Click(QPushButton* button) {
    ASSERT_TRUE(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

const TColor kGrey = RGB(100, 100, 100);

TEST(ColourToneScreen, EachBarMovesItsOwnBytesAndLabel) {
    struct Case {
        int bar, position;
        const char* label;
        TColor after;
    };
    const Case cases[] = {
        {3, 50, "0", kGrey},  // let go where it was: nothing changes
        {3, 100, "100", clWhite},
        {3, 0, "-100", clBlack},
        {2, 100, "100", RGB(255, 100, 100)},
        {1, 100, "100", RGB(100, 255, 100)},
        {0, 75, "50", RGB(100, 100, 227)},
    };
    for (const Case& c : cases) {
        test::FakeRegionHost host(Bitmap(40, 30, kGrey));
        auto* form = static_cast<TForm17*>(OpenColourTone(host));
        ASSERT_TRUE(form);
        // The strip over the editor's top panel, as wide as the editor.
        EXPECT_EQ(form->geometry(), QRect(host.window.geometry().topLeft(), QSize(792, 200)));
        DragTo(*form->YTB[static_cast<std::size_t>(c.bar)], c.position);
        EXPECT_EQ(form->Label[static_cast<std::size_t>(c.bar)]->text(), c.label) << c.bar;
        EXPECT_EQ(host.RegionBitmap(), Bitmap(40, 30, c.after)) << c.bar << " " << c.position;
        form->Release();
    }
}

TEST(ColourToneScreen, OkKeepsOneSnapshotOfTheRegionAsOpenedTheOtherWaysGiveItBack) {
    const Bitmap opened = test::NoiseBitmap(31, 17, 5);
    enum Way { Ok, FailingOk, ResetAndOk, Cancel, WindowClose };
    struct Case {
        std::vector<std::pair<int, int>> drags;  // bar, position
        Way way;
        bool keepsAdjusted;
        int snapshots;
    };
    const Case cases[] = {
        {{}, Ok, false, 0},
        {{{3, 80}, {3, 50}}, Ok, false, 0},  // back in the middle: nothing changed
        {{{3, 60}, {2, 10}, {0, 90}}, Ok, true, 1},
        {{{1, 70}}, FailingOk, true, 0},  // stays open
        {{{3, 20}, {1, 95}}, ResetAndOk, false, 0},
        {{{3, 20}, {1, 95}}, Cancel, false, 0},
        {{{3, 20}, {1, 95}}, WindowClose, false, 0},
    };
    for (const Case& c : cases) {
        test::FakeRegionHost host(opened);
        QPointer<TForm17> form = static_cast<TForm17*>(OpenColourTone(host));
        for (auto [bar, position] : c.drags)
            DragTo(*form->YTB[static_cast<std::size_t>(bar)], position);
        const Bitmap adjusted = host.RegionBitmap();
        host.failSnapshots = c.way == FailingOk;
        if (c.way == ResetAndOk) {
            Click(form->BtnReset);
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(form->YTB[i]->Position(), 50);
                EXPECT_EQ(form->Label[i]->text(), "0");
            }
        }
        if (c.way == Cancel)
            Click(form->BtnFormClose);
        else if (c.way == WindowClose)
            form->close();
        else
            Click(form->BtnDtStClose);

        EXPECT_EQ(host.RegionBitmap(), c.keepsAdjusted ? adjusted : opened) << c.way;
        EXPECT_EQ(host.Counter(), 1 + c.snapshots) << c.way;
        if (c.snapshots) {
            EXPECT_EQ(host.surface->history().Newest(), opened) << c.way;
        }
        EXPECT_EQ(form && form->isVisible(), c.way == FailingOk) << c.way;
        if (form) form->Release();
    }
}

TEST(StretchScreen, StepsDrawAboutTheCentreFromTheRegionAsOpened) {
    const TColor red = RGB(200, 0, 0);
    test::FakeRegionHost host(Bitmap(100, 100, red));
    auto* form = static_cast<TForm12*>(OpenStretch(host));
    EXPECT_EQ(form->geometry(), QRect(host.window.geometry().topLeft(), QSize(792, 200)));
    EXPECT_FALSE(form->mask().contains(QPoint(700, 100)));  // the editor's undo group
    EXPECT_FALSE(form->BtnDtStClose->isVisible());

    Click(form->BtnZS0);
    EXPECT_EQ(form->Scale(), 95);
    EXPECT_TRUE(form->BtnDtStClose->isVisible());
    EXPECT_EQ(host.Counter(), 2);
    EXPECT_EQ(host.surface->history().Newest(), Bitmap(100, 100, red));
    // Drawn at (2, 2), 95 x 95, white around.
    const Bitmap& shrunk = host.RegionBitmap();
    EXPECT_EQ(test::CountPixels(shrunk, red), 95 * 95);
    EXPECT_EQ(shrunk.pixel(2, 2), red);
    EXPECT_EQ(shrunk.pixel(96, 96), red);

    // Back to 100 % from the region as opened, not from the shrunk picture.
    Click(form->BtnZS1);
    EXPECT_EQ(host.RegionBitmap(), Bitmap(100, 100, red));
    // Twenty shrinks from 100 reach 0; the last one draws nothing and takes no snapshot.
    for (int i = 0; i < 19; ++i) Click(form->BtnZS0);
    const Bitmap atFive = host.RegionBitmap();
    const int counter = host.Counter();
    Click(form->BtnZS0);
    EXPECT_EQ(form->Scale(), 0);
    // Back at 5 % with a snapshot that cannot be written: nothing is drawn either.
    host.failSnapshots = true;
    Click(form->BtnZS1);
    EXPECT_EQ(form->Scale(), 5);
    EXPECT_EQ(host.RegionBitmap(), atFive);
    EXPECT_EQ(host.Counter(), counter);
    Click(form->BtnDtStClose);
    EXPECT_FALSE(form->isVisible());
}

TEST(StretchScreen, CancelAndTheWindowCloseRollBackToTheOpeningCounter) {
    const Bitmap opened = test::NoiseBitmap(50, 40, 3);
    struct Case {
        bool byWindow;
        int shrinks, enlargements;
    };
    const Case cases[] = {{false, 0, 0}, {false, 3, 1}, {true, 0, 4}};
    for (const Case& c : cases) {
        test::FakeRegionHost host(opened);
        // An earlier change in the editor: the screen opens at counter 2.
        ASSERT_TRUE(host.SnapshotRegion());
        QPointer<TForm12> form = static_cast<TForm12*>(OpenStretch(host));
        for (int i = 0; i < c.shrinks; ++i) Click(form->BtnZS0);
        for (int i = 0; i < c.enlargements; ++i) Click(form->BtnZS1);
        if (c.byWindow)
            form->close();
        else
            Click(form->BtnFormClose);
        EXPECT_EQ(host.RegionBitmap(), opened) << c.shrinks << " " << c.enlargements;
        EXPECT_EQ(host.Counter(), 2);
        EXPECT_FALSE(std::filesystem::exists(SnapshotPath(host.surface->history().folder(), 2)));
        EXPECT_FALSE(form && form->isVisible());
    }
}

}  // namespace
}  // namespace pb
