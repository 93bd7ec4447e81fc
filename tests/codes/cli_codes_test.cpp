// popboard-cli qr and ean, read back with zbarimg.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text_codec.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

class CliCodes : public ::testing::Test {
  protected:
    // Runs popboard-cli (beside the test program unless CTest says where) with the arguments,
    // already quoted for the shell; stdout is returned, stderr goes to err.txt.
    std::string Cli(const std::string& arguments, int* status) {
        const char* bin = std::getenv("POPBOARD_BIN_DIR");
        const std::string dir =
            bin ? bin : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
        return test::RunCommand(dir + "/popboard-cli " + arguments + " 2>" + err(), status);
    }
    std::string err() const { return dir_.file("err.txt"); }
    test::TempDir dir_;
};

TEST_F(CliCodes, PicturesAndPbmTextReadBack) {
    REQUIRE_PROGRAMS("zbarimg");
    // The arguments with the text in UTF-8 last, the symbol's bytes, and whether the picture
    // goes --out to a .bmp file (else the PBM text comes on stdout).
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"qr --level M --pxmag 2 '日本語 ABC 123'", Utf8ToCp932("日本語 ABC 123"), true},
        {"qr --version 3 --level Q --mode byte --mask 4 --pxmag 3 0123", "0123", true},
        {"qr --version 2 --count 3 --pxmag 2 'connected symbols, three of them'",
         "connected symbols, three of them", true},
        {"qr --binary --version 2 --pxmag 2 '~41~~~~42~'", "A~B", true},
        {"qr --version 1 --level H --mode kanji --pxmag 2 '漢字'", Utf8ToCp932("漢字"), false},
        {"ean 49012347 --width 240 --height 80 --module 2", "49012347", true},
    };
    int n = 0;
    for (const auto& [arguments, expected, bmp] : cases) {
        const std::string file = dir_.file("code" + std::to_string(n++) + (bmp ? ".bmp" : ".pbm"));
        int status = -1;
        const std::string out = Cli(arguments + (bmp ? " --out " + file : ""), &status);
        ASSERT_EQ(status, 0) << arguments;
        if (!bmp) test::WriteFileBytes(file, out);
        EXPECT_EQ(test::ZbarRead({file}), expected) << arguments;
    }
}

TEST_F(CliCodes, RefusalsHaveAStatusAndAMessage) {
    const std::pair<std::string, int> cases[] = {
        {"qr --version 1 --level H 123456789012345678", 1},  // 18 digits, 17 fit
        {"qr --mode numeric 12a", 1},
        {"qr --version 41 x", 2},
        // Every option in range, but the picture would be 29600 x 118400.
        {"qr --count 1024 --version 40 --pxmag 10 --out " + dir_.file("big.bmp") + " " +
             std::string(1024, '7'),
         1},
        {"ean 4901234567890 --out " + dir_.file("x.bmp"), 1},  // wrong check digit
        {"ean 4901234567894", 2},                              // no --out
    };
    for (const auto& [arguments, expected] : cases) {
        int status = -1;
        Cli(arguments, &status);
        EXPECT_EQ(status, expected) << arguments;
        EXPECT_FALSE(test::ReadFileBytes(err()).empty()) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("big.bmp")));
}

}  // namespace
}  // namespace pb
