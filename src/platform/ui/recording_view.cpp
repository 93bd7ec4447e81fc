#include "platform/ui/recording_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/painter_canvas.h"

namespace pb {

RecordingView::RecordingView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RecordingView::setPicture(std::shared_ptr<const Recording> picture) {
    picture_ = std::move(picture);
    update();
}

void RecordingView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), Qt::white);
    if (!picture_) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    PainterCanvas canvas(painter, {width(), height()});
    picture_->PlayInto(canvas, {0, 0, width(), height()});
}

}  // namespace pb
