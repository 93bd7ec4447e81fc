// Reading and writing BMP and JPEG pictures, including files that are broken on purpose or
// declare far larger pictures than they hold.
#include "platform/picture_io.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "pixel_art.h"
#include "support/outside_programs.h"
#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

using test::MakeJpeg;

// --- BMP files built byte by byte ---------------------------------------------------------------

void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

struct BmpLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 3;
    std::int32_t height = 2;
    int bpp = 24;
    std::uint32_t compression = 0;
    std::vector<TColor> palette{};       // written as RGBQUAD
    std::vector<std::uint32_t> masks{};  // red, green, blue (and alpha)
    std::uint32_t coloursUsed = 0;
    std::string pixels{};      // as stored in the file
    std::int64_t offset = -1;  // bfOffBits; -1 for where the pixels really start
};

std::string Bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s += static_cast<char>(b);
    return s;
}

using test::clGreen;
constexpr TColor clBlue = 0xFF0000, kGrey = RGB(128, 128, 128);

// The 3 x 2 picture most cases hold: red, green, blue over white, black, grey.
const std::vector<TColor> kTopRow = {clRed, clGreen, clBlue};
const std::vector<TColor> kBottomRow = {clWhite, clBlack, kGrey};
const std::vector<TColor> kPalette = {clBlack, clWhite, clRed, clGreen, clBlue, kGrey};

std::string Bgr(std::initializer_list<TColor> colours, int pad = 0, const char* extra = "") {
    std::string s;
    for (TColor c : colours) s += Bytes({GetBValue(c), GetGValue(c), GetRValue(c)}) + extra;
    return s + std::string(pad, '\0');
}

std::string BuildBmp(const BmpLayout& layout) {
    std::string header;
    Put32(header, layout.headerSize);
    Put32(header, static_cast<std::uint32_t>(layout.width));
    Put32(header, static_cast<std::uint32_t>(layout.height));
    Put16(header, 1);
    Put16(header, layout.bpp);
    Put32(header, layout.compression);
    Put32(header, static_cast<std::uint32_t>(layout.pixels.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, layout.coloursUsed);
    Put32(header, 0);
    // Later headers hold the masks themselves, right after the first 40 bytes.
    if (layout.headerSize >= 52)
        for (std::uint32_t m : layout.masks) Put32(header, m);
    header.resize(layout.headerSize, '\0');
    std::string extra;
    if (layout.headerSize == 40)
        for (std::uint32_t m : layout.masks) Put32(extra, m);
    for (TColor c : layout.palette) extra += Bgr({c}) + '\0';
    const std::uint32_t start = static_cast<std::uint32_t>(14 + header.size() + extra.size());
    std::string file = "BM";
    Put32(file, static_cast<std::uint32_t>(start + layout.pixels.size()));
    Put32(file, 0);
    Put32(file, layout.offset >= 0 ? static_cast<std::uint32_t>(layout.offset) : start);
    return file + header + extra + layout.pixels;
}

// The picture as most cases store it: 8-bit indices into kPalette; 32-bit pixels with a
// spare byte; RLE4 runs.
const std::string kIndices8 = Bytes({1, 0, 5, 0, 2, 3, 4, 0});
const std::string kPixels32 = Bgr({clWhite, clBlack, kGrey, clRed, clGreen, clBlue}, 0, "x");
const std::string kRle4 = Bytes({0, 3, 0x10, 0x50, 0, 0, 2, 0x23, 1, 0x44, 0, 1});

// 24 bits bottom-up with padded rows, as popboard writes them, are held by the read-back below.
TEST(PictureIo, ReadsEveryBmpKind) {
    struct Case {
        const char* name;
        BmpLayout layout;
        std::vector<TColor> top = kTopRow, bottom = kBottomRow;
    };
    const Case cases[] = {
        {"24 bits, top-down",
         {.height = -2,
          .pixels = Bgr({clRed, clGreen, clBlue}, 3) + Bgr({clWhite, clBlack, kGrey}, 3)}},
        {"8 bits, colour count larger than the room before the pixels",
         {.bpp = 8, .palette = kPalette, .coloursUsed = 0xFFFFFFFF, .pixels = kIndices8}},
        {"8 bits, an index beyond the palette reads black",
         {.bpp = 8, .palette = kPalette, .pixels = Bytes({1, 200, 5, 0, 2, 3, 4, 0})}},
        {"1 bit",
         {.bpp = 1, .palette = {clBlack, clWhite}, .pixels = Bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})},
         {clBlack, clWhite, clBlack},
         {clWhite, clBlack, clWhite}},
        {"16 bits, 5-5-5",
         {.bpp = 16,
          .pixels =
              Bytes({0xFF, 0x7F, 0, 0, 0x10, 0x42, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0, 0, 0})},
         kTopRow,
         {clWhite, clBlack, RGB(131, 131, 131)}},  // 16 of 31
        {"32 bits, version 5 header with the masks inside",
         {.headerSize = 124,
          .bpp = 32,
          .compression = 3,
          .masks = {0xFF0000, 0xFF00, 0xFF},
          .pixels = kPixels32}},
        {"RLE8: runs, a literal run and the end marks",
         {.bpp = 8,
          .compression = 1,
          .palette = kPalette,
          .pixels = Bytes({1, 1, 1, 0, 1, 5, 0, 0, 0, 3, 2, 3, 4, 0, 0, 0, 0, 1})}},
        {"RLE4: literal nibbles and a two-index run",
         {.bpp = 4, .compression = 2, .palette = kPalette, .pixels = kRle4}},
    };
    for (const Case& c : cases) {
        PictureError error;
        const auto bmp = DecodeBmp(BuildBmp(c.layout), &error);
        ASSERT_TRUE(bmp) << c.name << ": " << error.message;
        ASSERT_EQ(bmp->size(), (Size{3, 2})) << c.name;
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(bmp->pixel(x, 0), c.top[x]) << c.name << " top " << x;
            EXPECT_EQ(bmp->pixel(x, 1), c.bottom[x]) << c.name << " bottom " << x;
        }
    }
}

TEST(PictureIo, RefusesBrokenBmpFilesSafely) {
    auto with = [](std::function<void(BmpLayout&)> change) {
        BmpLayout s{.bpp = 8, .palette = kPalette, .pixels = kIndices8};
        change(s);
        return BuildBmp(s);
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"not a BMP", "GIF89a" + std::string(60, '\0')},
        {"header size 13", with([](BmpLayout& s) { s.headerSize = 13; })},
        {"width 0", with([](BmpLayout& s) { s.width = 0; })},
        {"most negative height", with([](BmpLayout& s) { s.height = INT32_MIN; })},
        {"too many pixels", with([](BmpLayout& s) { s.width = s.height = 60000; })},
        {"7 bits a pixel", with([](BmpLayout& s) { s.bpp = 7; })},
        {"RLE8 with 24 bits", with([](BmpLayout& s) { s.bpp = 24, s.compression = 1; })},
        {"top-down RLE", with([](BmpLayout& s) { s.compression = 1, s.height = -2; })},
        {"masks with holes", BuildBmp({.bpp = 16,
                                       .compression = 3,
                                       .masks = {0xF0F0, 0x0F00, 0x000F},
                                       .pixels = std::string(8, '\0')})},
        {"masks missing", BuildBmp({.bpp = 32, .compression = 3, .pixels = ""})},
        {"no palette", with([](BmpLayout& s) { s.palette.clear(); })},
        {"pixel offset beyond the file", with([](BmpLayout& s) { s.offset = 100000; })},
        {"pixels cut short", with([](BmpLayout& s) { s.pixels.resize(5); })},
        {"RLE without its end", with([](BmpLayout& s) {
             s.compression = 1, s.pixels = Bytes({3, 1, 0, 0, 2});
         })},
        {"RLE literal run beyond the data", with([](BmpLayout& s) {
             s.compression = 1, s.pixels = Bytes({0, 200, 1, 2, 3});
         })},
        {"RLE move without its bytes", with([](BmpLayout& s) {
             s.compression = 1, s.pixels = Bytes({0, 2, 1});
         })},
    };
    for (const auto& [name, bytes] : cases) {
        PictureError error;
        EXPECT_FALSE(DecodeBmp(bytes, &error)) << name;
        EXPECT_FALSE(error.message.empty()) << name;
    }
}

TEST(PictureIo, NoPrefixOrMutationOfABmpReadsOutOfBounds) {
    // Run under AddressSanitizer this finds any read beyond the bytes of the file.
    const std::string files[] = {
        BuildBmp({.bpp = 8, .palette = kPalette, .pixels = kIndices8}),
        BuildBmp({.bpp = 4, .compression = 2, .palette = kPalette, .pixels = kRle4}),
    };
    std::mt19937 random(2024);
    for (const std::string& file : files) {
        ASSERT_TRUE(DecodeBmp(file));
        for (std::size_t n = 0; n < file.size(); ++n) {
            // Each shorter copy lives in a buffer of its own length.
            const std::string prefix = file.substr(0, n);
            (void)DecodeBmp(prefix);
        }
        for (int round = 0; round < 3000; ++round) {
            std::string mutated = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i)
                mutated[random() % mutated.size()] = static_cast<char>(random() & 0xFF);
            (void)DecodeBmp(mutated);
        }
    }
}

TEST(PictureIo, SavesWhatWindowsReadsAndReadsItBack) {
    test::TempDir dir;
    const std::string path = dir.file("Tmp1.bmp");
    for (const Size size : {Size{1, 1}, Size{4, 4}, Size{5, 3}, Size{794, 1123}}) {
        const Bitmap original = test::NoisyBitmap(size.width, size.height);
        ASSERT_TRUE(SaveBmp(original, path));
        const auto loaded = LoadBmp(path);
        ASSERT_TRUE(loaded) << size.width << "x" << size.height;
        EXPECT_TRUE(*loaded == original) << size.width << "x" << size.height;
    }
    // Another program's view of the last file: a 24-bit BITMAPINFOHEADER picture.
    REQUIRE_PROGRAMS("file");
    const std::string view =
        test::RunCommand("'" + test::ProgramPath("file") + "' -b '" + path + "' 2>/dev/null");
    EXPECT_NE(view.find("PC bitmap, Windows 3.x format, 794 x 1123 x 24"), std::string::npos)
        << view;
}

// --- JPEG -------------------------------------------------------------------------------------

bool Near(TColor a, TColor b, int tolerance = 10) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(PictureIo, ReadsGreyAndCmykJpegs) {
    // Left half one colour, right half another, in 16-pixel blocks.
    struct Case {
        const char* name;
        int components;
        bool adobe;
        std::array<std::uint8_t, 4> left, right;
        TColor expectLeft, expectRight;
    };
    const Case cases[] = {
        {"grey", 1, true, {40}, {200}, RGB(40, 40, 40), RGB(200, 200, 200)},
        // Adobe's inverted CMYK: red is C=0 M=Y=100 %, stored as 255, 0, 0, 255 (K 0 % -> 255).
        {"Adobe CMYK", 4, true, {255, 0, 0, 255}, {255, 255, 255, 255}, clRed, clWhite},
        {"plain CMYK", 4, false, {0, 255, 255, 0}, {0, 0, 0, 255}, clRed, clBlack},
    };
    for (const Case& c : cases) {
        const std::string jpeg = MakeJpeg(
            32, 16, c.components,
            [&](int x, int, std::uint8_t* p) {
                const auto& v = x < 16 ? c.left : c.right;
                for (int i = 0; i < c.components; ++i) p[i] = v[i];
            },
            c.adobe);
        PictureError error;
        const auto bmp = DecodeJpeg(jpeg, 0, 0, &error);
        ASSERT_TRUE(bmp) << c.name << ": " << error.message;
        ASSERT_EQ(bmp->size(), (Size{32, 16})) << c.name;
        EXPECT_TRUE(Near(bmp->pixel(4, 8), c.expectLeft))
            << c.name << " " << std::hex << bmp->pixel(4, 8);
        EXPECT_TRUE(Near(bmp->pixel(27, 8), c.expectRight))
            << c.name << " " << std::hex << bmp->pixel(27, 8);
    }
}

TEST(PictureIo, BrokenJpegsFailWithoutEndingTheProgram) {
    const std::string good = MakeJpeg(64, 48, 3, [](int x, int y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(4 * x), p[1] = static_cast<std::uint8_t>(5 * y), p[2] = 0;
    });
    PictureError error;
    EXPECT_FALSE(DecodeJpeg("\xFF\xD8\xFF" + std::string(50, 'x'), 0, 0, &error));
    EXPECT_NE(error.message.find("JPEG"), std::string::npos);
    EXPECT_FALSE(DecodeJpeg(good.substr(0, 100), 0, 0, &error));  // no frame header yet

    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        std::string mutated = good;
        for (int i = 0; i < 3; ++i)
            mutated[random() % mutated.size()] = static_cast<char>(random());
        (void)DecodeJpeg(mutated);
    }
}

TEST(PictureIo, LoadPictureGoesByTheFirstBytesNotTheNameAndFailuresLeaveNothing) {
    test::TempDir dir;
    EXPECT_FALSE(SaveBmp(Bitmap(2, 2), dir.file("missing/folder/x.bmp")));
    EXPECT_FALSE(SaveBmp(Bitmap(), dir.file("empty.bmp")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    test::WriteFileBytes(dir.file("really_a_bmp.jpg"),
                         BuildBmp({.bpp = 8, .palette = kPalette, .pixels = kIndices8}));
    test::WriteFileBytes(dir.file("notes.bmp"), "hello");
    const auto bmp = LoadPicture(dir.file("really_a_bmp.jpg"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->size(), (Size{3, 2}));
    for (const char* name : {"notes.bmp", "none.bmp"}) {
        PictureError error;
        EXPECT_FALSE(LoadPicture(dir.file(name), &error));
        EXPECT_FALSE(error.message.empty()) << name;
    }
}

// --- Files that declare far larger pictures than their data describe: refused before the
// picture is allocated, while files of the same size that do hold their pictures decode. ----

std::string TestData(const std::string& name) {
    const char* dir = std::getenv("POPBOARD_TEST_DATA");
    return std::string(dir ? dir : "tests/data") + "/" + name;
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

TEST(PictureIo, FuzzFindingsAreRefusedBeforeTheirPicturesAreMade) {
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

TEST(PictureIo, RleDataNeedOneCodeForEachRowOfALargePicture) {
    // 1200 x 1000 is beyond the 2^20 pixels decoded whatever the data; 1000 x 1000 is not.
    const std::tuple<const char*, int, std::string, bool> cases[] = {
        {"a run and an end of line in every row", 1200, RedRunRows(1000), true},
        {"an end of line in every row but the last", 1200, EndsOfLine(999), true},
        {"one code fewer than rows", 1200, EndsOfLine(998), false},
        {"ending early in a small picture", 1000, RedRunRows(400), true},
    };
    for (const auto& [name, width, codes, decoded] : cases) {
        PictureError error;
        const auto bmp = DecodeBmp(BuildBmp({.width = width,
                                             .height = 1000,
                                             .bpp = 8,
                                             .compression = 1,
                                             .palette = {clBlack, clRed},
                                             .coloursUsed = 2,
                                             .pixels = codes}),
                                   &error);
        EXPECT_EQ(bmp.has_value(), decoded) << name << ": " << error.message;
        if (bmp) {
            EXPECT_EQ(bmp->pixel(4, 999), codes[1] == 1 ? clRed : clBlack) << name;
        } else {
            EXPECT_NE(error.message.find("compressed data too short"), std::string::npos);
        }
    }
}

// A JPEG whose frame header declares side x side pixels.
std::string WithFrameSize(std::string jpeg, int side) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    jpeg[sof + 5] = jpeg[sof + 7] = static_cast<char>(side >> 8);
    jpeg[sof + 6] = jpeg[sof + 8] = static_cast<char>(side & 0xFF);
    return jpeg;
}

TEST(PictureIo, JpegDataMustHoldABitForEachBlock) {
    const std::string grey =
        test::MakeJpeg(1100, 1000, 1, [](int, int, std::uint8_t* p) { p[0] = 128; });
    PictureError error;
    const auto decoded = DecodeJpeg(grey, 0, 0, &error);
    ASSERT_TRUE(decoded) << error.message;
    EXPECT_EQ(decoded->size(), (Size{1100, 1000}));
    EXPECT_FALSE(error.damaged);

    // The same data under a frame header declaring 4000 x 4000: 250000 blocks, more bits
    // than the file has; 60000 x 60000 is out of range before anything is allocated.
    ASSERT_LT(grey.size() * 8, 250000u);
    EXPECT_FALSE(DecodeJpeg(WithFrameSize(grey, 60000), 0, 0, &error));
    EXPECT_NE(error.message.find("out of range"), std::string::npos) << error.message;
    const std::string raised = WithFrameSize(grey, 4000);
    EXPECT_FALSE(DecodeJpeg(raised, 0, 0, &error));
    EXPECT_NE(error.message.find("too short for 4000 x 4000"), std::string::npos) << error.message;
    // Asking for a scaled-down picture does not lift the bound: the blocks are still there.
    EXPECT_FALSE(DecodeJpeg(raised, 500, 500, &error));
}

}  // namespace
}  // namespace pb
