#include "platform/raster.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace pb::raster {

namespace {

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    int dir;                // +1 downwards, -1 upwards
    int rowFrom, rowTo;     // sampled rows rowFrom..rowTo-1
};

struct Crossing {
    double x;
    int dir;
};

bool Finite(const PointF& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// First pixel column whose centre is at or right of x, kept in a range where the int
// conversion is safe.
int FirstColumnFrom(double x, const Rect& clip) {
    const double c = std::ceil(x);
    if (c < clip.left) return clip.left;
    if (c > clip.right) return clip.right;
    return static_cast<int>(c);
}

void AppendSpan(std::vector<Span>& out, int y, int left, int right, const Rect& clip) {
    left = std::max(left, clip.left);
    right = std::min(right, clip.right);
    if (left < right) out.push_back({y, left, right});
}

}  // namespace

void FillContours(std::span<const Contour> contours, FillRule rule, const Rect& clip,
                  std::vector<Span>& out) {
    if (clip.isEmpty()) return;
    std::vector<Edge> edges;
    for (const Contour& c : contours) {
        const std::size_t n = c.size();
        if (n < 3) continue;
        if (!std::all_of(c.begin(), c.end(), Finite)) continue;
        for (std::size_t i = 0; i < n; ++i) {
            const PointF& p = c[i];
            const PointF& q = c[(i + 1) % n];
            if (p.y == q.y) continue;
            Edge e =
                p.y < q.y ? Edge{p.x, p.y, q.x, q.y, 1, 0, 0} : Edge{q.x, q.y, p.x, p.y, -1, 0, 0};
            const double from = std::max(std::ceil(e.y0), static_cast<double>(clip.top));
            const double to = std::min(std::ceil(e.y1), static_cast<double>(clip.bottom));
            if (from >= to) continue;
            e.rowFrom = static_cast<int>(from);
            e.rowTo = static_cast<int>(to);
            edges.push_back(e);
        }
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.rowFrom < b.rowFrom; });
    int lastRow = INT_MIN;
    for (const Edge& e : edges) lastRow = std::max(lastRow, e.rowTo - 1);

    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    for (int y = edges.front().rowFrom; y <= lastRow; ++y) {
        while (next < edges.size() && edges[next].rowFrom <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->rowTo <= y; });
        if (active.empty()) {
            if (next < edges.size()) y = edges[next].rowFrom - 1;
            continue;
        }
        crossings.clear();
        for (const Edge* e : active) {
            // Written so that an edge between integer points crosses an integer row exactly.
            const double x = e->x0 + (y - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
            crossings.push_back({x, e->dir});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        double enteredAt = 0;
        for (const Crossing& c : crossings) {
            const bool wasInside = rule == FillRule::Winding ? winding != 0 : (winding & 1) != 0;
            winding += rule == FillRule::Winding ? c.dir : 1;
            const bool inside = rule == FillRule::Winding ? winding != 0 : (winding & 1) != 0;
            if (!wasInside && inside) {
                enteredAt = c.x;
            } else if (wasInside && !inside) {
                const int left = FirstColumnFrom(enteredAt, clip);
                const int right = FirstColumnFrom(c.x, clip);
                if (left < right) out.push_back({y, left, right});
            }
        }
    }
}

namespace {

int CircleSteps(double radius) {
    // Vertices enough for the polygon to stay within a tenth of a pixel of the circle.
    if (radius <= 0.1) return 8;
    const double step = std::acos(std::max(-1.0, 1.0 - 0.1 / radius));
    const int n = static_cast<int>(std::ceil(2 * std::numbers::pi / step));
    // A multiple of four puts vertices on the axes through the centre, so the round ends of
    // horizontal and vertical lines reach exactly half the width.
    return (std::clamp(n, 8, 512) + 3) / 4 * 4;
}

// A convex contour around the segment p0-p1 with round ends; all contours made here turn the
// same way, so their Winding fill is their union.
Contour Capsule(PointF p0, PointF p1, double r, int steps) {
    Contour c;
    const double dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double len = std::hypot(dx, dy);
    const double pi = std::numbers::pi;
    if (len < 1e-9) {
        c.reserve(steps);
        for (int i = 0; i < steps; ++i) {
            const double t = 2 * pi * i / steps;
            c.push_back({p0.x + r * std::cos(t), p0.y + r * std::sin(t)});
        }
        return c;
    }
    const double theta = std::atan2(dy, dx);
    const int half = steps / 2;
    c.reserve(2 * (half + 1));
    for (int i = 0; i <= half; ++i) {
        const double t = theta - pi / 2 + pi * i / half;
        c.push_back({p1.x + r * std::cos(t), p1.y + r * std::sin(t)});
    }
    for (int i = 0; i <= half; ++i) {
        const double t = theta + pi / 2 + pi * i / half;
        c.push_back({p0.x + r * std::cos(t), p0.y + r * std::sin(t)});
    }
    return c;
}

}  // namespace

void AppendWidePenContours(std::span<const PointF> points, bool closed, double width,
                           std::vector<Contour>& out) {
    if (points.empty()) return;
    const double r = width / 2;
    const int steps = CircleSteps(r);
    std::vector<PointF> pts;
    pts.reserve(points.size());
    for (const PointF& p : points) {
        if (!Finite(p)) return;
        if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
    }
    if (pts.size() == 1) {
        out.push_back(Capsule(pts[0], pts[0], r, steps));
        return;
    }
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
        out.push_back(Capsule(pts[i], pts[i + 1], r, steps));
    if (closed && pts.size() > 2) out.push_back(Capsule(pts.back(), pts.front(), r, steps));
}

void FlattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance,
                  std::vector<PointF>& out) {
    // A uniform split in n parts deviates from the curve by at most 3/4 * M / n^2, M being the
    // larger second difference of the control points.
    const double m = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                              std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    int n = 1;
    if (std::isfinite(m) && m > 0)
        n = static_cast<int>(std::clamp(std::ceil(std::sqrt(0.75 * m / tolerance)), 1.0, 1000.0));
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back(
            {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    out.push_back(p3);
}

std::vector<PointF> EllipseBeziers(PointF c, double rx, double ry) {
    // Control distance of a quarter circle drawn as one cubic.
    constexpr double k = 0.5522847498307936;
    const double kx = k * rx, ky = k * ry;
    return {
        {c.x + rx, c.y},      {c.x + rx, c.y - ky}, {c.x + kx, c.y - ry}, {c.x, c.y - ry},
        {c.x - kx, c.y - ry}, {c.x - rx, c.y - ky}, {c.x - rx, c.y},      {c.x - rx, c.y + ky},
        {c.x - kx, c.y + ry}, {c.x, c.y + ry},      {c.x + kx, c.y + ry}, {c.x + rx, c.y + ky},
        {c.x + rx, c.y},
    };
}

Contour RoundBoxPolygon(double l, double t, double r, double b, double rx, double ry,
                        double tolerance) {
    rx = std::clamp(rx, 0.0, (r - l) / 2);
    ry = std::clamp(ry, 0.0, (b - t) / 2);
    if (rx <= 0 || ry <= 0) return {{l, t}, {r, t}, {r, b}, {l, b}};
    constexpr double k = 0.5522847498307936;
    Contour c;
    // Clockwise on screen, each corner from the end of one straight side to the start of the
    // next; the straight sides are the gaps between the corners.
    auto corner = [&](PointF from, PointF c1, PointF c2, PointF to) {
        if (c.empty() || c.back().x != from.x || c.back().y != from.y) c.push_back(from);
        FlattenCubic(from, c1, c2, to, tolerance, c);
    };
    corner({r - rx, t}, {r - rx + k * rx, t}, {r, t + ry - k * ry}, {r, t + ry});
    corner({r, b - ry}, {r, b - ry + k * ry}, {r - rx + k * rx, b}, {r - rx, b});
    corner({l + rx, b}, {l + rx - k * rx, b}, {l, b - ry + k * ry}, {l, b - ry});
    corner({l, t + ry}, {l, t + ry - k * ry}, {l + rx - k * rx, t}, {l + rx, t});
    if (c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y) c.pop_back();
    return c;
}

// --- rounded box -------------------------------------------------------------------------------

RoundBoxOutline::RoundBoxOutline(const Rect& box, int ew, int eh, const Rect& clip)
    : box_(box), clip_(clip) {
    const int firstRow = std::max(box.top, clip.top);
    const int lastRow = std::min(box.bottom, clip.bottom - 1);
    if (lastRow < firstRow || box.right < box.left) return;
    first_ = firstRow;
    rows_.assign(static_cast<std::size_t>(lastRow - firstRow) + 1,
                 RowRuns{INT_MAX, INT_MIN, INT_MAX, INT_MIN});
    const double L = box.left, T = box.top, R = box.right, B = box.bottom;
    // Radii through the pixel centres: an ellipse of n pixels spans n - 1 between centres.
    const double rx = std::max(0.0, (std::min<double>(ew, R - L + 1) - 1) / 2);
    const double ry = std::max(0.0, (std::min<double>(eh, B - T + 1) - 1) / 2);
    const double cxL = L + rx, cyT = T + ry;  // centre of the top-left corner's ellipse
    const long mirrorX = long{box.left} + box.right, mirrorY = long{box.top} + box.bottom;

    // Each column of the left half meets the top-left arc at one row (halves rounded upwards,
    // to the outside); the other three corners are its mirror images.
    if (rx > 0 && ry > 0) {
        const int xFrom = std::max(box.left, clip.left - 1);
        const int xTo = std::min(box.right, clip.right);
        for (int x = xFrom; x <= xTo; ++x) {
            const long xm = std::min<long>(x, mirrorX - x);
            if (xm >= cxL) continue;  // the straight part lies on the top and bottom rows
            const double u = (xm - cxL) / rx;
            const double yf = cyT - ry * std::sqrt(std::max(0.0, 1 - u * u));
            const int top = static_cast<int>(std::ceil(yf - 0.5));
            const int side = 2 * x < mirrorX ? -1 : (2 * x > mirrorX ? 1 : 0);
            plot(x, top, side);
            plot(x, static_cast<int>(mirrorY - top), side);
        }
    }
    // Each row meets the left side at one column (halves to the left, the outside).
    for (int y = firstRow; y <= lastRow; ++y) {
        const long ym = std::min<long>(y, mirrorY - y);
        int left = box.left;
        if (rx > 0 && ry > 0 && ym < cyT) {
            const double v = (ym - cyT) / ry;
            left =
                static_cast<int>(std::ceil(cxL - rx * std::sqrt(std::max(0.0, 1 - v * v)) - 0.5));
        }
        plot(left, y, -1);
        plot(static_cast<int>(mirrorX - left), y, 1);
    }
}

void RoundBoxOutline::plot(int x, int y, int side) {
    if (y < first_ || y > lastRow()) return;
    RowRuns& r = rows_[y - first_];
    if (side <= 0) {
        r.leftFrom = std::min(r.leftFrom, x);
        r.leftTo = std::max(r.leftTo, x);
    }
    if (side >= 0) {
        r.rightFrom = std::min(r.rightFrom, x);
        r.rightTo = std::max(r.rightTo, x);
    }
}

void RoundBoxOutline::append(std::vector<Span>& out, int y, int left, int right) const {
    AppendSpan(out, y, left, right, clip_);
}

void RoundBoxOutline::AppendOutline(std::vector<Span>& out) const {
    for (int y = first_; y <= lastRow(); ++y) {
        const RowRuns& r = rows_[y - first_];
        if (isEdgeRow(y) || r.leftTo + 1 >= r.rightFrom) {
            append(out, y, std::min(r.leftFrom, r.rightFrom), std::max(r.leftTo, r.rightTo) + 1);
        } else {
            append(out, y, r.leftFrom, r.leftTo + 1);
            append(out, y, r.rightFrom, r.rightTo + 1);
        }
    }
}

void RoundBoxOutline::AppendInterior(std::vector<Span>& out) const {
    for (int y = first_; y <= lastRow(); ++y) {
        const RowRuns& r = rows_[y - first_];
        if (!isEdgeRow(y)) append(out, y, r.leftTo + 1, r.rightFrom);
    }
}

void RoundBoxOutline::AppendFilled(std::vector<Span>& out) const {
    for (int y = first_; y <= lastRow(); ++y) {
        const RowRuns& r = rows_[y - first_];
        append(out, y, std::min(r.leftFrom, r.rightFrom), std::max(r.leftTo, r.rightTo) + 1);
    }
}

}  // namespace pb::raster
