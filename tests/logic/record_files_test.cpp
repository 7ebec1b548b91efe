// The two database files: new empty files with their first rows, and
// telling our files from others.
#include "records/record_files.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "platform/sqlite/sqlite_engine.h"

namespace wb {
namespace {

class RecordFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "wbfiles-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string file(const char* name) const { return folder + "/" + name; }

    std::string folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
};

TEST_F(RecordFiles, NewRecordDatabaseHasItsTablesAndOneShopRow)
{
    createRecordDatabase(*engine, file(kRecordDatabaseName))->Close();
    auto db = openRecordDatabase(*engine, file(kRecordDatabaseName));

    auto aircraft = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
    EXPECT_TRUE(aircraft->IsBOF() && aircraft->IsEOF());
    std::vector<std::string> fields = aircraft->fieldNames();
    ASSERT_EQ(fields.size(), 52u);
    EXPECT_EQ(fields[0], "Tail");
    EXPECT_EQ(fields[16], "Memo");
    EXPECT_EQ(fields[17], "J1Dsc");
    EXPECT_EQ(fields[22], "J1Tar");
    EXPECT_EQ(fields[51], "F5Arm");

    auto shop = db->CreateDynaset("CompanyInfo");
    EXPECT_EQ(shop->RecordCount(), 1);
    shop->MoveFirst();
    for (const char* name : {"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle", "EquipTitle",
                             "Mechanic", "Cert"}) {
        EXPECT_TRUE(shop->field(name).isNull()) << name;
    }
    for (const char* name : {"PrintCo", "PrintCG", "PrintMech", "PrintNotes"}) {
        EXPECT_EQ(shop->field(name).toNumber(), 1) << name;
    }
    // The font row added later comes after the shop row.
    shop->AddNew();
    shop->setField("CompName", "Reports");
    shop->Update();
    auto again = db->CreateDynaset("CompanyInfo");
    EXPECT_TRUE(again->field("CompName").isNull());
}

TEST_F(RecordFiles, EquipmentRowsKeepTheirTypes)
{
    auto db = createRecordDatabase(*engine, file(kRecordDatabaseName));
    auto rs = db->CreateDynaset("Equipment");
    rs->AddNew();
    rs->setField("Tail", "N12AB");
    rs->setField("Date", "03-09-2004");
    rs->setField("RowNum", 0);
    EXPECT_THROW(rs->setField("Description", std::string(26, 'x')), RuntimeError);
    rs->setField("Description", std::string(25, 'x'));
    rs->setField("Weight", "");  // an empty cell leaves no value
    rs->setField("Install", -1);
    rs->setField("Remove", 0);
    rs->Update();
    rs->FindFirst(Criteria("Tail", Compare::Equal, "N12AB").And("Date", Compare::Equal, "3/9/2004"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_TRUE(rs->field("Weight").isNull());
    EXPECT_TRUE(rs->field("Install").toBool());
    EXPECT_FALSE(rs->field("Remove").toBool());
}

TEST_F(RecordFiles, NewSettingsDatabaseHasOneRowWithoutPath)
{
    createSettingsDatabase(*engine, file(kSettingsDatabaseName))->Close();
    auto db = openSettingsDatabase(*engine, file(kSettingsDatabaseName));
    auto rs = db->CreateDynaset("Company");
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_TRUE(rs->field("DataPath").isNull());
    EXPECT_TRUE(rs->field("CompanyPhone").isNull());
    rs->Edit();
    rs->setField("DataPath", "/home/shop/" + std::string(300, 'd'));  // long paths fit
    rs->Update();
    EXPECT_TRUE(isSettingsDatabase(*db));
    EXPECT_FALSE(isRecordDatabase(*db));
}

TEST_F(RecordFiles, OursWithOtherTablesIsRefused)
{
    createSettingsDatabase(*engine, file("wrong.db"))->Close();
    try {
        openRecordDatabase(*engine, file("wrong.db"));
        FAIL() << "a settings file opened as the record database";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), dberr::kNotOurs);
    }
    EXPECT_THROW(createRecordDatabase(*engine, file("wrong.db")), RuntimeError);
    EXPECT_TRUE(isSettingsDatabase(*openSettingsDatabase(*engine, file("wrong.db"))));
}

}  // namespace
}  // namespace wb
