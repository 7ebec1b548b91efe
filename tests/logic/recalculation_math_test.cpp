#include "worksheet/recalculation_math.h"

#include <array>

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace wb {
namespace {

// The worksheet arrays and boxes the recalculation reads, as Form1 holds them.
struct Worksheet {
    std::string Text2 = "N123", Text9, Text10;
    std::array<Value, 6> JackTare, JackWeight, JackArm, FluidWeight, FluidArm;
    std::array<Value, 31> ChangeDesc, ChangeSerial, ChangeWeight, ChangeArm, ChangeMoment,
        ChangeInstalled, ChangeRemoved;

    RecalcInput input() const {
        return {Text2, Text9, Text10, JackTare, JackWeight, JackArm, FluidWeight, FluidArm,
                ChangeDesc, ChangeWeight, ChangeArm, ChangeInstalled, ChangeRemoved, 30};
    }
    void point(int i, Value tare, Value weight, Value arm) {
        JackTare[i] = tare;
        JackWeight[i] = weight;
        JackArm[i] = arm;
    }
    void fluid(int i, Value weight, Value arm) {
        FluidWeight[i] = weight;
        FluidArm[i] = arm;
    }
    void change(int i, Value desc, Value weight, Value arm, Value installed = "",
                Value removed = "") {
        ChangeDesc[i] = desc;
        ChangeWeight[i] = weight;
        ChangeArm[i] = arm;
        ChangeInstalled[i] = installed;
        ChangeRemoved[i] = removed;
    }
    // Row 0 as the LostFocus handlers leave it.
    void previousEmpty(const std::string& weight, const std::string& cg) {
        Text9 = weight;
        Text10 = cg;
        change(0, kPreviousEmpty, weight, cg, kPreviousEmptyMark);
    }
};

TEST(Recalculation, WorkedExampleWithoutWeighing) {
    Worksheet ws;
    ws.previousEmpty("1500", "80");
    ws.change(1, "Battery", "10", "50", "X");
    ws.change(2, "Radio", "5", "100", "", "X");

    RecalcResult r = ComputeWeightAndBalance(ws.input());

    EXPECT_FALSE(r.weighingInEffect());
    EXPECT_EQ(r.WeighedCG, 0.0f);
    EXPECT_EQ(r.NewEmptyWeight, 1505.0f);
    EXPECT_EQ(r.NewEmptyMoment, 120000.0f);
    EXPECT_EQ(r.NewEmptyCG, static_cast<float>(120000.0 / 1505.0));
    EXPECT_EQ(r.Text23, "1505.00");
    EXPECT_EQ(r.Text24, "79.73");
    EXPECT_EQ(r.Text27, "120000.0");
    ASSERT_TRUE(r.ChangeMoment0.isNumber());
    EXPECT_EQ(r.ChangeMoment0.toNumber(), 120000.0);
}

TEST(Recalculation, EmptyWorksheetShowsZeros) {
    Worksheet ws;
    RecalcResult r = ComputeWeightAndBalance(ws.input());
    EXPECT_FALSE(r.weighingInEffect());
    EXPECT_EQ(r.Text23, ".00");
    EXPECT_EQ(r.Text24, ".00");
    EXPECT_EQ(r.Text27, ".0");
    EXPECT_EQ(r.ChangeMoment0.toNumber(), 0.0);
}

TEST(Recalculation, ThreePointWeighingWithFluidsReplacesPreviousEmpty) {
    Worksheet ws;
    ws.previousEmpty("1500", "80");
    ws.point(0, "5", "520", "85.5");
    ws.point(1, "5", "518", "85.5");
    ws.point(2, "3", "310", "40.2");
    ws.fluid(0, "60.5", "90");
    ws.fluid(1, "30", "100");
    ws.change(1, "Battery", "10", "50", "X");

    RecalcResult r = ComputeWeightAndBalance(ws.input());

    // 515 + 513 + 307 - 60.5 - 30; 44032.5 + 43861.5 + 12341.4 - 5445 - 3000
    EXPECT_EQ(r.WeighedWeight, 1244.5f);
    EXPECT_EQ(r.WeighedMoment, 91790.4f);
    EXPECT_EQ(r.WeighedCG, static_cast<float>(double(91790.4f) / 1244.5));
    ASSERT_TRUE(r.weighingInEffect());
    EXPECT_EQ(r.weighed->Text9, "1244.50");
    EXPECT_EQ(r.weighed->Text10, "73.76");

    const PreviousEmptyRow& row0 = r.weighed->row0;
    EXPECT_EQ(row0.rowText, "Previous A/C Empty\tN123\t1244.50\t73.76\t91790.4\t//////\t//////");
    EXPECT_EQ(row0.ChangeDesc, Value(kPreviousEmpty));
    EXPECT_EQ(row0.ChangeSerial, Value("N123"));
    EXPECT_EQ(row0.ChangeInstalled, Value(kPreviousEmptyMark));
    EXPECT_EQ(row0.ChangeRemoved, Value(kPreviousEmptyMark));
    // The singles are held as numbers whose text form is the single's own.
    ASSERT_TRUE(row0.ChangeWeight.isNumber());
    EXPECT_EQ(row0.ChangeWeight.toText(), "1244.5");
    EXPECT_EQ(static_cast<float>(row0.ChangeArm.toNumber()), r.WeighedCG);
    EXPECT_EQ(r.ChangeMoment0.toText(), "91790.4");

    // Row 0 (the old 1500 at 80) is not summed: the weighing starts the totals.
    EXPECT_EQ(r.NewEmptyWeight, 1254.5f);
    EXPECT_EQ(r.NewEmptyMoment, 92290.4f);
    EXPECT_EQ(r.Text23, "1254.50");
    EXPECT_EQ(r.Text24, "73.57");
    EXPECT_EQ(r.Text27, "92290.4");
}

TEST(Recalculation, WeighingReplacesAnOrdinaryItemInRowZero) {
    Worksheet ws;
    ws.change(0, "Radio", "7", "60", "X", "X");
    ws.point(0, "", "1000", "50");

    RecalcResult r = ComputeWeightAndBalance(ws.input());

    ASSERT_TRUE(r.weighingInEffect());
    EXPECT_EQ(r.weighed->row0.ChangeDesc, Value(kPreviousEmpty));
    EXPECT_EQ(r.weighed->row0.ChangeRemoved, Value(kPreviousEmptyMark));
    EXPECT_EQ(r.NewEmptyWeight, 1000.0f);
    EXPECT_EQ(r.Text24, "50.00");
}

TEST(Recalculation, NoWeighingWhenMomentOrWeightIsZero) {
    struct Case {
        const char* name;
        int points;
        Value weight, arm, fluidWeight, fluidArm;
    };
    const Case cases[] = {
        {"readings with all arms 0", 3, "900", "0", "", ""},
        {"readings with blank arms", 3, "900", "", "", ""},
        {"fluids cancel the weight", 1, "100", "10", "100", "20"},
        {"fluids cancel the moment", 2, "100", "10", "100", "20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Worksheet ws;
        ws.previousEmpty("1500", "80");
        for (int i = 0; i < c.points; ++i) ws.point(i, "", c.weight, c.arm);
        ws.fluid(0, c.fluidWeight, c.fluidArm);

        RecalcResult r = ComputeWeightAndBalance(ws.input());

        EXPECT_FALSE(r.weighingInEffect());
        EXPECT_EQ(r.WeighedCG, 0.0f);
        EXPECT_EQ(r.ChangeMoment0.toNumber(), 120000.0);
        EXPECT_EQ(r.Text23, "1500.00");
        EXPECT_EQ(r.Text24, "80.00");
    }
}

TEST(Recalculation, FluidsOnlyGiveANegativeWeighing) {
    Worksheet ws;
    ws.fluid(0, "120", "95");
    RecalcResult r = ComputeWeightAndBalance(ws.input());
    ASSERT_TRUE(r.weighingInEffect());
    EXPECT_EQ(r.WeighedWeight, -120.0f);
    EXPECT_EQ(r.WeighedMoment, -11400.0f);
    EXPECT_EQ(r.WeighedCG, 95.0f);
    EXPECT_EQ(r.weighed->Text9.front(), '-');
    EXPECT_EQ(r.weighed->Text10, "95.00");
}

// A heavy aircraft's moment lies where singles are 0.25 apart: the 0.12 of a
// small item is lost, so the shown moment differs from the double sum.
TEST(Recalculation, TotalsAreSinglePrecision) {
    Worksheet ws;
    ws.previousEmpty("12000", "200");
    ws.change(1, "Antenna", "1.2", "0.1", "X");

    RecalcResult r = ComputeWeightAndBalance(ws.input());

    EXPECT_EQ(r.NewEmptyMoment, 2400000.0f);
    EXPECT_EQ(r.Text27, "2400000.0");  // 2400000.12 in double would show 2400000.1
    EXPECT_EQ(r.NewEmptyWeight, 12001.2f);
    EXPECT_EQ(r.Text23, "12001.20");
}

TEST(Recalculation, WeighedTotalsAreRoundedPerPoint) {
    // Each point's sum is stored in single precision before the next is added:
    // 16777216 + 1 stays 16777216 in single, so both later readings are lost
    // (rounded once at the end, 16777218 would be exact).
    Worksheet ws;
    ws.point(0, "", "16777216", "1");
    ws.point(1, "", "1", "1");
    ws.point(2, "", "1", "1");
    RecalcResult r = ComputeWeightAndBalance(ws.input());
    EXPECT_EQ(r.WeighedWeight, 16777216.0f);
    EXPECT_EQ(r.WeighedMoment, 16777216.0f);
    EXPECT_EQ(r.WeighedCG, 1.0f);
}

TEST(Recalculation, ZeroNewWeightGivesZeroCG) {
    {
        SCOPED_TRACE("without a weighing");
        Worksheet ws;
        ws.previousEmpty("100", "50");
        ws.change(1, "Ballast", "100", "30", "", "X");
        RecalcResult r = ComputeWeightAndBalance(ws.input());
        EXPECT_EQ(r.NewEmptyWeight, 0.0f);
        EXPECT_EQ(r.NewEmptyMoment, 2000.0f);
        EXPECT_EQ(r.NewEmptyCG, 0.0f);
        EXPECT_EQ(r.Text23, ".00");
        EXPECT_EQ(r.Text24, ".00");
        EXPECT_EQ(r.Text27, "2000.0");
    }
    {
        SCOPED_TRACE("with a weighing");
        Worksheet ws;
        ws.point(0, "", "100", "50");
        ws.change(1, "Ballast", "100", "30", "", "X");
        RecalcResult r = ComputeWeightAndBalance(ws.input());
        ASSERT_TRUE(r.weighingInEffect());
        EXPECT_EQ(r.NewEmptyWeight, 0.0f);
        EXPECT_EQ(r.NewEmptyCG, 0.0f);
        EXPECT_EQ(r.Text24, ".00");
    }
}

TEST(Recalculation, MarksAreComparedExactly) {
    struct Case {
        const char* name;
        Value desc, installed, removed;
        float weight;  // new empty weight over 1000 and this row of 10 at 20
    };
    const Case cases[] = {
        {"installed", "Item", "X", "", 1010},
        {"removed", "Item", "", "X", 990},
        {"both marks cancel", "Item", "X", "X", 1000},
        {"neither mark", "Item", "", "", 1000},
        {"lower-case x is no mark", "Item", "x", "x", 1000},
        {"X with a blank is no mark", "Item", "X ", " X", 1000},
        {"second previous-empty row adds", kPreviousEmpty, "", "", 1010},
        {"previous-empty row removed too", kPreviousEmpty, "", "X", 1000},
        {"description compared case-sensitively", "previous a/c empty", "", "", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Worksheet ws;
        ws.previousEmpty("1000", "20");
        ws.change(5, c.desc, "10", "20", c.installed, c.removed);
        RecalcResult r = ComputeWeightAndBalance(ws.input());
        EXPECT_EQ(r.NewEmptyWeight, c.weight);
        EXPECT_EQ(r.NewEmptyMoment, c.weight * 20);
        EXPECT_EQ(r.Text24, "20.00");
    }
}

TEST(Recalculation, RowsPastGridRowsAreNotSummed) {
    Worksheet ws;
    ws.previousEmpty("1000", "20");
    ws.change(30, "Spare slot", "10", "20", "X");
    EXPECT_EQ(ComputeWeightAndBalance(ws.input()).NewEmptyWeight, 1000.0f);
}

TEST(Recalculation, CellsReadByTheirLeadingNumber) {
    struct Case {
        Value cell;
        double number;
    };
    const Case cases[] = {
        {Value(), 0},          {"", 0},          {Value::null(), 0},
        {"abc", 0},            {"12abc", 12},    {" 1 2.5 lb", 12.5},
        {"1,5", 1},            {Value(7.25), 7.25}, {"-3", -3},
        {Value::boolean(true), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell.displayText());
        EXPECT_EQ(NumberOf(c.cell), c.number);
    }

    // Non-numeric cells take part as 0 without failing.
    Worksheet ws;
    ws.previousEmpty("heavy", "aft");
    ws.change(1, "Seat", "abc", "40", "X");
    ws.change(2, "Rack", Value::null(), Value::null(), "X");
    ws.change(3, "Strobe", Value(2.5), "10", "X");
    ws.point(0, "none", "n/a", "?");
    RecalcResult r = ComputeWeightAndBalance(ws.input());
    EXPECT_FALSE(r.weighingInEffect());
    EXPECT_EQ(r.NewEmptyWeight, 2.5f);
    EXPECT_EQ(r.NewEmptyMoment, 25.0f);
    EXPECT_EQ(r.Text23, "2.50");
    EXPECT_EQ(r.Text24, "10.00");
}

TEST(Recalculation, OverflowOfASingleTotalFails) {
    Worksheet ws;
    ws.previousEmpty("1E30", "1E30");  // the moment 1E60 is beyond a single
    try {
        ComputeWeightAndBalance(ws.input());
        FAIL() << "no failure";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), kOverflow);
    }
}

TEST(PreviousEmptyRow, NothingWhenTheLeftBoxIsEmpty) {
    EXPECT_FALSE(BuildPreviousEmptyRow("", "N1", "", "80", kPreviousEmpty, "1500", "80"));
}

TEST(PreviousEmptyRow, BuildsRowFromBoxes) {
    auto e = BuildPreviousEmptyRow("80", "N123", "1500", "80", Value(), Value(), Value());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->placement, Row0Placement::ReplaceInPlace);
    EXPECT_EQ(e->row0.rowText,
              "Previous A/C Empty\tN123\t1500.0\t80.00\t120000.0\t//////\t//////");
    EXPECT_EQ(e->row0.ChangeDesc, Value(kPreviousEmpty));
    EXPECT_EQ(e->row0.ChangeSerial, Value("N123"));
    EXPECT_EQ(e->row0.ChangeInstalled, Value(kPreviousEmptyMark));
    EXPECT_EQ(e->row0.ChangeRemoved, Value(kPreviousEmptyMark));

    // The entries keep the texts as typed; the row shows their numbers.
    e = BuildPreviousEmptyRow("1500.25 lb", "", "1500.25 lb", "80.126", Value(), Value(),
                              Value());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->row0.ChangeWeight, Value("1500.25 lb"));
    EXPECT_EQ(e->row0.ChangeArm, Value("80.126"));
    EXPECT_EQ(e->row0.rowText,
              "Previous A/C Empty\t\t1500.3\t80.13\t120209.0\t//////\t//////");

    e = BuildPreviousEmptyRow("heavy", "", "heavy", "aft", Value(), Value(), Value());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->row0.rowText, "Previous A/C Empty\t\t.0\t0.00\t0.0\t//////\t//////");
}

TEST(PreviousEmptyRow, PlacementFollowsWhatRowZeroHolds) {
    struct Case {
        const char* name;
        Value desc, weight, arm;
        Row0Placement placement;
    };
    const Case cases[] = {
        {"old previous-empty row", kPreviousEmpty, "900", "70", Row0Placement::ReplaceInPlace},
        {"never written", Value(), Value(), Value(), Row0Placement::ReplaceInPlace},
        {"cleared", "", "", "", Row0Placement::ReplaceInPlace},
        {"an item", "Radio", "5", "40", Row0Placement::MoveDown},
        {"only a weight", "", "5", "", Row0Placement::MoveDown},
        {"only an arm", "", "", "40", Row0Placement::MoveDown},
        {"a zero weight number", "", Value(0.0), "", Row0Placement::MoveDown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto e = BuildPreviousEmptyRow("1500", "N1", "1500", "80", c.desc, c.weight, c.arm);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->placement, c.placement);
    }
}

TEST(PreviousEmptyRow, MoveDownShiftsRowsAndDropsRow29) {
    std::array<Value, 31> column;
    for (int i = 0; i < 31; ++i) column[i] = Value(i);
    MoveChangeRowsDown(column);
    EXPECT_EQ(column[0], Value(0));
    EXPECT_EQ(column[1], Value(0));
    for (int i = 2; i < 30; ++i) EXPECT_EQ(column[i], Value(i - 1)) << i;
    EXPECT_EQ(column[30], Value(30));
}

}  // namespace
}  // namespace wb
