#include "sql_reader.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>

#include "platform/sqlite/text_collation.h"

namespace wb::scenario {

namespace {

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalize {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

// working_folder(): the runner's working folder, so that a script can name
// paths under it (a stored DataPath) without knowing where it runs.
void workingFolderFunction(sqlite3_context* context, int, sqlite3_value**) {
    std::string folder = workingFolder();
    sqlite3_result_text(context, folder.c_str(), static_cast<int>(folder.size()), SQLITE_TRANSIENT);
}

Db open(const std::string& file, int flags) {
    if (!std::filesystem::is_regular_file(file)) throw SqlError("no database file " + file);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK) throw SqlError("cannot open " + file + ": " + sqlite3_errmsg(raw));
    sqlite3_busy_timeout(raw, 2000);
    sqlite3_create_function(raw, "working_folder", 0, SQLITE_UTF8, nullptr, workingFolderFunction, nullptr,
                            nullptr);
    // Text compares and is indexed as the program does it.
    wb::sqlite::registerTextCollation(raw);
    return db;
}

Db openReadOnly(const std::string& file) { return open(file, SQLITE_OPEN_READONLY); }

// One statement, nothing after it but blanks and semicolons.
Statement prepareOne(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, &tail) != SQLITE_OK)
        throw SqlError(sqlite3_errmsg(db));
    Statement s(raw);
    if (!s) throw SqlError("empty query");
    while (*tail == ' ' || *tail == ';' || *tail == '\n' || *tail == '\t') ++tail;
    if (*tail) throw SqlError("one statement only");
    return s;
}

Statement prepare(sqlite3* db, const std::string& sql) {
    Statement s = prepareOne(db, sql);
    if (!sqlite3_stmt_readonly(s.get())) throw SqlError("the query must only read");
    return s;
}

std::string shortestNumber(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", d);
        return buf;
    }
    char buf[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, d);
        if (std::strtod(buf, nullptr) == d) break;
    }
    return buf;
}

std::string columnText(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_NULL: return "NULL";
    case SQLITE_INTEGER: return std::to_string(sqlite3_column_int64(s, i));
    case SQLITE_FLOAT: return shortestNumber(sqlite3_column_double(s, i));
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(s, i));
        std::string hex = "X'";
        char buf[3];
        for (int k = 0; k < sqlite3_column_bytes(s, i); ++k) {
            std::snprintf(buf, sizeof buf, "%02X", bytes[k]);
            hex += buf;
        }
        return hex + "'";
    }
    default: {
        std::string text(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                         static_cast<size_t>(sqlite3_column_bytes(s, i)));
        // A stored date with a midnight time reads as the date alone.
        static const std::regex midnight(R"((\d{4}-\d{2}-\d{2})[ T]00:00(:00(\.0+)?)?)");
        std::smatch m;
        if (std::regex_match(text, m, midnight)) return m[1];
        return text;
    }
    }
}

}  // namespace

std::vector<std::string> queryRows(const std::string& file, const std::string& sql) {
    Db db = openReadOnly(file);
    Statement s = prepare(db.get(), sql);
    std::vector<std::string> rows;
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(s.get()); ++i) {
            if (i) row += "|";
            row += columnText(s.get(), i);
        }
        rows.push_back(row);
    }
    if (rc != SQLITE_DONE) throw SqlError(sqlite3_errmsg(db.get()));
    return rows;
}

int executeWrite(const std::string& file, const std::string& sql) {
    Db db = open(file, SQLITE_OPEN_READWRITE);
    Statement s = prepareOne(db.get(), sql);
    if (sqlite3_stmt_readonly(s.get())) throw SqlError("the statement must write; sql reads");
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw SqlError(sqlite3_errmsg(db.get()));
    return sqlite3_changes(db.get());
}

std::string workingFolder() { return std::filesystem::current_path().string(); }

HeldLock::HeldLock(const std::string& file) {
    Db db = open(file, SQLITE_OPEN_READWRITE);
    if (sqlite3_exec(db.get(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw SqlError(std::string("cannot lock ") + file + ": " + sqlite3_errmsg(db.get()));
    db_ = db.release();
}

HeldLock::~HeldLock() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

std::string settingsFile() {
    return (std::filesystem::current_path() / "SetupVASK.MDB").string();
}

std::string recordsFile() {
    // The settings table's name is the program's choice: take the one with DataPath.
    std::string settings = settingsFile();
    Db db = openReadOnly(settings);
    Statement tables = prepare(db.get(), "SELECT name FROM sqlite_master WHERE type = 'table'");
    while (sqlite3_step(tables.get()) == SQLITE_ROW) {
        std::string table = reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 0));
        std::string quotedTable = "\"" + std::regex_replace(table, std::regex("\""), "\"\"") + "\"";
        sqlite3_stmt* raw = nullptr;
        std::string sql = "SELECT DataPath FROM " + quotedTable + " LIMIT 1";
        if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) continue;
        Statement s(raw);
        if (sqlite3_step(raw) != SQLITE_ROW || sqlite3_column_type(raw, 0) == SQLITE_NULL)
            throw SqlError("no DataPath stored in " + settings);
        std::string path = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        return path + "/KORRIN.MDB";
    }
    throw SqlError("no DataPath column in " + settings);
}

}  // namespace wb::scenario
