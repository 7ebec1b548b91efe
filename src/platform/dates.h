#pragma once
// Calendar dates: the program's "mm-dd-yyyy" form, the short date form M/d/yyyy,
// and reading either back (month first).
#include <optional>
#include <string>

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

// Reads "mm-dd-yyyy", "m/d/yyyy", "m-d-yy", "yyyy-mm-dd" and the like, month first,
// blanks around allowed. Returns nothing when the text is not a date.
std::optional<Date> parseDate(const std::string& text);

// The runtime's date serial: days since 1899-12-30 (negative before it).
long dateSerial(const Date& d);
// The date of a serial day number (any day count; check isValidDate if needed).
Date dateFromSerial(long serial);

}  // namespace wb
