#include "platform/dates.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/clock.h"

namespace wb {
namespace {

TEST(ParseDate, ReadsMonthFirstAndIso) {
    const std::pair<const char*, Date> cases[] = {
        {"03-09-2004", {2004, 3, 9}}, {"3/9/2004", {2004, 3, 9}},   {"3-9-04", {2004, 3, 9}},
        {"2004-03-09", {2004, 3, 9}}, {"  12/31/1999\t", {1999, 12, 31}},
        {"1/1/00", {2000, 1, 1}},     {"1/1/29", {2029, 1, 1}},     {"1/1/30", {1930, 1, 1}},
        {"1/1/99", {1999, 1, 1}},     {"2/29/2000", {2000, 2, 29}}, {"2/29/2004", {2004, 2, 29}},
        {"2004/3/9", {2004, 3, 9}},   {"1/2/5", {2005, 1, 2}},
    };
    for (const auto& [text, expected] : cases) {
        auto d = parseDate(text);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(*d, expected) << text;
    }
}

// Month 13, day 45, 2/30, a time of day: none is a date.
TEST(ParseDate, RefusesWhatIsNotADate) {
    const char* cases[] = {
        "",           "   ",        "abc",         "13-45-2004", "13/1/2004",  "0/1/2004",
        "1/0/2004",   "2/30/2004",  "2/29/1900",   "2/29/2003",  "4/31/2004",  "2/30",
        "3/9/2004/1", "3-9/2004",   "3.9.2004",    "3 /9/2004",  "03-09-20041", "2004-13-01",
        "2004-003-01", "003/09/2004", "3/9/0099",  "-3/9/2004",  "3//2004",    "3/",
        "/3/9",       "13/9",       "3/45",        "2004-03",    "3 9",        "10:30",
        "10:30 AM",   "3/9/2004 10:30", "Mar",     "Mar 45 2004", "Feb 30",    "Feb 29 2003",
        "Sept 9 2004", "Marc 9 2004", "Mar 9 2004 1", "Mar Apr 9", "9 2004 Mar", "Mar 9,",
        "Mar 9 -- 2004", "Mar 9,, 2004", "Mar 123 2004", "9.Mar.2004", "Mar 9 12004",
    };
    for (const char* text : cases) EXPECT_FALSE(parseDate(text, 2004).has_value()) << '"' << text << '"';
}

TEST(ParseDate, ReadsMonthNamesAndDatesWithoutAYear) {
    const std::pair<const char*, Date> cases[] = {
        {"Mar 9 2004", {2004, 3, 9}},      {"9-Mar-2004", {2004, 3, 9}},
        {"March 9, 2004", {2004, 3, 9}},   {"MARCH 9 2004", {2004, 3, 9}},
        {"mar 9, 04", {2004, 3, 9}},       {"9 march 1999", {1999, 3, 9}},
        {"9-MAR-99", {1999, 3, 9}},        {"Dec 31 29", {2029, 12, 31}},
        {"Jan 1 30", {1930, 1, 1}},        {"sep/9/2004", {2004, 9, 9}},
        {"September 30, 2004", {2004, 9, 30}}, {" May 1 2004 ", {2004, 5, 1}},
        {"Feb 29 2000", {2000, 2, 29}},
        // Without a year: the current year (2007 here).
        {"3/9", {2007, 3, 9}},             {"3-9", {2007, 3, 9}},
        {"12/31", {2007, 12, 31}},         {"Mar 9", {2007, 3, 9}},
        {"9-Mar", {2007, 3, 9}},           {"march 9", {2007, 3, 9}},
    };
    for (const auto& [text, expected] : cases) {
        auto d = parseDate(text, 2007);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(*d, expected) << text;
    }
    // 29 February without a year exists only in a leap year.
    EXPECT_EQ(parseDate("2/29", 2004), (Date{2004, 2, 29}));
    EXPECT_FALSE(parseDate("2/29", 2007).has_value());
}

TEST(ParseDate, WithoutAYearTakesTheInstalledClocksYear) {
    FixedClock outer(Date{2011, 6, 1});
    FixedClock inner(Date{2004, 1, 2});
    {
        DateReadingClock installed(&outer);
        EXPECT_EQ(parseDate("3/9"), (Date{2011, 3, 9}));
        {
            DateReadingClock later(&inner);
            EXPECT_EQ(parseDate("Mar 9"), (Date{2004, 3, 9}));
            DateReadingClock none(nullptr);  // installs nothing
            EXPECT_EQ(DateReadingClock::today(), inner.today());
        }
        EXPECT_EQ(parseDate("3/9"), (Date{2011, 3, 9}));
        outer.set(Date{2012, 1, 1});
        EXPECT_EQ(parseDate("3/9"), (Date{2012, 3, 9}));
    }
    // None installed: the machine's clock.
    EXPECT_EQ(parseDate("3/9"), (Date{SystemClock().today().year, 3, 9}));
}

TEST(DateFormats, WriteEachForm) {
    Date d{2004, 3, 9};
    EXPECT_EQ(formatMmDdYyyy(d), "03-09-2004");
    EXPECT_EQ(formatShortDate(d), "3/9/2004");
    EXPECT_EQ(formatIsoDate(d), "2004-03-09");
    Date late{1999, 12, 31};
    EXPECT_EQ(formatMmDdYyyy(late), "12-31-1999");
    EXPECT_EQ(formatShortDate(late), "12/31/1999");
    EXPECT_EQ(formatIsoDate(late), "1999-12-31");
    // Every form reads back as the same date.
    for (Date x : {d, late, Date{2029, 1, 1}}) {
        EXPECT_EQ(parseDate(formatMmDdYyyy(x)), x);
        EXPECT_EQ(parseDate(formatShortDate(x)), x);
        EXPECT_EQ(parseDate(formatIsoDate(x)), x);
    }
}

// The stored form is read directly; each day of the runtime's range, and
// texts of that shape that are no date, read as the general reading reads
// them (blanks around send a text to the general reading). The written form
// is printf's "%04d-%02d-%02d".
TEST(ParseDate, TheStoredFormReadsAsTheGeneralReadingReadsIt) {
    for (long serial = dateSerial({100, 1, 1}); serial <= dateSerial({9999, 12, 31}); serial += 7) {
        const Date d = dateFromSerial(serial);
        const std::string iso = formatIsoDate(d);
        char printed[40];
        std::snprintf(printed, sizeof printed, "%04d-%02d-%02d", d.year, d.month, d.day);
        ASSERT_EQ(iso, printed);
        ASSERT_EQ(parseIsoDate(iso), d) << iso;
        ASSERT_EQ(parseDate(" " + iso + " "), d) << iso;
    }
    for (const char* text : {"2004-02-30", "2003-02-29", "2004-13-01", "2004-00-10", "0050-03-09", "0000-01-01",
                             "2004-03-9x", "2004+03-09", "1900-02-29", "2000-02-29", "0099-12-31"}) {
        EXPECT_EQ(parseIsoDate(text).has_value(), parseDate(std::string(" ") + text).has_value()) << text;
        EXPECT_EQ(parseDate(text), parseDate(std::string(" ") + text)) << text;
    }
}

TEST(DateSerial, CountsDaysFrom18991230) {
    const std::pair<Date, long> cases[] = {
        {{1899, 12, 30}, 0}, {{1899, 12, 29}, -1}, {{1900, 1, 1}, 2}, {{1900, 3, 1}, 61},
        {{2000, 1, 1}, 36526}, {{2004, 3, 9}, 38055}, {{100, 1, 1}, -657434}, {{9999, 12, 31}, 2958465},
    };
    for (const auto& [date, serial] : cases) {
        EXPECT_EQ(dateSerial(date), serial) << formatIsoDate(date);
        EXPECT_EQ(dateFromSerial(serial), date) << serial;
    }
}

TEST(Clock, SystemClockGivesAValidDateAndFixedClockItsOwn) {
    Date now = SystemClock().today();
    EXPECT_TRUE(isValidDate(now.year, now.month, now.day));
    EXPECT_GE(now.year, 2024);
    FixedClock fixed(Date{2004, 3, 9});
    EXPECT_EQ(fixed.today(), (Date{2004, 3, 9}));
    fixed.set(Date{2005, 1, 2});
    EXPECT_EQ(fixed.today(), (Date{2005, 1, 2}));
}

}  // namespace
}  // namespace wb
