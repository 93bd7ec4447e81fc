#include "platform/flood_fill.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pb {

namespace {

// Pixels of one colour, compared 32 or 8 at a time (the colour repeats every 24 bytes, three
// 64-bit words) where the row allows.
class ColourMatch {
  public:
    explicit ColourMatch(TColor c) {
        const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(GetBValue(c)),
                                     static_cast<std::uint8_t>(GetGValue(c)),
                                     static_cast<std::uint8_t>(GetRValue(c))};
        std::uint8_t pattern[48];
        for (int i = 0; i < 48; ++i) pattern[i] = bgr[i % 3];
        std::memcpy(words_, pattern, sizeof words_);
    }
    bool at(const std::uint8_t* p) const { return std::memcmp(p, words_, 3) == 0; }
    // First column >= x in `row` (of `width` pixels) that has another colour.
    int runEnd(const std::uint8_t* row, int x, int width) const {
        while (x + 32 <= width && thirtyTwo(row + 3 * x)) x += 32;
        while (x + 8 <= width && eight(row + 3 * x)) x += 8;
        while (x < width && at(row + 3 * x)) ++x;
        return x;
    }
    // Smallest x0 <= x such that columns x0..x-1 all have the colour.
    int runStart(const std::uint8_t* row, int x) const {
        while (x >= 8 && eight(row + 3 * (x - 8))) x -= 8;
        while (x > 0 && at(row + 3 * (x - 1))) --x;
        return x;
    }

  private:
    bool eight(const std::uint8_t* p) const {
        std::uint64_t w[3];
        std::memcpy(w, p, sizeof w);
        return ((w[0] ^ words_[0]) | (w[1] ^ words_[1]) | (w[2] ^ words_[2])) == 0;
    }
    // 32 pixels: 96 bytes, four times the 24-byte period.
    bool thirtyTwo(const std::uint8_t* p) const {
#if defined(__SSE2__)
        // 48 bytes are three 16-byte blocks; the colour lines up again every 48 bytes.
        const __m128i* q = reinterpret_cast<const __m128i*>(p);
        const __m128i* pattern = reinterpret_cast<const __m128i*>(words_);
        const __m128i a = _mm_loadu_si128(pattern), b = _mm_loadu_si128(pattern + 1),
                      c = _mm_loadu_si128(pattern + 2);
        __m128i same = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(q), a),
                                     _mm_cmpeq_epi8(_mm_loadu_si128(q + 1), b));
        same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(q + 2), c));
        same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(q + 3), a));
        same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(q + 4), b));
        same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(q + 5), c));
        return _mm_movemask_epi8(same) == 0xFFFF;
#else
        return eight(p) && eight(p + 24) && eight(p + 48) && eight(p + 72);
#endif
    }
    std::uint64_t words_[6];  // the colour's 48-byte pattern
};

// Filling in place: a painted pixel no longer has the surface colour, so the bitmap itself
// records where the fill has been. Needs fill != surface.
class PaintInPlace {
  public:
    PaintInPlace(Bitmap& bmp, TColor surface, TColor fill)
        : bmp_(bmp), match_(surface), fill_(fill) {}
    int width() const { return bmp_.width(); }
    int height() const { return bmp_.height(); }
    bool inside(int x, int y) const { return match_.at(bmp_.scanLine(y) + 3 * x); }
    int runEnd(int x, int y) const { return match_.runEnd(bmp_.scanLine(y), x, bmp_.width()); }
    int runStart(int x, int y) const { return match_.runStart(bmp_.scanLine(y), x); }
    void set(int y, int left, int right) { bmp_.fillSpan(y, left, right, fill_); }

  private:
    Bitmap& bmp_;
    ColourMatch match_;
    TColor fill_;
};

// Finding the area without changing the bitmap: a mask remembers the pixels taken.
class CollectSpans {
  public:
    CollectSpans(const Bitmap& bmp, TColor surface)
        : bmp_(bmp),
          match_(surface),
          taken_(static_cast<std::size_t>(bmp.width()) * bmp.height()) {}
    int width() const { return bmp_.width(); }
    int height() const { return bmp_.height(); }
    bool inside(int x, int y) const {
        return !taken_[index(x, y)] && match_.at(bmp_.scanLine(y) + 3 * x);
    }
    int runEnd(int x, int y) const {
        while (x < width() && inside(x, y)) ++x;
        return x;
    }
    int runStart(int x, int y) const {
        while (x > 0 && inside(x - 1, y)) --x;
        return x;
    }
    void set(int y, int left, int right) {
        if (left >= right) return;
        std::memset(&taken_[index(left, y)], 1, static_cast<std::size_t>(right - left));
        spans.push_back({y, left, right});
    }
    std::vector<Span> spans;

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width() + x; }
    const Bitmap& bmp_;
    ColourMatch match_;
    std::vector<std::uint8_t> taken_;
};

// The span fill: each popped segment is a run of row y whose neighbour row y - dy has been
// filled; the row is filled along it, and the parts that stick out beyond the segment are
// sent back towards the row it came from.
template <class Area>
void SpanFill(Area& area, int x, int y) {
    struct Segment {
        int left, right, y, dy;
    };
    std::vector<Segment> stack;
    stack.push_back({x, x, y, 1});
    stack.push_back({x, x, y - 1, -1});
    while (!stack.empty()) {
        auto [x1, x2, row, dy] = stack.back();
        stack.pop_back();
        if (row < 0 || row >= area.height()) continue;
        int start = x1;
        if (area.inside(x1, row)) {
            start = area.runStart(x1, row);
            area.set(row, start, x1);
            if (start < x1) stack.push_back({start, x1 - 1, row - dy, -dy});
        }
        while (x1 <= x2) {
            const int end = area.runEnd(x1, row);
            area.set(row, x1, end);
            if (end > start) stack.push_back({start, end - 1, row + dy, dy});
            if (end - 1 > x2) stack.push_back({x2 + 1, end - 1, row - dy, -dy});
            x1 = end + 1;
            while (x1 < x2 && !area.inside(x1, row)) ++x1;
            start = x1;
        }
    }
}

bool StartsArea(const Bitmap& bmp, int x, int y, TColor surface) {
    return bmp.contains(x, y) && bmp.pixel(x, y) == (surface & 0xFFFFFF);
}

}  // namespace

std::vector<Span> SurfaceRegion(const Bitmap& bmp, int x, int y, TColor surface) {
    if (!StartsArea(bmp, x, y, surface)) return {};
    CollectSpans area(bmp, surface);
    SpanFill(area, x, y);
    return std::move(area.spans);
}

bool FloodFillSurface(Bitmap& bmp, int x, int y, TColor surface, TColor fill) {
    if (!StartsArea(bmp, x, y, surface)) return false;
    if ((fill & 0xFFFFFF) == (surface & 0xFFFFFF)) return true;  // nothing would change
    PaintInPlace area(bmp, surface, fill);
    SpanFill(area, x, y);
    return true;
}

}  // namespace pb
