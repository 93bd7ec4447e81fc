#include "common/fill_styles.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/luma_row.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Rows are scanned in runs of 16 pixels, 48 bytes or six 64-bit words: a run made only of
// key pixels (a whole empty background) is compared and written at once; other runs go pixel
// by pixel.
constexpr int kRunPixels = 16;
constexpr int kRunBytes = 3 * kRunPixels;
constexpr int kRunWords = kRunBytes / 8;

// One colour repeated over a run, and far enough for a vector step of the similar test.
static_assert(72 >= 3 * kRunPixels && 72 >= 3 * kLumaPatternPixels);
struct RunPattern {
    std::array<std::uint8_t, 72> bytes;
    std::array<std::uint64_t, kRunWords> words;
    std::uint32_t pixel;
};

RunPattern MakeRunPattern(Bgr c) {
    // Eight pixels make three whole words; the pattern is those words over and over. (Copying
    // bytes just written to double them would wait on the stores: a gradation makes one
    // pattern a row.)
    const std::uint64_t p = Word(c);
    const std::uint64_t words[3] = {p | p << 24 | p << 48, p >> 16 | p << 8 | p << 32 | p << 56,
                                    p >> 8 | p << 16 | p << 40};
    RunPattern r;
    for (std::size_t i = 0; i < r.bytes.size() / 8; ++i)
        std::memcpy(r.bytes.data() + 8 * i, &words[i % 3], 8);
    std::memcpy(r.words.data(), r.bytes.data(), kRunBytes);
    r.pixel = Word(c);
    return r;
}

#ifdef __SSE2__
// 16 pixels of a row against the key: three 16-byte comparisons.
struct KeyRun {
    explicit KeyRun(const RunPattern& key)
        : k0(Load(key.bytes.data())),
          k1(Load(key.bytes.data() + 16)),
          k2(Load(key.bytes.data() + 32)) {}
    static __m128i Load(const std::uint8_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    bool matches(const std::uint8_t* p) const {
        const __m128i a = _mm_cmpeq_epi8(Load(p), k0);
        const __m128i b = _mm_cmpeq_epi8(Load(p + 16), k1);
        const __m128i c = _mm_cmpeq_epi8(Load(p + 32), k2);
        return _mm_movemask_epi8(_mm_and_si128(_mm_and_si128(a, b), c)) == 0xFFFF;
    }
    __m128i k0, k1, k2;
};
#else
struct KeyRun {
    explicit KeyRun(const RunPattern& key) : k(key.words) {}
    bool matches(const std::uint8_t* p) const {
        std::uint64_t diff = 0;
        for (int i = 0; i < kRunWords; ++i) {
            std::uint64_t w;
            std::memcpy(&w, p + 8 * i, 8);
            diff |= w ^ k[static_cast<std::size_t>(i)];
        }
        return diff == 0;
    }
    std::array<std::uint64_t, kRunWords> k;
};
#endif

// The exact key test: whole runs of key pixels are recognised at once.
struct ExactKey {
    explicit ExactKey(TColor key) : pattern(MakeRunPattern(ToBgr(key))), run(pattern) {}
    bool wholeRun(const std::uint8_t* p) const { return run.matches(p); }
    bool operator()(const std::uint8_t* p) const { return Load3(p) == pattern.pixel; }
    RunPattern pattern;
    KeyRun run;
};

// The similar-colour test: brightness in thousandths within threshold x 1000 of the key's.
// It paints whole rows at once (luma_row.h).
struct SimilarKey {
    SimilarKey(TColor key, int threshold) {
        const int t = 1000 * std::clamp(threshold, 0, 255);
        window.low = BrightnessMilli(key) - t;
        window.span = static_cast<std::uint32_t>(2 * t);
    }
    LumaWindow window;
};

// Paints the matching pixels of a row with the colours of `src`: the bytes of the row's
// pixels from x = 0, or (Repeat) one run's pattern that repeats along the row.
// (The exact test reads the row itself, which holds a copy of `from`.)
template <bool Repeat, class Match>
void FillRowKey(std::uint8_t* row, const std::uint8_t*, int w, const Match& shared,
                const std::uint8_t* src) {
    // A copy of its own: byte stores into the row may alias anything reached by reference,
    // which would reload the key from memory after every pixel written.
    const Match match = shared;
    int x = 0;
    for (; x + kRunPixels <= w; x += kRunPixels) {
        std::uint8_t* p = row + 3 * x;
        const std::uint8_t* s = Repeat ? src : src + 3 * x;
        if (match.wholeRun(p)) {
            std::memcpy(p, s, kRunBytes);
            continue;
        }
        for (int i = 0; i < 3 * kRunPixels; i += 3)
            if (match(p + i)) std::memcpy(p + i, s + i, 3);
    }
    for (; x < w; ++x) {
        std::uint8_t* p = row + 3 * x;
        const std::uint8_t* s = src + 3 * (Repeat ? x % kRunPixels : x);
        if (match(p)) std::memcpy(p, s, 3);
    }
}

// The similar test goes over the whole row at once, reading `from`; painting in place it reads
// a copy of the row, so that its vector steps never read bytes they have just written.
template <bool Repeat>
void FillRowKey(std::uint8_t* row, const std::uint8_t* from, int w, const SimilarKey& match,
                const std::uint8_t* src) {
    if (from == row) {
        thread_local std::vector<std::uint8_t> copy;
        copy.assign(row, row + 3 * static_cast<std::size_t>(std::max(w, 0)));
        from = copy.data();
    }
    PaintRowByLuma(row, from, w, match.window, src, Repeat);
}

template <class Match>
void FillRowKey(Bitmap& bmp, const Bitmap& from, int y, const Match& match, Bgr colour) {
    const RunPattern c = MakeRunPattern(colour);
    FillRowKey<true>(bmp.scanLine(y), from.scanLine(y), bmp.width(), match, c.bytes.data());
}

// The colour bytes of a whole row, one colour per column.
std::vector<std::uint8_t> RowBytes(const std::vector<Bgr>& columns) {
    std::vector<std::uint8_t> bytes(3 * columns.size());
    for (std::size_t x = 0; x < columns.size(); ++x) {
        bytes[3 * x] = columns[x].b;
        bytes[3 * x + 1] = columns[x].g;
        bytes[3 * x + 2] = columns[x].r;
    }
    return bytes;
}

template <class Match>
void FillKeyColumns(Bitmap& bmp, const Bitmap& from, const Match& match,
                    const std::vector<Bgr>& columns) {
    const std::vector<std::uint8_t> bytes = RowBytes(columns);
    for (int y = 0; y < bmp.height(); ++y)
        FillRowKey<false>(bmp.scanLine(y), from.scanLine(y), bmp.width(), match, bytes.data());
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
    // start + (end - start) * t / g rounded half to even, as the floating-point quotient would
    // be, worked out in whole numbers: a gradation blends every row of a page.
    const long long product = static_cast<long long>(end - start) * t;
    long long q = product / g, r = product % g;
    if (r < 0) {
        r += g;
        --q;
    }
    long long v = start + q;
    if (2 * r > g || (2 * r == g && (v & 1) != 0)) ++v;
    return static_cast<int>(v);
}

template <class Match>
void ReplaceWith(Bitmap& bmp, const Bitmap& from, const Match& match, TColor colour) {
    const RunPattern c = MakeRunPattern(ToBgr(colour));
    for (int y = 0; y < bmp.height(); ++y)
        FillRowKey<true>(bmp.scanLine(y), from.scanLine(y), bmp.width(), match, c.bytes.data());
}

template <class Match>
void StripeWith(Bitmap& bmp, const Bitmap& from, int bandWidth, const ComponentColours& components,
                const Match& match, bool horizontal) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceWith(bmp, from, match, colours[0]);
        return;
    }
    const int w = std::max(bandWidth, 1);
    const std::size_t n = colours.size();
    if (horizontal) {
        for (int y = 0; y < bmp.height(); ++y)
            FillRowKey(bmp, from, y, match, ToBgr(colours[static_cast<std::size_t>(y / w) % n]));
        return;
    }
    std::vector<Bgr> columns(static_cast<std::size_t>(bmp.width()));
    for (int x = 0; x < bmp.width(); ++x)
        columns[static_cast<std::size_t>(x)] = ToBgr(colours[static_cast<std::size_t>(x / w) % n]);
    FillKeyColumns(bmp, from, match, columns);
}

template <class Match>
void GradationDownWith(Bitmap& bmp, const Bitmap& from, const ComponentColours& components,
                       const Match& match) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceWith(bmp, from, match, colours[0]);
        return;
    }
    const std::vector<Bgr> rows = GradationRamp(colours, bmp.height());
    for (int y = 0; y < bmp.height(); ++y)
        FillRowKey(bmp, from, y, match, rows[static_cast<std::size_t>(y)]);
}

template <class Match>
void GradationAcrossWith(Bitmap& bmp, const Bitmap& from, const ComponentColours& components,
                         const Match& match) {
    const std::vector<TColor> colours = SelectedColours(components);
    if (colours.empty()) return;
    if (colours.size() == 1) {
        ReplaceWith(bmp, from, match, colours[0]);
        return;
    }
    FillKeyColumns(bmp, from, match, GradationRamp(colours, bmp.width()));
}

template <class Match>
void PictureWith(Bitmap& bmp, const Bitmap& from, const Match& match, const Bitmap& picture) {
    const int w = std::min(bmp.width(), picture.width());
    const int h = std::min(bmp.height(), picture.height());
    for (int y = 0; y < h; ++y)
        FillRowKey<false>(bmp.scanLine(y), from.scanLine(y), w, match, picture.scanLine(y));
}

// Runs `fill` with the test `match` names.
template <class Fill>
void WithMatch(const KeyMatch& match, Fill&& fill) {
    if (match.similar)
        fill(SimilarKey(match.key, match.threshold));
    else
        fill(ExactKey(match.key));
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

bool KeyMatch::matches(TColor c) const {
    if (!similar) return (c & 0xFFFFFF) == (key & 0xFFFFFF);
    const int t = 1000 * std::clamp(threshold, 0, 255);
    return std::abs(BrightnessMilli(c) - BrightnessMilli(key)) <= t;
}

void ReplaceColour(Bitmap& bmp, TColor key, TColor colour) {
    ReplaceWith(bmp, bmp, ExactKey(key), colour);
}

void StripeFill(Bitmap& bmp, int bandWidth, const ComponentColours& components, TColor key,
                bool horizontal) {
    StripeWith(bmp, bmp, bandWidth, components, ExactKey(key), horizontal);
}

void GradationFillDown(Bitmap& bmp, const ComponentColours& components, TColor key) {
    GradationDownWith(bmp, bmp, components, ExactKey(key));
}

void GradationFillAcross(Bitmap& bmp, const ComponentColours& components, TColor key) {
    GradationAcrossWith(bmp, bmp, components, ExactKey(key));
}

namespace {

// The source of a fill's test: `from` when given and of bmp's size, otherwise bmp itself.
const Bitmap& TestSource(const Bitmap& bmp, const Bitmap* from) {
    return from && from->size() == bmp.size() ? *from : bmp;
}

}  // namespace

void ReplaceColour(Bitmap& bmp, const KeyMatch& match, TColor colour, const Bitmap* from) {
    const Bitmap& src = TestSource(bmp, from);
    WithMatch(match, [&](const auto& m) { ReplaceWith(bmp, src, m, colour); });
}

void StripeFill(Bitmap& bmp, int bandWidth, const ComponentColours& components,
                const KeyMatch& match, bool horizontal, const Bitmap* from) {
    const Bitmap& src = TestSource(bmp, from);
    WithMatch(match,
              [&](const auto& m) { StripeWith(bmp, src, bandWidth, components, m, horizontal); });
}

void GradationFillDown(Bitmap& bmp, const ComponentColours& components, const KeyMatch& match,
                       const Bitmap* from) {
    const Bitmap& src = TestSource(bmp, from);
    WithMatch(match, [&](const auto& m) { GradationDownWith(bmp, src, components, m); });
}

void GradationFillAcross(Bitmap& bmp, const ComponentColours& components, const KeyMatch& match,
                         const Bitmap* from) {
    const Bitmap& src = TestSource(bmp, from);
    WithMatch(match, [&](const auto& m) { GradationAcrossWith(bmp, src, components, m); });
}

void ReplaceFromPicture(Bitmap& bmp, const KeyMatch& match, const Bitmap& picture,
                        const Bitmap* from) {
    const Bitmap& src = TestSource(bmp, from);
    WithMatch(match, [&](const auto& m) { PictureWith(bmp, src, m, picture); });
}

}  // namespace pb
