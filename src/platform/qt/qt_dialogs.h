#pragma once
// The dialogs of the program on Qt: message boxes with the runtime's styles and
// answers, the font dialog and the printer dialog, each in the desktop's font at
// the view scale.
#include <QMessageBox>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialogs.h"

class QPrintDialog;
class QPrinter;

namespace wb {

// What a message box style asks for: its buttons in order, its icon and its
// default button.
struct MsgBoxLayout {
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
};
MsgBoxLayout msgBoxLayout(int style);
// The runtime's answer code for a button (msgbox::kOk, kYes, ...).
int msgBoxAnswer(QMessageBox::StandardButton button);
// The width a window needs for its whole title in the title bar's font, with
// room for the bar's icon and buttons.
int titleBarWidth(const QString& title, const QStyle& style);
// A font as the system will draw it: the installed family that stands in for
// the face (Liberation Sans for Arial), with its size, bold and italic.
QFont resolvedFont(const Font& font);
// The printer dialog on a printer: it chooses among the installed printers,
// with an "OK" button and no print-to-file entry.
std::unique_ptr<QPrintDialog> printerDialog(QPrinter& printer, QWidget* parent);

class QtDialogs : public Dialogs {
public:
    // printer gives the QPrinter that the printer dialog sets up (the one the
    // printouts use); null leaves the printer dialog without a printer.
    explicit QtDialogs(std::function<QPrinter*()> printer = {});

    int MsgBox(const std::string& text, int style, const std::string& title) override;
    std::optional<Font> chooseFont(const Font& preset) override;
    bool choosePrinter() override;

private:
    std::function<QPrinter*()> printer_;
};

}  // namespace wb
