#include "common/bitmap_geometry.h"

#include "platform/bitmap_canvas.h"

namespace pb {

void Mirror(Bitmap& bmp, bool topBottom) {
    const int w = bmp.width(), h = bmp.height();
    if (bmp.isNull()) return;
    BitmapCanvas canvas(bmp);
    const Rect reversed = topBottom ? Rect{0, h - 1, w, -1} : Rect{w - 1, 0, -1, h};
    canvas.CopyRect({0, 0, w, h}, bmp, reversed);
}

}  // namespace pb
