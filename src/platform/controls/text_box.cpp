#include "platform/controls/text_box.h"

#include <algorithm>

#include "platform/failure.h"
#include "platform/utf8.h"

namespace wb {

namespace {
constexpr int kInvalidPropertyValue = 380;
}

void TextBox::setText(const std::string& t) {
    std::string cut = maxLength_ > 0 ? utf8::left(t, static_cast<size_t>(maxLength_)) : t;
    selStart_ = 0;
    selLength_ = 0;
    if (cut == text_) {
        changed();
        return;
    }
    text_ = std::move(cut);
    changed();
    if (Change) Change();
}

void TextBox::setMaxLength(int n) {
    if (n < 0) throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
    maxLength_ = n;
    changed();
}

void TextBox::setSelStart(int s) {
    if (s < 0) throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
    const int length = static_cast<int>(text_.size());
    selStart_ = std::min(s, length);
    selLength_ = 0;
    changed();
}

void TextBox::setSelLength(int n) {
    if (n < 0) throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
    selLength_ = std::min(n, static_cast<int>(text_.size()) - selStart_);
    changed();
}

void TextBox::userEdit(std::string text, int caret) {
    selStart_ = caret;
    selLength_ = 0;
    if (text == text_) {
        changed();
        return;
    }
    text_ = std::move(text);
    changed();
    if (Change) Change();
}

void TextBox::replaceSelection(const std::string& s) {
    const size_t kept = utf8::length(text_) - utf8::length(text_.substr(selStart_, selLength_));
    if (maxLength_ > 0 && kept + utf8::length(s) > static_cast<size_t>(maxLength_)) return;
    std::string next = text_.substr(0, selStart_) + s + text_.substr(selStart_ + selLength_);
    userEdit(std::move(next), selStart_ + static_cast<int>(s.size()));
}

void TextBox::userKeyPress(int keyAscii) {
    const int key = raiseKeyPress(keyAscii);
    if (key == 0) return;
    if (key == keys::kBack) {
        if (selLength_ > 0) {
            replaceSelection("");
        } else if (selStart_ > 0) {
            std::string next = text_;
            const int from = static_cast<int>(utf8::offsetOf(text_, utf8::length(text_.substr(0, selStart_)) - 1));
            next.erase(from, selStart_ - from);
            userEdit(std::move(next), from);
        }
        return;
    }
    if (key == keys::kReturn) {
        if (multiLine_) replaceSelection("\r\n");
        return;
    }
    if (key < 32) return;  // other control keys
    replaceSelection(utf8::encode(static_cast<char32_t>(key)));
}

void TextBox::userKeyDown(int keyCode, int shift) {
    const int key = raiseKeyDown(keyCode, shift);
    const int length = static_cast<int>(text_.size());
    switch (key) {
    case keys::kDelete:
        if (selLength_ > 0) {
            replaceSelection("");
        } else if (selStart_ < length) {
            std::string next = text_;
            next.erase(selStart_, 1);
            userEdit(std::move(next), selStart_);
        }
        break;
    case keys::kLeft:
        setSelStart(selLength_ > 0 ? selStart_ : std::max(0, selStart_ - 1));
        break;
    case keys::kRight:
        setSelStart(selLength_ > 0 ? selStart_ + selLength_ : std::min(length, selStart_ + 1));
        break;
    case keys::kHome:
        setSelStart(0);
        break;
    case keys::kEnd:
        setSelStart(length);
        break;
    default:
        break;
    }
}

}  // namespace wb
