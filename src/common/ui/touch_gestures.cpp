#include "common/ui/touch_gestures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTouchEvent>
#include <cmath>
#include <utility>

namespace pb {

TouchGestures* TouchGestures::Install(QScrollArea* area, TouchHooks hooks) {
    return new TouchGestures(area, std::move(hooks));
}

TouchGestures::TouchGestures(QScrollArea* area, TouchHooks hooks)
    : QObject(area->viewport()), area_(area), hooks_(std::move(hooks)) {
    area->viewport()->setAttribute(Qt::WA_AcceptTouchEvents);
    // The scroll area's own two-finger pan would move the content a second time.
    area->viewport()->ungrabGesture(Qt::PanGesture);
    area->viewport()->installEventFilter(this);
}

void TouchGestures::Mouse(int type, QPointF global, const QTouchEvent& touch) {
    if (type == QEvent::MouseButtonPress) {
        QWidget* viewport = area_->viewport();
        QWidget* under = viewport->childAt(viewport->mapFromGlobal(global).toPoint());
        pressed_ = under ? under : viewport;
    }
    if (!pressed_) return;
    const bool release = type == QEvent::MouseButtonRelease;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent mouse(static_cast<QEvent::Type>(type), pressed_->mapFromGlobal(global),
                      pressed_->window()->mapFromGlobal(global), global, button,
                      release ? Qt::NoButton : Qt::LeftButton, touch.modifiers());
    QApplication::sendEvent(pressed_, &mouse);
    if (release) pressed_ = nullptr;
}

void TouchGestures::ZoomAbout(bool up, QPointF centre) {
    QWidget* content = area_->widget();
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    // The content point under the centre, as a share of the content's size.
    const double fx = (h->value() + centre.x()) / std::max(1, content->width());
    const double fy = (v->value() + centre.y()) / std::max(1, content->height());
    if (!hooks_.stepZoom(up)) return;
    h->setValue(static_cast<int>(std::lround(fx * content->width() - centre.x())));
    v->setValue(static_cast<int>(std::lround(fy * content->height() - centre.y())));
}

void TouchGestures::TwoFingers(QPointF a, QPointF b) {
    QWidget* viewport = area_->viewport();
    const QPointF centre = viewport->mapFromGlobal((a + b) / 2);
    const double distance = std::max(1.0, QLineF(a, b).length());
    if (mode_ != Mode::TwoFingers) {
        mode_ = Mode::TwoFingers;
        lastCentre_ = centre;
        reference_ = distance;
        return;
    }
    // The content follows the fingers.
    const QPointF moved = centre - lastCentre_;
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    h->setValue(h->value() - static_cast<int>(std::lround(moved.x())));
    v->setValue(v->value() - static_cast<int>(std::lround(moved.y())));
    lastCentre_ = centre;
    while (distance >= reference_ * kPinchStep || distance * kPinchStep <= reference_) {
        const bool up = distance > reference_;
        reference_ = up ? reference_ * kPinchStep : reference_ / kPinchStep;
        ZoomAbout(up, centre);
    }
}

bool TouchGestures::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::TouchBegin && type != QEvent::TouchUpdate && type != QEvent::TouchEnd &&
        type != QEvent::TouchCancel)
        return QObject::eventFilter(watched, event);
    auto* touch = static_cast<QTouchEvent*>(event);
    touch->accept();
    if (type == QEvent::TouchCancel) {
        if (mode_ == Mode::OneFinger && hooks_.cancelStroke) hooks_.cancelStroke(pressed_);
        mode_ = Mode::Idle;
        pressed_ = nullptr;
        return true;
    }
    QList<QPointF> down;  // the fingers still on the glass
    for (const QEventPoint& p : touch->points())
        if (p.state() != QEventPoint::State::Released) down << p.globalPosition();
    if (down.size() >= 2) {
        if (mode_ == Mode::OneFinger) {
            // The stroke was the start of a pinch: call it off, and its release never comes.
            QWidget* pressed = std::exchange(pressed_, nullptr);
            if (hooks_.cancelStroke) hooks_.cancelStroke(pressed);
        }
        TwoFingers(down[0], down[1]);
    } else if (mode_ == Mode::Idle && touch->points().size() == 1 && type == QEvent::TouchBegin) {
        mode_ = Mode::OneFinger;
        Mouse(QEvent::MouseButtonPress, touch->points()[0].globalPosition(), *touch);
    } else if (mode_ == Mode::TwoFingers) {
        mode_ = Mode::Lifted;  // a finger left; the next pair starts afresh
    } else if (mode_ == Mode::OneFinger) {
        const QEventPoint& p = touch->points()[0];
        const bool up = p.state() == QEventPoint::State::Released;
        Mouse(up ? QEvent::MouseButtonRelease : QEvent::MouseMove, p.globalPosition(), *touch);
    }
    // After two fingers nothing paints until every finger is lifted.
    if (type == QEvent::TouchEnd) mode_ = Mode::Idle;
    return true;
}

}  // namespace pb
