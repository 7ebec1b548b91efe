// The equipment-change report: letterhead, title, aircraft header, results and
// CG ranges, the ruled table of the previous empty values, the items removed
// and installed and the new values, the mechanic's line and the notes.
#include "app/form1.h"
#include "platform/numbers.h"
#include "platform/printer.h"
#include "reports/print_frame.h"
#include "reports/reports.h"

namespace wb {

namespace {

struct Column {
    float x;
    float bottom;
};
// Column lines from the heading rule down; below 12700 only weight, arm and
// moment stay divided.
constexpr Column kColumns[] = {{4100, 12700},  {5800, 12900},  {7300, 12900},
                               {8800, 12900},  {10300, 12900}, {10900, 12700}};

struct Heading {
    const char* text;
    float x;
};
constexpr Heading kHeadings[] = {
    {"Description", 1200}, {"Serial Number", 4200}, {"Weight", 6200}, {"Arm", 7800},
    {"Moment", 9200},
};

}  // namespace

void Reports::equipmentChangeReport(PrintFrame& fr) {
    Printer& p = fr.p;
    WorksheetState& ws = f.ws;
    float rowY = fr.FullPageTop({150, true, true}, "FormTitle");

    fr.Frame(100, rowY + 1000, 11510, 12900, 4);
    fr.Rule(100, 12700, 11510, 12700, 4);
    fr.Rule(100, rowY + 1300, 11510, rowY + 1300, 1);
    for (const Column& c : kColumns) fr.Rule(c.x, rowY + 1300, c.x, c.bottom, 1);

    p.setFontBold(false);
    p.setCurrentY(rowY + 1030);
    for (const Heading& h : kHeadings) {
        p.setCurrentX(h.x);
        p.PrintSameLine(h.text);
    }
    p.setFontSize(8);
    fr.At(10300, rowY + 1010);
    p.PrintSameLine("Installed");
    fr.At(10865, rowY + 1090);
    p.PrintSameLine("Removed");
    p.setFontSize(12);
    fr.At(1200, 12685);
    p.PrintSameLine("New Aircraft Values");
    p.setFontSize(11);

    fr.PreviousEmptyRow(rowY + 1370, "#####0.00");
    fr.ChangeSections(rowY + 1770, 200);

    p.setCurrentY(12685);
    fr.PrintRightAligned(formatMask(ws.NewEmptyWeight, "######.00"), 7000, false);
    fr.PrintRightAligned(formatMask(ws.NewEmptyCG, "######.00"), 8500, false);
    const float newMoment = ws.NewEmptyCG * ws.NewEmptyWeight;
    fr.PrintRightAligned(formatMask(newMoment, "######.0"), 10200, false);

    if (ticked(f.Check3D3)) {
        fr.Rule(8500, 13500, 11410, 13500, 4);
        p.setDrawWidth(1);
        fr.At(8500, 13500);
        p.setFontSize(8);
        p.Print(f.Text6.text() + ",  " + f.Text22.text());
    }
    if (ticked(f.Check3D4)) fr.NotesBlock({13000, 100, 8, 7900, 160});
    p.EndDoc();
}

}  // namespace wb
