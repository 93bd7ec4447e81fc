#include "platform/bitmap_ops.h"

#include <cstring>

#include "platform/stretch.h"

namespace pb {

void MirrorBitmap(Bitmap& bmp, bool topBottom) {
    const int w = bmp.width(), h = bmp.height();
    const Rect reversed = topBottom ? Rect{0, h - 1, w, -1} : Rect{w - 1, 0, -1, h};
    StretchBits(bmp, {0, 0, w, h}, bmp, reversed, StretchMode::ColorOnColor);
}

Bitmap TurnBitmap(const Bitmap& src, int degrees) {
    if (degrees % 90 != 0) return src;
    const int quarter = ((degrees / 90) % 4 + 4) % 4;
    if (quarter == 0 || src.isNull()) return src;
    const int w = src.width(), h = src.height();
    if (quarter == 2) {
        Bitmap dst(w, h);
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* in = src.scanLine(h - 1 - y) + 3 * (w - 1);
            std::uint8_t* out = dst.scanLine(y);
            for (int x = 0; x < w; ++x, out += 3, in -= 3) std::memcpy(out, in, 3);
        }
        return dst;
    }
    Bitmap dst(h, w);
    const std::ptrdiff_t stride = src.stride();
    for (int r = 0; r < w; ++r) {
        std::uint8_t* out = dst.scanLine(r);
        // Clockwise the row walks source column r upwards from the bottom; anticlockwise it
        // walks column W - 1 - r downwards from the top.
        const std::uint8_t* in =
            quarter == 1 ? src.scanLine(h - 1) + 3 * r : src.scanLine(0) + 3 * (w - 1 - r);
        const std::ptrdiff_t step = quarter == 1 ? -stride : stride;
        for (int k = 0; k < h; ++k, out += 3, in += step) std::memcpy(out, in, 3);
    }
    return dst;
}

}  // namespace pb
