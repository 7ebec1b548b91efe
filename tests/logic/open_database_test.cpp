// The main window's first activation: the settings row, the record database of
// the stored folder with its record sets, the set-up panel's fill, and what
// happens with files that cannot be used.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/settings_store.h"
#include "logic/opening_fixture.h"
#include "records/open_database.h"

namespace wb::testing {
namespace {

TEST(RecordDatabasePath, OneSlashAlwaysGoesBetween) {
    EXPECT_EQ(recordDatabasePath("/data/shop"), "/data/shop/KORRIN.MDB");
    EXPECT_EQ(recordDatabasePath("/"), "//KORRIN.MDB");
    EXPECT_EQ(recordDatabasePath(""), "/KORRIN.MDB");
}

TEST(DatabaseProblemTitle, NamesTheProblemAndTheFile) {
    EXPECT_EQ(databaseProblemTitle(dberr::kInvalidPath, "/gone/KORRIN.MDB"), "Data folder not found: /gone");
    EXPECT_EQ(databaseProblemTitle(dberr::kNotOurs, "/d/KORRIN.MDB"), "Not a weight and balance database: /d/KORRIN.MDB");
    EXPECT_EQ(databaseProblemTitle(dberr::kReadOnly, "/d/KORRIN.MDB"), "Cannot write to /d/KORRIN.MDB");
    EXPECT_EQ(databaseProblemTitle(dberr::kFileInUse, "/d/KORRIN.MDB"), "In use by another program: /d/KORRIN.MDB");
    EXPECT_EQ(databaseProblemTitle(dberr::kCannotOpen, "/d/KORRIN.MDB"), "Cannot open /d/KORRIN.MDB");
}

void expectNothingOpened(Form1& f) {
    EXPECT_EQ(f.dbRecords, nullptr);
    EXPECT_EQ(f.rsAircraft, nullptr);
    EXPECT_EQ(f.rsFound, nullptr);
    EXPECT_EQ(f.rsCompanyInfo, nullptr);
    EXPECT_EQ(f.rsEquipment, nullptr);
}

TEST(FirstStart, CreatesTheSettingsRowAndOpensTheDataPathPanel) {
    OpeningFixture w;
    Form1& f = w.start();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_FALSE(f.Panel3D7.visible());
    expectNothingOpened(f);
    EXPECT_EQ(f.Text7.text(), "03-09-2004");
    for (TextBox* box : {&f.Text20, &f.Text17, &f.Text25, &f.Text26, &f.Text6, &f.Text22})
        EXPECT_EQ(box->text(), "") << box->name();
    EXPECT_FALSE(fs::exists(w.folder.file(kRecordDatabaseName)));

    // The new settings file holds one row without a folder.
    w.stop();
    auto db = openSettingsDatabase(*w.engine, w.folder.file(SettingsStore::kFileName));
    auto rs = db->CreateDynaset("Company");
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_TRUE(rs->field("DataPath").isNull());
    EXPECT_TRUE(rs->field("CompanyPhone").isNull());
}

TEST(FirstStart, ThePhoneIsFilledBeforeThePathTest) {
    OpeningFixture w;
    w.settings(std::nullopt, "555-0100");
    Form1& f = w.start();
    EXPECT_EQ(f.Text20.text(), "555-0100");
    EXPECT_TRUE(f.Panel3D11.visible());
    expectNothingOpened(f);
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(FirstStart, ASettingsTableWithoutRowGetsOne) {
    OpeningFixture w;
    {
        auto db = createSettingsDatabase(*w.engine, SettingsStore::kFileName);
        db->DeleteRows("Company", Criteria());
    }
    Form1& f = w.start();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_TRUE(f.Data1.row().field("DataPath").isNull());
}

TEST(Opening, AFolderWithoutRecordDatabaseGetsANewOneAndTheSetUpPanel) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    Form1& f = w.start();
    EXPECT_TRUE(w.dialogs.shown.empty());
    ASSERT_NE(f.dbRecords, nullptr);
    EXPECT_TRUE(fs::exists(data + "/KORRIN.MDB"));
    EXPECT_TRUE(f.Panel3D7.visible());
    EXPECT_FALSE(f.Panel3D11.visible());
    EXPECT_EQ(w.focus(), "Text17");
    for (CheckBox* c : {&f.Check3D1, &f.Check3D2, &f.Check3D3, &f.Check3D4}) EXPECT_EQ(c->value(), 1) << c->name();
    EXPECT_TRUE(f.rsAircraft->IsBOF() && f.rsAircraft->IsEOF());
    EXPECT_TRUE(f.rsFound->IsBOF() && f.rsFound->IsEOF());
    EXPECT_EQ(f.rsCompanyInfo->RecordCount(), 1);
}

TEST(Opening, FillsTheSetUpPanelAndTheWorksheetDefaults) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data, "555-0100");
    w.recordDatabase(data, OpeningFixture::fullShop());
    Form1& f = w.start();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_FALSE(f.Panel3D7.visible());
    EXPECT_FALSE(f.Panel3D11.visible());
    EXPECT_EQ(f.Text17.text(), "Korrin Aviation");
    EXPECT_EQ(f.Text18.text(), "1 Field Rd");
    EXPECT_EQ(f.Text19.text(), "Hays, KS 67601");
    EXPECT_EQ(f.Text20.text(), "555-0100");
    EXPECT_EQ(f.Text21.text(), "Weight and Balance");
    EXPECT_EQ(f.Text29.text(), "Equipment List");
    EXPECT_EQ(f.Text25.text(), "J. Smith");
    EXPECT_EQ(f.Text26.text(), "A1234");
    EXPECT_EQ(f.Text6.text(), "J. Smith");
    EXPECT_EQ(f.Text22.text(), "A1234");
    EXPECT_EQ(f.Text7.text(), "03-09-2004");
    // -1 and 1 both tick; 0 leaves the box clear.
    EXPECT_EQ(f.Check3D1.value(), 1);
    EXPECT_EQ(f.Check3D2.value(), 1);
    EXPECT_EQ(f.Check3D3.value(), 0);
    EXPECT_EQ(f.Check3D4.value(), 1);
    EXPECT_EQ(f.rsCompanyInfo->field("CompName").toText(), "Korrin Aviation");
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.ws.SavedState, 0);
}

TEST(Opening, TheFirstMissingRequiredFieldDecidesTheFocus) {
    struct Case { std::vector<const char*> nulls; std::map<std::string, Value> extra; const char* focus; };
    const Case cases[] = {
        {{"CompName", "CompAddress"}, {}, "Text17"},
        {{"CompAddress", "FormTitle"}, {}, "Text18"},
        {{"FormTitle"}, {}, "Text21"},
        {{"CompCSZ", "EquipTitle", "Mechanic", "Cert"}, {}, nullptr},
        {{}, {{"CompName", Value("")}}, nullptr},  // an empty text is a value
    };
    for (const Case& c : cases) {
        OpeningFixture w;
        const std::string data = w.subFolder("data");
        w.settings(data);
        auto shop = OpeningFixture::fullShop();
        for (const char* name : c.nulls) shop[name] = Value::null();
        for (const auto& [name, value] : c.extra) shop[name] = value;
        w.recordDatabase(data, shop);
        Form1& f = w.start();
        const std::string label = c.focus ? c.focus : "none";
        EXPECT_EQ(f.Panel3D7.visible(), c.focus != nullptr) << label;
        if (c.focus) {
            EXPECT_EQ(w.focus(), c.focus);
        }
        for (const char* name : c.nulls) {
            if (std::string(name) == "Mechanic") {
                EXPECT_EQ(f.Text25.text(), "");
                EXPECT_EQ(f.Text6.text(), "");
            }
            if (std::string(name) == "Cert") {
                EXPECT_EQ(f.Text22.text(), "");
            }
        }
    }
}

TEST(Opening, APrintFlagWithoutValueLeavesItsBoxClear) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    auto shop = OpeningFixture::fullShop();
    shop["PrintCo"] = Value::null();
    w.recordDatabase(data, shop);
    Form1& f = w.start();
    EXPECT_EQ(f.Check3D1.value(), 0);
    EXPECT_EQ(f.Check3D2.value(), 1);
    EXPECT_EQ(f.containedFailures(), 0);
}

TEST(Opening, ACompanyTableWithoutRowsGetsTheShopRow) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    w.recordDatabase(data)->DeleteRows("CompanyInfo", Criteria());
    Form1& f = w.start();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(f.rsCompanyInfo->RecordCount(), 1);
    EXPECT_EQ(f.rsCompanyInfo->field("PrintNotes").toNumber(), 1);
    EXPECT_TRUE(f.Panel3D7.visible());
    EXPECT_EQ(w.focus(), "Text17");
}

TEST(Opening, TheSetsStandOnTheirFirstRowsInDateOrder) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    {
        auto db = w.recordDatabase(data, OpeningFixture::fullShop());
        auto rs = db->CreateDynaset("Aircraft");
        for (auto [tail, date] : {std::pair{"N2", "05-01-2003"}, std::pair{"N1", "01-02-2001"},
                                  std::pair{"N3", "12-31-2004"}}) {
            rs->AddNew();
            rs->setField("Tail", tail);
            rs->setField("Date", date);
            rs->Update();
        }
    }
    Form1& f = w.start();
    EXPECT_EQ(f.rsAircraft->field("Tail").toText(), "N1");
    EXPECT_EQ(f.rsFound->field("Tail").toText(), "N1");
    f.rsAircraft->MoveLast();
    EXPECT_EQ(f.rsAircraft->field("Tail").toText(), "N3");
    EXPECT_NE(f.rsAircraft, f.rsFound);
}

TEST(Opening, RunsOnTheFirstActivationOnly) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    w.recordDatabase(data, OpeningFixture::fullShop());
    Form1& f = w.start();
    auto browse = f.rsAircraft;
    f.Text6.setText("Other");
    f.dispatch([&] { f.Activate(); });
    EXPECT_EQ(f.rsAircraft, browse);
    EXPECT_EQ(f.Text6.text(), "Other");
}

// Files that cannot be used are left as they are: a message box names the
// problem, the data-path panel opens and no record set exists.
struct Refusal {
    const char* name;
    std::function<std::string(OpeningFixture&)> prepare;  // returns the stored folder
    std::string titleStart;
};

TEST(Opening, FilesThatCannotBeUsedAreNeverModified) {
    const Refusal refusals[] = {
        {"missing folder", [](OpeningFixture& w) { return w.folder.file("gone"); }, "Data folder not found: "},
        {"foreign file",
         [](OpeningFixture& w) {
             const std::string data = w.subFolder("data");
             writeFile(data + "/KORRIN.MDB", std::string("Standard Jet DB\0\x01\x02 not ours", 28));
             return data;
         },
         "Not a weight and balance database: "},
        {"a database of this program with other tables",
         [](OpeningFixture& w) {
             const std::string data = w.subFolder("data");
             createSettingsDatabase(*w.engine, data + "/KORRIN.MDB")->Close();
             return data;
         },
         "Not a weight and balance database: "},
        {"a folder of that name",
         [](OpeningFixture& w) {
             const std::string data = w.subFolder("data");
             fs::create_directories(data + "/KORRIN.MDB");
             return data;
         },
         "Cannot open "},
    };
    for (const Refusal& r : refusals) {
        OpeningFixture w;
        const std::string data = r.prepare(w);
        w.settings(data);
        const std::string file = data + "/KORRIN.MDB";
        const bool existed = fs::exists(file);
        const std::string before = existed && fs::is_regular_file(file) ? fileBytes(file) : "";
        Form1& f = w.start();
        ASSERT_EQ(w.dialogs.shown.size(), 1u) << r.name;
        EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue") << r.name;
        EXPECT_EQ(w.dialogs.shown[0].style, 64) << r.name;
        EXPECT_EQ(w.dialogs.shown[0].title.rfind(r.titleStart, 0), 0u) << r.name << ": " << w.dialogs.shown[0].title;
        EXPECT_TRUE(f.Panel3D11.visible()) << r.name;
        EXPECT_FALSE(f.Panel3D7.visible()) << r.name;
        expectNothingOpened(f);
        EXPECT_EQ(fs::exists(file), existed) << r.name;
        if (existed && fs::is_regular_file(file)) {
            EXPECT_EQ(fileBytes(file), before) << r.name;
        }
        EXPECT_EQ(f.containedFailures(), 0) << r.name;
    }
}

TEST(Opening, AFolderThatCannotBeWrittenIsReported) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes everywhere";
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    chmod(data.c_str(), 0555);
    Form1& f = w.start();
    chmod(data.c_str(), 0755);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Cannot write to " + data + "/KORRIN.MDB");
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_FALSE(fs::exists(data + "/KORRIN.MDB"));
}

TEST(Opening, AForeignSettingsFileIsReportedAndLeftAlone) {
    OpeningFixture w;
    const std::string foreign("not a settings database at all", 30);
    writeFile(SettingsStore::kFileName, foreign);
    Form1& f = w.start();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Not a weight and balance database: SetupVASK.MDB");
    EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue");
    EXPECT_TRUE(f.Panel3D11.visible());
    expectNothingOpened(f);
    // Save on the panel cannot store into it either; nothing ends, nothing is
    // written, and the user is told that the folder was not stored.
    f.userClick(f.Command3D39);
    EXPECT_EQ(fileBytes(SettingsStore::kFileName), foreign);
    ASSERT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_EQ(w.dialogs.shown[1].title, "Not saved: the settings file SetupVASK.MDB cannot be used");
    EXPECT_NE(w.dialogs.shown[1].text.find("Start the program from a folder where it can write"),
              std::string::npos);
}

TEST(Opening, TheStoreClosedAtLoadIsUsableAgain) {
    OpeningFixture w;
    w.settings(std::nullopt, "555-0100");
    Form1& f = w.start();
    f.Data1.close();
    EXPECT_EQ(f.Data1.row().field("CompanyPhone").toText(), "555-0100");
    EXPECT_TRUE(f.Data1.isOpen());
}

// NewRecord's record-set steps on an open database.
TEST(NewRecordSets, ReCreatesTheBrowseAndEquipmentSetsWithNewRows) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    {
        auto db = w.recordDatabase(data, OpeningFixture::fullShop());
        auto rs = db->CreateDynaset("Equipment");
        for (auto [row, date] : {std::pair{0, "05-01-2003"}, std::pair{1, "01-02-2001"}, std::pair{2, "12-31-2004"}}) {
            rs->AddNew();
            rs->setField("Tail", "N1");
            rs->setField("Date", date);
            rs->setField("RowNum", row);
            rs->Update();
        }
    }
    Form1& f = w.start();
    auto browse = f.rsAircraft, equipment = f.rsEquipment, found = f.rsFound;
    // The set opened at activation is the table in its own order.
    EXPECT_EQ(equipment->field("RowNum").toNumber(), 0);

    f.NewRecord();
    EXPECT_NE(f.rsAircraft, browse);
    EXPECT_NE(f.rsEquipment, equipment);
    EXPECT_EQ(f.rsFound, found);
    // Both new sets have a new row in progress.
    EXPECT_NO_THROW(f.rsAircraft->setField("Tail", "N9"));
    EXPECT_NO_THROW(f.rsEquipment->setField("Tail", "N9"));
    // The equipment set is in date order now.
    f.rsEquipment->MoveFirst();
    std::vector<double> rows;
    for (; !f.rsEquipment->IsEOF(); f.rsEquipment->MoveNext()) rows.push_back(f.rsEquipment->field("RowNum").toNumber());
    EXPECT_EQ(rows, (std::vector<double>{1, 0, 2}));
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.Text6.text(), "J. Smith");
    EXPECT_EQ(f.Text22.text(), "A1234");
    EXPECT_EQ(w.focus(), "Text1");
}

TEST(NewRecordSets, AFailedReCreationLeavesThePreviousSetForTheNewRow) {
    OpeningFixture w;
    const std::string data = w.subFolder("data");
    w.settings(data);
    w.recordDatabase(data, OpeningFixture::fullShop());
    Form1& f = w.start();
    auto browse = f.rsAircraft, equipment = f.rsEquipment;
    f.dbRecords.reset();  // re-creation fails
    f.Text1.setText("N1");
    f.NewRecord();
    EXPECT_EQ(f.rsAircraft, browse);
    EXPECT_EQ(f.rsEquipment, equipment);
    EXPECT_NO_THROW(f.rsAircraft->setField("Tail", "N9"));  // AddNew acted on the old set
    EXPECT_EQ(f.Text1.text(), "");
    EXPECT_EQ(f.Text7.text(), "03-09-2004");
}

}  // namespace
}  // namespace wb::testing
