// The grid model: current cell and its RowColChange, selection and fill style,
// AddItem/RemoveItem, scrolling and the user's moves.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "platform/controls/grid.h"
#include "platform/failure.h"
#include "platform/form.h"

namespace wb {
namespace {

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        grid.setCols(3);
        grid.setRows(6);
        grid.move(0, 0, 3000, 3 * Grid::kRowHeight + 100);  // three rows in view
        grid.RowColChange = [this] { moves.push_back({grid.row(), grid.col()}); };
    }
    void fill() {
        for (int r = 0; r < grid.rows(); ++r) {
            grid.RemoveItem(r);
            grid.AddItem(std::to_string(r) + "a\t" + std::to_string(r) + "b\t" + std::to_string(r) + "c", r);
        }
        moves.clear();
    }
    Form form{"Form1"};
    Grid grid{form, "Grid1"};
    std::vector<std::pair<int, int>> moves;
};

TEST_F(GridTest, RowAndColSettersRaiseRowColChangeOnlyWhenTheCellChanges) {
    grid.setRow(2);
    grid.setRow(2);
    grid.setCol(1);
    grid.setCol(1);
    grid.setRow(0);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{2, 0}, {2, 1}, {0, 1}}));
}

TEST_F(GridTest, BadIndexesFailWithTheGridsErrors) {
    auto number = [](auto&& step) {
        try {
            step();
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { grid.setRow(6); }), 30009);
    EXPECT_EQ(number([&] { grid.setRow(-1); }), 30009);
    EXPECT_EQ(number([&] { grid.setCol(3); }), 30010);
    EXPECT_EQ(number([&] { grid.setSelEndRow(6); }), 30009);
    EXPECT_EQ(number([&] { grid.setSelStartCol(-1); }), 30010);
    EXPECT_EQ(number([&] { grid.RemoveItem(6); }), 30009);
    EXPECT_EQ(number([&] { grid.AddItem("x", 7); }), 30009);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(grid.row(), 0);
}

TEST_F(GridTest, RowColChangeIsRaisedFromInsideHandlers) {
    // A handler that moves the cell again sees the nested event before it returns.
    std::vector<std::string> log;
    grid.RowColChange = [&] {
        log.push_back("enter " + std::to_string(grid.row()));
        if (grid.row() == 3) grid.setRow(0);
        log.push_back("leave " + std::to_string(grid.row()));
    };
    grid.setRow(3);
    EXPECT_EQ(log, (std::vector<std::string>{"enter 3", "enter 0", "leave 0", "leave 0"}));
    EXPECT_EQ(grid.row(), 0);
}

TEST_F(GridTest, TextWritesTheCurrentCellWithFillStyle0) {
    grid.setRow(1);
    grid.setCol(2);
    grid.setText("x");
    EXPECT_EQ(grid.text(), "x");
    EXPECT_EQ(grid.rowText(1), "\t\tx");
    EXPECT_EQ(grid.cell(0, 2), "");
}

TEST_F(GridTest, FillStyle1WritesEverySelectedCellWhicheverWayItWasSelected) {
    grid.setSelStartRow(4);
    grid.setSelEndRow(1);
    grid.setSelStartCol(2);
    grid.setSelEndCol(1);
    grid.setFillStyle(1);
    grid.setText("#");
    for (int r = 0; r < grid.rows(); ++r)
        EXPECT_EQ(grid.rowText(r), r >= 1 && r <= 4 ? "\t#\t#" : "\t\t") << r;
    EXPECT_EQ(grid.row(), 0);  // the selection does not move the current cell
    EXPECT_TRUE(moves.empty());
}

TEST_F(GridTest, ClearingEveryCellThroughTheSelection) {
    fill();
    grid.setHighLight(false);
    grid.setSelStartRow(0);
    grid.setSelEndRow(grid.rows() - 1);
    grid.setSelStartCol(0);
    grid.setSelEndCol(grid.cols() - 1);
    grid.setFillStyle(1);
    grid.setText("");
    grid.setFillStyle(0);
    for (int r = 0; r < grid.rows(); ++r) EXPECT_EQ(grid.rowText(r), "\t\t");
    EXPECT_EQ(grid.rows(), 6);
}

TEST_F(GridTest, AddItemSplitsAtTabs) {
    grid.AddItem("a\tb");            // missing cell empty, appended
    grid.AddItem("p\tq\tr\ts\tt", 0);  // extra fields ignored
    grid.AddItem("", 2);
    ASSERT_EQ(grid.rows(), 9);
    EXPECT_EQ(grid.rowText(0), "p\tq\tr");
    EXPECT_EQ(grid.rowText(2), "\t\t");
    EXPECT_EQ(grid.rowText(8), "a\tb\t");
    grid.AddItem("end", grid.rows());
    EXPECT_EQ(grid.rowText(9), "end\t\t");
}

TEST_F(GridTest, AddingCellsIsAddingTheirTabJoinedText) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {""}, {"a"}, {"a", "b"}, {"a", "b", "c"}, {"p", "q", "r", "s", "t"}, {"a\tb", "c"}, {"\t", "x", "y"},
        {"a", "b", "c\td"}, {"", "", ""},
    };
    for (const std::vector<std::string>& cells : cases) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) text += (i ? "\t" : "") + cells[i];
        Grid byText{form, "ByText"}, byCells{form, "ByCells"};
        for (Grid* g : {&byText, &byCells}) {
            g->setCols(3);
            g->setRows(2);
        }
        byText.AddItem(text, 1);
        byCells.AddItem(cells, 1);
        ASSERT_EQ(byCells.rows(), byText.rows()) << text;
        for (int r = 0; r < byText.rows(); ++r) EXPECT_EQ(byCells.rowText(r), byText.rowText(r)) << text;
    }
    try {
        grid.AddItem(std::vector<std::string>{"x"}, 7);
        ADD_FAILURE() << "a row past the end was added";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 30009);
    }
}

// Rows added at rising indexes in one pass, against adding each in turn:
// into blank and filled rows, at the ends, past the end (the rows before it
// are added, then it fails as AddItem does), with TABs inside cells.
TEST_F(GridTest, AddingRowsInOnePassIsAddingEachInTurn) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        Grid inTurn{form, "InTurn"}, onePass{form, "OnePass"};
        const int startRows = 1 + static_cast<int>(random() % 8);
        for (Grid* g : {&inTurn, &onePass}) {
            g->setCols(3);
            g->setRows(startRows);
            for (int r = 0; r < startRows; ++r)
                if (random() % 2) g->setRowText(r, "old" + std::to_string(r) + "\t\tx");
        }
        // Same old rows in both.
        for (int r = 0; r < startRows; ++r) onePass.setRowText(r, inTurn.rowText(r));
        std::vector<std::pair<int, std::vector<std::string>>> items;
        int index = static_cast<int>(random() % 3);
        for (int k = static_cast<int>(random() % 6); k > 0; --k) {
            std::vector<std::string> cells = {"n" + std::to_string(index), random() % 4 ? "s" : "a\tb"};
            if (random() % 3 == 0) cells.push_back("w");
            items.emplace_back(index, cells);
            index += 1 + static_cast<int>(random() % 3);
        }
        int failedInTurn = 0, failedOnePass = 0;
        for (const auto& [at, cells] : items) {
            try {
                inTurn.AddItem(cells, at);
            } catch (const RuntimeError& e) {
                failedInTurn = e.number();
                break;
            }
        }
        try {
            onePass.AddItems(items);
        } catch (const RuntimeError& e) {
            failedOnePass = e.number();
        }
        SCOPED_TRACE("trial " + std::to_string(trial));
        EXPECT_EQ(failedOnePass, failedInTurn);
        ASSERT_EQ(onePass.rows(), inTurn.rows());
        for (int r = 0; r < inTurn.rows(); ++r) EXPECT_EQ(onePass.rowText(r), inTurn.rowText(r));
    }
    EXPECT_THROW(grid.AddItems({{2, {"a"}}, {2, {"b"}}}), std::invalid_argument);
}

TEST_F(GridTest, ReplacingARowKeepsTheRowCountAndTheCurrentCell) {
    fill();
    grid.setRow(2);
    moves.clear();
    grid.RemoveItem(2);
    grid.AddItem("new\t\t", 2);
    EXPECT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.rowText(2), "new\t\t");
    EXPECT_EQ(grid.rowText(3), "3a\t3b\t3c");
    EXPECT_EQ(grid.row(), 2);
    EXPECT_TRUE(moves.empty());
}

TEST_F(GridTest, SetRowTextReplacesTheLastRowWithoutMovingTheCell) {
    fill();
    grid.setRow(5);
    grid.setCol(2);
    grid.setSelStartRow(5);
    grid.setSelEndRow(5);
    moves.clear();
    grid.setRowText(5, "x\ty\tz\textra");
    grid.setRowText(4, "only");
    EXPECT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.rowText(5), "x\ty\tz");
    EXPECT_EQ(grid.rowText(4), "only\t\t");
    EXPECT_EQ(grid.row(), 5);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.selEndRow(), 5);
    EXPECT_TRUE(moves.empty());
    EXPECT_THROW(grid.setRowText(6, ""), RuntimeError);
}

TEST_F(GridTest, DeleteAndAppendMovesRowsUp) {
    fill();
    grid.RemoveItem(1);
    grid.AddItem("", grid.rows());
    EXPECT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.rowText(1), "2a\t2b\t2c");
    EXPECT_EQ(grid.rowText(4), "5a\t5b\t5c");
    EXPECT_EQ(grid.rowText(5), "\t\t");
}

TEST_F(GridTest, RemovingTheCurrentLastRowClampsAndRaisesRowColChange) {
    grid.setRow(5);
    grid.setSelStartRow(5);
    grid.setSelEndRow(5);
    grid.setTopRow(5);
    moves.clear();
    grid.RemoveItem(5);
    EXPECT_EQ(grid.rows(), 5);
    EXPECT_EQ(grid.row(), 4);
    EXPECT_EQ(grid.selEndRow(), 4);
    EXPECT_EQ(grid.topRow(), 4);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{4, 0}}));
    grid.AddItem("", 5);  // the row index stays where the clamp put it
    EXPECT_EQ(grid.row(), 4);
    EXPECT_EQ(moves.size(), 1u);
}

TEST_F(GridTest, TheLastRowCannotBeRemoved) {
    grid.setRows(1);
    EXPECT_THROW(grid.RemoveItem(0), RuntimeError);
    EXPECT_EQ(grid.rows(), 1);
}

TEST_F(GridTest, RowsGrowsWithEmptyRowsAndShrinksClampingTheCell) {
    fill();
    grid.setRow(5);
    grid.setCol(2);
    moves.clear();
    grid.setRows(8);
    EXPECT_EQ(grid.rowText(7), "\t\t");
    EXPECT_EQ(grid.rowText(5), "5a\t5b\t5c");
    grid.setRows(3);
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.row(), 2);
    grid.setCols(2);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(grid.rowText(2), "2a\t2b");
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{2, 2}, {2, 1}}));
    EXPECT_THROW(grid.setRows(0), RuntimeError);
}

TEST_F(GridTest, VisibleRowsFollowTheHeight) {
    struct Case {
        int height, rows;
    } cases[] = {{4350, 18}, {1230, 5}, {100, 1}, {0, 1}};
    for (const auto& c : cases) {
        grid.move(0, 0, 1000, c.height);
        EXPECT_EQ(grid.visibleRows(), c.rows) << c.height;
    }
}

TEST_F(GridTest, TopRowIsClamped) {
    grid.setTopRow(4);
    EXPECT_EQ(grid.topRow(), 4);
    grid.setTopRow(99);
    EXPECT_EQ(grid.topRow(), 5);
    grid.setTopRow(-3);
    EXPECT_EQ(grid.topRow(), 0);
    grid.setRow(5);  // the program's moves do not scroll
    EXPECT_EQ(grid.topRow(), 0);
}

TEST_F(GridTest, UserMoveCollapsesTheSelectionScrollsAndRaisesOnce) {
    grid.setSelStartRow(0);
    grid.setSelEndRow(3);
    grid.userMoveTo(4, 2);
    EXPECT_EQ(grid.row(), 4);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.selStartRow(), 4);
    EXPECT_EQ(grid.selEndRow(), 4);
    EXPECT_EQ(grid.selStartCol(), 2);
    EXPECT_EQ(grid.selEndCol(), 2);
    EXPECT_EQ(grid.topRow(), 2);  // row 4 is the last of three in view
    grid.userMoveTo(4, 2);
    EXPECT_EQ(moves.size(), 1u);
    grid.userMoveTo(0, 2);
    EXPECT_EQ(grid.topRow(), 0);
}

TEST_F(GridTest, NavigationKeysMoveTheCellAfterKeyDown) {
    struct Case {
        int key, shift, row, col;
    } cases[] = {
        {keys::kDown, 0, 3, 1},  {keys::kUp, 0, 1, 1},          {keys::kRight, 0, 2, 2},
        {keys::kLeft, 0, 2, 0},  {keys::kHome, 0, 2, 0},        {keys::kEnd, 0, 2, 2},
        {keys::kHome, keys::kCtrlMask, 0, 0}, {keys::kEnd, keys::kCtrlMask, 5, 2},
        {keys::kPageDown, 0, 5, 1}, {keys::kPageUp, 0, 0, 1},
    };
    for (const auto& c : cases) {
        grid.userMoveTo(2, 1);
        grid.userKeyDown(c.key, c.shift);
        EXPECT_EQ(grid.row(), c.row) << c.key;
        EXPECT_EQ(grid.col(), c.col) << c.key;
    }
    grid.userMoveTo(5, 2);  // at the edge nothing moves
    moves.clear();
    grid.userKeyDown(keys::kDown, 0);
    grid.userKeyDown(keys::kRight, 0);
    EXPECT_TRUE(moves.empty());
}

TEST_F(GridTest, KeyDownHandlerCanSwallowTheKeyAndNeverEditsCells) {
    int seen = 0;
    grid.KeyDown = [&](int& k, int) {
        seen = k;
        k = 0;
    };
    grid.userKeyDown(keys::kDown, 0);
    EXPECT_EQ(seen, keys::kDown);
    EXPECT_EQ(grid.row(), 0);
    grid.KeyDown = nullptr;
    grid.userKeyPress('7');
    grid.userKeyDown(keys::kDelete, 0);
    EXPECT_EQ(grid.text(), "");
    EXPECT_EQ(grid.rows(), 6);
}

// The clipboard keys and menu commands: Copy is the grid's own, the edits are
// the handler's (the grid never edits a cell); a locked cell greys out the
// menu's edits, while its keys still reach the handler, which refuses them.
TEST_F(GridTest, ClipboardCommandsCopyOrRaiseCellEdit) {
    fill();
    std::vector<std::pair<EditCommand, std::string>> edits;
    grid.CellEdit = [&](EditCommand c, const std::string& pasted) { edits.push_back({c, pasted}); };
    bool locked = false;
    grid.CellLocked = [&] { return locked; };
    grid.userMoveTo(2, 1);
    const int ctrl = keys::kCtrlMask, shift = keys::kShiftMask;

    form.clipboard().setText("");
    grid.userKeyDown('C', ctrl);
    EXPECT_EQ(form.clipboard().text(), "2b");
    form.clipboard().setText("");
    grid.userKeyDown(keys::kInsert, ctrl);
    EXPECT_EQ(form.clipboard().text(), "2b");

    form.clipboard().setText("12\t34\nmore");
    grid.userKeyDown('X', ctrl);
    grid.userKeyDown(keys::kDelete, shift);  // the row deletion, no chord
    grid.userKeyDown('V', ctrl);
    grid.userKeyDown(keys::kInsert, shift);
    grid.userKeyDown('V', ctrl | keys::kAltMask);  // no chord with Alt
    grid.userKeyDown('Z', ctrl);                    // no undo in a grid
    grid.userKeyDown('A', ctrl);
    using C = EditCommand;
    const std::vector<std::pair<C, std::string>> expected = {
        {C::Cut, ""}, {C::Paste, "12"}, {C::Paste, "12"}};
    EXPECT_EQ(edits, expected);
    EXPECT_EQ(grid.text(), "2b");  // the handler did nothing: nothing changed
    EXPECT_EQ(form.clipboard().text(), "12\t34\nmore");

    // The menu's states: Undo, Cut, Copy, Paste, Delete, Select All.
    const auto states = [&] {
        std::string s;
        for (C c : {C::Undo, C::Cut, C::Copy, C::Paste, C::Delete, C::SelectAll}) s += grid.commandEnabled(c) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(states(), "011110");
    locked = true;
    EXPECT_EQ(states(), "001000");
    edits.clear();
    grid.userCommand(C::Cut);
    grid.userCommand(C::Paste);
    EXPECT_TRUE(edits.empty());
    grid.userKeyDown('X', ctrl);  // the key still reaches the handler, which refuses
    EXPECT_EQ(edits.size(), 1u);
    locked = false;

    // Nothing to work on: an empty cell has nothing to copy, cut or delete;
    // a clipboard that starts with a line break or a TAB has nothing to paste.
    grid.setText("");
    form.clipboard().setText("\tx");
    EXPECT_EQ(states(), "000000");
    edits.clear();
    grid.userKeyDown('X', ctrl);
    grid.userKeyDown('V', ctrl);
    grid.userKeyDown('C', ctrl);
    EXPECT_TRUE(edits.empty());
    EXPECT_EQ(form.clipboard().text(), "\tx");

    // A disabled grid offers Copy only.
    form.clipboard().setText("5");
    grid.setText("2b");
    grid.setEnabled(false);
    EXPECT_EQ(states(), "001000");
}

TEST_F(GridTest, PastedTextIsTheFirstFieldOfTheFirstLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"12.5", "12.5"},         {"12\t34", "12"},          {"Seat\r\nBelt", "Seat"},
        {"a\x01" "b\x1b\x7f" "c", "abc"}, {"\nx", ""},               {"\xe2\x82\xac 5", "\xe2\x82\xac 5"},
    };
    for (const auto& [clip, cell] : cases) {
        form.clipboard().setText(clip);
        EXPECT_EQ(grid.pastedText(), cell) << clip;
    }
}

TEST_F(GridTest, ColumnLayout) {
    grid.setColWidth(2, 1080);
    grid.setColAlignment(2, Alignment::Right);
    EXPECT_EQ(grid.colWidth(2), 1080);
    EXPECT_EQ(grid.colAlignment(2), Alignment::Right);
    EXPECT_THROW(grid.setColWidth(3, 10), RuntimeError);
    EXPECT_EQ(grid.cell(99, 0), "");
}

}  // namespace
}  // namespace wb
