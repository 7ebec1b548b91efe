// A text box's editing keys and caret moves.
#include "platform/controls/grid.h"
#include "platform/controls/text_box.h"
#include "platform/controls/text_units.h"

namespace wb {

bool TextBox::showsSeveralLines() const { return multiLine_ && height() >= 2 * Grid::kRowHeight; }

std::vector<int> TextBox::lineStarts() const {
    if (!showsSeveralLines()) return {0};
    if (layout_) {
        std::vector<int> starts = layout_().lineStarts;
        if (!starts.empty()) return starts;
    }
    return text_units::hardLineStarts(text_);
}

int TextBox::pageLines() const {
    if (layout_) {
        const TextLayout layout = layout_();
        if (!layout.lineStarts.empty()) return std::max(1, layout.pageLines);
    }
    return std::max(1, height() / Grid::kRowHeight);
}

void TextBox::moveVertically(int lines, bool extend) {
    const std::vector<int> starts = lineStarts();
    const int line = text_units::lineOf(starts, caret_);
    const int column = goalColumn_ >= 0 ? goalColumn_ : caret_ - starts[line];
    const int target = std::clamp(line + lines, 0, static_cast<int>(starts.size()) - 1);
    const int at = std::min(starts[target] + column, text_units::lineEnd(text_, starts, target));
    place(extend ? anchor_ : at, at, true);
    goalColumn_ = column;
}

void TextBox::userKeyDown(int keyCode, int shift) {
    const int key = raiseKeyDown(keyCode, shift);
    const bool shifted = shift & keys::kShiftMask, ctrl = shift & keys::kCtrlMask;
    if (shift & keys::kAltMask) return;
    if (const std::optional<EditCommand> command = editChord(key, shift)) {
        userCommand(*command);
        return;
    }
    const auto moveTo = [&](int at) { place(shifted ? anchor_ : at, at); };
    const auto line = [&] {
        const std::vector<int> starts = lineStarts();
        const int i = text_units::lineOf(starts, caret_);
        return std::pair{starts[i], text_units::lineEnd(text_, starts, i)};
    };
    switch (key) {
    case keys::kDelete:
        if (!shifted && !ctrl && editable()) deleteForward();
        break;
    case keys::kLeft:
        if (ctrl)
            moveTo(text_units::wordLeft(text_, caret_));
        else if (!shifted && selLength() > 0)
            moveTo(selStart());
        else
            moveTo(text_units::stepBack(text_, caret_));
        break;
    case keys::kRight:
        if (ctrl)
            moveTo(text_units::wordRight(text_, caret_));
        else if (!shifted && selLength() > 0)
            moveTo(selStart() + selLength());
        else
            moveTo(text_units::stepForward(text_, caret_));
        break;
    case keys::kHome: moveTo(ctrl ? 0 : line().first); break;
    case keys::kEnd: moveTo(ctrl ? length() : line().second); break;
    case keys::kUp: moveVertically(-1, shifted); break;
    case keys::kDown: moveVertically(1, shifted); break;
    case keys::kPageUp: moveVertically(-pageLines(), shifted); break;
    case keys::kPageDown: moveVertically(pageLines(), shifted); break;
    default: break;
    }
}

}  // namespace wb
