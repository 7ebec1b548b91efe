#pragma once
// In-cell editing of the four worksheet grids: one scheme for Grid1 to Grid4,
// driven by their rows of kGridTables. connect() wires each grid's five events
// (GridN_KeyPress, GridN_KeyDown, GridN_RowColChange, GridN_Click,
// GridN_LostFocus) to the handlers below with that grid's table row.
#include "app/subsystem.h"
#include "worksheet/grid_table.h"

namespace wb {

class GridEditing : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    // GridN_KeyPress: the key is applied to the current cell; Enter moves on.
    void KeyPress(const GridTable& t, int& keyAscii);
    // GridN_KeyDown: Delete removes the current row.
    void KeyDown(const GridTable& t, int& keyCode, int shift);
    // GridN_RowColChange: commits a pending weight or arm entry.
    void RowColChange(const GridTable& t);
    // GridN_Click: keeps the cursor off the Moment column.
    void Click(const GridTable& t);
    // GridN_LostFocus: parks the selection and the cursor on row 0.
    void LostFocus(const GridTable& t);

private:
    void enterMove(const GridTable& t);
    void applyKey(Grid& g, int keyAscii, bool textColumn);
    void momentRefused(Grid& g, int toCol);
};

}  // namespace wb
