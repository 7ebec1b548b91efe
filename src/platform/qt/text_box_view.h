#pragma once
// Views of a text box. They show the model's text and selection and never edit:
// keys reach the model through the window; a mouse press puts the model's caret
// there, a drag extends the selection, a double-click selects a word, a release
// is the model's Click; the context menu runs the model's edit commands. One-line
// boxes are a QLineEdit, boxes of several lines (the notes) a QPlainTextEdit.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "platform/controls/text_box.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

// The model's text is UTF-8 with "\r\n" line breaks; the widgets show "\n" (or
// a blank on one line). Positions convert between the model's characters and
// the widget's UTF-16 units.
QString displayText(const std::string& text, bool severalLines);
int displayPosition(const std::string& text, int modelPosition);
int modelPosition(const std::string& text, int displayPosition);

// What both views do with the mouse and the context menu.
class TextBoxMouse {
public:
    TextBoxMouse(FormWindow& window, TextBox& model) : window_(window), model_(model) {}
    void press(int displayPosition, bool shift);
    void drag(int displayPosition);
    void release(bool inside);
    void doubleClick(int displayPosition);
    void contextMenu(QWidget& view, const QPoint& globalPos);

private:
    FormWindow& window_;
    TextBox& model_;
    bool pressed_ = false;
};

class LineBoxView : public QLineEdit, public ControlView {
public:
    LineBoxView(FormWindow& window, TextBox& model, QWidget* parent);
    void sync() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    TextBox& model_;
    TextBoxMouse mouse_;
};

class NotesBoxView : public QPlainTextEdit, public ControlView {
public:
    NotesBoxView(FormWindow& window, TextBox& model, QWidget* parent);
    void sync() override;
    // The lines as laid out on screen, for the model's Up, Down and page keys.
    TextLayout layout() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int positionAt(const QPointF& point) const;
    TextBox& model_;
    TextBoxMouse mouse_;
};

}  // namespace wb
