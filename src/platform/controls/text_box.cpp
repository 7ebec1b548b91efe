#include "platform/controls/text_box.h"

#include "platform/controls/text_units.h"
#include "platform/failure.h"
#include "platform/form.h"
#include "platform/utf8.h"

namespace wb {

namespace {
constexpr int kInvalidPropertyValue = 380;

void needNotNegative(int n) {
    if (n < 0) throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
}
}  // namespace

int TextBox::length() const { return static_cast<int>(utf8::length(text_)); }

void TextBox::setText(const std::string& t) {
    std::string cut = maxLength_ > 0 ? utf8::left(t, maxLength_) : t;
    anchor_ = caret_ = 0;
    goalColumn_ = -1;
    undo_.reset();
    typing_ = false;
    if (cut == text_) {
        changed();
        return;
    }
    text_ = std::move(cut);
    changed();
    if (Change) Change();
}

void TextBox::setMaxLength(int n) {
    needNotNegative(n);
    maxLength_ = n;
    changed();
}

void TextBox::setSelStart(int s) {
    needNotNegative(s);
    place(s, s);
}

void TextBox::setSelLength(int n) {
    needNotNegative(n);
    const int start = selStart();
    place(start, start + n);
}

std::string TextBox::selText() const { return utf8::mid(text_, selStart(), selLength()); }

void TextBox::select(int anchor, int caret) { place(anchor, caret); }

void TextBox::place(int anchor, int caret, bool keepGoal) {
    const int end = length();
    anchor_ = std::clamp(anchor, 0, end);
    caret_ = std::clamp(caret, 0, end);
    typing_ = false;
    if (!keepGoal) goalColumn_ = -1;
    changed();
}

bool TextBox::edit(int from, int to, const std::string& s, bool typed) {
    const std::size_t a = utf8::offsetOf(text_, from), b = utf8::offsetOf(text_, to);
    std::string next = text_.substr(0, a) + s + text_.substr(b);
    const int caret = from + static_cast<int>(utf8::length(s));
    if (next == text_) {
        place(caret, caret);
        return true;
    }
    if (!userEditAllowed(next)) return false;
    const bool joins = typed && typing_ && from == caret_ && to == caret_;
    if (!joins) undo_ = Snapshot{text_, anchor_, caret_};
    text_ = std::move(next);
    anchor_ = caret_ = caret;
    goalColumn_ = -1;
    typing_ = typed;
    changed();
    if (Change) Change();
    return true;
}

bool TextBox::userEditAllowed(const std::string& newText) {
    bool cancel = false;
    if (UserEdit) UserEdit(newText, cancel);
    return !cancel;
}

void TextBox::typeText(const std::string& s) {
    const int kept = length() - selLength();
    if (maxLength_ > 0 && kept + static_cast<int>(utf8::length(s)) > maxLength_) return;
    edit(selStart(), selStart() + selLength(), s, true);
}

void TextBox::deleteBack() {
    if (selLength() > 0) {
        edit(selStart(), selStart() + selLength(), "", false);
    } else if (caret_ > 0) {
        edit(text_units::stepBack(text_, caret_), caret_, "", false);
    }
}

void TextBox::deleteForward() {
    if (selLength() > 0) {
        edit(selStart(), selStart() + selLength(), "", false);
    } else if (caret_ < length()) {
        edit(caret_, text_units::stepForward(text_, caret_), "", false);
    }
}

void TextBox::userKeyPress(int keyAscii) {
    const int key = raiseKeyPress(keyAscii);
    if (key == 0 || locked_) return;
    if (key == keys::kBack) {
        deleteBack();
    } else if (key == keys::kReturn) {
        if (multiLine_) typeText("\r\n");
    } else if (utf8::typesCharacter(key)) {
        typeText(utf8::encode(static_cast<char32_t>(key)));
    }
}

void TextBox::focusedByKeyboard() { place(0, length()); }

void TextBox::userPlaceCaret(int position, bool extend) {
    const int at = text_units::snap(text_, position);
    place(extend ? anchor_ : at, at);
}

void TextBox::userSelectWord(int position) {
    const auto [from, to] = text_units::wordAt(text_, position);
    place(from, to);
}

bool TextBox::commandEnabled(EditCommand c) const {
    switch (c) {
    case EditCommand::Undo: return editable() && undo_.has_value();
    case EditCommand::Cut:
    case EditCommand::Delete: return editable() && selLength() > 0;
    case EditCommand::Copy: return selLength() > 0;
    case EditCommand::Paste: return editable() && !form().clipboard().text().empty();
    case EditCommand::SelectAll: return selLength() < length();
    }
    return false;
}

void TextBox::userCommand(EditCommand c) {
    if (!commandEnabled(c)) return;
    switch (c) {
    case EditCommand::Undo: undo(); break;
    case EditCommand::Cut: {
        const std::string cut = text_units::toClipboard(selText());
        if (edit(selStart(), selStart() + selLength(), "", false)) form().clipboard().setText(cut);
        break;
    }
    case EditCommand::Copy: form().clipboard().setText(text_units::toClipboard(selText())); break;
    case EditCommand::Paste: paste(form().clipboard().text()); break;
    case EditCommand::Delete: edit(selStart(), selStart() + selLength(), "", false); break;
    case EditCommand::SelectAll: place(0, length()); break;
    }
}

void TextBox::paste(const std::string& clip) {
    const int room = maxLength_ > 0 ? std::max(0, maxLength_ - (length() - selLength())) : -1;
    const std::string s = text_units::pastable(clip, showsSeveralLines(), room);
    if (s.empty()) return;
    edit(selStart(), selStart() + selLength(), s, false);
}

// Undo swaps the box with the state before the last edit, so a second Undo
// redoes it.
void TextBox::undo() {
    if (undo_->text != text_ && !userEditAllowed(undo_->text)) return;
    Snapshot before = std::move(*undo_);
    undo_ = Snapshot{text_, anchor_, caret_};
    const bool differs = before.text != text_;
    text_ = std::move(before.text);
    anchor_ = before.anchor;
    caret_ = before.caret;
    typing_ = false;
    goalColumn_ = -1;
    changed();
    if (differs && Change) Change();
}

}  // namespace wb
