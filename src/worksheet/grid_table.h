#pragma once
// What differs between the four worksheet grids for in-cell editing, as one table
// (kGridTables), and the pure pieces of the editing scheme: the numeric check,
// the mark rule, the moment and the row text that a commit writes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/value.h"
#include "worksheet/worksheet_state.h"

namespace wb {

class Form1;
class Grid;

// What a grid column holds. Tare, Weight and Arm are the number columns (checked
// after every key); Weight and Arm commit their row when the cell is left.
enum class ColumnKind { Text, Tare, Weight, Arm, Moment, Mark };

// The arrays behind a grid, one per column, indexed by grid row.
using RowArrays = std::vector<std::span<Value>>;

struct GridTable {
    const char* name;                     // "Grid1" ...
    Grid Form1::*grid;
    int16_t WorksheetState::*editRow;     // Grid1EditRow ...
    int16_t WorksheetState::*editCol;     // Grid1EditCol ...
    RowArrays (*arrays)(WorksheetState&);
    std::vector<ColumnKind> columns;      // column 0 first; Delete reads all of them back
    int rows;                             // Enter moves down while row + 1 is less than this
    int colAfterMomentKey;                // a key typed in the Moment column goes here
    int colAfterMomentClick;              // a click on the Moment column goes here
    int enterLastCol;                     // Enter here goes to the next row ...
    int enterFirstCol;                    // ... and to this column
    int rowsInView;                       // Enter keeps the cursor on the last row in view; 0: no scrolling
    bool redrawByValue;                   // the commit redraws weight and arm by their leading numbers
    bool recalcAfterCommit;
    int firstDeletableRow;
    bool recalcAfterDelete;
    int lostFocusCol;                     // selection column when the grid loses the focus
    int descriptionLength;                // longest description a paste leaves in column 0; 0: no limit

    int momentCol() const;
    int colOf(ColumnKind kind) const;     // -1 when the grid has no such column
    bool isNumberCol(int col) const;
    bool commits(int col) const;          // Weight or Arm
    // Cut, Paste and Delete refuse the Moment column and the marks of row 0 (the
    // previous-empty row's "//////").
    bool cellLocked(int row, int col) const;
};

// Grid1 change list, Grid2 weighing points, Grid3 equipment list, Grid4 fluids.
extern const GridTable kGridTables[4];

// Why a number cell's text is refused. It passes when it is one blank, a lone
// "-" or a number that a stored number holds (a single: up to about 3.4E+38
// either way); every prefix of such a number passes too.
enum class NumericRefusal { None, NotNumeric, OutOfRange };
NumericRefusal NumericCheck(const std::string& cellText);
inline bool PassesNumericCheck(const std::string& cellText) {
    return NumericCheck(cellText) == NumericRefusal::None;
}
// A mark cell holding "x", "X", "y" or "Y" becomes "X"; anything else empty.
std::string MarkText(const std::string& cellText);
// The moment a commit stores: weight x arm, less the tare first where the grid has one.
double CommitMoment(const GridTable& t, const RowArrays& arrays, int row);
// The row a commit redraws: weight and arm "#####0.00", moment "#####.0"; text,
// marks and the tare as they stand. A mask applies to a number or to text that
// reads as one; other text (a lone "-", an empty entry) is shown unchanged,
// except where the grid redraws by leading-number value.
std::string CommitRowText(const GridTable& t, const RowArrays& arrays, int row);

}  // namespace wb
