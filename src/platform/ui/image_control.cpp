#include "platform/ui/image_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/bitmap_qt.h"
#include "platform/stretch.h"

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
    shrunkStale_ = true;
    update();
}

void ImageControl::setSmoothShrink(bool on) {
    smoothShrink_ = on;
    if (!on) {
        shrunk_ = Bitmap();
        shrunkFrom_ = Bitmap();
    }
    update();
}

namespace {

// The rows (or columns) [from, to) of a picture of `size` pixels shown in `shown` pixels
// reach the shown pixels [first, last) of an area average.
std::pair<int, int> ShownSpan(int from, int to, int size, int shown) {
    const auto scale = [&](int v) { return static_cast<std::int64_t>(v) * shown; };
    const int first = static_cast<int>(scale(from) / size);
    const int last = static_cast<int>((scale(to) + size - 1) / size);
    return {std::clamp(first, 0, shown), std::clamp(last, 0, shown)};
}

}  // namespace

void ImageControl::refreshShrunk(int width, int height) {
    const bool sameSize = shrunk_.width() == width && shrunk_.height() == height &&
                          shrunkFrom_.size() == picture_.size();
    if (!sameSize) {
        shrunk_ = StretchBitmap(picture_, width, height, StretchMode::Halftone);
        shrunkFrom_ = picture_;
        shrunkStale_ = false;
        return;
    }
    if (!shrunkStale_) return;
    shrunkStale_ = false;
    // The changed pixels' bounds, found against the picture last shown: a stroke changes a
    // small part, and only the shown pixels that part reaches are averaged again.
    const int w = picture_.width(), h = picture_.height();
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    int top = h, bottom = 0, left = w, right = 0;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* now = picture_.scanLine(y);
        const std::uint8_t* was = shrunkFrom_.scanLine(y);
        if (std::memcmp(now, was, rowBytes) == 0) continue;
        top = std::min(top, y);
        bottom = y + 1;
        int x0 = 0, x1 = w;
        while (x0 < left && std::memcmp(now + 3 * x0, was + 3 * x0, 3) == 0) ++x0;
        while (x1 > std::max(x0, right) && std::memcmp(now + 3 * (x1 - 1), was + 3 * (x1 - 1), 3) == 0)
            --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
        std::memcpy(shrunkFrom_.scanLine(y), now, rowBytes);
    }
    if (top >= bottom || left >= right) return;
    const auto [sx0, sx1] = ShownSpan(left, right, w, width);
    const auto [sy0, sy1] = ShownSpan(top, bottom, h, height);
    if (sx0 >= sx1 || sy0 >= sy1) return;
    // The whole stretch placed so that only the changed part falls inside `part`: its pixels
    // are averaged exactly as in a full rebuild.
    Bitmap part(sx1 - sx0, sy1 - sy0);
    StretchBits(part, {-sx0, -sy0, width - sx0, height - sy0}, picture_, {0, 0, w, h},
                StretchMode::Halftone);
    for (int y = 0; y < part.height(); ++y)
        std::memcpy(shrunk_.scanLine(sy0 + y) + 3 * sx0, part.scanLine(y),
                    static_cast<std::size_t>(part.width()) * 3);
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
        // The shown size on the device's pixels decides: smaller is averaged, else nearest.
        const qreal ratio = devicePixelRatioF();
        const int shownW = static_cast<int>(std::lround(target.width() * ratio));
        const int shownH = static_cast<int>(std::lround(target.height() * ratio));
        if (smoothShrink_ && stretch_ && shownW > 0 && shownH > 0 &&
            (shownW < picture_.width() || shownH < picture_.height())) {
            refreshShrunk(shownW, shownH);
            QImage shown = ConstImageView(shrunk_);
            shown.setDevicePixelRatio(ratio);
            painter.drawImage(target.topLeft(), shown);
            return;
        }
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
