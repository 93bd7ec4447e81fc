// EAN-13 and EAN-8: check digits, module patterns, and the bars drawn on a canvas, read back
// by zbarimg.
#include "codes/ean_barcode.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/bitmap_canvas.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

// A module pattern written in groups (guards and digits) for reading.
std::string Modules(std::string groups) {
    std::erase(groups, ' ');
    return groups;
}

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

    // The first digit 4 chooses the sets A B A A B B for the left digits 9 0 1 2 3 4.
    EXPECT_EQ(EanPattern("4901234567894"),
              Modules("101 0001011 0100111 0011001 0010011 0100001 0011101 01010 "
                      "1001110 1010000 1000100 1001000 1110100 1011100 1010"));
    EXPECT_EQ(EanPattern("49012347"), Modules("101 0100011 0001011 0001101 0011001 01010 "
                                              "1101100 1000010 1011100 1000100 1010"));
    EXPECT_EQ(std::string(kEanFallbackPattern).size(), 96u);
    for (const char* bad : {"0000000000000", "", "123", "123456789012", "12345678901234",
                            "49012A47", "4901234567 94"})
        EXPECT_EQ(EanPattern(bad), kEanFallbackPattern) << bad;
}

// A white bitmap with black pen and font, as the region editor prepares it.
Bitmap DrawOnWhite(const std::string& code, int width, int height, int left, int module,
                   int available) {
    Bitmap bmp(width, height, clWhite);
    BitmapCanvas canvas(bmp);
    canvas.pen.colour = clBlack;
    canvas.font.colour = clBlack;
    DrawEan(canvas, code, left, module, height, available, 0);
    return bmp;
}

TEST(Ean, BarsAreCentredTwoThirdsHighOrStartAtTheLeftEdge) {
    // 96 modules of 2 pixels centred in 200 from 20: the start guard at 24 and 25.
    const Bitmap centred = DrawOnWhite("4901234567894", 240, 90, 20, 2, 200);
    for (int y : {0, 59})
        for (int x = 23; x <= 28; ++x)
            EXPECT_EQ(centred.pixel(x, y), x == 24 || x == 25 || x == 28 ? clBlack : clWhite)
                << x << "," << y;
    long digits = 0;  // under the bars
    for (int y = 60; y < 90; ++y)
        for (int x = 0; x < 240; ++x) digits += centred.pixel(x, y) != clWhite;
    EXPECT_GT(digits, 20);

    // 68 modules of 2 do not fit in 50: they start at the left edge and run on to 10 + 136.
    const Bitmap narrow = DrawOnWhite("49012347", 200, 60, 10, 2, 50);
    for (int x : {9, 10, 11, 12, 10 + 2 * 64, 10 + 2 * 67})
        EXPECT_EQ(narrow.pixel(x, 0), x == 10 || x == 11 || x == 138 ? clBlack : clWhite) << x;
}

TEST(Ean, DrawnBarsReadBackByZbar) {
    REQUIRE_PROGRAMS("zbarimg");
    test::TempDir dir;
    const std::pair<std::string, int> cases[] = {
        {"4901234567894", 1}, {"4901234567894", 2}, {"9784101092058", 3}, {"49012347", 2}};
    std::vector<std::string> files, expected;
    for (const auto& [code, module] : cases) {
        // Room on both sides for the quiet zones that the reader wants.
        const int width = 136 * module;
        files.push_back(dir.file("ean" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(DrawOnWhite(code, width, 60 * module, 0, module, width), files.back());
        expected.push_back(code);
    }
    EXPECT_EQ(test::ZbarReadAll(files, expected), expected);
}

}  // namespace
}  // namespace pb
