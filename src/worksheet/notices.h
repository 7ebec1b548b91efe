#pragma once
// The worksheet's two refusals of what the user typed: a number that is not a
// number, and a box or column that cannot be edited.
namespace wb {

class Dialogs;

// "Entry must be numeric" / "Please re-enter value", information icon.
void NotNumericNotice(Dialogs& dialogs);
// "This field not editable" / "Press OK to Continue", information icon.
void NotEditableNotice(Dialogs& dialogs);

}  // namespace wb
