// The form: focus moves and their events, tab order, user input through the
// dispatcher, containers that hide or disable their contents.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/controls/check_box.h"
#include "platform/controls/command_button.h"
#include "platform/controls/grid.h"
#include "platform/controls/label.h"
#include "platform/controls/panel.h"
#include "platform/controls/text_box.h"
#include "platform/failure.h"
#include "platform/form.h"

namespace wb {
namespace {

class FormTest : public ::testing::Test {
protected:
    FormTest() {
        form.setVisible(true);
        for (Control* c : std::initializer_list<Control*>{&text1, &text2, &button, &grid}) {
            c->GotFocus = [this, c] { log.push_back("got " + c->name()); };
            c->LostFocus = [this, c] { log.push_back("lost " + c->name()); };
            c->Click = [this, c] { log.push_back("click " + c->name()); };
        }
        text2.setContainer(&panel);
        text1.setTabIndex(0);
        text2.setTabIndex(1);
        button.setTabIndex(2);
        grid.setTabIndex(3);
    }
    Form form{"Form1"};
    Panel panel{form, "Panel3D1"};
    TextBox text1{form, "Text1"};
    TextBox text2{form, "Text2"};
    CommandButton button{form, "Command3D13"};
    Grid grid{form, "Grid1"};
    Label label{form, "Label1"};
    std::vector<std::string> log;
};

TEST_F(FormTest, ControlsRegisterByNameAndLeaveWhenDestroyed) {
    EXPECT_EQ(form.find("Text2"), &text2);
    EXPECT_EQ(form.find("Nothing"), nullptr);
    {
        TextBox temporary(form, "Text99");
        temporary.SetFocus();
        EXPECT_EQ(form.find("Text99"), &temporary);
    }
    EXPECT_EQ(form.find("Text99"), nullptr);
    EXPECT_EQ(form.focused(), nullptr);
    EXPECT_EQ(panel.children(), (std::vector<Control*>{&text2}));
}

TEST_F(FormTest, SetFocusRaisesLostFocusThenGotFocus) {
    text1.SetFocus();
    text1.SetFocus();  // already there: nothing
    button.SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"got Text1", "lost Text1", "got Command3D13"}));
    EXPECT_TRUE(button.hasFocus());
    EXPECT_EQ(form.focused(), &button);
}

TEST_F(FormTest, SetFocusFailsWhereTheControlCannotTakeIt) {
    auto fails = [](Control& c) {
        try {
            c.SetFocus();
        } catch (const RuntimeError& e) {
            return e.number() == kInvalidCall;
        }
        return false;
    };
    EXPECT_TRUE(fails(label));  // never takes the focus
    panel.setVisible(false);
    EXPECT_TRUE(fails(text2));
    panel.setVisible(true);
    panel.setEnabled(false);
    EXPECT_TRUE(fails(text2));
    panel.setEnabled(true);
    text2.setEnabled(false);
    EXPECT_TRUE(fails(text2));
    text2.setEnabled(true);
    form.setVisible(false);
    EXPECT_TRUE(fails(text1));
    form.setVisible(true);
    form.setEnabled(false);
    EXPECT_TRUE(fails(text1));
    form.setEnabled(true);
    EXPECT_FALSE(fails(text2));
    EXPECT_TRUE(log == std::vector<std::string>{"got Text2"});
}

TEST_F(FormTest, NestedContainersAreChecked) {
    Panel inner(form, "Panel3D2");
    inner.setContainer(&panel);
    TextBox deep(form, "Text3");
    deep.setContainer(&inner);
    EXPECT_TRUE(deep.shownOnScreen());
    panel.setVisible(false);
    EXPECT_FALSE(deep.shownOnScreen());
    panel.setVisible(true);
    panel.setEnabled(false);
    EXPECT_FALSE(deep.usable());
    EXPECT_TRUE(deep.shownOnScreen());
}

TEST_F(FormTest, LostFocusHandlerThatMovesTheFocusWins) {
    text1.SetFocus();
    text1.LostFocus = [this] {
        log.push_back("lost Text1");
        text2.SetFocus();
    };
    log.clear();
    button.SetFocus();
    EXPECT_EQ(form.focused(), &text2);
    // Text1's LostFocus is not raised again by its own move.
    EXPECT_EQ(log, (std::vector<std::string>{"lost Text1", "got Text2"}));
}

TEST_F(FormTest, LostFocusHandlerThatKeepsTheFocusWins) {
    text1.SetFocus();
    text1.LostFocus = [this] { text1.SetFocus(); };
    log.clear();
    button.SetFocus();
    EXPECT_EQ(form.focused(), &text1);
    EXPECT_TRUE(log.empty());
}

TEST_F(FormTest, FailingLostFocusStillMovesTheFocusAndIsContained) {
    text1.SetFocus();
    text1.LostFocus = [] { throw RuntimeError(13, "Type mismatch"); };
    form.userClick(button);
    EXPECT_EQ(form.focused(), &button);
    EXPECT_EQ(form.containedFailures(), 1);
    EXPECT_NE(form.lastFailure().find("Type mismatch"), std::string::npos);
}

TEST_F(FormTest, ClickMovesTheFocusFirstThenClicks) {
    text1.SetFocus();
    log.clear();
    form.userClick(button);
    form.userClick(button);
    form.userClick(label);  // a label clicks without taking the focus
    EXPECT_EQ(log, (std::vector<std::string>{"lost Text1", "got Command3D13", "click Command3D13",
                                             "click Command3D13"}));
    EXPECT_EQ(form.focused(), &button);
}

TEST_F(FormTest, ClickAfterALostFocusThatMovedTheFocusStillClicks) {
    text1.SetFocus();
    text1.LostFocus = [this] { text2.SetFocus(); };
    log.clear();
    form.userClick(button);
    EXPECT_EQ(log, (std::vector<std::string>{"got Text2", "click Command3D13"}));
    EXPECT_EQ(form.focused(), &text2);
}

TEST_F(FormTest, DisabledOrHiddenControlsIgnoreInput) {
    text1.SetFocus();
    log.clear();
    panel.setEnabled(false);
    form.userClick(text2);
    form.userFocus(text2);
    form.userKeyPress(text2, 'a');
    panel.setEnabled(true);
    button.setVisible(false);
    form.userClick(button);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(text2.text(), "");
    EXPECT_EQ(form.focused(), &text1);
    EXPECT_EQ(form.containedFailures(), 0);
}

TEST_F(FormTest, UserFocusMovesWithoutClick) {
    form.userFocus(button);
    EXPECT_EQ(log, (std::vector<std::string>{"got Command3D13"}));
}

TEST_F(FormTest, KeyInputReachesTheControlThroughTheDispatcher) {
    text1.KeyPress = [](int& k) {
        if (k == '!') throw RuntimeError(5, "Invalid procedure call or argument");
    };
    form.userKeyPress(text1, 'a');
    form.userKeyPress(text1, '!');
    form.userKeyPress(text1, 'b');
    EXPECT_EQ(text1.text(), "ab");
    EXPECT_EQ(form.containedFailures(), 1);
    form.userKeyDown(text1, keys::kHome, 0);
    form.userKeyDown(text1, keys::kDelete, 0);
    EXPECT_EQ(text1.text(), "b");
}

TEST_F(FormTest, TabFollowsTabIndexSkipsUnusableAndWraps) {
    // Equal tab indexes go by creation order.
    TextBox late(form, "Text9");
    late.setTabIndex(1);
    text1.SetFocus();
    std::vector<std::string> visited;
    for (int i = 0; i < 5; ++i) {
        form.userKeyDown(*form.focused(), keys::kTab, 0);
        visited.push_back(form.focused()->name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Text2", "Text9", "Command3D13", "Grid1", "Text1"}));
    panel.setVisible(false);
    form.tabForward();
    EXPECT_EQ(form.focused(), &late);
    form.userKeyDown(late, keys::kTab, keys::kShiftMask);
    EXPECT_EQ(form.focused(), &text1);
    form.tabForward(true);
    EXPECT_EQ(form.focused(), &grid);
}

TEST_F(FormTest, TabRaisesNoKeyEvents) {
    int keys = 0;
    text1.KeyDown = [&](int&, int) { ++keys; };
    text1.KeyPress = [&](int&) { ++keys; };
    text1.SetFocus();
    form.userKeyDown(text1, keys::kTab, 0);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(form.focused(), &text2);
}

TEST_F(FormTest, CellClickFocusesMovesThenClicks) {
    grid.setRows(5);
    grid.RowColChange = [this] { log.push_back("move " + std::to_string(grid.row())); };
    text1.SetFocus();
    log.clear();
    form.userCellClick(grid, 3, 1);
    form.userCellClick(grid, 3, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"lost Text1", "got Grid1", "move 3", "click Grid1",
                                             "click Grid1"}));
    EXPECT_EQ(grid.col(), 1);
    grid.setEnabled(false);
    form.userCellClick(grid, 0, 0);
    EXPECT_EQ(grid.row(), 3);
}

TEST_F(FormTest, GridLostFocusMovingTheRowRunsInsideTheFocusMove) {
    grid.setRows(5);
    grid.SetFocus();
    grid.setRow(2);
    grid.RowColChange = [this] { log.push_back("commit"); };
    grid.LostFocus = [this] {
        log.push_back("lost Grid1");
        grid.setRow(0);
    };
    log.clear();
    form.userClick(button);
    EXPECT_EQ(log, (std::vector<std::string>{"lost Grid1", "commit", "got Command3D13",
                                             "click Command3D13"}));
}

TEST_F(FormTest, DispatchContainsEveryFailure) {
    form.dispatch([] { throw RuntimeError(3021, "No current record"); });
    EXPECT_EQ(form.lastFailure(), "Run-time error '3021': No current record");
    form.dispatch([] { throw std::out_of_range("index"); });
    EXPECT_EQ(form.lastFailure(), "index");
    form.dispatch([] { throw 42; });
    form.dispatch([] {});
    EXPECT_EQ(form.containedFailures(), 3);
    button.Click = [] { throw RuntimeError(91, "Object variable not set"); };
    EXPECT_NO_THROW(form.userClick(button));
    EXPECT_EQ(form.containedFailures(), 4);
}

TEST_F(FormTest, FormPropertiesNotifyObservers) {
    int notified = 0;
    form.observe([&] { ++notified; });
    form.setMousePointer(pointer::kHourglass);
    form.setCaption("Weight and Balance");
    text1.SetFocus();
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(form.mousePointer(), pointer::kHourglass);
}

}  // namespace
}  // namespace wb
