// Header boxes: Enter order, tail-number upper-casing, limits, the unsaved mark,
// the result boxes' refusal, and ClearWorksheet.
#include <gtest/gtest.h>

#include "logic/main_window_fixture.h"

namespace wb {
namespace {

using testing::MainWindowFixture;

TEST(HeaderFields, EnterWalksTheHeaderInOrderAndInsertsNothing) {
    MainWindowFixture w;
    Form1& f = w.f();
    EXPECT_EQ(w.focus(), "Text1");
    const char* order[] = {"Text2", "Text3", "Text4", "Text5", "Text8", "Text9", "Text10",
                           "Text11", "Text6", "Text22", "Text12", "Text7", "Grid1"};
    f.ws.SavedState = 1;
    for (const char* next : order) {
        const std::string before = f.focused()->name();
        Control& box = *f.focused();
        w.enter(box);
        EXPECT_EQ(w.focus(), next) << "Enter in " << before;
        if (auto* t = dynamic_cast<TextBox*>(&box)) {
            EXPECT_EQ(t->text(), before == "Text7" ? "03-09-2004" : "") << before;
        }
    }
    EXPECT_EQ(f.ws.SavedState, 1);  // nothing was inserted anywhere
}

TEST(HeaderFields, TailNumberIsUpperCasedAsTyped) {
    MainWindowFixture w;
    w.type(w.f().Text1, "n12ab");
    EXPECT_EQ(w.f().Text1.text(), "N12AB");

    w.f().Text1.setText("");
    w.type(w.f().Text1, "\xE9-z");  // accented letter and hyphen pass unchanged
    EXPECT_EQ(w.f().Text1.text(), "\xC3\xA9-Z");  // the box holds UTF-8

    w.f().Text1.setText("abc");  // the program's own writes keep their case
    EXPECT_EQ(w.f().Text1.text(), "abc");

    w.f().Text2.setText("");
    w.type(w.f().Text2, "ab");  // only the tail number is upper-cased
    EXPECT_EQ(w.f().Text2.text(), "ab");
}

TEST(HeaderFields, EmptyTailEnterMovesOnWithoutInserting) {
    MainWindowFixture w;
    w.enter(w.f().Text1);
    EXPECT_EQ(w.focus(), "Text2");
    EXPECT_EQ(w.f().Text1.text(), "");
}

TEST(HeaderFields, CgRangeBoxesPassEnterOnAndKeepTheirText) {
    MainWindowFixture w;
    Form1& f = w.f();
    f.Text1.setText("N1");
    w.click(f.Command3D23);  // opens the CG specifications panel, focus Text14
    ASSERT_EQ(w.focus(), "Text14");
    f.ws.SavedState = 1;
    w.type(f.Text14, "12.5-20");
    w.enter(f.Text14);
    EXPECT_EQ(w.focus(), "Text15");
    w.enter(f.Text15);
    EXPECT_EQ(w.focus(), "Text16");
    w.enter(f.Text16);
    EXPECT_EQ(w.focus(), "Grid2");
    EXPECT_EQ(f.Text14.text(), "12.5-20");
    EXPECT_EQ(f.ws.SavedState, 1);  // the CG ranges do not mark the worksheet unsaved
}

TEST(HeaderFields, LimitsCutProgramWritesAndStopTyping) {
    MainWindowFixture w;
    Form1& f = w.f();
    f.Text3.setText("ABCDEFGHIJKLMN");
    EXPECT_EQ(f.Text3.text(), "ABCDEFGHIJKLM");
    w.type(f.Text1, "n12345678");
    EXPECT_EQ(f.Text1.text(), "N12345");
    struct Limit { TextBox& box; int limit; };
    for (const Limit& l : {Limit{f.Text1, 6}, {f.Text2, 10}, {f.Text3, 13}, {f.Text4, 11},
                           {f.Text5, 4}, {f.Text8, 8}, {f.Text9, 8}, {f.Text10, 7},
                           {f.Text11, 8}, {f.Text6, 15}, {f.Text22, 10}, {f.Text12, 10},
                           {f.Text7, 10}, {f.Text14, 40}, {f.Text23, 10}, {f.Text13, 0}})
        EXPECT_EQ(l.box.maxLength(), l.limit) << l.box.name();
}

TEST(HeaderFields, ChangesMarkTheWorksheetUnsavedOnlyInTheMarkedBoxes) {
    MainWindowFixture w;
    Form1& f = w.f();
    for (TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5, &f.Text6, &f.Text7,
                       &f.Text8, &f.Text9, &f.Text10, &f.Text11, &f.Text12, &f.Text13,
                       &f.Text22}) {
        f.ws.SavedState = 2;
        t->setText("1");
        EXPECT_EQ(f.ws.SavedState, 0) << t->name();
    }
    for (TextBox* t : {&f.Text14, &f.Text15, &f.Text16, &f.Text23, &f.Text24, &f.Text27}) {
        f.ws.SavedState = 1;
        t->setText("1");
        EXPECT_EQ(f.ws.SavedState, 1) << t->name();
    }
}

TEST(HeaderFields, ResultBoxesRefuseAClickAndSendTheFocusToGrid1) {
    for (const char* name : {"Text23", "Text24", "Text27"}) {
        MainWindowFixture w;
        w.click(*w.f().find(name));
        ASSERT_EQ(w.dialogs.shown.size(), 1u) << name;
        EXPECT_EQ(w.dialogs.shown[0].title, "This field not editable");
        EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to Continue");
        EXPECT_EQ(w.dialogs.shown[0].style, 64);
        EXPECT_EQ(w.focus(), "Grid1") << name;
    }
}

// Fills every box ClearWorksheet touches with "x".
void fillBoxes(Form1& f) {
    for (TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5, &f.Text6, &f.Text7,
                       &f.Text8, &f.Text9, &f.Text10, &f.Text11, &f.Text12, &f.Text13, &f.Text14,
                       &f.Text15, &f.Text16, &f.Text22, &f.Text23, &f.Text24, &f.Text27})
        t->setText("x");
}

TEST(ClearWorksheet, SearchActiveKeepsTheNineCriteriaBoxes) {
    MainWindowFixture w;
    Form1& f = w.f();
    fillBoxes(f);
    f.ws.SearchActive = 1;
    f.ClearWorksheet();
    for (TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5, &f.Text6, &f.Text7,
                       &f.Text12, &f.Text22})
        EXPECT_EQ(t->text(), "x") << t->name();
    for (TextBox* t : {&f.Text8, &f.Text9, &f.Text10, &f.Text11, &f.Text13, &f.Text14, &f.Text15,
                       &f.Text16, &f.Text23, &f.Text24, &f.Text27})
        EXPECT_EQ(t->text(), "") << t->name();

    fillBoxes(f);
    f.ws.SearchActive = 0;
    f.ClearWorksheet();
    for (Control* c : f.controls()) {
        if (auto* t = dynamic_cast<TextBox*>(c); t && t->container() != &f.Panel3D7) {
            EXPECT_EQ(t->text(), "") << t->name();
        }
    }
}

TEST(ClearWorksheet, GridsGetTheirDefaultNamesAndCurrentCells) {
    MainWindowFixture w;
    Form1& f = w.f();
    f.Grid1.setRow(5);
    f.Grid1.setCol(3);
    f.Grid1.setText("junk");
    f.Grid3.setRow(99);
    f.Grid3.setText("junk");
    f.Grid2.setRow(4);
    f.Grid2.setCol(0);
    f.Grid2.setText("junk");
    f.ClearWorksheet();

    const char* jacks[] = {"Right Main", "Left Main", "Nose", "", ""};
    const char* fluids[] = {"Forward Tanks", "Aft Tanks", "", "", ""};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(f.Grid2.rowText(r), std::string(jacks[r]) + "\t\t\t\t") << r;
        EXPECT_EQ(f.Grid4.rowText(r), std::string(fluids[r]) + "\t\t\t") << r;
        EXPECT_EQ(f.ws.JackDesc[r].toText(), jacks[r]);
        EXPECT_EQ(f.ws.FluidDesc[r].toText(), fluids[r]);
    }
    for (int r = 0; r < 30; ++r) EXPECT_EQ(f.Grid1.rowText(r), "\t\t\t\t\t\t") << r;
    for (int r = 0; r < 100; ++r) EXPECT_EQ(f.Grid3.rowText(r), "\t\t\t\t") << r;
    for (Grid* g : {&f.Grid2, &f.Grid4}) {
        EXPECT_EQ(g->row(), 0) << g->name();
        EXPECT_EQ(g->col(), 1) << g->name();
        EXPECT_EQ(g->selStartCol(), 1);
        EXPECT_EQ(g->selEndCol(), 1);
        EXPECT_EQ(g->fillStyle(), 0);
        EXPECT_FALSE(g->highLight());
    }
    for (Grid* g : {&f.Grid1, &f.Grid3}) {
        EXPECT_EQ(g->row(), 0) << g->name();
        EXPECT_EQ(g->col(), 0) << g->name();
        EXPECT_EQ(g->selEndRow(), 0);
        EXPECT_EQ(g->selEndCol(), 0);
    }
    EXPECT_EQ(f.Grid1.rows(), 30);
    EXPECT_EQ(f.Grid3.rows(), 100);
}

TEST(ClearWorksheet, EmptiesTheUsedElementsOnlyAndLeavesFlagsAndTotals) {
    MainWindowFixture w;
    Form1& f = w.f();
    WorksheetState& ws = f.ws;
    ws.ChangeWeight[29] = Value(5.0);
    ws.ChangeWeight[30] = Value(7.0);
    ws.JackTare[5] = Value(1.0);
    ws.FluidArm[5] = Value(2.0);
    ws.ListDesc[100] = Value("last");
    ws.ListMoment[99] = Value(3.0);
    ws.NewEmptyWeight = 1505;
    ws.WeighedCG = 80;
    ws.SavedState = 2;
    ws.NewRecordMode = 1;
    ws.BrowseStarted = 1;
    ws.MoveDirection = 2;
    f.ClearWorksheet();

    EXPECT_EQ(ws.ChangeWeight[29], Value(""));
    EXPECT_EQ(ws.ListMoment[99], Value(""));
    EXPECT_EQ(ws.ChangeWeight[30], Value(7.0));
    EXPECT_EQ(ws.JackTare[5], Value(1.0));
    EXPECT_EQ(ws.FluidArm[5], Value(2.0));
    EXPECT_EQ(ws.ListDesc[100], Value("last"));
    EXPECT_EQ(ws.NewEmptyWeight, 1505.0f);
    EXPECT_EQ(ws.WeighedCG, 80.0f);
    EXPECT_EQ(ws.NewRecordMode, 1);
    EXPECT_EQ(ws.BrowseStarted, 1);
    EXPECT_EQ(ws.MoveDirection, 2);
    EXPECT_EQ(ws.SavedState, 0);  // the emptied date box marked it unsaved
}

}  // namespace
}  // namespace wb
