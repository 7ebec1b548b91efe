#pragma once
// The weight-and-balance arithmetic of the worksheet, free of controls: the
// recalculation (RecalcWeightAndBalance) and the previous-empty row that
// Text9_LostFocus / Text10_LostFocus build. The handlers read the boxes and
// arrays, call these functions and write the results back in the order below.
//
// Numbers are read from a value's text form with the leading-number parse (an
// empty, non-numeric or Null value reads 0). Each term is computed in double;
// each total is rounded to single precision every time it is stored. A number,
// total or product that leaves the single (or double) range fails with
// TotalsOverflow (RuntimeError 6), which names where and carries what the
// handler shows instead of the results.
#include <optional>
#include <span>
#include <string>

#include "platform/failure.h"
#include "platform/value.h"

namespace wb {

inline constexpr const char* kPreviousEmpty = "Previous A/C Empty";
inline constexpr const char* kPreviousEmptyMark = "//////";
inline constexpr const char* kChangeMark = "X";

// What the recalculation reads. Spans over the worksheet arrays: the weighing
// points and fluids use elements 0 to 4, the change list 0 to Grid1Rows - 1.
// A span shorter than that reads its missing elements as empty.
struct RecalcInput {
    std::string Text2;   // serial number, copied into row 0
    std::string Text9;   // previous empty weight
    std::string Text10;  // previous empty CG
    std::span<const Value> JackTare, JackWeight, JackArm;
    std::span<const Value> FluidWeight, FluidArm;
    std::span<const Value> ChangeDesc, ChangeWeight, ChangeArm;
    std::span<const Value> ChangeInstalled, ChangeRemoved;
    int Grid1Rows = 30;
    // The characters the boxes hold (0: no limit). A figure whose whole part
    // is longer than its box would read as another number there: it counts
    // as too large.
    int Text9Length = 0, Text10Length = 0, Text23Length = 0, Text24Length = 0, Text27Length = 0;
};

// Row 0 of the change list as the previous-empty row: the array entries and the
// grid row text (seven TAB-joined fields).
struct PreviousEmptyRow {
    Value ChangeDesc, ChangeSerial, ChangeWeight, ChangeArm, ChangeInstalled, ChangeRemoved;
    std::string rowText;
};

// With a weighing in effect: what replaces Text9, Text10 and row 0.
struct WeighedReplacement {
    std::string Text9, Text10;
    PreviousEmptyRow row0;
};

struct RecalcResult {
    float WeighedWeight = 0, WeighedMoment = 0, WeighedCG = 0;
    float NewEmptyWeight = 0, NewEmptyMoment = 0, NewEmptyCG = 0;
    // The new value of ChangeMoment(0): WeighedMoment with a weighing, else the
    // double product of the numbers of Text9 and Text10.
    Value ChangeMoment0;
    // Set exactly when a weighing is in effect (WeighedCG non-zero).
    std::optional<WeighedReplacement> weighed;
    std::string Text23, Text24, Text27;  // new empty weight, CG, moment as shown

    bool weighingInEffect() const { return weighed.has_value(); }
};

// A step of the recalculation overflowed. where() names it as the user sees
// the worksheet: "weighing points, row 2", "fluids, row 1", "weighed C.G.",
// "change list, row 3" (rows counted from 1, the previous-empty row is row 1 of
// the change list), "new empty C.G."; a figure too long for its box is named
// after it: "weighed weight", "weighed C.G.", "new empty weight", "new empty
// C.G.", "new empty moment". shown() is what the handler writes in the
// results' place, in the same order: no new empty figure (Text23, Text24 and
// Text27 empty, the new totals 0); when the weighing itself failed, no
// weighed figure either (Text9, Text10 and the figures of row 0 empty, as a
// weighing in effect replaces them), else the weighing as computed.
class TotalsOverflow : public RuntimeError {
public:
    TotalsOverflow(std::string where, RecalcResult shown);
    const std::string& where() const { return where_; }
    const RecalcResult& shown() const { return shown_; }

private:
    std::string where_;
    RecalcResult shown_;
};

// RecalcWeightAndBalance's arithmetic. The handler then, in this order:
//   1. stores the six totals;
//   2. with a weighing: Text9 = weighed->Text9, then Text10 = weighed->Text10
//      (each raises its Change handler); then ChangeDesc(0), ChangeWeight(0),
//      ChangeArm(0), ChangeMoment(0) = ChangeMoment0, ChangeSerial(0),
//      ChangeInstalled(0), ChangeRemoved(0) from row0; then Grid1.RemoveItem(0)
//      and Grid1.AddItem(row0.rowText, 0);
//      without a weighing: only ChangeMoment(0) = ChangeMoment0;
//   3. Text23, Text24, Text27, in this order.
// With a weighing whose change rows bring the new empty weight to exactly 0, the
// new empty CG is 0 (as without a weighing), not the CG of an earlier run.
RecalcResult ComputeWeightAndBalance(const RecalcInput& in);

// How Text9_LostFocus / Text10_LostFocus place the previous-empty row.
enum class Row0Placement {
    ReplaceInPlace,  // row 0 held the previous-empty row or nothing
    MoveDown,        // row 0 held an item: rows 0 to 28 move to 1 to 29 first
};

struct PreviousEmptyEntry {
    Row0Placement placement;
    PreviousEmptyRow row0;
};

// The previous-empty row built from the header boxes. lostFocusText is the text
// of the box that lost the focus: when it is empty nothing is built (nullopt) and
// the handler does nothing more. A figure beyond a single's range shows empty
// in the row (the recalculation that follows reports it). Otherwise the handler, in this
// order:
//   1. MoveDown: MoveChangeRowsDown on each of the seven change arrays, then
//      Grid1.RemoveItem(29); ReplaceInPlace: Grid1.RemoveItem(0);
//   2. Grid1.AddItem(row0.rowText, 0);
//   3. ChangeDesc(0), ChangeSerial(0), ChangeWeight(0), ChangeArm(0),
//      ChangeInstalled(0), ChangeRemoved(0) from row0 (ChangeMoment(0) is left to
//      the recalculation);
//   4. RecalcWeightAndBalance.
// Row 0 counts as empty when its description, weight and arm are all empty.
// Both mark entries of the row become "//////", so an "X" left in
// ChangeRemoved(0) by an earlier item cannot subtract the previous-empty row.
std::optional<PreviousEmptyEntry> BuildPreviousEmptyRow(
    const std::string& lostFocusText, const std::string& Text2, const std::string& Text9,
    const std::string& Text10, const Value& ChangeDesc0, const Value& ChangeWeight0,
    const Value& ChangeArm0);

// Moves elements 0 to 28 of one change array to 1 to 29; the element of row 29
// is dropped, element 0 keeps its value, element 30 is untouched.
void MoveChangeRowsDown(std::span<Value> changeArray);

// The number a worksheet value reads as: its text form through the
// leading-number parse; Empty, Null and non-numeric text read 0.
double NumberOf(const Value& v);

}  // namespace wb
