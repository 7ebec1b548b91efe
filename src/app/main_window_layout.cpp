// The main window's controls: containers, positions in twips, captions, colours,
// limits and tab order. The set-up and data-path panels only get their contents
// placed inside them here; their layout belongs to setup/.
#include <initializer_list>
#include <utility>

#include "app/form1.h"

namespace wb {

namespace {

void place(Control& c, Panel* panel, int left, int top, int width, int height) {
    c.setContainer(panel);
    c.move(left, top, width, height);
}

// Yellow text reads only on a dark ground: this one gives it a contrast of
// about 12:1. Red and blue text keep the light ground they read on.
constexpr unsigned kYellowTextBack = 0x333333;

void yellowText(Control& c) {
    c.setForeColor(colors::kYellow);
    c.setBackColor(kYellowTextBack);
}

void captionButton(CommandButton& b, Panel& panel, const char* text, int left, int top, int width,
             int height, unsigned color) {
    place(b, &panel, left, top, width, height);
    b.setCaption(text);
    if (color == colors::kYellow)
        yellowText(b);
    else
        b.setForeColor(color);
}

void labelAt(Label& l, Panel& panel, const char* text, int left, int top, int width, int height) {
    place(l, &panel, left, top, width, height);
    l.setCaption(text);
}

// A one-line box of the header or the result row: multi-line, no border.
void oneLineBox(TextBox& t, int maxLength, Alignment alignment) {
    t.setMultiLine(true);
    t.setBorder(false);
    t.setAlignment(alignment);
    t.setMaxLength(maxLength);
}

void toolbarButton(CommandButton& b, int left, int width, const char* text, const char* picture,
                   const char* toolTip, int tabIndex) {
    place(b, nullptr, left, 6315, width, 585);
    b.setCaption(text);
    b.setPicture(picture);
    b.setToolTipText(toolTip);
    b.setTabIndex(tabIndex);
}

void columns(Grid& g, std::initializer_list<std::pair<int, Alignment>> cols) {
    int c = 0;
    for (const auto& [width, alignment] : cols) {
        g.setColWidth(c, width);
        g.setColAlignment(c, alignment);
        ++c;
    }
}

constexpr Alignment L = Alignment::Left, C = Alignment::Center, R = Alignment::Right;

}  // namespace

void Form1::layOut() {
    setCaption("Weight and Balance");
    setClientSize(kClientWidth, kClientHeight);
    using namespace colors;

    // Panels.
    place(Panel3D1, nullptr, 0, 0, 9615, 6315);
    place(Panel3D3, &Panel3D1, 45, 345, 9480, 405);
    place(Panel3D2, &Panel3D1, 60, 735, 9450, 390);
    place(Panel3D8, &Panel3D1, 105, 5760, 9420, 435);
    place(Panel3D6, nullptr, 960, -45, 7320, 6360);
    place(Panel3D5, nullptr, 660, 2520, 8220, 1875);
    place(Panel3D4, nullptr, 1920, 510, 5160, 4965);
    place(Panel3D7, nullptr, 600, 540, 7800, 5415);
    place(Panel3D11, nullptr, 2115, 1020, 4965, 4035);
    for (Panel* p : {&Panel3D6, &Panel3D5, &Panel3D4, &Panel3D7, &Panel3D11}) p->setVisible(false);

    // Header captions (red); Command3D20 toggles "Tach" / "Hobbs".
    captionButton(Command3D7, Panel3D1, "Tail #", 105, 90, 840, 255, kRed);
    captionButton(Command3D8, Panel3D1, "Serial #", 930, 90, 1200, 255, kRed);
    captionButton(Command3D9, Panel3D1, "Make", 2100, 90, 1665, 255, kRed);
    captionButton(Command3D10, Panel3D1, "Model", 3750, 90, 1275, 255, kRed);
    captionButton(Command3D11, Panel3D1, "Year", 5010, 90, 795, 255, kRed);
    captionButton(Command3D20, Panel3D1, "Tach", 5775, 90, 975, 255, kRed);
    captionButton(Command3D21, Panel3D1, "Empty", 6735, 90, 975, 255, kRed);
    captionButton(Command3D24, Panel3D1, "C.G.", 7695, 90, 870, 255, kRed);
    captionButton(Command3D25, Panel3D1, "Max Wgt", 8535, 90, 960, 255, kRed);

    // Header boxes: limit and tab index give the Enter order.
    struct HeaderBox { TextBox& box; Panel& panel; int left, top, width, height, limit; };
    const HeaderBox header[] = {
        {Text1, Panel3D3, 75, 75, 810, 270, 6},       {Text2, Panel3D3, 915, 75, 1140, 270, 10},
        {Text3, Panel3D3, 2085, 75, 1605, 270, 13},   {Text4, Panel3D3, 3720, 75, 1245, 270, 11},
        {Text5, Panel3D3, 4995, 75, 720, 270, 4},     {Text8, Panel3D3, 5745, 75, 930, 270, 8},
        {Text9, Panel3D3, 6710, 75, 930, 270, 8},     {Text10, Panel3D3, 7665, 75, 825, 270, 7},
        {Text11, Panel3D3, 8520, 75, 900, 270, 8},    {Text6, Panel3D2, 420, 75, 1905, 225, 15},
        {Text22, Panel3D2, 3105, 90, 1245, 210, 10},  {Text12, Panel3D2, 6060, 90, 1245, 210, 10},
        {Text7, Panel3D2, 8220, 90, 1095, 210, 10},
    };
    int tab = 1;
    for (const HeaderBox& h : header) {
        place(h.box, &h.panel, h.left, h.top, h.width, h.height);
        oneLineBox(h.box, h.limit, C);
        h.box.setTabIndex(tab++);
    }
    labelAt(Label2, Panel3D2, "By", 90, 60, 420, 270);
    labelAt(Label15, Panel3D2, "Cert", 2625, 45, 435, 270);
    labelAt(Label3, Panel3D2, "Work Order", 4785, 45, 1260, 270);
    labelAt(Label1, Panel3D2, "Date", 7635, 60, 585, 270);

    // Change list.
    captionButton(Command3D1, Panel3D1, "Description", 105, 1170, 2850, 240, kYellow);
    captionButton(Command3D22, Panel3D1, "Serial", 2925, 1170, 1290, 240, kRed);
    captionButton(Command3D2, Panel3D1, "Weight", 4200, 1170, 1105, 240, kYellow);
    captionButton(Command3D3, Panel3D1, "Arm", 5295, 1170, 1105, 240, kYellow);
    captionButton(Command3D4, Panel3D1, "Moment", 6390, 1170, 1110, 240, kYellow);
    captionButton(Command3D5, Panel3D1, "Installed", 7485, 1170, 885, 240, kBlue);
    captionButton(Command3D6[0], Panel3D1, "Removed", 8355, 1170, 885, 240, kRed);
    place(Grid1, &Panel3D1, 120, 1410, 9360, 4350);
    Grid1.setCols(7);
    Grid1.setScrollBar(true);
    Grid1.setTabIndex(14);

    // New values: written by the recalculation only.
    labelAt(Label18, Panel3D8, "New values", 90, 60, 1995, 270);
    place(Text23, &Panel3D8, 4080, 90, 1110, 255);
    place(Text24, &Panel3D8, 5220, 90, 1050, 255);
    place(Text27, &Panel3D8, 6300, 90, 1080, 255);
    for (TextBox* t : {&Text23, &Text24, &Text27}) oneLineBox(*t, 10, R);
    Text23.setTabIndex(15);
    Text24.setTabIndex(16);
    Text27.setTabIndex(17);

    // CG specifications panel.
    labelAt(Label5, Panel3D6, "Aircraft Center of Gravity Specifications", 255, 165, 6810, 270);
    Label5.setAlignment(C);
    labelAt(Label6, Panel3D6, "C.G. range landing:", 240, 390, 2055, 300);
    place(Text14, &Panel3D6, 3075, 435, 3900, 225);
    labelAt(Label7, Panel3D6, "C.G. range gear extended:", 240, 675, 2805, 300);
    place(Text15, &Panel3D6, 3075, 705, 3900, 225);
    labelAt(Label8, Panel3D6, "Empty weight C.G. range:", 240, 975, 2715, 300);
    place(Text16, &Panel3D6, 3075, 975, 3900, 225);
    tab = 20;
    for (TextBox* t : {&Text14, &Text15, &Text16}) {
        t->setBorder(false);
        t->setAlignment(C);
        t->setMaxLength(40);
        t->setTabIndex(tab++);
    }
    captionButton(Command3D30, Panel3D6, "Jack Location", 135, 1245, 1605, 240, kBlack);
    captionButton(Command3D6[1], Panel3D6, "Tare", 1725, 1245, 885, 240, kRed);
    captionButton(Command3D6[3], Panel3D6, "Weight", 2595, 1245, 1330, 240, kBlue);
    captionButton(Command3D6[2], Panel3D6, "Inches to Datum", 3915, 1245, 1620, 240, kBlue);
    captionButton(Command3D6[4], Panel3D6, "Moment", 5520, 1245, 1620, 240, kBlue);
    place(Grid2, &Panel3D6, 150, 1470, 7005, 1230);
    captionButton(Command3D33, Panel3D6, "Fluid Description", 150, 2730, 2475, 240, kBlack);
    captionButton(Command3D6[6], Panel3D6, "Weight", 2610, 2730, 1305, 240, kBlue);
    captionButton(Command3D6[7], Panel3D6, "Inches to Datum", 3900, 2730, 1620, 240, kBlue);
    captionButton(Command3D6[5], Panel3D6, "Moment", 5505, 2730, 1650, 240, kRed);
    place(Grid4, &Panel3D6, 165, 2955, 7005, 1230);
    captionButton(Command3D38, Panel3D6, "Equipment List", 150, 4215, 2160, 240, kBlack);
    captionButton(Command3D34, Panel3D6, "Serial", 2295, 4215, 1140, 240, kYellow);
    captionButton(Command3D37, Panel3D6, "Weight", 3420, 4215, 1095, 240, kYellow);
    captionButton(Command3D36, Panel3D6, "Arm", 4500, 4215, 1105, 240, kYellow);
    captionButton(Command3D35, Panel3D6, "Moment", 5595, 4215, 1560, 240, kYellow);
    place(Grid3, &Panel3D6, 165, 4440, 7005, 1230);
    Grid2.setCols(5);
    Grid2.setRows(5);
    Grid4.setCols(4);
    Grid4.setRows(5);
    Grid3.setCols(5);
    Grid3.setRows(100);
    Grid3.setScrollBar(true);
    Grid2.setTabIndex(23);
    Grid4.setTabIndex(24);
    Grid3.setTabIndex(25);
    place(Command3D32, &Panel3D6, 6105, 5685, 1005, 465);
    Command3D32.setPicture("weight-and-balance");
    Command3D32.setToolTipText("Print the weight and balance report");
    Command3D32.setTabIndex(26);
    labelAt(Label24, Panel3D6, "Red=Subtracted automatically", 165, 5685, 2625, 225);
    Label24.setForeColor(kRed);
    labelAt(Label25, Panel3D6, "Blue=To calculate CG", 3000, 5685, 1950, 225);
    Label25.setForeColor(kBlue);
    labelAt(Label23, Panel3D6, "Yellow=For information only", 150, 5910, 2820, 225);
    yellowText(Label23);

    // Notes panel.
    place(Text13, &Panel3D5, 105, 120, 7995, 1650);
    Text13.setMultiLine(true);
    Text13.setBorder(true);
    Text13.setFont(Font{"MS Sans Serif", 8.25, true, false});
    Text13.setTabIndex(30);

    // About panel.
    labelAt(Label4, Panel3D4, "Weight and Balance", 240, 480, 4680, 600);
    Label4.setFont(Font{"Times New Roman", 18, true, false});
    labelAt(Label19, Panel3D4, "Weighing worksheets, records and reports", 240, 1500, 4680, 300);
    labelAt(Label20, Panel3D4, "for aircraft maintenance shops.", 240, 1800, 4680, 300);
    labelAt(Label21, Panel3D4, "Empty weight, moment and C.G. after equipment changes.", 240, 2400, 4680,
          600);
    for (Label* l : {&Label4, &Label19, &Label20, &Label21}) l->setAlignment(C);

    // Set-up panel contents (laid out in setup/).
    for (Control* c : std::initializer_list<Control*>{
             &Label12, &Label11, &Text17, &Label10, &Text18, &Label9, &Text19, &Label13, &Text20,
             &Label14, &Text21, &Label26, &Text29, &Label16, &Text25, &Label17, &Text26, &Check3D1,
             &Check3D2, &Check3D3, &Check3D4, &Label22, &Command3D29, &Command3D40, &Command3D28,
             &Text28})
        c->setContainer(&Panel3D7);
    // Data-path panel contents (laid out in setup/).
    for (Control* c :
         std::initializer_list<Control*>{&Label28, &Drive1, &Dir1, &Command3D31, &Command3D39})
        c->setContainer(&Panel3D11);

    // Toolbar row.
    toolbarButton(Command3D17, 0, 495, "", "previous", "Previous record", 40);
    toolbarButton(Command3D18, 480, 900, "Set-up", "", "", 41);
    toolbarButton(Command3D23, 1365, 1065, "SPECS", "specs", "Open or close the C.G. specifications", 42);
    toolbarButton(Command3D15, 2415, 965, "Notes", "", "", 43);
    toolbarButton(Command3D27, 3360, 975, "", "logbook", "Print the logbook entry", 44);
    toolbarButton(Command3D26, 4290, 975, "", "about", "About this program", 45);
    toolbarButton(Command3D14, 5250, 1005, "", "equipment-change", "Print the equipment change report", 46);
    toolbarButton(Command3D19, 6240, 975, "New", "", "", 47);
    toolbarButton(Command3D13, 7200, 975, "Save", "", "", 48);
    toolbarButton(Command3D12, 8160, 1005, "Exit", "", "", 49);
    toolbarButton(Command3D16, 9150, 465, "", "next", "Next record", 50);

    // Caption buttons come last in tab order.
    tab = 60;
    for (CommandButton* b : {&Command3D7, &Command3D8, &Command3D9, &Command3D10, &Command3D11,
                             &Command3D20, &Command3D21, &Command3D24, &Command3D25, &Command3D1,
                             &Command3D22, &Command3D2, &Command3D3, &Command3D4, &Command3D5,
                             &Command3D30, &Command3D33, &Command3D38, &Command3D34, &Command3D37,
                             &Command3D36, &Command3D35})
        b->setTabIndex(tab++);
    for (CommandButton& b : Command3D6) b.setTabIndex(tab++);
}

void Form1::formatGrids() {
    Font arial = Grid1.font();
    arial.name = "Arial";
    Grid1.setFont(arial);
    columns(Grid1, {{2790, L}, {1265, C}, {1080, R}, {1085, R}, {1085, R}, {850, C}, {845, C}});
    Grid1.setRows(30);
    columns(Grid2, {{1575, L}, {850, R}, {1290, R}, {1590, R}, {1590, R}});
    columns(Grid4, {{2425, L}, {1290, R}, {1590, R}, {1590, R}});
    columns(Grid3, {{2125, L}, {1105, C}, {1060, R}, {1080, R}, {1270, R}});
}

}  // namespace wb
