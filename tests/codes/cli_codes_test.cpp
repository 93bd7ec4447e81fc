// popboard-cli qr and ean, read back with zbarimg.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/text_codec.h"
#include "support/test_support.h"
#include "zbar_reader.h"

namespace pb {
namespace {

struct CliRun {
    int status;
    std::string out;
};

// Runs popboard-cli with the arguments (already quoted for the shell); stdout is kept,
// stderr goes to `errFile`.
CliRun Cli(const std::string& arguments, const std::string& errFile = "/dev/null") {
    // Beside the test program unless CTest says where.
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    const std::string dir =
        bin ? bin : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string command = dir + "/popboard-cli " + arguments + " 2>" + errFile;
    CliRun run{-1, {}};
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int raw = pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return run;
}

class CliCodes : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::ZbarAvailable()) GTEST_SKIP() << "zbarimg is not installed";
    }
    test::TempDir dir_;
};

TEST_F(CliCodes, QrPicturesAndPbmText) {
    struct Case {
        std::string arguments;  // before the text
        std::string text;       // UTF-8
        std::string expected;   // the symbol's bytes
        bool bmp;
    };
    const Case cases[] = {
        {"--level M --pxmag 2", "日本語 ABC 123", Utf8ToCp932("日本語 ABC 123"), true},
        {"--pxmag 2", "HELLO", "HELLO", false},
        {"--version 3 --level Q --mode byte --mask 4 --pxmag 3", "0123", "0123", true},
        {"--version 2 --count 3 --pxmag 2", "connected symbols, three of them",
         "connected symbols, three of them", true},
        {"--binary --version 2 --pxmag 2", "~41~~~~42~", "A~B", true},
        {"--version 1 --level H --mode kanji --pxmag 2", "漢字", Utf8ToCp932("漢字"), false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string file = dir_.file("qr" + std::to_string(n++) + (c.bmp ? ".bmp" : ".pbm"));
        const CliRun run =
            Cli("qr " + c.arguments + (c.bmp ? " --out " + file : "") + " '" + c.text + "'");
        ASSERT_EQ(run.status, 0) << c.arguments << " " << c.text;
        if (!c.bmp) test::WriteFileBytes(file, run.out);
        EXPECT_EQ(test::ZbarRead(file), c.expected) << c.arguments << " " << c.text;
    }
}

TEST_F(CliCodes, QrRefusalsHaveAStatusAndAMessage) {
    const std::string err = dir_.file("err.txt");
    struct Case {
        std::string arguments;
        int status;
    };
    const Case cases[] = {
        {"qr --version 1 --level H 123456789012345678", 1},  // 18 digits, 17 fit
        {"qr --mode numeric 12a", 1},
        {"qr --version 41 x", 2},
        {"qr --level X x", 2},
        {"qr", 2},
        {"ean 4901234567890 --out " + dir_.file("x.bmp"), 1},  // wrong check digit
        {"ean 490123456789 --out " + dir_.file("x.bmp"), 1},   // 12 digits
        {"ean 4901234567894", 2},                              // no --out
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.arguments, err);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_FALSE(test::ReadFileBytes(err).empty()) << c.arguments;
    }
}

TEST_F(CliCodes, EanPictures) {
    struct Case {
        std::string code;
        std::string arguments;
    };
    const Case cases[] = {
        {"4901234567894", "--width 300"},
        {"49012347", "--width 240 --height 80 --module 2"},
        {"9784101092058", "--width 400 --module 3"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string file = dir_.file("ean" + std::to_string(n++) + ".bmp");
        ASSERT_EQ(Cli("ean " + c.code + " " + c.arguments + " --out " + file).status, 0) << c.code;
        EXPECT_EQ(test::ZbarRead(file), c.code);
    }
}

}  // namespace
}  // namespace pb
