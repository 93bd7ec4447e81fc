#pragma once
// The four-corner correction: a picture warped into the quadrilateral of four corner points,
// in two separable passes (columns, then rows, or the other way round), each line resampled
// linearly with per-byte blends. Pure functions over bitmaps.

#include <array>
#include <cstdint>
#include <span>

#include "platform/bitmap.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace pb {

// The corners of the quadrilateral in source pixel units: [0] top-left, [1] bottom-left,
// [2] top-right, [3] bottom-right. The picture's own corners (0, 0), (0, H), (W, 0), (W, H)
// leave it unchanged.
using WarpCorners = std::array<PointF, 4>;

WarpCorners PictureCorners(int width, int height);

// The picture warped so that its corners land on `corners`; the result has the picture's
// size, and what the quadrilateral does not cover takes `background`.
//  - Corners given upside down on both sides (or left-right swapped at top and bottom) are
//    put the right way round first.
//  - When both top corners lie above their bottom corners the columns are placed first
//    (column i spans the straight line between the top and bottom edges' points at i), then
//    each row is fitted between the two edges its centre line (y + 0.1) crosses; otherwise
//    rows first, then columns. A line that does not cross exactly two edges keeps what the
//    first pass made.
Bitmap WarpQuadrilateral(const Bitmap& src, const WarpCorners& corners, TColor background);

// One line of `n` pixels (3 bytes each, blue, green, red) resampled in place so that its
// full length spans s..e (pixel units of the same line; s > e is taken the other way round,
// and the span is cut to 0..n). Pixels outside the span take the background; the end pixels
// blend with it by how much of them the span covers. Lines that would place their pixels
// closer than half a pixel apart are halved first (pairs averaged per byte, truncating), as
// often as needed; a span narrower than half a pixel leaves only background.
void ResampleLine(std::span<std::uint8_t> line, double s, double e, TColor background);

// The corner step of the correction screen: corner `corner` (0..3) moved along one axis by
// a sixth of the picture's width (x) or height (y), staying within 0..W (0..H).
WarpCorners StepCorner(const WarpCorners& corners, int corner, bool alongX, bool plus, int width,
                       int height);

}  // namespace pb
