#include "records/record_files.h"

#include <cstdio>

namespace wb {

namespace {

constexpr int kText = 255;  // the widest text column

FieldDef text(const char* name, int size = kText) { return {name, FieldType::Text, size}; }
FieldDef number(const char* name) { return {name, FieldType::Double, 0}; }

TableDef aircraftTable()
{
    TableDef t{"Aircraft", {}, {{"AircraftDate", {"Date"}}}};
    t.fields = {text("Tail"),   {"Date", FieldType::Date, 0},
                text("Serial"), text("Make"),
                text("Model"),  text("Year"),
                number("Empty"), number("CG"),
                number("MaxWt"), text("Tach"),
                text("By"),     text("Cert"),
                text("Work"),   text("Range1"),
                text("Range2"), text("Range3"),
                {"Memo", FieldType::Memo, 0}};
    const char* groups[][2] = {{"J", "Dsc"}, {"J", "Tar"}, {"J", "Wgt"}, {"J", "Arm"},
                               {"F", "Dsc"}, {"F", "Wgt"}, {"F", "Arm"}};
    for (auto [prefix, suffix] : groups) {
        for (int n = 1; n <= 5; ++n) {
            std::string name = std::string(prefix) + std::to_string(n) + suffix;
            bool isText = std::string(suffix) == "Dsc";
            t.fields.push_back({name, isText ? FieldType::Text : FieldType::Double, isText ? kText : 0});
        }
    }
    return t;
}

TableDef equipmentTable()
{
    return {"Equipment",
            {text("Tail"), {"Date", FieldType::Date, 0}, {"RowNum", FieldType::Long, 0},
             text("Description", 25), text("Serial"), number("Weight"), number("Arm"),
             {"Install", FieldType::Boolean, 0}, {"Remove", FieldType::Boolean, 0}},
            // The key of a weighing's rows, and the date order of the previous list.
            {{"EquipmentKey", {"Tail", "Date", "RowNum"}}, {"EquipmentDate", {"Date"}}}};
}

TableDef companyInfoTable()
{
    return {"CompanyInfo",
            {text("CompName"), text("CompAddress"), text("CompCSZ"), text("CompPhone"), text("FormTitle"),
             text("EquipTitle"), text("Mechanic"), text("Cert"), {"PrintCo", FieldType::Long, 0},
             {"PrintCG", FieldType::Long, 0}, {"PrintMech", FieldType::Long, 0},
             {"PrintNotes", FieldType::Long, 0}},
            {{"CompanyName", {"CompName"}}}};
}

bool sameField(const FieldDef& a, const FieldDef& b)
{
    return sameName(a.name, b.name) && a.type == b.type && a.size == b.size;
}

// The file holds exactly the layout's tables, each with exactly its fields of
// their types and sizes (in any order; indexes are not compared).
bool hasLayout(Database& db, const std::vector<TableDef>& layout)
{
    const std::vector<TableDef> present = db.TableDefs();
    if (present.size() != layout.size()) return false;
    for (const TableDef& wanted : layout) {
        const TableDef* found = nullptr;
        for (const TableDef& t : present) {
            if (sameName(t.name, wanted.name)) found = &t;
        }
        if (!found || found->fields.size() != wanted.fields.size()) return false;
        for (const FieldDef& f : wanted.fields) {
            bool has = false;
            for (const FieldDef& g : found->fields) has = has || sameField(f, g);
            if (!has) return false;
        }
    }
    return true;
}

// Creates the file, then adds its first row; a failure removes the new file.
template <class FirstRow>
std::shared_ptr<Database> createWithRow(DatabaseEngine& engine, const std::string& path,
                                        const std::vector<TableDef>& tables, const char* table, FirstRow fill)
{
    std::shared_ptr<Database> db = engine.CreateDatabase(path, tables);
    try {
        std::shared_ptr<Recordset> rs = db->CreateDynaset(table);
        rs->AddNew();
        fill(*rs);
        rs->Update();
        rs->Close();
    } catch (...) {
        db->Close();
        std::remove(path.c_str());
        throw;
    }
    return db;
}

std::shared_ptr<Database> openChecked(DatabaseEngine& engine, const std::string& path, bool (*check)(Database&))
{
    std::shared_ptr<Database> db = engine.OpenDatabase(path);
    if (!check(*db)) {
        db->Close();
        throw RuntimeError(dberr::kNotOurs, "'" + path + "' does not hold the tables of this program");
    }
    // Only once the layout is known to be ours may opening write to the file.
    db->RepairTextIndexes();
    return db;
}

}  // namespace

std::vector<TableDef> recordDatabaseTables() { return {aircraftTable(), equipmentTable(), companyInfoTable()}; }

std::vector<TableDef> settingsDatabaseTables()
{
    return {{"Company", {{"DataPath", FieldType::Memo, 0}, text("CompanyPhone")}, {}}};
}

std::shared_ptr<Database> createRecordDatabase(DatabaseEngine& engine, const std::string& path)
{
    return createWithRow(engine, path, recordDatabaseTables(), "CompanyInfo", [](Recordset& rs) {
        for (const char* flag : {"PrintCo", "PrintCG", "PrintMech", "PrintNotes"}) rs.setField(flag, 1);
    });
}

std::shared_ptr<Database> createSettingsDatabase(DatabaseEngine& engine, const std::string& path)
{
    return createWithRow(engine, path, settingsDatabaseTables(), "Company", [](Recordset&) {});
}

bool isRecordDatabase(Database& db) { return hasLayout(db, recordDatabaseTables()); }
bool isSettingsDatabase(Database& db) { return hasLayout(db, settingsDatabaseTables()); }

std::shared_ptr<Database> openRecordDatabase(DatabaseEngine& engine, const std::string& path)
{
    return openChecked(engine, path, isRecordDatabase);
}

std::shared_ptr<Database> openSettingsDatabase(DatabaseEngine& engine, const std::string& path)
{
    return openChecked(engine, path, isSettingsDatabase);
}

}  // namespace wb
