// Save: the stored weighing row and its numbered equipment rows, the checks,
// both modes, the deletion path on tail "0", and one weighing per tail and date.
#include <gtest/gtest.h>

#include <random>

#include "app/first_run_advice.h"
#include "logic/save_fixture.h"

namespace wb {
namespace {

using testing::SaveFixture;
using Rows = std::vector<std::string>;

void storeNew(SaveFixture& s, const std::string& tail, const std::string& make) { s.storeNew(tail, make); }
void showFound(SaveFixture& s, const std::string& tail, const std::string& make) { s.showStored(true, tail, make); }

TEST(Save, NewWorksheetStoresItsRowAndNumberedEquipmentRows) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N123");
    f.Text11.setText("");
    f.Text9.setText("1500.5 lb");
    f.Text13.setText("line one\r\nline two");
    f.ws.JackWeight[0] = "512.25";
    f.ws.JackArm[0] = Value(40.125);
    f.ws.JackTare[0] = "512.25";  // nothing on the scale: no weighing replaces the header's figures
    // Rows 0, 1 and 3 described, row 2 empty: RowNum 0, 1, 2 without a gap.
    f.ws.ChangeDesc[3] = "Strobe";
    f.ws.ChangeRemoved[3] = "X";
    f.ws.ListDesc[7] = "ELT";
    f.ws.ListSerial[7] = "E-7";
    f.ws.ListWeight[7] = "2.5";
    // Never stored: the elements past the grids.
    f.ws.ChangeDesc[30] = "beyond the change list";
    f.ws.ListDesc[100] = "beyond the equipment list";

    s.save();

    EXPECT_EQ(s.w.dialogs.shown.size(), 0u);
    EXPECT_EQ(s.weighings({"Tail", "Date", "Make", "Empty", "CG", "MaxWt", "Memo", "J1Dsc", "J1Wgt", "J1Arm",
                           "J1Tar", "J4Dsc", "F1Dsc", "F1Wgt"}),
              Rows({"N123|2004-03-09|Cessna|1500.5|38.5|0|line one\r\nline two|Right Main|512.25|40.125|512.25||"
                    "Forward Tanks|0"}));
    EXPECT_EQ(s.equipment("N123"), Rows({"0|Previous A/C Empty|S-1|1500|38.5|False|False",
                                         "1|Radio Cessna||3|0|True|False",
                                         "2|Strobe||0|0|False|True",
                                         "0|ELT|E-7|2.5|NULL|False|False"}));
    EXPECT_EQ(f.ws.SavedState, 1);
    EXPECT_EQ(f.ws.NewRecordMode, 0);
    EXPECT_EQ(f.ws.PreviousListPending, 0);
    EXPECT_EQ(f.rsAircraft->field("Tail").toText(), "N123");  // on the added row
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
}

// A worksheet whose totals cannot be computed is not stored: the user is told
// why, with Save's icon, and the worksheet stays unsaved. A deletion (tail
// "0") stores no totals and goes ahead.
TEST(Save, AWorksheetWhoseTotalsOverflowIsNotStored) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N123");
    f.ws.ChangeDesc[2] = "Rack";
    f.ws.ChangeWeight[2] = "5000000000000000000";
    f.ws.ChangeArm[2] = "90000000000000000000";
    f.ws.ChangeInstalled[2] = "X";
    s.save();
    ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.w.dialogs.shown[0].title, "Not saved: totals too large (change list, row 3)");
    EXPECT_EQ(s.w.dialogs.shown[0].text, "Press OK to continue");
    EXPECT_EQ(s.w.dialogs.shown[0].style, msgbox::kOkOnly | msgbox::kCritical);
    EXPECT_TRUE(s.weighings().empty());
    EXPECT_TRUE(s.equipment("N123").empty());
    EXPECT_EQ(f.Text23.text(), "");
    EXPECT_EQ(f.ws.SavedState, 0);
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
    s.w.form->userFocus(f.Text1);  // leaving the button keeps it unsaved
    EXPECT_EQ(f.ws.SavedState, 0);

    f.ws.ChangeArm[2] = "10";  // the moment fits, the weight is still too long for its box
    s.save();
    EXPECT_EQ(s.w.dialogs.shown.back().title, "Not saved: totals too large (new empty weight)");
    EXPECT_TRUE(s.weighings().empty());
    f.ws.ChangeWeight[2] = "10";  // corrected: it stores, with the fresh totals
    s.save();
    EXPECT_EQ(s.weighings({"Tail", "Empty"}), Rows({"N123|1500"}));
    EXPECT_EQ(f.Text23.text(), "1513.00");
    EXPECT_EQ(f.ws.SavedState, 1);

    f.ws.ChangeWeight[2] = "5000000000000000000";
    f.Text1.setText("0");  // a deletion is not held up by the totals
    s.w.dialogs.shown.clear();
    s.save();
    EXPECT_TRUE(s.w.dialogs.shown.empty());
    EXPECT_EQ(f.ws.NewRecordMode, 1);
}

// What Save stores is a fresh recalculation of the worksheet on screen: a
// scale reading typed into row 0 of the weighing points and never committed
// (the grid stays on row 0 when it loses the focus) is weighed all the same.
TEST(Save, StoresTheTotalsOfTheWorksheetAsItStands) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N123");
    f.ws.JackArm[0] = "50";
    f.RecalcWeightAndBalance();
    f.ws.JackWeight[0] = "1200";  // as the key presses leave the entry
    ASSERT_EQ(f.Text9.text(), "1500");
    s.save();
    EXPECT_EQ(s.weighings({"Tail", "Empty", "CG", "J1Wgt"}), Rows({"N123|1200|50|1200"}));
    EXPECT_EQ(s.equipment("N123").front(), "0|Previous A/C Empty||1200|50|False|False");
    EXPECT_EQ(f.Text9.text(), "1200.00");
    EXPECT_EQ(f.ws.SavedState, 1);
}

TEST(Save, ANumberShownFromARecordIsStoredWithoutLoss) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N123");
    // 17 significant digits: its text form would keep 15 of them.
    f.ws.JackWeight[0] = Value(0.1 + 0.2);
    f.ws.JackArm[0] = Value::single(680.27344f);
    s.save();
    EXPECT_EQ(f.rsAircraft->field("J1Wgt").toNumber(), 0.1 + 0.2);
    EXPECT_EQ(f.rsAircraft->field("J1Arm").toNumber(), 680.2734375);
}

TEST(Save, EquipmentValuesAreConvertedPerList) {
    struct Case {
        const char* what;
        Value weight, installed;
        const char* stored;  // Weight|Install of the change row
    };
    const Case cases[] = {
        {"number with unit", "12.5 lb", "X", "12.5|True"},
        {"no leading number", "abc", "x", "0|False"},
        {"empty text", "", "//////", "0|False"},
        {"Null", Value::null(), Value::null(), "0|False"},
        {"number value", Value(0.1), Value(), "0.1|False"},
    };
    for (const Case& c : cases) {
        SaveFixture s;
        s.fillWorksheet("N1");
        s.f().ws.ChangeWeight[1] = c.weight;
        s.f().ws.ChangeInstalled[1] = c.installed;
        s.save();
        auto stored = s.rows("Equipment", {"Weight", "Install"}, Criteria("Description", Compare::Equal, "Radio Cessna"));
        EXPECT_EQ(stored, Rows({c.stored})) << c.what;
    }

    // The equipment list takes its cells unchanged: the column refuses a text
    // that is not a number, and the row is still stored.
    SaveFixture s;
    s.fillWorksheet("N2");
    const char* listWeights[] = {"12.5", "12.5 lb", ""};
    for (int i = 0; i < 3; ++i) {
        s.f().ws.ListDesc[i] = "Item " + std::to_string(i);
        s.f().ws.ListWeight[i] = listWeights[i];
        s.f().ws.ListSerial[i] = Value::null();
    }
    s.save();
    EXPECT_EQ(s.rows("Equipment", {"RowNum", "Serial", "Weight"}, Criteria("Description", Compare::Like, "Item*")),
              Rows({"0||12.5", "1||NULL", "2||NULL"}));
}

TEST(Save, LongChangeDescriptionsAreCutWithOneNoticeEach) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N5");
    const std::string twentyFive(25, 'a');
    f.ws.ChangeDesc[1] = twentyFive + "b";  // 26
    f.ws.ChangeDesc[2] = twentyFive;
    f.ws.ChangeDesc[4] = std::string(30, 'c');
    f.ws.ListDesc[0] = std::string(40, 'd');  // cut without a notice
    s.save();

    ASSERT_EQ(s.w.dialogs.shown.size(), 2u);
    for (const auto& box : s.w.dialogs.shown) {
        EXPECT_EQ(box.title, "Too many characters");
        EXPECT_EQ(box.text, "Description(s) more than 25 characters long. Check decriptions and save again");
        EXPECT_EQ(box.style, msgbox::kCritical);
    }
    // The marked row keeps change number 1; the unmarked ones read back as list
    // rows, so they follow the list's one row.
    EXPECT_EQ(s.rows("Equipment", {"RowNum", "Description", "Install"},
                     Criteria("Description", Compare::NotEqual, "Previous A/C Empty")),
              Rows({"1|" + twentyFive + "|True", "1|" + twentyFive + "|False", "2|" + std::string(25, 'c') + "|False",
                    "0|" + std::string(25, 'd') + "|False"}));
}

// Records the mouse pointer each message box is shown under.
struct PointerWatchingDialogs : testing::FakeDialogs {
    Form* form = nullptr;
    std::vector<int> pointers;
    int MsgBox(const std::string& text, int style, const std::string& title) override {
        pointers.push_back(form->mousePointer());
        return FakeDialogs::MsgBox(text, style, title);
    }
};

TEST(Save, ChecksRefuseWithoutStoringAndRestoreThePointer) {
    struct Case {
        const char* date;
        const char* tail;
        const char* title;  // nullptr: accepted
    };
    const Case cases[] = {
        {"", "", "No date entered"},
        {"13/45/2004", "N1", "No date entered"},
        {"13-45-2004", "N1", "No date entered"},
        {"not a date", "N1", "No date entered"},
        {"03-09-2004", "", "No tail number entered"},
        {"3/9/2004", "N1", nullptr},
        {"03-09-2004", "N1", nullptr},
        {"3-9-04", "N1", nullptr},
        {"2004-03-09", "N1", nullptr},
        {"3/9/2004", " ", nullptr},  // blanks pass the tail check
        // The runtime's other date texts; without a year, the clock's.
        {"Mar 9 2004", "N1", nullptr},
        {"9-Mar-2004", "N1", nullptr},
        {"March 9 04", "N1", nullptr},  // the box holds 10 characters
        {"mar 9, 04", "N1", nullptr},
        {"3/9", "N1", nullptr},
        {"9 MAR", "N1", nullptr},
        {"2/30/2004", "N1", "No date entered"},
        {"Mar 45 2004", "N1", "No date entered"},
        {"10:30", "N1", "No date entered"},
    };
    for (const Case& c : cases) {
        SaveFixture s;
        PointerWatchingDialogs dialogs;
        dialogs.form = &s.f();
        s.w.services.dialogs = &dialogs;
        Form1& f = s.f();
        s.fillWorksheet(c.tail, "Piper", c.date);
        f.ws.SavedState = 0;
        s.save();
        if (c.title) {
            ASSERT_EQ(dialogs.shown.size(), 1u) << c.date;
            EXPECT_EQ(dialogs.shown[0].title, c.title);
            EXPECT_EQ(dialogs.shown[0].text, "Press OK to continue");
            EXPECT_EQ(dialogs.shown[0].style, msgbox::kCritical);
            EXPECT_EQ(dialogs.pointers[0], pointer::kHourglass);
            EXPECT_EQ(s.weighings().size(), 0u);
            EXPECT_EQ(s.rows("Equipment", {"Tail"}).size(), 0u);
            EXPECT_EQ(f.ws.SavedState, 0);
            EXPECT_EQ(f.ws.NewRecordMode, 1);
        } else {
            EXPECT_EQ(dialogs.shown.size(), 0u) << c.date;
            EXPECT_EQ(s.weighings({"Tail", "Date"}), Rows({std::string(c.tail) + "|2004-03-09"})) << c.date;
            EXPECT_EQ(f.ws.SavedState, 1);
        }
        EXPECT_EQ(f.mousePointer(), pointer::kDefault) << c.date;
    }
}

TEST(Save, ATailAndDateNameOneWeighing) {
    SaveFixture s;
    Form1& f = s.f();
    s.fillWorksheet("N7", "Beech");
    s.save();
    // Saved again without a move (now a stored record): it replaces the first.
    f.Text3.setText("Mooney");
    f.ws.ChangeDesc[1] = "Radio Mooney";
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N7|2004-03-09|Mooney"}));
    EXPECT_EQ(s.equipment("N7").size(), 2u);
    EXPECT_EQ(s.equipment("N7")[1], "1|Radio Mooney||3|0|True|False");

    // Reached by browsing and saved: still one weighing of that key.
    f.rsAircraft = s.db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
    f.ws.NewRecordMode = 0;
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N7|2004-03-09|Mooney"}));
    EXPECT_EQ(s.equipment("N7").size(), 2u);

    // A new date is another weighing beside the shown one.
    f.Text7.setText("03-10-2004");
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N7|2004-03-09|Mooney", "N7|2004-03-10|Mooney"}));
    EXPECT_EQ(s.equipment("N7").size(), 4u);

    // A browse after the replacement moves on past the replaced row.
    f.rsAircraft->MoveFirst();
    EXPECT_EQ(f.rsAircraft->field("Date").toDate(), (Date{2004, 3, 9}));
}

// Adds a weighing with tail "0" and one equipment row straight to the tables
// (Save itself cannot store that tail).
void storeZeroTail(SaveFixture& s) {
    auto aircraft = s.db->CreateDynaset("Aircraft");
    aircraft->AddNew();
    aircraft->setField("Tail", "0");
    aircraft->setField("Date", "03-09-2004");
    aircraft->setField("Make", "Stored under zero");
    aircraft->Update();
    auto equipment = s.db->CreateDynaset("Equipment");
    equipment->AddNew();
    equipment->setField("Tail", "0");
    equipment->setField("Date", "3/9/2004");
    equipment->setField("RowNum", 0);
    equipment->setField("Description", "Radio");
    equipment->Update();
}

TEST(Save, TailZeroInNormalModeDeletesOnlyThatKeysEquipmentRows) {
    SaveFixture s;
    Form1& f = s.f();
    storeZeroTail(s);
    ASSERT_EQ(s.equipment("0").size(), 1u);
    storeNew(s, "N8", "Other");
    s.fillWorksheet("0", "Dropped");
    f.ws.ChangeDesc[1] = std::string(30, 'x');  // no notice on this path
    s.save();

    EXPECT_EQ(s.w.dialogs.shown.size(), 0u);
    EXPECT_EQ(s.weighings(), Rows({"0|2004-03-09|Stored under zero", "N8|2004-03-09|Other"}));
    EXPECT_EQ(s.equipment("0").size(), 0u);
    EXPECT_EQ(s.equipment("N8").size(), 2u);
    // A blank new record, without a question.
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.ws.SearchActive, 0);
    EXPECT_EQ(f.ws.BrowseStarted, 0);
    EXPECT_EQ(f.Text1.text(), "");
    EXPECT_EQ(f.Text3.text(), "");
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
}

// What a save keeps as stored under its key is built from the rows it wrote;
// it must be what reading the key gives, whatever the worksheet held: values
// the columns convert or refuse, numbers of every kind, texts with a NUL or
// a separator, in normal mode and in search mode, new and replaced.
TEST(Save, WhatASaveKeepsAsStoredIsWhatReadingTheKeyGives) {
    const Value elements[] = {"12.5", "12.5 lb", "", "abc", Value(0.1 + 0.2), Value::single(680.27344f),
                              Value(-0.0), Value(1e300), Value(std::string("a\0b|c\n", 7)), Value::null()};
    std::mt19937 random(7);
    auto any = [&] { return elements[random() % std::size(elements)]; };
    // The totals are worked out from these: nothing so large that they overflow.
    auto counted = [&] {
        Value v = any();
        return v.isNumber() && v.toNumber() > 1e9 ? Value("7") : v;
    };
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        SaveFixture s;
        Form1& f = s.f();
        storeNew(s, "N10", "Found");
        const bool searchMode = round % 2 == 1;
        if (searchMode) showFound(s, "N10", "Found");
        s.fillWorksheet(round % 3 ? "N10" : "n10", "Typed", round % 4 ? "03-09-2004" : "3/9/2004");
        f.Text13.setText("Notes\r\nline two|");
        for (int i = 0; i < 5; ++i) {
            f.ws.JackDesc[i] = any();
            f.ws.JackTare[i] = counted();
            f.ws.JackWeight[i] = counted();
            f.ws.FluidArm[i] = counted();
        }
        for (int i = 2; i < 30; i += 3) {
            f.ws.ChangeDesc[i] = "Change " + std::to_string(i);
            f.ws.ChangeSerial[i] = any();
            f.ws.ChangeWeight[i] = counted();
            f.ws.ChangeArm[i] = counted();
            f.ws.ChangeRemoved[i] = i % 2 ? "X" : "";
        }
        for (int i = 0; i < 100; i += 7) {
            f.ws.ListDesc[i] = i % 2 ? Value("Item with a description past twenty-five") : any();
            f.ws.ListSerial[i] = any();
            f.ws.ListWeight[i] = any();
            f.ws.ListArm[i] = any();
        }
        s.saveReplacing();
        ASSERT_EQ(f.ws.SavedState, 1) << (s.w.dialogs.shown.empty() ? "" : s.w.dialogs.shown.back().title);
        ASSERT_TRUE(f.weighingOnScreen.has_value());
        EXPECT_NE(f.weighingOnScreen->rows(), "");
        EXPECT_EQ(f.weighingOnScreen->rows(), storedRowsOf(*s.db, f.weighingOnScreen->key));
        // Saved again: nothing changed, so nothing is asked.
        s.w.dialogs.shown.clear();
        s.save();
        EXPECT_TRUE(s.w.dialogs.shown.empty());
        EXPECT_EQ(f.weighingOnScreen->rows(), storedRowsOf(*s.db, f.weighingOnScreen->key));
    }
}

TEST(Save, SearchModeReplacesTheFoundWeighing) {
    SaveFixture s;
    Form1& f = s.f();
    storeNew(s, "N10", "Found");
    storeNew(s, "N11", "Bystander");

    // The key changed on screen: the old weighing and its rows go, the new key is stored.
    showFound(s, "N10", "Found");
    f.Text1.setText("N12");
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N11|2004-03-09|Bystander", "N12|2004-03-09|Found"}));
    EXPECT_EQ(s.equipment("N10").size(), 0u);
    EXPECT_EQ(s.equipment("N12").size(), 2u);
    EXPECT_EQ(f.ws.SearchActive, 1);
    EXPECT_EQ(f.ws.SavedState, 1);
    EXPECT_TRUE(f.rsEquipment->isOpen());

    // Saved again without a move: the row the first save stored is replaced.
    f.Text1.setText("N13");
    f.Text3.setText("Again");
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N11|2004-03-09|Bystander", "N13|2004-03-09|Again"}));
    EXPECT_EQ(s.equipment("N12").size(), 0u);
    EXPECT_EQ(s.equipment("N13").size(), 2u);

    // A changed key that is already stored: that weighing is replaced, not doubled.
    showFound(s, "N13", "Again");
    f.Text1.setText("N11");
    s.saveReplacing();
    EXPECT_EQ(s.weighings(), Rows({"N11|2004-03-09|Again"}));
    EXPECT_EQ(s.equipment("N11").size(), 2u);
    EXPECT_EQ(s.equipment("N11")[1], "1|Radio Again||3|0|True|False");
}

TEST(Save, SearchModeKeepsTheFoundWeighingWhenItsReplacementFails) {
    bool failUpdates = false;
    SaveFixture s([&](const std::string& what) {
        if (failUpdates && what == "Update") throw RuntimeError(dberr::kDiskError, "disk full");
    });
    storeNew(s, "N20", "Kept");
    showFound(s, "N20", "Kept");
    s.f().Text3.setText("Lost");
    failUpdates = true;
    s.save();
    failUpdates = false;
    EXPECT_EQ(s.weighings(), Rows({"N20|2004-03-09|Kept"}));
    EXPECT_EQ(s.equipment("N20").size(), 2u);
    EXPECT_EQ(s.f().rsFound->field("Make").toText(), "Kept");
    EXPECT_EQ(s.f().mousePointer(), pointer::kDefault);
}

TEST(Save, TailZeroInSearchModeDeletesTheFoundWeighing) {
    SaveFixture s;
    Form1& f = s.f();
    storeNew(s, "N30", "Doomed");
    storeNew(s, "N31", "Stays");
    showFound(s, "N30", "Doomed");
    f.Text1.setText("0");
    s.save();
    EXPECT_EQ(s.weighings(), Rows({"N31|2004-03-09|Stays"}));
    EXPECT_EQ(s.equipment("N30").size(), 0u);
    EXPECT_EQ(s.equipment("N31").size(), 2u);
    EXPECT_EQ(f.ws.SearchActive, 0);
    EXPECT_EQ(f.ws.BrowseStarted, 0);
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_TRUE(f.rsEquipment->isOpen());
}

TEST(Save, SearchModeRefusalLeavesTheEquipmentSetUsable) {
    SaveFixture s;
    Form1& f = s.f();
    storeNew(s, "N40", "Shown");
    showFound(s, "N40", "Shown");
    f.Text7.setText("");
    s.save();
    ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_TRUE(f.rsEquipment->isOpen());
    EXPECT_EQ(s.weighings(), Rows({"N40|2004-03-09|Shown"}));
}

TEST(Save, QuotesInATailAreKeysLikeAnyOther) {
    SaveFixture s;
    Form1& f = s.f();
    for (const char* tail : {"O'B", "N\"1", "N'\"--"}) {
        storeNew(s, tail, "First");
        s.fillWorksheet(tail, "Second");
        s.saveReplacing();  // replaces the first
        EXPECT_EQ(s.rows("Aircraft", {"Make"}, Criteria("Tail", Compare::Equal, tail)), Rows({"Second"})) << tail;
        EXPECT_EQ(s.equipment(tail).size(), 2u) << tail;
    }
    showFound(s, "O'B", "Second");
    f.Text1.setText("0");
    s.save();
    EXPECT_EQ(s.equipment("O'B").size(), 0u);
    EXPECT_EQ(s.weighings({"Tail"}), Rows({"N\"1", "N'\"--"}));
}

// Leaving the button marks a saved worksheet 2; an unsaved one stays unsaved
// (the focus only passed by, or the save failed or was refused), so that Exit
// and New still ask.
TEST(Save, TheButtonLosingTheFocusMarksASavedWorksheetOnly) {
    SaveFixture s;
    Form1& f = s.f();
    s.w.form->userFocus(f.Command3D13);
    f.ws.SavedState = 1;
    s.w.form->userFocus(f.Text1);
    EXPECT_EQ(f.ws.SavedState, 2);
    s.w.form->userFocus(f.Command3D13);
    f.ws.SavedState = 0;
    s.w.form->userFocus(f.Text1);
    EXPECT_EQ(f.ws.SavedState, 0);
    f.Text1.setText("");
    s.save();  // refused: no tail number
    s.w.form->userFocus(f.Text1);
    EXPECT_EQ(f.ws.SavedState, 0);
}

TEST(Save, WithoutARecordDatabaseTheSaveEndsNormallyAndTellsNothingWasSaved) {
    testing::MainWindowFixture w;
    Form1& f = w.f();
    f.Text1.setText("N50");
    w.dialogs.shown.clear();
    w.click(f.Command3D13);
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    EXPECT_EQ(f.ws.SavedState, 0);
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Not saved: no record database is open");
    // This window has no settings store either: the text names that.
    EXPECT_EQ(w.dialogs.shown[0].text, settingsNotStoredText());
    EXPECT_EQ(w.dialogs.shown[0].style, msgbox::kOkOnly | msgbox::kCritical);
}

}  // namespace
}  // namespace wb
