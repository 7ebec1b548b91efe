#pragma once
// ShowRecord and ShowFoundRecord: one routine that puts the current row of a
// result set on the worksheet (header, weighing points, fluids, change list,
// equipment list) and recalculates, driven by a table of what differs between
// the two.
#include <array>
#include <memory>

#include "platform/database.h"
#include "records/shown_rows.h"

namespace wb {

class Form1;

struct ShowVariant {
    std::shared_ptr<Recordset> Form1::*set;       // the set whose current row is shown
    std::array<const char*, 5> jackDescWhenNull;  // J1Dsc .. J5Dsc without value
    std::array<const char*, 5> fluidDescWhenNull; // F1Dsc .. F5Dsc without value
    FluidMasks fluidMasks;                        // Grid4 weight, arm, moment
};

extern const ShowVariant kShowRecord;       // the browse set rsAircraft
extern const ShowVariant kShowFoundRecord;  // the search set rsFound

// Shows the current row of the variant's set. Before the first or past the last
// row it only clears the worksheet. No failure reaches the caller.
void ShowStoredRecord(Form1& f, const ShowVariant& variant);

}  // namespace wb
