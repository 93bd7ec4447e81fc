#include "textentry/dictionary.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "platform/work_indicator.h"
#include "textentry/dic_text.h"

namespace pb {

namespace {

enum class ColumnKind { Text, Byte, YesNo };

struct ColumnDef {
    const char* name;
    ColumnKind kind;
};

struct TableDef {
    const char* name;
    const char* source;  // file in DicData, or nullptr
    const char* create;
    std::vector<ColumnDef> columns;
};

// The five tables in the order the check walks them and the build creates them. String
// columns are TEXT, Byte columns integers 0-255, YesNo columns 0 or 1.
const std::vector<TableDef>& Tables() {
    static const std::vector<TableDef> tables = {
        {"lmstEJ",
         "EJ.txt",
         "CREATE TABLE lmstEJ(fld1 TEXT, fld2 TEXT, fld3 INTEGER CHECK (fld3 IN (0, 1)))",
         {{"fld1", ColumnKind::Text}, {"fld2", ColumnKind::Text}, {"fld3", ColumnKind::YesNo}}},
        {"lmstKANJI",
         "KANJI.txt",
         "CREATE TABLE lmstKANJI(Yomi TEXT, Kanji TEXT)",
         {{"Yomi", ColumnKind::Text}, {"Kanji", ColumnKind::Text}}},
        {"lmstKIGO",
         "KIGO.txt",
         "CREATE TABLE lmstKIGO(KbnCD INTEGER CHECK (KbnCD BETWEEN 0 AND 255), TokuMJ TEXT, "
         "BtSize INTEGER CHECK (BtSize BETWEEN 0 AND 255))",
         {{"KbnCD", ColumnKind::Byte}, {"TokuMJ", ColumnKind::Text}, {"BtSize", ColumnKind::Byte}}},
        {"lmstYUBIN",
         "YUBIN.txt",
         "CREATE TABLE lmstYUBIN(ToDoFuKenCD TEXT, YubinCD TEXT, Fld1 TEXT, Fld2 TEXT, Fld3 TEXT, "
         "Fld4 TEXT)",
         {{"ToDoFuKenCD", ColumnKind::Text},
          {"YubinCD", ColumnKind::Text},
          {"Fld1", ColumnKind::Text},
          {"Fld2", ColumnKind::Text},
          {"Fld3", ColumnKind::Text},
          {"Fld4", ColumnKind::Text}}},
        {"lmstKATA", nullptr, "CREATE TABLE lmstKATA(KANA TEXT)", {{"KANA", ColumnKind::Text}}},
    };
    return tables;
}

constexpr std::array<const char*, 2> kDictionaryIndexes = {
    "CREATE INDEX lmstKANJI_Yomi ON lmstKANJI(Yomi)",
    "CREATE INDEX lmstKIGO_KbnCD ON lmstKIGO(KbnCD)",
};
constexpr std::array<const char*, 2> kDictionaryIndexNames = {"lmstKANJI_Yomi", "lmstKIGO_KbnCD"};

constexpr const char* kCreateUserStore =
    "CREATE TABLE tblTOUROKU (TRKIdx INTEGER NOT NULL "
    "CHECK (TRKIdx BETWEEN -2147483648 AND 2147483647), TRKNaiyou TEXT, PRIMARY KEY(TRKIdx))";

std::string InFolder(const std::string& folder, std::string_view name) {
    return JoinPath(folder, name);
}

// A file SQLite can open may still be cut short: the header's page count (when the header
// vouches for it) must fit in the file. Also refuses files that are not SQLite at all.
bool HeaderLooksWhole(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char h[100] = {};
    const std::size_t n = std::fread(h, 1, sizeof h, f);
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    if (n < sizeof h || std::string_view(reinterpret_cast<char*>(h), 16) !=
                            std::string_view("SQLite format 3\0", 16))
        return false;
    const auto be32 = [&](int at) {
        return (std::uint32_t{h[at]} << 24) | (std::uint32_t{h[at + 1]} << 16) |
               (std::uint32_t{h[at + 2]} << 8) | std::uint32_t{h[at + 3]};
    };
    const std::uint32_t rawPageSize = (std::uint32_t{h[16]} << 8) | h[17];
    const std::uint64_t pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    if (pageSize < 512) return false;
    const std::uint32_t pages = be32(28);
    const bool countValid = pages != 0 && be32(24) == be32(92);
    if (countValid && static_cast<std::uint64_t>(size) < pages * pageSize) return false;
    return static_cast<std::uint64_t>(size) >= pageSize;
}

// Opens each table with its columns and reads its first row.
void ProbeTable(SqlDatabase& db, const std::string& table,
                const std::vector<std::string>& columns) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += " FROM " + table + " LIMIT 1";
    auto stmt = db.Prepare(sql);
    stmt.Step();
}

bool CheckDatabase(const std::string& path, SqlDatabase::Mode mode,
                   const std::vector<std::pair<std::string, std::vector<std::string>>>& tables,
                   const std::vector<std::string>& indexes) {
    if (!Files().FileExists(path) || !HeaderLooksWhole(path)) return false;
    try {
        SqlDatabase db(path, mode);
        for (const auto& [table, columns] : tables) ProbeTable(db, table, columns);
        for (const auto& index : indexes) {
            auto stmt = db.Prepare("SELECT 1 FROM sqlite_master WHERE type='index' AND name=?");
            stmt.Bind(1, std::string_view(index));
            if (!stmt.Step()) return false;
        }
        return true;
    } catch (const SqlError&) {
        return false;
    }
}

// Writes the file's data to the disk before it is moved into place.
void SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<std::int64_t> ParseByte(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.empty() || s.size() > 3) return std::nullopt;
    std::int64_t v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > 255) return std::nullopt;
    return v;
}

std::optional<std::int64_t> ParseYesNo(std::string_view s) {
    auto is = [&](const char* word) {
        return s.size() == std::char_traits<char>::length(word) &&
               strncasecmp(s.data(), word, s.size()) == 0;
    };
    if (is("True") || is("Yes") || is("1") || is("-1")) return 1;
    if (is("False") || is("No") || is("0")) return 0;
    return std::nullopt;
}

// Imports one source file into its table with one prepared insert. Returns the bytes read.
void ImportSource(SqlDatabase& db, const TableDef& table, std::string_view bytes,
                  DictionarySourceReport& report, const std::function<void(std::size_t)>& step) {
    DicTextReader reader(bytes);
    std::vector<std::string> fields;
    if (!reader.Next(fields)) return;  // an empty file: an empty table

    // Columns are found by their names in the header, whatever their order.
    std::vector<int> at(table.columns.size(), -1);
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const std::string_view want = table.columns[c].name;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            std::string_view got = fields[f];
            while (!got.empty() && got.back() == ' ') got.remove_suffix(1);
            while (!got.empty() && got.front() == ' ') got.remove_prefix(1);
            if (got.size() == want.size() && strncasecmp(got.data(), want.data(), want.size()) == 0)
                at[c] = static_cast<int>(f);
        }
        if (at[c] < 0) {
            report.problem = "column " + std::string(want) + " missing";
            return;
        }
    }

    std::string sql = std::string("INSERT INTO ") + table.name + " (";
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        sql += std::string(c ? ", " : "") + table.columns[c].name;
    sql += ") VALUES (";
    for (std::size_t c = 0; c < table.columns.size(); ++c) sql += c ? ", ?" : "?";
    sql += ")";
    auto insert = db.Prepare(sql);

    long n = 0;
    while (reader.Next(fields)) {
        bool ok = true;
        for (std::size_t c = 0; c < table.columns.size() && ok; ++c) {
            const int f = at[c];
            const std::string_view value =
                f < static_cast<int>(fields.size()) ? std::string_view(fields[f]) : "";
            const int index = static_cast<int>(c) + 1;
            if (value.empty()) {
                insert.BindNull(index);
                continue;
            }
            switch (table.columns[c].kind) {
                case ColumnKind::Text:
                    ok = IsWellFormedCp932(value);
                    if (ok) insert.Bind(index, value);
                    break;
                case ColumnKind::Byte:
                    if (const auto v = ParseByte(value))
                        insert.Bind(index, *v);
                    else
                        ok = false;
                    break;
                case ColumnKind::YesNo:
                    if (const auto v = ParseYesNo(value))
                        insert.Bind(index, *v);
                    else
                        ok = false;
                    break;
            }
        }
        if (ok) {
            insert.Step();
            ++report.rows;
        } else {
            ++report.skipped;
        }
        insert.Reset();
        if ((++n & 8191) == 0) step(reader.position());
    }
    if (reader.malformed()) report.problem = "a quoted field is not closed";
    step(reader.position());
}

// Connections kept by QueryToGrid, with the identity of the file they were opened on.
struct KeptConnection {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    off_t size = 0;
    SqlDatabase db;
    std::unordered_map<std::string, SqlStatement> statements;
};

std::vector<std::unique_ptr<KeptConnection>>& KeptConnections() {
    static std::vector<std::unique_ptr<KeptConnection>> kept;
    return kept;
}

bool SameFile(const KeptConnection& k, const struct stat& st) {
    return k.device == st.st_dev && k.inode == st.st_ino && k.size == st.st_size &&
           k.modified.tv_sec == st.st_mtim.tv_sec && k.modified.tv_nsec == st.st_mtim.tv_nsec;
}

KeptConnection& ConnectionFor(const std::string& path) {
    struct stat st {};
    auto& kept = KeptConnections();
    if (::stat(path.c_str(), &st) != 0) {
        ForgetQueryConnections(path);
        throw SqlError(14 /* SQLITE_CANTOPEN */, "no such file: " + path);
    }
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if ((*it)->path != path) continue;
        if (SameFile(**it, st)) return **it;
        kept.erase(it);
        break;
    }
    auto k = std::make_unique<KeptConnection>();
    k->path = path;
    k->device = st.st_dev;
    k->inode = st.st_ino;
    k->modified = st.st_mtim;
    k->size = st.st_size;
    k->db = SqlDatabase(path, SqlDatabase::Mode::ReadOnly);
    kept.push_back(std::move(k));
    return *kept.back();
}

// Resets a statement when the query leaves, however it leaves, so that no read transaction
// stays open between queries.
struct ResetOnExit {
    SqlStatement& stmt;
    ~ResetOnExit() { stmt.Reset(); }
};

}  // namespace

std::string DictionaryPath(const std::string& folder) {
    return InFolder(folder, kDictionaryFile);
}
std::string UserStorePath(const std::string& folder) {
    return InFolder(folder, kUserStoreFile);
}

bool CheckDictionary(const std::string& folder) {
    std::vector<std::pair<std::string, std::vector<std::string>>> tables;
    for (const auto& t : Tables()) {
        std::vector<std::string> columns;
        for (const auto& c : t.columns) columns.emplace_back(c.name);
        tables.emplace_back(t.name, std::move(columns));
    }
    return CheckDatabase(DictionaryPath(folder), SqlDatabase::Mode::ReadOnly, tables,
                         {kDictionaryIndexNames.begin(), kDictionaryIndexNames.end()});
}

bool CheckUserStore(const std::string& folder) {
    // Read-write, so that a registration cut short by a crash is rolled back from its journal
    // instead of making the store look unusable.
    return CheckDatabase(UserStorePath(folder), SqlDatabase::Mode::ReadWrite,
                         {{"tblTOUROKU", {"TRKIdx", "TRKNaiyou"}}}, {});
}

bool BuildDictionary(const std::string& folder, DictionaryBuildReport* reportOut) {
    DictionaryBuildReport report;
    const std::string path = DictionaryPath(folder);
    const std::string temp = path + ".tmp";
    ForgetQueryConnections(path);
    // The working dictionary stays until the new one is complete: a build that fails (a full
    // disk, a source that cannot be read) leaves it as it was.
    DeleteFileIfExists(temp);

    // The sources are read first, so that the progress bar knows the whole amount.
    struct Source {
        const TableDef* table;
        std::string bytes;
    };
    std::vector<Source> sources;
    std::size_t total = 0;
    for (const auto& t : Tables()) {
        if (!t.source) continue;
        DictionarySourceReport r;
        r.file = t.source;
        const std::string file = JoinPath(InFolder(folder, kDicDataFolder), t.source);
        if (Files().FileExists(file)) {
            if (auto bytes = Files().ReadBytes(file)) {
                r.present = true;
                total += bytes->size();
                sources.push_back({&t, std::move(*bytes)});
            } else {
                r.problem = "cannot read";
            }
        }
        report.sources.push_back(r);
    }

    bool ok = false;
    try {
        std::unique_ptr<ProgressSink> progress;
        if (total > 0) progress = Indicator().BeginProgress("辞書を作成しています", 1000);
        std::size_t done = 0;
        SqlDatabase db(temp, SqlDatabase::Mode::Create);
        // A new file that is moved into place only when complete needs no journal.
        db.Exec(
            "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
            "PRAGMA cache_size=-32768");
        SqlTransaction transaction(db);
        for (const auto& t : Tables()) db.Exec(t.create);
        for (auto& s : sources) {
            auto& r = *std::find_if(report.sources.begin(), report.sources.end(),
                                    [&](const auto& x) { return x.file == s.table->source; });
            const std::size_t before = done;
            ImportSource(db, *s.table, s.bytes, r, [&](std::size_t at) {
                done = before + at;
                if (progress) progress->SetValue(static_cast<int>(done * 1000 / total));
            });
            done = before + s.bytes.size();
            s.bytes = std::string();
        }
        for (const char* index : kDictionaryIndexes) db.Exec(index);
        transaction.Commit();
        db.Close();
        SyncFile(temp);
        ok = Files().MoveFile(temp, path);
        if (ok)
            Files().SyncFolder(folder);
        else
            report.error = "cannot move the new dictionary into place";
    } catch (const SqlError& e) {
        report.error = e.what();
    }
    if (!ok) DeleteFileIfExists(temp);
    if (reportOut) *reportOut = report;
    return ok;
}

bool BuildUserStore(const std::string& folder) {
    const std::string path = UserStorePath(folder);
    if (Files().FileExists(path)) {
        // The words in a damaged store may still be recoverable by hand.
        const std::string backup = path + ".bak";
        DeleteFileIfExists(backup);
        DeleteFileIfExists(backup + "-journal");
        if (!Files().MoveFile(path, backup) && !Files().DeleteFile(path)) return false;
    }
    // A journal left beside the old file belongs with it, never with the new one.
    const std::string journal = path + "-journal";
    if (Files().FileExists(journal) && !Files().MoveFile(journal, path + ".bak-journal"))
        DeleteFileIfExists(journal);
    try {
        SqlDatabase db(path, SqlDatabase::Mode::Create);
        db.Exec(kCreateUserStore);
        return true;
    } catch (const SqlError&) {
        return false;
    }
}

bool LoadUserWords(const std::string& folder, GridCells& grid) {
    const std::string path = UserStorePath(folder);
    if (!Files().FileExists(path)) return false;
    try {
        SqlDatabase db(path, SqlDatabase::Mode::ReadOnly);
        auto stmt = db.Prepare("SELECT TRKIdx, TRKNaiyou FROM tblTOUROKU ORDER BY TRKIdx DESC");
        grid.SetRowCount(1);
        int row = 0;
        if (!stmt.Step()) {
            grid.SetCell(0, 0, "");
            grid.SetCell(1, 0, "");
            return true;
        }
        do {
            if (row >= grid.RowCount()) grid.SetRowCount(row + 1);
            grid.SetCell(0, row, std::to_string(stmt.Int(0)));
            grid.SetCell(1, row, stmt.IsNull(1) ? std::string_view() : stmt.Text(1));
            ++row;
        } while (stmt.Step());
        return true;
    } catch (const SqlError&) {
        return false;
    }
}

bool RegisterUserWord(const std::string& folder, std::string_view word, GridCells& grid) {
    const std::string path = UserStorePath(folder);
    if (word.empty() || !Files().FileExists(path)) return false;
    try {
        SqlDatabase db(path, SqlDatabase::Mode::ReadWrite);
        // One transaction: a failure part way leaves the store as it was.
        SqlTransaction transaction(db);
        std::int64_t max = 0, min = 0;
        {
            auto stmt =
                db.Prepare("SELECT Min(TRKIdx) AS IDXMin, Max(TRKIdx) AS IDXMax FROM tblTOUROKU");
            if (stmt.Step()) {
                if (!stmt.IsNull(1)) max = stmt.Int(1);
                if (!stmt.IsNull(0)) min = stmt.Int(0);
            }
        }
        if (max >= std::numeric_limits<std::int32_t>::max()) return false;
        const std::int64_t next = max + 1;
        if (next - min > kUserWordIndexSpan) {
            auto stmt = db.Prepare("DELETE FROM tblTOUROKU WHERE TRKIdx=?");
            stmt.Bind(1, min);
            stmt.Run();
        }
        {
            auto stmt = db.Prepare("DELETE FROM tblTOUROKU WHERE TRKNaiyou=?");
            stmt.Bind(1, word);
            stmt.Run();
        }
        {
            auto stmt = db.Prepare("INSERT INTO tblTOUROKU (TRKIdx, TRKNaiyou) VALUES (?, ?)");
            stmt.Bind(1, next);
            stmt.Bind(2, word);
            stmt.Run();
        }
        transaction.Commit();
    } catch (const SqlError&) {
        return false;
    }
    return LoadUserWords(folder, grid);
}

int QueryToGrid(GridCells& grid, const std::string& databasePath, std::string_view statement,
                const std::vector<SqlParam>& params, bool numeric, std::string_view field) {
    try {
        KeptConnection& k = ConnectionFor(databasePath);
        auto it = k.statements.find(std::string(statement));
        if (it == k.statements.end())
            it = k.statements.emplace(std::string(statement), k.db.Prepare(statement)).first;
        SqlStatement& stmt = it->second;
        ResetOnExit resetter{stmt};
        stmt.BindAll(params);
        const int column = field.empty() ? -1 : stmt.ColumnIndex(field);
        if (!field.empty() && column < 0)
            throw SqlError(1 /* SQLITE_ERROR */, "no column " + std::string(field));
        bool more = stmt.Step();
        grid.SetRowCount(1);
        if (!more) {
            grid.SetCell(0, 0, "");
            return 0;
        }
        int row = 0;
        while (more) {
            if (column < 0 || stmt.IsNull(column))
                grid.SetCell(0, row, "");
            else if (numeric)
                grid.SetCell(0, row, std::to_string(stmt.Int(column)));
            else
                grid.SetCell(0, row, stmt.Text(column));
            ++row;
            more = stmt.Step();
            if (more) grid.SetRowCount(row + 1);
        }
        return row;
    } catch (const SqlError&) {
        ForgetQueryConnections(databasePath);
        return -1;
    }
}

void ForgetQueryConnections(const std::string& databasePath) {
    auto& kept = KeptConnections();
    std::erase_if(kept,
                  [&](const auto& k) { return databasePath.empty() || k->path == databasePath; });
}

UserStoreState EnsureUserStore(const std::string& folder) {
    if (CheckUserStore(folder)) return UserStoreState::Usable;
    // An empty file held no words (a store whose creation was cut off): nothing to tell.
    struct stat st {};
    const std::string path = UserStorePath(folder);
    const bool heldWords =
        Files().FileExists(path) && ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
    if (!BuildUserStore(folder)) return UserStoreState::Failed;
    return heldWords ? UserStoreState::Replaced : UserStoreState::Created;
}

bool DictionaryOlderThanSources(const std::string& folder) {
    std::error_code error;
    const auto built = std::filesystem::last_write_time(DictionaryPath(folder), error);
    if (error) return false;
    const std::string sources = InFolder(folder, kDicDataFolder);
    for (const TableDef& t : Tables()) {
        if (!t.source) continue;
        const auto changed = std::filesystem::last_write_time(JoinPath(sources, t.source), error);
        if (!error && changed > built) return true;
    }
    return false;
}

bool OpenDictionaries(const std::string& folder, GridCells& userWords, UserStoreState* userStore) {
    BusyCursor busy;
    bool d = CheckDictionary(folder);
    if (!d) {
        d = BuildDictionary(folder);
    } else if (DictionaryOlderThanSources(folder)) {
        BuildDictionary(folder);  // when it cannot be rebuilt, the working one stays
    }
    const UserStoreState store = EnsureUserStore(folder);
    if (userStore) *userStore = store;
    return d && store != UserStoreState::Failed && LoadUserWords(folder, userWords);
}

}  // namespace pb
