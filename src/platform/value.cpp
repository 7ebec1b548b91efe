#include "platform/value.h"

#include <cmath>

#include "platform/failure.h"
#include "platform/numbers.h"

namespace wb {

namespace {

[[noreturn]] void failNull() { throw RuntimeError(kInvalidUseOfNull, "Invalid use of Null"); }
[[noreturn]] void failType() { throw RuntimeError(kTypeMismatch, "Type mismatch"); }

std::string trimmed(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    size_t end = s.find_last_not_of(" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

// Serials of 100-01-01 and 9999-12-31, the runtime's date range.
constexpr double kFirstSerial = -657434;
constexpr double kLastSerial = 2958465;

Date dateOfSerial(double serial) {
    double day = std::trunc(serial);  // the fraction is a time of day
    if (!(day >= kFirstSerial && day <= kLastSerial)) throw RuntimeError(kOverflow, "Overflow");
    return dateFromSerial(static_cast<long>(day));
}

}  // namespace

std::string Value::toText() const {
    switch (kind()) {
    case Kind::Empty: return "";
    case Kind::Null: failNull();
    case Kind::Text: return std::get<std::string>(data_);
    case Kind::Number: {
        double number = std::get<double>(data_);
        return single_ ? singleToText(static_cast<float>(number)) : numberToText(number);
    }
    case Kind::Boolean: return std::get<bool>(data_) ? "True" : "False";
    case Kind::Date: return formatShortDate(std::get<Date>(data_));
    }
    return "";
}

double Value::toNumber() const {
    switch (kind()) {
    case Kind::Empty: return 0;
    case Kind::Null: failNull();
    case Kind::Text: {
        const std::string& text = std::get<std::string>(data_);
        if (!isNumericText(text)) failType();
        return parseLeadingNumber(text);
    }
    case Kind::Number: return std::get<double>(data_);
    case Kind::Boolean: return std::get<bool>(data_) ? -1 : 0;
    case Kind::Date: return static_cast<double>(dateSerial(std::get<Date>(data_)));
    }
    return 0;
}

bool Value::toBool() const {
    switch (kind()) {
    case Kind::Empty: return false;
    case Kind::Null: failNull();
    case Kind::Text: {
        std::string text = trimmed(std::get<std::string>(data_));
        if (equalsIgnoringCase(text, "True")) return true;
        if (equalsIgnoringCase(text, "False")) return false;
        if (!isNumericText(text)) failType();
        return parseLeadingNumber(text) != 0;
    }
    case Kind::Number: return std::get<double>(data_) != 0;
    case Kind::Boolean: return std::get<bool>(data_);
    case Kind::Date: return dateSerial(std::get<Date>(data_)) != 0;
    }
    return false;
}

Date Value::toDate() const {
    switch (kind()) {
    case Kind::Empty: return Date{};
    case Kind::Null: failNull();
    case Kind::Text: {
        auto date = parseDate(std::get<std::string>(data_));
        if (!date) failType();
        return *date;
    }
    case Kind::Number: return dateOfSerial(std::get<double>(data_));
    case Kind::Boolean: return dateOfSerial(std::get<bool>(data_) ? -1 : 0);
    case Kind::Date: return std::get<Date>(data_);
    }
    return Date{};
}

std::string Value::displayText() const { return isNull() ? "" : toText(); }

double Value::leadingNumber() const {
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null: return 0;
    case Kind::Text: return parseLeadingNumber(std::get<std::string>(data_));
    case Kind::Number: {
        const double number = std::get<double>(data_);
        return single_ ? textFormValue(static_cast<float>(number)) : textFormValue(number);
    }
    default: return parseLeadingNumber(displayText());  // "True", "False", a short date
    }
}

const char* Value::kindName(Kind k) {
    switch (k) {
    case Kind::Empty: return "Empty";
    case Kind::Null: return "Null";
    case Kind::Text: return "Text";
    case Kind::Number: return "Number";
    case Kind::Boolean: return "Boolean";
    case Kind::Date: return "Date";
    }
    return "";
}

}  // namespace wb
