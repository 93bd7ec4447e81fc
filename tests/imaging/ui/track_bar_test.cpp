// The slider driven by the mouse: drags from the thumb, presses beside it, OnChange on every
// move, Position and the other properties.
#include "imaging/ui/track_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>

namespace pb {
namespace {

constexpr int kMidY = 15;

void Send(TYTrackBar& bar, QEvent::Type type, int x, Qt::MouseButtons buttons) {
    const QPointF local(x, kMidY);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, bar.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}
void Press(TYTrackBar& bar, int x) {
    Send(bar, QEvent::MouseButtonPress, x, Qt::LeftButton);
}
void Move(TYTrackBar& bar, int x) {
    Send(bar, QEvent::MouseMove, x, Qt::LeftButton);
}
void Release(TYTrackBar& bar, int x) {
    Send(bar, QEvent::MouseButtonRelease, x, Qt::NoButton);
}

TEST(TrackBar, APressBesideTheThumbDoesNothingButTheOrdinaryEvent) {
    TYTrackBar bar;
    bar.SetMax(255);
    bar.SetPosition(100);  // centre 63: the thumb covers 58..68
    QSignalSpy downs(&bar, &TYTrackBar::OnMouseDown);
    QSignalSpy changes(&bar, &TYTrackBar::OnChange);
    for (const int x : {57, 69, 150, 4}) {
        Press(bar, x);
        EXPECT_FALSE(bar.dragging()) << x;
        Move(bar, x + 40);
        Release(bar, x + 40);
        EXPECT_EQ(bar.Position(), 100) << x;
    }
    EXPECT_EQ(downs.count(), 4);
    EXPECT_EQ(changes.count(), 0);
    Press(bar, 68);  // the thumb's edge takes the press
    EXPECT_TRUE(bar.dragging());
}

TEST(TrackBar, PropertiesKeepTheirRanges) {
    TYTrackBar bar;
    QSignalSpy changes(&bar, &TYTrackBar::OnChange);
    EXPECT_EQ(bar.Max(), 100);
    bar.SetPosition(300);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(changes.count(), 0);

    bar.SetMin(100);  // not below Max: refused
    EXPECT_EQ(bar.Min(), 0);
    bar.SetMax(-1);
    EXPECT_EQ(bar.Max(), 100);
    bar.SetPosition(90);
    bar.SetMax(50);  // the position follows the new end
    EXPECT_EQ(bar.Position(), 50);
    bar.SetMin(-10);
    bar.SetPosition(-10);
    bar.SetMin(0);
    EXPECT_EQ(bar.Position(), 0);
}

}  // namespace
}  // namespace pb
