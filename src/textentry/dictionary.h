#pragma once
// The conversion dictionary "DicDB.mdb" and the user word store "TOUROKU.mdb", two SQLite
// databases in the program folder. The dictionary is built on first use from the optional
// sources EJ.txt, KANJI.txt, KIGO.txt and YUBIN.txt in the folder "DicData" (format in
// dic_text.h); the store keeps the user's own words, newest first, at most 51 of them.
//
// Text in both databases is CP932, as in the sources and in the keyboard's reading. Every
// statement takes text through bound parameters.
//
// `folder` is the program folder (with or without a trailing "/").

#include <string>
#include <string_view>
#include <vector>

#include "textentry/grid_cells.h"
#include "textentry/sqlite_db.h"

namespace pb {

inline constexpr std::string_view kDictionaryFile = "DicDB.mdb";
inline constexpr std::string_view kUserStoreFile = "TOUROKU.mdb";
inline constexpr std::string_view kDicDataFolder = "DicData";

// The kanji query of "漢字変換", the one the candidates re-run while typing, and the query of a
// symbol page (the category bound as an integer). Candidates come back in dictionary order.
inline constexpr std::string_view kKanjiQuery =
    "SELECT Kanji FROM lmstKANJI WHERE lmstKANJI.Yomi=? ORDER BY rowid";
inline constexpr std::string_view kKanjiRequery =
    "SELECT Kanji FROM lmstKANJI WHERE Yomi=? ORDER BY rowid";
inline constexpr std::string_view kSymbolQuery =
    "SELECT TokuMJ FROM lmstKIGO WHERE (KbnCD=?) AND (BtSize=2) ORDER BY rowid";

// A user word may hold at most this many characters; the span of indices kept.
inline constexpr int kUserWordMaxChars = 120;
inline constexpr int kUserWordIndexSpan = 50;

std::string DictionaryPath(const std::string& folder);
std::string UserStorePath(const std::string& folder);

// What a dictionary build read from each source.
struct DictionarySourceReport {
    std::string file;  // "KANJI.txt"
    bool present = false;
    long rows = 0;        // rows stored
    long skipped = 0;     // rows with a value the column cannot take
    std::string problem;  // why the whole file was left out (a missing column), else empty
};
struct DictionaryBuildReport {
    std::vector<DictionarySourceReport> sources;
    std::string error;  // why the build failed, else empty
};

// What became of the user store when it was opened.
enum class UserStoreState {
    Usable,    // as it was
    Created,   // there was none: a new empty store
    Replaced,  // it was unusable: a new empty store, the old file kept as "TOUROKU.mdb.bak"
               // (the user's words are gone from the list, so the user is told)
    Failed,    // there is no usable store
};

// CheckUserStore, and BuildUserStore when the store is unusable.
UserStoreState EnsureUserStore(const std::string& folder);

// True when a source in the folder was changed after the dictionary was built (a newer
// version of the program brought new words or symbols).
bool DictionaryOlderThanSources(const std::string& folder);

// Start-up of the keyboard screen: checks both databases, builds what is unusable or older
// than its sources (with the
// hourglass, and a progress bar while the dictionary is built), and loads the user words into
// `userWords`. True when the user-word controls may be shown. `userStore` receives what became
// of the user store.
bool OpenDictionaries(const std::string& folder, GridCells& userWords,
                      UserStoreState* userStore = nullptr);

// True when the file exists and is a database holding our tables (and, for the dictionary,
// its indexes). Garbage, a truncated file or another schema give false.
bool CheckDictionary(const std::string& folder);
bool CheckUserStore(const std::string& folder);

// Recreates the dictionary from the sources; a missing source leaves its table empty. The new
// file is built beside the old one and replaces it only when complete: False, with the old
// dictionary as it was, when the new one cannot be written or moved into place.
bool BuildDictionary(const std::string& folder, DictionaryBuildReport* report = nullptr);
// Recreates an empty user store. An unusable old store is kept as "TOUROKU.mdb.bak".
bool BuildUserStore(const std::string& folder);

// Fills `grid` with the user words, newest first: column 0 the index, column 1 the word.
bool LoadUserWords(const std::string& folder, GridCells& grid);
// Stores `word` (CP932) as the newest word: index = largest + 1; the oldest goes when the span
// of indices would exceed 50; an equal word already stored is removed first. Then reloads
// `grid`. False (and nothing changed) for an empty word, a missing store or any failure.
bool RegisterUserWord(const std::string& folder, std::string_view word, GridCells& grid);

// Runs a SELECT on the database file and puts `field` of each row into column 0 of `grid`:
// text as it stands, or with `numeric` the integer in decimal; null gives an empty cell, and
// so does an empty field name. A result without rows leaves one empty row. Returns the number
// of rows, or -1 when the query failed (the grid is untouched when it failed before reading).
//
// Connections and prepared statements are kept between calls, so that typing does not reopen
// the database for every key; a file replaced or removed meanwhile is opened anew.
int QueryToGrid(GridCells& grid, const std::string& databasePath, std::string_view statement,
                const std::vector<SqlParam>& params, bool numeric, std::string_view field);
// Closes the connections QueryToGrid keeps (all of them, or those of one file).
void ForgetQueryConnections(const std::string& databasePath = {});

}  // namespace pb
