#include "common/fill_styles.h"

#include <cmath>
#include <cstdint>

namespace pb {

namespace {

struct Bgr {
    std::uint8_t b, g, r;
};

Bgr ToBgr(TColor c) {
    return {static_cast<std::uint8_t>(GetBValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
            static_cast<std::uint8_t>(GetRValue(c))};
}

// A pixel's three bytes as one word, for a single comparison with the key.
inline std::uint32_t Load3(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

inline std::uint32_t Word(Bgr c) {
    return static_cast<std::uint32_t>(c.b) | (static_cast<std::uint32_t>(c.g) << 8) |
           (static_cast<std::uint32_t>(c.r) << 16);
}

inline void Store3(std::uint8_t* p, Bgr c) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// Paints the key pixels of row y in one colour.
void FillRowKey(Bitmap& bmp, int y, std::uint32_t key, Bgr colour) {
    std::uint8_t* p = bmp.scanLine(y);
    const int w = bmp.width();
    for (int x = 0; x < w; ++x, p += 3)
        if (Load3(p) == key) Store3(p, colour);
}

// Paints the key pixels of row y, each in the colour of its column.
void FillRowKeyColumns(Bitmap& bmp, int y, std::uint32_t key, const std::vector<Bgr>& columns) {
    std::uint8_t* p = bmp.scanLine(y);
    const int w = bmp.width();
    for (int x = 0; x < w; ++x, p += 3)
        if (Load3(p) == key) Store3(p, columns[static_cast<std::size_t>(x)]);
}

// The colour of every row (or column) 0..length-1 of a gradation.
std::vector<Bgr> GradationRamp(const std::vector<TColor>& colours, int length) {
    std::vector<Bgr> ramp(static_cast<std::size_t>(std::max(length, 0)), ToBgr(colours.back()));
    const int segments = static_cast<int>(colours.size()) - 1;
    const int g = length / segments;
    if (g <= 0) return ramp;  // fewer rows than segments: all rows are the remainder
    for (int k = 0; k < segments; ++k) {
        for (int t = 0; t < g; ++t)
            ramp[static_cast<std::size_t>(k * g + t)] =
                ToBgr(BlendColour(colours[static_cast<std::size_t>(k)],
                                  colours[static_cast<std::size_t>(k + 1)], t, g));
    }
    return ramp;
}

int BlendChannel(int start, int end, int t, int g) {
    // The product is an integer, the quotient a floating-point number rounded half to even.
    const double v = start + static_cast<double>(static_cast<long long>(end - start) * t) / g;
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

std::vector<TColor> SelectedColours(const ComponentColours& components) {
    std::vector<TColor> out;
    for (std::size_t i = 0; i < components.use.size(); ++i)
        if (components.use[i]) out.push_back(components.colour[i] & 0xFFFFFF);
    return out;
}

TColor BlendColour(TColor start, TColor end, int t, int g) {
    if (g <= 0) return start;
    return RGB(BlendChannel(GetRValue(start), GetRValue(end), t, g),
               BlendChannel(GetGValue(start), GetGValue(end), t, g),
               BlendChannel(GetBValue(start), GetBValue(end), t, g));
}

void ReplaceColour(Bitmap& bmp, TColor key, TColor colour) {
    const std::uint32_t k = Word(ToBgr(key));
    const Bgr c = ToBgr(colour);
    for (int y = 0; y < bmp.height(); ++y) FillRowKey(bmp, y, k, c);
}

void StripeFill(Bitmap& bmp, int bandWidth, const ComponentColours& components, TColor key,
                bool horizontal) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceColour(bmp, key, colours[0]);
        return;
    }
    const int w = std::max(bandWidth, 1);
    const std::size_t n = colours.size();
    const std::uint32_t k = Word(ToBgr(key));
    if (horizontal) {
        for (int y = 0; y < bmp.height(); ++y)
            FillRowKey(bmp, y, k, ToBgr(colours[static_cast<std::size_t>(y / w) % n]));
        return;
    }
    std::vector<Bgr> columns(static_cast<std::size_t>(bmp.width()));
    for (int x = 0; x < bmp.width(); ++x)
        columns[static_cast<std::size_t>(x)] = ToBgr(colours[static_cast<std::size_t>(x / w) % n]);
    for (int y = 0; y < bmp.height(); ++y) FillRowKeyColumns(bmp, y, k, columns);
}

void GradationFillDown(Bitmap& bmp, const ComponentColours& components, TColor key) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceColour(bmp, key, colours[0]);
        return;
    }
    const std::vector<Bgr> rows = GradationRamp(colours, bmp.height());
    const std::uint32_t k = Word(ToBgr(key));
    for (int y = 0; y < bmp.height(); ++y) FillRowKey(bmp, y, k, rows[static_cast<std::size_t>(y)]);
}

void GradationFillAcross(Bitmap& bmp, const ComponentColours& components, TColor key) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceColour(bmp, key, colours[0]);
        return;
    }
    const std::vector<Bgr> columns = GradationRamp(colours, bmp.width());
    const std::uint32_t k = Word(ToBgr(key));
    for (int y = 0; y < bmp.height(); ++y) FillRowKeyColumns(bmp, y, k, columns);
}

}  // namespace pb
