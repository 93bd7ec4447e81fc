#include "codes/ean_barcode.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/bitmap_canvas.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

TEST(Ean, CheckDigits) {
    struct Case {
        std::string input;
        std::string (*check)(std::string_view);
        std::string result;
    };
    const Case cases[] = {
        {"490123456789", EanCheck13, "4901234567894"},
        {"400638133393", EanCheck13, "4006381333931"},
        {"000000000000", EanCheck13, "0000000000000"},
        {"000000000055", EanCheck13, "0000000000550"},   // s = 20: "0", not "10"
        {"49012345678", EanCheck13, "0000000000000"},    // 11 digits
        {"4901234567890", EanCheck13, "0000000000000"},  // 13 digits
        {"49012345678A", EanCheck13, "0000000000000"},
        {"4901234", EanCheck8, "49012347"},
        {"9638507", EanCheck8, "96385074"},
        {"0000000", EanCheck8, "00000000"},
        {"1000009", EanCheck8, "10000090"},  // s = 30
        {"490123", EanCheck8, "00000000"},
        {"49O1234", EanCheck8, "00000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(c.input), c.result) << c.input;
}

TEST(Ean, Patterns) {
    const std::string p13 = EanPattern("4901234567894");
    ASSERT_EQ(p13.size(), 96u);
    EXPECT_EQ(p13.substr(0, 3), "101");
    EXPECT_EQ(p13.substr(45, 5), "01010");
    EXPECT_EQ(p13.substr(92), "1010");
    // First digit 4 chooses A B A A B B for the left digits 9 0 1 2 3 4.
    EXPECT_EQ(p13.substr(3, 42),
              "0001011"
              "0100111"
              "0011001"
              "0010011"
              "0100001"
              "0011101");
    EXPECT_EQ(p13.substr(50, 42),
              "1001110"
              "1010000"
              "1000100"
              "1001000"
              "1110100"
              "1011100");

    const std::string p8 = EanPattern("49012347");
    ASSERT_EQ(p8.size(), 68u);
    EXPECT_EQ(p8,
              "101"
              "0100011"
              "0001011"
              "0001101"
              "0011001"
              "01010"
              "1101100"
              "1000010"
              "1011100"
              "1000100"
              "1010");

    EXPECT_EQ(EanPattern("0000000000000"), kEanFallbackPattern);
    EXPECT_EQ(std::string(kEanFallbackPattern).size(), 96u);
    for (const char* bad :
         {"", "123", "123456789012", "12345678901234", "49012A47", "4901234567 94"})
        EXPECT_EQ(EanPattern(bad), kEanFallbackPattern) << bad;
}

class EanDrawing : public ::testing::Test {
  protected:
    // A white bitmap with black pen and font, as the region editor prepares it.
    static Bitmap Draw(const std::string& code, int width, int height, int left, int module,
                       int available, int top) {
        Bitmap bmp(width, height, clWhite);
        BitmapCanvas canvas(bmp);
        canvas.pen.colour = clBlack;
        canvas.font.colour = clBlack;
        DrawEan(canvas, code, left, module, height - top, available, top);
        return bmp;
    }
};

TEST_F(EanDrawing, BarsAreCentredTwoThirdsHigh) {
    const Bitmap bmp = Draw("4901234567894", 240, 90, 20, 2, 200, 0);
    // 96 modules of 2 pixels centred in 200 from 20: the start guard at 24 and 25.
    const int barHeight = 90 * 2 / 3;
    for (int y : {0, barHeight - 1}) {
        EXPECT_EQ(bmp.pixel(23, y), clWhite) << y;
        EXPECT_EQ(bmp.pixel(24, y), clBlack) << y;
        EXPECT_EQ(bmp.pixel(25, y), clBlack) << y;
        EXPECT_EQ(bmp.pixel(26, y), clWhite) << y;
        EXPECT_EQ(bmp.pixel(28, y), clBlack) << y;
    }
    // The digits stand under the bars.
    long textPixels = 0;
    for (int y = barHeight; y < 90; ++y)
        for (int x = 0; x < 240; ++x) textPixels += bmp.pixel(x, y) != clWhite;
    EXPECT_GT(textPixels, 20);
}

TEST_F(EanDrawing, NarrowWidthStartsAtTheLeftEdge) {
    const Bitmap bmp = Draw("49012347", 200, 60, 10, 2, 50, 0);
    EXPECT_EQ(bmp.pixel(9, 0), clWhite);
    EXPECT_EQ(bmp.pixel(10, 0), clBlack);
    EXPECT_EQ(bmp.pixel(11, 0), clBlack);
    EXPECT_EQ(bmp.pixel(12, 0), clWhite);
    // 68 modules run over the available width to 10 + 136.
    EXPECT_EQ(bmp.pixel(10 + 2 * 64, 0), clBlack);  // end guard "1010"
    EXPECT_EQ(bmp.pixel(10 + 2 * 67, 0), clWhite);
}

TEST_F(EanDrawing, ReadBackByZbar) {
    if (!test::ZbarAvailable()) GTEST_SKIP() << "zbarimg is not installed";
    test::TempDir dir;
    struct Case {
        std::string code;
        int module;
    };
    const Case cases[] = {
        {"4901234567894", 2}, {"4006381333931", 3}, {"9784101092058", 2},
        {"49012347", 2},      {"96385074", 3},      {"4901234567894", 1},
    };
    std::vector<std::string> files, expected;
    for (const auto& c : cases) {
        // Room on both sides for the quiet zones that the reader wants.
        const int width = 96 * c.module + 40 * c.module;
        const Bitmap bmp = Draw(c.code, width, 60 * c.module, 0, c.module, width, 0);
        files.push_back(dir.file("ean" + std::to_string(files.size()) + ".pgm"));
        test::WritePgm(bmp, files.back());
        expected.push_back(c.code);
    }
    const auto got = test::ZbarReadAll(files, expected);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
}

}  // namespace
}  // namespace pb
