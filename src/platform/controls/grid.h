#pragma once
// The grid: rows of TAB-joined text. It never edits a cell by itself. Setting Row
// or Col to a different cell raises RowColChange before the setter returns, also
// from inside handlers. FillStyle 1 makes a Text write fill every selected cell.
// A new grid has 2 rows and 2 columns. Bad indexes fail with 30009 (row) or
// 30010 (column). Whenever the grid shrinks (Rows, Cols, RemoveItem) the current
// cell, the selection and TopRow are clamped to what is left; when that moves the
// current cell, RowColChange is raised. AddItem never moves the current cell index.
//
// The current cell's text goes through the form's clipboard as a whole, by the
// keys of editChord or a context menu: Copy is the grid's own; Cut, Paste and
// Delete would edit the cell, so they raise CellEdit and the handler decides.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/edit_command.h"

namespace wb {

class Grid : public Control {
public:
    Grid(Form& form, std::string name);
    bool takesFocus() const override { return true; }

    int rows() const { return static_cast<int>(cells_.size()); }
    void setRows(int n);
    int cols() const { return cols_; }
    void setCols(int n);

    int row() const { return row_; }
    void setRow(int r);  // fails with 30009 past the last row
    int col() const { return col_; }
    void setCol(int c);

    // Text of the current cell; a write with FillStyle 1 fills the selection.
    const std::string& text() const;
    void setText(const std::string& t);

    int selStartRow() const { return selStartRow_; }
    int selEndRow() const { return selEndRow_; }
    int selStartCol() const { return selStartCol_; }
    int selEndCol() const { return selEndCol_; }
    void setSelStartRow(int r);
    void setSelEndRow(int r);
    void setSelStartCol(int c);
    void setSelEndCol(int c);

    int fillStyle() const { return fillStyle_; }  // 0 current cell, 1 every selected cell
    void setFillStyle(int f) { fillStyle_ = f; changed(); }
    bool highLight() const { return highLight_; }
    void setHighLight(bool h) { highLight_ = h; changed(); }

    int topRow() const { return topRow_; }
    void setTopRow(int r);  // clamped to 0..Rows-1
    // Rows the grid shows at once: height / kRowHeight, at least 1.
    int visibleRows() const;
    static constexpr int kRowHeight = 240;  // twips

    // Inserts a row from TAB-joined text at index 0..Rows (or at the end with -1):
    // missing cells are empty, fields beyond the last column are ignored.
    void AddItem(const std::string& rowText, int index = -1);
    // The same as AddItem of the cells joined by TAB.
    void AddItem(std::vector<std::string> cells, int index);
    // The same as AddItem(cells, index) of each in turn, in one pass; the
    // indexes must rise (std::invalid_argument otherwise).
    void AddItems(std::vector<std::pair<int, std::vector<std::string>>> items);
    // Removes a row; the last remaining row cannot be removed (30015).
    void RemoveItem(int index);
    // Replaces the cells of row r from TAB-joined text as RemoveItem(r) followed by
    // AddItem(rowText, r) would, but without moving the current cell or the
    // selection (so no RowColChange); fails with 30009 past the last row.
    void setRowText(int r, const std::string& rowText);

    int colWidth(int c) const;
    void setColWidth(int c, int twips);
    Alignment colAlignment(int c) const;
    void setColAlignment(int c, Alignment a);
    bool scrollBar() const { return scrollBar_; }
    void setScrollBar(bool s) { scrollBar_ = s; changed(); }

    // Read-only access for views, tests and the runner (empty outside the grid).
    const std::string& cell(int r, int c) const;
    std::string rowText(int r) const;  // cells joined by TAB

    std::function<void()> RowColChange;

    // The user moves the current cell (mouse or arrow keys): selection collapses
    // to the cell, the first visible row follows, RowColChange once when it moved.
    void userMoveTo(int r, int c);
    // Arrow keys, Home/End (with Ctrl: first/last cell), PageUp/PageDown move the
    // cell after KeyDown; the chords of editChord run their command, Cut and Paste
    // raising CellEdit also where CellLocked holds (the handler refuses them).
    void userKeyDown(int keyCode, int shift) override;

    // Raised by Cut (the cell's text is not yet on the clipboard), Paste (with
    // the clipboard's text as pastedText gives it) and Delete (no text).
    std::function<void(EditCommand command, const std::string& pasted)> CellEdit;
    // Whether the current cell refuses Cut, Paste and Delete; unset, none does.
    std::function<bool()> CellLocked;
    // The context menu's state of a command: Copy where the cell holds text; Cut
    // and Delete there too, and Paste where pastedText is not empty, each only in
    // a usable grid on a cell that is not locked; Undo and Select All never (a
    // cell is always taken whole and keeps no undo).
    bool commandEnabled(EditCommand c) const;
    // Does nothing when the command is not enabled.
    void userCommand(EditCommand c);
    // The clipboard's text as a cell takes it: its first line up to the first
    // TAB (the grid's field separator), other control characters left out.
    std::string pastedText() const;

private:
    bool hasTextFor(EditCommand c) const;
    void runCommand(EditCommand c);
    std::vector<std::string> splitRow(const std::string& rowText) const;
    std::vector<std::string> rowOfCells(std::vector<std::string> cells) const;
    // Inserts a row of cols() cells at index 0..Rows (-1: at the end).
    void insertRow(std::vector<std::string> row, int index);
    void checkRow(int r) const;
    void checkCol(int c) const;
    void scrollIntoView(int r);  // TopRow so that row r is in view
    void clampAfterShrink();
    void moveCurrentCell(int r, int c);
    std::vector<std::vector<std::string>> cells_;
    int cols_ = 2;
    int row_ = 0, col_ = 0;
    int selStartRow_ = 0, selEndRow_ = 0, selStartCol_ = 0, selEndCol_ = 0;
    int fillStyle_ = 0;
    bool highLight_ = true;
    int topRow_ = 0;
    std::vector<int> colWidths_;
    std::vector<Alignment> colAlignments_;
    bool scrollBar_ = false;
};

}  // namespace wb
