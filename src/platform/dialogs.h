#pragma once
// Message boxes and the two common dialogs, asked through an interface: the Qt
// backend shows real dialogs, the scenario runner answers from its script.
#include <optional>
#include <string>

#include "platform/controls/control.h"

namespace wb {

// Message box styles: buttons + icon + default button, as the runtime adds them.
namespace msgbox {
constexpr int kOkOnly = 0, kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4;
constexpr int kCritical = 16, kQuestion = 32, kExclamation = 48, kInformation = 64;
constexpr int kDefaultButton2 = 256;
// Answers.
constexpr int kOk = 1, kCancel = 2, kYes = 6, kNo = 7;
}

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message box and returns the answer (msgbox::kOk, kYes, ...).
    virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
    // The font dialog, preset with a font; nothing when the user cancels.
    virtual std::optional<Font> chooseFont(const Font& preset) = 0;
    // The printer dialog; true when the user confirmed a printer.
    virtual bool choosePrinter() = 0;
};

}  // namespace wb
