// Text entry speed: building DicDB.mdb from the generated KANJI.txt against the sqlite3 shell
// importing the same rows, and one kanji query end to end against a bare prepared statement.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "textentry/dictionary.h"
#include "textentry/skk_dictionary.h"
#include "textentry/sqlite_db.h"

namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path GeneratedKanjiText() {
    return ProgramFolder() / "DicData" / "KANJI.txt";
}

// A scratch program folder holding DicData/KANJI.txt only (the other sources absent).
struct BenchFolder {
    fs::path path;
    BenchFolder() {
        path = fs::temp_directory_path() / ("popboard-bench-" + std::to_string(::getpid()));
        fs::create_directories(path / "DicData");
        fs::copy_file(GeneratedKanjiText(), path / "DicData" / "KANJI.txt",
                      fs::copy_options::overwrite_existing);
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

bool HaveKanjiText(benchmark::State& state) {
    if (fs::exists(GeneratedKanjiText())) return true;
    state.SkipWithError("no DicData/KANJI.txt beside the program (build the dicdata target)");
    return false;
}

// Our whole path: reading the CP932 file, parsing it, inserting the rows, the index, the
// move into place.
void BM_BuildDictionary(benchmark::State& state) {
    if (!HaveKanjiText(state)) return;
    BenchFolder folder;
    long rows = 0;
    for (auto _ : state) {
        pb::DictionaryBuildReport report;
        if (!pb::BuildDictionary(folder.path.string(), &report)) {
            state.SkipWithError(report.error.c_str());
            return;
        }
        rows = report.sources[1].rows;
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BuildDictionary)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The sqlite3 shell importing the same rows into the same table and creating the same index,
// as it comes (rollback journal, full sync) and with the journal and sync off as ours.
void ShellImport(benchmark::State& state, bool withoutJournal) {
    if (!HaveKanjiText(state)) return;
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) {
        state.SkipWithError("no sqlite3 shell");
        return;
    }
    BenchFolder folder;
    const fs::path db = folder.path / "shell.db";
    const fs::path script = folder.path / "import.sql";
    {
        std::ofstream out(script);
        if (withoutJournal) out << "PRAGMA journal_mode=OFF;\nPRAGMA synchronous=OFF;\n";
        out << "CREATE TABLE lmstKANJI(Yomi TEXT, Kanji TEXT);\n"
            << ".import --csv --skip 1 " << (folder.path / "DicData" / "KANJI.txt").string()
            << " lmstKANJI\n"
            << "CREATE INDEX lmstKANJI_Yomi ON lmstKANJI(Yomi);\n";
    }
    const std::string command = "sqlite3 " + db.string() + " < " + script.string() + " > /dev/null";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(db);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the sqlite3 shell failed");
            return;
        }
    }
}
void BM_ShellImport(benchmark::State& state) {
    ShellImport(state, false);
}
void BM_ShellImportWithoutJournal(benchmark::State& state) {
    ShellImport(state, true);
}
BENCHMARK(BM_ShellImport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_ShellImportWithoutJournal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

struct QueryFolder {
    BenchFolder folder;
    bool built = pb::BuildDictionary(folder.path.string());
    std::string db = pb::DictionaryPath(folder.path.string());
};

QueryFolder& SharedQueryFolder() {
    static QueryFolder q;
    return q;
}

// One re-query while typing, as the keyboard runs it: the kept connection and statement, the
// reading bound, every candidate of "かんじ" put into the candidate grid.
void BM_KanjiQueryEndToEnd(benchmark::State& state) {
    if (!HaveKanjiText(state)) return;
    QueryFolder& q = SharedQueryFolder();
    const std::string reading = pb::Utf8ToCp932("かんじ");
    pb::CellTable grid;
    int rows = 0;
    for (auto _ : state) {
        rows = pb::QueryToGrid(grid, q.db, pb::kKanjiRequery, {reading}, false, "Kanji");
        benchmark::DoNotOptimize(rows);
    }
    state.counters["candidates"] = rows;
}
BENCHMARK(BM_KanjiQueryEndToEnd)->MinTime(2);

// The same lookup on a bare prepared statement: bind, step, copy each candidate out.
void BM_KanjiQueryBareStatement(benchmark::State& state) {
    if (!HaveKanjiText(state)) return;
    QueryFolder& q = SharedQueryFolder();
    pb::SqlDatabase db(q.db, pb::SqlDatabase::Mode::ReadOnly);
    pb::SqlStatement stmt = db.Prepare(pb::kKanjiRequery);
    const std::string reading = pb::Utf8ToCp932("かんじ");
    std::vector<std::string> out;
    for (auto _ : state) {
        out.clear();
        stmt.Bind(1, std::string_view(reading));
        while (stmt.Step()) out.emplace_back(stmt.Text(0));
        stmt.Reset();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["candidates"] = static_cast<double>(out.size());
}
BENCHMARK(BM_KanjiQueryBareStatement)->MinTime(2);

// Making KANJI.txt from the SKK dictionary (what the build runs).
void BM_KanjiTextFromSkk(benchmark::State& state) {
    const auto skk = pb::Files().ReadBytes("/usr/share/skk/SKK-JISYO.L");
    if (!skk) {
        state.SkipWithError("no /usr/share/skk/SKK-JISYO.L");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(pb::KanjiTextFromSkk(*skk));
}
BENCHMARK(BM_KanjiTextFromSkk)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
