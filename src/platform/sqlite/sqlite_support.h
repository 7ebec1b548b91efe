#pragma once
// Small RAII helpers over the SQLite C interface: values as SQLite holds them,
// prepared statements and error mapping. Text is UTF-8 on both sides.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/failure.h"

namespace wb::sqlite {

// NULL, a whole number, a double or UTF-8 text.
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string>;

inline bool isNull(const SqlValue& v) { return std::holds_alternative<std::monostate>(v); }

// Throws the RuntimeError that fits an SQLite result code.
[[noreturn]] void fail(sqlite3* db, int rc, const std::string& doing);

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void reset();
    void bind(int index, const SqlValue& v);  // index from 1
    void bindAll(const std::vector<SqlValue>& values, int first = 1);
    // True when a row is ready; false when done. Failures throw.
    bool step();
    // Runs to the end (for statements without result rows).
    void run();
    // Hears every failed step, before its failure is thrown.
    void onFailure(std::function<void(const RuntimeError&)> hear) { onFailure_ = std::move(hear); }
    SqlValue column(int index) const;  // from 0
    std::int64_t columnInt(int index) const { return sqlite3_column_int64(stmt_, index); }
    double columnDouble(int index) const { return sqlite3_column_double(stmt_, index); }
    // The column's value object: valid until the next step or reset; read only
    // on this connection's thread.
    sqlite3_value* columnValue(int index) const { return sqlite3_column_value(stmt_, index); }
    int columnType(int index) const { return sqlite3_column_type(stmt_, index); }
    // Valid until the next step, reset or another reading of the column.
    std::string_view columnText(int index) const
    {
        const unsigned char* text = sqlite3_column_text(stmt_, index);
        return {reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, index))};
    }
    int columnCount() const { return sqlite3_column_count(stmt_); }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::function<void(const RuntimeError&)> onFailure_;
};

// Runs SQL without parameters or results (schema, pragmas, transactions).
void exec(sqlite3* db, const std::string& sql);

// "name" with inner quotes doubled: only for names taken from the schema.
std::string quoteName(const std::string& name);

}  // namespace wb::sqlite
