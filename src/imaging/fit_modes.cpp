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

Size ScreenSizeAtZoom(Size bitmap, int zoomPercent) {
    return {bitmap.width * zoomPercent / 100, bitmap.height * zoomPercent / 100};
}

Point PastePosition(Point placedOnScreen, Point canvasOnScreen, int zoomPercent, Size placed,
                    Size region) {
    const int zoom = std::max(zoomPercent, 1);
    auto along = [zoom](int onScreen, int canvas, int side, int regionSide) {
        const int at = (onScreen - canvas) * 100 / zoom;
        if (side > regionSide) return at;
        return std::clamp(at, 0, regionSide - side);
    };
    return {along(placedOnScreen.x, canvasOnScreen.x, placed.width, region.width),
            along(placedOnScreen.y, canvasOnScreen.y, placed.height, region.height)};
}

Size RoomForPlaced(Size region, Point pastePosition) {
    return {region.width - pastePosition.x, region.height - pastePosition.y};
}

Point DraggedPlacedPosition(Point topLeft, Point pointer, Size placedOnScreen,
                            const Rect& canvasOnScreen) {
    auto along = [](int at, int to, int side, int low, int canvasSide) {
        const int moved = at + to - side / 2;
        return std::max(std::min(moved, low + canvasSide - side), low);
    };
    return {along(topLeft.x, pointer.x, placedOnScreen.width, canvasOnScreen.left,
                  canvasOnScreen.width()),
            along(topLeft.y, pointer.y, placedOnScreen.height, canvasOnScreen.top,
                  canvasOnScreen.height())};
}

}  // namespace pb
