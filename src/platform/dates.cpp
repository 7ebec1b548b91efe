#include "platform/dates.h"

#include <cstdio>
#include <vector>

namespace wb {

namespace {

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

struct Field {
    int value = 0;
    size_t length = 0;
};

// Splits "3/9/2004" into digit fields; false unless it is exactly three fields of
// 1 to 4 digits joined by one separator, "-" or "/", used both times.
bool splitFields(const std::string& text, std::vector<Field>& fields) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;

    char separator = 0;
    Field current;
    for (size_t i = begin; i < end; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++current.length > 4) return false;
            current.value = current.value * 10 + (c - '0');
        } else if ((c == '-' || c == '/') && (separator == 0 || separator == c)) {
            if (current.length == 0) return false;
            separator = c;
            fields.push_back(current);
            current = Field{};
        } else {
            return false;
        }
    }
    if (current.length == 0) return false;
    fields.push_back(current);
    return fields.size() == 3;
}

// Years of one or two digits: 00-29 are 2000-2029, 30-99 are 1930-1999.
int fullYear(const Field& f) {
    if (f.length > 2) return f.value;
    return f.value < 30 ? 2000 + f.value : 1900 + f.value;
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::string formatMmDdYyyy(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", d.month, d.day, d.year);
    return buf;
}

std::string formatShortDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%04d", d.month, d.day, d.year);
    return buf;
}

std::string formatIsoDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::optional<Date> parseDate(const std::string& text) {
    std::vector<Field> f;
    if (!splitFields(text, f)) return std::nullopt;

    Date d;
    if (f[0].length == 4) {  // year first: 2004-03-09
        if (f[1].length > 2 || f[2].length > 2) return std::nullopt;
        d = Date{f[0].value, f[1].value, f[2].value};
    } else {                 // month first: 03-09-2004, 3/9/04
        if (f[0].length > 2 || f[1].length > 2) return std::nullopt;
        d = Date{fullYear(f[2]), f[0].value, f[1].value};
    }
    if (!isValidDate(d.year, d.month, d.day)) return std::nullopt;
    return d;
}

// Days from the civil calendar and back, counted from 1970-01-01.
namespace {

long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date civilFromDays(long z) {
    z += 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return Date{year, month, day};
}

const long kSerialEpoch = daysFromCivil(1899, 12, 30);

}  // namespace

long dateSerial(const Date& d) { return daysFromCivil(d.year, d.month, d.day) - kSerialEpoch; }

Date dateFromSerial(long serial) { return civilFromDays(serial + kSerialEpoch); }

}  // namespace wb
