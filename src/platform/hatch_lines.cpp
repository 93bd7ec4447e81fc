#include "platform/hatch_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pb {

namespace {

constexpr int kPeriod = 8;

// A family of parallel lines n . p = offset + kPeriod * k, walked along d (perpendicular to n).
struct Family {
    PointF n;
    double offset;
    PointF d;
};

double Dot(PointF a, PointF b) {
    return a.x * b.x + a.y * b.y;
}

struct Crossing {
    double t;
    int direction;
};

// The segments of one line: where it crosses the contours' edges, the inside parts between.
void AddLine(std::span<const raster::Contour> contours, raster::FillRule rule, const Family& f,
             double c, double tFrom, double tTo, std::vector<Crossing>& crossings,
             std::vector<HatchSegment>& out) {
    crossings.clear();
    const double dd = Dot(f.d, f.d);
    for (const raster::Contour& contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const PointF p = contour[i], q = contour[(i + 1) % contour.size()];
            const double sp = Dot(f.n, p) - c, sq = Dot(f.n, q) - c;
            // Points on the line count as on its negative side: a line along a top or left
            // edge is inside, along a bottom or right edge outside.
            if ((sp > 0) == (sq > 0)) continue;
            const double u = sp / (sp - sq);
            const PointF at{p.x + (q.x - p.x) * u, p.y + (q.y - p.y) * u};
            crossings.push_back({Dot(f.d, at) / dd, sq > sp ? 1 : -1});
        }
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
    const PointF base{f.n.x * c / Dot(f.n, f.n), f.n.y * c / Dot(f.n, f.n)};
    auto point = [&](double t) { return PointF{base.x + f.d.x * t, base.y + f.d.y * t}; };
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += rule == raster::FillRule::Alternate ? 1 : crossings[i].direction;
        const bool inside = rule == raster::FillRule::Alternate ? winding % 2 != 0 : winding != 0;
        if (!inside) continue;
        const double a = std::max(crossings[i].t, tFrom), b = std::min(crossings[i + 1].t, tTo);
        if (b > a) out.push_back({point(a), point(b)});
    }
}

}  // namespace

bool IsHatch(BrushStyle style) {
    switch (style) {
        case BrushStyle::BDiagonal:
        case BrushStyle::FDiagonal:
        case BrushStyle::Cross:
        case BrushStyle::DiagCross:
        case BrushStyle::Horizontal:
        case BrushStyle::Vertical:
            return true;
        default:
            return false;
    }
}

std::vector<HatchSegment> HatchSegments(std::span<const raster::Contour> contours,
                                        raster::FillRule rule, BrushStyle style, const Rect& clip) {
    const Family horizontal{{0, 1}, 7, {1, 0}}, vertical{{1, 0}, 7, {0, 1}};
    const Family forward{{1, -1}, 0, {1, 1}}, backward{{1, 1}, 7, {1, -1}};
    std::vector<Family> families;
    switch (style) {
        case BrushStyle::Horizontal:
            families = {horizontal};
            break;
        case BrushStyle::Vertical:
            families = {vertical};
            break;
        case BrushStyle::FDiagonal:
            families = {forward};
            break;
        case BrushStyle::BDiagonal:
            families = {backward};
            break;
        case BrushStyle::Cross:
            families = {horizontal, vertical};
            break;
        case BrushStyle::DiagCross:
            families = {forward, backward};
            break;
        default:
            return {};
    }
    std::vector<HatchSegment> out;
    if (clip.isEmpty()) return out;
    // The area of the clip's pixels.
    const double left = clip.left - 0.5, top = clip.top - 0.5, right = clip.right - 0.5,
                 bottom = clip.bottom - 0.5;
    const PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    std::vector<Crossing> crossings;
    for (const Family& f : families) {
        // The lines that meet both the outline's extent and the clip.
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (const raster::Contour& contour : contours)
            for (const PointF& p : contour) {
                low = std::min(low, Dot(f.n, p));
                high = std::max(high, Dot(f.n, p));
            }
        if (!(low <= high)) continue;
        // Each family's normal has components 0 or +-1: the clip's extent along it is that of
        // its corners.
        double cornerLow = Dot(f.n, corners[0]), cornerHigh = cornerLow;
        for (const PointF& p : corners) {
            cornerLow = std::min(cornerLow, Dot(f.n, p));
            cornerHigh = std::max(cornerHigh, Dot(f.n, p));
        }
        low = std::max(low, cornerLow);
        high = std::min(high, cornerHigh);
        if (low > high) continue;
        const long first = std::lround(std::ceil((low - f.offset) / kPeriod));
        const long last = std::lround(std::floor((high - f.offset) / kPeriod));
        for (long k = first; k <= last; ++k) {
            const double c = f.offset + double{kPeriod} * static_cast<double>(k);
            // Where the line runs inside the clip, along d.
            double tFrom = -std::numeric_limits<double>::infinity(), tTo = -tFrom;
            const PointF base{f.n.x * c / Dot(f.n, f.n), f.n.y * c / Dot(f.n, f.n)};
            bool missed = false;
            auto within = [&](double baseV, double dV, double lo, double hi) {
                if (dV == 0) {
                    missed = missed || baseV < lo || baseV > hi;
                    return;
                }
                double a = (lo - baseV) / dV, b = (hi - baseV) / dV;
                if (a > b) std::swap(a, b);
                tFrom = std::max(tFrom, a);
                tTo = std::min(tTo, b);
            };
            within(base.x, f.d.x, left, right);
            within(base.y, f.d.y, top, bottom);
            if (missed || tFrom >= tTo) continue;
            AddLine(contours, rule, f, c, tFrom, tTo, crossings, out);
        }
    }
    return out;
}

}  // namespace pb
