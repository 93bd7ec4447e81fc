#include "textentry/sqlite_db.h"

#include <sqlite3.h>
#include <strings.h>

#include <utility>

namespace pb {

namespace {

// Another instance of the program may hold a lock for a moment; waiting is better than
// taking a busy store for a broken one.
constexpr int kBusyTimeoutMs = 3000;

[[noreturn]] void Throw(sqlite3* db, int rc) {
    throw SqlError(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

}  // namespace

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql) : db_(db) {
    if (!db) throw SqlError(SQLITE_MISUSE, "database not open");
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        Throw(db, rc);
    }
    if (!stmt_) throw SqlError(SQLITE_MISUSE, "empty statement");
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(stmt_);
}

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

SqlStatement& SqlStatement::operator=(SqlStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void SqlStatement::Check(int rc) const {
    if (rc != SQLITE_OK) Throw(db_, rc);
}

void SqlStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
}

void SqlStatement::Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
}

void SqlStatement::BindNull(int index) {
    Check(sqlite3_bind_null(stmt_, index));
}

void SqlStatement::BindAll(const std::vector<SqlParam>& params) {
    int index = 1;
    for (const auto& p : params) {
        if (const auto* n = std::get_if<std::int64_t>(&p))
            Bind(index, *n);
        else
            Bind(index, std::string_view(std::get<std::string>(p)));
        ++index;
    }
}

bool SqlStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Throw(db_, rc);
}

void SqlStatement::Run() {
    while (Step()) {
    }
}

void SqlStatement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqlStatement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

int SqlStatement::ColumnIndex(std::string_view name) const {
    const int n = sqlite3_column_count(stmt_);
    for (int i = 0; i < n; ++i) {
        const char* column = sqlite3_column_name(stmt_, i);
        if (column && std::string_view(column).size() == name.size() &&
            strncasecmp(column, name.data(), name.size()) == 0)
            return i;
    }
    return -1;
}

bool SqlStatement::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t SqlStatement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string_view SqlStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

SqlDatabase::SqlDatabase(const std::string& path, Mode mode) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
        case Mode::ReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
        case Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case Mode::Create:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
    }
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw SqlError(rc, message + ": " + path);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

SqlDatabase::~SqlDatabase() {
    Close();
}

SqlDatabase::SqlDatabase(SqlDatabase&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

SqlDatabase& SqlDatabase::operator=(SqlDatabase&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void SqlDatabase::Close() {
    // close_v2 defers the close until statements still alive are finalized.
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqlDatabase::Exec(std::string_view sql) {
    if (!db_) throw SqlError(SQLITE_MISUSE, "database not open");
    const std::string text(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw SqlError(rc, message);
    }
}

SqlTransaction::SqlTransaction(SqlDatabase& db) : db_(db) {
    db_.Exec("BEGIN");
}

SqlTransaction::~SqlTransaction() {
    if (!open_) return;
    try {
        db_.Exec("ROLLBACK");
    } catch (const SqlError&) {
        // The transaction is already gone (SQLite rolls back on some errors by itself).
    }
}

void SqlTransaction::Commit() {
    db_.Exec("COMMIT");
    open_ = false;
}

}  // namespace pb
