// LoadPreviousEquipment: the list rows of the tail's latest date in the set's
// order, never past entry 99, and the reset of the weighing points and fluids,
// also with no record database open.
#include <gtest/gtest.h>

#include "logic/show_fixture.h"

namespace wb {
namespace {

using testing::MainWindowFixture;
using testing::ShowFixture;
using Rows = std::vector<std::string>;

// A new record for `tail` after the rows are written (the equipment set of the
// new record is made then, ordered by date).
void newRecordFor(ShowFixture& s, const std::string& tail) {
    s.f().NewRecord();
    s.f().Text1.setText(tail);
}

TEST(LoadPreviousEquipment, BringsTheLatestDatesListRowsOfTheExactTail) {
    ShowFixture s;
    Form1& f = s.f();
    s.addRow("N12", "03-09-2004", 0, "Old radio", false, false, 1, 10);
    s.addRow("N12", "05-01-2004", 1, "ELT", false, false, 2.5, 40, "E-1");
    s.addRow("N12", "05-01-2004", 0, "Seat", false, false, Value::null(), Value::null(), Value::null());
    s.addRow("N12", "05-01-2004", 0, "Previous A/C Empty", false, false, 1500, 38);
    s.addRow("N12", "05-01-2004", 1, "Strobe", true);
    s.addRow("N12", "05-01-2004", 2, "Unmarked change", false, false, 1, 20);
    s.addRow("N12", "04-01-2004", 0, "Older", false, false, 1, 10);
    s.addRow("N123", "06-01-2004", 0, "Other tail", false, false, 1, 10);
    newRecordFor(s, "N12");

    f.LoadPreviousEquipment();

    // The set's order (date, then as stored), not RowNum.
    EXPECT_EQ(s.gridRows(f.Grid3, 4), Rows({"ELT\tE-1\t2.50\t40.00\t100.0", "Seat\t\t0.00\t0.00\t0.0",
                                            "Unmarked change\tSN\t1.00\t20.00\t20.0", "\t\t\t\t"}));
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_TRUE(f.ws.ListWeight[0].isNumber());
    EXPECT_EQ(f.ws.ListWeight[1].toText(), "");
    EXPECT_EQ(f.ws.ListDesc[3].toText(), "");
    EXPECT_EQ(f.ws.ListMoment[0].toText(), "");
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.ws.PreviousListPending, 1);
}

TEST(LoadPreviousEquipment, ResetsTheWeighingPointsAndFluids) {
    ShowFixture s;
    Form1& f = s.f();
    newRecordFor(s, "N1");  // nothing stored for it
    f.ws.JackDesc[0] = "Typed";
    f.ws.JackWeight[1] = "700";
    f.ws.FluidArm[4] = "12";
    f.ws.JackMoment[1] = "kept";
    f.Grid2.setRowText(1, "Left Main\t\t700\t\t");

    f.LoadPreviousEquipment();

    EXPECT_EQ(f.ws.JackDesc[0].toText(), "Right Main");
    EXPECT_EQ(f.ws.JackWeight[1].toText(), "");
    EXPECT_EQ(f.ws.FluidArm[4].toText(), "");
    EXPECT_EQ(f.ws.JackMoment[1].toText(), "kept");
    EXPECT_EQ(s.gridRows(f.Grid2, 5), Rows({"Right Main\t\t\t\t0.0", "Left Main\t\t\t\t0.0", "Nose\t\t\t\t0.0",
                                            "\t\t\t\t0.0", "\t\t\t\t0.0"}));
    EXPECT_EQ(s.gridRows(f.Grid4, 5), Rows({"Forward Tanks\t\t\t0.0", "Aft Tanks\t\t\t0.0", "\t\t\t0.0",
                                            "\t\t\t0.0", "\t\t\t0.0"}));
    EXPECT_EQ(f.Grid2.rows(), 5);
    EXPECT_EQ(f.Grid3.cell(0, 0), "");
}

TEST(LoadPreviousEquipment, NeverWritesPastEntry99) {
    ShowFixture s;
    Form1& f = s.f();
    {
        Transaction t(*s.db);
        for (int i = 0; i < 120; ++i) s.addRow("N1", "03-09-2004", i, "Item " + std::to_string(i));
        t.commit();
    }
    newRecordFor(s, "N1");
    f.ws.ListDesc[100] = "untouched";

    f.LoadPreviousEquipment();

    EXPECT_EQ(f.ws.ListDesc[99].toText(), "Item 99");
    EXPECT_EQ(f.ws.ListDesc[100].toText(), "untouched");
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_EQ(f.Grid3.cell(99, 0), "Item 99");
}

TEST(LoadPreviousEquipment, WithoutARecordDatabaseFindsNothingAndTheSpecsPanelOpens) {
    MainWindowFixture w;
    Form1& f = w.f();
    ASSERT_FALSE(f.dbRecords);
    w.type(f.Text1, "n1");
    f.ws.JackDesc[0] = "Typed";
    w.click(f.Command3D23);
    EXPECT_TRUE(f.Panel3D6.visible());
    EXPECT_EQ(f.ws.JackDesc[0].toText(), "Right Main");
    EXPECT_EQ(f.Grid2.rowText(0), "Right Main\t\t\t\t0.0");
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_EQ(f.containedFailures(), 0);
}

}  // namespace
}  // namespace wb
