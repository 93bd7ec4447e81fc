#pragma once
// The lines of a hatch brush inside a filled outline, as separate line segments: how hatched
// fills are written for readers that draw hatch brushes solid or not at all.
//
// Coordinates are device pixels with the pixel centres at whole numbers (as in raster.h). The
// lines run through the centres of the pixels the bitmap canvas paints for the hatch, with its
// period of 8 device pixels anchored at the device origin: Horizontal y = 8k + 7, Vertical
// x = 8k + 7, FDiagonal "\" x - y = 8k, BDiagonal "/" x + y = 8k + 7; Cross and DiagCross are
// both lines of their pair.

#include <span>
#include <vector>

#include "platform/canvas.h"
#include "platform/raster.h"

namespace pb {

struct HatchSegment {
    PointF a;
    PointF b;
};

// Whether `style` is one of the six hatch styles.
bool IsHatch(BrushStyle style);

// The parts of the hatch lines of `style` that lie inside `contours` (each closed implicitly)
// under `rule` and inside `clip` (pixel centres: left..right-1, top..bottom-1), ordered by
// line. A line along a left or top edge lies inside, along a right or bottom edge outside, as
// the bitmap canvas fills. Nothing for a style that is no hatch.
std::vector<HatchSegment> HatchSegments(std::span<const raster::Contour> contours,
                                        raster::FillRule rule, BrushStyle style, const Rect& clip);

}  // namespace pb
