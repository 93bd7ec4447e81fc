#include "imaging/image_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "imaging/rounding.h"
#include "platform/bitmap_ops.h"
#include "platform/stretch.h"

namespace pb {

Bitmap SqueezeIntoFrame(const Bitmap& picture, int width, int height) {
    if (picture.width() == width && picture.height() == height) return picture;
    return StretchBitmap(picture, width, height, StretchMode::Halftone);
}

void TurnRegionQuarter(Bitmap& turned, Bitmap& region, bool clockwise) {
    if (turned.isNull()) return;
    turned = TurnBitmap(turned, clockwise ? 90 : -90);
    region = SqueezeIntoFrame(turned, region.width(), region.height());
}

Bitmap RotateByAngle(const Bitmap& src, int degrees, TColor background) {
    if (src.isNull()) return src;
    const double a = degrees * std::numbers::pi / 180.0;
    const double cs = std::cos(a), sn = std::sin(a);
    const int w = src.width(), h = src.height();
    // Halves round to even, as the sizes of stored regions expect.
    const int outW = static_cast<int>(RoundHalfEven(std::abs(h * sn) + std::abs(w * cs))) + 1;
    const int outH = static_cast<int>(RoundHalfEven(std::abs(h * cs) + std::abs(w * sn))) + 1;
    Bitmap out(outW, outH, background);
    const int cx = outW / 2, cy = outH / 2;
    // The sample position walks the source along the turned axes, pixel by pixel and row by
    // row, as the accumulated steps; rounding each position picks the nearest source pixel.
    double sx = w / 2.0 - cx * cs - cy * sn;
    double sy = h / 2.0 + cx * sn - cy * cs;
    for (int y = 0; y < outH; ++y) {
        std::uint8_t* row = out.scanLine(y);
        for (int x = 0; x < outW; ++x) {
            const double px = RoundHalfEven(sx), py = RoundHalfEven(sy);
            if (px >= 0 && px < w && py >= 0 && py < h) {
                const std::uint8_t* p =
                    src.scanLine(static_cast<int>(py)) + 3 * static_cast<int>(px);
                row[3 * x] = p[0];
                row[3 * x + 1] = p[1];
                row[3 * x + 2] = p[2];
            }
            sx += cs;
            sy -= sn;
        }
        sx += sn - outW * cs;
        sy += cs + outW * sn;
    }
    return out;
}

Bitmap RegionAtAngle(const Bitmap& atOpen, int degrees) {
    if (degrees % 360 == 0 || atOpen.isNull()) return atOpen;
    return SqueezeIntoFrame(RotateByAngle(atOpen, degrees, clWhite), atOpen.width(),
                            atOpen.height());
}

int GreyLevel(TColor c) {
    return static_cast<int>(
        RoundHalfEven(0.114 * GetBValue(c) + 0.587 * GetGValue(c) + 0.299 * GetRValue(c)));
}

Bitmap SplitTwoColours(const Bitmap& opened, TColor colourA, int threshold, TColor colourB) {
    const int w = opened.width(), h = opened.height();
    if (opened.isNull()) return opened;
    threshold = std::clamp(threshold, 0, 255);
    // A grey level per byte triple, BGR order, computed once.
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(w) * h);
    int darkest = 255;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = opened.scanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const int l = GreyLevel(RGB(p[2], p[1], p[0]));
            grey[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(l);
            darkest = std::min(darkest, l);
        }
    }
    long countA = 0;
    for (const std::uint8_t l : grey)
        if (l - darkest <= threshold) ++countA;
    const long countB = static_cast<long>(grey.size()) - countA;
    const bool swap = countB > countA;
    Bitmap out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool isA = grey[static_cast<std::size_t>(y) * w + x] - darkest <= threshold;
            out.setPixel(x, y, isA != swap ? colourA : colourB);
        }
    return out;
}

}  // namespace pb
