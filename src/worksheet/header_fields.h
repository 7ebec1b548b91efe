#pragma once
// The header boxes: Enter moves along the header order, the tail number is
// upper-cased as it is typed, a change of text marks the worksheet unsaved, and
// the result boxes refuse a click.
#include "app/subsystem.h"

namespace wb {

class Control;
class TextBox;

class HeaderFields : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Text1_KeyPress(int& keyAscii);
    // Enter moves the focus to next; eatEnter discards the key after the move.
    static void enterMovesTo(int& keyAscii, Control& next, bool eatEnter);
    void resultBoxClick();  // Text23_Click, Text24_Click, Text27_Click

private:
    void markUnsaved();  // the Change handlers of the header, date and notes boxes
};

}  // namespace wb
