// The grids' clipboard in the real widgets on the offscreen platform: the keys
// and the context menu copy, cut and paste the current cell through the
// system clipboard, as the text boxes do, and the worksheet's rules refuse
// what the cell does not take.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <memory>

#include "app/form1.h"
#include "logic/main_window_fixture.h"
#include "platform/qt/form_window.h"
#include "platform/qt/grid_view.h"
#include "qt/input_events.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

using namespace wb::testing;

class GridClipboardView : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(w.f());
        QApplication::processEvents();
        grid = dynamic_cast<GridView*>(window->viewOf(f().Grid1));
        ASSERT_NE(grid, nullptr);
        clipboard()->clear();
    }
    Form1& f() { return w.f(); }
    static QClipboard* clipboard() { return QApplication::clipboard(); }
    void clickCell(int row, int col) { click(grid->viewport(), grid->cellRect(row, col).center()); }
    void chord(int qtKey, Qt::KeyboardModifiers mods) { key(grid, qtKey, {}, mods); }
    // Right-clicks a cell; the menu records its items' states and picks one.
    QString menuOn(int row, int col, const QString& item) {
        MenuPick pick;
        pick.pickNext(item);
        const QPoint at = grid->cellRect(row, col).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
        return pick.enabled;
    }
    std::string lastTitle() const { return w.dialogs.shown.empty() ? "" : w.dialogs.shown.back().title; }

    MainWindowFixture w;
    std::unique_ptr<FormWindow> window;
    GridView* grid = nullptr;
};

TEST_F(GridClipboardView, TheKeysCopyCutAndPasteTheCurrentCell) {
    clickCell(1, 0);
    type(grid, "Seat");
    chord(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard()->text(), "Seat");

    // A paste appends to the entry underway; the line break ends it.
    clipboard()->setText(" belt\r\nsecond line");
    chord(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f().Grid1.cell(1, 0), "Seat belt");
    EXPECT_EQ(f().ws.ChangeDesc[1].toText(), "Seat belt");

    // Into the weight, by Shift+Insert: its first field only, one entry,
    // committed by Enter.
    clickCell(1, 2);
    clipboard()->setText("12.5\t40");
    chord(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(f().Grid1.cell(1, 2), "12.5");
    key(grid, Qt::Key_Return, "\r");
    EXPECT_EQ(f().Grid1.cell(1, 2), "12.50");
    EXPECT_TRUE(w.dialogs.shown.empty());

    // Ctrl+Insert copies, Ctrl+X cuts.
    clickCell(1, 2);
    chord(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard()->text(), "12.50");
    clickCell(1, 0);
    chord(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard()->text(), "Seat belt");
    EXPECT_EQ(f().Grid1.cell(1, 0), "");
    EXPECT_TRUE(w.dialogs.shown.empty());

    // Shift+Delete is no cut in a grid: it deletes the row, as Delete does.
    chord(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(f().Grid1.cell(1, 2), "");
    EXPECT_EQ(clipboard()->text(), "Seat belt");
}

TEST_F(GridClipboardView, RefusedEditsSayWhyAndChangeNothing) {
    clickCell(1, 0);
    type(grid, "Seat");
    clipboard()->setText(QString(200, QChar('a')));
    chord(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lastTitle(), "Too many characters");
    EXPECT_EQ(f().Grid1.cell(1, 0), "Seat");

    clickCell(1, 3);
    clipboard()->setText("40 inches");
    chord(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lastTitle(), "Entry must be numeric");
    clipboard()->setText("1e39");
    chord(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lastTitle(), "Number out of range");
    EXPECT_EQ(f().Grid1.cell(1, 3), "");

    key(grid, Qt::Key_Right);  // the Moment column, reached by the arrow key
    ASSERT_EQ(f().Grid1.col(), 4);
    chord(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(lastTitle(), "This field not editable");
    EXPECT_EQ(w.dialogs.shown.size(), 4u);
    EXPECT_EQ(clipboard()->text(), "1e39");
}

// The menu has the text boxes' items; the right-click moves the current cell
// to the cell under the mouse, and the items are enabled as that cell takes them.
TEST_F(GridClipboardView, TheContextMenuEditsTheCellUnderTheMouse) {
    clickCell(1, 2);
    type(grid, "12.5");
    clipboard()->setText("7");
    EXPECT_EQ(menuOn(1, 2, "Cu&t"), "011110");  // Undo, Cut, Copy, Paste, Delete, Select All
    EXPECT_EQ(f().Grid1.cell(1, 2), "");
    EXPECT_EQ(clipboard()->text(), "12.5");

    EXPECT_EQ(menuOn(2, 3, "&Paste"), "000100");
    EXPECT_EQ(f().Grid1.row(), 2);
    EXPECT_EQ(f().Grid1.col(), 3);
    EXPECT_EQ(f().Grid1.cell(2, 3), "12.5");

    // The Moment column: Copy only; the paste item cannot be chosen.
    EXPECT_EQ(menuOn(1, 4, "&Paste"), "001000");
    EXPECT_EQ(f().Grid1.cell(1, 4), ".0");
    EXPECT_EQ(menuOn(1, 4, "&Copy"), "001000");
    EXPECT_EQ(clipboard()->text(), ".0");

    EXPECT_EQ(menuOn(2, 3, "&Delete"), "011110");
    EXPECT_EQ(f().Grid1.cell(2, 3), "");
    EXPECT_EQ(clipboard()->text(), ".0");
    EXPECT_TRUE(w.dialogs.shown.empty());
}

}  // namespace
