// popboard-cli dict: the conversion dictionary.
//   dict from-skk FILE [--out PATH]   KANJI.txt from an SKK dictionary (default: DicData/KANJI.txt)
//   dict build                        rebuild DicDB.mdb from DicData
//   dict query READING                kanji candidates of a reading (kana, UTF-8)
//   dict symbols N                    the symbols of page N (1-10)
// Each takes --appdir DIR (default: the folder of popboard-cli).

#include <cstdio>
#include <string>
#include <vector>

#include "cli_appdir.h"
#include "cli_commands.h"
#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "textentry/dictionary.h"
#include "textentry/kana_mapping.h"
#include "textentry/skk_dictionary.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: popboard-cli dict from-skk FILE [--out PATH] [--appdir DIR]\n"
                 "       popboard-cli dict build [--appdir DIR]\n"
                 "       popboard-cli dict query READING [--appdir DIR]\n"
                 "       popboard-cli dict symbols N [--appdir DIR]\n");
    return 2;
}

bool EnsureDictionary(const std::string& appDir) {
    if (pb::CheckDictionary(appDir)) return true;
    if (pb::BuildDictionary(appDir)) return true;
    std::fprintf(stderr, "popboard-cli: cannot build %s\n", pb::DictionaryPath(appDir).c_str());
    return false;
}

int PrintQuery(const std::string& appDir, std::string_view statement,
               const std::vector<pb::SqlParam>& params, const char* field) {
    if (!EnsureDictionary(appDir)) return 1;
    pb::CellTable grid;
    const int rows =
        pb::QueryToGrid(grid, pb::DictionaryPath(appDir), statement, params, false, field);
    if (rows < 0) {
        std::fprintf(stderr, "popboard-cli: the query failed\n");
        return 1;
    }
    for (int r = 0; r < rows; ++r) std::printf("%s\n", pb::Cp932ToUtf8(grid.Cell(0, r)).c_str());
    return rows > 0 ? 0 : 1;
}

int FromSkk(const std::string& appDir, std::vector<std::string>& args) {
    std::string out = pbcli::TakeOption(args, "--out");
    if (args.size() != 1) return Usage();
    const auto bytes = pb::Files().ReadBytes(args[0]);
    if (!bytes) {
        std::fprintf(stderr, "popboard-cli: cannot read %s\n", args[0].c_str());
        return 1;
    }
    pb::SkkImportStats stats;
    const std::string text = pb::KanjiTextFromSkk(*bytes, &stats);
    if (out.empty()) {
        const std::string folder = pb::JoinPath(appDir, pb::kDicDataFolder);
        if (!pb::Files().FolderExists(folder)) pb::Files().CreateFolder(folder);
        out = pb::JoinPath(folder, "KANJI.txt");
    }
    if (!pb::Files().WriteBytes(out, text)) {
        std::fprintf(stderr, "popboard-cli: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %zu readings, %zu rows (%zu candidates skipped, %zu duplicates)\n",
                out.c_str(), stats.readings, stats.rows, stats.skippedCandidates, stats.duplicates);
    return 0;
}

int Build(const std::string& appDir) {
    pb::DictionaryBuildReport report;
    const bool ok = pb::BuildDictionary(appDir, &report);
    for (const auto& s : report.sources) {
        if (!s.present) {
            std::printf("%-10s absent\n", s.file.c_str());
            continue;
        }
        std::printf("%-10s %ld rows", s.file.c_str(), s.rows);
        if (s.skipped) std::printf(", %ld skipped", s.skipped);
        if (!s.problem.empty()) std::printf(" (%s)", s.problem.c_str());
        std::printf("\n");
    }
    if (!ok) {
        std::fprintf(stderr, "popboard-cli: %s\n", report.error.c_str());
        return 1;
    }
    std::printf("%s built\n", pb::DictionaryPath(appDir).c_str());
    return 0;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    if (args.empty() || appDir.empty()) return Usage();
    const std::string sub = args.front();
    args.erase(args.begin());
    if (sub == "from-skk") return FromSkk(appDir, args);
    if (sub == "build" && args.empty()) return Build(appDir);
    if (sub == "query" && args.size() == 1) {
        bool ok = true;
        const std::string cp932 = pb::Utf8ToCp932(args[0], &ok);
        if (!ok) {
            std::fprintf(stderr, "popboard-cli: the reading has characters CP932 lacks\n");
            return 1;
        }
        // The reading as the keyboard makes it: full-width hiragana.
        return PrintQuery(appDir, pb::kKanjiQuery, {pb::ToHiragana(pb::ToFullWidth(cp932))},
                          "Kanji");
    }
    if (sub == "symbols" && args.size() == 1) {
        char* end = nullptr;
        const long page = std::strtol(args[0].c_str(), &end, 10);
        if (!end || *end || page < 1 || page > 10) {
            std::fprintf(stderr, "popboard-cli: the page is a number from 1 to 10\n");
            return 2;
        }
        return PrintQuery(appDir, pb::kSymbolQuery, {static_cast<std::int64_t>(page)}, "TokuMJ");
    }
    return Usage();
}

const pbcli::CliCommandRegistration registration{
    {"dict", "the conversion dictionary: from-skk FILE | build | query READING | symbols N", Run}};

}  // namespace
