#include "platform/numbers.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "platform/failure.h"

namespace wb {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int digitValue(char c, int base) {
    int v = -1;
    if (isDigit(c)) v = c - '0';
    else if (upper(c) >= 'A' && upper(c) <= 'F') v = upper(c) - 'A' + 10;
    return v < base ? v : -1;
}

// The decimal number of `text` from `pos`: sign, digits with one point, an
// exponent that has digits. Keeps what it read, without the sign, ready for
// from_chars ("12.5e3"), and moves `pos` past it.
struct Scanned {
    bool negative = false;
    bool hasDigits = false;
    std::string body;  // digits, ".", "e", exponent sign and digits
};

Scanned scanDecimal(std::string_view text, size_t& pos) {
    Scanned s;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        s.negative = text[pos] == '-';
        ++pos;
    }
    bool point = false;
    while (pos < text.size()) {
        char c = text[pos];
        if (isDigit(c)) {
            s.hasDigits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        s.body += c;
        ++pos;
    }
    if (s.hasDigits && pos < text.size() && (upper(text[pos]) == 'E' || upper(text[pos]) == 'D')) {
        size_t p = pos + 1;
        std::string exponent = "e";
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) exponent += text[p++];
        size_t digitsStart = p;
        while (p < text.size() && isDigit(text[p])) exponent += text[p++];
        if (p > digitsStart) {  // an exponent without digits is not part of the number
            s.body += exponent;
            pos = p;
        }
    }
    return s;
}

// "&H1F" / "&O17" from `pos`; false when the text there is no such number.
bool scanRadix(std::string_view text, size_t& pos, double& value, bool& hasDigits) {
    if (pos + 1 >= text.size() || text[pos] != '&') return false;
    char kind = upper(text[pos + 1]);
    int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
    if (base == 0) return false;
    pos += 2;
    value = 0;
    hasDigits = false;
    while (pos < text.size()) {
        int d = digitValue(text[pos], base);
        if (d < 0) break;
        value = value * base + d;
        hasDigits = true;
        ++pos;
    }
    return true;
}

double toDouble(const Scanned& s) {
    if (!s.hasDigits) return 0;
    double v = 0;
    const char* first = s.body.data();
    const char* last = first + s.body.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec == std::errc::result_out_of_range) {
        // Tiny magnitudes read as 0; huge ones overflow, as the runtime reports.
        size_t e = s.body.find('e');
        bool tiny = e != std::string::npos && e + 1 < s.body.size() && s.body[e + 1] == '-';
        if (!tiny) throw RuntimeError(kOverflow, "Overflow");
        v = 0;
    }
    (void)ptr;
    return s.negative ? -v : v;
}

// Decimal digits of a finite value: "12345", with the power of ten of the first
// digit. Zero gives "0" with power 0.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits splitScientific(std::string_view sci) {
    // sci looks like "-1.2345e+02"
    Digits d;
    size_t e = sci.find('e');
    for (size_t i = 0; i < e; ++i) {
        if (isDigit(sci[i])) d.digits += sci[i];
    }
    int exponent = 0;
    std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent);
    d.exponent = exponent;
    size_t last = d.digits.find_last_not_of('0');
    d.digits.erase(last == std::string::npos ? 1 : last + 1);
    if (d.digits == "0") d.exponent = 0;
    return d;
}

// At most `significant` digits, rounded; trailing zeros dropped.
Digits roundedDigits(double value, int significant) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    return splitScientific(std::string_view(buf, r.ptr - buf));
}

// Every digit of a single's value: a float widened to a double has at most
// 105 significant decimal digits (the smallest subnormal).
Digits exactDigits(float value) {
    char buf[160];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                           std::chars_format::scientific, 120);
    return splitScientific(std::string_view(buf, r.ptr - buf));
}

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

// Plain decimal text of the digits, without sign: "1500", "0.1", "0.0000001".
std::string plainDecimal(const Digits& d) {
    int n = static_cast<int>(d.digits.size());
    if (d.exponent < 0) return "0." + std::string(-d.exponent - 1, '0') + d.digits;
    if (d.exponent + 1 >= n) return d.digits + std::string(d.exponent + 1 - n, '0');
    return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

// "1E+20", "1.5E-07"
std::string exponentForm(const Digits& d) {
    std::string out = d.digits.substr(0, 1);
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    out += d.exponent < 0 ? "E-" : "E+";
    int e = std::abs(d.exponent);
    if (e < 10) out += '0';
    out += std::to_string(e);
    return out;
}

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

// Adds one to the last digit of a digit string, carrying; may grow by one digit.
void incrementDigits(std::string& s) {
    for (size_t i = s.size(); i-- > 0;) {
        if (s[i] != '9') {
            ++s[i];
            return;
        }
        s[i] = '0';
    }
    s.insert(s.begin(), '1');
}

std::string applyMask(bool negative, const Digits& d, const std::string& mask) {
    size_t point = mask.find('.');
    std::string intMask = mask.substr(0, point);
    std::string fracMask = point == std::string::npos ? "" : mask.substr(point + 1);

    // Integer places from the first "0" on are always shown.
    size_t firstZero = intMask.find('0');
    size_t minIntDigits = 0;
    if (firstZero != std::string::npos) {
        for (size_t i = firstZero; i < intMask.size(); ++i)
            if (intMask[i] == '0' || intMask[i] == '#') ++minIntDigits;
    }
    // Decimal places: all of them are rounded to; up to the last "0" are shown.
    size_t decimals = 0;
    size_t minDecimals = 0;
    for (char c : fracMask) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') minDecimals = decimals;
    }

    // Exact decimal of the digits as integer part and fraction.
    std::string intPart;
    std::string frac;
    int n = static_cast<int>(d.digits.size());
    if (d.exponent >= 0) {
        int intLen = d.exponent + 1;
        intPart = intLen >= n ? d.digits + std::string(intLen - n, '0') : d.digits.substr(0, intLen);
        frac = intLen >= n ? "" : d.digits.substr(intLen);
    } else {
        frac = std::string(-d.exponent - 1, '0') + d.digits;
    }

    // Round half away from zero to the mask's decimals.
    bool roundUp = frac.size() > decimals && frac[decimals] >= '5';
    frac.resize(decimals, '0');
    if (roundUp) {
        std::string all = intPart + frac;
        size_t before = all.size();
        incrementDigits(all);
        size_t intLen = intPart.size() + (all.size() - before);
        intPart = all.substr(0, intLen);
        frac = all.substr(intLen);
    }

    size_t lead = intPart.find_first_not_of('0');
    intPart.erase(0, lead == std::string::npos ? intPart.size() : lead);
    if (intPart.size() < minIntDigits) intPart.insert(0, minIntDigits - intPart.size(), '0');
    while (frac.size() > minDecimals && frac.back() == '0') frac.pop_back();

    std::string out = negative ? "-" : "";
    out += intPart;
    if (point != std::string::npos) out += "." + frac;
    return out;
}

}  // namespace

namespace {

// The text without its blanks, which the leading-number parse skips wherever
// they stand.
std::string withoutBlanks(const std::string& text) {
    std::string squeezed;
    squeezed.reserve(text.size());
    for (char c : text)
        if (!isBlank(c)) squeezed += c;
    return squeezed;
}

}  // namespace

double parseLeadingNumber(const std::string& text) {
    const std::string squeezed = withoutBlanks(text);
    size_t pos = 0;
    double value = 0;
    bool hasDigits = false;
    if (scanRadix(squeezed, pos, value, hasDigits)) {
        if (!std::isfinite(value)) throw RuntimeError(kOverflow, "Overflow");
        return value;
    }
    return toDouble(scanDecimal(squeezed, pos));
}

bool leadingNumberCutShort(const std::string& text) {
    const std::string squeezed = withoutBlanks(text);
    size_t pos = 0;
    double value = 0;
    bool hasDigits = false;
    if (!scanRadix(squeezed, pos, value, hasDigits)) scanDecimal(squeezed, pos);
    return pos < squeezed.size() && (squeezed[pos] == ',' || squeezed[pos] == '.');
}

bool isNumericText(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    std::string_view body(text.data() + begin, end - begin);

    size_t pos = 0;
    double value = 0;
    bool hasDigits = false;
    if (!scanRadix(body, pos, value, hasDigits)) hasDigits = scanDecimal(body, pos).hasDigits;
    return hasDigits && pos == body.size();
}

std::string formatMask(double value, const std::string& mask) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    return applyMask(value < 0, roundedDigits(std::fabs(value), kDoubleDigits), mask);
}

std::string formatMask(float value, const std::string& mask) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    return applyMask(value < 0, exactDigits(std::fabs(value)), mask);
}

std::string numberToText(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    Digits d = roundedDigits(std::fabs(value), kDoubleDigits);
    std::string body = (d.exponent >= 15 || d.exponent < -5) ? exponentForm(d) : plainDecimal(d);
    return value < 0 ? "-" + body : body;
}

std::string singleToText(float value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    std::string body = plainDecimal(roundedDigits(std::fabs(value), kSingleDigits));
    return value < 0 ? "-" + body : body;
}

}  // namespace wb
