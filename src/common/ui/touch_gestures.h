#pragma once
// Fingers on a scroll area that shows a canvas: one finger is the mouse (its press, moves and
// release reach the control under it as mouse events, so it paints and drags exactly as the
// mouse does); two fingers move the scroll bars with them and, spread or pinched, step the
// screen's zoom up or down with the point between them kept in place. A second finger that
// lands during a one-finger stroke calls the stroke off; it never gets its release.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <functional>

class QScrollArea;
class QTouchEvent;
class QWidget;

namespace pb {

struct TouchHooks {
    // Steps the zoom one step up or down; false when it stayed (at the end of the steps).
    std::function<bool(bool up)> stepZoom;
    // Calls off what the first finger's press on `pressed` began (nothing when nothing began).
    std::function<void(QWidget* pressed)> cancelStroke;
};

class TouchGestures : public QObject {
public:
    // Takes the touches of `area`'s viewport; the filter belongs to the viewport.
    static TouchGestures* Install(QScrollArea* area, TouchHooks hooks);

    // How far the fingers must spread (or close, as its inverse) for one zoom step.
    static constexpr double kPinchStep = 1.25;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TouchGestures(QScrollArea* area, TouchHooks hooks);
    void Mouse(int type, QPointF global, const QTouchEvent& touch);
    void TwoFingers(QPointF a, QPointF b);
    void ZoomAbout(bool up, QPointF centre);

    enum class Mode { Idle, OneFinger, TwoFingers, Lifted };
    QScrollArea* area_;
    TouchHooks hooks_;
    Mode mode_ = Mode::Idle;
    QPointer<QWidget> pressed_;  // the control the first finger pressed
    QPointF lastCentre_;         // in viewport coordinates
    double reference_ = 0;       // the fingers' distance at the last zoom step
};

}  // namespace pb
