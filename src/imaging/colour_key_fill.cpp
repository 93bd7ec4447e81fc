#include "imaging/colour_key_fill.h"

#include <algorithm>
#include <cstring>

namespace pb {

Bitmap ApplyKeyFill(const Bitmap& opened, const KeyMatch& match, const KeyFill& fill) {
    Bitmap out = opened;
    switch (fill.style) {
        case KeyFillStyle::Solid:
            ReplaceColour(out, match, fill.colour, &opened);
            break;
        case KeyFillStyle::Stripe:
            StripeFill(out, std::clamp(fill.stripeWidth, kMinStripeWidth, kMaxStripeWidth),
                       fill.components, match, fill.horizontal, &opened);
            break;
        case KeyFillStyle::Gradation:
            if (fill.horizontal)
                GradationFillDown(out, fill.components, match, &opened);
            else
                GradationFillAcross(out, fill.components, match, &opened);
            break;
        case KeyFillStyle::Picture:
            if (fill.picture && !fill.picture->isNull())
                ReplaceFromPicture(
                    out, match, PictureToSize(*fill.picture, out.width(), out.height()), &opened);
            break;
    }
    return out;
}

Bitmap ApplyMarginFill(const Bitmap& opened, const KeyFill& fill) {
    return ApplyKeyFill(opened, KeyMatch::Exact(clWhite), fill);
}

Bitmap PictureToSize(const Bitmap& picture, int width, int height) {
    Bitmap out(width, height, clWhite);
    if (picture.isNull()) return out;
    const int pw = picture.width();
    const int ph = picture.height();
    for (int y = 0; y < out.height(); ++y) {
        const std::uint8_t* src = picture.scanLine(y % ph);
        std::uint8_t* dst = out.scanLine(y);
        for (int x = 0; x < out.width(); x += pw) {
            const int n = std::min(pw, out.width() - x);
            std::memcpy(dst + 3 * x, src, static_cast<std::size_t>(3 * n));
        }
    }
    return out;
}

Size KeyFillPreviewSize(int width, int height) {
    if (width <= 0 || height <= 0) return {0, 0};
    // A region one pixel thin still shows as one pixel.
    if (width <= 3 * height) return {std::max(1, width * 80 / height), 80};
    return {240, std::max(1, height * 240 / width)};
}

}  // namespace pb
