#include "setup/setup_panel_layout.h"

#include <string>

#include "app/form1.h"

namespace wb {

namespace {

// The first set-up tab index; the panel's boxes and check boxes follow the
// Enter ring from here, its buttons and the sample come after them.
constexpr int kFirstTabIndex = 100;

const Font kLabelFont{"MS Sans Serif", 9.75, true, false};
const Font kButtonFont{"Times New Roman", 18, true, false};

// A check-box caption as the form holds it: padded with blanks to its width.
std::string padded(const char* caption, std::size_t width) {
    std::string s = caption;
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

}  // namespace

void layOutSetupPanel(Form1& f) {
    Panel& panel = f.Panel3D7;
    auto place = [&panel](Control& c, int left, int top, int width, int height) {
        c.setContainer(&panel);
        c.move(left, top, width, height);
    };

    struct LabelRow { Label& label; const char* caption; int left, top, width, height; };
    const LabelRow labels[] = {
        {f.Label12, "Set-up Screen", 165, 180, 7260, 300},
        {f.Label11, "Company Name", 240, 525, 2055, 300},
        {f.Label10, "Company Address", 240, 810, 2865, 300},
        {f.Label9, "City, State, Zip", 240, 1110, 2715, 300},
        {f.Label13, "Phone", 240, 1545, 2715, 300},
        {f.Label14, "Weight and Balance Title", 240, 2430, 2715, 300},
        {f.Label26, "Equipment List Title", 240, 2715, 2715, 300},
        {f.Label16, "Default Mechanic/Cert", 225, 3075, 2700, 300},
        {f.Label17, "No.", 5595, 3045, 390, 300},
        {f.Label22, "Printer select", 360, 4200, 1470, 300},
    };
    for (const LabelRow& l : labels) {
        place(l.label, l.left, l.top, l.width, l.height);
        l.label.setCaption(l.caption);
        l.label.setFont(kLabelFont);
    }
    f.Label12.setAlignment(Alignment::Center);

    // Boxes and check boxes in the order of the Enter ring, which is their tab order.
    struct BoxRow { TextBox& box; int left, top, width, height, maxLength; };
    const BoxRow boxes[] = {
        {f.Text17, 3075, 570, 4365, 225, 40}, {f.Text18, 3075, 840, 4365, 225, 40},
        {f.Text19, 3075, 1110, 4365, 225, 40}, {f.Text20, 3075, 1530, 4365, 225, 40},
        {f.Text21, 3075, 2445, 4365, 225, 40}, {f.Text29, 3075, 2730, 4365, 225, 40},
        {f.Text25, 3060, 3075, 2130, 225, 15}, {f.Text26, 6015, 3060, 1395, 225, 10},
    };
    int tab = kFirstTabIndex;
    for (const BoxRow& b : boxes) {
        place(b.box, b.left, b.top, b.width, b.height);
        b.box.setMaxLength(b.maxLength);
        b.box.setTabIndex(tab++);
    }

    struct CheckRow { CheckBox& check; const char* caption; std::size_t width; int left, top, w, h; };
    const CheckRow checks[] = {
        {f.Check3D1, "Print company info", 32, 345, 3360, 2655, 375},
        {f.Check3D2, "Print aircraft CG ranges", 31, 4575, 3390, 2745, 375},
        {f.Check3D3, "Print mechanic's name", 29, 345, 3705, 2655, 375},
        {f.Check3D4, "Print notes", 36, 4575, 3690, 2745, 375},
    };
    for (const CheckRow& c : checks) {
        place(c.check, c.left, c.top, c.w, c.h);
        c.check.setCaption(padded(c.caption, c.width));
        c.check.setTabIndex(tab++);
    }

    place(f.Command3D29, 360, 4560, 1005, 585);
    f.Command3D29.setCaption("");
    f.Command3D29.setPicture("printer");
    f.Command3D29.setToolTipText("Choose the printer");
    place(f.Command3D40, 2160, 4560, 1005, 585);
    f.Command3D40.setCaption("Path");
    place(f.Command3D28, 3570, 4560, 1005, 585);
    f.Command3D28.setCaption("Fonts");
    for (CommandButton* b : {&f.Command3D40, &f.Command3D28}) b->setFont(kButtonFont);
    place(f.Text28, 5010, 4560, 2490, 615);
    f.Text28.setMaxLength(40);
    for (Control* c : {static_cast<Control*>(&f.Command3D29), static_cast<Control*>(&f.Command3D40),
                       static_cast<Control*>(&f.Command3D28), static_cast<Control*>(&f.Text28)})
        c->setTabIndex(tab++);
}

}  // namespace wb
