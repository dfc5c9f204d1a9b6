#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::core {

// A thin owner of SQLite's plain C API: one connection, its prepared
// statements and its transactions. Failures come back as SqlError values;
// nothing here throws.

struct SqlError {
    int Code = 0;  // SQLite's primary result code; 0 when there was no fault
    std::string Message;

    bool Busy() const;  // another connection holds the lock
    explicit operator bool() const { return Code != 0; }
};

class SqlStatement {
public:
    SqlStatement() = default;
    SqlStatement(SqlStatement&& other) noexcept;
    SqlStatement& operator=(SqlStatement&& other) noexcept;
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;
    ~SqlStatement();

    // Parameters are numbered from 1, as SQLite numbers them. Texts are
    // copied by SQLite.
    void Bind(int index, std::int64_t value);
    void Bind(int index, double value);
    void Bind(int index, std::string_view text);
    void BindNull(int index);

    // Runs to the next row: true with a row, false at the end or on a fault
    // (Error() tells which).
    bool Step();
    // Runs a statement that returns no rows; the fault, if any.
    SqlError Run();
    void Reset();  // ready to run again; keeps the bindings until rebound

    // Columns are numbered from 0. A text column reads as a view valid until
    // the next Step() or Reset().
    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string_view Text(int column) const;
    bool IsNull(int column) const;

    const SqlError& Error() const { return error_; }

private:
    friend class SqlDatabase;
    SqlStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    SqlError error_;
};

class SqlDatabase {
public:
    enum class Mode { ReadOnly, ReadWrite, ReadWriteCreate };

    // Opens the file; nothing when SQLite cannot (error says why).
    static std::optional<SqlDatabase> Open(const std::filesystem::path& file, Mode mode, SqlError& error);

    SqlDatabase(SqlDatabase&& other) noexcept;
    SqlDatabase& operator=(SqlDatabase&& other) noexcept;
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;
    ~SqlDatabase();

    // A prepared statement; an empty one and the fault when the SQL is wrong.
    SqlStatement Prepare(std::string_view sql, SqlError& error);
    // Runs statements that return no rows, one after the other.
    SqlError Execute(const char* sql);
    // The first column of the first row of a query, as a number.
    std::optional<std::int64_t> QueryInt(const char* sql, SqlError& error);

    void SetBusyTimeout(std::chrono::milliseconds timeout);
    std::int64_t LastInsertId() const;
    int Changes() const;  // rows the last statement changed

    sqlite3* Handle() const { return db_; }

private:
    explicit SqlDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

// One write transaction, taken at once (BEGIN IMMEDIATE: the write lock is
// had or the busy timeout runs out before any work is done). Rolled back
// unless committed.
class SqlTransaction {
public:
    explicit SqlTransaction(SqlDatabase& db);
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    ~SqlTransaction();

    const SqlError& BeginError() const { return begin_; }
    SqlError Commit();

private:
    SqlDatabase& db_;
    SqlError begin_;
    bool open_ = false;
};

}  // namespace velmora::core
