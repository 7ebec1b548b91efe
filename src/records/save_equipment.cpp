#include "records/save_equipment.h"

#include "platform/database.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/utf8.h"
#include "worksheet/recalculation_math.h"

namespace wb {

namespace {

// An unset value counts as empty text; a Null value is empty as well.
bool isEmptyDescription(const Value& v)
{
    return v.isNull() || v.isEmpty() || (v.isText() && v.toText().empty());
}

bool isMark(const Value& v) { return v.isText() && v.toText() == "X"; }

// The leading-number value of a value's text form; nullopt when that fails.
std::optional<Value> parsedNumber(const Value& v)
{
    if (v.isNull()) return Value(0);
    try {
        return Value(parseLeadingNumber(v.toText()));
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

Value unchangedOrEmptyText(const Value& v) { return v.isNull() ? Value("") : v; }

std::string cutDescription(const Value& v)
{
    return utf8::left(v.toText(), kDescriptionLength);
}

}  // namespace

// Readers tell the lists apart by the row alone: a row with a mark or the
// previous-empty description is a change row, any other an equipment-list row,
// and each list is shown by row number, with change row 0 kept for the
// previous-empty row. So the numbers are counted per list as a reader will
// see it: an item never takes change number 0 (it would be hidden behind the
// previous-empty row made from the header), and a change row without a mark
// follows the equipment list's own rows (on their numbers it would hide one).
EquipmentRows equipmentRowsOf(const WorksheetState& ws)
{
    EquipmentRows out;
    for (int i = 0; i < WorksheetState::kListBound; ++i) {
        const Value& desc = ws.ListDesc[i];
        if (isEmptyDescription(desc)) continue;
        EquipmentRowWrite row;
        row.RowNum = static_cast<std::int16_t>(out.listRows.size());
        row.Description = cutDescription(desc);
        row.Serial = unchangedOrEmptyText(ws.ListSerial[i]);
        row.Weight = unchangedOrEmptyText(ws.ListWeight[i]);
        row.Arm = unchangedOrEmptyText(ws.ListArm[i]);
        out.listRows.push_back(std::move(row));
    }

    int nextChange = 0;
    int nextReadAsList = static_cast<int>(out.listRows.size());
    for (int i = 0; i < WorksheetState::kChangeBound; ++i) {
        const Value& desc = ws.ChangeDesc[i];
        if (!desc.isNull() && utf8::length(desc.toText()) > kDescriptionLength) ++out.longChangeDescriptions;
        if (isEmptyDescription(desc)) continue;
        EquipmentRowWrite row;
        row.Description = cutDescription(desc);
        row.Serial = unchangedOrEmptyText(ws.ChangeSerial[i]);
        row.Weight = parsedNumber(ws.ChangeWeight[i]);
        row.Arm = parsedNumber(ws.ChangeArm[i]);
        row.Install = isMark(ws.ChangeInstalled[i]);
        row.Remove = isMark(ws.ChangeRemoved[i]);
        const bool previousEmpty = row.Description == kPreviousEmpty;
        if (row.Install || row.Remove || previousEmpty) {
            if (nextChange == 0 && !previousEmpty) nextChange = 1;
            row.RowNum = static_cast<std::int16_t>(nextChange++);
        } else {
            row.RowNum = static_cast<std::int16_t>(nextReadAsList++);
        }
        out.changeRows.push_back(std::move(row));
    }
    return out;
}

void showLongDescriptionNotices(Dialogs& dialogs, int count)
{
    for (int i = 0; i < count; ++i) {
        dialogs.MsgBox("Description(s) more than 25 characters long. Check decriptions and save again",
                       msgbox::kCritical, "Too many characters");
    }
}

std::vector<std::vector<Value>> writeEquipmentRows(Recordset* equipment, const std::string& tail,
                                                   const std::string& date, const EquipmentRows& rows)
{
    auto set = [&] () -> Recordset& {
        if (!equipment) throw RuntimeError(kObjectNotSet, "Object variable not set");
        return *equipment;
    };
    auto put = [&](const char* field, const std::optional<Value>& v) {
        return v && skipOnFailure([&] { set().setField(field, *v); });
    };
    // The date converted once: the date the text denotes, as the field would read the text.
    const std::optional<Date> day = parseDate(date);
    const Value tailValue(tail), dateValue = day ? Value(*day) : Value(date);
    std::vector<std::vector<Value>> stored;
    auto write = [&](const EquipmentRowWrite& row) {
        skipOnFailure([&] { set().AddNew(); });
        const bool tailPut = put("Tail", tailValue);
        const bool keyed = put("Date", dateValue) && tailPut;
        put("RowNum", Value(static_cast<int>(row.RowNum)));
        put("Description", Value(row.Description));
        put("Serial", row.Serial);
        put("Weight", row.Weight);
        put("Arm", row.Arm);
        put("Install", Value(row.Install ? -1 : 0));
        put("Remove", Value(row.Remove ? -1 : 0));
        if (skipOnFailure([&] { set().Update(); }) && keyed) skipOnFailure([&] { stored.push_back(set().lastAddedRow()); });
    };
    for (const EquipmentRowWrite& row : rows.changeRows) write(row);
    for (const EquipmentRowWrite& row : rows.listRows) write(row);
    return stored;
}

}  // namespace wb
