// The row painter of the similar test: its vector steps and its plain tail give exactly the
// bytes of the per-pixel test, for every row length around the step sizes and both colour
// sources.
#include "common/luma_row.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/fill_styles.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(LumaRow, EveryLengthAndSourceMatchesThePixelTest) {
    const Bitmap noise = test::NoiseBitmap(80, 1, 7);
    const Bitmap colours = test::NoiseBitmap(80, 1, 8);
    std::vector<std::uint8_t> pattern(3 * kLumaPatternPixels);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<std::uint8_t>(11 * (i % 3) + 1);
    const TColor key = noise.pixel(0, 0);
    for (int threshold : {0, 40, 255}) {
        const KeyMatch match = KeyMatch::Similar(key, threshold);
        const LumaWindow window{BrightnessMilli(key) - 1000 * threshold,
                                static_cast<std::uint32_t>(2000 * threshold)};
        for (bool repeat : {false, true})
            for (int w = 0; w <= 80; ++w) {
                // Rows of exactly w pixels, so that a read past them shows under the sanitizers.
                const std::size_t bytes = 3 * static_cast<std::size_t>(w);
                const std::vector<std::uint8_t> from(noise.scanLine(0), noise.scanLine(0) + bytes);
                const std::vector<std::uint8_t> row(colours.scanLine(0),
                                                    colours.scanLine(0) + bytes);
                std::vector<std::uint8_t> out(bytes + 4, 0xAB);
                PaintRowByLuma(out.data(), from.data(), w, window,
                               repeat ? pattern.data() : row.data(), repeat);
                for (int x = 0; x < w; ++x) {
                    const TColor c = noise.pixel(x, 0);
                    const std::uint8_t* paint =
                        repeat ? pattern.data() : colours.scanLine(0) + 3 * x;
                    const std::uint8_t* expected =
                        match.matches(c) ? paint : noise.scanLine(0) + 3 * x;
                    for (int b = 0; b < 3; ++b)
                        ASSERT_EQ(out[3 * x + b], expected[b])
                            << "w " << w << " x " << x << " threshold " << threshold << " repeat "
                            << repeat;
                }
                // Nothing past the row is written.
                for (std::size_t i = bytes; i < out.size(); ++i)
                    ASSERT_EQ(out[i], 0xAB) << "w " << w;
            }
    }
}

}  // namespace
}  // namespace pb
