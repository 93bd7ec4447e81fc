#include "imaging/ui/track_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "imaging/track_bar_math.h"

namespace pb {

namespace {

QColor ToQColor(TColor c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

int EventX(const QMouseEvent* event) {
    return static_cast<int>(event->position().x());
}
int EventY(const QMouseEvent* event) {
    return static_cast<int>(event->position().y());
}

}  // namespace

TYTrackBar::TYTrackBar(QWidget* parent) : QWidget(parent) {
    const QColor face = palette().color(QPalette::Button);
    thumbColour_ = RGB(face.red(), face.green(), face.blue());
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(160, 30);
}

void TYTrackBar::SetMax(int value) {
    if (value == max_ || value <= min_) return;
    max_ = value;
    // A position left beyond the new end would put the thumb off the track.
    position_ = std::min(position_, max_);
    update();
}

void TYTrackBar::SetMin(int value) {
    if (value == min_ || value >= max_) return;
    min_ = value;
    position_ = std::max(position_, min_);
    update();
}

void TYTrackBar::SetThumbWidth(int value) {
    if (value == thumbWidth_ || value <= 1) return;
    thumbWidth_ = value;
    leftMargin_ = rightMargin_ = value / 2 + 1;
    update();
}

void TYTrackBar::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    update();
}

int TYTrackBar::thumbCentre() const {
    return TrackThumbCentre(position_, min_, max_, trackLength(), leftMargin_);
}

void TYTrackBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    const int l = leftMargin_, t = kTopMargin, r = rightMargin_, b = kBottomMargin;
    // Rectangles are given from (left, top) to (right, bottom) exclusive, lines end to end.
    p.fillRect(QRect(QPoint(l, t), QPoint(w - r - 1, h - b - 1)), ToQColor(gageColour_));
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(QPolygon({QPoint(l, h - b), QPoint(l, t), QPoint(w - r, t)}));
    p.setPen(QPen(Qt::white, 1));
    p.drawPolyline(
        QPolygon({QPoint(w - r + 1, t - 1), QPoint(w - r + 1, h - b + 1), QPoint(l, h - b + 1)}));

    const int centre = thumbCentre(), half = thumbWidth_ / 2;
    const int x0 = centre - half, x1 = centre + half;
    if (!dragging_) {
        p.fillRect(QRect(QPoint(x0, 1), QPoint(x1 - 1, h - 2)), Qt::black);
        p.fillRect(QRect(QPoint(x0 + 1, 2), QPoint(x1 - 2, h - 4)), ToQColor(thumbColour_));
        p.drawPolyline(QPolygon({QPoint(x0 + 1, h - 3), QPoint(x0 + 1, 2), QPoint(x1 - 1, 2)}));
        return;
    }
    // While dragging only the thumb's outline is shown, inverting what lies under it, so
    // the gauge stays visible through the thumb.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(x0, 1), QPoint(x1 - 1, h - 2)).adjusted(0, 0, -1, -1));
}

void TYTrackBar::mousePressEvent(QMouseEvent* event) {
    if (TrackHitsThumb(EventX(event), thumbCentre(), thumbWidth_)) {
        dragging_ = true;
        downX_ = EventX(event);
        downPosition_ = position_;
    }
    emit OnMouseDown(event->button(), EventX(event), EventY(event));
}

void TYTrackBar::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        position_ =
            TrackDragPosition(EventX(event), downX_, downPosition_, min_, max_, trackLength());
        update();
    }
    emit OnMouseMove(EventX(event), EventY(event));
    if (dragging_) emit OnChange();
}

void TYTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) {
        dragging_ = false;
        update();
    }
    emit OnMouseUp(event->button(), EventX(event), EventY(event));
}

}  // namespace pb
