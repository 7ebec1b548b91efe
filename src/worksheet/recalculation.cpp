// RecalcWeightAndBalance and the previous-empty row builders: they read the
// boxes and arrays, leave the arithmetic to worksheet/recalculation_math.h and
// write its results back in order.
#include "worksheet/recalculation.h"

#include <vector>

#include "app/form1.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
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
    in.Text9Length = f.Text9.maxLength();
    in.Text10Length = f.Text10.maxLength();
    in.Text23Length = f.Text23.maxLength();
    in.Text24Length = f.Text24.maxLength();
    in.Text27Length = f.Text27.maxLength();
    return in;
}

namespace {

// Writes what the recalculation gives, or what it shows when it failed.
void show(Form1& f, const RecalcResult& r) {
    WorksheetState& ws = f.ws;
    ws.WeighedWeight = r.WeighedWeight;
    ws.WeighedMoment = r.WeighedMoment;
    ws.WeighedCG = r.WeighedCG;
    ws.NewEmptyWeight = r.NewEmptyWeight;
    ws.NewEmptyMoment = r.NewEmptyMoment;
    ws.NewEmptyCG = r.NewEmptyCG;
    if (r.weighed) {
        const PreviousEmptyRow& row0 = r.weighed->row0;
        f.Text9.setText(r.weighed->Text9);
        f.Text10.setText(r.weighed->Text10);
        ws.ChangeDesc[0] = row0.ChangeDesc;
        ws.ChangeWeight[0] = row0.ChangeWeight;
        ws.ChangeArm[0] = row0.ChangeArm;
        ws.ChangeMoment[0] = r.ChangeMoment0;
        ws.ChangeSerial[0] = row0.ChangeSerial;
        ws.ChangeInstalled[0] = row0.ChangeInstalled;
        ws.ChangeRemoved[0] = row0.ChangeRemoved;
        f.Grid1.setRowText(0, row0.rowText);
    } else {
        ws.ChangeMoment[0] = r.ChangeMoment0;
    }
    f.Text23.setText(r.Text23);
    f.Text24.setText(r.Text24);
    f.Text27.setText(r.Text27);
}

// The change list as Save stores it: texts, numbers by their leading number
// (none when beyond range), marks as "X" or not.
std::vector<std::string> storedChangeList(const WorksheetState& ws) {
    std::vector<std::string> rows;
    const auto number = [](const Value& v) {
        try {
            return numberToText(NumberOf(v));
        } catch (const RuntimeError&) {
            return std::string("none");
        }
    };
    const auto mark = [](const Value& v) { return v.isText() && v.toText() == kChangeMark ? "X" : ""; };
    for (int i = 0; i < WorksheetState::kChangeBound; ++i)
        rows.push_back(ws.ChangeDesc[i].displayText() + '\t' + ws.ChangeSerial[i].displayText() + '\t' +
                       number(ws.ChangeWeight[i]) + '\t' + number(ws.ChangeArm[i]) + '\t' +
                       mark(ws.ChangeInstalled[i]) + mark(ws.ChangeRemoved[i]));
    return rows;
}

}  // namespace

std::optional<std::string> Recalculate(Form1& f) {
    try {
        show(f, ComputeWeightAndBalance(recalcInputOf(f)));
        return std::nullopt;
    } catch (const TotalsOverflow& e) {
        show(f, e.shown());
        return e.where();
    }
}

void Form1::RecalcWeightAndBalance() {
    if (const auto where = Recalculate(*this))
        services.dialogs->MsgBox("Press OK to continue", msgbox::kInformation, "Totals too large: " + *where);
}

bool FreshTotals(Form1& f, const std::string& notDone, int icon) {
    const auto where = Recalculate(f);
    if (where)
        f.services.dialogs->MsgBox("Press OK to continue", icon, notDone + ": totals too large (" + *where + ")");
    return !where;
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
    const std::vector<std::string> storedBefore = storedChangeList(ws);
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
    // Rows moved down, or a row 0 the boxes changed, are not what was saved.
    if (storedChangeList(ws) != storedBefore) ws.SavedState = 0;
}

}  // namespace wb
