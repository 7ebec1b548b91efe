#pragma once
// Views of a text box. They show the model's text and caret and never edit:
// keys reach the model through the window; a mouse press moves the model's
// caret, a release is the model's Click. One-line boxes are a QLineEdit, boxes
// of several lines (the notes) a QPlainTextEdit.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "platform/controls/text_box.h"

namespace wb {

class FormWindow;

// The model's text holds "\r\n" line breaks; the widgets show "\n" (or a blank
// on one line). Positions convert between the two.
QString displayText(const std::string& text, bool severalLines);
int displayPosition(const std::string& text, int modelPosition);
int modelPosition(const std::string& text, int displayPosition);

// Whether a box shows several lines: a multi-line box at least two lines high.
bool showsSeveralLines(const TextBox& box);

class LineBoxView : public QLineEdit {
public:
    LineBoxView(FormWindow& window, TextBox& model, QWidget* parent);
    void sync();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FormWindow& window_;
    TextBox& model_;
    bool pressed_ = false;
};

class NotesBoxView : public QPlainTextEdit {
public:
    NotesBoxView(FormWindow& window, TextBox& model, QWidget* parent);
    void sync();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FormWindow& window_;
    TextBox& model_;
    bool pressed_ = false;
};

}  // namespace wb
