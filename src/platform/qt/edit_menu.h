#pragma once
// The context menu of the edit commands, as the system's edit boxes show it:
// Undo, Cut, Copy, Paste, Delete and Select All, each enabled as the model says.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/controls/edit_command.h"

namespace wb {

// Shows the menu at a point of the screen; the command chosen, or none when the
// menu was closed or the view went away meanwhile.
std::optional<EditCommand> chooseEditCommand(QWidget& view, const QPoint& globalPos,
                                             const std::function<bool(EditCommand)>& enabled);

}  // namespace wb
