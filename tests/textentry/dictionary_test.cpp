#include "textentry/dictionary.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <optional>

#include "platform/file_service.h"
#include "textentry_fixture.h"

namespace pb {
namespace {

using test::Cp;
using test::TempDir;
using test::Utf;
namespace fs = std::filesystem;

// Column 0 of the grid as UTF-8, row by row.
std::vector<std::string> Column(const CellTable& t, int column = 0) {
    std::vector<std::string> out;
    for (int r = 0; r < t.RowCount(); ++r) out.push_back(Utf(t.Cell(column, r)));
    return out;
}

int Query(CellTable& grid, const std::string& folder, const std::string& readingUtf8) {
    return QueryToGrid(grid, DictionaryPath(folder), kKanjiQuery, {Cp(readingUtf8)}, false,
                       "Kanji");
}

class SmallDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteDicData(dir.path(), "KANJI.txt",
                           "Yomi,Kanji\nかんじ,漢字\nかんじ,幹事\nしょうひん,商品\nかんじ,感じ\n"
                           "\"\"\"\",引用符\nくうらん,\n");
        // Columns found by name, in any order; BtSize 300 and x are no bytes: skipped.
        test::WriteDicData(dir.path(), "KIGO.txt",
                           "BtSize,KbnCD,TokuMJ\n2,1,★\n1,1,*\n2,1,☆\n2,2,￥\n300,1,×\nx,1,×\n");
        ASSERT_TRUE(BuildDictionary(dir.path(), &report));
    }
    TempDir dir;
    DictionaryBuildReport report;
};

TEST_F(SmallDictionary, BuildReportsTheSourcesAndQueriesKeepDictionaryOrder) {
    ASSERT_EQ(report.sources.size(), 4u);  // EJ.txt absent, KANJI.txt, KIGO.txt with 2 skipped
    EXPECT_EQ(std::tuple(report.sources[0].present, report.sources[1].rows, report.sources[2].rows,
                         report.sources[2].skipped),
              std::tuple(false, 6, 4, 2));
    EXPECT_TRUE(CheckDictionary(dir.path()));
    EXPECT_FALSE(Files().FileExists(DictionaryPath(dir.path()) + ".tmp"));

    const std::tuple<const char*, int, std::vector<std::string>> cases[] = {
        {"かんじ", 3, {"漢字", "幹事", "感じ"}},
        {"\"", 1, {"引用符"}},  // a double quote is looked up like any other reading
        {"くうらん", 1, {""}},  // Null gives an empty cell
        {"ないよ", 0, {""}},    // no entry: one empty row
    };
    CellTable grid;
    for (const auto& [reading, found, column] : cases) {
        EXPECT_EQ(Query(grid, dir.path(), reading), found) << reading;
        EXPECT_EQ(Column(grid), column) << reading;
    }
}

TEST(Dictionary, UnusableFilesAreFoundAndRebuilt) {
    TempDir dir;
    test::WriteDicData(dir.path(), "KANJI.txt", "Yomi,Kanji\nかんじ,漢字\n");
    ASSERT_TRUE(BuildDictionary(dir.path()));
    const std::string db = DictionaryPath(dir.path());
    const std::string good = test::ReadFileBytes(db);

    // Garbage, truncated, and deleted between runs.
    for (const std::string& bytes :
         {std::string(5000, 'x'), good.substr(0, good.size() / 2), std::string("deleted")}) {
        if (bytes == "deleted") {
            fs::remove(db);
        } else {
            test::WriteFileBytes(db, bytes);
        }
        EXPECT_FALSE(CheckDictionary(dir.path())) << bytes.size();
        CellTable words(2, 1), grid;
        test::IndicatorScope dialogs;
        EXPECT_TRUE(OpenDictionaries(dir.path(), words));
        EXPECT_TRUE(CheckDictionary(dir.path()));
        EXPECT_EQ(Query(grid, dir.path(), "かんじ"), 1);
    }

    // Another schema: a database with a table lacking a column.
    fs::remove(db);
    SqlDatabase(db, SqlDatabase::Mode::Create)
        .Exec(
            "CREATE TABLE lmstEJ(fld1 TEXT); CREATE TABLE lmstKANJI(Yomi TEXT);"
            "CREATE TABLE lmstKIGO(KbnCD, TokuMJ, BtSize);"
            "CREATE TABLE lmstYUBIN(ToDoFuKenCD, YubinCD, Fld1, Fld2, Fld3, Fld4);"
            "CREATE TABLE lmstKATA(KANA)");
    EXPECT_FALSE(CheckDictionary(dir.path()));
}

TEST(Dictionary, ASourceChangedAfterTheBuildIsTakenAtTheNextOpening) {
    TempDir dir;
    test::WriteDicData(dir.path(), "KANJI.txt", "Yomi,Kanji\nかんじ,漢字\n");
    ASSERT_TRUE(BuildDictionary(dir.path()));
    const std::string kanji = dir.path() + "/DicData/KANJI.txt";
    test::WriteDicData(dir.path(), "KANJI.txt", "Yomi,Kanji\nかんじ,漢字\nしん,新\n");
    CellTable words(2, 1), grid;
    test::IndicatorScope dialogs;
    for (const int later : {-10, 10}) {  // an older source is left alone, a newer one is taken
        fs::last_write_time(
            kanji, fs::last_write_time(DictionaryPath(dir.path())) + std::chrono::seconds(later));
        EXPECT_TRUE(OpenDictionaries(dir.path(), words));
        EXPECT_EQ(Query(grid, dir.path(), "しん"), later > 0 ? 1 : 0) << later;
    }
}

TEST(Dictionary, ABuildOnAFullDiskKeepsTheWorkingDictionary) {
    TempDir dir;
    test::WriteDicData(dir.path(), "KANJI.txt", "Yomi,Kanji\nかんじ,漢字\n");
    ASSERT_TRUE(BuildDictionary(dir.path()));
    const std::string working = test::ReadFileBytes(DictionaryPath(dir.path()));
    ASSERT_LT(working.size(), 256u * 1024);
    // Sources that make a dictionary of several megabytes, built with files larger than 256 KiB
    // refused as on a full disk (writes past the limit fail with EFBIG).
    std::string kanji = "Yomi,Kanji\n";
    for (int i = 0; i < 60000; ++i)
        kanji += "よみ" + std::to_string(i) + ",漢字" + std::to_string(i) + "\n";
    test::WriteDicData(dir.path(), "KANJI.txt", kanji);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 256 * 1024;
    const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool built = BuildDictionary(dir.path());
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(built);
    EXPECT_EQ(test::ReadFileBytes(DictionaryPath(dir.path())), working);
    EXPECT_FALSE(Files().FileExists(DictionaryPath(dir.path()) + ".tmp"));
    CellTable grid;
    EXPECT_EQ(Query(grid, dir.path(), "かんじ"), 1);
}

class UserStore : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(BuildUserStore(dir.path())); }
    bool Register(const std::string& utf8) { return RegisterUserWord(dir.path(), Cp(utf8), words); }
    std::pair<std::string, std::string> Row(int r) const {
        return {words.Cell(0, r), Utf(words.Cell(1, r))};
    }
    TempDir dir;
    CellTable words{2, 1};
};

TEST_F(UserStore, IndicesStartAtOneAndSpanFifty) {
    EXPECT_TRUE(Register("商品"));
    EXPECT_EQ(Row(0), (std::pair<std::string, std::string>("1", "商品")));
    for (int i = 2; i <= 50; ++i) ASSERT_TRUE(Register("word" + std::to_string(i)));
    EXPECT_TRUE(Register("word51"));  // 51 - 1 = 50: nothing deleted
    EXPECT_EQ(std::pair(words.RowCount(), words.Cell(0, 50)), std::pair(51, std::string("1")));
    EXPECT_TRUE(Register("word52"));  // 52 - 1 = 51: index 1 goes
    EXPECT_EQ(std::tuple(words.RowCount(), words.Cell(0, 0), words.Cell(0, 50)),
              std::tuple(51, std::string("52"), std::string("2")));
}

TEST_F(UserStore, WordsAreStoredVerbatim) {
    const std::vector<std::string> tricky = {"say \"hi\"", "it's", "\"", "a';DROP TABLE x;--",
                                             "二行\r\n目"};
    for (const auto& w : tricky) EXPECT_TRUE(Register(w)) << w;
    std::vector<std::string> expected(tricky.rbegin(), tricky.rend());
    EXPECT_EQ(Column(words, 1), expected);
    // Registering again finds the stored row (and does not keep two).
    EXPECT_TRUE(Register("say \"hi\""));
    EXPECT_EQ(words.RowCount(), 5);
    EXPECT_EQ(Row(0).second, "say \"hi\"");
}

TEST_F(UserStore, UnusableStoreIsKeptAsideReplacedAndSaidSo) {
    EXPECT_TRUE(Register("残す"));
    const std::string store = UserStorePath(dir.path());
    const std::string good = test::ReadFileBytes(store);
    // What lies where the store should be: what opening makes of it, and whether the words
    // are still listed.
    const std::tuple<const char*, std::optional<std::string>, UserStoreState, bool> cases[] = {
        {"a usable store", good, UserStoreState::Usable, true},
        {"no store", std::nullopt, UserStoreState::Created, false},
        {"an empty file", std::string(), UserStoreState::Created, false},
        {"garbage", std::string("not a database at all, but somebody's words"),
         UserStoreState::Replaced, false},
    };
    for (const auto& [what, bytes, state, listed] : cases) {
        SCOPED_TRACE(what);
        fs::remove(store + ".bak");
        if (bytes)
            test::WriteFileBytes(store, *bytes);
        else
            fs::remove(store);
        UserStoreState got = UserStoreState::Failed;
        CellTable list(2, 1);
        EXPECT_TRUE(OpenDictionaries(dir.path(), list, &got));
        EXPECT_EQ(got, state);
        EXPECT_EQ(Utf(list.Cell(1, 0)), listed ? "残す" : "");
        EXPECT_TRUE(CheckUserStore(dir.path()));
        // The damaged file is kept, and the next start finds the new store usable: said once.
        if (state == UserStoreState::Replaced) {
            EXPECT_EQ(test::ReadFileBytes(store + ".bak"), *bytes);
        }
        EXPECT_EQ(EnsureUserStore(dir.path()), UserStoreState::Usable);
    }
}

}  // namespace
}  // namespace pb
