#include "setup/printer_choice.h"

#include "app/form1.h"
#include "platform/dialogs.h"

namespace wb {

void PrinterChoice::connect() {
    f.Command3D29.Click = [this] { Command3D29_Click(); };
}

void PrinterChoice::Command3D29_Click() {
    // Whether confirmed or cancelled, nothing here changes: the dialogs'
    // backend hands a confirmed printer to the printer itself.
    f.services.dialogs->choosePrinter();
}

}  // namespace wb
