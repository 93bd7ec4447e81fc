#pragma once
// Geometry routines on whole bitmaps shared by the page and the region editor.

#include "platform/bitmap.h"

namespace pb {

// Mirrors the bitmap left-right, or top-bottom, in place: a rectangle copy of the bitmap onto
// itself from the reversed source rectangle.
void Mirror(Bitmap& bmp, bool topBottom);

}  // namespace pb
