#pragma once
// LineDDA: the pixels of a line, one step at a time, as the canvas draws a one-pixel line
// (from the start point, the end point left out, the minor coordinate rounded halves away
// from the start).

#include <climits>

#include "platform/geometry.h"
#include "platform/raster.h"

namespace pb {

// Calls visit(x, y) for each pixel of the line from `from` to `to`, `to` excluded.
template <class Visit>
void LineDDA(Point from, Point to, Visit&& visit) {
    const Rect everywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    raster::ForEachLinePixel(from, to, false, everywhere, [&](int x, int y, int) { visit(x, y); });
}

}  // namespace pb
