#pragma once
// How the import screen sizes a loaded picture for the region: the four fit modes and the
// sizing by hand of the last one. Pure functions; the screen shows the result.

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace pb {

enum class FitMode {
    ActualSize = 0,  // "原寸": unscaled, cropped to the canvas
    FillCanvas = 1,  // "Canvasめいっぱい": stretched to the whole canvas
    KeepAspect = 2,  // "Canvas内で縦横比保持": FitToBox into the canvas
    ByHand = 3,  // "自力でサイズ調整": starts as KeepAspect, then sized by the arrow buttons
};

// The size the picture is given in a mode: in mode 0 the smaller of picture and canvas on
// each side, in mode 1 the canvas, in modes 2 and 3 FitToBox of the picture into the canvas.
Size FitTargetSize(FitMode mode, Size picture, Size canvas);

// The placed picture for a mode: the top-left part of `picture` unscaled in mode 0, the whole
// picture stretched to the target size otherwise (HALFTONE when `halftone`, else
// COLORONCOLOR).
Bitmap FitPicture(const Bitmap& picture, FitMode mode, Size canvas, bool halftone);

// The picture stretched to a size chosen by hand (mode 3), always from the full picture.
Bitmap StretchPictureTo(const Bitmap& picture, Size size, bool halftone);

// The arrow buttons of mode 3: 1 "←" narrower, 2 "→" wider, 3 "↑" lower, 4 "↓" taller, each by
// 4 pixels. Each side is then raised to at least 19 pixels and lowered to `limit` (the room
// from the placed picture's corner to the canvas's far side), the limit winning; a side never
// drops below 1 pixel. Other button numbers leave the size as it is, limits applied.
Size SizeByHand(Size current, int button, Size limit);

// Whether a placed picture of `placed` leaves a gap in the canvas (narrower or lower).
bool LeavesGap(Size placed, Size canvas);

}  // namespace pb
