#pragma once
// A record database of many stored weighings for the tests that break a save
// (power cuts, failing I/O calls), and a snapshot of every weighing a file
// holds, to tell what a broken save changed.
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/database.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"

namespace wb::testing {

// The date of stored weighing i ("mm-dd-yyyy") and its key as a snapshot
// names it (tail in capitals, ISO date).
inline std::string shopDateOf(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", i % 12 + 1, i % 28 + 1, 1990 + i % 30);
    return text;
}
inline std::string shopKeyOf(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "N%d|%04d-%02d-%02d", i, 1990 + i % 30, i % 12 + 1, i % 28 + 1);
    return text;
}

// A record database of `weighings` weighings N0, N1, ..., each with
// `rowsEach` equipment rows.
inline void buildShop(const std::string& path, int weighings, int rowsEach) {
    auto engine = makeSqliteEngine();
    auto db = createRecordDatabase(*engine, path);
    Transaction t(*db);
    auto aircraft = db->CreateDynaset("Aircraft");
    auto equipment = db->CreateDynaset("Equipment");
    for (int i = 0; i < weighings; ++i) {
        const std::string tail = "N" + std::to_string(i);
        aircraft->AddNew();
        aircraft->setField("Tail", tail);
        aircraft->setField("Date", shopDateOf(i));
        aircraft->setField("Make", "Make " + std::to_string(i));
        aircraft->setField("Empty", 1200 + i);
        aircraft->setField("Memo", std::string(static_cast<std::size_t>(i % 7) * 100, 'm'));
        aircraft->Update();
        for (int r = 0; r < rowsEach; ++r) {
            equipment->AddNew();
            equipment->setField("Tail", tail);
            equipment->setField("Date", shopDateOf(i));
            equipment->setField("RowNum", r);
            equipment->setField("Description", "Item " + std::to_string(r));
            equipment->setField("Serial", "S" + std::to_string(i) + "-" + std::to_string(r));
            equipment->setField("Weight", r + 0.5);
            equipment->Update();
        }
    }
    t.commit();
    db->Close();
}

// Every weighing of the file by its key: its Aircraft rows and its Equipment
// rows, each as all its values. Equipment rows whose weighing has no Aircraft
// row are listed under their own key all the same.
using Snapshot = std::map<std::string, std::string>;

inline Snapshot snapshotOf(const std::string& path) {
    Snapshot out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {{"", "cannot open"}};
    }
    for (const char* table : {"Aircraft", "Equipment"}) {
        const std::string sql = std::string("SELECT upper(Tail) || '|' || Date, * FROM ") + table + " ORDER BY 1, " +
                                (std::string(table) == "Equipment" ? "RowNum" : "rowid");
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            out[""] = sqlite3_errmsg(db);
            continue;
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string row = std::string(table) + ":";
            for (int c = 1; c < sqlite3_column_count(st); ++c) {
                const unsigned char* v = sqlite3_column_text(st, c);
                row += (v ? reinterpret_cast<const char*>(v) : "NULL") + std::string("|");
            }
            out[reinterpret_cast<const char*>(sqlite3_column_text(st, 0))] += row + "\n";
        }
        if (rc != SQLITE_DONE) out[""] = sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

// The number of Equipment rows whose weighing has no Aircraft row, as text;
// "cannot open" when the file does not open.
inline std::string orphanEquipmentRowsOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "SELECT count(*) FROM Equipment e WHERE NOT EXISTS (SELECT 1 FROM Aircraft a "
                           "WHERE upper(a.Tail) = upper(e.Tail) AND a.Date = e.Date)",
                           -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        result = std::to_string(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

}  // namespace wb::testing
