#include "worksheet/header_fields.h"

#include "app/form1.h"
#include "platform/numbers.h"
#include "worksheet/notices.h"

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

    // The CG ranges have no Change handler: only the user's edits mark them.
    for (TextBox* box : {&f.Text14, &f.Text15, &f.Text16})
        box->UserEdit = [this](const std::string&, bool&) { markUnsaved(); };

    for (TextBox* box : {&f.Text8, &f.Text9, &f.Text10, &f.Text11})
        box->UserEdit = [this](const std::string& newText, bool& cancel) { numberBoxEdit(newText, cancel); };

    for (TextBox* box : {&f.Text23, &f.Text24, &f.Text27}) {
        box->Click = [this] { resultBoxClick(); };
        box->UserEdit = [this](const std::string&, bool& cancel) { resultBoxEdit(cancel); };
    }
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
    NotEditableNotice(*f.services.dialogs);
    f.Grid1.SetFocus();
}

void HeaderFields::resultBoxEdit(bool& cancel) {
    cancel = true;
    NotEditableNotice(*f.services.dialogs);
}

// The leading-number parse reads "1,850.5" as 1 and "1.2.3" as 1.2: an edit
// that would leave a comma or a second point within the number is refused.
void HeaderFields::numberBoxEdit(const std::string& newText, bool& cancel) {
    if (!leadingNumberCutShort(newText)) return;
    cancel = true;
    NotNumericNotice(*f.services.dialogs);
}

}  // namespace wb
