#include "platform/qt/grid_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/qt/edit_menu.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

GridView::GridView(FormWindow& window, Grid& model, QWidget* parent)
    : QAbstractScrollArea(parent), window_(window), model_(model) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) { userScrolled(v); });
    follow(model_, this);
}

void GridView::sync() {
    syncing_ = true;
    syncCommon(*this, model_, QPalette::Text);
    const Qt::ScrollBarPolicy policy = model_.scrollBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy) setVerticalScrollBarPolicy(policy);
    QScrollBar* bar = verticalScrollBar();
    const int last = std::max(0, model_.rows() - model_.visibleRows());
    bar->setRange(0, std::max(last, model_.topRow()));
    bar->setPageStep(model_.visibleRows());
    bar->setSingleStep(1);
    bar->setValue(model_.topRow());
    syncing_ = false;
    viewport()->update();
}

void GridView::userScrolled(int value) {
    if (syncing_ || value == model_.topRow()) return;
    Form& form = window_.form();
    Grid& grid = model_;
    if (window_.deliver([&] { form.dispatch([&] { grid.setTopRow(value); }); })) sync();
}

int GridView::rowHeight() const { return std::max(1, twipsToPixels(Grid::kRowHeight)); }

int GridView::focusFrameWidth() const { return std::max(2, twipsToPixels(30)); }

int GridView::columnLeft(int col) const {
    int twips = 0;
    for (int c = 0; c < col; ++c) twips += model_.colWidth(c);
    return twipsToPixels(twips);
}

QRect GridView::cellRect(int row, int col) const {
    const int x = columnLeft(col);
    return QRect(x, (row - model_.topRow()) * rowHeight(), columnLeft(col + 1) - x, rowHeight());
}

bool GridView::cellAt(const QPoint& point, int& row, int& col) const {
    if (point.y() < 0 || point.x() < 0) return false;
    const int r = model_.topRow() + point.y() / rowHeight();
    if (r >= model_.rows()) return false;
    for (int c = 0; c < model_.cols(); ++c) {
        if (point.x() < columnLeft(c + 1)) {
            row = r;
            col = c;
            return true;
        }
    }
    return false;
}

void GridView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& pal = palette();
    const int height = viewport()->height();
    const int rowsShown = height / rowHeight() + 1;
    const int firstRow = model_.topRow();
    const int lastRow = std::min(model_.rows(), firstRow + rowsShown);
    const int cols = model_.cols();
    const int right = columnLeft(cols);
    const int r0 = std::min(model_.selStartRow(), model_.selEndRow());
    const int r1 = std::max(model_.selStartRow(), model_.selEndRow());
    const int c0 = std::min(model_.selStartCol(), model_.selEndCol());
    const int c1 = std::max(model_.selStartCol(), model_.selEndCol());
    const QColor lines = pal.color(QPalette::Mid);

    // Beyond the last column and row the grid shows its back colour.
    painter.fillRect(QRect(right, 0, viewport()->width() - right, height), pal.color(QPalette::Window));
    const int bottom = (lastRow - firstRow) * rowHeight();
    painter.fillRect(QRect(0, bottom, right, height - bottom), pal.color(QPalette::Window));

    for (int r = firstRow; r < lastRow; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QRect cell = cellRect(r, c);
            const bool selected = model_.highLight() && r >= r0 && r <= r1 && c >= c0 && c <= c1;
            if (selected) painter.fillRect(cell, pal.color(QPalette::Highlight));
            painter.setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
            const QRect textRect = cell.adjusted(3, 0, -3, 0);
            painter.drawText(textRect, toQtAlignment(model_.colAlignment(c)) | Qt::AlignVCenter | Qt::TextSingleLine,
                             toQString(model_.cell(r, c)));
            painter.setPen(lines);
            painter.drawLine(cell.topRight(), cell.bottomRight());
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        }
    }
    // The current cell's frame shows where the keys go: two pixels of the text
    // colour, which stand out on the cell and on the selection's highlight.
    if (hasFocus() && model_.row() >= firstRow && model_.row() < lastRow && model_.col() < cols) {
        const int width = focusFrameWidth();
        painter.setPen(QPen(pal.color(QPalette::Text), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        const QRect cell = cellRect(model_.row(), model_.col());
        painter.drawRect(QRectF(cell).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int row = 0, col = 0;
    Form& form = window_.form();
    Grid& grid = model_;
    if (cellAt(event->position().toPoint(), row, col))
        window_.deliver([&] { form.userCellClick(grid, row, col); });
    else
        window_.deliver([&] { form.userFocus(grid); });
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Form& form = window_.form();
    Grid& grid = model_;
    window_.deliver([&] { form.userDblClick(grid); });
}

// A right-click focuses the grid and moves its current cell there, as the arrow
// keys do, then offers the edit commands of that cell.
void GridView::contextMenuEvent(QContextMenuEvent* event) {
    Form& form = window_.form();
    Grid& grid = model_;
    int row = -1, col = -1;
    const bool onCell = event->reason() == QContextMenuEvent::Mouse &&
                        cellAt(viewport()->mapFromGlobal(event->globalPos()), row, col);
    const bool focused = window_.deliver([&] {
        form.userFocus(grid);
        if (onCell && form.focused() == &grid) form.dispatch([&] { grid.userMoveTo(row, col); });
    });
    if (!focused || form.focused() != &grid) return;
    const std::optional<EditCommand> command =
        chooseEditCommand(*this, event->globalPos(), [&](EditCommand c) { return grid.commandEnabled(c); });
    if (command) window_.deliver([&] { form.dispatch([&] { grid.userCommand(*command); }); });
}

void GridView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace wb
