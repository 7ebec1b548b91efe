// LoadPreviousEquipment: the equipment list of the aircraft's latest stored
// weighing (the last list row of the tail in rsEquipment's order decides the
// date), then the weighing points and fluids reset to their default names.
#include "app/form1.h"
#include "records/read_transaction.h"
#include "records/shown_rows.h"

namespace wb {

namespace {

constexpr int kListRows = 100;  // Grid3 rows and list entries 0..99

// The list rows of the latest date into Grid3 and the list arrays, from row 0
// on; never past entry 99. Returns quietly when nothing is found or the set
// cannot be searched (no record database open).
void loadLatestList(Form1& f) {
    WorksheetState& ws = f.ws;
    skipOnFailure([&] {
        Recordset& eq = Form1::need(f.rsEquipment);
        const Criteria ofTail = tailListRowCriteria(f.Text1.text());
        eq.FindLast(ofTail);
        if (eq.NoMatch()) return;
        // The stored date itself, so the criterion denotes that very day.
        const Criteria ofDate = Criteria(ofTail).And("Date", Compare::Equal, eq.field("Date"));
        for (int i = 0; i < kListRows; ++i) {
            if (eq.IsEOF() || eq.IsBOF()) break;
            if (i == 0)
                eq.FindFirst(ofDate);
            else
                eq.FindNext(ofDate);
            if (eq.NoMatch()) break;
            ws.ListDesc[i] = storedOr(eq.field("Description"), "");
            ws.ListSerial[i] = storedOr(eq.field("Serial"), "");
            ws.ListWeight[i] = storedOr(eq.field("Weight"), "");
            ws.ListArm[i] = storedOr(eq.field("Arm"), "");
            f.Grid3.AddItem(listRowCells(ws.ListDesc[i], ws.ListSerial[i], ws.ListWeight[i], ws.ListArm[i]), i);
        }
    });
    // The blank rows pushed below row 99 go: the list keeps its 100 rows.
    if (f.Grid3.rows() > kListRows) f.Grid3.setRows(kListRows);
}

void resetWeighingPointsAndFluids(Form1& f) {
    WorksheetState& ws = f.ws;
    const char* jack[5] = {"Right Main", "Left Main", "Nose", "", ""};
    const char* fluid[5] = {"Forward Tanks", "Aft Tanks", "", "", ""};
    for (int i = 0; i < 5; ++i) {
        ws.JackDesc[i] = jack[i];
        ws.JackTare[i] = ws.JackWeight[i] = ws.JackArm[i] = "";
        ws.FluidDesc[i] = fluid[i];
        ws.FluidWeight[i] = ws.FluidArm[i] = "";
    }
    const FluidMasks masks{"#####0.00", "#####0.00", "#####0.0"};
    for (int i = 0; i < 5; ++i) {
        f.Grid2.setRowText(i, weighingPointRowText(ws.JackDesc[i], ws.JackTare[i], ws.JackWeight[i], ws.JackArm[i]));
        f.Grid4.setRowText(i, fluidRowText(ws.FluidDesc[i], ws.FluidWeight[i], ws.FluidArm[i], masks));
    }
}

}  // namespace

bool Form1::LoadPreviousEquipment() {
    {
        std::optional<ReadTransaction> reads;
        if (!beginReading(*this, reads)) return false;
        loadLatestList(*this);
    }
    resetWeighingPointsAndFluids(*this);
    return true;
}

}  // namespace wb
