// RecalcWeightAndBalance and the previous-empty row builders: they read the
// boxes and arrays, leave the arithmetic to worksheet/recalculation_math.h and
// write its results back in order.
#include "worksheet/recalculation.h"

#include "app/form1.h"
#include "worksheet/recalculation_math.h"

namespace wb {

RecalcInput recalcInputOf(const Form1& f) {
    RecalcInput in;
    in.Text2 = f.Text2.text();
    in.Text9 = f.Text9.text();
    in.Text10 = f.Text10.text();
    in.JackTare = f.ws.JackTare;
    in.JackWeight = f.ws.JackWeight;
    in.JackArm = f.ws.JackArm;
    in.FluidWeight = f.ws.FluidWeight;
    in.FluidArm = f.ws.FluidArm;
    in.ChangeDesc = f.ws.ChangeDesc;
    in.ChangeWeight = f.ws.ChangeWeight;
    in.ChangeArm = f.ws.ChangeArm;
    in.ChangeInstalled = f.ws.ChangeInstalled;
    in.ChangeRemoved = f.ws.ChangeRemoved;
    in.Grid1Rows = f.Grid1.rows();
    return in;
}

void Form1::RecalcWeightAndBalance() {
    const RecalcResult r = ComputeWeightAndBalance(recalcInputOf(*this));

    ws.WeighedWeight = r.WeighedWeight;
    ws.WeighedMoment = r.WeighedMoment;
    ws.WeighedCG = r.WeighedCG;
    ws.NewEmptyWeight = r.NewEmptyWeight;
    ws.NewEmptyMoment = r.NewEmptyMoment;
    ws.NewEmptyCG = r.NewEmptyCG;
    if (r.weighed) {
        const PreviousEmptyRow& row0 = r.weighed->row0;
        Text9.setText(r.weighed->Text9);
        Text10.setText(r.weighed->Text10);
        ws.ChangeDesc[0] = row0.ChangeDesc;
        ws.ChangeWeight[0] = row0.ChangeWeight;
        ws.ChangeArm[0] = row0.ChangeArm;
        ws.ChangeMoment[0] = r.ChangeMoment0;
        ws.ChangeSerial[0] = row0.ChangeSerial;
        ws.ChangeInstalled[0] = row0.ChangeInstalled;
        ws.ChangeRemoved[0] = row0.ChangeRemoved;
        Grid1.setRowText(0, row0.rowText);
    } else {
        ws.ChangeMoment[0] = r.ChangeMoment0;
    }
    Text23.setText(r.Text23);
    Text24.setText(r.Text24);
    Text27.setText(r.Text27);
}

void Recalculation::connect() {
    f.Text9.LostFocus = [this] { Text9_LostFocus(); };
    f.Text10.LostFocus = [this] { Text10_LostFocus(); };
}

void Recalculation::Text9_LostFocus() { buildPreviousEmptyRow(f.Text9); }

void Recalculation::Text10_LostFocus() { buildPreviousEmptyRow(f.Text10); }

// Row 0 is replaced in place when it holds the previous-empty row or nothing;
// otherwise the change rows move down one place first (row 29 is dropped).
void Recalculation::buildPreviousEmptyRow(const TextBox& left) {
    WorksheetState& ws = f.ws;
    const auto entry = BuildPreviousEmptyRow(left.text(), f.Text2.text(), f.Text9.text(),
                                             f.Text10.text(), ws.ChangeDesc[0],
                                             ws.ChangeWeight[0], ws.ChangeArm[0]);
    if (!entry) return;
    const PreviousEmptyRow& row0 = entry->row0;
    if (entry->placement == Row0Placement::MoveDown) {
        for (auto* array : {&ws.ChangeDesc, &ws.ChangeSerial, &ws.ChangeWeight, &ws.ChangeArm,
                            &ws.ChangeMoment, &ws.ChangeInstalled, &ws.ChangeRemoved})
            MoveChangeRowsDown(*array);
        f.Grid1.RemoveItem(f.Grid1.rows() - 1);
        f.Grid1.AddItem(row0.rowText, 0);
    } else {
        f.Grid1.setRowText(0, row0.rowText);
    }
    ws.ChangeDesc[0] = row0.ChangeDesc;
    ws.ChangeSerial[0] = row0.ChangeSerial;
    ws.ChangeWeight[0] = row0.ChangeWeight;
    ws.ChangeArm[0] = row0.ChangeArm;
    ws.ChangeInstalled[0] = row0.ChangeInstalled;
    ws.ChangeRemoved[0] = row0.ChangeRemoved;
    f.RecalcWeightAndBalance();
}

}  // namespace wb
