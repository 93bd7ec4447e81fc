// EAN-13 and EAN-8: check digits, the fallback pattern, and bars that do not fit. The module
// patterns are read back by zbarimg from placed codes (code_placement_test.cpp).
#include "codes/ean_barcode.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/bitmap_canvas.h"

namespace pb {
namespace {

TEST(Ean, CheckDigitsAndPatterns) {
    struct Case {
        std::string input;
        std::string (*check)(std::string_view);
        std::string result;
    };
    const Case cases[] = {
        {"490123456789", EanCheck13, "4901234567894"},
        {"000000000055", EanCheck13, "0000000000550"},   // s = 20: "0", not "10"
        {"49012345678", EanCheck13, "0000000000000"},    // 11 digits
        {"4901234567890", EanCheck13, "0000000000000"},  // 13 digits
        {"49012345678A", EanCheck13, "0000000000000"},
        {"4901234", EanCheck8, "49012347"},
        {"1000009", EanCheck8, "10000090"},  // s = 30
        {"490123", EanCheck8, "00000000"},
        {"49O1234", EanCheck8, "00000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(c.input), c.result) << c.input;

    EXPECT_EQ(std::string(kEanFallbackPattern).size(), 96u);
    for (const char* bad : {"0000000000000", "", "123", "123456789012", "12345678901234",
                            "49012A47", "4901234567 94"})
        EXPECT_EQ(EanPattern(bad), kEanFallbackPattern) << bad;
}

TEST(Ean, BarsThatDoNotFitStartAtTheLeftEdge) {
    // 68 modules of 2 do not fit in 50: they start at the left edge and run on to 10 + 136.
    Bitmap bmp(200, 60, clWhite);
    BitmapCanvas canvas(bmp);
    canvas.pen.colour = clBlack;
    canvas.font.colour = clBlack;
    DrawEan(canvas, "49012347", 10, 2, 60, 50, 0);
    for (int x : {9, 10, 11, 12, 10 + 2 * 64, 10 + 2 * 67})
        EXPECT_EQ(bmp.pixel(x, 0), x == 10 || x == 11 || x == 138 ? clBlack : clWhite) << x;
}

}  // namespace
}  // namespace pb
