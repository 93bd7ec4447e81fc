#include "platform/bitmap_ops.h"

#include "platform/stretch.h"

namespace pb {

void MirrorBitmap(Bitmap& bmp, bool topBottom) {
    const int w = bmp.width(), h = bmp.height();
    const Rect reversed = topBottom ? Rect{0, h - 1, w, -1} : Rect{w - 1, 0, -1, h};
    StretchBits(bmp, {0, 0, w, h}, bmp, reversed, StretchMode::ColorOnColor);
}

}  // namespace pb
