#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
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
// exponent that has digits. Keeps what it read, without the sign, as it is
// written ("12.5e3", "1D-2"), and moves `pos` past it.
struct Scanned {
    bool negative = false;
    bool hasDigits = false;
    std::string_view body;                         // digits, ".", exponent letter, sign and digits
    size_t exponentAt = std::string_view::npos;  // the exponent letter in body
};

Scanned scanDecimal(std::string_view text, size_t& pos) {
    Scanned s;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        s.negative = text[pos] == '-';
        ++pos;
    }
    const size_t start = pos;
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
        ++pos;
    }
    if (s.hasDigits && pos < text.size() && (upper(text[pos]) == 'E' || upper(text[pos]) == 'D')) {
        size_t p = pos + 1;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
        size_t digitsStart = p;
        while (p < text.size() && isDigit(text[p])) ++p;
        if (p > digitsStart) {  // an exponent without digits is not part of the number
            s.exponentAt = pos - start;
            pos = p;
        }
    }
    s.body = text.substr(start, pos - start);
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
    std::string_view body = s.body;
    std::string withE;  // from_chars reads "e" or "E" only
    if (s.exponentAt != std::string_view::npos && upper(body[s.exponentAt]) == 'D') {
        withE.assign(body);
        withE[s.exponentAt] = 'e';
        body = withE;
    }
    double v = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Tiny magnitudes read as 0; huge ones overflow, as the runtime reports.
        const size_t e = s.exponentAt;
        bool tiny = e != std::string_view::npos && e + 1 < body.size() && body[e + 1] == '-';
        if (!tiny) throw RuntimeError(kOverflow, "Overflow");
        v = 0;
    }
    (void)ptr;
    return s.negative ? -v : v;
}

// The decimal digits of a finite value without its sign: `count` digits (maybe
// with trailing zeros), the first of them worth 10^exponent.
struct Digits {
    char digits[128];
    int count = 0;
    int exponent = 0;

    Digits() = default;
    // Only the digits in use are copied.
    Digits(const Digits& other) : count(other.count), exponent(other.exponent) {
        std::memcpy(digits, other.digits, static_cast<size_t>(count));
    }
    Digits& operator=(const Digits& other) {
        count = other.count;
        exponent = other.exponent;
        std::memcpy(digits, other.digits, static_cast<size_t>(count));
        return *this;
    }

    // The digit worth 10^place ('0' beyond the digits).
    char at(int place) const {
        const int i = exponent - place;
        return i >= 0 && i < count ? digits[i] : '0';
    }
    // Trailing zeros dropped; zero is "0" worth 10^0.
    void trim() {
        while (count > 1 && digits[count - 1] == '0') --count;
        if (count == 1 && digits[0] == '0') exponent = 0;
    }
};

// The digits of to_chars' scientific form "1.2345e+02".
Digits digitsOf(const char* first, const char* last) {
    Digits d;
    const char* p = first;
    for (; *p != 'e'; ++p)
        if (*p != '.') d.digits[d.count++] = *p;
    ++p;
    if (*p == '+') ++p;
    std::from_chars(p, last, d.exponent);
    return d;
}

Digits scientificDigits(double value, int precision) {
    char buf[160];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision);
    return digitsOf(buf, r.ptr);
}

// The fewest digits that read back as the value.
Digits shortestDigits(double value) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    return digitsOf(buf, r.ptr);
}

// A non-negative value that is a whole number of 10^-places, for the fewest
// places up to six, with that number below 10^15: most values are whole
// hundredths or the like, and this is much the quickest to try.
bool wholeUnits(double value, std::uint64_t& whole, int& places) {
    double scale = 1;
    for (places = 0; places <= 6; ++places, scale *= 10) {
        const double units = std::nearbyint(value * scale);
        if (!(units < 1e15)) return false;
        if (units / scale == value) {
            whole = static_cast<std::uint64_t>(units);
            return true;
        }
    }
    return false;
}

// The digits of a non-negative value when no more than `significant` (15 or
// fewer) of them read back as it: they are then its rounding to that many, as
// for a normal double decimals of 15 digits lie more than two units in its
// last place apart, so no other one is as near. (A subnormal has fewer places,
// and its digits may be coarser.) Into `d`; false when the value needs more.
bool ownDigits(double value, int significant, Digits& d) {
    if (value != 0 && value < std::numeric_limits<double>::min()) return false;
    std::uint64_t whole;
    int places;
    if (wholeUnits(value, whole, places)) {
        const auto r = std::to_chars(d.digits, d.digits + sizeof d.digits, whole);
        d.count = static_cast<int>(r.ptr - d.digits);
        d.exponent = d.count - 1 - places;
        d.trim();
        if (d.count <= significant) return true;
    }
    d = shortestDigits(value);
    return d.count <= significant;
}

// At most `significant` (15 or fewer) digits, rounded.
Digits roundedDigits(double value, int significant) {
    Digits d;
    if (ownDigits(value, significant, d)) return d;
    return scientificDigits(value, significant - 1);
}

// Every digit of a single's value: a float widened to a double has at most
// 105 significant decimal digits (the smallest subnormal).
Digits exactDigits(float value) { return scientificDigits(static_cast<double>(value), 120); }

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

// Plain decimal text of trimmed digits, without sign: "1500", "0.1", "0.0000001".
std::string plainDecimal(const Digits& d) {
    const std::string_view digits(d.digits, static_cast<size_t>(d.count));
    std::string out;
    if (d.exponent < 0) {
        out.assign("0.").append(static_cast<size_t>(-d.exponent - 1), '0').append(digits);
    } else if (d.exponent + 1 >= d.count) {
        out.assign(digits).append(static_cast<size_t>(d.exponent + 1 - d.count), '0');
    } else {
        const size_t intLen = static_cast<size_t>(d.exponent + 1);
        out.assign(digits.substr(0, intLen)).append(1, '.').append(digits.substr(intLen));
    }
    return out;
}

// "1E+20", "1.5E-07" of trimmed digits.
std::string exponentForm(const Digits& d) {
    std::string out(1, d.digits[0]);
    if (d.count > 1) out.append(1, '.').append(d.digits + 1, static_cast<size_t>(d.count - 1));
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

// What a mask asks for.
struct MaskShape {
    bool point = false;
    int decimals = 0;      // decimal places rounded to
    int minDecimals = 0;   // decimal places always shown (up to the last "0")
    int minIntDigits = 0;  // integer places always shown (from the first "0" on)
};

MaskShape shapeOf(std::string_view mask) {
    MaskShape m;
    const size_t point = mask.find('.');
    m.point = point != std::string_view::npos;
    const std::string_view intMask = mask.substr(0, point);
    const size_t firstZero = intMask.find('0');
    if (firstZero != std::string_view::npos) {
        for (char c : intMask.substr(firstZero))
            if (c == '0' || c == '#') ++m.minIntDigits;
    }
    if (m.point) {
        for (char c : mask.substr(point + 1)) {
            if (c == '0' || c == '#') ++m.decimals;
            if (c == '0') m.minDecimals = m.decimals;
        }
    }
    return m;
}

std::string applyMask(bool negative, const Digits& d, const MaskShape& m) {
    // The places kept, from the highest integer place (the units at least) down
    // to the last decimal, behind one place for a carry.
    const int top = std::max(d.exponent, 0);
    const size_t length = static_cast<size_t>(top + 1 + m.decimals);
    char small[64];
    std::string large;
    char* kept = small;
    if (length + 1 > sizeof small) {
        large.resize(length + 1);
        kept = large.data();
    }
    kept[0] = '0';
    for (size_t i = 0; i < length; ++i) kept[i + 1] = d.at(top - static_cast<int>(i));
    if (d.at(-m.decimals - 1) >= '5') {  // half away from zero
        size_t i = length;
        while (kept[i] == '9') kept[i--] = '0';
        ++kept[i];
    }
    const size_t keptSize = length + 1;
    const size_t intEnd = keptSize - static_cast<size_t>(m.decimals);
    size_t intStart = 0;
    while (intStart < intEnd && kept[intStart] == '0') ++intStart;
    size_t fracEnd = keptSize;
    while (fracEnd > intEnd + static_cast<size_t>(m.minDecimals) && kept[fracEnd - 1] == '0') --fracEnd;

    const size_t intDigits = intEnd - intStart;
    const size_t padding = intDigits < static_cast<size_t>(m.minIntDigits) ? m.minIntDigits - intDigits : 0;
    const size_t fracDigits = fracEnd - intEnd;
    std::string out((negative ? 1 : 0) + padding + intDigits + (m.point ? 1 + fracDigits : 0), '0');
    char* p = out.data();
    if (negative) *p++ = '-';
    p += padding;
    std::memcpy(p, kept + intStart, intDigits);
    p += intDigits;
    if (m.point) {
        *p++ = '.';
        std::memcpy(p, kept + intEnd, fracDigits);
    }
    return out;
}

// 10^0 to 10^15.
constexpr std::array<std::uint64_t, 16> kPowersOfTen = [] {
    std::array<std::uint64_t, 16> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// applyMask for a value of `whole` units of 10^-places (below 10^15 of them,
// places up to six), in integers: the same text, without the digit string.
// False when the mask has more decimals than a 64-bit count of them holds, or
// more integer places than the text here.
bool maskWholeUnits(bool negative, std::uint64_t whole, int places, const MaskShape& m, std::string& out) {
    const int decimals = m.decimals;
    if (decimals - places > 4 || m.minIntDigits > 32) return false;
    std::uint64_t units;  // of 10^-decimals, rounded half away from zero
    if (places >= decimals) {
        const std::uint64_t divisor = kPowersOfTen[static_cast<size_t>(places - decimals)];
        units = whole / divisor + (whole % divisor * 2 >= divisor ? 1 : 0);
    } else {
        units = whole * kPowersOfTen[static_cast<size_t>(decimals - places)];
    }
    std::uint64_t integer = units / kPowersOfTen[static_cast<size_t>(decimals)];
    std::uint64_t fraction = units % kPowersOfTen[static_cast<size_t>(decimals)];

    // Written from the right: decimals, point, integer digits, padding, sign.
    char text[64];
    char* const end = text + sizeof text;
    char* p = end;
    if (m.point) {
        int shown = decimals;
        while (shown > m.minDecimals && fraction % 10 == 0) {
            fraction /= 10;
            --shown;
        }
        for (; shown > 0; --shown, fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
        *--p = '.';
    }
    int intDigits = 0;
    for (; integer != 0; ++intDigits, integer /= 10) *--p = static_cast<char>('0' + integer % 10);
    for (; intDigits < m.minIntDigits; ++intDigits) *--p = '0';
    if (negative) *--p = '-';
    out.assign(p, static_cast<size_t>(end - p));
    return true;
}

// The shape of a mask text, kept for the last few short masks read: a
// program formats through a handful of masks, over and over. (Kept in plain
// arrays, so the thread's copy needs no guarded construction.)
MaskShape keptShapeOf(std::string_view mask) {
    struct Kept {
        char mask[24];
        size_t size;
        MaskShape shape;
    };
    thread_local Kept kept[8];
    thread_local size_t count = 0, next = 0;
    if (mask.size() > sizeof kept[0].mask) return shapeOf(mask);
    for (size_t i = 0; i < count; ++i)
        if (std::string_view(kept[i].mask, kept[i].size) == mask) return kept[i].shape;
    Kept& k = kept[next];
    std::memcpy(k.mask, mask.data(), mask.size());
    k.size = mask.size();
    k.shape = shapeOf(mask);
    next = (next + 1) % std::size(kept);
    if (count < std::size(kept)) ++count;
    return k.shape;
}

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
    // Most texts have no blanks and are read in place.
    std::string squeezed;
    std::string_view view = text;
    if (text.find_first_of(" \t\n\r") != std::string::npos) {
        squeezed = withoutBlanks(text);
        view = squeezed;
    }
    size_t pos = 0;
    double value = 0;
    bool hasDigits = false;
    if (scanRadix(view, pos, value, hasDigits)) {
        if (!std::isfinite(value)) throw RuntimeError(kOverflow, "Overflow");
        return value;
    }
    return toDouble(scanDecimal(view, pos));
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

std::string formatMask(double value, std::string_view mask) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const double magnitude = std::fabs(value);
    const MaskShape shape = keptShapeOf(mask);
    std::uint64_t whole;
    int places;
    std::string text;
    if (wholeUnits(magnitude, whole, places) && maskWholeUnits(value < 0, whole, places, shape, text)) return text;
    return applyMask(value < 0, roundedDigits(magnitude, kDoubleDigits), shape);
}

std::string formatMask(float value, std::string_view mask) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    return applyMask(value < 0, exactDigits(std::fabs(value)), keptShapeOf(mask));
}

std::string numberToText(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    Digits d = roundedDigits(std::fabs(value), kDoubleDigits);
    d.trim();
    std::string body = (d.exponent >= 15 || d.exponent < -5) ? exponentForm(d) : plainDecimal(d);
    return value < 0 ? "-" + body : body;
}

std::string singleToText(float value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    Digits d = roundedDigits(std::fabs(value), kSingleDigits);
    d.trim();
    std::string body = plainDecimal(d);
    return value < 0 ? "-" + body : body;
}

namespace {

// The decimal of `significant` digits that the text form writes, read as
// parseLeadingNumber reads it. A value whose own digits are that decimal reads
// back as itself.
double readBack(double value, int significant) {
    if (!std::isfinite(value) || value == 0) return 0;  // "NaN", "Infinity", "0"
    std::uint64_t whole;
    int places;
    // No more whole units than `significant` digits hold: the value's own digits.
    if (wholeUnits(std::fabs(value), whole, places) && whole < kPowersOfTen[static_cast<size_t>(significant)])
        return value;
    Digits own;
    if (ownDigits(std::fabs(value), significant, own)) return value;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                 significant - 1);
    Scanned s;
    s.negative = value < 0;
    s.hasDigits = true;
    s.body = std::string_view(buf, static_cast<size_t>(r.ptr - buf));
    s.exponentAt = s.body.find('e');
    return toDouble(s);
}

}  // namespace

double textFormValue(double value) { return readBack(value, kDoubleDigits); }

double textFormValue(float value) { return readBack(static_cast<double>(value), kSingleDigits); }

}  // namespace wb
