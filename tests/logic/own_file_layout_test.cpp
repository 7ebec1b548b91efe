// A file that carries this program's mark but not the tables and column types
// the program makes is refused like a foreign file: the message, the data-path
// panel, and not a byte written, whatever the user does next. Indexes and the
// text collation do not count: such a file opens.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>

#include "logic/opening_fixture.h"

namespace wb {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::OpeningFixture;

void rawExec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db) << "\n" << sql;
    sqlite3_close(db);
}

std::string tableSql(const std::string& path, const std::string& table) {
    sqlite3* db = nullptr;
    std::string sql;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE name = ?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(st) == SQLITE_ROW) sql = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return sql;
}

// The table made anew from its own statement edited by `edit`, rows kept.
std::string rebuilt(const std::string& path, const std::string& table,
                    const std::function<std::string(const std::string&)>& edit) {
    return "ALTER TABLE \"" + table + "\" RENAME TO old_table; " + edit(tableSql(path, table)) +
           "; INSERT INTO \"" + table + "\" SELECT * FROM old_table; DROP TABLE old_table;";
}

// The column's declaration in the table's statement given another type.
std::function<std::string(const std::string&)> retyped(const std::string& column, const std::string& type) {
    return [=](const std::string& sql) {
        return std::regex_replace(sql, std::regex("(\"" + column + "\" )[A-Z]+(\\([0-9]+\\))?"), "$1" + type);
    };
}

struct Change {
    const char* what;
    std::function<std::string(const std::string& path)> sql;
};

const Change kRefused[] = {
    {"a number column declared as text",
     [](const std::string& p) { return rebuilt(p, "Aircraft", retyped("Empty", "TEXT(255)")); }},
    {"a shorter text column",
     [](const std::string& p) { return rebuilt(p, "Equipment", retyped("Serial", "TEXT(10)")); }},
    {"a longer text column",
     [](const std::string& p) { return rebuilt(p, "Equipment", retyped("Description", "TEXT(50)")); }},
    {"a text column without a size",
     [](const std::string& p) { return rebuilt(p, "CompanyInfo", retyped("CompName", "TEXT")); }},
    {"a column of a type never declared",
     [](const std::string& p) { return rebuilt(p, "Aircraft", retyped("CG", "BLOB")); }},
    {"a date column declared as a number",
     [](const std::string& p) { return rebuilt(p, "Equipment", retyped("Date", "DOUBLE")); }},
    {"a missing column", [](const std::string&) { return "ALTER TABLE Aircraft DROP COLUMN Memo"; }},
    {"an extra column",
     [](const std::string&) { return "ALTER TABLE Equipment ADD COLUMN Extra DOUBLE"; }},
    {"a renamed column",
     [](const std::string&) { return "ALTER TABLE Aircraft RENAME COLUMN Tail TO TailNumber"; }},
    {"a missing table", [](const std::string&) { return "DROP TABLE CompanyInfo"; }},
    {"an extra table", [](const std::string&) { return "CREATE TABLE Extra (Note TEXT(255))"; }},
};

// A record database made by the program in the stored folder, then changed;
// returns its full name.
std::string changedRecordDatabase(OpeningFixture& w, const Change& c) {
    const std::string data = w.subFolder("data");
    const std::string file = data + "/" + kRecordDatabaseName;
    w.recordDatabase(data, OpeningFixture::fullShop())->Close();
    rawExec(file, c.sql(file));
    w.settings(data);
    return file;
}

TEST(OwnFileLayout, ARecordDatabaseOfAnotherLayoutIsRefusedAndNeverWritten) {
    for (const Change& c : kRefused) {
        SCOPED_TRACE(c.what);
        OpeningFixture w;
        const std::string file = changedRecordDatabase(w, c);
        const std::string before = fileBytes(file);

        Form1& f = w.start();
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, "Not a weight and balance database: " + file);
        EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue");
        EXPECT_EQ(w.dialogs.shown[0].style, msgbox::kInformation);
        EXPECT_TRUE(f.Panel3D11.visible());
        EXPECT_EQ(f.dbRecords, nullptr);
        EXPECT_EQ(f.rsAircraft, nullptr);

        // Whatever the user does next writes nothing into it.
        f.userClick(f.Command3D31);  // the data-path panel's Cancel
        f.Text1.setText("N1");
        f.userClick(f.Command3D13);  // Save
        f.userClick(f.Command3D18);  // Set-up, opened and closed
        f.userClick(f.Command3D18);
        w.stop();
        w.start();  // told again at the next start
        EXPECT_EQ(w.dialogs.shown.back().title, "Not a weight and balance database: " + file);
        w.stop();
        EXPECT_EQ(fileBytes(file), before);
        EXPECT_TRUE(!fs::exists(file + "-journal") || fs::file_size(file + "-journal") == 0);
    }
}

TEST(OwnFileLayout, ASettingsDatabaseOfAnotherLayoutIsRefusedAndNeverWritten) {
    const Change changes[] = {
        {"a text column declared as a number",
         [](const std::string& p) { return rebuilt(p, "Company", retyped("CompanyPhone", "INTEGER")); }},
        {"an extra column",
         [](const std::string&) { return "ALTER TABLE Company ADD COLUMN Extra DOUBLE"; }},
        {"the record database's tables besides",
         [](const std::string&) { return "CREATE TABLE Aircraft (Tail TEXT(255))"; }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        OpeningFixture w;
        w.settings(w.folder.path());
        const std::string file = w.folder.file(SettingsStore::kFileName);
        rawExec(file, c.sql(file));
        const std::string before = fileBytes(file);

        Form1& f = w.start();
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, std::string("Not a weight and balance database: ") +
                                                SettingsStore::kFileName);
        EXPECT_TRUE(f.Panel3D11.visible());
        EXPECT_EQ(f.dbRecords, nullptr);
        f.userClick(f.Command3D39);  // the panel's Save cannot store the folder
        w.stop();
        EXPECT_EQ(fileBytes(file), before);
    }
}

// Files as this program makes them differ in what is not compared: they open.
TEST(OwnFileLayout, IndexesAndTheTextCollationAreNotPartOfTheLayout) {
    const Change kept[] = {
        {"an index dropped", [](const std::string&) { return "DROP INDEX EquipmentKey"; }},
        {"an index added", [](const std::string&) { return "CREATE INDEX AircraftTail ON Aircraft (Tail)"; }},
        {"another collation of every text column",
         [](const std::string& p) {
             return rebuilt(p, "CompanyInfo", [](const std::string& sql) {
                 return std::regex_replace(sql, std::regex("COLLATE [A-Za-z_\"]+"), "COLLATE BINARY");
             });
         }},
        {"text columns without a collation",
         [](const std::string& p) {
             return rebuilt(p, "Aircraft", [](const std::string& sql) {
                 return std::regex_replace(sql, std::regex(" COLLATE [A-Za-z_\"]+"), "");
             });
         }},
    };
    for (const Change& c : kept) {
        SCOPED_TRACE(c.what);
        OpeningFixture w;
        const std::string file = changedRecordDatabase(w, c);
        Form1& f = w.start();
        EXPECT_TRUE(w.dialogs.shown.empty()) << w.dialogs.shown[0].title;
        EXPECT_NE(f.dbRecords, nullptr);
        EXPECT_EQ(f.Text17.text(), "Korrin Aviation");
    }
}

}  // namespace
}  // namespace wb
