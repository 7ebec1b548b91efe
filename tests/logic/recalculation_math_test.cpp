#include "worksheet/recalculation_math.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <functional>
#include <random>

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

// What the recalculation gives for a worksheet: the totals, or where it overflowed.
struct Outcome {
    std::optional<RecalcResult> result;
    std::optional<TotalsOverflow> overflow;
};
Outcome outcomeOf(const Worksheet& ws) {
    try {
        return {ComputeWeightAndBalance(ws.input()), std::nullopt};
    } catch (const TotalsOverflow& e) {
        return {std::nullopt, e};
    }
}

// An overflow names the list and row (counted from 1 as the user sees them)
// or the C.G., and shows no figure where a result would stand.
TEST(Recalculation, OverflowNamesTheListAndRowAndShowsNoFigure) {
    const std::string huge = "5000000000000000000", huger = "90000000000000000000";
    struct Case {
        const char* where;
        std::function<void(Worksheet&)> fill;
        bool weighingFailed;  // the weighing's figures show empty too
    };
    const Case cases[] = {
        {"change list, row 2", [&](Worksheet& ws) { ws.previousEmpty("1500", "80");
                                                    ws.change(1, "Rack", huge, huger, "X"); }, false},
        {"change list, row 30", [&](Worksheet& ws) { ws.change(29, "Rack", huge, huger, "", "X"); }, false},
        {"change list, row 1", [](Worksheet& ws) { ws.previousEmpty("1E30", "1E30"); }, false},
        {"change list, row 4", [](Worksheet& ws) { ws.change(3, "Rack", "1e999", "1", "X"); }, false},
        {"new empty C.G.", [](Worksheet& ws) { ws.previousEmpty("1e-38", "1e39"); }, false},
        {"weighing points, row 3", [&](Worksheet& ws) { ws.point(2, "", huge, huger); }, true},
        {"weighing points, row 1", [](Worksheet& ws) { ws.point(0, "1e999", "500", "40"); }, true},
        {"weighing points, row 5", [](Worksheet& ws) { ws.point(4, "", "1e39", "0"); }, true},
        {"fluids, row 2", [&](Worksheet& ws) { ws.point(1, "", "500", "40"); ws.fluid(1, huge, huger); }, true},
        {"fluids, row 4", [](Worksheet& ws) { ws.fluid(3, "1E300", "0"); }, true},
        {"weighed C.G.", [](Worksheet& ws) { ws.point(0, "", "1e-38", "1e39"); }, true},
    };
    for (const Case& c : cases) {
        Worksheet ws;
        ws.Text9 = "1500";
        ws.Text10 = "80";
        c.fill(ws);
        const Outcome o = outcomeOf(ws);
        ASSERT_TRUE(o.overflow) << c.where;
        EXPECT_EQ(o.overflow->number(), kOverflow);
        EXPECT_EQ(o.overflow->where(), c.where);
        const RecalcResult& shown = o.overflow->shown();
        EXPECT_EQ(shown.Text23 + shown.Text24 + shown.Text27, "") << c.where;
        EXPECT_EQ(shown.NewEmptyWeight, 0) << c.where;
        EXPECT_EQ(shown.NewEmptyMoment, 0) << c.where;
        EXPECT_EQ(shown.NewEmptyCG, 0) << c.where;
        EXPECT_EQ(shown.weighingInEffect(), c.weighingFailed) << c.where;
        if (c.weighingFailed) {
            EXPECT_EQ(shown.weighed->Text9 + shown.weighed->Text10, "") << c.where;
            EXPECT_EQ(shown.weighed->row0.rowText, "Previous A/C Empty\tN123\t\t\t\t//////\t//////");
            EXPECT_EQ(shown.weighed->row0.ChangeWeight, Value(""));
            EXPECT_EQ(shown.weighed->row0.ChangeArm, Value(""));
            EXPECT_EQ(shown.ChangeMoment0, Value(""));
            EXPECT_EQ(shown.WeighedWeight, 0);
        }
    }
}

// A figure whose whole part is longer than its box would read as another
// number there: it is too large. One whose decimals only are cut still reads
// its whole part and passes ("480000000.0" in ten characters).
TEST(Recalculation, AFigureTooLongForItsBoxIsTooLarge) {
    struct Case {
        const char *weight, *arm;
        bool weighed;
        const char* where;  // "" when it fits
    };
    const Case cases[] = {
        {"400000", "1200", false, ""},
        {"99999999999", "1", false, "new empty weight"},
        {"1", "99999999999", false, "new empty C.G."},
        {"10000000", "10000", false, "new empty moment"},
        {"99999999", "1", true, "weighed weight"},
        {"0.001", "100000000", true, "weighed C.G."},
        {"9999", "99", true, ""},
    };
    for (const Case& c : cases) {
        Worksheet ws;
        if (c.weighed)
            ws.point(0, "", c.weight, c.arm);
        else
            ws.change(1, "Item", c.weight, c.arm, "X");
        RecalcInput in = ws.input();
        in.Text9Length = 8;
        in.Text10Length = 7;
        in.Text23Length = in.Text24Length = in.Text27Length = 10;
        try {
            const RecalcResult r = ComputeWeightAndBalance(in);
            EXPECT_STREQ(c.where, "") << c.weight << " " << c.arm;
            EXPECT_EQ(r.weighingInEffect(), c.weighed);
        } catch (const TotalsOverflow& e) {
            EXPECT_EQ(e.where(), c.where) << c.weight << " " << c.arm;
            EXPECT_EQ(e.shown().Text23, "");
            EXPECT_EQ(e.shown().weighingInEffect(), c.weighed);
            if (c.weighed) EXPECT_EQ(e.shown().weighed->Text9, "");
        }
    }
}

// A change list that overflows behind a sound weighing keeps the weighing's
// figures: they are fresh, only the new empty ones are not.
TEST(Recalculation, OverflowInTheChangeListKeepsTheWeighing) {
    Worksheet ws;
    ws.point(0, "", "1000", "50");
    ws.change(2, "Rack", "5000000000000000000", "90000000000000000000", "X");
    const Outcome o = outcomeOf(ws);
    ASSERT_TRUE(o.overflow);
    EXPECT_EQ(o.overflow->where(), "change list, row 3");
    const RecalcResult& shown = o.overflow->shown();
    ASSERT_TRUE(shown.weighingInEffect());
    EXPECT_EQ(shown.weighed->Text9, "1000.00");
    EXPECT_EQ(shown.weighed->Text10, "50.00");
    EXPECT_EQ(shown.WeighedWeight, 1000);
    EXPECT_EQ(shown.Text23, "");
}

// The recalculation against a plain reference on random worksheets: the same
// sums in long double, each total checked against the single range and held
// as a single as it is stored. Where the reference stays well inside the range the totals agree;
// where it goes well beyond, the recalculation overflows, at the same step.
TEST(Recalculation, AgreesWithAPlainReferenceAndOverflowsWhereItDoes) {
    struct Reference {
        long double ww = 0, wm = 0, wcg = 0, nw = 0, nm = 0, ncg = 0;
        std::string firstBeyond;  // the first step whose total is beyond range
        long double largest = 0;  // the largest magnitude stored or summed
        long double largestStored = 0;
        void term(long double value) { largest = std::max(largest, std::fabs(value)); }
        // A total is held in single precision while it fits.
        void store(long double& total, long double value, const std::string& step) {
            term(value);
            largestStored = std::max(largestStored, std::fabs(value));
            const bool beyond = std::fabs(value) > FLT_MAX;
            if (firstBeyond.empty() && beyond) firstBeyond = step;
            total = beyond ? value : static_cast<long double>(static_cast<float>(value));
        }
    };
    std::mt19937 random(19);
    // Half the worksheets take ordinary numbers only (the first eight).
    const char* values[] = {"", "0", "12.5", "-3", "500", "80.25", "1e3", "abc", "1e-38", "7e18", "9e19", "2e38"};
    bool ordinary = false;
    const auto pick = [&] { return Value(values[random() % (ordinary ? 8 : std::size(values))]); };
    const auto num = [](const Value& v) { return static_cast<long double>(NumberOf(v)); };
    int agreed = 0, overflowed = 0;
    for (int n = 0; n < 3000; ++n) {
        ordinary = n % 2 == 0;
        Worksheet ws;
        ws.Text9 = values[random() % 6];
        ws.Text10 = values[random() % 6];
        for (int i = 0; i < 5; ++i)
            if (random() % 3 == 0) {
                ws.point(i, pick(), pick(), pick());
                ws.fluid(i, random() % 2 ? pick() : Value(), pick());
            }
        for (int i = 0; i < 30; ++i)
            if (random() % 4 == 0)
                ws.change(i, i == 0 ? kPreviousEmpty : "Item", pick(), pick(), random() % 2 ? "X" : "",
                          random() % 3 ? "" : "X");

        Reference ref;
        for (int i = 0; i < 5; ++i) {
            const long double J = num(ws.JackWeight[i]), T = num(ws.JackTare[i]), A = num(ws.JackArm[i]);
            const long double F = num(ws.FluidWeight[i]), G = num(ws.FluidArm[i]);
            for (long double t : {J, T, F, (J - T) * A, G * F}) ref.term(t);
            ref.store(ref.ww, ref.ww + J - F - T, "weighing");
            ref.store(ref.wm, (J - T) * A + ref.wm - G * F, "weighing");
        }
        if (ref.ww != 0 && ref.wm != 0) ref.store(ref.wcg, ref.wm / ref.ww, "weighed C.G.");
        const bool weighing = ref.wcg != 0;
        if (weighing) {
            ref.nw = ref.ww;
            ref.nm = ref.wm;
        }
        for (int i = weighing ? 1 : 0; i < 30; ++i) {
            const long double W = num(ws.ChangeWeight[i]), R = num(ws.ChangeArm[i]);
            const std::string row = "change list, row " + std::to_string(i + 1);
            for (long double t : {W, R * W}) ref.term(t);
            if (ws.ChangeInstalled[i] == Value("X") || ws.ChangeDesc[i] == Value(kPreviousEmpty)) {
                ref.store(ref.nw, ref.nw + W, row);
                ref.store(ref.nm, R * W + ref.nm, row);
            }
            if (ws.ChangeRemoved[i] == Value("X")) {
                ref.store(ref.nw, ref.nw - W, row);
                ref.store(ref.nm, ref.nm - R * W, row);
            }
        }
        if (ref.nw != 0) ref.store(ref.ncg, ref.nm / ref.nw, "new empty C.G.");

        const Outcome o = outcomeOf(ws);
        if (ref.largest < 1e15L && ref.firstBeyond.empty()) {
            // Ordinary numbers: double sums are exact enough to agree with the
            // reference up to the singles' rounding.
            ASSERT_TRUE(o.result) << n << ": " << o.overflow->where();
            const auto close = [&](float got, long double want) {
                return std::fabs(got - want) <= 1e-6L * (ref.largest + 1);
            };
            EXPECT_TRUE(close(o.result->NewEmptyWeight, ref.nw)) << n;
            EXPECT_TRUE(close(o.result->NewEmptyMoment, ref.nm)) << n;
            EXPECT_TRUE(close(o.result->WeighedWeight, ref.ww)) << n;
            EXPECT_EQ(o.result->weighingInEffect(), weighing) << n;
            ++agreed;
        } else if (ref.largestStored > 4.0L * FLT_MAX) {
            // Beyond it: an overflow no later than the reference's step.
            ASSERT_TRUE(o.overflow) << n;
            if (ref.firstBeyond == "weighing")
                EXPECT_TRUE(o.overflow->where().rfind("weighing points", 0) == 0 ||
                            o.overflow->where().rfind("fluids", 0) == 0) << n << " " << o.overflow->where();
            else if (!ref.firstBeyond.empty() && o.overflow->shown().weighingInEffect() == weighing)
                EXPECT_EQ(o.overflow->where(), ref.firstBeyond) << n;
            ++overflowed;
        }
    }
    EXPECT_GT(agreed, 300);
    EXPECT_GT(overflowed, 300);
}

// A figure no total can hold shows empty in the row; the recalculation that
// follows names the row.
TEST(PreviousEmptyRow, AFigureBeyondRangeShowsEmpty) {
    const struct {
        const char *weight, *cg, *row;
    } cases[] = {
        {"1e999", "80", "Previous A/C Empty\tN1\t\t80.00\t\t//////\t//////"},
        {"1e30", "1e30", "Previous A/C Empty\tN1\t1000000000000000000000000000000.0\t"
                         "1000000000000000000000000000000.00\t\t//////\t//////"},
        {"1e39", "2", "Previous A/C Empty\tN1\t\t2.00\t\t//////\t//////"},
    };
    for (const auto& c : cases) {
        const auto e = BuildPreviousEmptyRow(c.weight, "N1", c.weight, c.cg, Value(), Value(), Value());
        ASSERT_TRUE(e) << c.weight;
        EXPECT_EQ(e->row0.rowText, c.row) << c.weight;
        EXPECT_EQ(e->row0.ChangeWeight, Value(c.weight));  // the entry keeps the text as typed
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
