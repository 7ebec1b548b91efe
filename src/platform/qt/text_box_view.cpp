#include "platform/qt/text_box_view.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <algorithm>

#include "platform/controls/grid.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

QString displayText(const std::string& text, bool severalLines) {
    std::string shown;
    shown.reserve(text.size());
    for (char ch : text) {
        if (ch == '\r') continue;
        shown += (ch == '\n' && !severalLines) ? ' ' : ch;
    }
    return toQString(shown);
}

int displayPosition(const std::string& text, int modelPosition) {
    const int end = std::clamp(modelPosition, 0, static_cast<int>(text.size()));
    return end - static_cast<int>(std::count(text.begin(), text.begin() + end, '\r'));
}

int modelPosition(const std::string& text, int displayPosition) {
    int i = 0, shown = 0;
    const int length = static_cast<int>(text.size());
    while (i < length && shown < displayPosition) {
        if (text[i] != '\r') ++shown;
        ++i;
    }
    return i;
}

bool showsSeveralLines(const TextBox& box) {
    return box.multiLine() && box.height() >= 2 * Grid::kRowHeight;
}

namespace {

void prepare(QWidget& w) {
    w.setAcceptDrops(false);
    w.setContextMenuPolicy(Qt::NoContextMenu);
    w.setAttribute(Qt::WA_InputMethodEnabled, false);
}

// A press focuses the box and puts its caret under the mouse.
void pressAt(FormWindow& window, TextBox& model, int position) {
    Form& form = window.form();
    window.deliver([&] {
        form.userFocus(model);
        if (form.focused() == &model) form.dispatch([&] { model.setSelStart(position); });
    });
}

void release(FormWindow& window, TextBox& model) {
    Form& form = window.form();
    window.deliver([&] { form.userClick(model); });
}

}  // namespace

LineBoxView::LineBoxView(FormWindow& window, TextBox& model, QWidget* parent)
    : QLineEdit(parent), window_(window), model_(model) {
    prepare(*this);
    setMaxLength(32767);
    follow(model_, this);
}

void LineBoxView::sync() {
    syncCommon(*this, model_, QPalette::Text);
    if (hasFrame() != model_.border()) setFrame(model_.border());
    const Qt::Alignment align = toQtAlignment(model_.alignment()) | Qt::AlignVCenter;
    if (alignment() != align) setAlignment(align);
    const std::string& text = model_.text();
    const QString shown = wb::displayText(text, false);
    if (this->text() != shown) setText(shown);
    const int start = displayPosition(text, model_.selStart());
    const int end = displayPosition(text, model_.selStart() + model_.selLength());
    if (end > start)
        setSelection(start, end - start);
    else if (hasSelectedText() || cursorPosition() != start) {
        deselect();
        setCursorPosition(start);
    }
}

void LineBoxView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    pressAt(window_, model_, modelPosition(model_.text(), cursorPositionAt(event->position().toPoint())));
}

void LineBoxView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint())) release(window_, model_);
}

void LineBoxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Form& form = window_.form();
    window_.deliver([&] { form.userDblClick(model_); });
}

NotesBoxView::NotesBoxView(FormWindow& window, TextBox& model, QWidget* parent)
    : QPlainTextEdit(parent), window_(window), model_(model) {
    prepare(*this);
    viewport()->setAcceptDrops(false);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    follow(model_, this);
}

void NotesBoxView::sync() {
    syncCommon(*this, model_, QPalette::Text);
    const QFrame::Shape shape = model_.border() ? QFrame::StyledPanel : QFrame::NoFrame;
    if (frameShape() != shape) setFrameShape(shape);
    QTextOption option = document()->defaultTextOption();
    const Qt::Alignment align = toQtAlignment(model_.alignment());
    if (option.alignment() != align) {
        option.setAlignment(align);
        document()->setDefaultTextOption(option);
    }
    const std::string& text = model_.text();
    const QString shown = wb::displayText(text, true);
    if (toPlainText() != shown) setPlainText(shown);
    const int start = displayPosition(text, model_.selStart());
    const int end = displayPosition(text, model_.selStart() + model_.selLength());
    QTextCursor cursor = textCursor();
    if (cursor.anchor() != start || cursor.position() != end) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
}

void NotesBoxView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    const int shown = cursorForPosition(event->position().toPoint()).position();
    pressAt(window_, model_, modelPosition(model_.text(), shown));
}

void NotesBoxView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (viewport()->rect().contains(event->position().toPoint())) release(window_, model_);
}

void NotesBoxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Form& form = window_.form();
    window_.deliver([&] { form.userDblClick(model_); });
}

}  // namespace wb
