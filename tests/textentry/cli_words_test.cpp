// popboard-cli words: what the command says when it cannot store a word as given or finds the
// store damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/platform_fixtures.h"
#include "support/test_support.h"
#include "textentry/dictionary.h"

namespace pb {
namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// popboard-cli (beside the test program unless CTest says where) with the arguments, already
// quoted for the shell.
CliRun Words(const test::TempDir& dir, const std::string& arguments) {
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    const std::string folder =
        bin ? bin : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    CliRun run;
    run.out = test::RunCommand(folder + "/popboard-cli words " + arguments + " --appdir '" +
                                   dir.path() + "' 2>'" + dir.file("err.txt") + "'",
                               &run.status);
    run.err = test::ReadFileBytes(dir.file("err.txt"));
    return run;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(CliWords, AWordCutToWhatTheStoreTakesIsSaidAndFails) {
    // The word given, the exit status, the word stored, whether stderr says it was cut.
    const std::tuple<std::string, int, std::string, bool> cases[] = {
        {Repeat("a", 120), 0, Repeat("a", 120), false},
        {Repeat("a", 200), 1, Repeat("a", 120), true},
        {Repeat("字", 121), 1, Repeat("字", 120), true},           // characters, not bytes
        {Repeat("字", 120) + "   ", 0, Repeat("字", 120), false},  // trailing blanks go first
    };
    for (const auto& [word, status, stored, said] : cases) {
        SCOPED_TRACE(word);
        test::TempDir dir;
        const CliRun run = Words(dir, "add '" + word + "'");
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_EQ(run.out, "1\t" + stored + "\n");
        EXPECT_EQ(run.err.find("cut") != std::string::npos, said) << run.err;
        EXPECT_EQ(Words(dir, "list").out, "1\t" + stored + "\n");
    }
}

TEST(CliWords, ADamagedStoreIsReplacedAndSaidOnce) {
    test::TempDir dir;
    ASSERT_EQ(Words(dir, "add 残す").status, 0);
    test::WriteFileBytes(UserStorePath(dir.path()), "a store no longer readable");
    const CliRun first = Words(dir, "list");
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "");
    EXPECT_NE(first.err.find("TOUROKU.mdb.bak"), std::string::npos) << first.err;
    EXPECT_EQ(test::ReadFileBytes(UserStorePath(dir.path()) + ".bak"),
              "a store no longer readable");
    const CliRun second = Words(dir, "list");
    EXPECT_EQ(std::pair(second.status, second.err), std::pair(0, std::string()));
}

}  // namespace
}  // namespace pb
