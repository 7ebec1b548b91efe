#include "platform/controls/grid.h"

#include <algorithm>
#include <stdexcept>

#include "platform/controls/text_units.h"
#include "platform/failure.h"
#include "platform/form.h"

namespace wb {

namespace {
constexpr int kInvalidRow = 30009, kInvalidCol = 30010, kCannotRemoveLastRow = 30015;
constexpr int kDefaultColWidth = 960;

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}
}  // namespace

Grid::Grid(Form& form, std::string name)
    : Control(form, std::move(name)),
      cells_(2, std::vector<std::string>(2)),
      colWidths_(2, kDefaultColWidth),
      colAlignments_(2, Alignment::Left) {}

void Grid::checkRow(int r) const {
    if (r < 0 || r >= rows()) throw RuntimeError(kInvalidRow, "Invalid row value");
}

void Grid::checkCol(int c) const {
    if (c < 0 || c >= cols_) throw RuntimeError(kInvalidCol, "Invalid column value");
}

void Grid::moveCurrentCell(int r, int c) {
    const bool moved = r != row_ || c != col_;
    row_ = r;
    col_ = c;
    changed();
    if (moved && RowColChange) RowColChange();
}

void Grid::clampAfterShrink() {
    const int lastRow = rows() - 1, lastCol = cols_ - 1;
    selStartRow_ = std::min(selStartRow_, lastRow);
    selEndRow_ = std::min(selEndRow_, lastRow);
    selStartCol_ = std::min(selStartCol_, lastCol);
    selEndCol_ = std::min(selEndCol_, lastCol);
    topRow_ = std::min(topRow_, lastRow);
    moveCurrentCell(std::min(row_, lastRow), std::min(col_, lastCol));
}

void Grid::setRows(int n) {
    if (n < 1) throw RuntimeError(kInvalidRow, "Invalid row value");
    cells_.resize(n, std::vector<std::string>(cols_));
    clampAfterShrink();
}

void Grid::setCols(int n) {
    if (n < 1) throw RuntimeError(kInvalidCol, "Invalid column value");
    cols_ = n;
    for (auto& r : cells_) r.resize(n);
    colWidths_.resize(n, kDefaultColWidth);
    colAlignments_.resize(n, Alignment::Left);
    clampAfterShrink();
}

void Grid::setRow(int r) {
    checkRow(r);
    moveCurrentCell(r, col_);
}

void Grid::setCol(int c) {
    checkCol(c);
    moveCurrentCell(row_, c);
}

const std::string& Grid::text() const { return cell(row_, col_); }

void Grid::setText(const std::string& t) {
    if (fillStyle_ == 1) {
        const int r0 = std::min(selStartRow_, selEndRow_), r1 = std::max(selStartRow_, selEndRow_);
        const int c0 = std::min(selStartCol_, selEndCol_), c1 = std::max(selStartCol_, selEndCol_);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) cells_[r][c] = t;
    } else {
        cells_[row_][col_] = t;
    }
    changed();
}

void Grid::setSelStartRow(int r) {
    checkRow(r);
    selStartRow_ = r;
    changed();
}

void Grid::setSelEndRow(int r) {
    checkRow(r);
    selEndRow_ = r;
    changed();
}

void Grid::setSelStartCol(int c) {
    checkCol(c);
    selStartCol_ = c;
    changed();
}

void Grid::setSelEndCol(int c) {
    checkCol(c);
    selEndCol_ = c;
    changed();
}

void Grid::setTopRow(int r) {
    topRow_ = std::clamp(r, 0, rows() - 1);
    changed();
}

int Grid::visibleRows() const { return std::max(1, height() / kRowHeight); }

std::vector<std::string> Grid::splitRow(const std::string& rowText) const {
    std::vector<std::string> row(cols_);
    std::size_t start = 0;
    for (int c = 0; c < cols_ && start <= rowText.size(); ++c) {
        const std::size_t tab = rowText.find('\t', start);
        const std::size_t end = tab == std::string::npos ? rowText.size() : tab;
        row[c] = rowText.substr(start, end - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return row;
}

void Grid::AddItem(const std::string& rowText, int index) { insertRow(splitRow(rowText), index); }

std::vector<std::string> Grid::rowOfCells(std::vector<std::string> cells) const {
    for (const std::string& cell : cells) {
        if (cell.find('\t') == std::string::npos) continue;
        // A TAB inside a cell separates cells as it does in row text.
        std::string rowText;
        for (std::size_t c = 0; c < cells.size(); ++c) rowText += (c ? "\t" : "") + cells[c];
        return splitRow(rowText);
    }
    cells.resize(static_cast<std::size_t>(cols_));
    return cells;
}

void Grid::AddItem(std::vector<std::string> cells, int index) { insertRow(rowOfCells(std::move(cells)), index); }

void Grid::insertRow(std::vector<std::string> row, int index) {
    if (index == -1) index = rows();
    if (index < 0 || index > rows()) throw RuntimeError(kInvalidRow, "Invalid row value");
    cells_.insert(cells_.begin() + index, std::move(row));
    changed();
}

void Grid::AddItems(std::vector<std::pair<int, std::vector<std::string>>> items) {
    // Each new row ends where it is put, as every later one goes below it;
    // the rows there before keep their order around them.
    std::vector<std::vector<std::string>> merged;
    merged.reserve(cells_.size() + items.size());
    std::size_t old = 0;
    auto finish = [&] {
        while (old < cells_.size()) merged.push_back(std::move(cells_[old++]));
        cells_ = std::move(merged);
        changed();
    };
    for (auto& [index, cells] : items) {
        if (index < static_cast<int>(merged.size())) {
            finish();
            throw std::invalid_argument("Grid::AddItems: indexes must rise");
        }
        if (index > static_cast<int>(merged.size() + cells_.size() - old)) {
            finish();
            throw RuntimeError(kInvalidRow, "Invalid row value");
        }
        while (static_cast<int>(merged.size()) < index) merged.push_back(std::move(cells_[old++]));
        merged.push_back(rowOfCells(std::move(cells)));
    }
    finish();
}

void Grid::setRowText(int r, const std::string& rowText) {
    checkRow(r);
    cells_[r] = splitRow(rowText);
    changed();
}

void Grid::RemoveItem(int index) {
    checkRow(index);
    if (rows() == 1) throw RuntimeError(kCannotRemoveLastRow, "Cannot remove last non-fixed row");
    cells_.erase(cells_.begin() + index);
    clampAfterShrink();
}

int Grid::colWidth(int c) const {
    checkCol(c);
    return colWidths_[c];
}

void Grid::setColWidth(int c, int twips) {
    checkCol(c);
    colWidths_[c] = twips;
    changed();
}

Alignment Grid::colAlignment(int c) const {
    checkCol(c);
    return colAlignments_[c];
}

void Grid::setColAlignment(int c, Alignment a) {
    checkCol(c);
    colAlignments_[c] = a;
    changed();
}

const std::string& Grid::cell(int r, int c) const {
    if (r < 0 || r >= rows() || c < 0 || c >= cols_) return emptyText();
    return cells_[r][c];
}

std::string Grid::rowText(int r) const {
    std::string joined;
    for (int c = 0; c < cols_; ++c) {
        if (c > 0) joined += '\t';
        joined += cell(r, c);
    }
    return joined;
}

void Grid::scrollIntoView(int r) {
    const int shown = visibleRows();
    if (r < topRow_) topRow_ = r;
    else if (r >= topRow_ + shown) topRow_ = r - shown + 1;
}

void Grid::userMoveTo(int r, int c) {
    r = std::clamp(r, 0, rows() - 1);
    c = std::clamp(c, 0, cols_ - 1);
    selStartRow_ = selEndRow_ = r;
    selStartCol_ = selEndCol_ = c;
    scrollIntoView(r);
    moveCurrentCell(r, c);
}

std::string Grid::pastedText() const {
    const std::string line = text_units::pastable(form().clipboard().text(), false, -1);
    return line.substr(0, line.find('\t'));
}

// What a command works on, whether or not the cell takes it.
bool Grid::hasTextFor(EditCommand c) const {
    switch (c) {
    case EditCommand::Copy:
    case EditCommand::Cut:
    case EditCommand::Delete: return !text().empty();
    case EditCommand::Paste: return !pastedText().empty();
    case EditCommand::Undo:
    case EditCommand::SelectAll: break;
    }
    return false;
}

bool Grid::commandEnabled(EditCommand c) const {
    if (!hasTextFor(c)) return false;
    return c == EditCommand::Copy || (usable() && !(CellLocked && CellLocked()));
}

void Grid::userCommand(EditCommand c) {
    if (commandEnabled(c)) runCommand(c);
}

void Grid::runCommand(EditCommand c) {
    if (c == EditCommand::Copy)
        form().clipboard().setText(text());
    else if (CellEdit)
        CellEdit(c, c == EditCommand::Paste ? pastedText() : std::string());
}

void Grid::userKeyDown(int keyCode, int shift) {
    const int key = raiseKeyDown(keyCode, shift);
    // Delete, with any modifier, is the row deletion of the grid's KeyDown handler.
    if (const std::optional<EditCommand> command = key == keys::kDelete ? std::nullopt : editChord(key, shift)) {
        if (hasTextFor(*command)) runCommand(*command);
        return;
    }
    const bool ctrl = (shift & keys::kCtrlMask) != 0;
    switch (key) {
    case keys::kUp: userMoveTo(row_ - 1, col_); break;
    case keys::kDown: userMoveTo(row_ + 1, col_); break;
    case keys::kLeft: userMoveTo(row_, col_ - 1); break;
    case keys::kRight: userMoveTo(row_, col_ + 1); break;
    case keys::kHome: userMoveTo(ctrl ? 0 : row_, 0); break;
    case keys::kEnd: userMoveTo(ctrl ? rows() - 1 : row_, cols_ - 1); break;
    case keys::kPageUp: userMoveTo(row_ - visibleRows(), col_); break;
    case keys::kPageDown: userMoveTo(row_ + visibleRows(), col_); break;
    default: break;
    }
}

}  // namespace wb
