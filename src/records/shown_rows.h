#pragma once
// The pure pieces of putting stored rows on the worksheet: a stored value or
// its default, masks on array elements, the grid row texts of the weighing
// points, fluids and list rows, and the criteria that find a weighing's
// change rows and list rows in the equipment set.
#include <string>
#include <string_view>
#include <vector>

#include "platform/database.h"
#include "platform/value.h"
#include "worksheet/recalculation_math.h"

namespace wb {

// The stored value itself, or `whenNull` for a field without value.
Value storedOr(const Value& stored, const Value& whenNull);
// A number, or a text that reads as a number as a whole.
bool isNumericValue(const Value& v);
// An element through a mask: a number or numeric text formatted, anything
// else (the empty text included) as its text.
std::string maskedElement(const Value& v, std::string_view mask);
// The leading-number parse of the element's text form (Null and Empty give 0),
// read straight from a number.
double leadingNumberOf(const Value& v);
// weight x arm when both are numeric, else the empty text.
Value productOrEmpty(const Value& weight, const Value& arm);

// Grid2: description, tare as stored, weight and arm "#####0.00", moment
// (weight - tare) x arm "#####0.0".
std::string weighingPointRowText(const Value& desc, const Value& tare, const Value& weight, const Value& arm);

struct FluidMasks {
    const char* weight;
    const char* arm;
    const char* moment;
};
// Grid4: description, weight, arm, moment weight x arm, through the masks.
std::string fluidRowText(const Value& desc, const Value& weight, const Value& arm, const FluidMasks& masks);

// Grid3: description, serial, the parsed weight and arm "#####0.00", their
// product "#####0.0". As cells, and as the row's TAB-joined text.
std::vector<std::string> listRowCells(const Value& desc, const Value& serial, const Value& weight, const Value& arm);
std::string listRowText(const Value& desc, const Value& serial, const Value& weight, const Value& arm);

// Grid1: description, serial, weight, arm "#####0.00", moment "#####0.0", marks.
std::vector<std::string> changeRowCells(const Value& desc, const Value& serial, const Value& weight, const Value& arm,
                                        const Value& moment, const Value& installed, const Value& removed);
std::string changeRowText(const Value& desc, const Value& serial, const Value& weight, const Value& arm,
                          const Value& moment, const Value& installed, const Value& removed);

// A Boolean field that holds true (Null is not true).
bool isTrueField(const Value& v);
// The rule that tells the lists apart: Install or Remove true, or the exact
// marker as description.
bool isChangeRow(const Value& description, const Value& install, const Value& remove);

// The rows of a weighing: its tail number and date as the boxes show them.
Criteria weighingKeyCriteria(const std::string& tail, const std::string& date);
// Row numbers that are numbers from 0 below `rowCount`.
Criteria rowNumbersBelow(int rowCount);
// What listRowsCriteria asks past the key.
Criteria listRowsPastKey(int rowCount);
// The rows of a weighing whose row number is a number from 0 below
// `rowCount` (change rows among them). A row number that is not stored as a
// number meets neither bound, as it meets no "RowNum = i".
Criteria weighingRowsCriteria(const std::string& tail, const std::string& date, int rowCount);
// The list rows of a tail: both flags false, a description other than the marker.
Criteria tailListRowCriteria(const std::string& tail);
// The list rows of a weighing, row numbers as above.
Criteria listRowsCriteria(const std::string& tail, const std::string& date, int rowCount);

}  // namespace wb
