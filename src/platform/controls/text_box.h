#pragma once
// A text box. Writing Text runs Change before the write returns (also for the
// program's own writes); a write that changes nothing raises no Change. Text longer
// than MaxLength is cut, whoever writes it. Typed keys go to KeyPress first (code by
// reference: 0 discards, another code replaces), then to the default processing.
// The text is UTF-8; every position and length counts characters, never bytes.
//
// Default processing edits the way the system's edit boxes do: the selection
// runs from an anchor to the caret (Shift with the arrows, Home, End and, where
// the box shows several lines, Up, Down, PageUp, PageDown and Ctrl+Home/End
// moves the caret end); typing, Backspace and Delete replace the selection;
// Ctrl+A selects all; Ctrl+C/X/V, Ctrl+Insert, Shift+Delete, Shift+Insert use
// the form's clipboard; Ctrl+Z undoes the last edit of the user.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/edit_command.h"

namespace wb {

// How a view lays out the lines of a box: the position where each shown line
// starts (the first is 0) and how many lines a page holds.
struct TextLayout {
    std::vector<int> lineStarts;
    int pageLines = 1;
};

class TextBox : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }

    const std::string& text() const { return text_; }
    // Cut to MaxLength; the caret goes to 0 with no selection; nothing to undo.
    void setText(const std::string& t);
    int length() const;  // in characters

    int maxLength() const { return maxLength_; }  // 0: no limit
    // Keeps the text already there; the limit applies to later writes and typing.
    void setMaxLength(int n);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool m) { multiLine_ = m; changed(); }
    bool border() const { return border_; }
    void setBorder(bool b) { border_ = b; changed(); }
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment a) { alignment_ = a; changed(); }
    // A locked box can be selected and copied from, never edited by the user.
    bool locked() const { return locked_; }
    void setLocked(bool l) { locked_ = l; changed(); }
    // A multi-line box at least two rows high shows several lines; any other box
    // shows one, and a line break pasted into it ends the pasted text.
    bool showsSeveralLines() const;

    // Caret position and selection, in characters; clamped to the text, negative
    // values fail with 380.
    int selStart() const { return std::min(anchor_, caret_); }
    void setSelStart(int s);
    int selLength() const { return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_; }
    void setSelLength(int n);
    std::string selText() const;
    // The end of the selection where the caret stands, and the other end.
    int caret() const { return caret_; }
    int anchor() const { return anchor_; }
    // Selects from anchor to caret, both clamped to the text.
    void select(int anchor, int caret);

    std::function<void()> Change;
    // A user's edit (typing, Backspace, Delete, Cut, Paste, Undo) is about to
    // make the text newText; setting cancel refuses it, and the box keeps its
    // text and selection. The program's own writes (setText) do not raise it.
    std::function<void(const std::string& newText, bool& cancel)> UserEdit;

    // Inserts any character at the caret (replacing the selection) within
    // MaxLength; Backspace deletes; Enter inserts a line break ("\r\n") only in
    // a multi-line box.
    void userKeyPress(int keyAscii) override;
    // Editing, moving and selecting keys; see the top of the file.
    void userKeyDown(int keyCode, int shift) override;
    // The whole text is selected, the caret at its end.
    void focusedByKeyboard() override;

    // The mouse: a press puts the caret at a position (extend: the selection
    // grows to it, as a drag or Shift+click does); a double-click selects the
    // word there.
    void userPlaceCaret(int position, bool extend);
    void userSelectWord(int position);

    bool commandEnabled(EditCommand c) const;
    // Does nothing when the command is not enabled. Paste inserts the clipboard's
    // text at the selection, cut at MaxLength, with one Change and no KeyPress.
    void userCommand(EditCommand c);

    // The view tells how it lays out lines; without it (or when it gives no
    // lines) lines end at line breaks and a page is the box's height.
    void setLayout(std::function<TextLayout()> layout) { layout_ = std::move(layout); }

private:
    struct Snapshot {
        std::string text;
        int anchor, caret;
    };
    // Moves the selection (no edit); keepGoal keeps the column of Up and Down.
    void place(int anchor, int caret, bool keepGoal = false);
    // The user's edit: characters [from, to) become s, the caret after it.
    // False when the UserEdit handler refused it.
    bool edit(int from, int to, const std::string& s, bool typed);
    // Typing: replaces the selection when the result fits MaxLength.
    void typeText(const std::string& s);
    void deleteBack();
    void deleteForward();
    void paste(const std::string& clip);
    void undo();
    bool editable() const { return !locked_ && usable(); }
    // Whether the UserEdit handler lets the user's edit make the text newText.
    bool userEditAllowed(const std::string& newText);
    std::vector<int> lineStarts() const;
    int pageLines() const;
    void moveVertically(int lines, bool extend);

    std::string text_;
    int maxLength_ = 0;
    bool multiLine_ = false;
    bool border_ = true;
    bool locked_ = false;
    Alignment alignment_ = Alignment::Left;
    int anchor_ = 0;
    int caret_ = 0;
    int goalColumn_ = -1;  // of a run of Up and Down
    std::optional<Snapshot> undo_;
    bool typing_ = false;  // the last edit was typing, which the next key joins
    std::function<TextLayout()> layout_;
};

}  // namespace wb
