// The logbook entry: the upper half of a page with the company line and title,
// two run-on lines of aircraft data, the results and CG ranges, the mechanic,
// the box of removed and installed equipment, and the notes.
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/numbers.h"
#include "platform/printer.h"
#include "reports/print_frame.h"
#include "reports/reports.h"

namespace wb {

namespace {

struct Caption {
    const char* text;
    float x;
    float dy;  // below BoxTop
    float size;
};
constexpr Caption kCaptions[] = {
    {"Description", 1200, 0, 8}, {"Serial Number", 4350, 0, 8}, {"Weight", 6300, 0, 8},
    {"Arm", 7900, 0, 8},         {"Moment", 9300, 0, 8},        {"Installed", 10350, 0, 6},
    {"Removed", 10915, 80, 6},
};

// One run-on line from X 100: every piece same-line but the last.
void runOnLine(PrintFrame& fr, const std::vector<std::string>& pieces) {
    fr.p.setCurrentX(100);
    for (size_t i = 0; i + 1 < pieces.size(); ++i) fr.p.PrintSameLine(pieces[i]);
    fr.p.Print(pieces.back());
}

void companyLine(PrintFrame& fr) {
    Printer& p = fr.p;
    p.setFontName("Arial");
    p.setFontSize(8);
    p.setFontBold(true);
    p.setFontItalic(false);
    Recordset& rs = fr.shop();
    rs.MoveFirst();
    fr.At(100, 50);
    const struct {
        const char* field;
        const char* separator;
    } fields[] = {
        {"CompName", "  "}, {"CompAddress", "  "}, {"CompCSZ", "  "},
        {"CompPhone", "              "},
    };
    for (const auto& field : fields) {
        const Value v = rs.field(field.field);
        if (!v.isNull()) p.PrintSameLine(v.toText() + field.separator);
        p.setFontBold(false);
    }
}

}  // namespace

void Reports::logbookEntry(PrintFrame& fr) {
    Printer& p = fr.p;
    WorksheetState& ws = f.ws;
    fr.SetUp();
    if (ticked(f.Check3D1)) {
        companyLine(fr);
    } else {
        // The entry looks the same whatever an earlier printout left.
        p.setCurrentY(100);
        p.setFontName("Arial");
        p.setFontSize(8);
        p.setFontItalic(false);
    }

    p.setFontBold(true);
    const Value title = fr.shop().field("FormTitle");
    if (title.isNull()) {
        p.Print();
    } else {
        fr.PrintRightAligned(title.toText(), p.scaleWidth(), true);
    }

    p.setFontBold(false);
    p.setFontSize(8);
    runOnLine(fr, {"Reg. Number: ", trimmed(f.Text1.text()), " /Make/Model: ",
                   trimmed(f.Text3.text()), " ", trimmed(f.Text4.text()), " /Year: ",
                   trimmed(f.Text5.text()), " /Serial: ", trimmed(f.Text2.text())});
    runOnLine(fr, {"Date: ", trimmed(f.Text7.text()), " /", f.Command3D20.caption(), ": ",
                   trimmed(f.Text8.text()), " /Max. Weight: ", trimmed(f.Text11.text()),
                   " /Work Order: ", trimmed(f.Text12.text())});

    const float resultsTop = p.currentY();
    fr.Rule(100, resultsTop, 11400, resultsTop, 4);
    fr.Rule(4100, resultsTop, 4100, resultsTop + 550, 4);

    if (ticked(f.Check3D3)) {
        fr.At(8500, resultsTop);
        p.setFontSize(6);
        p.PrintSameLine(f.Text6.text());
        p.PrintSameLine(",  ");
        p.Print(f.Text22.text());
        p.setFontSize(8);
    }

    p.setDrawWidth(1);
    const double emptyWeight = valueOf(f.Text23.text());
    const struct {
        float dy;
        const char* label;
        double value;
        bool lineEnding;
        const char* rangeLabel;
        const TextBox& range;
    } results[] = {
        {0, "New A/C Empty Weight:", emptyWeight, false, "Landing C.G. Range:", f.Text14},
        {200, "New A/C Empty C.G.:", valueOf(f.Text24.text()), false,
         "Gear Extended C.G. Range:", f.Text15},
        {400, "New A/C Useful Load:", valueOf(f.Text11.text()) - emptyWeight, true,
         "Empty Weight C.G. Range:", f.Text16},
    };
    for (const auto& row : results) {
        fr.At(100, resultsTop + row.dy);
        p.PrintSameLine(row.label);
        fr.PrintRightAligned(formatMask(row.value, "######.00"), 4000, row.lineEnding);
    }
    if (ticked(f.Check3D2)) {
        p.setFontSize(8);
        for (const auto& row : results) {
            fr.At(4300, resultsTop + row.dy);
            p.PrintSameLine(row.rangeLabel);
            p.setCurrentX(6900);
            p.Print(trimmed(row.range.text()));
        }
        p.setFontSize(8);
    }

    const float boxTop = p.currentY();
    const float half = p.scaleHeight() / 2;
    fr.Frame(100, boxTop, 11510, half - 200, 4);
    fr.Rule(100, half - 400, 11510, half - 400, 4);
    fr.Rule(100, boxTop + 200, 11510, boxTop + 200, 1);
    const struct {
        float x;
        float bottom;
    } columns[] = {{4100, half - 400}, {5800, half - 200}, {7300, half - 200},
                   {8800, half - 200}, {10300, half - 200}, {10900, half - 400}};
    for (const auto& column : columns) fr.Rule(column.x, boxTop + 200, column.x, column.bottom, 1);

    for (const Caption& c : kCaptions) {
        p.setFontSize(c.size);
        fr.At(c.x, boxTop + c.dy);
        p.PrintSameLine(c.text);
    }
    p.setFontSize(8);
    fr.At(1200, half - 400);
    p.PrintSameLine("New Aircraft Values");

    fr.PreviousEmptyRow(boxTop + 200, "#####0.0");
    fr.ChangeSections(boxTop + 400, 150);

    p.setCurrentY(half - 400);
    fr.PrintRightAligned(formatMask(ws.NewEmptyWeight, "######.00"), 7000, false);
    fr.PrintRightAligned(formatMask(ws.NewEmptyCG, "######.00"), 8500, false);
    fr.PrintRightAligned(formatMask(ws.NewEmptyMoment, "######.0"), 10200, false);

    if (ticked(f.Check3D4)) {
        fr.NotesBlock({5650, 100, 6, p.scaleWidth() - 100, 200});
        p.setFontSize(8);
    }
    p.EndDoc();
}

}  // namespace wb
