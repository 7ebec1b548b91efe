#include "worksheet/grid_editing.h"

#include "app/form1.h"
#include "platform/dialogs.h"
#include "platform/utf8.h"

namespace wb {

namespace {
constexpr int kEnter = 13, kBackspace = 8;

void collapseSelection(Grid& g) {
    g.setSelStartRow(g.row());
    g.setSelEndRow(g.row());
    g.setSelStartCol(g.col());
    g.setSelEndCol(g.col());
}
}  // namespace

void GridEditing::connect() {
    for (const GridTable& t : kGridTables) {
        Grid& g = f.*t.grid;
        const GridTable* table = &t;
        g.KeyPress = [this, table](int& k) { KeyPress(*table, k); };
        g.KeyDown = [this, table](int& k, int shift) { KeyDown(*table, k, shift); };
        g.RowColChange = [this, table] { RowColChange(*table); };
        g.Click = [this, table] { Click(*table); };
        g.LostFocus = [this, table] { LostFocus(*table); };
        g.CellEdit = [this, table](EditCommand c, const std::string& pasted) { CellEdit(*table, c, pasted); };
        g.CellLocked = [&g, table] { return table->cellLocked(g.row(), g.col()); };
    }
}

void GridEditing::notEditable() {
    f.services.dialogs->MsgBox("Press OK to Continue", msgbox::kInformation, "This field not editable");
}

void GridEditing::momentRefused(Grid& g, int toCol) {
    notEditable();
    g.setCol(toCol);
}

void GridEditing::numericRefused(NumericRefusal why) {
    f.services.dialogs->MsgBox("Please re-enter value", msgbox::kInformation,
                               why == NumericRefusal::OutOfRange ? "Number out of range" : "Entry must be numeric");
}

// Backspace takes the last character off a cell that holds text; any other key
// starts a new text (first key of an entry) or is appended to it.
void GridEditing::applyKey(Grid& g, int keyAscii, bool textColumn) {
    const std::string text = g.text();
    if (keyAscii == kBackspace) {
        if (!text.empty()) {
            g.setText(utf8::left(text, utf8::length(text) - 1));
            return;
        }
        if (textColumn) return;  // nothing to take off a description or serial
    }
    const std::string c = utf8::encode(static_cast<char32_t>(keyAscii));
    if (f.ws.CellEditing == 0) {
        f.ws.CellEditing = 1;
        g.setText(c);
    } else {
        g.setText(text + c);
    }
}

void GridEditing::KeyPress(const GridTable& t, int& keyAscii) {
    Grid& g = f.*t.grid;
    f.ws.*t.editRow = static_cast<int16_t>(g.row());
    f.ws.*t.editCol = static_cast<int16_t>(g.col());
    if (keyAscii == kEnter) {
        enterMove(t);
        return;
    }
    if (keyAscii != kBackspace && !utf8::typesCharacter(keyAscii)) return;
    if (g.col() == t.momentCol()) {
        momentRefused(g, t.colAfterMomentKey);
        return;
    }
    applyKey(g, keyAscii, t.columns[g.col()] == ColumnKind::Text);
    f.ws.SavedState = 0;  // the user's edit, also of a mark
    takeCellText(t, g);
}

// The cell's text becomes its row's entry by the column's rule: a number is
// checked (a refused one empties the cell and the entry), a mark is made "X" or
// empty and recalculates, any other text is taken as it is.
void GridEditing::takeCellText(const GridTable& t, Grid& g) {
    Value& entry = t.arrays(f.ws)[g.col()][g.row()];
    if (t.isNumberCol(g.col())) {
        entry = g.text() == " " ? Value(0.0) : Value(g.text());
        if (const NumericRefusal why = NumericCheck(g.text()); why != NumericRefusal::None) {
            g.setText("");
            entry = Value("");
            numericRefused(why);
        }
    } else if (t.columns[g.col()] == ColumnKind::Mark) {
        g.setText(MarkText(g.text()));
        entry = Value(g.text());
        f.RecalcWeightAndBalance();
    } else {
        entry = Value(g.text());
    }
}

// Like a typed entry, the edit starts or continues the cell's entry: a weight or
// arm commits when the cell is left, a mark recalculates at once.
void GridEditing::CellEdit(const GridTable& t, EditCommand command, const std::string& pasted) {
    Grid& g = f.*t.grid;
    const int col = g.col();
    f.ws.*t.editRow = static_cast<int16_t>(g.row());
    f.ws.*t.editCol = static_cast<int16_t>(col);
    if (t.cellLocked(g.row(), col)) {
        notEditable();
        return;
    }
    if (command == EditCommand::Paste) {
        const std::string text = f.ws.CellEditing == 0 ? pasted : g.text() + pasted;
        if (t.isNumberCol(col)) {
            if (const NumericRefusal why = NumericCheck(text); why != NumericRefusal::None) {
                numericRefused(why);
                return;
            }
        } else if (col == 0 && t.descriptionLength > 0 &&
                   utf8::length(text) > static_cast<std::size_t>(t.descriptionLength)) {
            f.services.dialogs->MsgBox("Press OK to continue", msgbox::kInformation, "Too many characters");
            return;
        }
        f.ws.CellEditing = 1;
        g.setText(text);
        f.ws.SavedState = 0;
        takeCellText(t, g);
        return;
    }
    if (command != EditCommand::Cut && command != EditCommand::Delete) return;
    if (command == EditCommand::Cut) f.clipboard().setText(g.text());
    f.ws.CellEditing = 1;
    g.setText("");
    f.ws.SavedState = 0;
    // An emptied number is no entry yet, as after a refused one, without the notice.
    if (t.isNumberCol(col))
        t.arrays(f.ws)[col][g.row()] = Value("");
    else
        takeCellText(t, g);
}

// Enter moves along the grid's order, passing over the Moment column; from the
// last column of the order it goes to the next row (staying on the last row).
void GridEditing::enterMove(const GridTable& t) {
    Grid& g = f.*t.grid;
    const int c = g.col();
    if (c == t.momentCol()) return;
    if (c == t.enterLastCol) {
        g.setCol(t.enterFirstCol);
        if (g.row() + 1 < t.rows) g.setRow(g.row() + 1);
        collapseSelection(g);
    } else {
        int next = c + 1;
        if (next == t.momentCol()) ++next;
        g.setSelStartCol(next);
        g.setSelEndCol(next);
        g.setCol(next);
    }
    if (t.rowsInView > 0 && g.row() >= t.rowsInView) g.setTopRow(g.row() - (t.rowsInView - 1));
}

// The edit column is cleared before the row is redrawn, so that a cell change
// raised while the grid is touched finds nothing more to commit.
void GridEditing::RowColChange(const GridTable& t) {
    if (!t.commits(f.ws.*t.editCol)) {
        f.ws.CellEditing = 0;
        return;
    }
    f.ws.*t.editCol = 0;
    const int r = f.ws.*t.editRow;
    const RowArrays arrays = t.arrays(f.ws);
    arrays[t.momentCol()][r] = Value(CommitMoment(t, arrays, r));
    (f.*t.grid).setRowText(r, CommitRowText(t, arrays, r));
    if (t.recalcAfterCommit) f.RecalcWeightAndBalance();
    f.ws.CellEditing = 0;
}

// Delete (with Shift, Ctrl or Alt as well) removes the current row,
// adds a blank row at the end and reads the whole grid back into its arrays. A
// pending entry of the removed row is dropped first, so that no commit writes it
// onto the row that moves up into its place.
void GridEditing::KeyDown(const GridTable& t, int& keyCode, int) {
    Grid& g = f.*t.grid;
    if (keyCode != keys::kDelete || g.row() < t.firstDeletableRow) return;
    f.ws.*t.editCol = 0;
    f.ws.CellEditing = 0;

    g.RemoveItem(g.row());
    g.AddItem("", g.rows());
    f.ws.SavedState = 0;
    const RowArrays arrays = t.arrays(f.ws);
    const int cols = static_cast<int>(t.columns.size());
    for (int i = 0; i < g.rows(); ++i) {
        for (int c = 0; c < cols && i < static_cast<int>(arrays[c].size()); ++c) {
            g.setRow(i);
            g.setCol(c);
            arrays[c][i] = Value(g.text());
        }
    }
    if (t.recalcAfterDelete) f.RecalcWeightAndBalance();
}

void GridEditing::Click(const GridTable& t) {
    Grid& g = f.*t.grid;
    if (g.col() == t.momentCol())
        momentRefused(g, t.colAfterMomentClick);
    else
        collapseSelection(g);
}

void GridEditing::LostFocus(const GridTable& t) {
    Grid& g = f.*t.grid;
    g.setSelStartRow(0);
    g.setSelEndRow(0);
    g.setSelStartCol(t.lostFocusCol);
    g.setSelEndCol(t.lostFocusCol);
    g.setRow(0);
}

}  // namespace wb
