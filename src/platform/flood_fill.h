#pragma once
// Surface flood fill (FloodFill with FLOODFILLSURFACE): the 4-connected area of one colour
// around a pixel, found with a scanline span fill.

#include <vector>

#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

// The spans (disjoint, in no particular order) of the 4-connected area of colour `surface`
// that holds (x, y). Empty when (x, y) lies outside the bitmap or has another colour.
std::vector<Span> SurfaceRegion(const Bitmap& bmp, int x, int y, TColor surface);

// Paints that area with `fill`. Returns whether (x, y) lay in an area of colour `surface`.
bool FloodFillSurface(Bitmap& bmp, int x, int y, TColor surface, TColor fill);

}  // namespace pb
