#include "platform/controls/edit_command.h"

#include "platform/controls/control.h"

namespace wb {

std::optional<EditCommand> editChord(int keyCode, int shift) {
    const bool shifted = shift & keys::kShiftMask, ctrl = shift & keys::kCtrlMask;
    if (shift & keys::kAltMask) return std::nullopt;
    if (ctrl && !shifted) {
        switch (keyCode) {
        case 'A': return EditCommand::SelectAll;
        case 'C':
        case keys::kInsert: return EditCommand::Copy;
        case 'X': return EditCommand::Cut;
        case 'V': return EditCommand::Paste;
        case 'Z': return EditCommand::Undo;
        default: break;
        }
    }
    if (shifted && !ctrl) {
        if (keyCode == keys::kDelete) return EditCommand::Cut;
        if (keyCode == keys::kInsert) return EditCommand::Paste;
    }
    return std::nullopt;
}

}  // namespace wb
