#include "records/shown_rows.h"

#include "platform/numbers.h"

namespace wb {

namespace {

std::string joined(const std::vector<std::string>& cells) {
    std::string out;
    bool first = true;
    for (const std::string& c : cells) {
        if (!first) out += '\t';
        out += c;
        first = false;
    }
    return out;
}

}  // namespace

Value storedOr(const Value& stored, const Value& whenNull) { return stored.isNull() ? whenNull : stored; }

bool isNumericValue(const Value& v) {
    if (v.isNumber()) return true;
    return v.isText() && isNumericText(v.toText());
}

std::string maskedElement(const Value& v, std::string_view mask) {
    if (isNumericValue(v)) return formatMask(v.toNumber(), mask);
    return v.displayText();
}

double leadingNumberOf(const Value& v) { return v.leadingNumber(); }

Value productOrEmpty(const Value& weight, const Value& arm) {
    if (isNumericValue(weight) && isNumericValue(arm)) return Value(weight.toNumber() * arm.toNumber());
    return Value("");
}

std::string weighingPointRowText(const Value& desc, const Value& tare, const Value& weight, const Value& arm) {
    const double moment = (leadingNumberOf(weight) - leadingNumberOf(tare)) * leadingNumberOf(arm);
    return joined({desc.displayText(), tare.displayText(), maskedElement(weight, "#####0.00"),
                   maskedElement(arm, "#####0.00"), formatMask(moment, "#####0.0")});
}

std::string fluidRowText(const Value& desc, const Value& weight, const Value& arm, const FluidMasks& masks) {
    const double moment = leadingNumberOf(weight) * leadingNumberOf(arm);
    return joined({desc.displayText(), maskedElement(weight, masks.weight), maskedElement(arm, masks.arm),
                   formatMask(moment, masks.moment)});
}

std::vector<std::string> listRowCells(const Value& desc, const Value& serial, const Value& weight, const Value& arm) {
    const double w = leadingNumberOf(weight), a = leadingNumberOf(arm);
    return {desc.displayText(), serial.displayText(), formatMask(w, "#####0.00"), formatMask(a, "#####0.00"),
            formatMask(w * a, "#####0.0")};
}

std::string listRowText(const Value& desc, const Value& serial, const Value& weight, const Value& arm) {
    return joined(listRowCells(desc, serial, weight, arm));
}

std::vector<std::string> changeRowCells(const Value& desc, const Value& serial, const Value& weight, const Value& arm,
                                        const Value& moment, const Value& installed, const Value& removed) {
    return {desc.displayText(),           serial.displayText(),           maskedElement(weight, "#####0.00"),
            maskedElement(arm, "#####0.00"), maskedElement(moment, "#####0.0"), installed.displayText(),
            removed.displayText()};
}

std::string changeRowText(const Value& desc, const Value& serial, const Value& weight, const Value& arm,
                          const Value& moment, const Value& installed, const Value& removed) {
    return joined(changeRowCells(desc, serial, weight, arm, moment, installed, removed));
}

bool isTrueField(const Value& v) {
    if (v.isNull() || v.isEmpty()) return false;
    if (v.isBoolean()) return v.toBool();
    if (v.isNumber()) return v.toNumber() != 0;
    return false;
}

bool isChangeRow(const Value& description, const Value& install, const Value& remove) {
    if (isTrueField(install) || isTrueField(remove)) return true;
    return description.isText() && description.toText() == kPreviousEmpty;
}

Criteria weighingKeyCriteria(const std::string& tail, const std::string& date) {
    return Criteria("Tail", Compare::Equal, tail).And("Date", Compare::Equal, date);
}

Criteria rowNumbersBelow(int rowCount) {
    return Criteria("RowNum", Compare::GreaterOrEqual, 0).And("RowNum", Compare::Less, rowCount);
}

Criteria weighingRowsCriteria(const std::string& tail, const std::string& date, int rowCount) {
    return weighingKeyCriteria(tail, date).And(rowNumbersBelow(rowCount));
}

namespace {
Criteria listRowFlags() {
    return Criteria("Install", Compare::Equal, Value::boolean(false))
        .And("Remove", Compare::Equal, Value::boolean(false))
        .And("Description", Compare::NotEqual, kPreviousEmpty);
}
}  // namespace

Criteria tailListRowCriteria(const std::string& tail) {
    return Criteria("Tail", Compare::Equal, tail).And(listRowFlags());
}

Criteria listRowsPastKey(int rowCount) {
    return rowNumbersBelow(rowCount).And(listRowFlags());
}

Criteria listRowsCriteria(const std::string& tail, const std::string& date, int rowCount) {
    return weighingKeyCriteria(tail, date).And(listRowsPastKey(rowCount));
}

}  // namespace wb
