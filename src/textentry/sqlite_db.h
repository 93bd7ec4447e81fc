#pragma once
// A thin owner of SQLite connections and prepared statements. Errors come back as an
// SqlError exception carrying SQLite's message, so that an operation made of several steps
// can stop at the first failing one and let the destructors close what was opened.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pb {

class SqlError : public std::runtime_error {
  public:
    SqlError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// A value bound to a "?" of a statement: text is passed as the bytes it holds.
using SqlParam = std::variant<std::int64_t, std::string>;

class SqlStatement {
  public:
    SqlStatement() = default;
    SqlStatement(sqlite3* db, std::string_view sql);
    ~SqlStatement();
    SqlStatement(SqlStatement&& other) noexcept;
    SqlStatement& operator=(SqlStatement&& other) noexcept;
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Binds parameter `index` (1-based). Text is copied by SQLite when bound.
    void Bind(int index, std::int64_t value);
    void Bind(int index, std::string_view text);
    void BindNull(int index);
    void BindAll(const std::vector<SqlParam>& params);
    // Steps once: true while a row is available, false when done.
    bool Step();
    // Steps a statement that returns no rows.
    void Run();
    // Makes the statement ready to run again, with its bindings cleared.
    void Reset();

    int ColumnCount() const;
    // -1 when the statement has no column of that name (compared without regard to case).
    int ColumnIndex(std::string_view name) const;
    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    // The bytes of a text column; valid until the next Step or Reset.
    std::string_view Text(int column) const;

    sqlite3_stmt* handle() const { return stmt_; }

  private:
    void Check(int rc) const;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqlDatabase {
  public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    SqlDatabase() = default;
    // Opens the file; throws SqlError when it cannot be opened. Create makes a new file when
    // there is none; the other modes never create one.
    SqlDatabase(const std::string& path, Mode mode);
    ~SqlDatabase();
    SqlDatabase(SqlDatabase&& other) noexcept;
    SqlDatabase& operator=(SqlDatabase&& other) noexcept;
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    bool isOpen() const { return db_ != nullptr; }
    void Close();

    // Runs one or more statements without parameters.
    void Exec(std::string_view sql);
    SqlStatement Prepare(std::string_view sql) { return SqlStatement(db_, sql); }

    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

// Begins a transaction that is rolled back unless Commit is called.
class SqlTransaction {
  public:
    explicit SqlTransaction(SqlDatabase& db);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    void Commit();

  private:
    SqlDatabase& db_;
    bool open_ = true;
};

}  // namespace pb
