#include "worksheet/header_fields.h"

#include "app/form1.h"
#include "platform/dialogs.h"

namespace wb {

void HeaderFields::connect() {
    f.Text1.KeyPress = [this](int& k) { Text1_KeyPress(k); };

    // Box -> where Enter moves; the header boxes eat the Enter, the CG ranges do not.
    struct EnterMove { TextBox& box; Control& next; bool eatEnter; };
    const EnterMove moves[] = {
        {f.Text2, f.Text3, true},    {f.Text3, f.Text4, true},     {f.Text4, f.Text5, true},
        {f.Text5, f.Text8, true},    {f.Text8, f.Text9, true},     {f.Text9, f.Text10, true},
        {f.Text10, f.Text11, true},  {f.Text11, f.Text6, true},    {f.Text6, f.Text22, true},
        {f.Text22, f.Text12, true},  {f.Text12, f.Text7, true},    {f.Text7, f.Grid1, true},
        {f.Text14, f.Text15, false}, {f.Text15, f.Text16, false},  {f.Text16, f.Grid2, false},
    };
    for (const EnterMove& m : moves) {
        Control* next = &m.next;
        const bool eat = m.eatEnter;
        m.box.KeyPress = [next, eat](int& k) { enterMovesTo(k, *next, eat); };
    }

    for (TextBox* box : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text5, &f.Text6, &f.Text7,
                         &f.Text8, &f.Text9, &f.Text10, &f.Text11, &f.Text12, &f.Text13, &f.Text22})
        box->Change = [this] { markUnsaved(); };

    for (TextBox* box : {&f.Text23, &f.Text24, &f.Text27})
        box->Click = [this] { resultBoxClick(); };
}

void HeaderFields::enterMovesTo(int& keyAscii, Control& next, bool eatEnter) {
    if (keyAscii != 13) return;
    if (eatEnter) keyAscii = 0;
    next.SetFocus();
}

void HeaderFields::Text1_KeyPress(int& keyAscii) {
    enterMovesTo(keyAscii, f.Text2, true);
    if (keyAscii >= 'a' && keyAscii <= 'z') keyAscii -= 32;
}

void HeaderFields::markUnsaved() { f.ws.SavedState = 0; }

void HeaderFields::resultBoxClick() {
    f.services.dialogs->MsgBox("Press OK to Continue", msgbox::kInformation,
                               "This field not editable");
    f.Grid1.SetFocus();
}

}  // namespace wb
