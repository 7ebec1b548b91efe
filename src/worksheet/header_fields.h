#pragma once
// The header boxes: Enter moves along the header order, the tail number is
// upper-cased as it is typed, a change of text (in the CG ranges: the user's
// edit) marks the worksheet unsaved, the number boxes refuse a number cut short
// by a comma or a second point, and the result boxes refuse a click and every
// edit.
#include <string>

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
    void resultBoxEdit(bool& cancel);
    // Tach, Empty, C.G. and Max Wgt (Text8 to Text11).
    void numberBoxEdit(const std::string& newText, bool& cancel);
    void markUnsaved();  // the Change handlers of the header, date and notes boxes
};

}  // namespace wb
