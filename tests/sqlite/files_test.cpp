// Opening and creating files: foreign files untouched, clear failures.
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "db_fixture.h"

namespace wb::test {
namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A genuine SQLite file made by another program (no mark of ours).
void writeForeignDatabase(const std::string& path)
{
    sqlite3* raw = nullptr;
    sqlite3_open(path.c_str(), &raw);
    sqlite3_exec(raw, "CREATE TABLE Weighing (Tail TEXT); INSERT INTO Weighing VALUES ('X');", nullptr, nullptr,
                 nullptr);
    sqlite3_close(raw);
}

class Files : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
};

TEST_F(Files, ForeignFilesAreRefusedAndLeftUntouched)
{
    const std::string sqliteFile = folder.file("other.db");
    writeForeignDatabase(sqliteFile);
    const std::string textFile = folder.file("notes.txt");
    std::ofstream(textFile) << "Standard Jet DB\nnot a database of ours";
    const std::string emptyFile = folder.file("empty.db");
    std::ofstream{emptyFile};

    for (const std::string& path : {sqliteFile, textFile, emptyFile}) {
        std::string before = contents(path);
        EXPECT_DB_ERROR(engine->OpenDatabase(path), dberr::kNotOurs);
        EXPECT_DB_ERROR(engine->OpenDatabase(path, OpenMode::ReadOnly), dberr::kNotOurs);
        EXPECT_DB_ERROR(engine->CreateDatabase(path, weighingTables()), dberr::kDatabaseExists);
        EXPECT_EQ(contents(path), before) << path;
    }
}

TEST_F(Files, MissingFileAndFolderAreToldApart)
{
    EXPECT_DB_ERROR(engine->OpenDatabase(folder.file("none.db")), dberr::kFileNotFound);
    EXPECT_DB_ERROR(engine->OpenDatabase(folder.file("no/such/none.db")), dberr::kInvalidPath);
    EXPECT_DB_ERROR(engine->CreateDatabase(folder.file("no/such/new.db"), weighingTables()), dberr::kInvalidPath);
    EXPECT_DB_ERROR(engine->OpenDatabase(folder.path()), dberr::kCannotOpen);
}

TEST_F(Files, CreatedFileReopensWithItsLayout)
{
    const std::string path = folder.file("new.db");
    engine->CreateDatabase(path, weighingTables())->Close();
    auto db = engine->OpenDatabase(path);
    std::vector<TableDef> tables = db->TableDefs();
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0].fields.size(), 6u);
    EXPECT_EQ(tables[0].fields[0].name, "Tail");
    EXPECT_EQ(tables[0].fields[0].type, FieldType::Text);
    EXPECT_EQ(tables[0].fields[0].size, 6);
    EXPECT_EQ(tables[0].fields[1].type, FieldType::Date);
    EXPECT_EQ(tables[0].fields[3].type, FieldType::Long);
    EXPECT_EQ(tables[0].fields[4].type, FieldType::Boolean);
    EXPECT_EQ(tables[0].fields[5].type, FieldType::Memo);
    EXPECT_EQ(tables[0].indexes.size(), 2u);
    EXPECT_FALSE(db->readOnly());
}

TEST_F(Files, ReadOnlyFileOpensOnlyForReading)
{
    const std::string path = folder.file("ro.db");
    {
        auto db = engine->CreateDatabase(path, weighingTables());
        auto rs = db->CreateDynaset("Weighing");
        rs->AddNew();
        rs->setField("Tail", "N1");
        rs->Update();
    }
    chmod(path.c_str(), 0444);
    if (geteuid() != 0) {  // root may write any file
        EXPECT_DB_ERROR(engine->OpenDatabase(path), dberr::kReadOnly);
    }
    auto db = engine->OpenDatabase(path, OpenMode::ReadOnly);
    EXPECT_TRUE(db->readOnly());
    auto rs = db->CreateDynaset("Weighing");
    EXPECT_EQ(rs->field("Tail").toText(), "N1");
    EXPECT_DB_ERROR(rs->AddNew(), dberr::kReadOnly);
    EXPECT_DB_ERROR(rs->Edit(), dberr::kReadOnly);
    EXPECT_DB_ERROR(rs->Delete(), dberr::kReadOnly);
    EXPECT_DB_ERROR(db->DeleteRows("Weighing", Criteria()), dberr::kReadOnly);
    EXPECT_EQ(rs->field("Tail").toText(), "N1");
}

// A lock another program holds is waited for as long as the engine is told
// (the program's own engine waits kLockWait), then the call fails.
TEST_F(Files, LockedFileFailsAfterTheLockWaitInsteadOfHanging)
{
    const std::chrono::milliseconds wait(1000);
    auto waiting = makeSqliteEngine(wait);
    const std::string path = folder.file("locked.db");
    auto db = waiting->CreateDatabase(path, weighingTables());
    auto rs = db->CreateDynaset("Weighing");

    sqlite3* other = nullptr;
    sqlite3_open(path.c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    auto start = std::chrono::steady_clock::now();
    rs->AddNew();
    rs->setField("Tail", "N1");
    EXPECT_DB_ERROR(rs->Update(), dberr::kLocked);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, wait);
    EXPECT_LT(waited, wait + std::chrono::seconds(3));
    EXPECT_DB_ERROR(waiting->OpenDatabase(path), dberr::kFileInUse);

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    rs->Update();  // the new row was still pending
    EXPECT_EQ(db->CreateDynaset("Weighing")->RecordCount(), 1);
}

}  // namespace
}  // namespace wb::test
