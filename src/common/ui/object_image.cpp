#include "common/ui/object_image.h"

#include "common/app_state.h"
#include "platform/bitmap_canvas.h"

namespace pb {

TCImg::TCImg(int slot, int left, int top, int width, int height, QWidget* parent) : slot_(slot) {
    image_ = new ImageControl(parent);
    image_->setObjectName(QStringLiteral("CImg%1").arg(slot));
    image_->setGeometry(left, top, width, height);
    image_->setStretch(true);
    image_->setTransparentColour(KeyColour);
    image_->show();
}

TCImg::~TCImg() {
    if (image_) {
        image_->hide();
        image_->deleteLater();
    }
}

Point TCImg::PositionOn(const QWidget& page) const {
    return {image_->x() - page.x(), image_->y() - page.y()};
}

void TCImg::PlaceAtZoom(int x, int y, int zoom, const QWidget& page) {
    image_->move(x * zoom / 100 + page.x(), y * zoom / 100 + page.y());
}

void TCImg::SizeAtZoom(int w, int h, int zoom) { image_->resize(w * zoom / 100, h * zoom / 100); }

void TCImg::DrawSelectionFrame() {
    Bitmap& bmp = image_->picture();
    if (bmp.isNull()) return;
    BitmapCanvas canvas(bmp);
    canvas.brush.style = BrushStyle::Clear;
    canvas.pen = Pen{clSilver, 2, PenStyle::Solid, PenMode::Copy};
    canvas.Rectangle(0, 0, bmp.width() - 1, bmp.height() - 1);
    image_->pictureChanged();
}

TCImg* ObjectSlots::Create(int n, int left, int top, int width, int height, QWidget* parent) {
    if (!valid(n)) return nullptr;
    slots_[n] = std::make_unique<TCImg>(n, left, top, width, height, parent);
    return slots_[n].get();
}

void ObjectSlots::Free(int n) {
    if (valid(n)) slots_[n].reset();
}

void ObjectSlots::FreeAll() {
    for (auto& s : slots_) s.reset();
}

bool ObjectSlots::Any() const {
    for (const auto& s : slots_)
        if (s) return true;
    return false;
}

ObjectSlots& ObjectImages() {
    static ObjectSlots table;
    return table;
}

}  // namespace pb
