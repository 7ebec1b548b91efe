#include "platform/sqlite/sqlite_support.h"

#include "platform/database.h"

namespace wb::sqlite {

void fail(sqlite3* db, int rc, const std::string& doing)
{
    std::string message = doing + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: throw RuntimeError(dberr::kLocked, message);
    case SQLITE_READONLY: throw RuntimeError(dberr::kReadOnly, message);
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: throw RuntimeError(dberr::kCannotOpen, message);
    case SQLITE_NOMEM: throw RuntimeError(kOutOfMemory, message);
    default: throw RuntimeError(dberr::kDiskError, message);
    }
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db)
{
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) fail(db, rc, "prepare");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::bind(int index, const SqlValue& v)
{
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(v)) {
        rc = sqlite3_bind_null(stmt_, index);
    } else if (auto i = std::get_if<std::int64_t>(&v)) {
        rc = sqlite3_bind_int64(stmt_, index, *i);
    } else if (auto d = std::get_if<double>(&v)) {
        rc = sqlite3_bind_double(stmt_, index, *d);
    } else {
        const std::string& s = std::get<std::string>(v);
        rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) fail(db_, rc, "bind");
}

void Statement::bindAll(const std::vector<SqlValue>& values, int first)
{
    for (size_t i = 0; i < values.size(); ++i) bind(first + static_cast<int>(i), values[i]);
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    try {
        fail(db_, rc, "step");
    } catch (const RuntimeError& e) {
        if (onFailure_) onFailure_(e);
        throw;
    }
}

void Statement::run()
{
    while (step()) {
    }
}

SqlValue Statement::column(int index) const
{
    // One lookup of the column; its value object is then read directly.
    sqlite3_value* v = sqlite3_column_value(stmt_, index);
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return std::monostate{};
    case SQLITE_INTEGER: return static_cast<std::int64_t>(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    default: {
        const unsigned char* text = sqlite3_value_text(v);
        int size = sqlite3_value_bytes(v);
        return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
    }
    }
}

void exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK) fail(db, rc, sql);
}

std::string quoteName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace wb::sqlite
