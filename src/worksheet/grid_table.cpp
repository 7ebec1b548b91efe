#include "worksheet/grid_table.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "app/form1.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "records/save_equipment.h"
#include "worksheet/recalculation_math.h"

namespace wb {

namespace {

using K = ColumnKind;

constexpr const char* kNumberMask = "#####0.00";
constexpr const char* kMomentMask = "#####.0";

RowArrays changeArrays(WorksheetState& ws) {
    return {ws.ChangeDesc, ws.ChangeSerial, ws.ChangeWeight, ws.ChangeArm,
            ws.ChangeMoment, ws.ChangeInstalled, ws.ChangeRemoved};
}
RowArrays jackArrays(WorksheetState& ws) {
    return {ws.JackDesc, ws.JackTare, ws.JackWeight, ws.JackArm, ws.JackMoment};
}
RowArrays listArrays(WorksheetState& ws) {
    return {ws.ListDesc, ws.ListSerial, ws.ListWeight, ws.ListArm, ws.ListMoment};
}
RowArrays fluidArrays(WorksheetState& ws) {
    return {ws.FluidDesc, ws.FluidWeight, ws.FluidArm, ws.FluidMoment};
}

// Text under a mask when it is a number or reads as one, else unchanged.
std::string masked(const Value& v, const char* mask) {
    if (v.isNumber()) return formatMask(v.toNumber(), mask);
    const std::string text = v.displayText();
    return isNumericText(text) ? formatMask(parseLeadingNumber(text), mask) : text;
}

}  // namespace

// clang-format off
const GridTable kGridTables[4] = {
    {"Grid1", &Form1::Grid1, &WorksheetState::Grid1EditRow, &WorksheetState::Grid1EditCol, changeArrays,
     {K::Text, K::Text, K::Weight, K::Arm, K::Moment, K::Mark, K::Mark},
     /*rows*/ 30, /*after key*/ 5, /*after click*/ 5, /*enter last, first*/ 6, 0, /*in view*/ 18,
     /*by value*/ false, /*recalc commit*/ true, /*first deletable*/ 1, /*recalc delete*/ true,
     /*lost focus col*/ 1, /*description length*/ kDescriptionLength},
    {"Grid2", &Form1::Grid2, &WorksheetState::Grid2EditRow, &WorksheetState::Grid2EditCol, jackArrays,
     {K::Text, K::Tare, K::Weight, K::Arm, K::Moment},
     5, 0, 3, 3, 1, 0, false, true, 0, false, 1, 0},
    {"Grid3", &Form1::Grid3, &WorksheetState::Grid3EditRow, &WorksheetState::Grid3EditCol, listArrays,
     {K::Text, K::Text, K::Weight, K::Arm, K::Moment},
     100, 0, 3, 3, 0, 5, true, false, 0, false, 0, kDescriptionLength},
    {"Grid4", &Form1::Grid4, &WorksheetState::Grid4EditRow, &WorksheetState::Grid4EditCol, fluidArrays,
     {K::Text, K::Weight, K::Arm, K::Moment},
     5, 0, 1, 2, 1, 0, false, true, 0, false, 1, 0},
};
// clang-format on

int GridTable::colOf(ColumnKind kind) const {
    const auto it = std::find(columns.begin(), columns.end(), kind);
    return it == columns.end() ? -1 : static_cast<int>(it - columns.begin());
}

int GridTable::momentCol() const { return colOf(K::Moment); }

bool GridTable::isNumberCol(int col) const {
    if (col < 0 || col >= static_cast<int>(columns.size())) return false;
    const K k = columns[col];
    return k == K::Tare || k == K::Weight || k == K::Arm;
}

bool GridTable::commits(int col) const {
    if (col < 0 || col >= static_cast<int>(columns.size())) return false;
    return columns[col] == K::Weight || columns[col] == K::Arm;
}

bool GridTable::cellLocked(int row, int col) const {
    if (col == momentCol()) return true;
    return row == 0 && col >= 0 && col < static_cast<int>(columns.size()) && columns[col] == K::Mark;
}

NumericRefusal NumericCheck(const std::string& cellText) {
    if (cellText == " " || cellText == "-") return NumericRefusal::None;
    if (!isNumericText(cellText)) return NumericRefusal::NotNumeric;
    try {
        if (std::fabs(parseLeadingNumber(cellText)) <= FLT_MAX) return NumericRefusal::None;
    } catch (const RuntimeError&) {
        // Beyond even a double's range.
    }
    return NumericRefusal::OutOfRange;
}

std::string MarkText(const std::string& cellText) {
    const bool mark = cellText == "x" || cellText == "X" || cellText == "y" || cellText == "Y";
    return mark ? kChangeMark : "";
}

double CommitMoment(const GridTable& t, const RowArrays& arrays, int row) {
    const int tare = t.colOf(K::Tare);
    double weight = NumberOf(arrays[t.colOf(K::Weight)][row]);
    if (tare >= 0) weight -= NumberOf(arrays[tare][row]);
    return weight * NumberOf(arrays[t.colOf(K::Arm)][row]);
}

std::string CommitRowText(const GridTable& t, const RowArrays& arrays, int row) {
    std::string text;
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
        const Value& v = arrays[c][row];
        if (c > 0) text += '\t';
        switch (t.columns[c]) {
        case K::Weight:
        case K::Arm:
            text += t.redrawByValue ? formatMask(NumberOf(v), kNumberMask) : masked(v, kNumberMask);
            break;
        case K::Moment: text += masked(v, kMomentMask); break;
        case K::Text:
        case K::Tare:
        case K::Mark: text += v.displayText(); break;
        }
    }
    return text;
}

}  // namespace wb
