#pragma once
// Whole-bitmap operations: mirrors and quarter turns.

#include "platform/bitmap.h"

namespace pb {

// Mirrors the bitmap in place, left-right or top-bottom: a copy of the bitmap onto itself
// from the reversed source rectangle (W-1, 0, -1, H) or (0, H-1, W, -1).
void MirrorBitmap(Bitmap& bmp, bool topBottom);

// The bitmap turned clockwise by `degrees`, a multiple of 90 (negative turns count
// anticlockwise; other values are a programming error and return the bitmap unturned).
// A quarter turn of W x H gives H x W: clockwise, target column k of row r is source pixel
// (r, H - 1 - k); anticlockwise it is (W - 1 - r, k).
Bitmap TurnBitmap(const Bitmap& src, int degrees);

}  // namespace pb
