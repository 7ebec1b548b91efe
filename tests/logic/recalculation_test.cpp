// RecalcWeightAndBalance and the previous-empty row builders on the main window:
// what they write into the boxes, the change list and the arrays, typed as a
// user would. The arithmetic itself is tested in recalculation_math_test.cpp.
#include <gtest/gtest.h>

#include "logic/main_window_fixture.h"
#include "platform/numbers.h"
#include "worksheet/recalculation_math.h"

namespace wb {
namespace {

using testing::MainWindowFixture;

struct Worksheet : MainWindowFixture {
    Worksheet() { f().Panel3D6.setVisible(true); }  // Grid2 and Grid4 sit on the CG panel
    void box(TextBox& t, const std::string& text) {
        type(t, text);
        enter(t);  // leaves the box
    }
    // Types into a grid cell reached by a click and leaves it by Enter.
    void entry(Grid& g, int r, int c, const std::string& text) {
        form->userCellClick(g, r, c);
        for (unsigned char ch : text) form->userKeyPress(g, ch);
        form->userKeyPress(g, 13);
    }
    // Serial N1, previous empty 1500 at 80, typed and left box by box.
    void typePreviousEmpty() {
        box(f().Text2, "N1");
        f().Text9.SetFocus();
        box(f().Text9, "1500");
        box(f().Text10, "80");
    }
    void mark(Grid& g, int r, int c) {
        form->userCellClick(g, r, c);
        form->userKeyPress(g, 'x');
    }
};

const std::string kRow0 = "Previous A/C Empty\tN1\t1500.0\t80.00\t120000.0\t//////\t//////";

TEST(RecalcHandlers, WorkedExampleTypedThroughBoxesAndGrid) {
    Worksheet w;
    Form1& f = w.f();
    w.typePreviousEmpty();
    EXPECT_EQ(f.Grid1.rowText(0), kRow0);
    EXPECT_EQ(f.ws.ChangeWeight[0], Value("1500"));
    EXPECT_EQ(f.ws.ChangeArm[0], Value("80"));
    EXPECT_EQ(f.ws.ChangeMoment[0], Value(120000.0));
    EXPECT_EQ(f.Text23.text(), "1500.00");

    w.entry(f.Grid1, 1, 2, "10");
    w.entry(f.Grid1, 1, 3, "50");
    w.mark(f.Grid1, 1, 5);
    w.entry(f.Grid1, 2, 2, "5");
    w.entry(f.Grid1, 2, 3, "100");
    w.mark(f.Grid1, 2, 6);
    EXPECT_EQ(f.Text23.text(), "1505.00");
    EXPECT_EQ(f.Text24.text(), "79.73");
    EXPECT_EQ(f.Text27.text(), "120000.0");
    EXPECT_EQ(f.ws.NewEmptyWeight, 1505.0f);
    EXPECT_EQ(f.ws.NewEmptyCG, static_cast<float>(120000.0 / 1505.0));
    // No weighing: the boxes and row 0 stay as typed.
    EXPECT_EQ(f.Text9.text(), "1500");
    EXPECT_EQ(f.Text10.text(), "80");
    EXPECT_EQ(f.Grid1.rowText(0), kRow0);
}

TEST(RecalcHandlers, ThreePointWeighingWithFluidsReplacesThePreviousEmpty) {
    Worksheet w;
    Form1& f = w.f();
    f.Text2.setText("N1");
    f.Text9.setText("1500");
    f.Text10.setText("80");
    f.Text10.SetFocus();
    f.userFocus(f.Text11);  // builds row 0 from the boxes
    ASSERT_EQ(f.Grid1.rowText(0), kRow0);

    w.entry(f.Grid1, 1, 2, "10");
    w.entry(f.Grid1, 1, 3, "100");
    w.mark(f.Grid1, 1, 5);
    EXPECT_EQ(f.Text23.text(), "1510.00");

    w.entry(f.Grid2, 0, 2, "600");
    w.entry(f.Grid2, 0, 3, "60");
    w.entry(f.Grid2, 1, 2, "610");
    w.entry(f.Grid2, 1, 3, "60");
    w.entry(f.Grid2, 2, 1, "5");
    w.entry(f.Grid2, 2, 2, "300");
    w.entry(f.Grid2, 2, 3, "10");
    w.entry(f.Grid4, 0, 1, "30");
    w.entry(f.Grid4, 0, 2, "50");
    // 600 + 610 + (300 - 5) - 30 = 1475; 36000 + 36600 + 2950 - 1500 = 74050.
    EXPECT_EQ(f.ws.WeighedWeight, 1475.0f);
    EXPECT_EQ(f.ws.WeighedMoment, 74050.0f);
    EXPECT_EQ(f.Text9.text(), "1475.00");
    EXPECT_EQ(f.Text10.text(), "50.20");
    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\tN1\t1475.00\t50.20\t74050.0\t//////\t//////");
    EXPECT_EQ(f.ws.ChangeWeight[0].toNumber(), 1475.0);
    EXPECT_EQ(f.Grid1.rowText(1), "\t\t10.00\t100.00\t1000.0\tX\t");
    // The new values follow the weighing and the installed item.
    EXPECT_EQ(f.Text23.text(), "1485.00");
    EXPECT_EQ(f.Text24.text(), "50.54");
    EXPECT_EQ(f.Text27.text(), "75050.0");
    EXPECT_EQ(f.Grid1.rows(), 30);

    // A value typed into the previous empty weight is overwritten at once.
    f.Text9.SetFocus();
    f.Text9.setText("");
    w.box(f.Text9, "2000");
    EXPECT_EQ(f.Text9.text(), "1475.00");
    EXPECT_EQ(f.Text23.text(), "1485.00");
}

// A change row whose moment is beyond a single: the recalculation says so,
// naming the list and row; the result boxes show no figure; correcting the
// row brings the figures back.
TEST(RecalcHandlers, AnOverflowIsReportedAndShowsNoFigureUntilTheRowIsCorrected) {
    Worksheet w;
    Form1& f = w.f();
    w.typePreviousEmpty();
    ASSERT_EQ(f.Text23.text(), "1500.00");
    w.entry(f.Grid1, 1, 2, "5000000000000000000");
    w.entry(f.Grid1, 1, 3, "90000000000000000000");
    w.dialogs.shown.clear();
    w.mark(f.Grid1, 1, 5);

    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Totals too large: change list, row 2");
    EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue");
    EXPECT_EQ(w.dialogs.shown[0].style, msgbox::kInformation);
    EXPECT_EQ(f.Text23.text() + f.Text24.text() + f.Text27.text(), "");
    EXPECT_EQ(f.ws.NewEmptyWeight, 0);
    EXPECT_EQ(f.Grid1.rowText(0), kRow0);  // the previous empty figures are the user's, not results
    EXPECT_EQ(f.Text9.text(), "1500");
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();

    w.entry(f.Grid1, 1, 3, "10");  // the moment fits now, the weight not its box
    EXPECT_EQ(w.dialogs.shown.back().title, "Totals too large: new empty weight");
    EXPECT_EQ(f.Text23.text(), "");
    w.entry(f.Grid1, 1, 2, "10");
    EXPECT_EQ(f.Text23.text(), "1510.00");
    EXPECT_EQ(f.Text24.text(), "79.54");
    EXPECT_EQ(f.Text27.text(), "120100.0");
    EXPECT_EQ(w.dialogs.shown.size(), 2u);
}

// A weighing that overflows shows none of the weighing's figures: the
// previous empty boxes and row 0, which a weighing replaces, are empty too.
TEST(RecalcHandlers, AWeighingThatOverflowsShowsNoWeighedFigure) {
    Worksheet w;
    Form1& f = w.f();
    w.entry(f.Grid2, 0, 2, "600");
    w.entry(f.Grid2, 0, 3, "60");
    ASSERT_EQ(f.Text9.text(), "600.00");
    ASSERT_EQ(f.Text23.text(), "600.00");
    w.dialogs.shown.clear();
    w.entry(f.Grid2, 1, 3, "1000000000000000000000");
    w.entry(f.Grid2, 1, 2, "1000000000000000000000");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Totals too large: weighing points, row 2");
    EXPECT_EQ(f.Text9.text() + f.Text10.text(), "");
    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\t\t\t\t\t//////\t//////");
    EXPECT_EQ(f.ws.ChangeWeight[0], Value(""));
    EXPECT_EQ(f.Text23.text() + f.Text24.text() + f.Text27.text(), "");
    EXPECT_EQ(f.ws.WeighedWeight, 0);

    w.entry(f.Grid2, 1, 3, "0");  // the moment is back in range; the weight is too long for its box
    ASSERT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_EQ(w.dialogs.shown[1].title, "Totals too large: weighed weight");
    EXPECT_EQ(f.Text9.text(), "");
    w.entry(f.Grid2, 1, 3, "60");
    w.entry(f.Grid2, 1, 2, "610");
    EXPECT_EQ(f.Text9.text(), "1210.00");
    EXPECT_EQ(f.Grid1.cell(0, 2), "1210.00");
    EXPECT_EQ(f.Text23.text(), "1210.00");
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
}

// Leaving the previous empty boxes with a figure no number can hold is
// reported like any overflow, not left to fail unseen.
TEST(RecalcHandlers, LeavingABoxWithAFigureBeyondRangeIsReported) {
    Worksheet w;
    Form1& f = w.f();
    f.Text10.setText("80");
    f.Text9.SetFocus();
    w.box(f.Text9, "1e999");
    EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Totals too large: change list, row 1");
    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\t\t\t80.00\t\t//////\t//////");
    EXPECT_EQ(f.Text23.text(), "");
}

// Leaving the previous empty boxes marks the worksheet unsaved when it changes
// what Save would store of the change list, and only then.
TEST(RecalcHandlers, LeavingTheBoxesMarksUnsavedOnlyWhenTheChangeListChanges) {
    Worksheet w;
    Form1& f = w.f();
    f.Text9.setText("1500");
    f.Text10.SetFocus();
    w.box(f.Text10, "80");
    f.ws.SavedState = 1;
    f.Text9.SetFocus();
    f.userFocus(f.Text10);  // the same row again
    EXPECT_EQ(f.ws.SavedState, 1);
    f.ws.ChangeDesc[0] = "Radio";  // an item in row 0: the rows move down
    f.ws.ChangeInstalled[0] = "X";
    f.userFocus(f.Text11);
    EXPECT_EQ(f.ws.ChangeDesc[1], Value("Radio"));
    EXPECT_EQ(f.ws.SavedState, 0);
}

TEST(RecalcHandlers, AllZeroArmWeighingLeavesBoxesAndRowZeroAlone) {
    Worksheet w;
    Form1& f = w.f();
    f.Text9.setText("1500");
    f.Text10.SetFocus();
    w.box(f.Text10, "80");
    const std::string row0 = f.Grid1.rowText(0);

    w.entry(f.Grid2, 0, 2, "600");
    w.entry(f.Grid2, 0, 3, "0");
    w.entry(f.Grid2, 1, 2, "610");
    w.entry(f.Grid2, 2, 2, "300");
    EXPECT_EQ(f.ws.WeighedWeight, 1510.0f);
    EXPECT_EQ(f.ws.WeighedCG, 0.0f);
    EXPECT_EQ(f.Text9.text(), "1500");
    EXPECT_EQ(f.Text10.text(), "80");
    EXPECT_EQ(f.Grid1.rowText(0), row0);
    EXPECT_EQ(f.Text23.text(), "1500.00");
    EXPECT_EQ(f.Text24.text(), "80.00");
}

TEST(RecalcHandlers, LeavingAnEmptyBoxDoesNothing) {
    Worksheet w;
    Form1& f = w.f();
    f.Grid1.setRowText(0, "Previous A/C Empty\t\t1.0\t2.00\t2.0\t//////\t//////");
    f.Text10.setText("80");
    f.Text9.SetFocus();
    f.userFocus(f.Text11);
    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\t\t1.0\t2.00\t2.0\t//////\t//////");
    EXPECT_EQ(f.ws.ChangeDesc[0], Value(""));
    EXPECT_EQ(f.Text23.text(), "");  // no recalculation ran
}

TEST(RecalcHandlers, RowZeroWithOnlyASerialOrMarkIsReplacedInPlace) {
    Worksheet w;
    Form1& f = w.f();
    w.entry(f.Grid1, 0, 1, "SN7");
    w.entry(f.Grid1, 1, 0, "Next item");
    f.Text9.SetFocus();
    w.box(f.Text9, "1500");
    EXPECT_EQ(f.Grid1.rowText(0), "Previous A/C Empty\t\t1500.0\t0.00\t0.0\t//////\t//////");
    EXPECT_EQ(f.ws.ChangeSerial[0], Value(""));
    EXPECT_EQ(f.Grid1.cell(1, 0), "Next item");
    EXPECT_EQ(f.ws.ChangeDesc[1], Value("Next item"));
}

TEST(RecalcHandlers, RowZeroItemMovesEveryRowDown) {
    Worksheet w;
    Form1& f = w.f();
    for (int r = 0; r < 30; ++r) {
        const std::string d = "Item" + std::to_string(r);
        f.Grid1.setRowText(r, d + "\t\t1.00\t10.00\t10.0\tX\t");
        f.ws.ChangeDesc[r] = d;
        f.ws.ChangeWeight[r] = "1";
        f.ws.ChangeArm[r] = "10";
        f.ws.ChangeInstalled[r] = "X";
    }
    f.ws.ChangeDesc[30] = "spare";
    f.Text2.setText("N1");
    f.Text9.setText("1500");
    f.Text10.SetFocus();
    w.box(f.Text10, "80");

    EXPECT_EQ(f.Grid1.rows(), 30);
    EXPECT_EQ(f.Grid1.rowText(0), kRow0);
    EXPECT_EQ(f.Grid1.cell(1, 0), "Item0");
    EXPECT_EQ(f.Grid1.cell(29, 0), "Item28");
    EXPECT_EQ(f.ws.ChangeDesc[1], Value("Item0"));
    EXPECT_EQ(f.ws.ChangeDesc[29], Value("Item28"));
    EXPECT_EQ(f.ws.ChangeDesc[30], Value("spare"));
    EXPECT_EQ(f.ws.ChangeInstalled[0], Value("//////"));
    // 1500 plus the 29 items that are left.
    EXPECT_EQ(f.Text23.text(), "1529.00");
}

// A moment of ten digits: the single 1524156672 shows all of them in the
// 10-character box, not the 1524156700 of its shortest decimal form. A larger
// one would read as another number there (999999919882240.0 cut to
// "9999999198"): it is too large, and the boxes show no figure.
TEST(RecalcHandlers, LargeMomentsShowTheSinglesOwnDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"1524.156672", "1524156672"},
        {"999999919.88224", ""},
    };
    for (const auto& [arm, shown] : cases) {
        Worksheet w;
        Form1& f = w.f();
        w.entry(f.Grid1, 1, 2, "1000000");
        w.entry(f.Grid1, 1, 3, arm);
        w.mark(f.Grid1, 1, 5);
        EXPECT_EQ(f.Text27.text(), shown) << arm;
        EXPECT_EQ(w.dialogs.shown.size(), *shown ? 0u : 1u) << arm;
        if (!*shown) EXPECT_EQ(w.dialogs.shown[0].title, "Totals too large: new empty moment");
    }
}

TEST(RecalcHandlers, EmptyWorksheetShowsZeros) {
    Worksheet w;
    Form1& f = w.f();
    f.ws.SavedState = 1;
    f.RecalcWeightAndBalance();
    EXPECT_EQ(f.Text23.text(), ".00");
    EXPECT_EQ(f.Text24.text(), ".00");
    EXPECT_EQ(f.Text27.text(), ".0");
    EXPECT_EQ(f.ws.ChangeMoment[0], Value(0.0));
    EXPECT_EQ(f.ws.SavedState, 1);  // no weighing: Text9 and Text10 untouched
}

// Every mask the worksheet shows numbers through, on the boundary values.
TEST(WorksheetMasks, BoundaryValues) {
    const char* masks[] = {"####0.#0", "######.00", "#####.00", "######.0",
                           "#####0.00", "#####0.0", "#####.0", "####0.00"};
    struct Row {
        double value;
        const char* shown[8];
    };
    const Row rows[] = {
        {0, {"0.00", ".00", ".00", ".0", "0.00", "0.0", ".0", "0.00"}},
        {-5, {"-5.00", "-5.00", "-5.00", "-5.0", "-5.00", "-5.0", "-5.0", "-5.00"}},
        {-0.004, {"-0.00", "-.00", "-.00", "-.0", "-0.00", "-0.0", "-.0", "-0.00"}},
        {0.005, {"0.01", ".01", ".01", ".0", "0.01", "0.0", ".0", "0.01"}},
        {1.005, {"1.01", "1.01", "1.01", "1.0", "1.01", "1.0", "1.0", "1.01"}},
        {-1.005, {"-1.01", "-1.01", "-1.01", "-1.0", "-1.01", "-1.0", "-1.0", "-1.01"}},
        {0.05, {"0.05", ".05", ".05", ".1", "0.05", "0.1", ".1", "0.05"}},
        {99.995, {"100.00", "100.00", "100.00", "100.0", "100.00", "100.0", "100.0", "100.00"}},
        {1234567.891,
         {"1234567.89", "1234567.89", "1234567.89", "1234567.9", "1234567.89", "1234567.9",
          "1234567.9", "1234567.89"}},
    };
    for (const Row& r : rows)
        for (int m = 0; m < 8; ++m)
            EXPECT_EQ(formatMask(r.value, masks[m]), r.shown[m]) << r.value << " " << masks[m];
    // Totals are singles: they round on their exact stored value (1.005f is
    // 1.00499999..., 1505.005f is 1505.00500...) and show all its digits.
    EXPECT_EQ(formatMask(1.005f, "######.00"), "1.00");
    EXPECT_EQ(formatMask(1505.005f, "######.00"), "1505.01");
    EXPECT_EQ(formatMask(120000.0f, "######.0"), "120000.0");
    EXPECT_EQ(formatMask(1524156672.0f, "######.0"), "1524156672.0");
    EXPECT_EQ(formatMask(-0.001f, "######.00"), "-.00");
}

}  // namespace
}  // namespace wb
