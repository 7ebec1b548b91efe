#include "platform/qt/text_box_view.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

#include "platform/qt/edit_menu.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"
#include "platform/utf8.h"

namespace wb {

QString displayText(const std::string& text, bool severalLines) {
    std::string shown;
    shown.reserve(text.size());
    for (char ch : text) {
        if (ch == '\r') continue;
        shown += (ch == '\n' && !severalLines) ? ' ' : ch;
    }
    return toQString(utf8::sanitize(shown));
}

namespace {
// UTF-16 units a character takes on screen; a "\r" takes none.
int shownUnits(char32_t c) { return c == U'\r' ? 0 : c >= 0x10000 ? 2 : 1; }
}  // namespace

int displayPosition(const std::string& text, int modelPosition) {
    int shown = 0;
    std::size_t pos = 0;
    for (int index = 0; index < modelPosition && pos < text.size(); ++index)
        shown += shownUnits(utf8::decode(text, pos));
    return shown;
}

int modelPosition(const std::string& text, int displayPosition) {
    int shown = 0, index = 0;
    std::size_t pos = 0;
    while (pos < text.size() && shown < displayPosition) {
        shown += shownUnits(utf8::decode(text, pos));
        ++index;
    }
    return index;
}

// ---- Mouse and context menu ----------------------------------------------------

// A press focuses the box and puts its caret under the mouse (Shift: the
// selection grows to it).
void TextBoxMouse::press(int displayPosition, bool shift) {
    pressed_ = true;
    Form& form = window_.form();
    const int at = modelPosition(model_.text(), displayPosition);
    window_.deliver([&] {
        form.userFocus(model_);
        if (form.focused() == &model_) form.dispatch([&] { model_.userPlaceCaret(at, shift); });
    });
}

void TextBoxMouse::drag(int displayPosition) {
    if (!pressed_ || window_.form().focused() != &model_) return;
    const int at = modelPosition(model_.text(), displayPosition);
    window_.deliver([&] { window_.form().dispatch([&] { model_.userPlaceCaret(at, true); }); });
}

void TextBoxMouse::release(bool inside) {
    if (!pressed_) return;
    pressed_ = false;
    Form& form = window_.form();
    if (inside) window_.deliver([&] { form.userClick(model_); });
}

void TextBoxMouse::doubleClick(int displayPosition) {
    pressed_ = false;
    Form& form = window_.form();
    const int at = modelPosition(model_.text(), displayPosition);
    window_.deliver([&] {
        form.userDblClick(model_);
        if (form.focused() == &model_) form.dispatch([&] { model_.userSelectWord(at); });
    });
}

// The system's edit menu; a right-click focuses the box first.
void TextBoxMouse::contextMenu(QWidget& view, const QPoint& globalPos) {
    Form& form = window_.form();
    if (!window_.deliver([&] { form.userFocus(model_); }) || form.focused() != &model_) return;
    const std::optional<EditCommand> command =
        chooseEditCommand(view, globalPos, [&](EditCommand c) { return model_.commandEnabled(c); });
    if (command) window_.deliver([&] { form.dispatch([&] { model_.userCommand(*command); }); });
}

namespace {

void prepare(QWidget& w) {
    w.setAcceptDrops(false);
    w.setContextMenuPolicy(Qt::DefaultContextMenu);
    w.setAttribute(Qt::WA_InputMethodEnabled, false);
}

}  // namespace

// ---- One line --------------------------------------------------------------------

LineBoxView::LineBoxView(FormWindow& window, TextBox& model, QWidget* parent)
    : QLineEdit(parent), model_(model), mouse_(window, model) {
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
    const int anchor = displayPosition(text, model_.anchor());
    const int caret = displayPosition(text, model_.caret());
    if (anchor != caret) {
        if (selectionStart() != std::min(anchor, caret) || selectionLength() != std::abs(caret - anchor) ||
            cursorPosition() != caret)
            setSelection(anchor, caret - anchor);
    } else if (hasSelectedText() || cursorPosition() != caret) {
        deselect();
        setCursorPosition(caret);
    }
}

void LineBoxView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    mouse_.press(cursorPositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void LineBoxView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) mouse_.drag(cursorPositionAt(event->position().toPoint()));
}

void LineBoxView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouse_.release(rect().contains(event->position().toPoint()));
}

void LineBoxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouse_.doubleClick(cursorPositionAt(event->position().toPoint()));
}

void LineBoxView::contextMenuEvent(QContextMenuEvent* event) { mouse_.contextMenu(*this, event->globalPos()); }

// Qt drops the selection's highlight when the focus leaves; it comes back here.
void LineBoxView::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    sync();
}

// ---- Several lines -----------------------------------------------------------------

NotesBoxView::NotesBoxView(FormWindow& window, TextBox& model, QWidget* parent)
    : QPlainTextEdit(parent), model_(model), mouse_(window, model) {
    prepare(*this);
    viewport()->setAcceptDrops(false);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    model_.setLayout([view = QPointer<NotesBoxView>(this)] { return view ? view->layout() : TextLayout{}; });
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
    const int anchor = displayPosition(text, model_.anchor());
    const int caret = displayPosition(text, model_.caret());
    QTextCursor cursor = textCursor();
    if (cursor.anchor() != anchor || cursor.position() != caret) {
        cursor.setPosition(anchor);
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
}

TextLayout NotesBoxView::layout() const {
    TextLayout out;
    const std::string& text = model_.text();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        const int count = lines ? lines->lineCount() : 0;
        if (count == 0) out.lineStarts.push_back(modelPosition(text, block.position()));
        for (int i = 0; i < count; ++i)
            out.lineStarts.push_back(modelPosition(text, block.position() + lines->lineAt(i).textStart()));
    }
    out.pageLines = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    return out;
}

int NotesBoxView::positionAt(const QPointF& point) const { return cursorForPosition(point.toPoint()).position(); }

void NotesBoxView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    mouse_.press(positionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
}

void NotesBoxView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) mouse_.drag(positionAt(event->position()));
}

void NotesBoxView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouse_.release(viewport()->rect().contains(event->position().toPoint()));
}

void NotesBoxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouse_.doubleClick(positionAt(event->position()));
}

void NotesBoxView::contextMenuEvent(QContextMenuEvent* event) { mouse_.contextMenu(*this, event->globalPos()); }

void NotesBoxView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    sync();
}

}  // namespace wb
