#pragma once
// Scan conversion behind the bitmap canvas. Coordinates are pixel indices: the point (x, y)
// is the centre of pixel (x, y), so an outline "through the pixel centres" of l..r-1 runs
// from x = l to x = r - 1. Everything produces spans (runs of pixels), never touches pixels
// itself, and clips to a rectangle.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/geometry.h"

namespace pb::raster {

using pb::PointF;
using Contour = std::vector<PointF>;

enum class FillRule { Alternate, Winding };

// Appends the spans of pixels whose centres lie inside the contours (each closed implicitly).
// A centre exactly on a left or top edge is inside, on a right or bottom edge outside, so
// shapes that share an edge never both paint it. Rows come in ascending order; the spans of a
// row are disjoint and ascending. Only pixels inside `clip` are produced.
void FillContours(std::span<const Contour> contours, FillRule rule, const Rect& clip,
                  std::vector<Span>& out);

// Contours whose Winding fill is the area a round pen of `width` pixels covers when it is
// drawn along `points` (round ends and joins), closing the figure when `closed`.
void AppendWidePenContours(std::span<const PointF> points, bool closed, double width,
                           std::vector<Contour>& out);

// Appends the points of a cubic Bezier after p0 up to and including p3, as line segments
// that stay within `tolerance` pixels of the curve.
void FlattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance,
                  std::vector<PointF>& out);

// An ellipse centred at c with radii rx, ry as four cubic Beziers: 13 points, starting at the
// rightmost point and running counter-clockwise on screen (upwards first).
std::vector<PointF> EllipseBeziers(PointF c, double rx, double ry);

// The closed outline of a box from (l, t) to (r, b) whose corners are quarter ellipses of
// radii rx, ry (0 for square corners), as a polygon within `tolerance` of the curves. With
// rx = (r - l) / 2 and ry = (b - t) / 2 it is an ellipse.
Contour RoundBoxPolygon(double l, double t, double r, double b, double rx, double ry,
                        double tolerance);

// The one-pixel line from a to b: pixel i (0 <= i < n, n = max(|dx|, |dy|), plus one when
// includeEnd) lies i steps from `a` along the major axis; the minor coordinate is rounded,
// halves away from `a`. `visit(x, y, i)` is called for the pixels inside `clip` only, so a
// long line outside the bitmap costs nothing.
template <class Visit>
void ForEachLinePixel(Point a, Point b, bool includeEnd, const Rect& clip, Visit&& visit);

// The one-pixel outline of a box with corners `box` (inclusive pixel indices, left <= right,
// top <= bottom) whose corners are quarter ellipses of ew x eh pixels (clamped to the box;
// an ellipse when they are the box's size). The curve runs through the pixel centres: each
// column and each row takes the pixel nearest to where the curve crosses it (halves towards
// the outside), so the outline is connected at any slope and symmetric. For each row it is a
// left and a right run; the top and bottom rows are one run.
struct RowRuns {
    int leftFrom, leftTo;    // inclusive columns of the left part of the outline
    int rightFrom, rightTo;  // inclusive columns of the right part
};
class RoundBoxOutline {
  public:
    // Only what lies within `clip` (and one column either side) is traced.
    RoundBoxOutline(const Rect& box, int ew, int eh, const Rect& clip);
    // The outline's pixels, each once.
    void AppendOutline(std::vector<Span>& out) const;
    // Pixels strictly inside the outline.
    void AppendInterior(std::vector<Span>& out) const;
    // The outline and everything inside it.
    void AppendFilled(std::vector<Span>& out) const;

  private:
    int lastRow() const { return first_ + static_cast<int>(rows_.size()) - 1; }
    bool isEdgeRow(int y) const { return y == box_.top || y == box_.bottom; }
    void plot(int x, int y, int side);  // side: -1 left, 1 right, 0 both
    void append(std::vector<Span>& out, int y, int left, int right) const;
    Rect box_;
    Rect clip_;
    int first_ = 0;
    std::vector<RowRuns> rows_;
};

// ---------------------------------------------------------------------------------------------

template <class Visit>
void ForEachLinePixel(Point a, Point b, bool includeEnd, const Rect& clip, Visit&& visit) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
    const std::int64_t count = major + (includeEnd ? 1 : 0);
    if (count <= 0 || clip.isEmpty()) return;
    // Steps along the major axis that can land inside the clip.
    std::int64_t lo = 0, hi = count - 1;
    const int majorStart = xMajor ? a.x : a.y;
    const int majorStep = xMajor ? sx : sy;
    const int clipLo = xMajor ? clip.left : clip.top;
    const int clipHi = (xMajor ? clip.right : clip.bottom) - 1;
    if (majorStep > 0) {
        lo = std::max<std::int64_t>(lo, std::int64_t{clipLo} - majorStart);
        hi = std::min<std::int64_t>(hi, std::int64_t{clipHi} - majorStart);
    } else {
        lo = std::max<std::int64_t>(lo, std::int64_t{majorStart} - clipHi);
        hi = std::min<std::int64_t>(hi, std::int64_t{majorStart} - clipLo);
    }
    if (minor > 0 && lo <= hi) {
        // The same for the minor axis, from the inverse of the rounding below (one step of
        // slack each way; the pixel test below is exact).
        const int minorStart = xMajor ? a.y : a.x;
        const int minorStep = xMajor ? sy : sx;
        const int mLo = xMajor ? clip.top : clip.left;
        const int mHi = (xMajor ? clip.bottom : clip.right) - 1;
        std::int64_t kLo, kHi;  // minor offsets (in steps) that are visible
        if (minorStep > 0) {
            kLo = std::int64_t{mLo} - minorStart;
            kHi = std::int64_t{mHi} - minorStart;
        } else {
            kLo = std::int64_t{minorStart} - mHi;
            kHi = std::int64_t{minorStart} - mLo;
        }
        if (kHi < 0 || kLo > minor) return;
        const std::int64_t iLo = (std::max<std::int64_t>(kLo, 0) * 2 - 1) * major / (2 * minor) - 1;
        const std::int64_t iHi =
            (std::min<std::int64_t>(kHi, minor) * 2 + 1) * major / (2 * minor) + 1;
        lo = std::max(lo, iLo);
        hi = std::min(hi, iHi);
    }
    for (std::int64_t i = lo; i <= hi; ++i) {
        const std::int64_t k = minor == 0 ? 0 : (2 * i * minor + major) / (2 * major);
        const std::int64_t x = xMajor ? a.x + sx * i : a.x + sx * k;
        const std::int64_t y = xMajor ? a.y + sy * k : a.y + sy * i;
        if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) continue;
        visit(static_cast<int>(x), static_cast<int>(y), static_cast<int>(i));
    }
}

}  // namespace pb::raster
