#include "platform/controls/check_box.h"

#include "platform/failure.h"

namespace wb {

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) throw RuntimeError(380, "Invalid property value");
    value_ = v;
    changed();
}

void CheckBox::userClick() {
    setValue(value_ == 1 ? 0 : 1);
    Control::userClick();
}

void CheckBox::userKeyPress(int keyAscii) {
    if (raiseKeyPress(keyAscii) == ' ') userClick();
}

}  // namespace wb
