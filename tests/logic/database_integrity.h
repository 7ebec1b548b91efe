#pragma once
// The first line of SQLite's own integrity check of a database file, with text
// compared as the program compares it: "ok" for a sound file, "cannot open"
// when the file does not open.
#include <sqlite3.h>

#include <string>

#include "platform/sqlite/text_collation.h"

namespace wb::testing {

inline std::string integrityOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        wb::sqlite::registerTextCollation(db);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

}  // namespace wb::testing
