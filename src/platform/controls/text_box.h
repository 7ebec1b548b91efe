#pragma once
// A text box. Writing Text runs Change before the write returns (also for the
// program's own writes); a write that changes nothing raises no Change. Text longer
// than MaxLength is cut, whoever writes it. Typed keys go to KeyPress first (code by
// reference: 0 discards, another code replaces), then to the default processing.
#include "platform/controls/control.h"

namespace wb {

class TextBox : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }

    const std::string& text() const { return text_; }
    // Cut to MaxLength; the caret goes to 0 with no selection.
    void setText(const std::string& t);

    int maxLength() const { return maxLength_; }  // 0: no limit
    // Keeps the text already there; the limit applies to later writes and typing.
    void setMaxLength(int n);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool m) { multiLine_ = m; changed(); }
    bool border() const { return border_; }
    void setBorder(bool b) { border_ = b; changed(); }
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment a) { alignment_ = a; changed(); }

    // Caret position and selection, in characters; clamped to the text, negative
    // values fail with 380.
    int selStart() const { return selStart_; }
    void setSelStart(int s);
    int selLength() const { return selLength_; }
    void setSelLength(int n);

    std::function<void()> Change;

    // Inserts at the caret within MaxLength; Backspace deletes; Enter inserts a
    // line break ("\r\n") only in a multi-line box.
    void userKeyPress(int keyAscii) override;
    // Delete removes the character after the caret; Left/Right/Home/End move it.
    void userKeyDown(int keyCode, int shift) override;

private:
    // Replaces the selection by s (the user's edit), within MaxLength.
    void replaceSelection(const std::string& s);
    void userEdit(std::string text, int caret);
    std::string text_;
    int maxLength_ = 0;
    bool multiLine_ = false;
    bool border_ = true;
    Alignment alignment_ = Alignment::Left;
    int selStart_ = 0;
    int selLength_ = 0;
};

}  // namespace wb
