// Two programs on one data folder, as on a shop's shared folder: a save never
// replaces another program's change without a question; a press that shows
// what is stored, meeting the other program's lock, says so and leaves the
// worksheet as it was; and two processes saving, browsing and searching side
// by side lose nothing and store nothing twice.
//
//   WB_TWO_PROGRAMS_OPS   presses of each process in the two-process test
//                         (default 300)
//   WB_TWO_PROGRAMS_SEED  its seed (default fixed)
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "logic/database_integrity.h"
#include "logic/other_instance.h"
#include "logic/save_fixture.h"
#include "logic/shop_files.h"
#include "platform/sqlite/sqlite_database.h"
#include "records/open_database.h"

namespace wb {
namespace {

using testing::SaveFixture;
using testing::TempFolder;
using Rows = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kShortWait{300};

// Dialogs that run an action when a box with a given title shows.
struct ActingDialogs : testing::FakeDialogs {
    std::map<std::string, std::function<void()>> onTitle;
    int MsgBox(const std::string& text, int style, const std::string& title) override {
        if (auto it = onTitle.find(title); it != onTitle.end()) {
            auto action = it->second;
            onTitle.erase(it);
            action();
        }
        return FakeDialogs::MsgBox(text, style, title);
    }
};

// A new record with the tail typed, then Next: the search shows the first
// weighing whose tail begins so.
void showFound(SaveFixture& s, const std::string& typed, const std::string& shown = "") {
    s.f().NewRecord();
    s.f().Text1.setText(typed);
    s.w.click(s.f().Command3D16);
    ASSERT_EQ(s.f().Text1.text(), shown.empty() ? typed : shown);
    ASSERT_EQ(s.f().ws.SearchActive, 1);
}

Rows storedN1(SaveFixture& s) { return s.weighings({"Tail", "Date", "Make", "Work"}); }

// The one question shown since the last clear.
void expectAsked(SaveFixture& s, const std::string& title, const std::string& text) {
    ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.w.dialogs.shown[0].title, title);
    EXPECT_EQ(s.w.dialogs.shown[0].text, text);
    EXPECT_EQ(s.w.dialogs.shown[0].style, msgbox::kYesNo | msgbox::kQuestion | msgbox::kDefaultButton2);
    s.w.dialogs.shown.clear();
}

class LostUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        SaveFixture first(nullptr, path);
        first.storeNew("N1", "Cessna");
    }
    // Both programs show N1; the second stores it with another work order.
    void bothShowAndTheOtherChanges(SaveFixture& a, SaveFixture& b, const char* work = "WO-B") {
        showFound(a, "N1");
        showFound(b, "N1");
        b.f().Text12.setText(work);
        b.save();
        ASSERT_TRUE(b.w.dialogs.shown.empty());
    }
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
};

TEST_F(LostUpdate, AWeighingChangedByAnotherProgramIsReplacedOnlyWhenTheUserSaysSo) {
    SaveFixture a(nullptr, path), b(nullptr, path);
    bothShowAndTheOtherChanges(a, b);
    const Rows equipmentOfB = b.equipment("N1");

    a.f().Text3.setText("Piper");
    a.w.dialogs.shown.clear();
    a.save();  // unanswered: No, the default
    expectAsked(a, "Weighing changed by another program",
                "N1 of 03-09-2004 was changed by another program since it was shown. Replace it with the worksheet "
                "on screen?");
    EXPECT_EQ(storedN1(a), Rows({"N1|2004-03-09|Cessna|WO-B"}));
    EXPECT_EQ(a.equipment("N1"), equipmentOfB);
    EXPECT_EQ(a.f().ws.SavedState, 0);
    EXPECT_EQ(a.f().mousePointer(), pointer::kDefault);

    a.w.dialogs.answers = {msgbox::kYes};
    a.save();
    expectAsked(a, "Weighing changed by another program",
                "N1 of 03-09-2004 was changed by another program since it was shown. Replace it with the worksheet "
                "on screen?");
    EXPECT_EQ(storedN1(a), Rows({"N1|2004-03-09|Piper|"}));
    EXPECT_EQ(a.f().ws.SavedState, 1);

    // What it stored is now the weighing on screen: saved again without a question.
    a.f().Text3.setText("Piper Cub");
    a.save();
    EXPECT_TRUE(a.w.dialogs.shown.empty());
    EXPECT_EQ(storedN1(a), Rows({"N1|2004-03-09|Piper Cub|"}));
    // And for the other program it changed.
    b.f().Text3.setText("Beech");
    b.save();
    expectAsked(b, "Weighing changed by another program",
                "N1 of 03-09-2004 was changed by another program since it was shown. Replace it with the worksheet "
                "on screen?");
}

TEST_F(LostUpdate, AWeighingDeletedByAnotherProgramIsStoredAgainOnlyWhenTheUserSaysSo) {
    for (const bool browsed : {false, true}) {
        SCOPED_TRACE(browsed ? "browsed" : "found");
        SaveFixture a(nullptr, path), b(nullptr, path);
        if (browsed) {
            a.f().NewRecord();
            a.f().Text7.setText("");  // no example: Next browses
            a.w.click(a.f().Command3D16);
            ASSERT_EQ(a.f().ws.SearchActive, 0);
            ASSERT_EQ(a.f().Text1.text(), "N1");
        } else {
            showFound(a, "N1");
        }
        showFound(b, "N1");
        b.f().Text1.setText("0");
        b.save();
        ASSERT_EQ(b.weighings(), Rows());

        a.f().Text3.setText("Piper");
        a.w.dialogs.shown.clear();
        a.save();
        expectAsked(a, "Weighing deleted by another program",
                    "N1 of 03-09-2004 was deleted by another program since it was shown. Store the worksheet on "
                    "screen?");
        EXPECT_EQ(a.weighings(), Rows());
        EXPECT_TRUE(a.equipment("N1").empty());

        a.w.dialogs.answers = {msgbox::kYes};
        a.save();
        expectAsked(a, "Weighing deleted by another program",
                    "N1 of 03-09-2004 was deleted by another program since it was shown. Store the worksheet on "
                    "screen?");
        EXPECT_EQ(a.weighings(), Rows({"N1|2004-03-09|Piper"}));
        EXPECT_EQ(a.equipment("N1").size(), 2u);
    }
}

TEST_F(LostUpdate, DeletingAWeighingChangedByAnotherProgramAsksFirst) {
    SaveFixture a(nullptr, path), b(nullptr, path);
    bothShowAndTheOtherChanges(a, b);

    a.f().Text1.setText("0");
    a.w.dialogs.shown.clear();
    a.save();
    expectAsked(a, "Weighing changed by another program",
                "N1 of 03-09-2004 was changed by another program since it was shown. Delete it?");
    EXPECT_EQ(storedN1(a), Rows({"N1|2004-03-09|Cessna|WO-B"}));
    EXPECT_EQ(a.f().ws.NewRecordMode, 0);  // not deleted: the worksheet stays

    a.w.dialogs.answers = {msgbox::kYes};
    a.save();
    expectAsked(a, "Weighing changed by another program",
                "N1 of 03-09-2004 was changed by another program since it was shown. Delete it?");
    EXPECT_EQ(a.weighings(), Rows());
    EXPECT_TRUE(a.equipment("N1").empty());
    EXPECT_EQ(a.f().ws.NewRecordMode, 1);
}

// While the question waits no lock is held: the other program saves at once.
// The answer Yes then meets a weighing changed once more, and is asked again.
TEST_F(LostUpdate, NoLockIsHeldWhileTheQuestionWaitsAndAChangeMeanwhileIsAskedAgain) {
    SaveFixture a(nullptr, path), b(nullptr, path);
    ActingDialogs dialogs;
    a.w.services.dialogs = &dialogs;
    bothShowAndTheOtherChanges(a, b, "WO-B1");

    Clock::duration otherSave{};
    dialogs.onTitle["Weighing changed by another program"] = [&] {
        const auto start = Clock::now();
        b.f().Text12.setText("WO-B2");
        b.save();
        otherSave = Clock::now() - start;
    };
    dialogs.answers = {msgbox::kYes, msgbox::kYes};
    a.f().Text3.setText("Piper");
    a.save();
    EXPECT_TRUE(b.w.dialogs.shown.empty());
    EXPECT_LT(otherSave, kLockWait / 2);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text,
              "N1 of 03-09-2004 was changed by another program since it was shown. Replace it with the worksheet "
              "on screen?");
    EXPECT_EQ(dialogs.shown[1].text,
              "N1 of 03-09-2004 was changed by another program since you were asked. Replace it with the worksheet "
              "on screen?");
    EXPECT_EQ(storedN1(a), Rows({"N1|2004-03-09|Piper|"}));
}

// A new worksheet under a key another program stored meanwhile is asked about,
// also when that program stored it after this one's first look.
TEST_F(LostUpdate, ANewWeighingUnderAKeyStoredMeanwhileIsAskedAbout) {
    SaveFixture a(nullptr, path), b(nullptr, path);
    ActingDialogs dialogs;
    a.w.services.dialogs = &dialogs;
    // A notice of a's save, shown between its first look and its transaction.
    dialogs.onTitle["Too many characters"] = [&] { b.storeNew("N2", "Of B"); };
    a.f().NewRecord();
    a.fillWorksheet("N2", "Of A");
    a.f().ws.ChangeDesc[1] = std::string(30, 'x');
    a.save();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "Weighing already stored");
    EXPECT_EQ(dialogs.shown[1].text, "N2 of 03-09-2004 is already stored. Replace it with the worksheet on screen?");
    EXPECT_EQ(a.weighings(), Rows({"N1|2004-03-09|Cessna", "N2|2004-03-09|Of B"}));
    EXPECT_EQ(a.f().ws.NewRecordMode, 1);
}

// What a save compares holds however the weighing came on screen: shown by a
// search, or stored by this program's own last save (its rows kept as
// written, the file's state then). Another program changes or deletes it
// before this program saves or deletes it; the weighing of another typed key
// is stored meanwhile. Each is asked about, and No changes nothing; only a
// deletion that finds the weighing gone needs no question.
TEST(SaveAfterAnotherProgram, EveryChangeSinceTheWeighingCameOnScreenIsAskedAboutWhateverTheSnapshot) {
    enum class Other { Changes, Deletes, StoresTheTypedKey };
    const struct Case {
        bool ownSave;  // on screen as this program saved it, else as found
        Other other;
        bool deleting;
        const char* title;  // of the question; "" for none
    } cases[] = {
        {false, Other::Changes, false, "Weighing changed by another program"},
        {false, Other::Deletes, false, "Weighing deleted by another program"},
        {false, Other::Changes, true, "Weighing changed by another program"},
        {false, Other::Deletes, true, ""},
        {false, Other::StoresTheTypedKey, false, "Weighing already stored"},
        {true, Other::Changes, false, "Weighing changed by another program"},
        {true, Other::Deletes, false, "Weighing deleted by another program"},
        {true, Other::Changes, true, "Weighing changed by another program"},
        {true, Other::Deletes, true, ""},
        {true, Other::StoresTheTypedKey, false, "Weighing already stored"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ownSave ? "own save" : "found") + ", other " +
                     std::to_string(static_cast<int>(c.other)) + (c.deleting ? ", deleting" : ", saving"));
        TempFolder caseFolder;
        const std::string file = caseFolder.file(kRecordDatabaseName);
        SaveFixture(nullptr, file).storeNew("N1", "Cessna");
        SaveFixture a(nullptr, file), b(nullptr, file);
        showFound(a, "N1");
        if (c.ownSave) {
            a.f().Text12.setText("WO-A");
            a.save();
            ASSERT_TRUE(a.w.dialogs.shown.empty());
        }
        if (c.other == Other::StoresTheTypedKey) {
            b.storeNew("N2", "Of B");
        } else {
            showFound(b, "N1");
            if (c.other == Other::Deletes) b.f().Text1.setText("0");
            else b.f().Text12.setText("WO-B");
            b.save();
            ASSERT_TRUE(b.w.dialogs.shown.empty());
        }
        const Rows before = a.weighings({"Tail", "Date", "Make", "Work"});
        const Rows equipmentBefore = a.equipment("N1");
        a.w.dialogs.shown.clear();
        if (c.deleting) a.f().Text1.setText("0");
        else if (c.other == Other::StoresTheTypedKey) a.f().Text1.setText("N2");
        else a.f().Text3.setText("Piper");
        a.save();  // unanswered: No
        if (*c.title) {
            ASSERT_EQ(a.w.dialogs.shown.size(), 1u);
            EXPECT_EQ(a.w.dialogs.shown[0].title, c.title);
            EXPECT_EQ(a.weighings({"Tail", "Date", "Make", "Work"}), before);
            EXPECT_EQ(a.equipment("N1"), equipmentBefore);
        } else {
            EXPECT_TRUE(a.w.dialogs.shown.empty());
            EXPECT_EQ(a.weighings(), Rows());
            EXPECT_EQ(a.f().ws.NewRecordMode, 1);
        }
        EXPECT_EQ(a.f().containedFailures(), 0) << a.f().lastFailure();
    }
}

// ---- a press that meets the other program's lock --------------------------

using OtherProgram = testing::OtherInstance;

// Everything a press could change: the boxes, the grids, the flags, the
// arrays and the weighing on screen.
std::string worksheetOf(Form1& f) {
    std::ostringstream out;
    for (Control* c : f.controls()) {
        if (auto* box = dynamic_cast<TextBox*>(c)) out << box->name() << "=" << box->text() << "\n";
        if (auto* grid = dynamic_cast<Grid*>(c)) {
            for (int r = 0; r < grid->rows(); ++r) out << grid->name() << r << "=" << grid->rowText(r) << "\n";
        }
    }
    const WorksheetState& ws = f.ws;
    out << ws.SavedState << ws.NewRecordMode << ws.SearchActive << ws.BrowseStarted << ws.MoveDirection
        << ws.PreviousListPending << "\n";
    for (int i = 0; i < WorksheetState::kListBound; ++i) out << ws.ListDesc[i].displayText() << ",";
    for (int i = 0; i < WorksheetState::kChangeBound; ++i) out << ws.ChangeDesc[i].displayText() << ",";
    out << (f.weighingOnScreen ? f.weighingOnScreen->key.name() : "none") << f.Panel3D6.visible();
    return out.str();
}

class PressUnderLock : public ::testing::Test {
protected:
    void SetUp() override {
        SaveFixture first(nullptr, path);
        first.storeNew("N1", "Cessna");
        first.storeNew("N2", "Piper");
        // A list row of N1 for the previous list to bring forward.
        first.f().NewRecord();
        first.fillWorksheet("N1", "Cessna", "03-01-2004");
        first.f().ws.ListDesc[0] = "Tow bar";
        first.save();
    }
    // Runs `press` while another program commits (its exclusive lock held),
    // then expects the notice and the worksheet as it was; then again with the
    // file free.
    void expectInUse(SaveFixture& s, const std::function<void()>& press) {
        Form1& f = s.f();
        const std::string before = worksheetOf(f);
        s.w.dialogs.shown.clear();
        {
            OtherProgram other(path, "BEGIN EXCLUSIVE");
            press();
        }
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
        ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
        EXPECT_EQ(s.w.dialogs.shown[0].title, "In use by another program: " + path);
        EXPECT_EQ(s.w.dialogs.shown[0].text, "Press OK to continue");
        EXPECT_EQ(s.w.dialogs.shown[0].style, msgbox::kOkOnly | msgbox::kInformation);
        EXPECT_EQ(f.mousePointer(), pointer::kDefault);
        EXPECT_EQ(worksheetOf(f), before);
        s.w.dialogs.shown.clear();
        press();
        EXPECT_TRUE(s.w.dialogs.shown.empty());
    }
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
};

TEST_F(PressUnderLock, NextAndPreviousSayInUseAndLeaveTheRecordOnScreen) {
    SaveFixture s(nullptr, path, kShortWait);
    showFound(s, "N", "N1");
    ASSERT_EQ(s.f().Text1.text(), "N1");
    expectInUse(s, [&] { s.w.click(s.f().Command3D16); });
    EXPECT_EQ(s.f().Text3.text(), "Piper");
    expectInUse(s, [&] { s.w.click(s.f().Command3D17); });
    EXPECT_EQ(s.f().Text3.text(), "Cessna");
    EXPECT_EQ(s.f().weighingOnScreen->key.name(), "N1 of 03-09-2004");
}

TEST_F(PressUnderLock, ASearchSaysInUseAndKeepsTheTypedExample) {
    SaveFixture s(nullptr, path, kShortWait);
    s.f().NewRecord();
    s.f().Text1.setText("N2");
    expectInUse(s, [&] { s.w.click(s.f().Command3D16); });
    EXPECT_EQ(s.f().Text3.text(), "Piper");
    EXPECT_EQ(s.f().ws.SearchActive, 1);
}

TEST_F(PressUnderLock, ThePreviousListSaysInUseAndThePanelStaysClosedUntilItCanBeRead) {
    SaveFixture s(nullptr, path, kShortWait);
    s.f().NewRecord();
    s.f().Text1.setText("N1");
    expectInUse(s, [&] { s.w.click(s.f().Command3D23); });
    EXPECT_TRUE(s.f().Panel3D6.visible());
    EXPECT_EQ(s.f().ws.ListDesc[0].displayText(), "Tow bar");
}

// Another program that has begun its save but is not committing yet holds
// no one off reading: the press shows the next record at once.
TEST_F(PressUnderLock, AnotherProgramsSaveBeforeItsCommitHoldsNoOneOffReading) {
    SaveFixture s(nullptr, path, kShortWait);
    showFound(s, "N", "N1");
    OtherProgram other(path, "BEGIN IMMEDIATE; DELETE FROM Aircraft WHERE Tail = 'N2'");
    s.w.click(s.f().Command3D16);
    EXPECT_TRUE(s.w.dialogs.shown.empty());
    EXPECT_EQ(s.f().Text1.text(), "N2");  // as stored: the other save is not committed
}

// The program waits out a commit on a slow share (about 5 s) with the busy
// pointer before it says the database is in use.
TEST_F(PressUnderLock, ThePressWaitsAboutFiveSecondsWithTheBusyPointer) {
    SaveFixture s(nullptr, path);
    showFound(s, "N", "N1");
    // How long each spell of the busy pointer lasted.
    std::vector<Clock::duration> busySpells;
    Clock::time_point busySince;
    int shownPointer = s.f().mousePointer();
    s.f().observe([&] {
        const int now = s.f().mousePointer();
        if (now == shownPointer) return;
        if (now == pointer::kHourglass) busySince = Clock::now();
        else busySpells.push_back(Clock::now() - busySince);
        shownPointer = now;
    });
    auto longestBusySpell = [&] { return *std::max_element(busySpells.begin(), busySpells.end()); };

    // A commit that takes 1.5 s: the press waits for it and shows the next record.
    auto other = std::make_unique<OtherProgram>(path, "BEGIN EXCLUSIVE");
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        other->release();
    });
    auto start = Clock::now();
    s.w.click(s.f().Command3D16);
    commit.join();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_TRUE(s.w.dialogs.shown.empty());
    EXPECT_EQ(s.f().Text1.text(), "N2");
    ASSERT_FALSE(busySpells.empty());
    EXPECT_GE(longestBusySpell(), std::chrono::milliseconds(1400));
    EXPECT_EQ(s.f().mousePointer(), pointer::kDefault);

    // A lock held past the wait: in use after about 5 s.
    OtherProgram holding(path, "BEGIN EXCLUSIVE");
    busySpells.clear();
    start = Clock::now();
    s.w.click(s.f().Command3D17);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, kLockWait);
    EXPECT_LT(waited, kLockWait + std::chrono::seconds(2));
    ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.w.dialogs.shown[0].title, "In use by another program: " + path);
    ASSERT_FALSE(busySpells.empty());
    EXPECT_GE(longestBusySpell(), kLockWait);
    EXPECT_EQ(s.f().Text1.text(), "N2");
}

// ---- a browse set whose rows another program replaced --------------------

// The browse set lists the rows stored when it was made. Once another program
// has replaced or deleted every one of them, the set still stands on the row
// it was on, at neither end, yet holds no row: the press that goes to its
// first or last row finds none this direction, and fails in nothing.
TEST(BrowseSetEmptiedByAnotherProgram, GoingToItsFirstOrLastRowSaysNoRecordsThisDirection) {
    for (const bool deleted : {false, true}) {
        for (const bool next : {true, false}) {
            SCOPED_TRACE(std::string(deleted ? "deleted" : "replaced") + (next ? ", Next" : ", Previous"));
            TempFolder folder;
            const std::string path = folder.file(kRecordDatabaseName);
            SaveFixture(nullptr, path).storeNew("N1", "Cessna");
            SaveFixture a(nullptr, path), b(nullptr, path);
            // A search without match: the browse set is next, to go to its first or last row.
            a.f().NewRecord();
            a.f().Text1.setText("X");
            a.f().Text7.setText("");
            a.w.click(a.f().Command3D16);
            ASSERT_EQ(a.w.dialogs.shown.size(), 1u);
            ASSERT_EQ(a.w.dialogs.shown[0].title, "Search Result");
            ASSERT_EQ(a.f().ws.BrowseStarted, 0);

            showFound(b, "N1");
            if (deleted) b.f().Text1.setText("0");
            else b.f().Text3.setText("Piper");
            b.save();
            ASSERT_TRUE(b.w.dialogs.shown.empty());

            a.w.dialogs.shown.clear();
            a.w.click(next ? a.f().Command3D16 : a.f().Command3D17);
            EXPECT_EQ(a.f().containedFailures(), 0) << a.f().lastFailure();
            ASSERT_EQ(a.w.dialogs.shown.size(), 1u);
            EXPECT_EQ(a.w.dialogs.shown[0].title, "No records this direction.");
            EXPECT_EQ(a.w.dialogs.shown[0].style, msgbox::kOkOnly | msgbox::kInformation);
            EXPECT_EQ(a.f().ws.SearchActive, 0);
            EXPECT_EQ(a.f().ws.BrowseStarted, 0);
            EXPECT_FALSE(a.f().weighingOnScreen.has_value());
            EXPECT_EQ(a.f().mousePointer(), pointer::kDefault);
            // After New the browse set is read anew and lists what is stored.
            a.f().NewRecord();
            a.f().Text7.setText("");
            a.w.dialogs.shown.clear();
            a.w.click(a.f().Command3D16);
            EXPECT_EQ(a.f().Text1.text(), deleted ? "" : "N1");
            EXPECT_EQ(a.w.dialogs.shown.size(), deleted ? 1u : 0u);
        }
    }
}

// ---- two processes side by side --------------------------------------------

unsigned long envNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

constexpr int kSharedWeighings = 6;

// The work order of a stored weighing is its version; every equipment row
// carries it as its serial, so a weighing read back is one version or a mix.
std::string versionOf(const Form1& f) { return f.Text12.text(); }

void setVersion(Form1& f, const std::string& version) {
    f.Text12.setText(version);
    WorksheetState& ws = f.ws;
    for (int i = 0; i < WorksheetState::kChangeBound; ++i)
        if (!ws.ChangeDesc[i].displayText().empty()) ws.ChangeSerial[i] = version;
    for (int i = 0; i < WorksheetState::kListBound; ++i)
        if (!ws.ListDesc[i].displayText().empty()) ws.ListSerial[i] = version;
}

// What one process did: each save with its outcome, and its figures.
struct Journal {
    // "stored KEY VERSION REPLACED" or "refused KEY VERSION REPLACED WHY";
    // REPLACED is the version the save replaces or deletes, "-" for none.
    // A deletion's VERSION is "deleted", or "gone" when it removed nothing:
    // another program had deleted the weighing, or replaced it and then
    // deleted what replaced it, so no question was due.
    std::vector<std::string> saves;
    std::vector<double> pressMs;
    int moves = 0, inUse = 0, questions = 0;
};

// One program on the shared file whose presses are journaled; every question
// is answered No, so a stored save replaced just what it showed.
class JournaledProgram {
public:
    explicit JournaledProgram(const std::string& path) : s(nullptr, path) {}
    Form1& f() { return s.f(); }

    void press(Control& button) {
        s.w.dialogs.shown.clear();
        const auto start = Clock::now();
        s.w.click(button);
        journal.pressMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        for (const auto& m : s.w.dialogs.shown) {
            if (m.title.find("in use by another program") != std::string::npos ||
                m.title.rfind("In use by another program", 0) == 0)
                ++journal.inUse;
            if ((m.style & 7) == msgbox::kYesNo) ++journal.questions;
        }
    }
    void move(Control& button) {
        ++journal.moves;
        press(button);
    }
    // A search by tail number: the first weighing whose tail begins so.
    void search(const std::string& tail) {
        f().NewRecord();
        f().Text1.setText(tail);
        f().Text7.setText("");
        move(f().Command3D16);
    }
    // A new weighing under `key`, which either program may be storing.
    void saveNew(const std::string& key, const std::string& version) {
        f().NewRecord();
        s.fillWorksheet(key, "New", "03-10-2004");
        setVersion(f(), version);
        save(key, version, "-");
    }
    // The weighing on screen changed to `version` and saved; or deleted, when
    // `deleting` or when the tail "0" of a deletion the user said No to is
    // still typed. Only a found weighing is deleted.
    void saveShown(const std::string& version, bool deleting) {
        const std::string key = f().weighingOnScreen->key.tail.displayText();
        const std::string shown = versionOf(f());
        if (deleting || f().Text1.text() == "0") {
            f().Text1.setText("0");
            save(key, "deleted", f().ws.SearchActive == 1 ? shown : "-");
        } else {
            setVersion(f(), version);
            save(key, version, shown);
        }
    }
    void noteFailure() {
        if (f().containedFailures() != 0) journal.saves.push_back("failure " + f().lastFailure());
    }

    SaveFixture s;
    Journal journal;

private:
    // The rows this program's connection has written or deleted so far.
    std::int64_t changes() {
        return sqlite3_total_changes64(dynamic_cast<sqlite::SqliteDatabase&>(*f().dbRecords).handle());
    }
    void save(const std::string& key, std::string version, const std::string& replaced) {
        const bool deleting = f().Text1.text() == "0";
        const std::int64_t before = changes();
        press(f().Command3D13);
        const bool stored =
            s.w.dialogs.shown.empty() && (deleting ? f().ws.NewRecordMode == 1 : f().ws.SavedState == 1);
        if (stored && deleting && changes() == before) version = "gone";
        journal.saves.push_back(std::string(stored ? "stored " : "refused ") + key + " " + version + " " +
                                replaced +
                                (stored ? "" : " " + (s.w.dialogs.shown.empty() ? "?" : s.w.dialogs.shown[0].title)));
    }
};

// One program's run: `ops` presses at random on the shared file.
Journal runProgram(const std::string& path, int who, int ops, unsigned seed) {
    std::mt19937 random(seed);
    JournaledProgram p(path);
    Form1& f = p.f();
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    for (int n = 0; n < ops; ++n) {
        const std::string version = "P" + std::to_string(who) + "-" + std::to_string(n);
        if (f.weighingOnScreen && chance(45)) {
            p.saveShown(version, f.ws.SearchActive == 1 && chance(10));
        } else if (chance(20)) {
            p.saveNew("T" + std::to_string(random() % 8), version);
        } else if (chance(35)) {
            p.search(random() % 3 ? "S" + std::to_string(random() % kSharedWeighings) : "T");
        } else {
            p.move(chance(50) ? f.Command3D16 : f.Command3D17);
        }
        p.noteFailure();
        if (f.containedFailures() != 0) break;
    }
    return p.journal;
}

void writeJournal(const Journal& j, const std::string& file) {
    std::ofstream out(file);
    out << j.moves << " " << j.inUse << " " << j.questions << "\n" << j.pressMs.size() << "\n";
    for (double ms : j.pressMs) out << ms << "\n";
    for (const std::string& line : j.saves) out << line << "\n";
}

Journal readJournal(const std::string& file) {
    Journal j;
    std::ifstream in(file);
    std::size_t presses = 0;
    in >> j.moves >> j.inUse >> j.questions >> presses;
    j.pressMs.resize(presses);
    for (double& ms : j.pressMs) in >> ms;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) j.saves.push_back(line);
    return j;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())));
    return values[at];
}

// What the journals and the file say together.
struct Findings {
    std::vector<std::string> failures;  // contained failures, as journaled
    int saves = 0, stored = 0, refusedAsked = 0, refusedInUse = 0;
    std::vector<std::string> lost;  // "VERSION: why"
    int unreported = 0, twice = 0, mixed = 0;
    Journal all;
};

// Checks the journals against the file; prints "lost VERSION: why" with the
// saves that named it for each version lost, then the figures.
Findings examine(const std::vector<Journal>& journals, const std::string& path) {
    Findings out;
    Journal& all = out.all;
    std::map<std::string, std::string> storedKeyOf;   // version -> key
    std::map<std::string, int> replacedBy;            // version -> stored saves that replaced it
    std::map<std::string, int> deletedBy;             // version -> stored deletions of it
    std::set<std::string> deleted;                    // versions a stored deletion removed
    std::map<std::string, std::vector<std::string>> savesOf;  // version -> the saves naming it
    for (std::size_t who = 0; who < journals.size(); ++who) {
        const Journal& j = journals[who];
        all.moves += j.moves;
        all.inUse += j.inUse;
        all.questions += j.questions;
        all.pressMs.insert(all.pressMs.end(), j.pressMs.begin(), j.pressMs.end());
        for (const std::string& line : j.saves) {
            if (line.rfind("failure", 0) == 0) {
                out.failures.push_back(std::to_string(who) + ": " + line);
                continue;
            }
            std::istringstream words(line);
            std::string outcome, key, version, replaced;
            words >> outcome >> key >> version >> replaced;
            ++out.saves;
            savesOf[version].push_back(std::to_string(who) + ": " + line);
            if (replaced != "-") savesOf[replaced].push_back(std::to_string(who) + ": " + line);
            if (outcome == "refused") {
                if (line.find("in use by another program") != std::string::npos) ++out.refusedInUse;
                else ++out.refusedAsked;
                continue;
            }
            ++out.stored;
            if (version == "gone") continue;  // removed nothing
            if (replaced != "-") ++replacedBy[replaced];
            if (version == "deleted") {
                deleted.insert(replaced);
                ++deletedBy[replaced];
            }
            else storedKeyOf[version] = key;
        }
    }

    // What the file holds.
    SaveFixture reader(nullptr, path);
    std::map<std::string, int> rowsOfKey;
    std::map<std::string, std::string> onDisk;  // version -> key
    for (const std::string& row : reader.weighings({"Tail", "Date", "Work"})) {
        const std::string key = row.substr(0, row.find('|'));
        const std::string version = row.substr(row.rfind('|') + 1);
        ++rowsOfKey[row.substr(0, row.rfind('|'))];
        onDisk[version] = key;
    }
    auto loses = [&](const std::string& version, const char* why) {
        out.lost.push_back(version + ": " + why);
        std::cout << "lost " << version << ": " << why << "\n";
        for (const std::string& line : savesOf[version]) std::cout << "  " << line << "\n";
    };
    for (const auto& [key, count] : rowsOfKey) out.twice += count > 1;
    for (const auto& [version, key] : onDisk) {
        const bool initial = version.rfind("init-", 0) == 0;
        if (!initial && !storedKeyOf.count(version)) ++out.unreported;
        if (deleted.count(version) || replacedBy.count(version)) loses(version, "replaced, yet still there");
        // The whole weighing is of one version.
        const Rows serials = reader.rows("Equipment", {"Serial"}, Criteria("Tail", Compare::Equal, key));
        for (const std::string& serial : serials) out.mixed += serial != version;
    }
    for (const auto& [version, key] : storedKeyOf) {
        if (!onDisk.count(version) && !replacedBy.count(version)) loses(version, "stored, yet gone");
    }
    // Two saves that replaced one version: one of them replaced what it never
    // saw. Two deletions of one version are not: the later deleted nothing.
    for (const auto& [version, count] : replacedBy)
        if (count > 1 && count > deletedBy[version]) loses(version, "replaced by two saves");

    const std::vector<double>& ms = all.pressMs;
    std::cout << "| saves | stored | refused after a question | refused, in use | moves | presses | "
                 "press time median / p99 / max (ms) | \"in use\" messages | lost | not reported yet on disk | "
                 "keys stored twice | mixed weighings |\n|---|---|---|---|---|---|---|---|---|---|---|---|\n"
              << "| " << out.saves << " | " << out.stored << " | " << out.refusedAsked << " | " << out.refusedInUse
              << " | " << all.moves << " | " << ms.size() << " | " << percentile(ms, 0.5) << " / "
              << percentile(ms, 0.99) << " / " << percentile(ms, 1.0) << " | " << all.inUse << " | " << out.lost.size()
              << " | " << out.unreported << " | " << out.twice << " | " << out.mixed << " |\n";
    return out;
}

void expectNothingLost(const Findings& found, const std::string& path) {
    EXPECT_EQ(found.failures, std::vector<std::string>());
    EXPECT_EQ(testing::integrityOf(path), "ok");
    EXPECT_EQ(testing::orphanEquipmentRowsOf(path), "0");
    EXPECT_EQ(found.lost, std::vector<std::string>());
    EXPECT_EQ(found.unreported, 0);
    EXPECT_EQ(found.twice, 0);
    EXPECT_EQ(found.mixed, 0);
}

// The file both programs share: the weighings S0..S5, five list rows each.
void storeSharedWeighings(const std::string& path) {
    SaveFixture first(nullptr, path);
    for (int i = 0; i < kSharedWeighings; ++i) {
        first.f().NewRecord();
        first.fillWorksheet("S" + std::to_string(i), "Shared");
        for (int r = 0; r < 5; ++r) first.f().ws.ListDesc[r] = "Item " + std::to_string(r);
        setVersion(first.f(), "init-" + std::to_string(i));
        first.save();
        ASSERT_EQ(first.f().ws.SavedState, 1);
    }
}

// Program 0 stores a weighing and shows it; program 1 shows it, replaces it
// and deletes what it stored. Program 0's deletion of the weighing it showed
// then finds it gone: it asks nothing and removes nothing, and nothing is lost,
// though two stored saves name the version both programs showed.
TEST(TwoProgramsJournal, ADeletionThatFindsTheShownWeighingGoneLosesNothing) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeSharedWeighings(path);
    JournaledProgram a(path), b(path);
    a.saveNew("T5", "P0-1");
    a.search("T5");
    b.search("T5");
    ASSERT_EQ(versionOf(b.f()), "P0-1");
    b.saveShown("P1-1", false);
    b.saveShown("", true);
    a.saveShown("", true);
    EXPECT_EQ(a.journal.questions, 0);
    EXPECT_EQ(a.journal.saves, std::vector<std::string>({"stored T5 P0-1 -", "stored T5 gone P0-1"}));
    EXPECT_EQ(b.journal.saves, std::vector<std::string>({"stored T5 P1-1 P0-1", "stored T5 deleted P1-1"}));
    expectNothingLost(examine({a.journal, b.journal}, path), path);
}

// A deletion the user said No to leaves its tail "0" typed: the next save of
// that worksheet is a deletion again, and journaled as one.
TEST(TwoProgramsJournal, ASaveWithTheTailOfARefusedDeletionIsJournaledAsADeletion) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeSharedWeighings(path);
    JournaledProgram a(path), b(path);
    a.search("S1");
    b.search("S1");
    b.saveShown("P1-1", false);
    a.saveShown("", true);  // changed by the other program: No
    ASSERT_EQ(a.f().Text1.text(), "0");
    b.saveShown("", true);
    a.saveShown("P0-2", false);  // the tail still "0": a deletion, of a weighing gone
    EXPECT_EQ(a.journal.saves,
              std::vector<std::string>({"refused S1 deleted init-1 Weighing changed by another program",
                                        "stored S1 gone init-1"}));
    expectNothingLost(examine({a.journal, b.journal}, path), path);
}

// The checks catch what they are for: journals of a lost update (two stored
// saves replaced one version) and of a version stored yet gone.
TEST(TwoProgramsJournal, TheChecksFindALostUpdate) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeSharedWeighings(path);
    JournaledProgram a(path);
    a.search("S2");
    a.saveShown("P0-1", false);
    Journal other;
    other.saves = {"stored S2 P1-1 init-2", "stored S3 P1-2 -"};
    const Findings found = examine({a.journal, other}, path);
    EXPECT_EQ(found.lost, std::vector<std::string>({"P1-1: stored, yet gone", "P1-2: stored, yet gone",
                                                    "init-2: replaced by two saves"}));
}

TEST(TwoProcesses, SavingBrowsingAndSearchingSideBySideLoseNothingAndStoreNothingTwice) {
    const int ops = static_cast<int>(envNumber("WB_TWO_PROGRAMS_OPS", 300));
    const unsigned seed = static_cast<unsigned>(envNumber("WB_TWO_PROGRAMS_SEED", 20261210));
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeSharedWeighings(path);

    // Both start together, released through a pipe.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int who = 0; who < 2; ++who) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(go[1]);
            char byte;
            (void)!read(go[0], &byte, 1);
            writeJournal(runProgram(path, who, ops, seed + static_cast<unsigned>(who)),
                         folder.file("journal-" + std::to_string(who)));
            _exit(0);
        }
        children.push_back(pid);
    }
    close(go[0]);
    (void)!write(go[1], "gg", 2);
    close(go[1]);
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    std::vector<Journal> journals;
    for (int who = 0; who < 2; ++who) journals.push_back(readJournal(folder.file("journal-" + std::to_string(who))));
    const Findings found = examine(journals, path);
    EXPECT_GT(found.stored, 0);
    EXPECT_GT(found.all.moves, 0);
    expectNothingLost(found, path);
}

}  // namespace
}  // namespace wb
