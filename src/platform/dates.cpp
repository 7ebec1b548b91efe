#include "platform/dates.h"

#include <cstdio>
#include <vector>

#include "platform/clock.h"

namespace wb {

namespace {

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// One piece of a date text: a number of 1 to 4 digits or a month's name, with
// what stood between it and the piece before.
struct Piece {
    int value = 0;       // the number, or the month of a name
    size_t length = 0;   // digits; 0 for a name
    std::string before;  // the separator characters in front of it
    bool isName() const { return length == 0; }
};

// A month's full name or its first three letters, in any case; 0 for neither.
int monthOfName(const std::string& word) {
    static const char* const names[] = {"january", "february", "march",     "april",
                                        "may",     "june",     "july",      "august",
                                        "september", "october", "november", "december"};
    std::string w;
    for (char c : word) w += lower(c);
    for (int m = 0; m < 12; ++m) {
        const std::string name = names[m];
        if (w == name || w == name.substr(0, 3)) return m + 1;
    }
    return 0;
}

// Splits the text, blanks around it dropped, into numbers and month names
// separated by blanks, ",", "-" and "/"; false for any other character, a
// number of more than 4 digits, a word that is no month or a separator at
// either end.
bool splitPieces(const std::string& text, std::vector<Piece>& pieces) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;

    std::string separator;
    for (size_t i = begin; i < end;) {
        const char c = text[i];
        if (isDigit(c) || isLetter(c)) {
            const bool digits = isDigit(c);
            size_t j = i;
            while (j < end && (digits ? isDigit(text[j]) : isLetter(text[j]))) ++j;
            Piece p;
            p.before = separator;
            if (digits) {
                p.length = j - i;
                if (p.length > 4) return false;
                for (size_t k = i; k < j; ++k) p.value = p.value * 10 + (text[k] - '0');
            } else if ((p.value = monthOfName(text.substr(i, j - i))) == 0) {
                return false;
            }
            if (pieces.empty() && !separator.empty()) return false;
            pieces.push_back(p);
            separator.clear();
            i = j;
        } else if (c == ' ' || c == '\t' || c == ',' || c == '-' || c == '/') {
            separator += c;
            ++i;
        } else {
            return false;
        }
    }
    return !pieces.empty() && separator.empty();
}

// Years of one or two digits: 00-29 are 2000-2029, 30-99 are 1930-1999.
int fullYear(const Piece& p) {
    if (p.length > 2) return p.value;
    return p.value < 30 ? 2000 + p.value : 1900 + p.value;
}

// Digits only: month/day[/year] or year-month-day, joined by one "-" or "/"
// used every time.
std::optional<Date> numericDate(const std::vector<Piece>& p, int currentYear) {
    if (p.size() != 2 && p.size() != 3) return std::nullopt;
    const std::string& separator = p[1].before;
    if (separator != "-" && separator != "/") return std::nullopt;
    if (p.size() == 3 && p[2].before != separator) return std::nullopt;

    if (p.size() == 3 && p[0].length == 4) {  // 2004-03-09
        if (p[1].length > 2 || p[2].length > 2) return std::nullopt;
        return Date{p[0].value, p[1].value, p[2].value};
    }
    if (p[0].length > 2 || p[1].length > 2) return std::nullopt;  // 03-09-2004, 3/9/04, 3/9
    return Date{p.size() == 3 ? fullYear(p[2]) : currentYear, p[0].value, p[1].value};
}

// A month's name before or after the day, the year last or left out:
// "Mar 9 2004", "March 9, 2004", "9-Mar-2004", "9 mar". Between two pieces
// blanks and at most one ",", "-" or "/".
std::optional<Date> namedDate(const std::vector<Piece>& p, int currentYear) {
    if (p.size() != 2 && p.size() != 3) return std::nullopt;
    for (size_t i = 1; i < p.size(); ++i) {
        int marks = 0;
        for (char c : p[i].before) marks += c != ' ' && c != '\t';
        if (marks > 1) return std::nullopt;
    }
    const size_t name = p[0].isName() ? 0 : 1;
    const Piece& day = p[1 - name];
    if (!p[name].isName() || day.isName() || day.length > 2) return std::nullopt;
    if (p.size() == 3 && p[2].isName()) return std::nullopt;
    return Date{p.size() == 3 ? fullYear(p[2]) : currentYear, p[name].value, day.value};
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
    if (d.year < 0 || d.year > 9999 || d.month < 0 || d.month > 99 || d.day < 0 || d.day > 99) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
        return buf;
    }
    std::string out = "0000-00-00";
    auto digits = [&](std::size_t end, int n) {
        for (std::size_t i = end; n > 0; n /= 10) out[--i] = static_cast<char>('0' + n % 10);
    };
    digits(4, d.year);
    digits(7, d.month);
    digits(10, d.day);
    return out;
}

// The stored form, "2004-03-09" and nothing else, read directly.
std::optional<Date> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int fields[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8}, ends[3] = {4, 7, 10};
    for (int f = 0; f < 3; ++f) {
        for (std::size_t i = starts[f]; i < ends[f]; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            fields[f] = fields[f] * 10 + (text[i] - '0');
        }
    }
    if (!isValidDate(fields[0], fields[1], fields[2])) return std::nullopt;
    return Date{fields[0], fields[1], fields[2]};
}

std::optional<Date> parseDate(const std::string& text, int currentYear) {
    if (std::optional<Date> iso = parseIsoDate(text)) return iso;
    std::vector<Piece> pieces;
    if (!splitPieces(text, pieces)) return std::nullopt;
    bool named = false;
    for (const Piece& p : pieces) named = named || p.isName();
    const std::optional<Date> d = named ? namedDate(pieces, currentYear) : numericDate(pieces, currentYear);
    if (!d || !isValidDate(d->year, d->month, d->day)) return std::nullopt;
    return d;
}

std::optional<Date> parseDate(const std::string& text) {
    if (std::optional<Date> iso = parseIsoDate(text)) return iso;  // needs no clock
    return parseDate(text, DateReadingClock::today().year);
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
