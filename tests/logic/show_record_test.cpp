// ShowRecord and ShowFoundRecord on rows written through the engine: Null
// defaults per variant, values shown without masks, the weighing-point and fluid
// rows, the change list with its row 0 cases, the equipment list, the closing
// steps, and the sets that show nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <random>

#include "logic/show_fixture.h"
#include "records/shown_rows.h"
#include "records/stored_weighing.h"

namespace wb {
namespace {

using testing::ShowFixture;
using Rows = std::vector<std::string>;

TEST(ShownRows, MaskedElementFormatsNumbersAndLeavesOtherText) {
    struct Case {
        Value v;
        const char* out;
    };
    for (const Case& c : {Case{Value(12.5), "12.50"}, Case{Value("12.5"), "12.50"}, Case{Value(" 7 "), "7.00"},
                          Case{Value(""), ""}, Case{Value("12 lb"), "12 lb"}, Case{Value("-"), "-"},
                          Case{Value(), ""}}) {
        EXPECT_EQ(maskedElement(c.v, "#####0.00"), c.out) << c.v.displayText();
    }
    EXPECT_EQ(productOrEmpty(Value("2.5"), Value(40)).toNumber(), 100);
    EXPECT_EQ(productOrEmpty(Value(""), Value(40)).toText(), "");
    EXPECT_EQ(productOrEmpty(Value("3 lb"), Value(40)).toText(), "");
}

TEST(ShownRows, ChangeRowRule) {
    const Value yes = Value::boolean(true), no = Value::boolean(false);
    EXPECT_TRUE(isChangeRow("Radio", yes, no));
    EXPECT_TRUE(isChangeRow("Radio", no, yes));
    EXPECT_TRUE(isChangeRow("Previous A/C Empty", no, no));
    EXPECT_FALSE(isChangeRow("previous a/c empty", no, no));
    EXPECT_FALSE(isChangeRow("Radio", no, no));
    EXPECT_FALSE(isChangeRow(Value::null(), Value::null(), Value::null()));
}

struct VariantCase {
    const char* name;
    const ShowVariant* variant;
    const char* grid2Row0;
    const char* grid4Row1;
    const char* fluidRow;  // weight 6, arm 12.5
};
const VariantCase kVariants[] = {
    {"ShowRecord", &kShowRecord, "Right Main\t\t\t\t0.0", "Aft Tanks\t\t\t0.00", "Fuel\t6.0\t12.50\t75.00"},
    {"ShowFoundRecord", &kShowFoundRecord, "\t\t\t\t0.0", "\t\t\t0.0", "Fuel\t6.00\t12.50\t75.0"},
};

TEST(ShowRecord, FieldsWithoutValueGiveTheVariantsDefaults) {
    for (const VariantCase& c : kVariants) {
        SCOPED_TRACE(c.name);
        ShowFixture s;
        Form1& f = s.f();
        f.Text25.setText("J. Smith");
        f.Text26.setText("A&P 1");
        s.add("Aircraft", {{"Tail", "N1"}});
        s.addRow("N1", "03-09-2004", 1, "Radio", true);  // found by today's date
        s.show(*c.variant, "N1");

        EXPECT_EQ(f.Text1.text(), "N1");
        EXPECT_EQ(f.Text7.text(), "03-09-2004");
        EXPECT_EQ(f.Text6.text(), "J. Smith");
        EXPECT_EQ(f.Text22.text(), "A&P 1");
        EXPECT_EQ(f.Text3.text(), "");
        EXPECT_EQ(f.Text13.text(), "");
        EXPECT_EQ(f.Grid2.rowText(0), c.grid2Row0);
        EXPECT_EQ(f.Grid4.rowText(1), c.grid4Row1);
        EXPECT_EQ(f.Grid2.rowText(3), "\t\t\t\t0.0");
        EXPECT_EQ(f.ws.JackDesc[2].toText(), c.variant == &kShowRecord ? "Nose" : "");
        EXPECT_TRUE(f.ws.JackTare[0].isText());
        EXPECT_EQ(f.ws.JackTare[0].toText(), "");
        EXPECT_EQ(f.Grid1.rowText(1), "Radio\tSN\t2.50\t40.00\t100.0\tX\t");
        EXPECT_EQ(f.Form::mousePointer(), pointer::kDefault);
    }
}

TEST(ShowRecord, StoredValuesShowWithoutMaskInBoxesAndThroughTheGridMasks) {
    for (const VariantCase& c : kVariants) {
        SCOPED_TRACE(c.name);
        ShowFixture s;
        Form1& f = s.f();
        s.addWeighing("N1", "03-09-2004",
                      {{"Make", "Beech"}, {"Empty", 1500.5}, {"CG", 38.25}, {"MaxWt", 3600}, {"By", "Ann"},
                       {"Range1", "r1"}, {"Memo", "line one\r\nline two"}, {"J1Dsc", "Left"}, {"J1Tar", 10},
                       {"J1Wgt", 100}, {"J1Arm", 5}, {"J2Tar", 12.5}, {"J2Wgt", 12.5}, {"F1Dsc", "Fuel"},
                       {"F1Wgt", 6}, {"F1Arm", 12.5}});
        s.show(*c.variant, "N1");

        EXPECT_EQ(f.Text7.text(), "3/9/2004");
        EXPECT_EQ(f.Text3.text(), "Beech");
        EXPECT_EQ(f.Text11.text(), "3600");
        EXPECT_EQ(f.Text6.text(), "Ann");
        EXPECT_EQ(f.Text14.text(), "r1");
        EXPECT_EQ(f.Text13.text(), "line one\r\nline two");
        // The tare is taken off before the arm applies: (100 - 10) x 5.
        EXPECT_EQ(f.Grid2.rowText(0), "Left\t10\t100.00\t5.00\t450.0");
        EXPECT_EQ(f.Grid2.rowText(1), std::string(c.variant == &kShowRecord ? "Left Main" : "") + "\t12.5\t12.50\t\t0.0");
        EXPECT_EQ(f.Grid4.rowText(0), c.fluidRow);
        EXPECT_TRUE(f.ws.JackWeight[0].isNumber());
        EXPECT_EQ(f.ws.JackMoment[0].toText(), "");
        EXPECT_EQ(f.ws.FluidMoment[0].toText(), "");
        // No equipment rows at all: no recalculation, the results stay empty.
        EXPECT_EQ(f.Text9.text(), "1500.5");
        EXPECT_EQ(f.Text23.text(), "");
        EXPECT_EQ(f.ws.SavedState, 0);
        EXPECT_EQ(f.ws.SearchActive, c.variant == &kShowRecord ? 0 : 1);
    }
}

TEST(ShowRecord, ChangeRowsAndListRowsOfTheWeighingOnly) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004", {{"Serial", "S-1"}, {"Empty", 1500}, {"CG", 38.5}});
    s.addWeighing("N1", "01-02-2005");
    s.addRow("N1", "03-09-2004", 0, "Previous A/C Empty", false, false, 1500, 38.5, "S-1");
    s.addRow("N1", "03-09-2004", 1, "Radio", true);
    s.addRow("N1", "03-09-2004", 2, "Strobe", false, true);
    s.addRow("N1", "03-09-2004", 3, "Both", true, true, 1, 10);
    for (int i = 0; i < 6; ++i) s.addRow("N1", "03-09-2004", i, "Item " + std::to_string(i));
    s.addRow("N1", "01-02-2005", 4, "Later", true);
    s.addRow("N12", "03-09-2004", 4, "Other tail", true);
    s.addRow("N1", "01-02-2005", 6, "Later item");
    s.show(kShowRecord, "N1");

    ASSERT_EQ(f.Text7.text(), "3/9/2004");
    EXPECT_EQ(s.gridRows(f.Grid1, 5),
              Rows({"Previous A/C Empty\tS-1\t1500.00\t38.50\t57750.0\t//////\t//////",
                    "Radio\tSN\t2.50\t40.00\t100.0\tX\t", "Strobe\tSN\t2.50\t40.00\t100.0\t\tX",
                    "Both\tSN\t1.00\t10.00\t10.0\tX\tX", "\t\t\t\t\t\t"}));
    EXPECT_EQ(s.gridRows(f.Grid3, 7),
              Rows({"Item 0\tSN\t2.50\t40.00\t100.0", "Item 1\tSN\t2.50\t40.00\t100.0", "Item 2\tSN\t2.50\t40.00\t100.0",
                    "Item 3\tSN\t2.50\t40.00\t100.0", "Item 4\tSN\t2.50\t40.00\t100.0", "Item 5\tSN\t2.50\t40.00\t100.0",
                    "\t\t\t\t"}));
    EXPECT_EQ(f.Grid1.rows(), 30);
    EXPECT_EQ(f.Grid3.rows(), 100);
    // The stored values themselves.
    EXPECT_TRUE(f.ws.ChangeWeight[1].isNumber());
    EXPECT_EQ(f.ws.ChangeMoment[1].toNumber(), 100);
    EXPECT_EQ(f.ws.ChangeInstalled[0].toText(), "//////");
    EXPECT_EQ(f.ws.ListDesc[5].toText(), "Item 5");
    EXPECT_TRUE(f.ws.ListWeight[5].isNumber());
    EXPECT_EQ(f.ws.ListMoment[5].toText(), "");
    EXPECT_EQ(f.ws.ListDesc[6].toText(), "");
    // Recalculated: 1500 + 2.5 - 2.5 + 1 - 1.
    EXPECT_EQ(f.Text23.text(), "1500.00");
    EXPECT_EQ(f.Text24.text(), "38.50");
}

TEST(ShowRecord, AnItemStoredAsRow0GivesTheRowMadeFromTheHeaderBoxes) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004", {{"Serial", "S-9"}, {"Empty", 1500}, {"CG", 38.5}});
    s.addRow("N1", "03-09-2004", 0, "Radio", true, true, 3, 10);
    s.addRow("N1", "03-09-2004", 2, "Strobe", true, false, 1, 20);
    s.show(kShowRecord, "N1");

    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\tS-9\t1500.00\t38.50\t57750.0\t//////\t//////");
    EXPECT_EQ(f.Grid1.rowText(1), "\t\t\t\t\t\t");  // row number 1 missing
    EXPECT_EQ(f.Grid1.rowText(2), "Strobe\tSN\t1.00\t20.00\t20.0\tX\t");
    EXPECT_EQ(f.ws.ChangeWeight[0].toText(), "1500");
    EXPECT_EQ(f.ws.ChangeRemoved[0].toText(), "//////");
    for (int r = 0; r < 100; ++r) EXPECT_EQ(f.Grid3.cell(r, 0), "") << r;
    // The item's removed mark does not take row 0 off the totals.
    EXPECT_EQ(f.Text23.text(), "1501.00");
}

TEST(ShowRecord, NoRow0AndValuesWithoutValue) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004", {{"Empty", 1500}, {"CG", 38.5}});
    s.addRow("N1", "03-09-2004", 1, "No weight", true, false, Value::null(), 40);
    s.addRow("N1", "03-09-2004", 0, "List item", false, false, Value::null(), Value::null(), Value::null());
    s.addRow("N1", "03-09-2004", 5, "Previous A/C Empty");
    s.show(kShowRecord, "N1");

    EXPECT_EQ(f.Grid1.rowText(0), "\t\t\t\t\t\t");
    EXPECT_EQ(f.Grid1.rowText(1), "No weight\tSN\t\t40.00\t\tX\t");
    EXPECT_EQ(f.ws.ChangeWeight[1].toText(), "");
    EXPECT_EQ(f.ws.ChangeMoment[1].toText(), "");
    // The marker at a row number above 0 with both flags false is a change row.
    EXPECT_EQ(f.Grid1.rowText(5), "Previous A/C Empty\tSN\t2.50\t40.00\t100.0\t\t");
    EXPECT_EQ(f.Grid3.rowText(0), "List item\t\t0.00\t0.00\t0.0");
    EXPECT_EQ(f.Grid3.rowText(1), "\t\t\t\t");
    EXPECT_EQ(f.ws.ListWeight[0].toText(), "");
    EXPECT_EQ(f.ws.ListSerial[0].toText(), "");
}

TEST(ShowRecord, ThirtyChangeRowsAndAFullListKeepTheGridsAtTheirRows) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004");
    {
        Transaction t(*s.db);
        s.addRow("N1", "03-09-2004", 0, "Previous A/C Empty", false, false, 1500, 38.5);
        for (int i = 1; i < 30; ++i) s.addRow("N1", "03-09-2004", i, "Change " + std::to_string(i), true);
        for (int i = 0; i < 106; ++i) s.addRow("N1", "03-09-2004", i, "Item " + std::to_string(i));
        // Two change rows with one number: the first in the set's order shows.
        s.addRow("N1", "03-09-2004", 7, "Second seven", true);
        t.commit();
    }
    f.ws.ListDesc[100] = "untouched";
    s.show(kShowRecord, "N1");

    EXPECT_EQ(f.Grid1.rows(), 30);
    EXPECT_EQ(f.Grid1.cell(29, 0), "Change 29");
    EXPECT_EQ(f.Grid1.cell(7, 0), "Change 7");
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_EQ(f.Grid3.cell(99, 0), "Item 99");
    EXPECT_EQ(f.ws.ListDesc[99].toText(), "Item 99");
    EXPECT_EQ(f.ws.ListDesc[100].toText(), "untouched");
    EXPECT_EQ(f.Text23.text(), "1572.50");  // 1500 + 29 x 2.5
}

TEST(ShowRecord, RowsWithoutDescriptionAreNeverDeleted) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004");
    s.addRow("N1", "03-09-2004", 0, Value::null());
    s.addRow("N1", "03-09-2004", 1, Value::null(), true);
    s.addRow("N2", "03-09-2004", 0, Value::null());
    s.addRow("N1", "03-09-2004", 1, "Item 1");
    s.show(kShowRecord, "N1");

    EXPECT_EQ(f.Grid1.rowText(1), "\tSN\t2.50\t40.00\t100.0\tX\t");
    EXPECT_EQ(f.ws.ChangeDesc[1].toText(), "");
    EXPECT_EQ(f.Grid3.rowText(1), "Item 1\tSN\t2.50\t40.00\t100.0");
    EXPECT_EQ(s.rows("Equipment", {"Tail"}).size(), 4u);
    EXPECT_EQ(f.containedFailures(), 0);
}

TEST(ShowRecord, AnEmptyEquipmentTableEndsBeforeTheListsWithoutRecalculation) {
    ShowFixture s;
    Form1& f = s.f();
    s.addWeighing("N1", "03-09-2004", {{"Empty", 1500}, {"CG", 38.5}, {"J1Wgt", 700}, {"J1Arm", 40}});
    s.show(kShowRecord, "N1");
    EXPECT_EQ(f.Text1.text(), "N1");
    EXPECT_EQ(f.Grid2.rowText(0), "Right Main\t\t700.00\t40.00\t28000.0");
    EXPECT_EQ(f.Text9.text(), "1500");  // a recalculation would write the weighed 700
    EXPECT_EQ(f.Text23.text(), "");
    EXPECT_EQ(f.Form::mousePointer(), pointer::kDefault);
}

TEST(ShowRecord, ASetPastItsEndOrOnADeletedRowOnlyClearsTheWorksheet) {
    for (const VariantCase& c : kVariants) {
        SCOPED_TRACE(c.name);
        ShowFixture s;
        Form1& f = s.f();
        s.addWeighing("N1", "03-09-2004", {{"Empty", 1500}});
        s.addWeighing("N2", "03-10-2004", {{"Empty", 1600}});
        s.show(*c.variant, "N2");
        Recordset& set = *(f.*c.variant->set);
        set.MoveNext();
        ASSERT_TRUE(set.IsEOF());
        f.Text1.setText("N");  // a typed example
        f.ws.SavedState = 1;
        ShowStoredRecord(f, *c.variant);
        EXPECT_EQ(f.Text1.text(), c.variant == &kShowRecord ? "" : "N");
        EXPECT_EQ(f.Text9.text(), "");
        EXPECT_EQ(f.Grid2.cell(0, 0), "Right Main");

        set.MoveFirst();
        s.db->DeleteRows("Aircraft", Criteria("Tail", Compare::Equal, "N1"));
        f.Text9.setText("9");
        ShowStoredRecord(f, *c.variant);
        EXPECT_EQ(f.Text9.text(), "");
        EXPECT_EQ(f.Form::mousePointer(), pointer::kDefault);
    }
}

// ---- against finds of each row number ---------------------------------------

// What the routine must show: for change row i, the first row of the set (in
// its order) that a find of the weighing's row number i meets and that is a
// change row; for list row i, the first row a find of list row i meets. Each
// element as the stored value, nothing for a row number none meets.
struct FoundRows {
    std::vector<std::optional<std::vector<Value>>> change, list;
};

const std::vector<std::string> kShownFields = {"Description", "Serial", "Weight", "Arm", "Install", "Remove"};

FoundRows findEachRowNumber(Recordset& eq, const std::string& tail, const std::string& date) {
    auto current = [&] {
        std::vector<Value> row;
        for (const std::string& name : kShownFields) row.push_back(eq.field(name));
        return row;
    };
    const Criteria ofWeighing = Criteria("Tail", Compare::Equal, tail).And("Date", Compare::Equal, date);
    const Criteria listFlags = Criteria("Install", Compare::Equal, Value::boolean(false))
                                   .And("Remove", Compare::Equal, Value::boolean(false))
                                   .And("Description", Compare::NotEqual, kPreviousEmpty);
    FoundRows found;
    for (int i = 0; i < 30; ++i) {
        const Criteria rowI = Criteria(ofWeighing).And("RowNum", Compare::Equal, i);
        std::optional<std::vector<Value>> row;
        for (eq.FindFirst(rowI); !eq.NoMatch() && !row; eq.FindNext(rowI)) {
            if (isChangeRow(eq.field("Description"), eq.field("Install"), eq.field("Remove"))) row = current();
        }
        found.change.push_back(row);
    }
    for (int i = 0; i < 100; ++i) {
        eq.FindFirst(Criteria(ofWeighing).And("RowNum", Compare::Equal, i).And(listFlags));
        found.list.push_back(eq.NoMatch() ? std::nullopt : std::optional(current()));
    }
    return found;
}

// Random rows of one weighing and its neighbours, row numbers repeated, out of
// range, fractional, Null or stored as text by another program, flags and
// descriptions without value or with the marker in another case, some added
// through the equipment set itself, in table order or by date: each grid row
// and each element shows the row that the finds of its row number meet.
TEST(ShowRecord, EachRowNumberShowsTheRowItsFindMeets) {
    std::mt19937 random(20261210);
    auto pick = [&](const auto& options) { return options[random() % std::size(options)]; };
    const std::vector<std::string> rowNums = {"0", "0", "1", "2", "3", "3", "5", "29", "30", "99", "100",
                                              "-1", "NULL", "2.5", "'x'", "'&H3'", "' 4'"};
    const std::vector<std::string> descriptions = {"'Previous A/C Empty'", "'previous a/c empty'", "'Item'",
                                                   "'Item'", "NULL", "''"};
    const std::vector<std::string> flags = {"0", "0", "-1", "NULL"};
    const std::vector<std::string> keys = {"'N1', '2004-03-09'", "'N1', '2004-03-09'", "'n1', '2004-03-09'",
                                           "'N12', '2004-03-09'", "'N1', '2005-01-02'"};
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        ShowFixture s;
        Form1& f = s.f();
        s.addWeighing("N1", "03-09-2004", {{"Serial", "S-9"}, {"Empty", 1500}, {"CG", 38.5}});
        std::string sql = "BEGIN;";
        const int rows = static_cast<int>(random() % 60);
        for (int k = 0; k < rows; ++k) {
            sql += "INSERT INTO Equipment (Tail, Date, RowNum, Description, Serial, Weight, Arm, Install, Remove) "
                   "VALUES (" + pick(keys) + ", " + pick(rowNums) + ", " + pick(descriptions) + ", 'S" +
                   std::to_string(k) + "', " + pick(std::vector<std::string>{"2.5", "NULL", "'abc'"}) + ", 40, " +
                   pick(flags) + ", " + pick(flags) + ");";
        }
        sql += "COMMIT;";
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(s.db->path().c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
        sqlite3_close(raw);

        f.rsEquipment = random() % 2 ? s.db->CreateDynaset("Equipment")
                                     : s.db->CreateDynaset(RecordSource("Equipment").OrderBy("Date"));
        for (int k = 0; k < 4; ++k) {
            Recordset& eq = *f.rsEquipment;
            eq.AddNew();
            eq.setField("Tail", "N1");
            eq.setField("Date", "03-09-2004");
            eq.setField("RowNum", static_cast<int>(random() % 4));
            eq.setField("Description", k % 2 ? "Added" : "Previous A/C Empty");
            eq.setField("Serial", "A" + std::to_string(k));
            eq.setField("Install", Value::boolean(random() % 2));
            eq.setField("Remove", Value::boolean(false));
            eq.Update();
        }
        // Rows another program adds now are under the key but not in the set.
        ASSERT_EQ(sqlite3_open(s.db->path().c_str(), &raw), SQLITE_OK);
        for (int k = static_cast<int>(random() % 3); k > 0; --k) {
            const std::string insert = "INSERT INTO Equipment (Tail, Date, RowNum, Description, Serial, Install, Remove) "
                                       "VALUES (" + pick(keys) + ", " + pick(rowNums) + ", 'Later', 'L" +
                                       std::to_string(k) + "', 0, 0)";
            ASSERT_EQ(sqlite3_exec(raw, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
        }
        sqlite3_close(raw);
        const FoundRows expected = findEachRowNumber(*f.rsEquipment, "N1", "3/9/2004");
        s.show(kShowRecord, "N1", false);
        ASSERT_EQ(f.Text7.text(), "3/9/2004");
        // What the next save checks against is everything stored under the key.
        ASSERT_TRUE(f.weighingOnScreen);
        s.db->BeginRead();
        EXPECT_EQ(f.weighingOnScreen->rows(), storedRowsOf(*s.db, WeighingKey{Value("N1"), Value(Date{2004, 3, 9})}));
        s.db->CommitTrans();

        const WorksheetState& ws = f.ws;
        for (int i = 0; i < 30; ++i) {
            SCOPED_TRACE("change row " + std::to_string(i));
            const auto& row = expected.change[static_cast<std::size_t>(i)];
            if (!row) {
                EXPECT_EQ(f.Grid1.rowText(i), "\t\t\t\t\t\t");
                EXPECT_EQ(ws.ChangeDesc[i], Value(""));
                continue;
            }
            const bool madeRow0 = i == 0 && !((*row)[0].isText() && (*row)[0].toText() == kPreviousEmpty);
            if (madeRow0) {
                EXPECT_EQ(ws.ChangeSerial[0], Value("S-9"));
            } else {
                EXPECT_EQ(ws.ChangeDesc[i], storedOr((*row)[0], ""));
                EXPECT_EQ(ws.ChangeSerial[i], storedOr((*row)[1], ""));
                EXPECT_EQ(ws.ChangeWeight[i], storedOr((*row)[2], ""));
                EXPECT_EQ(ws.ChangeArm[i], storedOr((*row)[3], ""));
            }
            if (i > 0) {
                EXPECT_EQ(ws.ChangeInstalled[i], Value(isTrueField((*row)[4]) ? "X" : ""));
                EXPECT_EQ(ws.ChangeRemoved[i], Value(isTrueField((*row)[5]) ? "X" : ""));
            }
            if (i == 0) {
                // The recalculation rewrites row 0's numbers in the arrays.
                EXPECT_EQ(f.Grid1.cell(0, 0), ws.ChangeDesc[0].toText());
                EXPECT_EQ(f.Grid1.cell(0, 1), ws.ChangeSerial[0].toText());
                continue;
            }
            EXPECT_EQ(f.Grid1.rowText(i),
                      changeRowText(ws.ChangeDesc[i], ws.ChangeSerial[i], ws.ChangeWeight[i], ws.ChangeArm[i],
                                    ws.ChangeMoment[i], ws.ChangeInstalled[i], ws.ChangeRemoved[i]));
        }
        for (int i = 0; i < 100; ++i) {
            SCOPED_TRACE("list row " + std::to_string(i));
            const auto& row = expected.list[static_cast<std::size_t>(i)];
            EXPECT_EQ(ws.ListSerial[i], row ? storedOr((*row)[1], "") : Value(""));
            EXPECT_EQ(ws.ListWeight[i], row ? storedOr((*row)[2], "") : Value(""));
            EXPECT_EQ(f.Grid3.rowText(i), row ? listRowText(ws.ListDesc[i], ws.ListSerial[i], ws.ListWeight[i],
                                                            ws.ListArm[i])
                                              : "\t\t\t\t");
        }
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    }
}

}  // namespace
}  // namespace wb
