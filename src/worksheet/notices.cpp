#include "worksheet/notices.h"

#include "platform/dialogs.h"

namespace wb {

void NotNumericNotice(Dialogs& dialogs) {
    dialogs.MsgBox("Please re-enter value", msgbox::kInformation, "Entry must be numeric");
}

void NotEditableNotice(Dialogs& dialogs) {
    dialogs.MsgBox("Press OK to Continue", msgbox::kInformation, "This field not editable");
}

}  // namespace wb
