#include "platform/qt/edit_menu.h"

#include <QMenu>
#include <QPointer>

namespace wb {

std::optional<EditCommand> chooseEditCommand(QWidget& view, const QPoint& globalPos,
                                             const std::function<bool(EditCommand)>& enabled) {
    QPointer<QWidget> alive(&view);
    QMenu menu(&view);
    const auto add = [&](const char* text, EditCommand c) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setEnabled(enabled(c));
        action->setData(static_cast<int>(c));
    };
    add("&Undo", EditCommand::Undo);
    menu.addSeparator();
    add("Cu&t", EditCommand::Cut);
    add("&Copy", EditCommand::Copy);
    add("&Paste", EditCommand::Paste);
    add("&Delete", EditCommand::Delete);
    menu.addSeparator();
    add("Select &All", EditCommand::SelectAll);
    QAction* chosen = menu.exec(globalPos);
    if (!chosen || !alive) return std::nullopt;
    return static_cast<EditCommand>(chosen->data().toInt());
}

}  // namespace wb
