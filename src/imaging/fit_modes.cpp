#include "imaging/fit_modes.h"

#include <algorithm>

#include "common/picture_browsing.h"
#include "platform/stretch.h"

namespace pb {

namespace {

constexpr int kHandStep = 4;
constexpr int kSmallestSide = 19;

}  // namespace

Size FitTargetSize(FitMode mode, Size picture, Size canvas) {
    switch (mode) {
        case FitMode::ActualSize:
            return {std::min(canvas.width, picture.width), std::min(canvas.height, picture.height)};
        case FitMode::FillCanvas:
            return canvas;
        case FitMode::KeepAspect:
        case FitMode::ByHand:
            break;
    }
    return FitToBox(picture.width, picture.height, canvas.width, canvas.height);
}

Bitmap StretchPictureTo(const Bitmap& picture, Size size, bool halftone) {
    return StretchBitmap(picture, size.width, size.height,
                         halftone ? StretchMode::Halftone : StretchMode::ColorOnColor);
}

Bitmap FitPicture(const Bitmap& picture, FitMode mode, Size canvas, bool halftone) {
    const Size target = FitTargetSize(mode, picture.size(), canvas);
    if (mode != FitMode::ActualSize) return StretchPictureTo(picture, target, halftone);
    Bitmap out(target.width, target.height);
    StretchBits(out, {0, 0, target.width, target.height}, picture,
                {0, 0, target.width, target.height}, StretchMode::ColorOnColor);
    return out;
}

Size SizeByHand(Size current, int button, Size limit) {
    int w = current.width, h = current.height;
    switch (button) {
        case 1:
            w -= kHandStep;
            break;
        case 2:
            w += kHandStep;
            break;
        case 3:
            h -= kHandStep;
            break;
        case 4:
            h += kHandStep;
            break;
        default:
            break;
    }
    // A picture pushed against the far side could leave no room at all; it keeps one pixel.
    w = std::max(std::min(std::max(w, kSmallestSide), limit.width), 1);
    h = std::max(std::min(std::max(h, kSmallestSide), limit.height), 1);
    return {w, h};
}

bool LeavesGap(Size placed, Size canvas) {
    return placed.width < canvas.width || placed.height < canvas.height;
}

}  // namespace pb
