#pragma once
// A dynamically typed cell value: Empty, Null, text, number, boolean or date.
// Text is UTF-8; lengths and positions of text count characters (platform/utf8.h).
#include <string>
#include <variant>

#include "platform/dates.h"

namespace wb {

class Value {
public:
    enum class Kind { Empty, Null, Text, Number, Boolean, Date };

    Value() = default;  // Empty
    Value(const char* text) : data_(std::string(text)) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(double number) : data_(number) {}
    Value(int number) : data_(static_cast<double>(number)) {}
    Value(Date date) : data_(date) {}
    static Value null() { Value v; v.data_ = NullTag{}; return v; }
    static Value boolean(bool b) { Value v; v.data_ = b; return v; }
    // A single-precision number: holds the single's exact value, which masks
    // format; its text form is the single's own, 7 significant digits
    // (680.27344f gives "680.2734").
    static Value single(float f) { Value v(static_cast<double>(f)); v.single_ = true; return v; }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isText() const { return kind() == Kind::Text; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isSingle() const { return single_; }

    // The runtime's default conversions. Null fails with 94 (invalid use of Null);
    // a text that is not a number (or date) fails with 13 (type mismatch).
    std::string toText() const;   // Empty "", number (15 digits, a single 7), True/False, short date
    double toNumber() const;      // Empty 0, True -1, numeric text
    bool toBool() const;          // non-zero number, "True"/"False", numeric text
    Date toDate() const;          // a date, or text that reads as one

    // Text form without failing: Null gives "" (for display and logs).
    std::string displayText() const;
    // The leading-number parse of displayText(), read straight from a number
    // (numbers.h textFormValue).
    double leadingNumber() const;
    static const char* kindName(Kind k);

    bool operator==(const Value& other) const { return data_ == other.data_; }

private:
    struct NullTag { bool operator==(const NullTag&) const { return true; } };
    struct EmptyTag { bool operator==(const EmptyTag&) const { return true; } };
    std::variant<EmptyTag, NullTag, std::string, double, bool, Date> data_;
    bool single_ = false;  // a Number that came from a single
};

}  // namespace wb
