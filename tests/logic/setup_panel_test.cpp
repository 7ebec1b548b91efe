// The set-up panel, the report heading font and the printer button, on real
// database files in a fresh working folder.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/form1.h"
#include "app/settings_store.h"
#include "logic/main_window_fixture.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"

namespace wb {
namespace {

namespace fs = std::filesystem;

// The font and printer dialogs answer from queues; the presets are kept.
struct SetupDialogs : testing::FakeDialogs {
    std::deque<std::optional<Font>> fonts;  // nothing queued: Cancel
    std::vector<Font> presets;
    int printerDialogs = 0;
    bool printerAnswer = false;

    std::optional<Font> chooseFont(const Font& preset) override {
        presets.push_back(preset);
        if (fonts.empty()) return std::nullopt;
        std::optional<Font> answer = fonts.front();
        fonts.pop_front();
        return answer;
    }
    bool choosePrinter() override {
        ++printerDialogs;
        return printerAnswer;
    }
};

// A main window whose record database is open with its shop row, as the first
// activation leaves it; the settings row holds a phone.
struct SetupFixture {
    fs::path previous = fs::current_path();
    fs::path folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    SetupDialogs dialogs;
    FixedClock clock{Date{2004, 3, 9}};
    Services services;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Form1> form;

    explicit SetupFixture(bool openRecords = true) {
        char name[] = "/tmp/wb-setup-XXXXXX";
        folder = mkdtemp(name);
        fs::current_path(folder);
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.databases = engine.get();
        services.endProgram = [] {};
        store = std::make_unique<SettingsStore>(services);
        setPhone(Value("555-0100"));
        form = std::make_unique<Form1>(services, *store);
        form->dispatch([&] { form->Load(); });
        form->setVisible(true);
        if (openRecords) {
            form->dbRecords = createRecordDatabase(*engine, (folder / kRecordDatabaseName).string());
            form->rsCompanyInfo = form->dbRecords->CreateDynaset("CompanyInfo");
        }
        form->dispatch([&] { form->Text1.SetFocus(); });
    }
    ~SetupFixture() {
        form.reset();
        store.reset();
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    Form1& f() { return *form; }
    void click(Control& c) { form->userClick(c); }
    void type(Control& c, const std::string& text) {
        form->userFocus(c);
        for (unsigned char ch : text) {
            if (auto* box = dynamic_cast<TextBox*>(&c))
                box->setSelStart(static_cast<int>(box->text().size()));
            form->userKeyPress(c, ch);
        }
    }
    std::string focus() const { return form->focused() ? form->focused()->name() : ""; }

    void setPhone(const Value& phone) {
        store->row().Edit();
        store->row().setField("CompanyPhone", phone);
        store->row().Update();
    }
    Value storedPhone() {
        auto db = openSettingsDatabase(*engine, kSettingsDatabaseName);
        Value v = db->CreateDynaset("Company")->field("CompanyPhone");
        db->Close();
        return v;
    }
    // Writes columns of the first CompanyInfo row behind the window's back.
    void setShop(const std::vector<std::pair<const char*, Value>>& columns) {
        auto rs = f().dbRecords->CreateDynaset("CompanyInfo");
        rs->Edit();
        for (const auto& [column, value] : columns) rs->setField(column, value);
        rs->Update();
    }
    void addFontRow(const char* face, const char* size, const char* bold, const char* italic) {
        auto rs = f().dbRecords->CreateDynaset("CompanyInfo");
        rs->AddNew();
        rs->setField("CompName", Value("Reports"));
        rs->setField("CompAddress", Value(face));
        rs->setField("CompCSZ", Value(size));
        rs->setField("CompPhone", Value(bold));
        rs->setField("FormTitle", Value(italic));
        rs->Update();
    }
    // Every CompanyInfo row in table order: the named columns joined by "|",
    // a column without value as NULL.
    std::vector<std::string> rows(std::vector<const char*> columns) {
        std::vector<std::string> out;
        auto rs = f().dbRecords->CreateDynaset("CompanyInfo");
        while (!rs->IsEOF()) {
            std::string line;
            for (const char* c : columns) {
                Value v = rs->field(c);
                line += (line.empty() ? "" : "|") + (v.isNull() ? std::string("NULL") : v.toText());
            }
            out.push_back(line);
            rs->MoveNext();
        }
        return out;
    }
    std::vector<std::string> fontRows() {
        return rows({"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle"});
    }
};

const Font kArial18Bold{"Arial", 18, true, false};

TEST(SetupPanelLayout, EveryControlAtItsPlaceWithCaptionLimitAndFont) {
    SetupFixture s(false);
    Form1& f = s.f();
    EXPECT_EQ(f.Panel3D7.left(), 600);
    EXPECT_EQ(f.Panel3D7.top(), 540);
    EXPECT_EQ(f.Panel3D7.width(), 7800);
    EXPECT_EQ(f.Panel3D7.height(), 5415);
    EXPECT_FALSE(f.Panel3D7.visible());

    struct Row { Control& c; int left, top, width, height; };
    const Row rows[] = {
        {f.Label12, 165, 180, 7260, 300},   {f.Label11, 240, 525, 2055, 300},
        {f.Text17, 3075, 570, 4365, 225},   {f.Label10, 240, 810, 2865, 300},
        {f.Text18, 3075, 840, 4365, 225},   {f.Label9, 240, 1110, 2715, 300},
        {f.Text19, 3075, 1110, 4365, 225},  {f.Label13, 240, 1545, 2715, 300},
        {f.Text20, 3075, 1530, 4365, 225},  {f.Label14, 240, 2430, 2715, 300},
        {f.Text21, 3075, 2445, 4365, 225},  {f.Label26, 240, 2715, 2715, 300},
        {f.Text29, 3075, 2730, 4365, 225},  {f.Label16, 225, 3075, 2700, 300},
        {f.Text25, 3060, 3075, 2130, 225},  {f.Label17, 5595, 3045, 390, 300},
        {f.Text26, 6015, 3060, 1395, 225},  {f.Check3D1, 345, 3360, 2655, 375},
        {f.Check3D2, 4575, 3390, 2745, 375}, {f.Check3D3, 345, 3705, 2655, 375},
        {f.Check3D4, 4575, 3690, 2745, 375}, {f.Label22, 360, 4200, 1470, 300},
        {f.Command3D29, 360, 4560, 1005, 585}, {f.Command3D40, 2160, 4560, 1005, 585},
        {f.Command3D28, 3570, 4560, 1005, 585}, {f.Text28, 5010, 4560, 2490, 615},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.c.name());
        EXPECT_EQ(r.c.container(), &f.Panel3D7);
        EXPECT_EQ(r.c.left(), r.left);
        EXPECT_EQ(r.c.top(), r.top);
        EXPECT_EQ(r.c.width(), r.width);
        EXPECT_EQ(r.c.height(), r.height);
    }

    struct LabelText { Label& l; const char* caption; };
    const LabelText labels[] = {
        {f.Label12, "Set-up Screen"},        {f.Label11, "Company Name"},
        {f.Label10, "Company Address"},      {f.Label9, "City, State, Zip"},
        {f.Label13, "Phone"},                {f.Label14, "Weight and Balance Title"},
        {f.Label26, "Equipment List Title"}, {f.Label16, "Default Mechanic/Cert"},
        {f.Label17, "No."},                  {f.Label22, "Printer select"},
    };
    for (const LabelText& l : labels) {
        EXPECT_EQ(l.l.caption(), l.caption);
        EXPECT_EQ(l.l.font(), (Font{"MS Sans Serif", 9.75, true, false})) << l.l.name();
    }

    struct Limit { TextBox& box; int max; };
    for (const Limit& l : {Limit{f.Text17, 40}, Limit{f.Text18, 40}, Limit{f.Text19, 40},
                           Limit{f.Text20, 40}, Limit{f.Text21, 40}, Limit{f.Text29, 40},
                           Limit{f.Text25, 15}, Limit{f.Text26, 10}, Limit{f.Text28, 40}})
        EXPECT_EQ(l.box.maxLength(), l.max) << l.box.name();

    EXPECT_EQ(f.Check3D1.caption(), "Print company info              ");
    EXPECT_EQ(f.Check3D2.caption().size(), 31u);
    EXPECT_EQ(f.Check3D3.caption(), std::string("Print mechanic's name") + std::string(8, ' '));
    EXPECT_EQ(f.Check3D4.caption(), std::string("Print notes") + std::string(25, ' '));
    EXPECT_EQ(f.Command3D40.caption(), "Path");
    EXPECT_EQ(f.Command3D28.caption(), "Fonts");
    EXPECT_EQ(f.Command3D29.caption(), "");
    EXPECT_FALSE(f.Command3D29.picture().empty());
    for (CommandButton* b : {&f.Command3D40, &f.Command3D28})
        EXPECT_EQ(b->font(), (Font{"Times New Roman", 18, true, false}));

    // Tab order follows the Enter ring.
    const Control* ring[] = {&f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text29,
                             &f.Text25, &f.Text26, &f.Check3D1, &f.Check3D2, &f.Check3D3, &f.Check3D4};
    for (size_t i = 1; i < std::size(ring); ++i)
        EXPECT_LT(ring[i - 1]->tabIndex(), ring[i]->tabIndex()) << ring[i]->name();
}

TEST(SetupPanel, OpeningFillsTheBoxesFromTheShopRowAndThePhoneFromTheSettings) {
    SetupFixture s;
    Form1& f = s.f();
    s.setShop({{"CompName", Value("Acme Aero")}, {"CompAddress", Value("1 Field Rd")},
               {"CompCSZ", Value("Wichita, KS")}, {"CompPhone", Value("not this one")},
               {"FormTitle", Value("W&B")}, {"EquipTitle", Value("Equipment")},
               {"Mechanic", Value("J. Smith")}, {"Cert", Value("A&P 123")},
               {"PrintCo", Value(-1)}, {"PrintCG", Value(0)}, {"PrintMech", Value(1)},
               {"PrintNotes", Value(0)}});
    f.Text28.setText("typed over");
    const auto before = f.rsCompanyInfo;

    s.click(f.Command3D18);

    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    EXPECT_TRUE(f.Panel3D7.visible());
    EXPECT_EQ(s.focus(), "Text17");
    EXPECT_NE(f.rsCompanyInfo, before);  // a fresh set every opening
    EXPECT_EQ(f.Text17.text(), "Acme Aero");
    EXPECT_EQ(f.Text18.text(), "1 Field Rd");
    EXPECT_EQ(f.Text19.text(), "Wichita, KS");
    EXPECT_EQ(f.Text20.text(), "555-0100");
    EXPECT_EQ(f.Text21.text(), "W&B");
    EXPECT_EQ(f.Text29.text(), "Equipment");
    EXPECT_EQ(f.Text25.text(), "J. Smith");
    EXPECT_EQ(f.Text26.text(), "A&P 123");
    EXPECT_EQ(f.Check3D1.value(), 1);  // -1 ticks
    EXPECT_EQ(f.Check3D2.value(), 0);
    EXPECT_EQ(f.Check3D3.value(), 1);
    EXPECT_EQ(f.Check3D4.value(), 0);
    // No font row: the defaults, showing the shop name.
    EXPECT_EQ(f.Text28.font(), kArial18Bold);
    EXPECT_EQ(f.Text28.text(), "Acme Aero");
    EXPECT_EQ(f.rsCompanyInfo->field("CompName"), Value("Acme Aero"));
}

TEST(SetupPanel, NullColumnsEmptyTheBoxesAndNullFlagsLeaveTheCheckBoxes) {
    SetupFixture s;
    Form1& f = s.f();
    s.setShop({{"PrintCo", Value::null()}, {"PrintCG", Value(1)}});
    s.setPhone(Value::null());
    f.Text17.setText("old");
    f.Text20.setText("old phone");
    f.Check3D1.setValue(1);
    f.Check3D2.setValue(0);

    s.click(f.Command3D18);

    for (TextBox* t : {&f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text29,
                       &f.Text25, &f.Text26})
        EXPECT_EQ(t->text(), "") << t->name();
    EXPECT_EQ(f.Check3D1.value(), 1);  // Null: as it was
    EXPECT_EQ(f.Check3D2.value(), 1);
    EXPECT_TRUE(f.Panel3D7.visible());
}

TEST(SetupPanel, ClosingStoresTheBoxesThePhoneAndFlagsAsOneOrZero) {
    SetupFixture s;
    Form1& f = s.f();
    s.setShop({{"CompName", Value("Acme")}, {"CompCSZ", Value("Wichita")},
               {"Mechanic", Value("Old Mech")}, {"PrintCo", Value(-1)},
               {"PrintNotes", Value(-1)}});
    s.click(f.Command3D18);
    f.Text6.setText("On screen");
    f.ws.SavedState = 1;

    s.type(f.Text18, "2 Hangar Ln");
    f.Text19.setText("");  // emptied by the user
    s.type(f.Text20, "-9");
    f.Text25.setText("");
    s.type(f.Text25, "New Mech");
    s.click(f.Check3D4);  // clears it
    EXPECT_EQ(f.ws.SavedState, 1);  // no set-up box marks the worksheet
    s.click(f.Command3D18);

    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    EXPECT_FALSE(f.Panel3D7.visible());
    EXPECT_EQ(s.focus(), "Text1");
    EXPECT_EQ(s.rows({"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle", "EquipTitle",
                      "Mechanic", "Cert", "PrintCo", "PrintCG", "PrintMech", "PrintNotes"}),
              std::vector<std::string>{"Acme|2 Hangar Ln||555-0100-9|||New Mech||1|1|1|0"});
    EXPECT_EQ(s.storedPhone(), Value("555-0100-9"));
    // The worksheet keeps its mechanic until the next new record.
    EXPECT_EQ(f.Text6.text(), "On screen");
    f.NewRecord();
    EXPECT_EQ(f.Text6.text(), "New Mech");

    // Opening again shows what was typed, the phone from the settings.
    s.click(f.Command3D18);
    EXPECT_EQ(f.Text18.text(), "2 Hangar Ln");
    EXPECT_EQ(f.Text19.text(), "");
    EXPECT_EQ(f.Text20.text(), "555-0100-9");
    EXPECT_EQ(f.Check3D4.value(), 0);
}

TEST(SetupPanel, WithoutRecordDatabaseOpeningShowsThePhoneAndClosingStoresOnlyThePhone) {
    SetupFixture s(false);
    Form1& f = s.f();
    f.Text17.setText("left over");
    f.Check3D3.setValue(1);

    s.click(f.Command3D18);
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    EXPECT_TRUE(f.Panel3D7.visible());
    EXPECT_EQ(f.Text17.text(), "");
    EXPECT_EQ(f.Text20.text(), "555-0100");
    EXPECT_EQ(f.Check3D3.value(), 1);
    EXPECT_EQ(f.Text28.font(), kArial18Bold);
    EXPECT_EQ(s.focus(), "Text17");

    s.type(f.Text20, "1");
    s.click(f.Command3D18);
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    EXPECT_FALSE(f.Panel3D7.visible());
    EXPECT_EQ(s.focus(), "Text1");
    EXPECT_EQ(s.storedPhone(), Value("555-01001"));
    EXPECT_FALSE(fs::exists(s.folder / kRecordDatabaseName));
}

TEST(SetupPanel, WithoutShopRowClosingAddsNoRow) {
    SetupFixture s;
    Form1& f = s.f();
    f.dbRecords->DeleteRows("CompanyInfo", Criteria());
    s.click(f.Command3D18);
    s.type(f.Text17, "Acme");
    s.click(f.Command3D18);
    EXPECT_FALSE(f.Panel3D7.visible());
    EXPECT_TRUE(s.rows({"CompName"}).empty());
    EXPECT_EQ(s.storedPhone(), Value("555-0100"));
}

TEST(SetupPanel, SampleTakesTheStoredFontAttributeByAttribute) {
    struct Case { const char* face; const char* size; const char* bold; const char* italic; Font shown; };
    const Case cases[] = {
        {"Times New Roman", "10.5", "-1", "0", {"Times New Roman", 10.5, true, false}},
        {"Courier New", "12", "0", "True", {"Courier New", 12, false, true}},
        // A size that does not convert leaves the size as it was.
        {"Courier New", "big", "-1", "-1", {"Courier New", 7, true, true}},
        {"Courier New", "0", "0", "0", {"Courier New", 7, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        SetupFixture s;
        Form1& f = s.f();
        s.setShop({{"CompName", Value("Acme")}});
        s.addFontRow(c.face, c.size, c.bold, c.italic);
        f.Text28.setFont(Font{"MS Sans Serif", 7, false, false});
        s.click(f.Command3D18);
        EXPECT_EQ(f.Text28.font(), c.shown);
        EXPECT_EQ(f.Text28.text(), "Acme");
        EXPECT_EQ(f.rsCompanyInfo->field("CompName"), Value("Acme"));  // back on the shop row
    }
}

TEST(SetupPanel, EnterMovesAroundTheRingAndLeavingCheck3D4ClosesIt) {
    SetupFixture s;
    Form1& f = s.f();
    s.click(f.Command3D18);
    Control* ring[] = {&f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text29,
                       &f.Text25, &f.Text26, &f.Check3D1, &f.Check3D2, &f.Check3D3, &f.Check3D4};
    for (size_t i = 0; i + 1 < std::size(ring); ++i) {
        EXPECT_EQ(s.focus(), ring[i]->name());
        f.userKeyPress(*ring[i], 13);
    }
    EXPECT_EQ(s.focus(), "Check3D4");
    EXPECT_EQ(f.Text17.text(), "");  // the Enter went on to the box as typed: nothing
    f.userKeyPress(f.Check3D4, 13);
    EXPECT_EQ(s.focus(), "Check3D4");  // no key handler
    f.userKeyDown(f.Check3D4, keys::kTab, 0);
    EXPECT_EQ(s.focus(), "Text17");
    f.userFocus(f.Check3D4);
    s.click(f.Text2);
    EXPECT_EQ(s.focus(), "Text17");
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
}

TEST(SetupPanel, LeavingTheNameBoxShowsTheNameInTheSample) {
    SetupFixture s;
    Form1& f = s.f();
    s.click(f.Command3D18);
    s.type(f.Text17, "New Name");
    EXPECT_EQ(f.Text28.text(), "");
    f.userKeyPress(f.Text17, 13);
    EXPECT_EQ(f.Text28.text(), "New Name");
}

TEST(ReportFont, FirstOkAppendsOneRowAfterTheShopRowAndTheNextRewritesIt) {
    SetupFixture s;
    Form1& f = s.f();
    s.setShop({{"CompName", Value("Acme")}});
    s.click(f.Command3D18);
    s.type(f.Text17, " Aero");  // not saved yet
    s.dialogs.fonts.push_back(Font{"Times New Roman", 10.5, true, false});
    s.click(f.Command3D28);

    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    ASSERT_EQ(s.dialogs.presets.size(), 1u);
    EXPECT_EQ(s.dialogs.presets[0], kArial18Bold);
    EXPECT_EQ(s.fontRows(), (std::vector<std::string>{"Acme|NULL|NULL|NULL|NULL",
                                                      "Reports|Times New Roman|10.5|-1|0"}));
    EXPECT_EQ(f.Text28.font(), (Font{"Times New Roman", 10.5, true, false}));
    EXPECT_EQ(f.Text28.text(), "Acme Aero");
    EXPECT_EQ(f.rsCompanyInfo->field("CompName"), Value("Acme"));

    s.dialogs.fonts.push_back(Font{"Courier New", 12, false, true});
    s.click(f.Command3D28);
    EXPECT_EQ(s.dialogs.presets.at(1), (Font{"Times New Roman", 10.5, true, false}));
    EXPECT_EQ(s.fontRows(), (std::vector<std::string>{"Acme|NULL|NULL|NULL|NULL",
                                                      "Reports|Courier New|12|0|-1"}));

    // Closing writes the shop row, not the font row.
    s.click(f.Command3D18);
    EXPECT_EQ(s.fontRows(), (std::vector<std::string>{"Acme Aero|||555-0100|",
                                                      "Reports|Courier New|12|0|-1"}));
}

TEST(ReportFont, CancelWritesNothingAndLeavesTheSample) {
    SetupFixture s;
    Form1& f = s.f();
    s.setShop({{"CompName", Value("Acme")}});
    s.addFontRow("Courier New", "12", "0", "0");
    s.click(f.Command3D18);
    const Font sample = f.Text28.font();
    s.click(f.Command3D28);  // nothing queued: Cancel
    EXPECT_EQ(s.dialogs.presets.at(0), (Font{"Courier New", 12, false, false}));
    EXPECT_EQ(f.Text28.font(), sample);
    EXPECT_EQ(f.rsCompanyInfo->field("CompName"), Value("Acme"));
    s.click(f.Command3D18);
    EXPECT_EQ(s.fontRows(), (std::vector<std::string>{"Acme|||555-0100|",
                                                      "Reports|Courier New|12|0|0"}));
}

TEST(ReportFont, AFontRowThatDoesNotConvertStopsBeforeTheDialog) {
    for (const char* size : {"big", ""}) {
        SetupFixture s;
        Form1& f = s.f();
        s.setShop({{"CompName", Value("Acme")}});
        s.addFontRow("Arial", size, "-1", "0");
        s.click(f.Command3D18);
        s.dialogs.fonts.push_back(Font{"Arial", 9, false, false});
        s.click(f.Command3D28);
        EXPECT_TRUE(s.dialogs.presets.empty()) << size;
        EXPECT_EQ(f.rsCompanyInfo->field("CompName"), Value("Acme"));
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    }
}

TEST(ReportFont, NoFontRowIsAddedWhereThereIsNoShopRow) {
    SetupFixture s;
    Form1& f = s.f();
    f.dbRecords->DeleteRows("CompanyInfo", Criteria());
    s.click(f.Command3D18);
    s.dialogs.fonts.push_back(Font{"Arial", 9, false, false});
    s.click(f.Command3D28);
    EXPECT_TRUE(s.rows({"CompName"}).empty());
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
}

TEST(ReportFont, WithoutRecordDatabaseTheDialogDoesNotOpen) {
    SetupFixture s(false);
    Form1& f = s.f();
    s.click(f.Command3D18);
    s.click(f.Command3D28);
    EXPECT_TRUE(s.dialogs.presets.empty());
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
}

TEST(PrinterChoice, OpensTheDialogAndStoresNothing) {
    for (bool ok : {true, false}) {
        SetupFixture s;
        Form1& f = s.f();
        s.setShop({{"CompName", Value("Acme")}});
        s.click(f.Command3D18);
        s.dialogs.printerAnswer = ok;
        s.click(f.Command3D29);
        EXPECT_EQ(s.dialogs.printerDialogs, 1);
        EXPECT_EQ(s.fontRows(), std::vector<std::string>{"Acme|NULL|NULL|NULL|NULL"});
        EXPECT_TRUE(f.Panel3D7.visible());
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    }
}

TEST(SetupPanel, PathButtonShowsTheDataPathPanelAndTheSetUpPanelStays) {
    SetupFixture s;
    Form1& f = s.f();
    s.click(f.Command3D18);
    s.click(f.Command3D40);
    EXPECT_TRUE(f.Panel3D11.visible());
    EXPECT_TRUE(f.Panel3D7.visible());
}

}  // namespace
}  // namespace wb
