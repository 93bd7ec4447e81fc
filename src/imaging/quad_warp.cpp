#include "imaging/quad_warp.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "imaging/rounding.h"

namespace pb {

namespace {

struct Bgr {
    std::uint8_t b, g, r;
};

void FillLine(std::span<std::uint8_t> line, const Bgr& bg) {
    for (std::size_t k = 0; k + 2 < line.size(); k += 3) {
        line[k] = bg.b;
        line[k + 1] = bg.g;
        line[k + 2] = bg.r;
    }
}

// b + Round((a - b) * t), per byte.
std::uint8_t Blend(int a, int b, double t) {
    return static_cast<std::uint8_t>(
        std::clamp(b + static_cast<int>(RoundHalfEven((a - b) * t)), 0, 255));
}

// Where the line y = c (or x = c with the axes exchanged) crosses the edge a-b; nothing when
// the edge runs along the line or the line passes beyond the edge's ends.
bool Crossing(double c, double aAcross, double aAlong, double bAcross, double bAlong, double* at) {
    if (aAcross == bAcross) return false;
    if (c < std::min(aAcross, bAcross) || c > std::max(aAcross, bAcross)) return false;
    *at = aAlong + (bAlong - aAlong) * (c - aAcross) / (bAcross - aAcross);
    return true;
}

// The span that the line at `c` takes between the quadrilateral's edges, when it crosses
// exactly two of them. `rows`: the line is a row (y = c) and the span runs along x.
bool EdgeSpan(const WarpCorners& p, double c, bool rows, double* s, double* e) {
    static constexpr std::pair<int, int> kEdges[] = {{0, 1}, {0, 2}, {1, 3}, {2, 3}};
    double found[4];
    int count = 0;
    for (const auto& [a, b] : kEdges) {
        const PointF& pa = p[static_cast<std::size_t>(a)];
        const PointF& pb = p[static_cast<std::size_t>(b)];
        double at = 0;
        const bool hit = rows ? Crossing(c, pa.y, pa.x, pb.y, pb.x, &at)
                              : Crossing(c, pa.x, pa.y, pb.x, pb.y, &at);
        if (hit) found[count++] = at;
    }
    if (count != 2) return false;
    *s = std::min(found[0], found[1]);
    *e = std::max(found[0], found[1]);
    return true;
}

class ColumnBuffer {
  public:
    explicit ColumnBuffer(Bitmap& bmp)
        : bmp_(bmp), line_(3 * static_cast<std::size_t>(bmp.height())) {}
    std::span<std::uint8_t> load(int x) {
        for (int y = 0; y < bmp_.height(); ++y) {
            const std::uint8_t* p = bmp_.scanLine(y) + 3 * x;
            std::copy(p, p + 3, line_.begin() + 3 * y);
        }
        return line_;
    }
    void store(int x) {
        for (int y = 0; y < bmp_.height(); ++y)
            std::copy(line_.begin() + 3 * y, line_.begin() + 3 * y + 3, bmp_.scanLine(y) + 3 * x);
    }

  private:
    Bitmap& bmp_;
    std::vector<std::uint8_t> line_;
};

std::span<std::uint8_t> RowOf(Bitmap& bmp, int y) {
    return {bmp.scanLine(y), 3 * static_cast<std::size_t>(bmp.width())};
}

// i / (n - 1), the place of line i between the first and the last; 0 for a single line.
double Along(int i, int n) {
    return n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
}

}  // namespace

WarpCorners PictureCorners(int width, int height) {
    const double w = width, h = height;
    return {PointF{0, 0}, PointF{0, h}, PointF{w, 0}, PointF{w, h}};
}

void ResampleLine(std::span<std::uint8_t> line, double s, double e, TColor background) {
    const Bgr bg{static_cast<std::uint8_t>(GetBValue(background)),
                 static_cast<std::uint8_t>(GetGValue(background)),
                 static_cast<std::uint8_t>(GetRValue(background))};
    const int n = static_cast<int>(line.size() / 3);
    if (n == 0) return;
    if (!std::isfinite(s) || !std::isfinite(e)) return FillLine(line, bg);
    if (s > e) std::swap(s, e);
    s = std::max(s, 0.0);
    e = std::min(e, static_cast<double>(n));
    double d = (e - s) / n - 0.000001;
    if (d <= 0) return FillLine(line, bg);

    std::vector<Bgr> src(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) src[i] = {line[3 * i], line[3 * i + 1], line[3 * i + 2]};
    int m = n;
    // Pixels closer than half a pixel would be skipped over: halve the line first.
    while (d < 0.5) {
        if (m <= 1) return FillLine(line, bg);
        const int half = (m + 1) / 2;
        for (int k = 0; k < m / 2; ++k) {
            const Bgr& a = src[2 * k];
            const Bgr& b = src[2 * k + 1];
            src[k] = {static_cast<std::uint8_t>((a.b + b.b) / 2),
                      static_cast<std::uint8_t>((a.g + b.g) / 2),
                      static_cast<std::uint8_t>((a.r + b.r) / 2)};
        }
        if (m % 2) {
            const Bgr& a = src[m - 1];
            src[half - 1] = {static_cast<std::uint8_t>((a.b + bg.b) / 2),
                             static_cast<std::uint8_t>((a.g + bg.g) / 2),
                             static_cast<std::uint8_t>((a.r + bg.r) / 2)};
        }
        std::fill(src.begin() + half, src.begin() + m, bg);
        m = half;
        d = (e - s) / m;
    }

    // Source pixel i stands at s + i * d.
    const int first = static_cast<int>(s), last = static_cast<int>(e);
    auto put = [&line](int x, const Bgr& c) {
        line[3 * x] = c.b;
        line[3 * x + 1] = c.g;
        line[3 * x + 2] = c.r;
    };
    auto fade = [&bg](const Bgr& c, double cover) {
        return Bgr{Blend(c.b, bg.b, cover), Blend(c.g, bg.g, cover), Blend(c.r, bg.r, cover)};
    };
    for (int x = 0; x < n; ++x) {
        if (x < first || x > last) {
            put(x, bg);
        } else if (x == first && x == last) {
            put(x, fade(src[0], e - s));
        } else if (x == first) {
            put(x, fade(src[0], 1 - (s - first)));
        } else if (x == last) {
            put(x, fade(src[m - 1], e - last));
        } else {
            const double pos = (x - s) / d;
            const int i = static_cast<int>(pos);
            if (i >= m - 1) {
                put(x, src[m - 1]);
            } else {
                // t: how far the next source pixel still is, in source spacings (0..1].
                const double t = std::clamp(i + 1 - pos, 0.0, 1.0);
                const Bgr& a = src[i];
                const Bgr& b = src[i + 1];
                put(x, {Blend(a.b, b.b, t), Blend(a.g, b.g, t), Blend(a.r, b.r, t)});
            }
        }
    }
}

Bitmap WarpQuadrilateral(const Bitmap& src, const WarpCorners& corners, TColor background) {
    Bitmap out = src;
    if (src.isNull()) return out;
    const int w = src.width(), h = src.height();
    WarpCorners p = corners;
    if (p[0].y > p[1].y && p[2].y > p[3].y) {
        std::swap(p[0], p[1]);
        std::swap(p[2], p[3]);
    }
    if (p[0].x > p[2].x && p[1].x > p[3].x) {
        std::swap(p[0], p[2]);
        std::swap(p[1], p[3]);
    }
    ColumnBuffer column(out);
    double s = 0, e = 0;
    if (p[0].y <= p[1].y && p[2].y <= p[3].y) {
        for (int i = 0; i < w; ++i) {
            const double f = Along(i, w);
            ResampleLine(column.load(i), p[0].y + (p[2].y - p[0].y) * f,
                         p[1].y + (p[3].y - p[1].y) * f, background);
            column.store(i);
        }
        for (int j = h - 1; j >= 0; --j)
            if (EdgeSpan(p, j + 0.1, true, &s, &e)) ResampleLine(RowOf(out, j), s, e, background);
    } else {
        for (int j = 0; j < h; ++j) {
            const double f = Along(j, h);
            ResampleLine(RowOf(out, j), p[0].x + (p[1].x - p[0].x) * f,
                         p[2].x + (p[3].x - p[2].x) * f, background);
        }
        for (int i = 0; i < w; ++i)
            if (EdgeSpan(p, i + 0.1, false, &s, &e)) {
                ResampleLine(column.load(i), s, e, background);
                column.store(i);
            }
    }
    return out;
}

WarpCorners StepCorner(const WarpCorners& corners, int corner, bool alongX, bool plus, int width,
                       int height) {
    WarpCorners moved = corners;
    if (corner < 0 || corner > 3) return moved;
    PointF& c = moved[static_cast<std::size_t>(corner)];
    double& v = alongX ? c.x : c.y;
    const int limit = alongX ? width : height;
    const int step = limit / 6;
    v = std::clamp(v + (plus ? step : -step), 0.0, static_cast<double>(std::max(limit, 0)));
    return moved;
}

}  // namespace pb
