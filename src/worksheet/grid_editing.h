#pragma once
// In-cell editing of the four worksheet grids: one scheme for Grid1 to Grid4,
// driven by their rows of kGridTables. connect() wires each grid's five events
// (GridN_KeyPress, GridN_KeyDown, GridN_RowColChange, GridN_Click,
// GridN_LostFocus), and its clipboard edits (CellEdit, CellLocked), to the
// handlers below with that grid's table row.
#include "app/subsystem.h"
#include "platform/controls/edit_command.h"
#include "worksheet/grid_table.h"

namespace wb {

class GridEditing : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    // GridN_KeyPress: the key is applied to the current cell; Enter moves on.
    // Control characters other than Enter and Backspace (TAB, the grid's field
    // separator, among them) type nothing, as in a text box.
    void KeyPress(const GridTable& t, int& keyAscii);
    // GridN_KeyDown: Delete removes the current row; Shift+Delete is the cut
    // chord and is left to the grid.
    void KeyDown(const GridTable& t, int& keyCode, int shift);
    // Cut, Paste or Delete of the current cell's text: one entry of the cell,
    // taken by the same rules as typing. A paste that those rules, or the
    // description's length, would refuse is refused whole with its notice and
    // changes nothing; a locked cell (GridTable::cellLocked) refuses all three.
    void CellEdit(const GridTable& t, EditCommand command, const std::string& pasted);
    // GridN_RowColChange: commits a pending weight or arm entry.
    void RowColChange(const GridTable& t);
    // GridN_Click: keeps the cursor off the Moment column.
    void Click(const GridTable& t);
    // GridN_LostFocus: parks the selection and the cursor on row 0.
    void LostFocus(const GridTable& t);

private:
    void enterMove(const GridTable& t);
    void applyKey(Grid& g, int keyAscii, bool textColumn);
    void takeCellText(const GridTable& t, Grid& g);
    void numericRefused(NumericRefusal why);
    void notEditable();
    void momentRefused(Grid& g, int toCol);
};

}  // namespace wb
