#include "platform/value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/numbers.h"

namespace wb {
namespace {

int errorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

const Date kMarch9{2004, 3, 9};

TEST(Value, KindsAndNames) {
    EXPECT_EQ(Value().kind(), Value::Kind::Empty);
    EXPECT_EQ(Value::null().kind(), Value::Kind::Null);
    EXPECT_EQ(Value("a").kind(), Value::Kind::Text);
    EXPECT_EQ(Value(2.5).kind(), Value::Kind::Number);
    EXPECT_EQ(Value(3).kind(), Value::Kind::Number);
    EXPECT_EQ(Value::boolean(true).kind(), Value::Kind::Boolean);
    EXPECT_EQ(Value(kMarch9).kind(), Value::Kind::Date);
    const std::pair<Value::Kind, std::string> names[] = {
        {Value::Kind::Empty, "Empty"}, {Value::Kind::Null, "Null"},       {Value::Kind::Text, "Text"},
        {Value::Kind::Number, "Number"}, {Value::Kind::Boolean, "Boolean"}, {Value::Kind::Date, "Date"},
    };
    for (const auto& [kind, name] : names) EXPECT_EQ(Value::kindName(kind), name);
    EXPECT_NE(Value("3"), Value(3));
    EXPECT_EQ(Value(3), Value(3.0));
}

TEST(Value, ToText) {
    const std::pair<Value, std::string> cases[] = {
        {Value(), ""},
        {Value("  as typed "), "  as typed "},
        {Value(1500), "1500"},
        {Value(-2.5), "-2.5"},
        {Value(1e20), "1E+20"},
        {Value(static_cast<double>(0.1f)), "0.100000001490116"},  // a widened single: 15 digits
        {Value::boolean(true), "True"},
        {Value::boolean(false), "False"},
        {Value(kMarch9), "3/9/2004"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.toText(), expected);
        EXPECT_EQ(value.displayText(), expected);
    }
    EXPECT_EQ(errorOf([] { (void)Value::null().toText(); }), kInvalidUseOfNull);
    EXPECT_EQ(Value::null().displayText(), "");
}

TEST(Value, SingleShowsItsOwnSevenDigits) {
    Value weight = Value::single(1234.56f);
    EXPECT_TRUE(weight.isNumber());
    EXPECT_TRUE(weight.isSingle());
    EXPECT_EQ(weight.toText(), "1234.56");
    EXPECT_EQ(weight.toNumber(), static_cast<double>(1234.56f));
    EXPECT_EQ(Value(static_cast<double>(1234.56f)).toText(), "1234.56005859375");
    // The weighed CG of a jack weighing: the single is 680.2734375.
    EXPECT_EQ(Value::single(680.27344f).toText(), "680.2734");
    EXPECT_EQ(Value::single(680.27344f).toNumber(), 680.2734375);
    EXPECT_EQ(Value::single(1e20f).toText(), "100000000000000000000");
    EXPECT_EQ(Value::single(1.5f), Value(1.5));
    EXPECT_FALSE(Value(1.5).isSingle());
}

TEST(Value, ToNumber) {
    const std::pair<Value, double> cases[] = {
        {Value(), 0},           {Value(12.5), 12.5},     {Value(" -12.5 "), -12.5}, {Value("1E3"), 1000},
        {Value("&H1F"), 31},    {Value::boolean(true), -1}, {Value::boolean(false), 0},
        {Value(kMarch9), 38055}, {Value(Date{}), 0},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(value.toNumber(), expected) << value.displayText();
    for (const char* text : {"", "abc", "12abc", "1 2", ".", "-", "1,5", "3/9/2004"})
        EXPECT_EQ(errorOf([&] { (void)Value(text).toNumber(); }), kTypeMismatch) << '"' << text << '"';
    EXPECT_EQ(errorOf([] { (void)Value::null().toNumber(); }), kInvalidUseOfNull);
}

TEST(Value, ToBool) {
    const std::pair<Value, bool> cases[] = {
        {Value(), false},          {Value(0), false},         {Value(0.5), true},  {Value(-1), true},
        {Value("True"), true},     {Value(" tRUE "), true},    {Value("false"), false},
        {Value("0"), false},       {Value("-1"), true},       {Value::boolean(true), true},
        {Value(kMarch9), true},    {Value(Date{}), false},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(value.toBool(), expected) << value.displayText();
    for (const char* text : {"", "yes", "Truely", "1x"})
        EXPECT_EQ(errorOf([&] { (void)Value(text).toBool(); }), kTypeMismatch) << '"' << text << '"';
    EXPECT_EQ(errorOf([] { (void)Value::null().toBool(); }), kInvalidUseOfNull);
}

TEST(Value, ToDate) {
    const std::pair<Value, Date> cases[] = {
        {Value(kMarch9), kMarch9},       {Value("03-09-2004"), kMarch9}, {Value("3/9/2004"), kMarch9},
        {Value(" 2004-03-09 "), kMarch9}, {Value(38055), kMarch9},        {Value(38055.75), kMarch9},
        {Value(-1.5), Date{1899, 12, 29}}, {Value(), Date{1899, 12, 30}},
        {Value("Mar 9 2004"), kMarch9},  {Value("9-Mar-2004"), kMarch9}, {Value("March 9, 2004"), kMarch9},
        {Value("3/9"), kMarch9},         {Value("9 MAR"), kMarch9},      {Value("3-9-04"), kMarch9},
    };
    FixedClock clock(Date{2004, 7, 1});
    DateReadingClock installed(&clock);  // "3/9" is in the clock's year
    for (const auto& [value, expected] : cases) EXPECT_EQ(value.toDate(), expected) << value.displayText();
    for (const char* text : {"", "13-45-2004", "abc", "38055", "2/30", "10:30"})
        EXPECT_EQ(errorOf([&] { (void)Value(text).toDate(); }), kTypeMismatch) << '"' << text << '"';
    EXPECT_EQ(errorOf([] { (void)Value::null().toDate(); }), kInvalidUseOfNull);
    EXPECT_EQ(errorOf([] { (void)Value(1e9).toDate(); }), kOverflow);
    // A date's text reads back as the same date; a date read from any form
    // shows in the short form.
    EXPECT_EQ(Value(Value(kMarch9).toText()).toDate(), kMarch9);
    EXPECT_EQ(Value(Value("March 9, 2004").toDate()).toText(), "3/9/2004");
}


// Read straight from a number, the leading number is what its text form reads
// back as: 15 digits, a single's 7; every other kind is read from its text.
TEST(Value, LeadingNumberIsThatOfItsText) {
    const Value values[] = {Value(),          Value::null(),         Value(""),
                            Value("12abc"),   Value(" 1 2.5 "),      Value("&H1F"),
                            Value(2.5),       Value(-0.0),           Value(1.0 / 3),
                            Value(0.1 + 0.2), Value(1e300),          Value(1.5e-7),
                            Value(123456789.123456789),              Value::single(1395.9f),
                            Value::single(680.27344f),               Value::single(-0.1f),
                            Value::boolean(true),                    Value::boolean(false),
                            Value(kMarch9)};
    for (const Value& v : values) {
        const double expected = parseLeadingNumber(v.displayText()), got = v.leadingNumber();
        EXPECT_EQ(std::memcmp(&expected, &got, sizeof(double)), 0)  // -0 and 0 differ
            << v.displayText() << ": " << got << ", expected " << expected;
    }
    EXPECT_EQ(errorOf([] { (void)Value(1.7976931348623157e308).leadingNumber(); }), kOverflow);
}

}  // namespace
}  // namespace wb
