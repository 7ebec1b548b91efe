// Showing a stored record. The header and the weighing points come from the
// row of the shown set; the change list and the equipment list from the
// weighing's rows in rsEquipment, found by tail number and date as the boxes
// show them.
#include "records/show_record.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/utf8.h"
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

std::string numbered(const char* prefix, int n, const char* suffix) {
    return prefix + std::to_string(n) + suffix;
}

// Every field the routine shows, in the order it reads them: the header's
// first.
const std::vector<std::string>& shownFields() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n = {"Tail", "Date", "Serial", "Make",   "Model",  "Year",   "Empty", "CG",  "MaxWt",
                                      "Tach", "By",   "Cert",   "Work",   "Range1", "Range2", "Range3", "Memo"};
        for (const char* group : {"Dsc", "Tar", "Wgt", "Arm"})
            for (int i = 1; i <= 5; ++i) n.push_back(numbered("J", i, group));
        for (const char* group : {"Dsc", "Wgt", "Arm"})
            for (int i = 1; i <= 5; ++i) n.push_back(numbered("F", i, group));
        return n;
    }();
    return names;
}

std::size_t placeOf(std::string_view field) {
    const std::vector<std::string>& names = shownFields();
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), field) - names.begin());
}

// The shown fields' values, in shownFields() order.
struct StoredRow {
    std::vector<Value> values;
    const Value& at(std::string_view field) const { return values.at(placeOf(field)); }
};

// Every field the routine shows, read at once: a row that cannot be read
// (deleted since it became current) shows nothing.
StoredRow readRow(Recordset& set) {
    StoredRow row;
    row.values.reserve(shownFields().size());
    for (const std::string& name : shownFields()) row.values.push_back(set.field(name));
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
    // Where each point's fields are in the row: J1Dsc, J1Tar, ... F5Arm.
    struct PointFields {
        std::size_t jackDesc, jackTare, jackWeight, jackArm, fluidDesc, fluidWeight, fluidArm;
    };
    static const std::array<PointFields, 5> places = [] {
        std::array<PointFields, 5> all;
        for (int n = 1; n <= 5; ++n) {
            all[static_cast<std::size_t>(n - 1)] = {
                placeOf(numbered("J", n, "Dsc")), placeOf(numbered("J", n, "Tar")), placeOf(numbered("J", n, "Wgt")),
                placeOf(numbered("J", n, "Arm")), placeOf(numbered("F", n, "Dsc")), placeOf(numbered("F", n, "Wgt")),
                placeOf(numbered("F", n, "Arm"))};
        }
        return all;
    }();
    const std::vector<Value>& value = row.values;
    WorksheetState& ws = f.ws;
    for (int i = 0; i < 5; ++i) {
        const PointFields& at = places[static_cast<std::size_t>(i)];
        ws.JackDesc[i] = storedOr(value.at(at.jackDesc), variant.jackDescWhenNull[i]);
        ws.JackTare[i] = storedOr(value.at(at.jackTare), "");
        ws.JackWeight[i] = storedOr(value.at(at.jackWeight), "");
        ws.JackArm[i] = storedOr(value.at(at.jackArm), "");
        ws.FluidDesc[i] = storedOr(value.at(at.fluidDesc), variant.fluidDescWhenNull[i]);
        ws.FluidWeight[i] = storedOr(value.at(at.fluidWeight), "");
        ws.FluidArm[i] = storedOr(value.at(at.fluidArm), "");
    }
    for (int i = 0; i < 5; ++i) {
        f.Grid2.setRowText(i, weighingPointRowText(ws.JackDesc[i], ws.JackTare[i], ws.JackWeight[i], ws.JackArm[i]));
        f.Grid4.setRowText(i, fluidRowText(ws.FluidDesc[i], ws.FluidWeight[i], ws.FluidArm[i], variant.fluidMasks));
    }
}

// An equipment row as the routine reads it: its values, and where among
// them each field the routine shows is.
using EquipmentRow = std::vector<Value>;
struct EquipmentColumns {
    std::size_t rowNum = 0, description = 1, serial = 2, weight = 3, arm = 4, install = 5, remove = 6;
};
const std::vector<std::string> kEquipmentFields = {"RowNum", "Description", "Serial", "Weight",
                                                   "Arm",    "Install",     "Remove"};

// The columns of these fields among `names` (compared as the engine compares
// field names); none when one is missing.
std::optional<EquipmentColumns> columnsAmong(const std::vector<std::string>& names) {
    auto place = [&](const std::string& field) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (utf8::compareFolded(names[i], field) == 0) return i;
        return std::nullopt;
    };
    std::optional<std::size_t> at[7];
    for (std::size_t i = 0; i < kEquipmentFields.size(); ++i)
        if (!(at[i] = place(kEquipmentFields[i]))) return std::nullopt;
    return EquipmentColumns{*at[0], *at[1], *at[2], *at[3], *at[4], *at[5], *at[6]};
}

// For each row number below `count`, the first of `rows` (in the set's order)
// that has it and passes `take`; null where none does.
template <std::size_t count, class Take>
std::array<const EquipmentRow*, count> firstOfEachRowNumber(const std::vector<const EquipmentRow*>& rows,
                                                             std::size_t rowNum, Take take) {
    std::array<const EquipmentRow*, count> first{};
    for (const EquipmentRow* row : rows) {
        const Value& number = (*row)[rowNum];
        if (!number.isNumber()) continue;
        const double n = number.toNumber();
        if (n != std::floor(n) || n < 0 || n >= static_cast<double>(count)) continue;
        const EquipmentRow*& slot = first[static_cast<std::size_t>(n)];
        if (!slot && take(*row)) slot = row;
    }
    return first;
}

// Puts the row into the change list's arrays and gives its grid row.
std::vector<std::string> showChangeRow(Form1& f, const EquipmentRow& row, const EquipmentColumns& c, int i) {
    WorksheetState& ws = f.ws;
    ws.ChangeDesc[i] = storedOr(row[c.description], "");
    ws.ChangeSerial[i] = storedOr(row[c.serial], "");
    ws.ChangeWeight[i] = storedOr(row[c.weight], "");
    ws.ChangeArm[i] = storedOr(row[c.arm], "");
    ws.ChangeMoment[i] = productOrEmpty(ws.ChangeWeight[i], ws.ChangeArm[i]);
    const Value& install = row[c.install];
    const Value& remove = row[c.remove];
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
        return changeRowCells(ws.ChangeDesc[0], ws.ChangeSerial[0], ws.ChangeWeight[0], ws.ChangeArm[0],
                              ws.ChangeMoment[0], kPreviousEmptyMark, kPreviousEmptyMark);
    }
    return changeRowCells(ws.ChangeDesc[i], ws.ChangeSerial[i], ws.ChangeWeight[i], ws.ChangeArm[i],
                          ws.ChangeMoment[i], ws.ChangeInstalled[i], ws.ChangeRemoved[i]);
}

// Puts the row into the equipment list's arrays and gives its grid row.
std::vector<std::string> showListRow(Form1& f, const EquipmentRow& row, const EquipmentColumns& c, int i) {
    WorksheetState& ws = f.ws;
    ws.ListDesc[i] = storedOr(row[c.description], "");
    ws.ListSerial[i] = storedOr(row[c.serial], "");
    ws.ListWeight[i] = storedOr(row[c.weight], "");
    ws.ListArm[i] = storedOr(row[c.arm], "");
    return listRowCells(ws.ListDesc[i], ws.ListSerial[i], ws.ListWeight[i], ws.ListArm[i]);
}

bool hasNoRows(const std::shared_ptr<Recordset>& eq) {
    try {
        return !eq || (eq->IsBOF() && eq->IsEOF());
    } catch (const RuntimeError&) {
        return true;  // a closed set shows no rows
    }
}

std::vector<const EquipmentRow*> placesOf(const std::vector<EquipmentRow>& rows) {
    std::vector<const EquipmentRow*> out;
    out.reserve(rows.size());
    for (const EquipmentRow& row : rows) out.push_back(&row);
    return out;
}

// The weighing's rows in rsEquipment: those each list reads (each in the
// set's order; row i of a list shows the first row that a find of row
// number i would meet), and where the fields are among their values.
struct ListedRows {
    std::vector<EquipmentRow> read, listRead;  // listRead: the list's own query, when read apart
    std::vector<const EquipmentRow*> weighing, list;
    EquipmentColumns columns;
    bool allUnderKey = false;  // `read` holds every Equipment row under the key
};

// Whether the boxes name the weighing exactly as its stored key does: the
// rows under one are then the rows under the other.
bool boxesShowKey(const Form1& f, const WeighingKey& key) {
    return key.tail.isText() && key.tail.toText() == f.Text1.text() && key.date.isDate() &&
           parseDate(f.Text7.text()) == std::optional<Date>(key.date.toDate());
}

// Reads the lists' rows with one query of every Equipment row under the
// key, when the boxes name the key; false where they do not or the reading
// fails.
bool readRowsAtOnce(Form1& f, const WeighingKey& key, ListedRows& rows) {
    if (!boxesShowKey(f, key)) return false;
    Recordset& eq = *f.rsEquipment;
    return skipOnFailure([&] {
        const std::vector<std::string> fields = eq.fieldNames();
        const std::optional<EquipmentColumns> columns = columnsAmong(fields);
        if (!columns) throw RuntimeError(dberr::kItemNotFound, "Item not found in this collection.");
        Recordset::TableRows table = eq.TableRowsMeeting(weighingKeyCriteria(f.Text1.text(), f.Text7.text()), fields,
                                                         {rowNumbersBelow(kChangeRows), listRowsPastKey(kListRows)});
        rows.read = std::move(table.rows);
        rows.allUnderKey = true;
        for (std::size_t i : table.setRowsWithin[0]) rows.weighing.push_back(&rows.read[i]);
        for (std::size_t i : table.setRowsWithin[1]) rows.list.push_back(&rows.read[i]);
        rows.columns = *columns;
    });
}

// The same, one query at a time: what is stored under the key, then each
// list, each failing on its own.
void readRowsOneByOne(Form1& f, const WeighingKey& key, ListedRows& rows) {
    skipOnFailure([&] { f.weighingOnScreen = StoredWeighing::read(Form1::need(f.dbRecords), key); });
    Recordset& eq = *f.rsEquipment;
    const std::string tail = f.Text1.text(), date = f.Text7.text();
    skipOnFailure([&] { rows.read = eq.RowsMeeting(weighingRowsCriteria(tail, date, kChangeRows), kEquipmentFields); });
    rows.weighing = placesOf(rows.read);
    skipOnFailure([&] { rows.listRead = eq.RowsMeeting(listRowsCriteria(tail, date, kListRows), kEquipmentFields); });
    rows.list = placesOf(rows.listRead);
}

// The change list, the equipment list and the closing steps when
// rsEquipment has rows, and what is stored under the key (for the next
// save's check). A list whose reading fails, or a row whose showing fails,
// is left as the clearing left it; the display goes on. Every field without
// value is given its default before use, so no step meets a Null and no
// stored row is ever deleted to get past one.
void showEquipmentRows(Form1& f, const std::shared_ptr<Recordset>& aircraftSet, const WeighingKey& key) {
    if (hasNoRows(f.rsEquipment)) {
        skipOnFailure([&] { f.weighingOnScreen = StoredWeighing::read(Form1::need(f.dbRecords), key); });
        return;
    }
    ListedRows rows;
    if (!readRowsAtOnce(f, key, rows)) {
        rows = ListedRows{};
        readRowsOneByOne(f, key, rows);
    }
    const EquipmentColumns& c = rows.columns;
    const auto changeRows = firstOfEachRowNumber<kChangeRows>(rows.weighing, c.rowNum, [&](const EquipmentRow& row) {
        return isChangeRow(row[c.description], row[c.install], row[c.remove]);
    });
    // Each row shown is added to its grid at its row number, pushing the
    // blank rows down.
    std::vector<std::pair<int, std::vector<std::string>>> gridRows;
    for (std::size_t i = 0; i < kChangeRows; ++i) {
        const int n = static_cast<int>(i);
        if (changeRows[i]) skipOnFailure([&] { gridRows.emplace_back(n, showChangeRow(f, *changeRows[i], c, n)); });
    }
    skipOnFailure([&] { f.Grid1.AddItems(std::move(gridRows)); });
    gridRows.clear();
    const auto shownListRows =
        firstOfEachRowNumber<kListRows>(rows.list, c.rowNum, [](const EquipmentRow&) { return true; });
    for (std::size_t i = 0; i < kListRows; ++i) {
        const int n = static_cast<int>(i);
        if (shownListRows[i]) skipOnFailure([&] { gridRows.emplace_back(n, showListRow(f, *shownListRows[i], c, n)); });
    }
    skipOnFailure([&] { f.Grid3.AddItems(std::move(gridRows)); });
    f.Grid1.setRows(kChangeRows);
    // The blank rows pushed past row 99 go, so no row beyond the list's 100 remains.
    f.Grid3.setRows(kListRows);
    skipOnFailure([&] { f.RecalcWeightAndBalance(); });
    // The rows read, once shown, are what is stored under the key.
    if (rows.allUnderKey) {
        skipOnFailure([&] {
            f.weighingOnScreen =
                StoredWeighing::readWith(Form1::need(f.dbRecords), *aircraftSet, key, std::move(rows.read));
        });
    }
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
    const WeighingKey key{row.at("Tail"), row.at("Date")};
    showHeader(f, row);
    showWeighingPointsAndFluids(f, row, variant);
    showEquipmentRows(f, f.*variant.set, key);
}

}  // namespace wb
