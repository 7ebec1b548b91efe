// Header boxes: Enter order, tail-number upper-casing, limits, the unsaved mark,
// the number boxes' and the result boxes' refusals, and ClearWorksheet.
#include <gtest/gtest.h>

#include <functional>

#include "logic/main_window_fixture.h"
#include "platform/numbers.h"

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
    w.type(w.f().Text1, "é-zł");  // accented letters and hyphen pass unchanged
    EXPECT_EQ(w.f().Text1.text(), "é-Zł");

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
    EXPECT_EQ(f.ws.SavedState, 0);  // the user's edit of a CG range marks the worksheet unsaved
    f.ws.SavedState = 1;
    f.Text15.setText("35 to 47");  // the program's own write (showing a record) does not
    EXPECT_EQ(f.ws.SavedState, 1);
    w.paste(f.Text16, "none");
    EXPECT_EQ(f.ws.SavedState, 0);
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

// Tach, Empty, C.G. and Max Wgt never read a number other than the one they
// show: a comma or a second point within the number is refused, typed (that
// key only) or pasted (all of it), with the grids' numeric notice. The
// leading-number parse itself is unchanged. Each text into each empty box:
struct NumberBoxCase {
    const char* text;
    const char* typed;   // the box after typing it key by key
    int typedNotices;    // refused keys
    bool pasteRefused;   // else the box holds the text as pasted
};
const NumberBoxCase kNumberBoxCases[] = {
    {"1,850.5", "1850.5", 1, true}, {"1850,5", "18505", 1, true}, {"1.2.3", "1.23", 1, true},
    {"1500 lb", "1500 lb", 0, false}, {"-5", "-5", 0, false},     {"  12", "  12", 0, false},
    {"abc", "abc", 0, false},         {"3,650", "3650", 1, true},  {"12..5", "12.5", 1, true},
    {",5", "5", 1, true},             {"1.5 lb, 2.", "1.5 lb, 2.", 0, false},
};

TEST(HeaderFields, NumberBoxesRefuseACommaOrASecondPointWithinTheNumber) {
    for (const char* name : {"Text8", "Text9", "Text10", "Text11"}) {
        for (const NumberBoxCase& c : kNumberBoxCases) {
            for (bool paste : {false, true}) {
                MainWindowFixture w;
                auto& box = dynamic_cast<TextBox&>(*w.f().find(name));
                if (std::string(c.text).size() > static_cast<size_t>(box.maxLength())) continue;
                w.dialogs.shown.clear();
                paste ? w.paste(box, c.text) : w.type(box, c.text);
                const std::string shown = paste ? (c.pasteRefused ? "" : c.text) : c.typed;
                const size_t notices = paste ? c.pasteRefused : c.typedNotices;
                const std::string where = std::string(name) + (paste ? " pasted " : " typed ") + c.text;
                EXPECT_EQ(box.text(), shown) << where;
                EXPECT_FALSE(leadingNumberCutShort(box.text())) << where;
                ASSERT_EQ(w.dialogs.shown.size(), notices) << where;
                for (const auto& notice : w.dialogs.shown) {
                    EXPECT_EQ(notice.title, "Entry must be numeric") << where;
                    EXPECT_EQ(notice.text, "Please re-enter value") << where;
                    EXPECT_EQ(notice.style, msgbox::kInformation) << where;
                }
            }
        }
    }
    // "1500 lb" still reads 1500, a text without a number 0.
    EXPECT_EQ(parseLeadingNumber("1500 lb"), 1500);
    EXPECT_EQ(parseLeadingNumber("abc"), 0);
}

TEST(HeaderFields, NumberBoxesRefuseAnEditThatCutsTheirNumberShort) {
    MainWindowFixture w;
    Form1& f = w.f();
    w.type(f.Text9, "1.5x.5");  // the second point stands after the number
    EXPECT_EQ(f.Text9.text(), "1.5x.5");
    f.Text9.select(3, 4);
    f.dispatch([&] { f.Text9.userKeyDown(keys::kDelete, 0); });  // would give 1.5.5
    EXPECT_EQ(f.Text9.text(), "1.5x.5");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Entry must be numeric");
    f.Text9.select(0, 0);
    w.type(f.Text9, "");  // the focus is there
    f.dispatch([&] { f.Text9.userKeyPress('.'); });  // at the start: ".1.5x.5"
    EXPECT_EQ(f.Text9.text(), "1.5x.5");
    EXPECT_EQ(w.dialogs.shown.size(), 2u);
    f.Text9.setText("1,850.5");  // the program's own writes are not checked
    EXPECT_EQ(f.Text9.text(), "1,850.5");
}

// Typing, Backspace, Delete, pasting and cutting in a result box are refused
// with the notice of a click; the caret, the selection and Copy still work,
// and the focus stays.
TEST(HeaderFields, ResultBoxesRefuseEveryEditButLetTheUserSelectAndCopy) {
    for (const char* name : {"Text23", "Text24", "Text27"}) {
        MainWindowFixture w;
        Form1& f = w.f();
        auto& box = dynamic_cast<TextBox&>(*f.find(name));
        box.setText("1505.00");
        f.userFocus(box);
        w.dialogs.shown.clear();
        f.clipboard().setText("9");
        const std::function<void()> edits[] = {
            [&] { f.userKeyPress(box, '1'); },
            [&] { f.userKeyPress(box, keys::kBack); },
            [&] { f.userKeyDown(box, keys::kDelete, 0); },
            [&] { f.userKeyDown(box, 'V', keys::kCtrlMask); },
            [&] { f.userKeyDown(box, keys::kInsert, keys::kShiftMask); },
            [&] { f.userKeyDown(box, 'X', keys::kCtrlMask); },
            [&] { f.userKeyDown(box, keys::kDelete, keys::kShiftMask); },
            [&] { f.userKeyPress(box, keys::kReturn); },
        };
        for (const auto& edit : edits) {
            box.select(1, 3);
            edit();
        }
        EXPECT_EQ(box.text(), "1505.00") << name;
        ASSERT_EQ(w.dialogs.shown.size(), std::size(edits)) << name;
        for (const auto& notice : w.dialogs.shown) {
            EXPECT_EQ(notice.title, "This field not editable") << name;
            EXPECT_EQ(notice.text, "Press OK to Continue") << name;
            EXPECT_EQ(notice.style, msgbox::kInformation) << name;
        }
        EXPECT_EQ(f.clipboard().text(), "9") << name;  // a refused cut takes nothing
        EXPECT_EQ(w.focus(), name);
        f.userKeyDown(box, keys::kEnd, keys::kShiftMask);
        EXPECT_EQ(box.selText(), "505.00") << name;  // from the anchor left at 1
        f.userKeyDown(box, 'C', keys::kCtrlMask);
        EXPECT_EQ(f.clipboard().text(), "505.00") << name;
        EXPECT_EQ(w.dialogs.shown.size(), std::size(edits)) << name;
        f.RecalcWeightAndBalance();  // the recalculation still writes them
        EXPECT_EQ(box.text(), name == std::string("Text27") ? ".0" : ".00");
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
