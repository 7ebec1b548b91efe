#pragma once
// The two database files of the program: the record database "KORRIN.MDB"
// (tables Aircraft, Equipment, CompanyInfo) and the settings database
// "SetupVASK.MDB" (table Company): their layouts, making a new empty file of
// each, and telling whether an existing file is one of them.
#include <memory>
#include <string>
#include <vector>

#include "platform/database.h"

namespace wb {

inline constexpr const char* kRecordDatabaseName = "KORRIN.MDB";
inline constexpr const char* kSettingsDatabaseName = "SetupVASK.MDB";

// Aircraft (the 52 fields in the order Save writes them), Equipment, CompanyInfo.
std::vector<TableDef> recordDatabaseTables();
// Company (DataPath, CompanyPhone).
std::vector<TableDef> settingsDatabaseTables();

// A new record database: the tables and one shop row in CompanyInfo whose text
// fields have no value and whose four print flags are 1. Fails as
// DatabaseEngine::CreateDatabase does (an existing file is never touched).
std::shared_ptr<Database> createRecordDatabase(DatabaseEngine& engine, const std::string& path);
// A new settings database: table Company with one row, DataPath and
// CompanyPhone without value.
std::shared_ptr<Database> createSettingsDatabase(DatabaseEngine& engine, const std::string& path);

// True when the open database has exactly the tables of the layout, each with
// exactly its fields of their types and sizes (indexes are not compared).
bool isRecordDatabase(Database& db);
bool isSettingsDatabase(Database& db);

// Opens an existing file and checks its layout; a file of this program with
// other tables fails with dberr::kNotOurs (and is closed, untouched). Other
// failures as DatabaseEngine::OpenDatabase.
std::shared_ptr<Database> openRecordDatabase(DatabaseEngine& engine, const std::string& path);
std::shared_ptr<Database> openSettingsDatabase(DatabaseEngine& engine, const std::string& path);

}  // namespace wb
