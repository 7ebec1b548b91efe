// Showing a stored record. The header and the weighing points come from the
// row of the shown set; the change list and the equipment list from the
// weighing's rows in rsEquipment, found by tail number and date as the boxes
// show them.
#include "records/show_record.h"

#include <array>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/form1.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "records/read_transaction.h"
#include "records/stored_weighing.h"

namespace wb {

const ShowVariant kShowRecord{
    &Form1::rsAircraft,
    {"Right Main", "Left Main", "Nose", "", ""},
    {"Forward Tanks", "Aft Tanks", "", "", ""},
    {"######.0", "####0.#0", "#####0.00"},
};

const ShowVariant kShowFoundRecord{
    &Form1::rsFound,
    {"", "", "", "", ""},
    {"", "", "", "", ""},
    {"#####0.00", "#####0.00", "#####0.0"},
};

void Form1::ShowRecord() { ShowStoredRecord(*this, kShowRecord); }
void Form1::ShowFoundRecord() { ShowStoredRecord(*this, kShowFoundRecord); }

namespace {

constexpr std::size_t kChangeRows = 30;
constexpr std::size_t kListRows = 100;

using StoredRow = std::unordered_map<std::string, Value>;

std::string numbered(const char* prefix, int n, const char* suffix) {
    return prefix + std::to_string(n) + suffix;
}

// Every field the routine shows, read at once: a row that cannot be read
// (deleted since it became current) shows nothing.
StoredRow readRow(Recordset& set) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n = {"Tail", "Date", "Serial", "Make",   "Model",  "Year",   "Empty", "CG",  "MaxWt",
                                      "Tach", "By",   "Cert",   "Work",   "Range1", "Range2", "Range3", "Memo"};
        for (const char* group : {"Dsc", "Tar", "Wgt", "Arm"})
            for (int i = 1; i <= 5; ++i) n.push_back(numbered("J", i, group));
        for (const char* group : {"Dsc", "Wgt", "Arm"})
            for (int i = 1; i <= 5; ++i) n.push_back(numbered("F", i, group));
        return n;
    }();
    StoredRow row;
    for (const std::string& name : names) row[name] = set.field(name);
    return row;
}

// Header boxes in order, each with what a field without value gives.
void showHeader(Form1& f, const StoredRow& row) {
    struct Box {
        const char* field;
        TextBox& box;
        std::string whenNull;
    };
    const Box boxes[] = {
        {"Tail", f.Text1, ""},
        {"Date", f.Text7, formatMmDdYyyy(f.services.clock->today())},
        {"Serial", f.Text2, ""},
        {"Make", f.Text3, ""},
        {"Model", f.Text4, ""},
        {"Year", f.Text5, ""},
        {"Empty", f.Text9, ""},
        {"CG", f.Text10, ""},
        {"MaxWt", f.Text11, ""},
        {"Tach", f.Text8, ""},
        {"By", f.Text6, f.Text25.text()},
        {"Cert", f.Text22, f.Text26.text()},
        {"Work", f.Text12, ""},
        {"Range1", f.Text14, ""},
        {"Range2", f.Text15, ""},
        {"Range3", f.Text16, ""},
        {"Memo", f.Text13, ""},
    };
    for (const Box& b : boxes) {
        const Value& v = row.at(b.field);
        b.box.setText(v.isNull() ? b.whenNull : v.toText());
    }
}

void showWeighingPointsAndFluids(Form1& f, const StoredRow& row, const ShowVariant& variant) {
    WorksheetState& ws = f.ws;
    for (int i = 0; i < 5; ++i) {
        const int n = i + 1;
        ws.JackDesc[i] = storedOr(row.at(numbered("J", n, "Dsc")), variant.jackDescWhenNull[i]);
        ws.JackTare[i] = storedOr(row.at(numbered("J", n, "Tar")), "");
        ws.JackWeight[i] = storedOr(row.at(numbered("J", n, "Wgt")), "");
        ws.JackArm[i] = storedOr(row.at(numbered("J", n, "Arm")), "");
        ws.FluidDesc[i] = storedOr(row.at(numbered("F", n, "Dsc")), variant.fluidDescWhenNull[i]);
        ws.FluidWeight[i] = storedOr(row.at(numbered("F", n, "Wgt")), "");
        ws.FluidArm[i] = storedOr(row.at(numbered("F", n, "Arm")), "");
    }
    for (int i = 0; i < 5; ++i) {
        f.Grid2.setRowText(i, weighingPointRowText(ws.JackDesc[i], ws.JackTare[i], ws.JackWeight[i], ws.JackArm[i]));
        f.Grid4.setRowText(i, fluidRowText(ws.FluidDesc[i], ws.FluidWeight[i], ws.FluidArm[i], variant.fluidMasks));
    }
}

// An equipment row as the routine reads it.
enum EquipmentField { kRowNum, kDescription, kSerial, kWeight, kArm, kInstall, kRemove };
const std::vector<std::string> kEquipmentFields = {"RowNum", "Description", "Serial", "Weight",
                                                   "Arm",    "Install",     "Remove"};
using EquipmentRow = std::vector<Value>;

// For each row number below `count`, the first of `rows` (in the set's order)
// that has it and passes `take`; null where none does.
template <std::size_t count, class Take>
std::array<const EquipmentRow*, count> firstOfEachRowNumber(const std::vector<EquipmentRow>& rows, Take take) {
    std::array<const EquipmentRow*, count> first{};
    for (const EquipmentRow& row : rows) {
        if (!row[kRowNum].isNumber()) continue;
        const double n = row[kRowNum].toNumber();
        if (n != std::floor(n) || n < 0 || n >= static_cast<double>(count)) continue;
        const EquipmentRow*& slot = first[static_cast<std::size_t>(n)];
        if (!slot && take(row)) slot = &row;
    }
    return first;
}

void showChangeRow(Form1& f, const EquipmentRow& row, int i) {
    WorksheetState& ws = f.ws;
    ws.ChangeDesc[i] = storedOr(row[kDescription], "");
    ws.ChangeSerial[i] = storedOr(row[kSerial], "");
    ws.ChangeWeight[i] = storedOr(row[kWeight], "");
    ws.ChangeArm[i] = storedOr(row[kArm], "");
    ws.ChangeMoment[i] = productOrEmpty(ws.ChangeWeight[i], ws.ChangeArm[i]);
    const Value& install = row[kInstall];
    const Value& remove = row[kRemove];
    if (install.isNull()) ws.ChangeInstalled[i] = "";
    else if (isTrueField(install)) ws.ChangeInstalled[i] = "X";
    if (remove.isNull()) ws.ChangeRemoved[i] = "";
    else if (isTrueField(remove)) ws.ChangeRemoved[i] = "X";

    if (i == 0) {
        const bool storedRow0 = ws.ChangeDesc[0].isText() && ws.ChangeDesc[0].toText() == kPreviousEmpty;
        if (!storedRow0) {
            // An item stored as row 0: row 0 is made from the header boxes instead.
            ws.ChangeDesc[0] = kPreviousEmpty;
            ws.ChangeSerial[0] = f.Text2.text();
            ws.ChangeWeight[0] = f.Text9.text();
            ws.ChangeArm[0] = f.Text10.text();
            ws.ChangeMoment[0] = productOrEmpty(ws.ChangeWeight[0], ws.ChangeArm[0]);
        }
        // Both marks as the grid shows them: a removed mark kept from a stored
        // item would take row 0 off the totals again.
        ws.ChangeInstalled[0] = ws.ChangeRemoved[0] = kPreviousEmptyMark;
        f.Grid1.AddItem(changeRowText(ws.ChangeDesc[0], ws.ChangeSerial[0], ws.ChangeWeight[0], ws.ChangeArm[0],
                                      ws.ChangeMoment[0], kPreviousEmptyMark, kPreviousEmptyMark),
                        0);
        return;
    }
    f.Grid1.AddItem(changeRowText(ws.ChangeDesc[i], ws.ChangeSerial[i], ws.ChangeWeight[i], ws.ChangeArm[i],
                                  ws.ChangeMoment[i], ws.ChangeInstalled[i], ws.ChangeRemoved[i]),
                    i);
}

void showListRow(Form1& f, const EquipmentRow& row, int i) {
    WorksheetState& ws = f.ws;
    ws.ListDesc[i] = storedOr(row[kDescription], "");
    ws.ListSerial[i] = storedOr(row[kSerial], "");
    ws.ListWeight[i] = storedOr(row[kWeight], "");
    ws.ListArm[i] = storedOr(row[kArm], "");
    f.Grid3.AddItem(listRowText(ws.ListDesc[i], ws.ListSerial[i], ws.ListWeight[i], ws.ListArm[i]), i);
}

bool hasNoRows(const std::shared_ptr<Recordset>& eq) {
    try {
        return !eq || (eq->IsBOF() && eq->IsEOF());
    } catch (const RuntimeError&) {
        return true;  // a closed set shows no rows
    }
}

// The change list, the equipment list, the closing steps. Each list is read
// in one query of rsEquipment, in the set's order; row i shows the first row
// that a find of row number i would meet. A list whose reading fails, or a
// row whose showing fails, is left as the clearing left it; the display goes
// on. Every field without value is given its default before use, so no step
// meets a Null and no stored row is ever deleted to get past one.
void showEquipmentRows(Form1& f) {
    if (hasNoRows(f.rsEquipment)) return;
    Recordset& eq = *f.rsEquipment;
    const std::string tail = f.Text1.text(), date = f.Text7.text();
    std::vector<EquipmentRow> weighingRows, listRows;
    skipOnFailure([&] { weighingRows = eq.RowsMeeting(weighingRowsCriteria(tail, date, kChangeRows), kEquipmentFields); });
    const auto changeRows = firstOfEachRowNumber<kChangeRows>(weighingRows, [](const EquipmentRow& row) {
        return isChangeRow(row[kDescription], row[kInstall], row[kRemove]);
    });
    for (int i = 0; i < kChangeRows; ++i) {
        if (changeRows[i]) skipOnFailure([&] { showChangeRow(f, *changeRows[i], i); });
    }
    skipOnFailure([&] { listRows = eq.RowsMeeting(listRowsCriteria(tail, date, kListRows), kEquipmentFields); });
    const auto shownListRows = firstOfEachRowNumber<kListRows>(listRows, [](const EquipmentRow&) { return true; });
    for (int i = 0; i < kListRows; ++i) {
        if (shownListRows[i]) skipOnFailure([&] { showListRow(f, *shownListRows[i], i); });
    }
    f.Grid1.setRows(kChangeRows);
    // The blank rows pushed past row 99 go, so no row beyond the list's 100 remains.
    f.Grid3.setRows(kListRows);
    skipOnFailure([&] { f.RecalcWeightAndBalance(); });
}

}  // namespace

void ShowStoredRecord(Form1& f, const ShowVariant& variant) {
    // One read transaction for the row, what is stored under its key and the
    // 130 finds: the file is locked and checked once, and all of them read
    // one stored state.
    std::optional<ReadTransaction> reads;
    if (!beginReading(f, reads)) return;
    struct DefaultPointerAtEnd {
        Form1& form;
        ~DefaultPointerAtEnd() { form.setMousePointer(pointer::kDefault); }
    } restore{f};
    f.setMousePointer(pointer::kHourglass);

    StoredRow row;
    const bool readable = skipOnFailure([&] {
        Recordset& set = Form1::need(f.*variant.set);
        if (set.IsBOF() || set.IsEOF()) throw RuntimeError(kNoCurrentRecord, "No current record");
        row = readRow(set);
    });
    f.weighingOnScreen.reset();
    if (!readable) {
        f.ClearWorksheet();
        return;
    }
    skipOnFailure([&] {
        const WeighingKey key{row.at("Tail"), row.at("Date")};
        f.weighingOnScreen = StoredWeighing::read(Form1::need(f.dbRecords), key);
    });
    showHeader(f, row);
    showWeighingPointsAndFluids(f, row, variant);
    showEquipmentRows(f);
}

}  // namespace wb
