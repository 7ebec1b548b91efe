#pragma once
// Calendar dates: the program's "mm-dd-yyyy" form, the short date form M/d/yyyy,
// and reading date texts (month first).
#include <optional>
#include <string>
#include <string_view>

namespace wb {

struct Date {
    int year = 1899;
    int month = 12;
    int day = 30;
    bool operator==(const Date&) const = default;
    auto operator<=>(const Date&) const = default;
};

bool isValidDate(int year, int month, int day);

// "03-09-2004"
std::string formatMmDdYyyy(const Date& d);
// "3/9/2004"
std::string formatShortDate(const Date& d);
// ISO "2004-03-09", the stored form.
std::string formatIsoDate(const Date& d);

// Reads a date text as the runtime's date conversion does, month first:
// "03-09-2004", "3/9/04", "2004-03-09", "3/9" and "3-9" (in currentYear), and
// with the month's full or three-letter name in any case: "Mar 9 2004",
// "March 9, 2004", "9-Mar-2004", "9 mar" (in currentYear). One- and two-digit
// years: 00-29 are 2000-2029, 30-99 are 1930-1999. Blanks around allowed.
// Nothing when the text is not a date (month 13, 2/30, a time of day).
std::optional<Date> parseDate(const std::string& text, int currentYear);
// The same in the year of the date-reading clock (clock.h): every reader of a
// date text (Save's check, the search, the database's date columns) uses this.
std::optional<Date> parseDate(const std::string& text);
// Only the stored form "2004-03-09" (what parseDate reads it as, quickly).
std::optional<Date> parseIsoDate(std::string_view text);

// The runtime's date serial: days since 1899-12-30 (negative before it).
long dateSerial(const Date& d);
// The date of a serial day number (any day count; check isValidDate if needed).
Date dateFromSerial(long serial);

}  // namespace wb
