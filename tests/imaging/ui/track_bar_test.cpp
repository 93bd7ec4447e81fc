// The slider driven by the mouse: drags from the thumb, presses beside it, OnChange on every
// move, Position and the other properties, and what the control shows.
#include "imaging/ui/track_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
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

// Counts the paints the control receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(TrackBar, DraggingTheThumbMovesByTheShareOfTheTrack) {
    const struct {
        int from;  // position at the press
        int dx;    // pixels dragged
        int expected;
    } cases[] = {
        {0, 152, 255}, {0, 1, 1}, {0, 76, 127}, {0, -10, 0}, {255, 40, 255}, {100, -1, 99},
    };
    for (const auto& c : cases) {
        TYTrackBar bar;
        bar.SetMax(255);
        bar.SetPosition(c.from);
        const int centre = bar.thumbCentre();
        QSignalSpy changes(&bar, &TYTrackBar::OnChange);
        QSignalSpy ups(&bar, &TYTrackBar::OnMouseUp);
        Press(bar, centre);
        EXPECT_TRUE(bar.dragging());
        Move(bar, centre + c.dx);
        EXPECT_EQ(bar.Position(), c.expected) << c.from << " by " << c.dx;
        Release(bar, centre + c.dx);
        EXPECT_FALSE(bar.dragging());
        EXPECT_EQ(bar.Position(), c.expected);
        EXPECT_EQ(changes.count(), 1);
        EXPECT_EQ(ups.count(), 1);
    }
}

TEST(TrackBar, OnChangeFiresOnEveryMoveWhileDraggingAndOnlyThen) {
    TYTrackBar bar;
    bar.SetMax(255);
    QSignalSpy changes(&bar, &TYTrackBar::OnChange);
    QSignalSpy moves(&bar, &TYTrackBar::OnMouseMove);
    Move(bar, 60);  // not dragging: only the ordinary event
    EXPECT_EQ(changes.count(), 0);
    Press(bar, 4);
    for (const int x : {4, 4, 5, 5, 30, 3}) Move(bar, x);  // unchanged positions count too
    EXPECT_EQ(changes.count(), 6);
    EXPECT_EQ(moves.count(), 7);
    EXPECT_EQ(bar.Position(), 0);
    Release(bar, 3);
    Move(bar, 100);
    EXPECT_EQ(changes.count(), 6);
    EXPECT_EQ(bar.Position(), 0);
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

TEST(TrackBar, PropertiesKeepTheirRangesAndRepaintOnlyOnChange) {
    TYTrackBar bar;
    bar.show();
    PaintCounter counter;
    bar.installEventFilter(&counter);
    auto paintsAfter = [&](auto&& change) {
        QApplication::processEvents();
        counter.paints = 0;
        change();
        QApplication::processEvents();
        return counter.paints;
    };
    QSignalSpy changes(&bar, &TYTrackBar::OnChange);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(paintsAfter([&] { bar.SetPosition(300); }), 1);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(paintsAfter([&] { bar.SetPosition(100); }), 0);
    EXPECT_EQ(paintsAfter([&] { bar.SetPosition(-5); }), 1);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(paintsAfter([&] { bar.SetGageColor(clRed); }), 0);
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

    EXPECT_EQ(bar.trackLength(), 152);
    bar.SetThumbWidth(1);
    EXPECT_EQ(bar.ThumbWidth(), 10);
    bar.SetThumbWidth(20);  // margins 11 on both sides
    EXPECT_EQ(bar.trackLength(), 138);
    EXPECT_EQ(bar.thumbCentre(), 11);
}

TEST(TrackBar, ShowsARaisedThumbAndOnlyItsOutlineWhileDragging) {
    TYTrackBar bar;
    bar.SetMax(255);
    bar.SetPosition(128);
    bar.SetGageColor(RGB(0, 200, 0));
    bar.SetThumbColor(RGB(200, 0, 0));
    const int centre = bar.thumbCentre();  // 80
    auto colourAt = [&bar](int x, int y) {
        const QColor c = bar.grab().toImage().pixelColor(x, y);
        return RGB(c.red(), c.green(), c.blue());
    };
    EXPECT_EQ(colourAt(centre, kMidY), RGB(200, 0, 0));
    EXPECT_EQ(colourAt(centre - 5, kMidY), clBlack);  // rim
    EXPECT_EQ(colourAt(30, kMidY), RGB(0, 200, 0));
    EXPECT_EQ(colourAt(30, 3), colourAt(0, 0));  // above the gauge: the control's ground
    Press(bar, centre);
    Move(bar, centre + 40);
    const int moved = bar.thumbCentre();
    EXPECT_GT(moved, centre + 30);
    EXPECT_EQ(colourAt(moved, kMidY), RGB(0, 200, 0));      // gauge through the outline
    EXPECT_EQ(colourAt(centre, kMidY), RGB(0, 200, 0));     // the old place is gauge again
    EXPECT_NE(colourAt(moved - 5, kMidY), RGB(0, 200, 0));  // the outline inverts
    Release(bar, centre + 40);
    EXPECT_EQ(colourAt(moved, kMidY), RGB(200, 0, 0));
}

}  // namespace
}  // namespace pb
