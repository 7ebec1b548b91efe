#pragma once
// What the benchmarks share: plain SQLite, record databases of the program's
// layout generated once and kept in bench-data/ beside the benchmark program,
// and a working folder for each size whose settings name a copy of one.
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"

namespace wb::bench {

namespace fs = std::filesystem;

constexpr int kChangeRows = 30, kListRows = 100, kRowsPerWeighing = kChangeRows + kListRows;
// Raised when the generated rows change, so that older files are made again.
constexpr int kGeneratorVersion = 1;

// ---- plain SQLite -------------------------------------------------------------

inline void check(int rc, sqlite3* db, const char* doing) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", doing, sqlite3_errmsg(db));
        std::exit(1);
    }
}

struct Sql {
    sqlite3* db = nullptr;
    explicit Sql(const std::string& path) { check(sqlite3_open(path.c_str(), &db), db, "open"); }
    ~Sql() { sqlite3_close(db); }
    void exec(const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db, sql.c_str());
        return st;
    }
    // The plan SQLite chose, one line per step.
    std::string plan(const std::string& sql) {
        sqlite3_stmt* st = prepare("EXPLAIN QUERY PLAN " + sql);
        std::string out;
        while (sqlite3_step(st) == SQLITE_ROW)
            out += std::string(out.empty() ? "" : "; ") + reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
        sqlite3_finalize(st);
        return out;
    }
};

inline void bindText(sqlite3_stmt* st, int i, const std::string& text) {
    sqlite3_bind_text(st, i, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

inline bool columnIs(sqlite3_stmt* st, int i, const char* text) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return t && std::strcmp(t, text) == 0;
}

// ---- generated databases ---------------------------------------------------

inline std::string isoDate(int serial) {  // a day from 1990 on
    Date d = dateFromSerial(32874 + serial);
    return formatIsoDate(d);
}

inline std::string aircraftInsertSql() {
    std::string cols, marks;
    const std::vector<TableDef> tables = recordDatabaseTables();
    for (const FieldDef& f : tables[0].fields) {
        if (!cols.empty()) {
            cols += ", ";
            marks += ", ";
        }
        cols.append(1, '"').append(f.name).append(1, '"');
        marks += "?";
    }
    return "INSERT INTO Aircraft (" + cols + ") VALUES (" + marks + ")";
}

inline const char* kEquipmentInsert =
    "INSERT INTO Equipment (Tail, Date, RowNum, Description, Serial, Weight, Arm, Install, Remove) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";

// Writes one weighing with its 130 rows through prepared statements.
inline void insertWeighing(sqlite3_stmt* aircraft, sqlite3_stmt* equipment, const std::string& tail,
                    const std::string& date) {
    sqlite3_reset(aircraft);
    sqlite3_clear_bindings(aircraft);
    bindText(aircraft, 1, tail);
    bindText(aircraft, 2, date);
    sqlite3_bind_text(aircraft, 4, "Cessna", -1, SQLITE_STATIC);
    sqlite3_bind_double(aircraft, 7, 1500.5);
    sqlite3_bind_double(aircraft, 8, 38.25);
    sqlite3_step(aircraft);
    for (int r = 0; r < kRowsPerWeighing; ++r) {
        const bool change = r < kChangeRows;
        sqlite3_reset(equipment);
        bindText(equipment, 1, tail);
        bindText(equipment, 2, date);
        sqlite3_bind_int(equipment, 3, change ? r : r - kChangeRows);
        sqlite3_bind_text(equipment, 4, r == 0 ? "Previous A/C Empty" : "Equipment item", -1, SQLITE_STATIC);
        sqlite3_bind_text(equipment, 5, "SN-12345", -1, SQLITE_STATIC);
        sqlite3_bind_double(equipment, 6, 2.5);
        sqlite3_bind_double(equipment, 7, 41.0);
        sqlite3_bind_int(equipment, 8, change && r > 0 ? -1 : 0);
        sqlite3_bind_int(equipment, 9, 0);
        sqlite3_step(equipment);
    }
}

// Names the layout and the generator, so a cached file is used only while both
// are what made it.
inline std::string layoutTag() {
    std::string text = std::to_string(kGeneratorVersion);
    for (const TableDef& t : recordDatabaseTables()) {
        text += "|" + t.name;
        for (const FieldDef& f : t.fields)
            text += "," + f.name + ":" + std::to_string(static_cast<int>(f.type)) + ":" + std::to_string(f.size);
        for (const IndexDef& i : t.indexes) {
            text += "/" + i.name;
            for (const std::string& f : i.fields) text += "," + f;
        }
    }
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016zx", std::hash<std::string>{}(text));
    return hex;
}

// The record file of `weighings` weighings as generated, made once in
// bench-data/ beside this program (files of an older layout are removed).
inline fs::path generatedRecords(int weighings) {
    const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path() / "bench-data";
    fs::create_directories(folder);
    const std::string prefix = "records-" + std::to_string(weighings) + "-";
    const fs::path path = folder / (prefix + layoutTag() + ".db");
    if (fs::exists(path)) return path;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(prefix, 0) == 0) fs::remove(e.path());

    std::fprintf(stderr, "Generating %s ...\n", path.c_str());
    fs::path partial = path;
    partial += ".partial";
    {
        auto engine = makeSqliteEngine();
        auto db = createRecordDatabase(*engine, partial.string());
        auto company = db->CreateDynaset("CompanyInfo");
        company->Edit();
        for (const char* field : {"CompName", "CompAddress", "FormTitle", "Mechanic", "Cert"})
            company->setField(field, "Bench Aviation");
        company->Update();
        db->Close();
    }
    {
        Sql sql(partial.string());
        sql.exec("BEGIN");
        sqlite3_stmt* aircraft = sql.prepare(aircraftInsertSql());
        sqlite3_stmt* equipment = sql.prepare(kEquipmentInsert);
        char tail[16];
        for (int w = 0; w < weighings; ++w) {
            std::snprintf(tail, sizeof tail, "N%d", w % 700);
            insertWeighing(aircraft, equipment, tail, isoDate(w));
        }
        sqlite3_finalize(aircraft);
        sqlite3_finalize(equipment);
        sql.exec("COMMIT");
    }
    fs::rename(partial, path);
    return path;
}

// A working folder: a copy of the generated record database and a settings
// database whose DataPath names the folder.
struct ShopFolder {
    std::string folder;
    std::string records() const { return folder + "/" + kRecordDatabaseName; }
};

// The folders of this run, removed at exit.
struct ShopFolders {
    std::map<std::pair<int, int>, ShopFolder> made;
    ~ShopFolders() {
        std::error_code ignored;
        for (const auto& [n, s] : made) fs::remove_all(s.folder, ignored);
    }
};

// The folder of `weighings` weighings; `copy` names another folder of the same
// size, for a second program that must not share the first one's file.
inline const ShopFolder& shop(int weighings, int copy = 0) {
    static ShopFolders folders;
    auto found = folders.made.find({weighings, copy});
    if (found != folders.made.end()) return found->second;

    std::string pattern = (fs::temp_directory_path() / "wbbench-XXXXXX").string();
    ShopFolder s{mkdtemp(pattern.data())};
    fs::copy_file(generatedRecords(weighings), s.records());
    auto engine = makeSqliteEngine();
    auto settings = createSettingsDatabase(*engine, s.folder + "/" + kSettingsDatabaseName);
    auto row = settings->CreateDynaset("Company");
    row->Edit();
    row->setField("DataPath", s.folder);
    row->Update();
    settings->Close();
    return folders.made.emplace(std::pair(weighings, copy), s).first->second;
}

// Message boxes answered at once, no font or printer chosen.
struct QuietDialogs : Dialogs {
    int MsgBox(const std::string&, int, const std::string&) override { return msgbox::kOk; }
    std::optional<Font> chooseFont(const Font&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
};

}  // namespace wb::bench
