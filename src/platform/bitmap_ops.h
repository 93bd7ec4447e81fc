#pragma once
// Whole-bitmap operations built on the rectangle copy.

#include "platform/bitmap.h"

namespace pb {

// Mirrors the bitmap in place, left-right or top-bottom: a copy of the bitmap onto itself
// from the reversed source rectangle (W-1, 0, -1, H) or (0, H-1, W, -1).
void MirrorBitmap(Bitmap& bmp, bool topBottom);

}  // namespace pb
