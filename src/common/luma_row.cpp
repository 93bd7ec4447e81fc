#include "common/luma_row.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PB_LUMA_VECTORS 1
#endif

namespace pb {

namespace {

// Four pixels (12 bytes) a step as three 32-bit words, each word blended by the masks of the
// pixels it holds; the pixels left at the end one by one.
void PaintRowPortable(std::uint8_t* to, const std::uint8_t* from, int w, LumaWindow window,
                      const std::uint8_t* colours, bool repeat) {
    static_assert(std::endian::native == std::endian::little, "words hold pixels low byte first");
    // A repeated colour is read from the pattern's first 16 pixels, where a step always fits.
    const auto colourAt = [&](int x) { return colours + 3 * (repeat ? x % 16 : x); };
    const auto maskOf = [&](const std::uint8_t* p) {
        return 0u - static_cast<std::uint32_t>(window.passes(p));
    };
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        const std::uint8_t* p = from + 3 * x;
        const std::uint32_t m0 = maskOf(p), m1 = maskOf(p + 3), m2 = maskOf(p + 6),
                            m3 = maskOf(p + 9);
        const std::uint32_t masks[3] = {(m0 & 0x00FFFFFFu) | (m1 & 0xFF000000u),
                                        (m1 & 0x0000FFFFu) | (m2 & 0xFFFF0000u),
                                        (m2 & 0x000000FFu) | (m3 & 0xFFFFFF00u)};
        std::uint32_t d[3], s[3];
        std::memcpy(d, p, 12);
        std::memcpy(s, colourAt(x), 12);
        for (int i = 0; i < 3; ++i) d[i] ^= (d[i] ^ s[i]) & masks[i];
        std::memcpy(to + 3 * x, d, 12);
    }
    for (; x < w; ++x)
        std::memcpy(to + 3 * x, window.passes(from + 3 * x) ? colourAt(x) : from + 3 * x, 3);
}

#ifdef PB_LUMA_VECTORS

#define PB_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))
#define PB_AVX2 __attribute__((target("avx2")))

// The byte permutes of the AVX-512 steps: sixteen pixels to one a lane (B, G, R, and B again,
// which the lane's mask clears), and back to three bytes a pixel, the bytes past the
// sixteenth taken from the second source.
struct alignas(64) PermuteTable {
    std::uint8_t bytes[64];
    const std::uint8_t* data() const { return bytes; }
};
constexpr PermuteTable kSpread = [] {
    PermuteTable t{};
    for (int j = 0; j < 64; ++j) t.bytes[j] = static_cast<std::uint8_t>(3 * (j / 4) + (j % 4) % 3);
    return t;
}();
constexpr PermuteTable kPack = [] {
    PermuteTable t{};
    for (int j = 0; j < 64; ++j)
        t.bytes[j] = static_cast<std::uint8_t>(j < 48 ? 4 * (j / 3) + j % 3 : 64 + j);
    return t;
}();

constexpr __mmask64 kNoPad = 0x7777777777777777ull;  // byte 3 of every lane is 0

// Sixteen pixels from p, one to a 32-bit lane.
PB_AVX512 inline __m512i Lanes512(const std::uint8_t* p, __m512i toLanes) {
    return _mm512_maskz_permutexvar_epi8(kNoPad, toLanes, _mm512_loadu_si512(p));
}

// The 16 bytes from p in the low half, those from p + 12 in the high half.
PB_AVX2 inline __m256i Halves(const std::uint8_t* p) {
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 12),
                               reinterpret_cast<const __m128i*>(p));
}

// Sixteen pixels a step: a byte permute spreads them one to a 32-bit lane (B, G, R, 0), two
// multiply-adds give the brightness, one unsigned comparison the mask; the passing lanes take
// the colour and a second permute packs the pixels back.
PB_AVX512 int PaintRowAvx512(std::uint8_t* to, const std::uint8_t* from, int w, LumaWindow window,
                             const std::uint8_t* colours, bool repeat) {
    const __m512i toLanes = _mm512_load_si512(kSpread.data());
    const __m512i toBytes = _mm512_load_si512(kPack.data());
    const __m512i byteLow = _mm512_set1_epi32(0x00FF00FF);
    const __m512i weightBR = _mm512_set1_epi32((299 << 16) | 114);
    const __m512i weightG = _mm512_set1_epi32(587);
    const __m512i low = _mm512_set1_epi32(window.low);
    const __m512i span = _mm512_set1_epi32(static_cast<int>(window.span));
    const __m512i repeated = repeat ? Lanes512(colours, toLanes) : _mm512_setzero_si512();
    // The row's end is loaded and stored under byte masks, so the steps go to the last pixel.
    const auto lowBytes = [](int n) { return n >= 64 ? ~0ull : (1ull << n) - 1; };
    for (int x = 0; x < w; x += 16) {
        // Whole steps until the last 22 pixels, which a step's 64-byte load would pass.
        const int left = 3 * (w - x);
        const bool whole = left >= 66;
        const __mmask64 in = _cvtu64_mask64(lowBytes(left));
        const __mmask64 out = _cvtu64_mask64(lowBytes(whole ? 64 : std::min(left, 48)));
        const __m512i raw =
            whole ? _mm512_loadu_si512(from + 3 * x) : _mm512_maskz_loadu_epi8(in, from + 3 * x);
        const __m512i px = _mm512_maskz_permutexvar_epi8(kNoPad, toLanes, raw);
        const __m512i br = _mm512_madd_epi16(_mm512_and_si512(px, byteLow), weightBR);
        const __m512i g = _mm512_madd_epi16(_mm512_srli_epi16(px, 8), weightG);
        const __m512i d = _mm512_sub_epi32(_mm512_add_epi32(br, g), low);
        const __mmask16 pass = _mm512_cmple_epu32_mask(d, span);
        const __m512i colour =
            repeat ? repeated
                   : _mm512_maskz_permutexvar_epi8(kNoPad, toLanes,
                                                   _mm512_maskz_loadu_epi8(in, colours + 3 * x));
        const __m512i painted = _mm512_mask_blend_epi32(pass, px, colour);
        // A whole step also writes the 16 source bytes past its pixels; the next step writes
        // them again.
        const __m512i packed = _mm512_permutex2var_epi8(painted, toBytes, raw);
        if (whole)
            _mm512_storeu_si512(to + 3 * x, packed);
        else
            _mm512_mask_storeu_epi8(to + 3 * x, out, packed);
    }
    return w;
}

// Eight pixels a step, four in each half: each half loads 16 bytes (12 used), a byte shuffle
// spreads its pixels one to a 32-bit lane for the brightness, and the lane masks are shuffled
// back to three bytes a pixel for the blend. The four bytes past each half come from the
// source and are written again by the next step.
PB_AVX2 int PaintRowAvx2(std::uint8_t* to, const std::uint8_t* from, int w, LumaWindow window,
                         const std::uint8_t* colours, bool repeat) {
    const __m256i toLanes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                             0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i maskToBytes =
        _mm256_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1, 0, 0, 0, 4, 4, 4, 8,
                         8, 8, 12, 12, 12, -1, -1, -1, -1);
    const __m256i byteLow = _mm256_set1_epi32(0x00FF00FF);
    const __m256i weightBR = _mm256_set1_epi32((299 << 16) | 114);
    const __m256i weightG = _mm256_set1_epi32(587);
    const __m256i low = _mm256_set1_epi32(window.low);
    const __m256i span = _mm256_set1_epi32(static_cast<int>(window.span));
    // Pixel 4 of a repeated colour starts where pixel 0 does.
    const __m256i repeated = repeat ? Halves(colours) : _mm256_setzero_si256();
    int x = 0;
    // A step reads and writes 28 bytes from pixel x.
    for (; x + 10 <= w; x += 8) {
        const __m256i raw = Halves(from + 3 * x);
        const __m256i px = _mm256_shuffle_epi8(raw, toLanes);
        const __m256i br = _mm256_madd_epi16(_mm256_and_si256(px, byteLow), weightBR);
        const __m256i g = _mm256_madd_epi16(_mm256_srli_epi16(px, 8), weightG);
        const __m256i d = _mm256_sub_epi32(_mm256_add_epi32(br, g), low);
        const __m256i pass = _mm256_cmpeq_epi32(_mm256_min_epu32(d, span), d);
        const __m256i colour = repeat ? repeated : Halves(colours + 3 * x);
        const __m256i painted =
            _mm256_blendv_epi8(raw, colour, _mm256_shuffle_epi8(pass, maskToBytes));
        _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(to + 3 * x + 12),
                             reinterpret_cast<__m128i*>(to + 3 * x), painted);
    }
    return x;
}

enum class VectorLevel { None, Avx2, Avx512 };

VectorLevel DetectVectorLevel() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi"))
        return VectorLevel::Avx512;
    if (__builtin_cpu_supports("avx2")) return VectorLevel::Avx2;
    return VectorLevel::None;
}

#endif

}  // namespace

void PaintRowByLuma(std::uint8_t* to, const std::uint8_t* from, int w, LumaWindow window,
                    const std::uint8_t* colours, bool repeat) {
    int done = 0;
#ifdef PB_LUMA_VECTORS
    static const VectorLevel level = DetectVectorLevel();
    if (level == VectorLevel::Avx512)
        done = PaintRowAvx512(to, from, w, window, colours, repeat);
    else if (level == VectorLevel::Avx2)
        done = PaintRowAvx2(to, from, w, window, colours, repeat);
#endif
    if (done >= w) return;
    // The rest of the row; a repeated colour starts again at any pixel.
    PaintRowPortable(to + 3 * done, from + 3 * done, w - done, window,
                     repeat ? colours : colours + 3 * done, repeat);
}

}  // namespace pb
