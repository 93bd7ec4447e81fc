// Files that declare far larger pictures than their data describe: refused before the picture is
// allocated, while files of the same size that do hold their pictures still decode.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/picture_io.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

std::string TestData(const std::string& name) {
    const char* dir = std::getenv("POPBOARD_TEST_DATA");
    return std::string(dir ? dir : "tests/data") + "/" + name;
}

void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An RLE8 file with the palette black, red and the given codes as its pixel data.
std::string Rle8File(int width, int height, const std::string& codes) {
    std::string info;
    Put32(info, 40);
    Put32(info, static_cast<std::uint32_t>(width));
    Put32(info, static_cast<std::uint32_t>(height));
    info += std::string("\x01\x00\x08\x00", 4);  // one plane, 8 bits
    Put32(info, 1);                              // RLE8
    Put32(info, static_cast<std::uint32_t>(codes.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, 2);
    Put32(info, 0);
    const std::string palette("\0\0\0\0\0\0\xFF\0", 8);
    const std::uint32_t start = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    std::string file = "BM";
    Put32(file, start + static_cast<std::uint32_t>(codes.size()));
    Put32(file, 0);
    Put32(file, start);
    return file + info + palette + codes;
}

// `rows` rows of a 5-pixel red run and an end of line each, then the end of the bitmap.
std::string RedRunRows(int rows) {
    std::string codes;
    for (int i = 0; i < rows; ++i) codes += std::string("\x05\x01\x00\x00", 4);
    return codes + std::string("\x00\x01", 2);
}
std::string EndsOfLine(int rows) {
    std::string codes;
    for (int i = 0; i < rows; ++i) codes += std::string("\x00\x00", 2);
    return codes + std::string("\x00\x01", 2);
}

TEST(PictureBounds, FuzzFindingsAreRefusedBeforeTheirPicturesAreMade) {
    const std::pair<const char*, const char*> cases[] = {
        {"fuzz/bmp_bomb_24bit_nodata.bmp", "cut short"},
        {"fuzz/bmp_bomb_rle8_eob.bmp", "compressed data too short for 65535 x 2048"},
        {"fuzz/jpeg_slow_829b.jpg", "too short for 56081 x 2304"},
        {"fuzz/jpeg_slow2_829b.jpg", "too short for 56081 x 2304"},
    };
    for (const auto& [name, message] : cases) {
        PictureError error;
        EXPECT_FALSE(LoadPicture(TestData(name), &error)) << name;
        EXPECT_NE(error.message.find(message), std::string::npos) << name << ": " << error.message;
    }
}

TEST(PictureBounds, RleDataNeedOneCodeForEachRowOfALargePicture) {
    // 1200 x 1000 is beyond the 2^20 pixels decoded whatever the data; 1000 x 1000 is not.
    struct Case {
        const char* name;
        int width, height;
        std::string codes;
        bool decoded;
        int redRows;  // bottom rows starting with a 5-pixel red run
    };
    const Case cases[] = {
        {"a run and an end of line in every row", 1200, 1000, RedRunRows(1000), true, 1000},
        {"an end of line in every row but the last", 1200, 1000, EndsOfLine(999), true, 0},
        {"one code fewer than rows", 1200, 1000, EndsOfLine(998), false, 0},
        {"ending early after 400 rows", 1200, 1000, RedRunRows(400), false, 0},
        {"ending early in a small picture", 1000, 1000, RedRunRows(400), true, 400},
    };
    for (const Case& c : cases) {
        PictureError error;
        const auto bmp = DecodeBmp(Rle8File(c.width, c.height, c.codes), &error);
        ASSERT_EQ(bmp.has_value(), c.decoded) << c.name << ": " << error.message;
        if (!bmp) {
            EXPECT_NE(error.message.find("compressed data too short"), std::string::npos)
                << c.name << ": " << error.message;
            continue;
        }
        ASSERT_EQ(bmp->size(), (Size{c.width, c.height})) << c.name;
        // The file's first row is the picture's bottom row; pixels the data leave read as
        // palette colour 0.
        for (const int row : {0, c.height - c.redRows - 1, c.height - c.redRows, c.height - 1}) {
            if (row < 0 || row >= c.height) continue;
            const bool red = row >= c.height - c.redRows;
            EXPECT_EQ(bmp->pixel(4, row), red ? clRed : clBlack) << c.name << " row " << row;
            EXPECT_EQ(bmp->pixel(5, row), clBlack) << c.name << " row " << row;
        }
    }
}

TEST(PictureBounds, JpegDataMustHoldABitForEachBlock) {
    const std::string grey =
        test::MakeJpeg(1100, 1000, 1, [](int, int, std::uint8_t* p) { p[0] = 128; });
    PictureError error;
    const auto decoded = DecodeJpeg(grey, 0, 0, &error);
    ASSERT_TRUE(decoded) << error.message;
    EXPECT_EQ(decoded->size(), (Size{1100, 1000}));
    EXPECT_FALSE(error.damaged);

    // The same data under a frame header declaring 4000 x 4000: 250000 blocks, more bits
    // than the file has.
    ASSERT_LT(grey.size() * 8, 250000u);
    std::string raised = grey;
    const std::size_t sof = raised.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    raised[sof + 5] = raised[sof + 7] = static_cast<char>(4000 >> 8);
    raised[sof + 6] = raised[sof + 8] = static_cast<char>(4000 & 0xFF);
    EXPECT_FALSE(DecodeJpeg(raised, 0, 0, &error));
    EXPECT_NE(error.message.find("too short for 4000 x 4000"), std::string::npos) << error.message;
    // Asking for a scaled-down picture does not lift the bound: the blocks are still there.
    EXPECT_FALSE(DecodeJpeg(raised, 500, 500, &error));
}

}  // namespace
}  // namespace pb
