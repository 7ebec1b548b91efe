// The settings are never lost silently: every write of the set-up panel, the
// font choice and the data-path panel that fails says so, with the problem
// in the title, and leaves no journal behind that a reader would have to roll
// back; what can be written is. A settings file deleted while the program
// runs is made anew by the next write.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/first_run_advice.h"
#include "app/settings_store.h"
#include "logic/immutable_file.h"
#include "logic/opening_fixture.h"
#include "logic/other_instance.h"

namespace wb::testing {
namespace {

// The font dialog answers Times New Roman 12, bold.
struct FontDialogs : FakeDialogs {
    std::optional<Font> chooseFont(const Font&) override { return Font{"Times New Roman", 12, true, false}; }
};

struct Shop : OpeningFixture {
    FontDialogs fontDialogs;
    const std::string records = folder.file(kRecordDatabaseName);
    const std::string settingsFile = folder.file(SettingsStore::kFileName);

    // Another program's lock on a file is waited for `lockWait`.
    explicit Shop(std::chrono::milliseconds lockWait = kLockWait) {
        engine = makeSqliteEngine(lockWait);
        services.databases = engine.get();
        services.dialogs = &fontDialogs;
        settings(folder.path(), std::string("555-0100"));
        recordDatabase(folder.path(), fullShop())->Close();
        start();
        fontDialogs.shown.clear();
    }
    std::vector<FakeDialogs::Shown>& shown() { return fontDialogs.shown; }
    void click(Control& c) { f().userClick(c); }

    // The set-up panel opened, a new shop name and phone typed, and closed.
    void changeSetUp(const std::string& name, const std::string& phone) {
        click(f().Command3D18);
        f().Text17.setText(name);
        f().Text20.setText(phone);
        shown().clear();
        click(f().Command3D18);
        EXPECT_FALSE(f().Panel3D7.visible());
        EXPECT_EQ(f().containedFailures(), 0) << f().lastFailure();
    }
    // A column of the first row of a table, read by another program that
    // opens the file read-only (it cannot roll back a journal left behind).
    std::string stored(const std::string& file, const char* table, const char* column) {
        try {
            auto db = makeSqliteEngine()->OpenDatabase(file, OpenMode::ReadOnly);
            return db->CreateDynaset(table)->field(column).displayText();
        } catch (const RuntimeError& e) {
            return std::string("cannot read: ") + e.what();
        }
    }
    void expectTold(const std::string& title) {
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0].title, title);
        EXPECT_EQ(shown()[0].text, "Press OK to continue");
        EXPECT_EQ(shown()[0].style, msgbox::kOkOnly | msgbox::kCritical);
        shown().clear();
    }
};

// No journal beside the file that a reader would have to roll back.
void expectNoJournal(const std::string& file) {
    const std::string journal = file + "-journal";
    EXPECT_TRUE(!fs::exists(journal) || fs::file_size(journal) == 0) << fs::file_size(journal) << " bytes";
}

TEST(SettingsNotStored, ASetUpPanelThatCannotWriteTheRecordFileSaysSoAndStoresThePhone) {
    Shop w;
    Immutable immutable(w.records);
    if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
    w.changeSetUp("Korrin Aviation and Sons", "555-0199");
    immutable.release();
    w.expectTold("Set-up not saved: cannot write to " + w.records);
    expectNoJournal(w.records);
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompName"), "Korrin Aviation");
    EXPECT_EQ(w.stored(w.settingsFile, "Company", "CompanyPhone"), "555-0199");

    w.changeSetUp("Korrin Aviation and Sons", "555-0199");
    EXPECT_TRUE(w.shown().empty());
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompName"), "Korrin Aviation and Sons");
}

TEST(SettingsNotStored, ASetUpPanelThatCannotWriteTheSettingsFileSaysSoAndStoresTheShopRow) {
    Shop w;
    Immutable immutable(w.settingsFile);
    if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
    w.changeSetUp("Korrin Aviation and Sons", "555-0199");
    immutable.release();
    w.expectTold(std::string("Set-up not saved: cannot write to ") + SettingsStore::kFileName);
    expectNoJournal(w.settingsFile);
    EXPECT_EQ(w.stored(w.settingsFile, "Company", "CompanyPhone"), "555-0100");
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompName"), "Korrin Aviation and Sons");
}

// Opening under another program's lock: told, and the panel stays closed
// (rather than open with empty boxes that its closing would store). Closing
// under the lock: told.
TEST(SettingsNotStored, ASetUpPanelMeetingAnotherProgramsLockSaysSo) {
    Shop w(std::chrono::milliseconds(300));
    Form1& f = w.f();
    {
        OtherInstance other(w.records, "BEGIN EXCLUSIVE");
        w.click(f.Command3D18);
    }
    ASSERT_EQ(w.shown().size(), 1u);
    EXPECT_EQ(w.shown()[0].title, "In use by another program: " + w.records);
    EXPECT_EQ(w.shown()[0].style, msgbox::kOkOnly | msgbox::kInformation);
    w.shown().clear();
    EXPECT_FALSE(f.Panel3D7.visible());
    EXPECT_EQ(f.Text18.text(), "1 Field Rd");

    w.click(f.Command3D18);
    ASSERT_TRUE(f.Panel3D7.visible());
    f.Text17.setText("Korrin Aviation and Sons");
    {
        OtherInstance other(w.records, "BEGIN EXCLUSIVE");
        w.click(f.Command3D18);
    }
    w.expectTold("Set-up not saved: in use by another program: " + w.records);
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompName"), "Korrin Aviation");
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompAddress"), "1 Field Rd");
}

TEST(SettingsNotStored, AFontChoiceThatCannotBeWrittenSaysSoAndKeepsTheSample) {
    Shop w;
    Form1& f = w.f();
    w.click(f.Command3D18);
    const Font sample = f.Text28.font();
    Immutable immutable(w.records);
    if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
    w.shown().clear();
    w.click(f.Command3D28);
    immutable.release();
    w.expectTold("Font not saved: cannot write to " + w.records);
    expectNoJournal(w.records);
    EXPECT_EQ(f.Text28.font(), sample);
    EXPECT_EQ(w.stored(w.records, "CompanyInfo", "CompName"), "Korrin Aviation");  // the shop row stays first

    w.click(f.Command3D28);
    EXPECT_TRUE(w.shown().empty());
    EXPECT_EQ(f.Text28.font(), (Font{"Times New Roman", 12, true, false}));
}

// Under another program's lock the Fonts button says so before its dialog.
TEST(SettingsNotStored, AFontChoiceUnderAnotherProgramsLockSaysSo) {
    Shop w(std::chrono::milliseconds(300));
    Form1& f = w.f();
    w.click(f.Command3D18);
    const Font sample = f.Text28.font();
    w.shown().clear();
    {
        OtherInstance other(w.records, "BEGIN EXCLUSIVE");
        w.click(f.Command3D28);
    }
    ASSERT_EQ(w.shown().size(), 1u);
    EXPECT_EQ(w.shown()[0].title, "In use by another program: " + w.records);
    EXPECT_EQ(f.Text28.font(), sample);
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
}

// Deleted while the program runs: the folder chosen next is stored in a new
// settings file, as the first start would make it, and so is the phone.
TEST(SettingsNotStored, ASettingsFileDeletedWhileRunningIsMadeAnewByTheNextWrite) {
    Shop w;
    Form1& f = w.f();
    const std::string chosen = w.subFolder("elsewhere");
    fs::remove(w.settingsFile);
    w.click(f.Command3D18);
    w.click(f.Command3D40);  // Path
    f.dispatch([&] { f.Dir1.setPath(chosen); });
    w.shown().clear();
    w.click(f.Command3D39);  // Save
    EXPECT_TRUE(w.shown().empty());
    EXPECT_EQ(w.stored(w.settingsFile, "Company", "DataPath"), fs::canonical(chosen).string());
    w.click(f.Command3D31);  // Exit
    w.click(f.Command3D18);  // closes the set-up panel
    EXPECT_TRUE(w.shown().empty());
    EXPECT_EQ(w.stored(w.settingsFile, "Company", "CompanyPhone"), "555-0100");
}

// Deleted, and its folder cannot take a new one: the folder chosen is not
// stored, and the user is told so.
TEST(SettingsNotStored, ASettingsFileDeletedFromAFolderThatCannotBeWrittenSaysSo) {
    Shop w;
    Form1& f = w.f();
    const std::string chosen = w.subFolder("elsewhere");
    fs::remove(w.settingsFile);
    Immutable immutable(w.folder.path());
    if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
    f.ShowDataPathPanel();
    f.dispatch([&] { f.Dir1.setPath(chosen); });
    w.shown().clear();
    w.click(f.Command3D39);
    immutable.release();
    ASSERT_EQ(w.shown().size(), 1u);
    EXPECT_EQ(w.shown()[0].title, settingsNotStoredTitle());
    EXPECT_FALSE(fs::exists(w.settingsFile));
}

}  // namespace
}  // namespace wb::testing
