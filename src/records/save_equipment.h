#pragma once
// The equipment rows of a save: the change list and the equipment list of the
// worksheet as numbered Equipment rows, worked out from the row buffers and
// then added one by one to the equipment set.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/value.h"
#include "worksheet/worksheet_state.h"

namespace wb {

class Dialogs;
class Recordset;

struct EquipmentRowWrite {
    std::int16_t RowNum = 0;
    std::string Description;  // at most kDescriptionLength characters
    // nullopt: working the value out fails, so the field keeps no value.
    std::optional<Value> Serial, Weight, Arm;
    bool Install = false, Remove = false;
};

struct EquipmentRows {
    // The described change rows in grid order. Marked rows and the
    // previous-empty row are numbered 0, 1, ... (from 1 when no previous-empty
    // row leads); a row without a mark takes the next number after listRows'.
    std::vector<EquipmentRowWrite> changeRows;
    std::vector<EquipmentRowWrite> listRows;  // RowNum again from 0
    int longChangeDescriptions = 0;             // change-list descriptions over the limit
};

inline constexpr std::size_t kDescriptionLength = 25;

// Change-list rows 0..29 and equipment-list rows 0..99 that have a description.
EquipmentRows equipmentRowsOf(const WorksheetState& ws);

// The notice on a change-list description over 25 characters, once per such row.
void showLongDescriptionNotices(Dialogs& dialogs, int count);

// Adds every row to `equipment` under the tail and date texts, one AddNew and
// Update per row; a step that fails is skipped and the next one runs. A null
// set fails every step. Returns the rows stored under the tail and date
// (their key's writes and Update succeeded), as they were stored.
std::vector<std::vector<Value>> writeEquipmentRows(Recordset* equipment, const std::string& tail,
                                                   const std::string& date, const EquipmentRows& rows);

}  // namespace wb
