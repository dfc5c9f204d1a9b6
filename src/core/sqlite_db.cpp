#include "core/sqlite_db.h"

#include <sqlite3.h>

#include <utility>

namespace velmora::core {

namespace {

SqlError ErrorOf(sqlite3* db, int code) {
    if (code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW) return {};
    SqlError error;
    error.Code = code & 0xFF;
    error.Message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    return error;
}

}  // namespace

bool SqlError::Busy() const { return Code == SQLITE_BUSY || Code == SQLITE_LOCKED; }

// ---------------------------------------------------------------- statement

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      statement_(std::exchange(other.statement_, nullptr)),
      error_(std::move(other.error_)) {}

SqlStatement& SqlStatement::operator=(SqlStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = std::exchange(other.db_, nullptr);
        statement_ = std::exchange(other.statement_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

SqlStatement::~SqlStatement() { sqlite3_finalize(statement_); }

void SqlStatement::Bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }

void SqlStatement::Bind(int index, double value) { sqlite3_bind_double(statement_, index, value); }

void SqlStatement::Bind(int index, std::string_view text) {
    sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void SqlStatement::BindNull(int index) { sqlite3_bind_null(statement_, index); }

bool SqlStatement::Step() {
    if (statement_ == nullptr) {
        error_ = {SQLITE_MISUSE, "no statement"};
        return false;
    }
    const int code = sqlite3_step(statement_);
    error_ = ErrorOf(db_, code);
    return code == SQLITE_ROW;
}

SqlError SqlStatement::Run() {
    while (Step()) {
    }
    SqlError error = error_;
    Reset();
    return error;
}

void SqlStatement::Reset() { sqlite3_reset(statement_); }

std::int64_t SqlStatement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

double SqlStatement::Real(int column) const { return sqlite3_column_double(statement_, column); }

std::string_view SqlStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

bool SqlStatement::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

// ----------------------------------------------------------------- database

std::optional<SqlDatabase> SqlDatabase::Open(const std::filesystem::path& file, Mode mode, SqlError& error) {
    sqlite3* db = nullptr;
    int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::ReadWriteCreate) flags |= SQLITE_OPEN_CREATE;
    const int code = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        error = ErrorOf(db, code);
        sqlite3_close(db);
        return std::nullopt;
    }
    sqlite3_extended_result_codes(db, 0);
    error = {};
    return SqlDatabase(db);
}

SqlDatabase::SqlDatabase(SqlDatabase&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

SqlDatabase& SqlDatabase::operator=(SqlDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

SqlDatabase::~SqlDatabase() { sqlite3_close_v2(db_); }

SqlStatement SqlDatabase::Prepare(std::string_view sql, SqlError& error) {
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                        &statement, nullptr);
    error = ErrorOf(db_, code);
    if (error) {
        sqlite3_finalize(statement);
        return {};
    }
    return SqlStatement(db_, statement);
}

SqlError SqlDatabase::Execute(const char* sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    SqlError error;
    if (code != SQLITE_OK) {
        error.Code = code & 0xFF;
        error.Message = message ? message : sqlite3_errstr(code);
    }
    sqlite3_free(message);
    return error;
}

std::optional<std::int64_t> SqlDatabase::QueryInt(const char* sql, SqlError& error) {
    SqlStatement statement = Prepare(sql, error);
    if (error) return std::nullopt;
    if (!statement.Step()) {
        error = statement.Error();
        if (!error) error = {SQLITE_ERROR, "the query returned no row"};
        return std::nullopt;
    }
    return statement.Int(0);
}

void SqlDatabase::SetBusyTimeout(std::chrono::milliseconds timeout) {
    sqlite3_busy_timeout(db_, static_cast<int>(timeout.count()));
}

std::int64_t SqlDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int SqlDatabase::Changes() const { return sqlite3_changes(db_); }

// -------------------------------------------------------------- transaction

SqlTransaction::SqlTransaction(SqlDatabase& db) : db_(db) {
    begin_ = db_.Execute("BEGIN IMMEDIATE");
    open_ = !begin_;
}

SqlTransaction::~SqlTransaction() {
    if (open_) db_.Execute("ROLLBACK");
}

SqlError SqlTransaction::Commit() {
    if (!open_) return begin_ ? begin_ : SqlError{SQLITE_MISUSE, "no transaction"};
    SqlError error = db_.Execute("COMMIT");
    // A busy COMMIT leaves the transaction open; the destructor rolls it back.
    if (!error) open_ = false;
    return error;
}

}  // namespace velmora::core
