#include "platform/stretch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pb {

namespace {

// The pixels of one side of a rectangle: start, start + step, ... (count of them).
struct Run {
    std::int64_t start;
    int step;
    std::int64_t count;
};

Run RunOf(int from, int to) {
    if (to >= from) return {from, 1, std::int64_t{to} - from};
    return {from, -1, std::int64_t{from} - to};
}

// For every destination pixel of an axis, the source pixels it takes and their weights.
struct Contribution {
    int position = -1;  // destination pixel; -1 when it is skipped
    std::size_t first = 0;
    std::size_t count = 0;
};
struct AxisMap {
    std::vector<Contribution> pixels;
    std::vector<int> source;
    std::vector<float> weight;
};

AxisMap MapAxis(const Run& dst, int destSize, const Run& src, int srcSize, StretchMode mode) {
    AxisMap map;
    const std::int64_t dn = dst.count, sn = src.count;
    std::vector<std::pair<std::int64_t, double>> taps;
    // Only the destination pixels inside the bitmap.
    const std::int64_t iFrom =
        std::max<std::int64_t>(0, dst.step > 0 ? -dst.start : dst.start - destSize + 1);
    const std::int64_t iTo =
        std::min<std::int64_t>(dn, dst.step > 0 ? destSize - dst.start : dst.start + 1);
    for (std::int64_t i = iFrom; i < iTo; ++i) {
        const std::int64_t pos = dst.start + dst.step * i;
        taps.clear();
        if (mode == StretchMode::ColorOnColor || sn == dn) {
            taps.emplace_back((2 * i + 1) * sn / (2 * dn), 1.0);
        } else if (sn > dn) {
            // Shrinking: the average of the source area the pixel covers.
            const double lo = static_cast<double>(i) * sn / dn;
            const double hi = static_cast<double>(i + 1) * sn / dn;
            const auto jEnd = std::min<std::int64_t>(sn, static_cast<std::int64_t>(std::ceil(hi)));
            for (auto j = static_cast<std::int64_t>(lo); j < jEnd; ++j) {
                const double w = std::min<double>(hi, j + 1) - std::max<double>(lo, j);
                if (w > 1e-9) taps.emplace_back(j, w);
            }
        } else {
            // Growing: linear between the two nearest pixel centres.
            const double u =
                std::clamp((i + 0.5) * sn / dn - 0.5, 0.0, static_cast<double>(sn - 1));
            const auto j = static_cast<std::int64_t>(u);
            const double f = u - j;
            taps.emplace_back(j, 1 - f);
            if (f > 1e-9 && j + 1 < sn) taps.emplace_back(j + 1, f);
        }
        double total = 0;
        const std::size_t first = map.source.size();
        for (const auto& [j, w] : taps) {
            const std::int64_t s = src.start + src.step * j;
            if (s < 0 || s >= srcSize) continue;
            map.source.push_back(static_cast<int>(s));
            map.weight.push_back(static_cast<float>(w));
            total += w;
        }
        const std::size_t count = map.source.size() - first;
        if (count == 0) continue;
        for (std::size_t k = first; k < map.source.size(); ++k)
            map.weight[k] = static_cast<float>(map.weight[k] / total);
        map.pixels.push_back({static_cast<int>(pos), first, count});
    }
    return map;
}

void CopyNearest(Bitmap& dest, const Bitmap& src, const AxisMap& xs, const AxisMap& ys) {
    // Runs of consecutive columns that read consecutive source columns are copied whole.
    for (const Contribution& row : ys.pixels) {
        const std::uint8_t* in = src.scanLine(ys.source[row.first]);
        std::uint8_t* out = dest.scanLine(row.position);
        std::size_t k = 0;
        while (k < xs.pixels.size()) {
            const int d0 = xs.pixels[k].position;
            const int s0 = xs.source[xs.pixels[k].first];
            std::size_t n = 1;
            while (k + n < xs.pixels.size() &&
                   xs.pixels[k + n].position == d0 + static_cast<int>(n) &&
                   xs.source[xs.pixels[k + n].first] == s0 + static_cast<int>(n))
                ++n;
            if (n > 1) {
                std::memcpy(out + 3 * d0, in + 3 * s0, 3 * n);
            } else {
                std::memcpy(out + 3 * d0, in + 3 * s0, 3);
            }
            k += n;
        }
    }
}

void CopyAveraged(Bitmap& dest, const Bitmap& src, const AxisMap& xs, const AxisMap& ys) {
    std::vector<float> acc(xs.pixels.size() * 3);
    for (const Contribution& row : ys.pixels) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (std::size_t r = row.first; r < row.first + row.count; ++r) {
            const std::uint8_t* in = src.scanLine(ys.source[r]);
            const float wy = ys.weight[r];
            for (std::size_t c = 0; c < xs.pixels.size(); ++c) {
                const Contribution& col = xs.pixels[c];
                float b = 0, g = 0, red = 0;
                for (std::size_t k = col.first; k < col.first + col.count; ++k) {
                    const std::uint8_t* p = in + 3 * xs.source[k];
                    const float w = xs.weight[k];
                    b += w * p[0];
                    g += w * p[1];
                    red += w * p[2];
                }
                acc[3 * c] += wy * b;
                acc[3 * c + 1] += wy * g;
                acc[3 * c + 2] += wy * red;
            }
        }
        std::uint8_t* out = dest.scanLine(row.position);
        for (std::size_t c = 0; c < xs.pixels.size(); ++c) {
            std::uint8_t* p = out + 3 * xs.pixels[c].position;
            for (int ch = 0; ch < 3; ++ch)
                p[ch] = static_cast<std::uint8_t>(std::clamp(acc[3 * c + ch] + 0.5f, 0.0f, 255.0f));
        }
    }
}

}  // namespace

void StretchBits(Bitmap& dest, const Rect& destRect, const Bitmap& src, const Rect& srcRect,
                 StretchMode mode) {
    if (dest.isNull() || src.isNull()) return;
    if (&dest == &src) {
        const Bitmap copy = src;
        StretchBits(dest, destRect, copy, srcRect, mode);
        return;
    }
    const Run dx = RunOf(destRect.left, destRect.right), dy = RunOf(destRect.top, destRect.bottom);
    const Run sx = RunOf(srcRect.left, srcRect.right), sy = RunOf(srcRect.top, srcRect.bottom);
    if (dx.count == 0 || dy.count == 0 || sx.count == 0 || sy.count == 0) return;
    // Rectangles beyond any real picture are refused rather than walked through.
    constexpr std::int64_t kMaxSide = 1 << 20;
    if (std::max({dx.count, dy.count, sx.count, sy.count}) > kMaxSide) return;
    const AxisMap xs = MapAxis(dx, dest.width(), sx, src.width(), mode);
    const AxisMap ys = MapAxis(dy, dest.height(), sy, src.height(), mode);
    if (xs.pixels.empty() || ys.pixels.empty()) return;
    const bool exact =
        mode == StretchMode::ColorOnColor || (dx.count == sx.count && dy.count == sy.count);
    if (exact) {
        CopyNearest(dest, src, xs, ys);
    } else {
        CopyAveraged(dest, src, xs, ys);
    }
}

Bitmap StretchBitmap(const Bitmap& src, int width, int height, StretchMode mode) {
    Bitmap out(width, height);
    StretchBits(out, {0, 0, out.width(), out.height()}, src, {0, 0, src.width(), src.height()},
                mode);
    return out;
}

Rect CoveredPixels(const Rect& r) {
    const int left = r.right < r.left ? r.right + 1 : r.left;
    const int right = r.right < r.left ? r.left + 1 : r.right;
    const int top = r.bottom < r.top ? r.bottom + 1 : r.top;
    const int bottom = r.bottom < r.top ? r.top + 1 : r.bottom;
    return {left, top, right, bottom};
}

}  // namespace pb
