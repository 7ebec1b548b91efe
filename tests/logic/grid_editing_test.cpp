// In-cell editing of the four worksheet grids: keys, the numeric check, marks,
// the commit on a cell change, Enter order, Delete, click and lost focus, and
// the current cell's text through the clipboard.
#include <gtest/gtest.h>

#include <functional>

#include "logic/main_window_fixture.h"
#include "worksheet/grid_table.h"
#include "worksheet/recalculation_math.h"

namespace wb {
namespace {

using testing::MainWindowFixture;

const GridTable& table(const std::string& name) {
    for (const GridTable& t : kGridTables)
        if (name == t.name) return t;
    throw std::logic_error("no grid " + name);
}

struct Grids : MainWindowFixture {
    Grids() { f().Panel3D6.setVisible(true); }  // Grid2 to Grid4 sit on the CG panel
    Grid& grid(const std::string& name) { return f().*table(name).grid; }
    void cell(Grid& g, int r, int c) { form->userCellClick(g, r, c); }
    void keys(Grid& g, const std::string& text) {
        for (unsigned char ch : text) form->userKeyPress(g, ch);
    }
    void enter(Grid& g) { form->userKeyPress(g, 13); }
    void backspace(Grid& g) { form->userKeyPress(g, 8); }
    void del(Grid& g, int shift = 0) { form->userKeyDown(g, keys::kDelete, shift); }
    // Types text into a cell reached by a click, then leaves it by Enter.
    void entry(Grid& g, int r, int c, const std::string& text) {
        cell(g, r, c);
        keys(g, text);
        enter(g);
    }
    size_t messages() const { return dialogs.shown.size(); }
    std::string lastTitle() const { return dialogs.shown.empty() ? "" : dialogs.shown.back().title; }
};

TEST(GridTableRules, NumericCheckPassesEveryPrefixOfANumber) {
    for (const char* text : {" ", "-", "-1", "-12", "-12.", "-12.5", "0", "0.", "0.5", " 5", "5 "})
        EXPECT_TRUE(PassesNumericCheck(text)) << '"' << text << '"';
    for (const char* text : {"", ".", "-.", "  ", "1-", "12a", "1.2.", "+", "x", "\b", "1 2"})
        EXPECT_FALSE(PassesNumericCheck(text)) << '"' << text << '"';
}

// A number passes while a stored single holds it (FLT_MAX is about
// 3.40282347E+38): 38 nines pass, the 39th is refused, and so is a number
// beyond even a double, which the leading-number parse cannot read.
TEST(GridTableRules, NumericCheckRefusesNumbersAStoredSingleCannotHold) {
    const std::string nines38(38, '9'), nines39(39, '9');
    const std::pair<std::string, NumericRefusal> cases[] = {
        {nines38, NumericRefusal::None},
        {"-" + nines38, NumericRefusal::None},
        {"3.4e38", NumericRefusal::None},
        {"340282346638528859811704183484516925440", NumericRefusal::None},  // FLT_MAX itself
        {"1e-50", NumericRefusal::None},
        {nines39, NumericRefusal::OutOfRange},
        {"-" + nines39, NumericRefusal::OutOfRange},
        {"3.5e38", NumericRefusal::OutOfRange},
        {"3.4028236e38", NumericRefusal::OutOfRange},
        {"1e400", NumericRefusal::OutOfRange},
        {std::string(100000, '9'), NumericRefusal::OutOfRange},
        {"1,850", NumericRefusal::NotNumeric},
        {"", NumericRefusal::NotNumeric},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(NumericCheck(text), expected) << text.substr(0, 60);
}

TEST(GridTableRules, MarkRule) {
    for (const char* text : {"x", "X", "y", "Y"}) EXPECT_EQ(MarkText(text), "X") << text;
    for (const char* text : {"", "Xx", "XX", "n", "1", " X", "\b"}) EXPECT_EQ(MarkText(text), "") << text;
}

TEST(GridTableRules, CommitRowTextAndMomentPerGrid) {
    struct Case {
        const char* grid;
        std::vector<Value> row;  // one entry per column; the moment is computed
        double moment;
        const char* text;
    };
    const Case cases[] = {
        {"Grid1", {"Seat", "S1", "12.5", "40", "", "X", ""}, 500, "Seat\tS1\t12.50\t40.00\t500.0\tX\t"},
        {"Grid1", {"Lamp", "", Value(0.0), "-", "", "", ""}, 0, "Lamp\t\t0.00\t-\t.0\t\t"},
        {"Grid1", {"", "", "", "85.66", "", "", ""}, 0, "\t\t\t85.66\t.0\t\t"},
        {"Grid1", {"", "", "12abc", "2", "", "", ""}, 24, "\t\t12abc\t2.00\t24.0\t\t"},
        {"Grid2", {"Right Main", Value(0.0), "600", "50.5", ""}, 30300, "Right Main\t0\t600.00\t50.50\t30300.0"},
        {"Grid2", {"Nose", "5", "305", "0.5", ""}, 150, "Nose\t5\t305.00\t0.50\t150.0"},
        {"Grid3", {"Radio", "R2", "", "-", ""}, 0, "Radio\tR2\t0.00\t0.00\t.0"},
        {"Grid3", {"Radio", "R2", "3.333", "12abc", ""}, 39.996, "Radio\tR2\t3.33\t12.00\t40.0"},
        {"Grid4", {"Forward Tanks", "-", "", ""}, 0, "Forward Tanks\t-\t\t.0"},
        {"Grid4", {"Aft Tanks", "90", "-10", ""}, -900, "Aft Tanks\t90.00\t-10.00\t-900.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const GridTable& t = table(c.grid);
        std::vector<std::array<Value, 1>> cells(c.row.size());
        RowArrays arrays;
        for (size_t i = 0; i < c.row.size(); ++i) {
            cells[i][0] = c.row[i];
            arrays.push_back(cells[i]);
        }
        const double moment = CommitMoment(t, arrays, 0);
        EXPECT_DOUBLE_EQ(moment, c.moment);
        arrays[t.momentCol()][0] = Value(moment);
        EXPECT_EQ(CommitRowText(t, arrays, 0), c.text);
    }
}

TEST(GridEditing, WeightTypedIntoAnEmptyCellCommitsOnEnter) {
    Grids w;
    Form1& f = w.f();
    w.entry(f.Grid1, 1, 0, "Seat");
    w.entry(f.Grid1, 1, 3, "40");
    w.cell(f.Grid1, 1, 2);
    w.keys(f.Grid1, "12.5");
    EXPECT_EQ(f.Grid1.text(), "12.5");
    EXPECT_EQ(f.ws.ChangeWeight[1], Value("12.5"));
    EXPECT_EQ(f.ws.CellEditing, 1);
    EXPECT_EQ(w.messages(), 0u);

    w.enter(f.Grid1);
    EXPECT_EQ(f.Grid1.col(), 3);
    EXPECT_EQ(f.Grid1.rowText(1), "Seat\t\t12.50\t40.00\t500.0\t\t");
    EXPECT_EQ(f.ws.ChangeMoment[1], Value(500.0));
    EXPECT_EQ(f.ws.CellEditing, 0);
    EXPECT_EQ(f.Text23.text(), ".00");  // recalculated: the item carries no mark yet
    EXPECT_EQ(f.Grid1.rows(), 30);

    // Marking it installed counts it.
    w.cell(f.Grid1, 1, 5);
    w.keys(f.Grid1, "x");
    EXPECT_EQ(f.Text23.text(), "12.50");
    EXPECT_EQ(f.Text27.text(), "500.0");
}

TEST(GridEditing, EnterFromAnUntouchedWeightCellCommitsItsRow) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid1, 3, 2);
    w.enter(f.Grid1);
    EXPECT_EQ(f.Grid1.rowText(3), "\t\t\t\t.0\t\t");  // an empty weight stays empty
    EXPECT_EQ(f.ws.ChangeMoment[3], Value(0.0));
    EXPECT_EQ(f.Text23.text(), ".00");
}

TEST(GridEditing, BlankAndMinusPassAndReadAsZero) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid1, 1, 2);
    w.keys(f.Grid1, " ");
    EXPECT_EQ(f.Grid1.text(), " ");
    EXPECT_EQ(f.ws.ChangeWeight[1], Value(0.0));
    w.enter(f.Grid1);
    w.keys(f.Grid1, "-");
    EXPECT_EQ(f.ws.ChangeArm[1], Value("-"));
    w.enter(f.Grid1);
    EXPECT_EQ(f.Grid1.rowText(1), "\t\t0.00\t-\t.0\t\t");
    EXPECT_EQ(w.messages(), 0u);

    // In the equipment list the lone minus is redrawn by its value.
    w.entry(f.Grid3, 2, 2, "-");
    EXPECT_EQ(f.Grid3.rowText(2), "\t\t0.00\t0.00\t.0");
    w.entry(f.Grid3, 3, 2, "-5");
    EXPECT_EQ(f.Grid3.rowText(3), "\t\t-5.00\t0.00\t.0");
    EXPECT_EQ(w.messages(), 0u);
}

TEST(GridEditing, RefusedTextEmptiesCellAndEntry) {
    struct Case {
        const char* grid;
        int col;
        const char* keys;
        const char* left;  // cell text after the refusal and any later keys
    };
    const Case cases[] = {
        {"Grid1", 2, ".", ""},     {"Grid1", 3, "12a", ""},  {"Grid2", 1, ".", ""},
        {"Grid2", 3, "1.2.", ""},  {"Grid3", 2, "x", ""},    {"Grid4", 2, "--", ""},
        {"Grid1", 2, ".5", "5"},   // the next key starts the text anew: CellEditing stays 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " " + c.keys);
        Grids w;
        Grid& g = w.grid(c.grid);
        const GridTable& t = table(c.grid);
        w.cell(g, 1, c.col);
        w.keys(g, c.keys);
        EXPECT_EQ(g.text(), c.left);
        EXPECT_EQ(t.arrays(w.f().ws)[c.col][1], Value(c.left));
        ASSERT_EQ(w.messages(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, "Entry must be numeric");
        EXPECT_EQ(w.dialogs.shown[0].text, "Please re-enter value");
        EXPECT_EQ(w.dialogs.shown[0].style, 64);
    }
}

TEST(GridEditing, BackspacePaths) {
    Grids w;
    Form1& f = w.f();
    // Backspace on the only character of a number leaves an empty text: refused.
    w.cell(f.Grid1, 1, 2);
    w.keys(f.Grid1, "5");
    w.backspace(f.Grid1);
    EXPECT_EQ(f.Grid1.text(), "");
    EXPECT_EQ(w.lastTitle(), "Entry must be numeric");

    // Backspace as the first key shortens the text but starts no entry.
    f.ws.ChangeWeight[2] = "123";
    f.Grid1.setRowText(2, "\t\t123");
    w.cell(f.Grid1, 2, 2);
    w.backspace(f.Grid1);
    EXPECT_EQ(f.Grid1.text(), "12");
    EXPECT_EQ(f.ws.CellEditing, 0);
    w.keys(f.Grid1, "4");
    EXPECT_EQ(f.Grid1.text(), "4");

    // In a description Backspace shortens; on an empty one it does nothing.
    const size_t before = w.messages();
    w.cell(f.Grid1, 3, 0);
    w.keys(f.Grid1, "ab");
    w.backspace(f.Grid1);
    EXPECT_EQ(f.ws.ChangeDesc[3], Value("a"));
    w.backspace(f.Grid1);
    w.backspace(f.Grid1);
    EXPECT_EQ(f.Grid1.text(), "");
    EXPECT_EQ(f.ws.ChangeDesc[3], Value(""));
    EXPECT_EQ(w.messages(), before);
}

TEST(GridEditing, MarkTogglesAndRecalculatesOnEveryKey) {
    Grids w;
    Form1& f = w.f();
    w.entry(f.Grid1, 1, 2, "10");
    w.entry(f.Grid1, 1, 3, "50");
    w.cell(f.Grid1, 1, 6);
    const char* expected[] = {"X", "", "X"};
    const char* weights[] = {"-10.00", ".00", "-10.00"};
    for (int i = 0; i < 3; ++i) {
        w.keys(f.Grid1, "x");
        EXPECT_EQ(f.Grid1.text(), expected[i]) << i;
        EXPECT_EQ(f.ws.ChangeRemoved[1], Value(expected[i])) << i;
        EXPECT_EQ(f.Text23.text(), weights[i]) << i;
    }
    w.backspace(f.Grid1);
    EXPECT_EQ(f.Grid1.text(), "");
    EXPECT_EQ(f.Text23.text(), ".00");
    w.cell(f.Grid1, 1, 5);
    w.keys(f.Grid1, "Y");
    EXPECT_EQ(f.ws.ChangeInstalled[1], Value("X"));
    w.cell(f.Grid1, 2, 5);
    w.keys(f.Grid1, "n");
    EXPECT_EQ(f.Grid1.text(), "");
}

TEST(GridEditing, MomentColumnRefusesKeysAndClicks) {
    struct Case {
        const char* grid;
        int afterKey, afterClick;
    };
    const Case cases[] = {{"Grid1", 5, 5}, {"Grid2", 0, 3}, {"Grid3", 0, 3}, {"Grid4", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid);
        Grids w;
        Grid& g = w.grid(c.grid);
        const int moment = table(c.grid).momentCol();
        w.cell(g, 1, moment);
        EXPECT_EQ(g.col(), c.afterClick);
        ASSERT_EQ(w.messages(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, "This field not editable");
        EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to Continue");
        EXPECT_EQ(w.dialogs.shown[0].style, 64);

        g.setCol(moment);  // as a handler move leaves it
        g.setText("9.9");
        w.keys(g, "7");
        EXPECT_EQ(g.col(), c.afterKey);
        EXPECT_EQ(g.cell(1, moment), "9.9");
        EXPECT_EQ(w.messages(), 2u);
        EXPECT_EQ(w.lastTitle(), "This field not editable");
    }
}

TEST(GridEditing, EnterOrderLastRowAndFirstVisibleRow) {
    struct Case {
        const char* grid;
        int row, col;
        int toRow, toCol, topRow;  // topRow -1: left as the click put it
    };
    const Case cases[] = {
        {"Grid1", 0, 0, 0, 1, -1},   {"Grid1", 0, 2, 0, 3, -1},   {"Grid1", 0, 3, 0, 5, -1},
        {"Grid1", 0, 5, 0, 6, -1},
        {"Grid1", 3, 6, 4, 0, -1},   {"Grid1", 17, 6, 18, 0, 1},  {"Grid1", 29, 6, 29, 0, 12},
        {"Grid1", 20, 1, 20, 2, 3},
        {"Grid2", 0, 0, 0, 1, -1},   {"Grid2", 0, 3, 1, 1, -1},   {"Grid2", 4, 3, 4, 1, -1},
        {"Grid3", 7, 3, 8, 0, 4},    {"Grid3", 2, 3, 3, 0, -1},   {"Grid3", 99, 3, 99, 0, 95},
        {"Grid3", 1, 1, 1, 2, -1},
        {"Grid4", 0, 1, 0, 2, -1},   {"Grid4", 0, 2, 1, 1, -1},   {"Grid4", 4, 2, 4, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " " + std::to_string(c.row) + "," + std::to_string(c.col));
        Grids w;
        Grid& g = w.grid(c.grid);
        w.cell(g, c.row, c.col);
        const int top = g.topRow();
        w.enter(g);
        EXPECT_EQ(g.row(), c.toRow);
        EXPECT_EQ(g.col(), c.toCol);
        EXPECT_EQ(g.selStartCol(), c.toCol);
        EXPECT_EQ(g.selEndCol(), c.toCol);
        EXPECT_EQ(g.selStartRow(), c.toRow);
        EXPECT_EQ(g.topRow(), c.topRow < 0 ? top : c.topRow);
        EXPECT_EQ(g.rows(), table(c.grid).rows);
    }
}

TEST(GridEditing, EnterInTheMomentColumnDoesNothing) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid4, 2, 0);
    f.Grid4.setCol(3);  // a click would not leave it there
    w.enter(f.Grid4);
    EXPECT_EQ(f.Grid4.row(), 2);
    EXPECT_EQ(f.Grid4.col(), 3);
    EXPECT_EQ(w.messages(), 0u);
}

TEST(GridEditing, DeleteKeepsRowCountAndReadsTheGridBack) {
    Grids w;
    Form1& f = w.f();
    for (int r = 1; r <= 29; ++r) {
        f.Grid1.setRowText(r, "Item" + std::to_string(r) + "\t\t1\t10\t10.0\tX\t");
        f.ws.ChangeDesc[r] = "stale";  // the read-back replaces every entry
    }
    f.Text23.setText("");

    // Row 0 cannot be deleted.
    w.cell(f.Grid1, 0, 1);
    w.del(f.Grid1);
    EXPECT_EQ(f.ws.ChangeDesc[1], Value("stale"));
    EXPECT_EQ(f.Text23.text(), "");

    w.cell(f.Grid1, 5, 1);
    w.del(f.Grid1, keys::kCtrlMask);  // any shift state deletes
    EXPECT_EQ(f.Grid1.rows(), 30);
    EXPECT_EQ(f.Grid1.rowText(4), "Item4\t\t1\t10\t10.0\tX\t");
    EXPECT_EQ(f.Grid1.rowText(5), "Item6\t\t1\t10\t10.0\tX\t");
    EXPECT_EQ(f.Grid1.rowText(28), "Item29\t\t1\t10\t10.0\tX\t");
    EXPECT_EQ(f.Grid1.rowText(29), "\t\t\t\t\t\t");
    EXPECT_EQ(f.ws.ChangeDesc[5], Value("Item6"));
    EXPECT_EQ(f.ws.ChangeInstalled[28], Value("X"));
    EXPECT_EQ(f.ws.ChangeDesc[29], Value(""));
    EXPECT_EQ(f.ws.ChangeMoment[5], Value("10.0"));
    EXPECT_EQ(f.Grid1.row(), 29);
    EXPECT_EQ(f.Grid1.col(), 6);
    EXPECT_EQ(f.Text23.text(), "28.00");  // recalculated over the 28 items left
}

// Every edit the user makes in a cell of any grid marks the worksheet unsaved:
// a typed text, number or mark, a mark removed, a deleted row. Moving about,
// Enter on an untouched cell, a refused key in the Moment column and the
// program's own writes into the grid do not.
TEST(GridEditing, EveryUserEditOfACellMarksTheWorksheetUnsaved) {
    for (const GridTable& t : kGridTables) {
        Grids w;
        Form1& f = w.f();
        Grid& g = w.grid(t.name);
        struct Step {
            const char* what;
            std::function<void()> act;
            bool edits;
        };
        const int weight = t.colOf(ColumnKind::Weight);
        std::vector<Step> steps = {
            {"click", [&] { w.cell(g, 1, 0); }, false},
            {"description", [&] { w.keys(g, "Seat"); }, true},
            {"enter", [&] { w.enter(g); }, false},
            {"weight", [&] { w.cell(g, 1, weight); w.keys(g, "12"); }, true},
            {"commit", [&] { w.enter(g); }, false},
            {"backspace", [&] { w.cell(g, 1, weight); w.backspace(g); }, true},
            {"moment", [&] { f.dispatch([&] { g.setCol(t.momentCol()); }); w.keys(g, "5"); }, false},
            {"program", [&] { g.setRowText(2, "Old\t\t1\t2"); }, false},
            {"delete", [&] { w.cell(g, 2, 0); w.del(g); }, true},
        };
        if (t.colOf(ColumnKind::Mark) >= 0) {
            steps.push_back({"mark", [&] { w.cell(g, 3, 5); w.keys(g, "x"); }, true});
            steps.push_back({"mark removed", [&] { w.cell(g, 3, 5); w.backspace(g); }, true});
            steps.push_back({"removed mark", [&] { w.cell(g, 3, 6); w.keys(g, "y"); }, true});
        }
        for (const Step& step : steps) {
            f.ws.SavedState = 1;
            step.act();
            EXPECT_EQ(f.ws.SavedState, step.edits ? 0 : 1) << t.name << " " << step.what;
        }
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    }
}

TEST(GridEditing, DeleteDropsThePendingEntryOfTheDeletedRow) {
    Grids w;
    Form1& f = w.f();
    f.Grid1.setRowText(2, "Old\t\t1.00\t2.00\t2.0\t\t");
    f.Grid1.setRowText(3, "Next\t\t3.00\t4.00\t12.0\t\t");
    w.cell(f.Grid1, 2, 2);
    w.keys(f.Grid1, "7");
    w.del(f.Grid1);
    EXPECT_EQ(f.Grid1.rowText(2), "Next\t\t3.00\t4.00\t12.0\t\t");
    EXPECT_EQ(f.ws.ChangeWeight[2], Value("3.00"));
    EXPECT_EQ(f.ws.CellEditing, 0);
}

TEST(GridEditing, DeleteInFluidsLeavesTotalsUntilTheNextRecalculation) {
    Grids w;
    Form1& f = w.f();
    w.entry(f.Grid2, 0, 2, "1000");
    w.entry(f.Grid2, 0, 3, "100");
    w.entry(f.Grid4, 1, 1, "50");
    w.entry(f.Grid4, 1, 2, "10");
    w.entry(f.Grid4, 2, 1, "20");
    w.entry(f.Grid4, 2, 2, "30");
    EXPECT_EQ(f.Text23.text(), "930.00");

    w.cell(f.Grid4, 1, 0);
    w.del(f.Grid4);
    EXPECT_EQ(f.Grid4.rows(), 5);
    EXPECT_EQ(f.Grid4.rowText(1), "\t20.00\t30.00\t600.0");
    EXPECT_EQ(f.Grid4.rowText(4), "\t\t\t");
    EXPECT_EQ(f.ws.FluidWeight[1], Value("20.00"));
    EXPECT_EQ(f.ws.FluidDesc[0], Value("Forward Tanks"));
    EXPECT_EQ(f.ws.FluidDesc[1], Value(""));  // "Aft Tanks" went with its row
    EXPECT_EQ(f.Text23.text(), "930.00");
    EXPECT_EQ(f.ws.NewEmptyWeight, 930.0f);

    // The next commit recalculates; an entry in row 1 changes the moved fluid.
    w.entry(f.Grid4, 1, 1, "25");
    EXPECT_EQ(f.ws.FluidWeight[1], Value("25"));
    EXPECT_EQ(f.Text23.text(), "975.00");
}

TEST(GridEditing, DeleteInWeighingPointsAnyRowNoRecalculation) {
    Grids w;
    Form1& f = w.f();
    w.entry(f.Grid2, 0, 2, "500");
    w.entry(f.Grid2, 0, 3, "10");
    const std::string total = f.Text23.text();
    w.cell(f.Grid2, 0, 0);
    w.del(f.Grid2);
    EXPECT_EQ(f.Grid2.rows(), 5);
    EXPECT_EQ(f.Grid2.rowText(0), "Left Main\t\t\t\t");
    EXPECT_EQ(f.ws.JackWeight[0], Value(""));
    EXPECT_EQ(f.ws.JackDesc[2], Value(""));
    EXPECT_EQ(f.Text23.text(), total);
}

TEST(GridEditing, TareAloneChangesNothingUntilAWeightOrArmCommits) {
    Grids w;
    Form1& f = w.f();
    w.entry(f.Grid2, 0, 2, "600");
    w.entry(f.Grid2, 0, 3, "50");
    EXPECT_EQ(f.Text23.text(), "600.00");
    w.cell(f.Grid2, 0, 1);
    w.keys(f.Grid2, " ");
    EXPECT_EQ(f.ws.JackTare[0], Value(0.0));
    w.enter(f.Grid2);
    w.cell(f.Grid2, 1, 1);
    w.keys(f.Grid2, "5");
    w.enter(f.Grid2);
    EXPECT_EQ(f.Grid2.rowText(0), "Right Main\t \t600.00\t50.00\t30000.0");
    EXPECT_EQ(f.Text23.text(), "600.00");

    w.cell(f.Grid2, 0, 1);
    w.keys(f.Grid2, "10");
    w.enter(f.Grid2);
    EXPECT_EQ(f.Text23.text(), "600.00");
    w.enter(f.Grid2);  // leaving the weight cell commits the row
    EXPECT_EQ(f.Grid2.rowText(0), "Right Main\t10\t600.00\t50.00\t29500.0");
    EXPECT_EQ(f.ws.JackMoment[0], Value(29500.0));
    EXPECT_EQ(f.Text23.text(), "585.00");  // 600 - 10 on row 0, 0 - 5 on row 1
}

TEST(GridEditing, BlankTareShowsZeroAfterTheRowCommits) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid2, 2, 1);
    w.keys(f.Grid2, " ");
    w.enter(f.Grid2);
    w.keys(f.Grid2, "300");
    w.enter(f.Grid2);
    EXPECT_EQ(f.Grid2.rowText(2), "Nose\t0\t300.00\t\t.0");
}

TEST(GridEditing, EquipmentListNeverRecalculates) {
    Grids w;
    Form1& f = w.f();
    f.Text23.setText("kept");
    w.entry(f.Grid3, 0, 0, "Radio");
    w.entry(f.Grid3, 0, 2, "3");
    w.keys(f.Grid3, "20");
    w.enter(f.Grid3);
    EXPECT_EQ(f.Grid3.rowText(0), "Radio\t\t3.00\t20.00\t60.0");
    EXPECT_EQ(f.ws.ListMoment[0], Value(60.0));
    w.cell(f.Grid3, 0, 0);
    w.del(f.Grid3);
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_EQ(f.ws.ListDesc[0], Value(""));
    w.cell(f.Grid3, 99, 3);
    w.keys(f.Grid3, "1");
    w.enter(f.Grid3);
    EXPECT_EQ(f.Grid3.rowText(99), "\t\t0.00\t1.00\t.0");
    EXPECT_EQ(f.Grid3.rows(), 100);
    EXPECT_EQ(f.Text23.text(), "kept");
}

TEST(GridEditing, CommitOfTheLastRowKeepsTheCursorAndRowCount) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid1, 29, 2);
    w.keys(f.Grid1, "4");
    w.enter(f.Grid1);
    EXPECT_EQ(f.Grid1.rowText(29), "\t\t4.00\t\t.0\t\t");
    EXPECT_EQ(f.Grid1.row(), 29);
    EXPECT_EQ(f.Grid1.col(), 3);
    EXPECT_EQ(f.Grid1.rows(), 30);
}

TEST(GridEditing, LostFocusParksOnRowZeroAndCommits) {
    struct Case {
        const char* grid;
        int col;
    };
    for (const Case c : {Case{"Grid1", 1}, Case{"Grid2", 1}, Case{"Grid3", 0}, Case{"Grid4", 1}}) {
        SCOPED_TRACE(c.grid);
        Grids w;
        Grid& g = w.grid(c.grid);
        const GridTable& t = table(c.grid);
        const int weight = t.colOf(ColumnKind::Weight);
        w.cell(g, 3, weight);
        w.keys(g, "2");
        w.form->userFocus(w.f().Text1);
        EXPECT_EQ(g.row(), 0);
        EXPECT_EQ(g.col(), weight);
        EXPECT_EQ(g.selStartRow(), 0);
        EXPECT_EQ(g.selEndRow(), 0);
        EXPECT_EQ(g.selStartCol(), c.col);
        EXPECT_EQ(g.selEndCol(), c.col);
        EXPECT_EQ(g.cell(3, weight), "2.00");  // committed by the move to row 0
        EXPECT_EQ(w.f().ws.CellEditing, 0);
    }
}

TEST(GridEditing, AnEntryLeftOpenOnRowZeroMakesTheNextGridAppend) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid2, 0, 0);
    w.cell(f.Grid4, 0, 0);
    w.keys(f.Grid4, "X");
    w.form->userFocus(f.Grid2);  // Grid4 already stands on row 0: no cell change
    EXPECT_EQ(f.ws.CellEditing, 1);
    w.keys(f.Grid2, "s");
    EXPECT_EQ(f.Grid2.text(), "Right Mains");
    EXPECT_EQ(f.ws.JackDesc[0], Value("Right Mains"));
}

// An entry still pending (typed, not yet committed) when the worksheet is
// cleared must not be drawn back into the emptied grid.
TEST(GridEditing, ClearingDropsAPendingEntry) {
    Grids w;
    Grid& g = w.grid("Grid2");
    w.cell(g, 1, 2);
    w.keys(g, "512");
    w.f().ClearWorksheet();
    EXPECT_EQ(g.cell(1, 2), "");
    EXPECT_EQ(w.f().ws.JackWeight[1].toText(), "");
    EXPECT_EQ(g.cell(1, 0), "Left Main");
    EXPECT_EQ(w.f().ws.CellEditing, 0);
}

TEST(GridEditing, ANumberBeyondAStoredSingleIsRefusedAtTheCheck) {
    Grids w;
    Form1& f = w.f();
    w.cell(f.Grid1, 1, 2);
    w.keys(f.Grid1, std::string(38, '9'));
    EXPECT_EQ(w.messages(), 0u);
    w.keys(f.Grid1, "9");
    ASSERT_EQ(w.messages(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Number out of range");
    EXPECT_EQ(w.dialogs.shown[0].text, "Please re-enter value");
    EXPECT_EQ(w.dialogs.shown[0].style, 64);
    EXPECT_EQ(f.Grid1.text(), "");
    EXPECT_EQ(f.ws.ChangeWeight[1], Value(""));
    w.keys(f.Grid1, "5");  // the next key starts the entry again
    w.enter(f.Grid1);
    EXPECT_EQ(f.Grid1.cell(1, 2), "5.00");
}

// Control characters, TAB (the field separator) among them, type nothing in
// any column; Backspace and Enter keep their work.
TEST(GridEditing, ControlCharactersTypeNothing) {
    struct Case {
        const char* grid;
        int col;
        const char* typed;
    };
    const Case cases[] = {{"Grid1", 0, "Seat"}, {"Grid1", 2, "12"}, {"Grid1", 5, "x"},
                          {"Grid2", 1, "5"},    {"Grid3", 1, "S1"}, {"Grid4", 0, "Oil"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " column " + std::to_string(c.col));
        Grids w;
        Grid& g = w.grid(c.grid);
        w.cell(g, 1, c.col);
        w.keys(g, c.typed);
        const std::string before = g.text();
        const Value entry = table(c.grid).arrays(w.f().ws)[c.col][1];
        for (int key : {9, 0, 27, 127, 10, 1, 22, 0x85, 0x9F}) w.form->userKeyPress(g, key);
        EXPECT_EQ(g.text(), before);
        EXPECT_EQ(g.rowText(1).find('\t', 0), g.rowText(1).find('\t'));
        EXPECT_EQ(table(c.grid).arrays(w.f().ws)[c.col][1], entry);
        EXPECT_EQ(w.messages(), 0u);
        EXPECT_EQ(g.col(), c.col);
    }
    Grids w;
    w.cell(w.f().Grid1, 1, 0);
    w.keys(w.f().Grid1, "ab");
    w.backspace(w.f().Grid1);
    EXPECT_EQ(w.f().Grid1.text(), "a");
    w.enter(w.f().Grid1);
    EXPECT_EQ(w.f().Grid1.col(), 1);
}

// ---- The clipboard --------------------------------------------------------------

struct Clipboards : Grids {
    Clipboards() {
        // Row 0 as the previous-empty row, with its "//////" marks.
        f().Grid1.setRowText(0, "Previous A/C Empty\t\t1000.0\t50.00\t50000.0\t//////\t//////");
        f().Text27.observe([this] { ++recalcs; });
    }
    void paste(Grid& g, const std::string& text) {
        form->clipboard().setText(text);
        form->userKeyDown(g, 'V', keys::kCtrlMask);
    }
    void chord(Grid& g, int key, int shift) { form->userKeyDown(g, key, shift); }
    std::string states(const Grid& g) const {
        std::string s;
        for (EditCommand c : {EditCommand::Undo, EditCommand::Cut, EditCommand::Copy, EditCommand::Paste,
                              EditCommand::Delete, EditCommand::SelectAll})
            s += g.commandEnabled(c) ? '1' : '0';
        return s;
    }
    int recalcs = 0;  // Text27 is written once by every recalculation
};

// A paste goes through the column's checks as one entry: it replaces the cell
// when its entry has not started and is appended to a started one; what the
// checks would refuse is refused whole, with the notice, and changes nothing.
TEST(GridClipboard, APasteIsOneEntryThroughTheCellsChecks) {
    const std::string long26 = "Twenty-six characters long", exactly25 = "Exactly twenty-five chars";
    struct Case {
        const char* grid;
        int row, col;
        const char* typedFirst;  // keys typed before the paste ("": the entry has not started)
        std::string clip;
        std::string cell;        // the cell afterwards
        std::string entry;       // its entry's text afterwards
        const char* title;       // the notice ("": none)
    };
    const Case cases[] = {
        {"Grid1", 1, 0, "", "Seat belt", "Seat belt", "Seat belt", ""},
        {"Grid1", 1, 0, "Seat", " belt\r\nmore", "Seat belt", "Seat belt", ""},
        {"Grid1", 1, 0, "", exactly25, exactly25, exactly25, ""},
        {"Grid1", 1, 0, "", long26, "", "", "Too many characters"},
        {"Grid1", 1, 0, "Exactly twenty-five char", "ss", "Exactly twenty-five char", "Exactly twenty-five char",
         "Too many characters"},
        {"Grid3", 2, 0, "", long26, "", "", "Too many characters"},
        {"Grid2", 1, 0, "", long26 + " and more", long26 + " and more", long26 + " and more", ""},
        {"Grid1", 1, 1, "", long26, long26, long26, ""},  // a serial has no limit
        {"Grid1", 0, 0, "", "Previous", "Previous", "Previous", ""},    // row 0 takes typing and pastes
        {"Grid1", 1, 2, "", "12.5", "12.5", "12.5", ""},
        {"Grid1", 1, 2, "1", "2.5", "12.5", "12.5", ""},
        {"Grid1", 1, 2, "", "12\t34", "12", "12", ""},
        {"Grid1", 1, 2, "7", "abc", "7", "7", "Entry must be numeric"},
        {"Grid1", 1, 2, "7", ".5", "7.5", "7.5", ""},
        {"Grid1", 1, 2, "", "1,850", "", "", "Entry must be numeric"},
        {"Grid1", 1, 3, "", std::string(39, '9'), "", "", "Number out of range"},
        {"Grid4", 1, 1, "", "-", "-", "-", ""},
        {"Grid2", 1, 1, "", " ", " ", "0", ""},
        {"Grid1", 1, 5, "", "x", "X", "X", ""},
        {"Grid1", 1, 6, "", "xyz", "", "", ""},
        {"Grid1", 1, 4, "", "5", ".0", "", "This field not editable"},
        {"Grid4", 1, 3, "", "5", "", "", "This field not editable"},
        {"Grid1", 0, 5, "", "x", "//////", "", "This field not editable"},
        {"Grid1", 0, 6, "", "", "//////", "", ""},  // nothing to paste: nothing at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " " + std::to_string(c.row) + "," + std::to_string(c.col) + " \"" +
                     c.clip.substr(0, 40) + "\"");
        Clipboards w;
        Grid& g = w.grid(c.grid);
        if (c.col == table(c.grid).momentCol()) g.setRowText(c.row, std::string(c.col, '\t') + (c.grid == std::string("Grid1") ? ".0" : ""));
        w.cell(g, c.row, c.col == table(c.grid).momentCol() ? 0 : c.col);
        g.setCol(c.col);  // a click on the Moment column would move on
        w.keys(g, c.typedFirst);
        w.f().ws.SavedState = 1;
        const size_t before = w.messages();
        w.paste(g, c.clip);
        // An edit marks the worksheet unsaved; a refused paste changes nothing.
        EXPECT_EQ(w.f().ws.SavedState, *c.title || c.clip.empty() ? 1 : 0);
        EXPECT_EQ(g.text(), c.cell);
        EXPECT_EQ(table(c.grid).arrays(w.f().ws)[c.col][c.row].displayText(), c.entry);
        if (*c.title) {
            ASSERT_EQ(w.messages(), before + 1);
            EXPECT_EQ(w.lastTitle(), c.title);
            EXPECT_EQ(w.dialogs.shown.back().style, 64);
        } else {
            EXPECT_EQ(w.messages(), before);
        }
        EXPECT_EQ(g.col(), c.col);  // a refusal leaves the cursor where it is
        EXPECT_EQ(w.form->clipboard().text(), c.clip);
    }
}

// A pasted weight commits when the cell is left, with one recalculation; a
// pasted mark recalculates at once, once.
TEST(GridClipboard, APastedWeightCommitsLikeATypedOneAndRecalculatesOnce) {
    Clipboards w;
    Form1& f = w.f();
    w.entry(f.Grid1, 1, 0, "Seat");
    w.entry(f.Grid1, 1, 3, "40");
    w.cell(f.Grid1, 1, 5);
    w.recalcs = 0;
    w.paste(f.Grid1, "x");
    EXPECT_EQ(w.recalcs, 1);
    EXPECT_EQ(f.ws.ChangeInstalled[1], Value("X"));

    w.cell(f.Grid1, 1, 2);
    w.recalcs = 0;
    w.paste(f.Grid1, "12.5");
    EXPECT_EQ(w.recalcs, 0);
    EXPECT_EQ(f.ws.CellEditing, 1);
    w.enter(f.Grid1);
    EXPECT_EQ(w.recalcs, 1);
    EXPECT_EQ(f.Grid1.rowText(1), "Seat\t\t12.50\t40.00\t500.0\tX\t");
    EXPECT_EQ(f.ws.ChangeMoment[1], Value(500.0));
    EXPECT_EQ(f.Text23.text(), "12.50");
    EXPECT_EQ(f.Text27.text(), "500.0");

    // The same with a weighing point, less its tare.
    w.cell(f.Grid2, 0, 1);
    w.paste(f.Grid2, "5");
    w.cell(f.Grid2, 0, 2);
    w.paste(f.Grid2, "605");
    w.cell(f.Grid2, 0, 3);
    w.recalcs = 0;
    w.paste(f.Grid2, "50");
    w.cell(f.Grid2, 1, 3);
    EXPECT_EQ(w.recalcs, 1);
    EXPECT_EQ(f.Grid2.rowText(0), "Right Main\t5\t605.00\t50.00\t30000.0");
    EXPECT_EQ(w.messages(), 0u);
}

// Ctrl+C and Ctrl+Insert copy any cell; Ctrl+X cuts where the cell takes
// edits (the entry is emptied, a number without the numeric notice) and is
// refused on the Moment column and row 0's marks, leaving the clipboard as it
// was. Shift+Delete stays the row deletion.
TEST(GridClipboard, CopyAndCut) {
    Clipboards w;
    Form1& f = w.f();
    w.entry(f.Grid1, 1, 0, "Seat");
    w.entry(f.Grid1, 1, 2, "12.5");
    w.entry(f.Grid1, 1, 3, "40");
    w.entry(f.Grid1, 1, 5, "x");
    w.entry(f.Grid1, 2, 0, "Radio");
    const int ctrl = keys::kCtrlMask, shift = keys::kShiftMask;

    w.cell(f.Grid1, 1, 3);
    f.Grid1.setCol(4);
    w.chord(f.Grid1, 'C', ctrl);
    EXPECT_EQ(w.form->clipboard().text(), "500.0");
    f.Grid1.setCol(0);
    w.chord(f.Grid1, keys::kInsert, ctrl);
    EXPECT_EQ(w.form->clipboard().text(), "Seat");
    EXPECT_EQ(f.Grid1.text(), "Seat");

    // Refused: the Moment column and row 0's marks.
    f.ws.SavedState = 1;
    f.Grid1.setCol(4);
    w.chord(f.Grid1, 'X', ctrl);
    EXPECT_EQ(w.lastTitle(), "This field not editable");
    EXPECT_EQ(f.Grid1.text(), "500.0");
    w.cell(f.Grid1, 0, 6);
    w.chord(f.Grid1, 'X', ctrl);
    EXPECT_EQ(w.messages(), 2u);
    EXPECT_EQ(f.Grid1.text(), "//////");
    EXPECT_EQ(w.form->clipboard().text(), "Seat");

    EXPECT_EQ(f.ws.SavedState, 1) << "a refused cut changes nothing";

    // The weight: cut, no notice; leaving commits the emptied row.
    w.cell(f.Grid1, 1, 2);
    w.recalcs = 0;
    w.chord(f.Grid1, 'X', ctrl);
    EXPECT_EQ(f.ws.SavedState, 0);
    EXPECT_EQ(w.form->clipboard().text(), "12.50");
    EXPECT_EQ(f.Grid1.text(), "");
    EXPECT_EQ(f.ws.ChangeWeight[1], Value(""));
    EXPECT_EQ(f.Grid1.rowText(2), "Radio\t\t\t\t\t\t");  // no row was deleted
    w.enter(f.Grid1);
    EXPECT_EQ(w.recalcs, 1);
    EXPECT_EQ(f.Grid1.rowText(1), "Seat\t\t\t40.00\t.0\tX\t");
    EXPECT_EQ(f.Text23.text(), ".00");
    EXPECT_EQ(w.messages(), 2u);

    // The mark: cut recalculates at once; the description: its entry empties.
    w.cell(f.Grid1, 1, 5);
    w.recalcs = 0;
    w.chord(f.Grid1, 'X', ctrl);
    EXPECT_EQ(w.recalcs, 1);
    EXPECT_EQ(f.ws.ChangeInstalled[1], Value(""));
    EXPECT_EQ(w.form->clipboard().text(), "X");
    w.cell(f.Grid1, 2, 0);
    f.Grid1.userCommand(EditCommand::Delete);  // the menu's Delete: no clipboard
    EXPECT_EQ(f.ws.ChangeDesc[2], Value(""));
    EXPECT_EQ(w.form->clipboard().text(), "X");
    // And the cut text pastes back.
    w.chord(f.Grid1, keys::kInsert, shift);
    EXPECT_EQ(f.ws.ChangeDesc[2], Value("X"));
    EXPECT_EQ(w.messages(), 2u);
}

// The context menu offers what the keys do: Copy on any cell with text; Cut,
// Paste and Delete only where the cell takes edits; never Undo or Select All.
TEST(GridClipboard, TheMenuEnablesWhatTheCellTakes) {
    Clipboards w;
    Form1& f = w.f();
    w.entry(f.Grid1, 1, 2, "12.5");
    w.form->clipboard().setText("7");
    w.cell(f.Grid1, 1, 2);
    EXPECT_EQ(w.states(f.Grid1), "011110");
    f.Grid1.setCol(4);
    EXPECT_EQ(w.states(f.Grid1), "001000");
    w.cell(f.Grid1, 0, 5);
    EXPECT_EQ(w.states(f.Grid1), "001000");
    w.cell(f.Grid1, 0, 2);
    EXPECT_EQ(w.states(f.Grid1), "011110");
    w.cell(f.Grid1, 5, 0);
    EXPECT_EQ(w.states(f.Grid1), "000100");
    w.form->clipboard().setText("\n");
    EXPECT_EQ(w.states(f.Grid1), "000000");
    // With the main data panel disabled (the CG panel open), the change list
    // offers Copy only.
    w.cell(f.Grid1, 1, 2);
    w.form->clipboard().setText("7");
    f.Panel3D1.setEnabled(false);
    EXPECT_EQ(w.states(f.Grid1), "001000");
}

}  // namespace
}  // namespace wb
