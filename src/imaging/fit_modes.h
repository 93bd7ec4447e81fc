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

// The on-screen size of a bitmap of `bitmap` pixels at zoom `zoomPercent` (10..800): each side
// x zoom div 100.
Size ScreenSizeAtZoom(Size bitmap, int zoomPercent);

// Where the placed picture lands in RegionBitmap, in bitmap pixels: its offset from the
// canvas's corner on screen x 100 div zoom. A picture that fits in the region is kept inside
// it, so that the truncation of its on-screen size at a zoom other than 100 cannot push its
// last column or row off the region.
Point PastePosition(Point placedOnScreen, Point canvasOnScreen, int zoomPercent, Size placed,
                    Size region);

// The room the sizing by hand may fill: from the paste position to the region's far sides,
// in bitmap pixels. Measured where the picture would be pasted rather than from the on-screen
// position, so that the limit holds at every zoom.
Size RoomForPlaced(Size region, Point pastePosition);

// The placed image dragged so that its centre follows the pointer (`pointer` in the image's
// own coordinates, everything else in the coordinates the image and the canvas share): the new
// top-left, kept inside the canvas; when the image is larger than the canvas it sits at the
// canvas's left or top.
Point DraggedPlacedPosition(Point topLeft, Point pointer, Size placedOnScreen,
                            const Rect& canvasOnScreen);

}  // namespace pb
