// The weight-and-balance report: letterhead, title, aircraft header, results,
// CG ranges, the weighing calculation (when the aircraft was weighed), the
// two-column equipment list, the mechanic line and the notes.
#include "app/form1.h"
#include "platform/numbers.h"
#include "platform/printer.h"
#include "reports/print_frame.h"
#include "reports/reports.h"

namespace wb {

namespace {

struct Heading {
    const char* text;
    float x;
};

constexpr Heading kCalculationHeadings[] = {
    {"Weight & Balance Calculation", 200}, {"Tare", 4600}, {"Weight", 6270},
    {"Arm", 7820}, {"Moment", 9570},
};

// The equipment list's two halves: where each column starts or ends.
struct ListHalf {
    float equipment, serial, weightEdge, armEdge, momentEdge;
    float headingX[5];  // Equipment, Serial, Weight, Arm, Moment
};
constexpr ListHalf kListHalves[] = {
    {200, 2200, 3800, 4700, 5705, {200, 2210, 3100, 4070, 4900}},
    {5905, 7905, 9505, 10405, 11410, {5855, 7915, 8805, 9775, 10605}},
};
constexpr const char* kListHeadings[] = {"Equipment", "Serial", "Weight", "Arm", "Moment"};
constexpr int kListRows = 100;
constexpr int kRowsPerHalf = 50;

void weighingCalculation(PrintFrame& fr, float rowY) {
    Printer& p = fr.p;
    WorksheetState& ws = fr.f.ws;
    fr.Frame(100, rowY + 1000, 11510, 7300, 4);
    fr.Rule(100, 7050, 11510, 7050, 4);
    fr.Rule(100, rowY + 1300, 11510, rowY + 1300, 1);
    for (float x : {4100.0f, 5800.0f, 7300.0f, 8800.0f}) fr.Rule(x, rowY + 1300, x, 7300, 1);

    p.setCurrentY(rowY + 1030);
    for (const Heading& h : kCalculationHeadings) {
        p.setCurrentX(h.x);
        p.PrintSameLine(h.text);
    }
    p.setFontSize(12);
    fr.At(1160, 7050);
    p.PrintSameLine("New Aircraft Values");
    p.setFontSize(11);

    fr.At(200, rowY + 1370);
    p.setFontBold(true);
    p.Print("Scale locations");
    p.setFontBold(false);
    for (int i = 0; i <= 4; ++i) {
        const double weight = valueOf(ws.JackWeight[i]);
        if (weight == 0) continue;
        const double tare = valueOf(ws.JackTare[i]);
        const double arm = valueOf(ws.JackArm[i]);
        p.setCurrentX(200);
        p.PrintSameLine(ws.JackDesc[i].displayText());
        fr.PrintRightAligned(formatMask(tare, "#####0.0"), 5500, false);
        fr.PrintRightAligned(formatMask(weight, "#####0.00"), 7000, false);
        fr.PrintRightAligned(formatMask(arm, "#####0.00"), 8500, false);
        fr.PrintRightAligned(formatMask((weight - tare) * arm, "#####0.0"), 11200, true);
    }

    fr.Rule(100, rowY + 2823, 11510, rowY + 2823, 1);
    bool anyFluid = false;
    for (int i = 0; i <= 4; ++i) anyFluid = anyFluid || valueOf(ws.FluidWeight[i]) > 0;
    if (anyFluid) {
        fr.At(200, rowY + 2853);
        p.setFontBold(true);
        p.Print("Minus Fluids");
        p.setFontBold(false);
    }
    for (int i = 0; i <= 4; ++i) {
        const double weight = valueOf(ws.FluidWeight[i]);
        if (weight == 0) continue;
        const double arm = valueOf(ws.FluidArm[i]);
        p.setCurrentX(200);
        p.PrintSameLine(ws.FluidDesc[i].displayText());
        fr.PrintRightAligned("xxxxxxxx", 5500, false);
        fr.PrintRightAligned(formatMask(-weight, "#####0.00"), 7000, false);
        fr.PrintRightAligned(formatMask(arm, "#####0.00"), 8500, false);
        fr.PrintRightAligned(formatMask(-weight * arm, "#####0.0"), 11200, true);
    }

    p.setFontSize(11);
    p.setCurrentY(7050);
    fr.PrintRightAligned(formatMask(ws.WeighedWeight, "######.00"), 7000, false);
    fr.PrintRightAligned(formatMask(ws.WeighedCG, "######.00"), 8500, false);
    fr.PrintRightAligned(formatMask(ws.WeighedMoment, "######.0"), 11200, false);
}

void equipmentList(PrintFrame& fr, float top) {
    Printer& p = fr.p;
    WorksheetState& ws = fr.f.ws;
    fr.Frame(100, top, 11510, top + 6500, 4);
    fr.Rule(100, top + 300, 11510, top + 300, 1);
    for (float x : {2100.0f, 3000.0f, 3900.0f, 4800.0f}) fr.Rule(x, top + 300, x, top + 6500, 1);
    fr.Rule(5805, top, 5805, top + 6500, 4);
    for (float x : {7805.0f, 8705.0f, 9605.0f, 10505.0f})
        fr.Rule(x, top + 300, x, top + 6500, 1);

    p.setCurrentY(top + 30);
    for (const ListHalf& half : kListHalves)
        for (int c = 0; c < 5; ++c) {
            p.setCurrentX(half.headingX[c]);
            p.PrintSameLine(kListHeadings[c]);
        }

    fr.At(100, top + 6550);
    p.setFontSize(6);
    p.PrintSameLine("Equipment weights above are included in New A/C Empty Weight");

    for (int i = 0; i < kListRows; ++i) {
        const ListHalf& half = kListHalves[i / kRowsPerHalf];
        p.setCurrentY(top + 350 + 110 * static_cast<float>(i % kRowsPerHalf));
        p.setCurrentX(half.equipment);
        p.PrintSameLine(ws.ListDesc[i].displayText());
        p.setCurrentX(half.serial);
        p.PrintSameLine(ws.ListSerial[i].displayText());
        fr.PrintRightAligned(masked(ws.ListWeight[i], "#####0.00"), half.weightEdge, false);
        fr.PrintRightAligned(masked(ws.ListArm[i], "#####0.00"), half.armEdge, false);
        const double moment = valueOf(ws.ListWeight[i]) * valueOf(ws.ListArm[i]);
        if (moment != 0) fr.PrintRightAligned(formatMask(moment, "######.0"), half.momentEdge, true);
    }
}

}  // namespace

void Reports::weighingReport(PrintFrame& fr) {
    Printer& p = fr.p;
    WorksheetState& ws = f.ws;
    float rowY = fr.FullPageTop({50, false}, "EquipTitle");

    double scaleSum = 0;
    for (int i = 0; i <= 4; ++i) scaleSum += valueOf(ws.JackWeight[i]);
    float equipTop = rowY + 1000;
    if (scaleSum > 0) {
        equipTop = 7500;
        weighingCalculation(fr, rowY);
    }
    equipmentList(fr, equipTop);

    if (ticked(f.Check3D3)) {
        fr.Rule(8500, 14500, 11410, 14500, 4);
        p.setDrawWidth(1);
        fr.At(8500, 14500);
        p.setFontSize(8);
        p.PrintSameLine(f.Text6.text());
        p.PrintSameLine(",  ");
        p.Print(f.Text22.text());
    }
    if (ticked(f.Check3D4)) fr.NotesBlock({equipTop + 6800, 100, 8, 7900, 160});
    p.EndDoc();
}

}  // namespace wb
