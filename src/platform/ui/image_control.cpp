#include "platform/ui/image_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "platform/bitmap_qt.h"

namespace pb {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void ImageControl::setPicture(Bitmap bmp) {
    picture_ = std::move(bmp);
    pictureChanged();
}

void ImageControl::clearPicture() { setPicture(Bitmap()); }

void ImageControl::pictureChanged() {
    maskedStale_ = true;
    update();
}

void ImageControl::setStretch(bool on) {
    stretch_ = on;
    update();
}

void ImageControl::setTransparentColour(std::optional<TColor> colour) {
    transparent_ = colour;
    setAttribute(Qt::WA_TranslucentBackground, colour.has_value());
    pictureChanged();
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    const QRect target = stretch_ ? rect() : QRect(0, 0, picture_.width(), picture_.height());
    if (!transparent_) {
        painter.drawImage(target, ConstImageView(picture_));
        return;
    }
    if (maskedStale_) {
        masked_ = QImage(picture_.width(), picture_.height(), QImage::Format_ARGB32);
        const TColor key = *transparent_;
        for (int y = 0; y < picture_.height(); ++y) {
            const std::uint8_t* src = picture_.scanLine(y);
            auto* dst = reinterpret_cast<QRgb*>(masked_.scanLine(y));
            for (int x = 0; x < picture_.width(); ++x, src += 3) {
                const TColor c = RGB(src[2], src[1], src[0]);
                dst[x] = c == key ? 0u : qRgb(src[2], src[1], src[0]);
            }
        }
        maskedStale_ = false;
    }
    painter.drawImage(target, masked_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) pressedInside_ = true;
    emit mouseDown(event->button(), p.x(), p.y());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMove(event->buttons(), p.x(), p.y());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && pressedInside_) {
        pressedInside_ = false;
        if (rect().contains(p)) {
            // A click handler may close the screen that owns this control.
            QPointer<ImageControl> alive(this);
            emit clicked();
            if (!alive) return;
        }
    }
    emit mouseUp(event->button(), p.x(), p.y());
}

}  // namespace pb
