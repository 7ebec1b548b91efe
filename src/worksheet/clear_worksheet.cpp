// ClearWorksheet: empties the worksheet and puts the default weighing-point and
// tank names back. While SearchActive is not 0 the nine search-criteria boxes keep
// their text. Touches no handle, flag or total.
#include "app/form1.h"

namespace wb {

namespace {

// Empties every cell at once through a full selection, then leaves the grid on
// row 0, column 0 with the selection collapsed there.
void clearGrid(Grid& g, int lastRow, int lastCol) {
    g.setHighLight(false);
    g.setSelStartRow(0);
    g.setSelEndRow(lastRow);
    g.setSelStartCol(0);
    g.setSelEndCol(lastCol);
    g.setFillStyle(1);
    g.setText("");
    g.setFillStyle(0);
    g.setSelStartRow(0);
    g.setSelEndRow(0);
    g.setSelStartCol(0);
    g.setSelEndCol(0);
    g.setRow(0);
    g.setCol(0);
}

// Puts a grid on row 0, column 1 (the first value column).
void onFirstValueColumn(Grid& g) {
    g.setSelStartCol(1);
    g.setSelEndCol(1);
    g.setCol(1);
    g.setRow(0);
}

}  // namespace

void Form1::ClearWorksheet() {
    // A pending cell entry is dropped: moving the grids to row 0 below would
    // otherwise commit it, redrawing a row of the old worksheet into the emptied
    // grid while its arrays are cleared.
    ws.CellEditing = 0;
    ws.Grid1EditCol = ws.Grid2EditCol = ws.Grid3EditCol = ws.Grid4EditCol = 0;
    clearGrid(Grid1, 29, 6);
    clearGrid(Grid2, 4, 4);
    clearGrid(Grid4, 4, 3);
    clearGrid(Grid3, 99, 4);

    // Each becomes an empty text, moved in (a copy of one would cost more).
    const auto blank = [](auto&... values) { ((values = Value(std::string())), ...); };
    for (int i = 0; i <= 99; ++i) {
        if (i <= 4) {
            const char* jack[] = {"Right Main", "Left Main", "Nose"};
            const char* fluid[] = {"Forward Tanks", "Aft Tanks"};
            if (i <= 2) {
                Grid2.setRow(i);
                Grid4.setRow(i);
                Grid2.setText(jack[i]);
                if (i <= 1) Grid4.setText(fluid[i]);
                ws.JackDesc[i] = Grid2.text();
                if (i <= 1) ws.FluidDesc[i] = Grid4.text();
            }
            blank(ws.JackDesc[3], ws.JackDesc[4]);
            blank(ws.FluidDesc[2], ws.FluidDesc[3], ws.FluidDesc[4]);
            blank(ws.JackTare[i], ws.JackWeight[i], ws.JackArm[i], ws.JackMoment[i]);
            blank(ws.FluidWeight[i], ws.FluidArm[i], ws.FluidMoment[i]);
        }
        if (i < 30) {
            blank(ws.ChangeDesc[i], ws.ChangeSerial[i], ws.ChangeWeight[i], ws.ChangeArm[i]);
            blank(ws.ChangeMoment[i], ws.ChangeInstalled[i], ws.ChangeRemoved[i]);
        }
        blank(ws.ListDesc[i], ws.ListSerial[i], ws.ListWeight[i], ws.ListArm[i], ws.ListMoment[i]);
    }

    onFirstValueColumn(Grid2);
    onFirstValueColumn(Grid4);

    const bool keepCriteria = ws.SearchActive != 0;
    for (TextBox* t : {&Text1, &Text7, &Text2, &Text3, &Text4, &Text5})
        if (!keepCriteria) t->setText("");
    for (TextBox* t : {&Text9, &Text10, &Text11, &Text8}) t->setText("");
    for (TextBox* t : {&Text6, &Text22, &Text12})
        if (!keepCriteria) t->setText("");
    for (TextBox* t : {&Text14, &Text15, &Text16, &Text13, &Text23, &Text24, &Text27})
        t->setText("");
}

}  // namespace wb
