#pragma once
// The grid's view: cells painted from the model (no headers, no fixed rows or
// columns), column widths in twips, the selection highlighted when HighLight is
// on, the current cell framed while the grid has the focus, the first visible
// row from TopRow. A click on a cell is the model's cell click; the scroll bar
// sets TopRow. Keys reach the model through the window, the clipboard's chords
// among them; the context menu runs the model's edit commands on the cell under
// the mouse. It never edits a cell.
#include <QAbstractScrollArea>

#include "platform/controls/grid.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

class GridView : public QAbstractScrollArea, public ControlView {
public:
    GridView(FormWindow& window, Grid& model, QWidget* parent);
    void sync() override;

    // The cell under a point of the viewport; false outside every cell.
    bool cellAt(const QPoint& point, int& row, int& col) const;
    // The rectangle of a cell in the viewport (rows above TopRow lie above it).
    QRect cellRect(int row, int col) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int, int) override {}

private:
    void userScrolled(int value);
    int rowHeight() const;
    int focusFrameWidth() const;
    int columnLeft(int col) const;

    FormWindow& window_;
    Grid& model_;
    bool syncing_ = false;
};

}  // namespace wb
