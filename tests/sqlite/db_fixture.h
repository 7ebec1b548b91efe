#pragma once
// A fresh folder with a small database for engine tests: table Weighing
// (Tail, Date, Weight, Count, Flag, Note) ordered by Date in most tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/database.h"
#include "platform/sqlite/sqlite_engine.h"

namespace wb::test {

inline std::vector<TableDef> weighingTables()
{
    return {{"Weighing",
             {{"Tail", FieldType::Text, 6},
              {"Date", FieldType::Date, 0},
              {"Weight", FieldType::Double, 0},
              {"Count", FieldType::Long, 0},
              {"Flag", FieldType::Boolean, 0},
              {"Note", FieldType::Memo, 0}},
             {{"WeighingDate", {"Date"}}, {"WeighingKey", {"Tail", "Date"}}}}};
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "wbdb-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { db = engine->CreateDatabase(folder.file("test.db"), weighingTables()); }

    // Adds a weighing through its own set and returns nothing.
    void add(const std::string& tail, const std::string& date, double weight = 0)
    {
        auto rs = db->CreateDynaset("Weighing");
        rs->AddNew();
        rs->setField("Tail", tail);
        rs->setField("Date", date);
        rs->setField("Weight", weight);
        rs->Update();
    }

    static std::shared_ptr<Recordset> byDate(Database& d)
    {
        return d.CreateDynaset(RecordSource("Weighing").OrderBy("Date"));
    }

    // The tails of the set from its current row to its end.
    static std::string tailsFromHere(Recordset& rs)
    {
        std::string out;
        while (!rs.IsEOF()) {
            out += (out.empty() ? "" : ",") + rs.field("Tail").toText();
            rs.MoveNext();
        }
        return out;
    }

    TempFolder folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    std::shared_ptr<Database> db;
};

#define EXPECT_DB_ERROR(statement, expected)                                      \
    do {                                                                        \
        try {                                                                   \
            statement;                                                          \
            ADD_FAILURE() << "no RuntimeError from " #statement;                \
        } catch (const ::wb::RuntimeError& e) {                                 \
            EXPECT_EQ(e.number(), (expected)) << #statement << ": " << e.what();    \
        }                                                                       \
    } while (0)

}  // namespace wb::test
