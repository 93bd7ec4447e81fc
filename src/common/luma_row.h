#pragma once
// The similar-colour test of the key fills over a whole row at once: a pixel passes when its
// brightness in thousandths, 114 B + 587 G + 299 R (0..255000), lies in low..low + span. The
// test and the painting run in vector registers where the processor has them (AVX-512 with
// byte permutes, else AVX2), sixteen or eight pixels a step; elsewhere four pixels a step in
// plain words. Every path gives the same bytes.

#include <cstdint>

namespace pb {

struct LumaWindow {
    int low = 0;             // thousandths; may be below 0
    std::uint32_t span = 0;  // thousandths
    bool passes(const std::uint8_t* bgr) const {
        const int y = 114 * bgr[0] + 587 * bgr[1] + 299 * bgr[2];
        return static_cast<std::uint32_t>(y - low) <= span;
    }
};

// The bytes a repeated colour needs: `colours` with `repeat` holds one colour over this many
// pixels (3 bytes each), so that a vector step can load it from the start.
constexpr int kLumaPatternPixels = 22;

// Writes the w pixels of `to`: the pixel of `from` where it fails the test, where it passes
// the colour at the same place of `colours` (3 bytes a pixel from x = 0) or, with `repeat`,
// the colour `colours` repeats. `to` and `from` must not overlap.
void PaintRowByLuma(std::uint8_t* to, const std::uint8_t* from, int w, LumaWindow window,
                    const std::uint8_t* colours, bool repeat);

}  // namespace pb
