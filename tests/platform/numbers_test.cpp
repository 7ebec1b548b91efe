#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/failure.h"

namespace wb {
namespace {

struct ParseCase {
    const char* text;
    double expected;
};

TEST(ParseLeadingNumber, ReadsTheLeadingNumber) {
    const ParseCase cases[] = {
        {"", 0},          {"abc", 0},        {"12.5", 12.5},     {"1 2.5", 12.5},
        {" \t12\n.5\r", 12.5},                {"- 5", -5},        {"+7", 7},
        {"-.5", -0.5},    {".", 0},          {"-", 0},           {"1.2.3", 1.2},
        {"1,5", 1},       {"12abc", 12},     {"1e", 1},          {"1e+", 1},
        {"1E3", 1000},    {"1e-2", 0.01},    {"1D2", 100},       {"2d+1x", 20},
        {"1 E 2", 100},   {"E5", 0},         {"&H1F", 31},       {"&h1f", 31},
        {"&O17", 15},     {"&O19", 1},       {"&H", 0},          {"&X1", 0},
        {"& H 1 F", 31},  {"1e-400", 0},     {"007", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(parseLeadingNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseLeadingNumber, HugeExponentOverflows) {
    try {
        parseLeadingNumber("1e400");
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), kOverflow);
    }
}

TEST(ParseLeadingNumber, HexOrOctalBeyondADoubleOverflows) {
    for (const std::string& text : {"&H" + std::string(300, 'F'), "&O" + std::string(400, '7')}) {
        try {
            parseLeadingNumber(text);
            FAIL() << "no overflow for " << text.substr(0, 2) << " with " << text.size() - 2 << " digits";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), kOverflow);
        }
    }
    EXPECT_EQ(parseLeadingNumber("&H" + std::string(16, 'F')), 18446744073709551615.0);
}

// A comma or a second point where the parse stops cuts the number short; any
// other character there ends it as the text shows. Blanks count nowhere.
TEST(LeadingNumberCutShort, ACommaOrASecondPointWhereTheParseStops) {
    const std::pair<const char*, bool> cases[] = {
        {"1,850.5", true}, {"1850,5", true},  {"1.2.3", true},    {"3,650", true},
        {"12.", false},    {"12..", true},    {"..", true},       {".", false},
        {"-.", false},     {"-,", true},      {",", true},        {"1 ,5", true},
        {"1 . 5", false},  {"1.5 .", true},   {"1500 lb", false}, {"1500 lb, 1.2.", false},
        {"-5", false},     {"  12", false},   {"abc", false},     {"a,b", false},
        {"", false},       {"1e5.", true},    {"1e.", false},     {"1e,", false},
        {"&H1F,", true},   {"&H1F.", true},   {"&X,", false},     {"12 lb.", false},
    };
    for (const auto& [text, cut] : cases) EXPECT_EQ(leadingNumberCutShort(text), cut) << '"' << text << '"';
}

TEST(IsNumericText, AcceptsOnlyAWholeNumber) {
    const std::pair<const char*, bool> cases[] = {
        {"12", true},    {" -12.5 ", true}, {"+.5", true},   {"1E3", true},   {"1d-2", true},
        {"&H1F", true},  {"&O17", true},    {"5.", true},
        {"", false},     {".", false},      {"-", false},    {"  ", false},   {"1e", false},
        {"1 2", false},  {"1,5", false},    {"12abc", false}, {"1.2.3", false}, {"&H", false},
        {"&O8", false},  {"abc", false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(isNumericText(text), expected) << '"' << text << '"';
}

struct MaskCase {
    double value;
    const char* mask;
    const char* expected;
};

TEST(FormatMask, DoubleThroughMasks) {
    const MaskCase cases[] = {
        {0, "######.00", ".00"},
        {120000, "#####0.0", "120000.0"},
        {12.5, "#####0.00", "12.50"},
        {0, "#####0.00", "0.00"},
        {85.66, "#####.0", "85.7"},
        {0, "#####.0", ".0"},
        {0.04, "#####.0", ".0"},
        {0.05, "#####.0", ".1"},
        {1500, "####0.#0", "1500.00"},
        {12.3, "####0.#0", "12.30"},
        {79.7342, "#####.00", "79.73"},
        {2.675, "#####0.00", "2.68"},      // 15-digit form 2.67500000000000 rounds up
        {1.005, "#####0.00", "1.01"},
        {0.125, "#####0.00", "0.13"},
        {-0.125, "#####0.00", "-0.13"},    // half away from zero
        {9.995, "#####0.00", "10.00"},     // carry into the integer part
        {999.96, "#####.0", "1000.0"},
        {-12.5, "#####0.00", "-12.50"},
        {-85.66, "#####.0", "-85.7"},
        {-0.001, "#####0.00", "-0.00"},    // below 0: a minus also before zeros
        {-0.01, "#####.0", "-.0"},
        {-0.001, "######.00", "-.00"},
        {-0.04, "#####.0", "-.0"},
        {-1e-300, "#####0", "-0"},
        {-0.0, "#####.0", ".0"},
        {123456789012.345, "#####0.00", "123456789012.35"},
        {1e20, "#####0.0", "100000000000000000000.0"},
        {1e-20, "#####0.00", "0.00"},
        {12.6, "######", "13"},
        {0, "######", ""},
        {7, "000", "007"},
        {5, "######.", "5."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatMask(c.value, c.mask), c.expected) << c.value << " via " << c.mask;
}

TEST(FormatMask, SingleRoundsOnItsExactValue) {
    const std::tuple<float, const char*, const char*> cases[] = {
        {1524156672.0f, "######.0", "1524156672.0"},   // shortest form 1.5241567E9 would give ...700
        {999999919882240.0f, "######.0", "999999919882240.0"},
        {1.005f, "#####0.00", "1.00"},                 // 1.00499999523...
        {-1.005f, "#####0.00", "-1.00"},
        {2.675f, "#####0.00", "2.67"},                 // 2.67499995231...
        {0.45f, "#####.0", ".4"},                      // 0.449999988...
        {0.125f, "#####0.00", "0.13"},                 // exact half: away from zero
        {1505.005f, "######.00", "1505.01"},           // 1505.00500488...
        {1234.5f, "#####.0", "1234.5"},
        {0.0f, "######.0", ".0"},
        {-0.0f, "######.0", ".0"},
        {-0.001f, "#####0.00", "-0.00"},
        {16777216.0f, "#####0.00", "16777216.00"},
        {28608218.0f, "######.0", "28608218.0"},
        {3.4028235e38f, "0", "340282346638528859811704183484516925440"},
    };
    for (const auto& [value, mask, expected] : cases)
        EXPECT_EQ(formatMask(value, mask), expected) << value << " via " << mask;
}

TEST(NumberToText, FifteenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},           {-0.0, "0"},          {1500, "1500"},       {0.1, "0.1"},
        {-2.5, "-2.5"},     {0.1 + 0.2, "0.3"},   {123456.789, "123456.789"},
        {1.0 / 3, "0.333333333333333"},           {-2.0 / 3, "-0.666666666666667"},
        {static_cast<double>(680.27344f), "680.2734375"},
        {static_cast<double>(0.1f), "0.100000001490116"},
        {999999999999999, "999999999999999"},    {999999999999999.9, "1E+15"},
        {1e15, "1E+15"},    {1e20, "1E+20"},      {123456789012345678.0, "1.23456789012346E+17"},
        {-1.5e100, "-1.5E+100"},                 {0.00001, "0.00001"}, {1.5e-7, "1.5E-07"},
        {1.25e-300, "1.25E-300"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(numberToText(value), expected);
}

TEST(SingleToText, SevenSignificantDigits) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0"},        {0.1f, "0.1"},        {-2.5f, "-2.5"},      {1234.56f, "1234.56"},
        {680.27344f, "680.2734"},                {28608218.0f, "28608220"},
        {16777216.0f, "16777220"},               {1234567.0f, "1234567"},
        {1e20f, "100000000000000000000"},        {1.5e-7f, "0.00000015"},
        {3.4028235e38f, "340282300000000000000000000000000000000"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(singleToText(value), expected);
}

// ---- against a reference ------------------------------------------------------

namespace reference {

// A mask applied by hand to a plain decimal ("1234.5678", no sign): rounded
// half away from zero at the mask's decimals, then its digits shown as the
// mask says.
std::string masked(bool negative, const std::string& decimal, const std::string& mask) {
    const size_t maskPoint = mask.find('.');
    const std::string intMask = mask.substr(0, maskPoint);
    const std::string fracMask = maskPoint == std::string::npos ? "" : mask.substr(maskPoint + 1);
    size_t decimals = 0, minDecimals = 0, minInt = 0;
    for (char c : fracMask) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') minDecimals = decimals;
    }
    const size_t firstZero = intMask.find('0');
    for (size_t i = firstZero; firstZero != std::string::npos && i < intMask.size(); ++i)
        if (intMask[i] == '0' || intMask[i] == '#') ++minInt;

    const size_t point = decimal.find('.');
    std::string ip = decimal.substr(0, point);
    std::string fp = point == std::string::npos ? "" : decimal.substr(point + 1);
    if (fp.size() < decimals + 1) fp.resize(decimals + 1, '0');
    std::string kept = ip + fp.substr(0, decimals);
    if (fp[decimals] >= '5') {
        size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0) kept.insert(kept.begin(), '1');
        else ++kept[i - 1];
    }
    ip = kept.substr(0, kept.size() - decimals);
    fp = kept.substr(kept.size() - decimals);
    ip.erase(0, std::min(ip.find_first_not_of('0'), ip.size()));
    if (ip.size() < minInt) ip.insert(0, minInt - ip.size(), '0');
    while (fp.size() > minDecimals && fp.back() == '0') fp.pop_back();
    return (negative ? "-" : "") + ip + (maskPoint == std::string::npos ? "" : "." + fp);
}

// The plain decimal of printf's "d.ddde+XX".
std::string plainOfScientific(const std::string& sci) {
    const size_t e = sci.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (sci[i] != '.') digits += sci[i];
    const int exponent = std::stoi(sci.substr(e + 1));
    if (exponent < 0) return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    if (static_cast<size_t>(exponent) + 1 >= digits.size())
        return digits + std::string(exponent + 1 - digits.size(), '0');
    return digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
}

// A double is masked on its 15 significant digits.
std::string masked(double value, const std::string& mask) {
    char sci[64];
    std::snprintf(sci, sizeof sci, "%.14e", std::fabs(value));
    return masked(value < 0, plainOfScientific(sci), mask);
}

// A single is masked on its exact value.
std::string masked(float value, const std::string& mask) {
    char exact[512];
    std::snprintf(exact, sizeof exact, "%.160f", std::fabs(static_cast<double>(value)));
    return masked(value < 0, exact, mask);
}

// The runtime's text form of a number from printf's digits: `significant`
// digits, trailing zeros dropped, plain or (where allowed) "1.5E-07".
std::string text(double value, int significant, bool exponentForm) {
    if (value == 0) return "0";
    char sci[64];
    std::snprintf(sci, sizeof sci, "%.*e", significant - 1, std::fabs(value));
    const std::string sign = value < 0 ? "-" : "";
    const int exponent = std::stoi(std::strchr(sci, 'e') + 1);
    if (exponentForm && (exponent >= 15 || exponent < -5)) {
        std::string mantissa(sci, std::strchr(sci, 'e'));
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
        char power[16];
        std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return sign + mantissa + power;
    }
    std::string plain = plainOfScientific(sci);
    if (plain.find('.') != std::string::npos) {
        while (plain.back() == '0') plain.pop_back();
        if (plain.back() == '.') plain.pop_back();
    }
    return sign + plain;
}

}  // namespace reference

const char* const kMasks[] = {"######.0", "######.00", "#####.00", "#####0.0", "#####0.00", "####0.#0",
                              "#####.0",  "######",    "000",      "0.000",    "#.#0#",     "######."};

// Numbers as they come: typed with up to six decimals (halves among them),
// and any bit pattern of a finite double or single.
struct NumberSource {
    std::mt19937_64 random{20240521};
    double typed() {
        static const double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
        const double whole = static_cast<double>(random() % 100000000) - 50000000;
        return whole / kScale[random() % 7];
    }
    // One in eight is subnormal, where a double has fewer places.
    double anyDouble() {
        double d;
        do {
            std::uint64_t bits = random();
            if (bits % 8 == 0) bits &= 0x800FFFFFFFFFFFFFull;
            std::memcpy(&d, &bits, sizeof d);
        } while (!std::isfinite(d));
        return d;
    }
    float anySingle() {
        float f;
        do {
            const std::uint32_t bits = static_cast<std::uint32_t>(random());
            std::memcpy(&f, &bits, sizeof f);
        } while (!std::isfinite(f));
        return f;
    }
};

unsigned long envNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

TEST(FormatMask, AgreesWithMaskingByHand) {
    NumberSource numbers;
    const unsigned long count = envNumber("WB_NUMBER_CASES", 20000);
    for (unsigned long i = 0; i < count; ++i) {
        const double typed = numbers.typed(), any = numbers.anyDouble();
        const float single = static_cast<float>(typed), anySingle = numbers.anySingle();
        for (const char* mask : kMasks) {
            ASSERT_EQ(formatMask(typed, mask), reference::masked(typed, mask)) << typed << " via " << mask;
            ASSERT_EQ(formatMask(single, mask), reference::masked(single, mask)) << single << " via " << mask;
            if (i % 16 == 0) {  // long digit strings: fewer of them
                ASSERT_EQ(formatMask(any, mask), reference::masked(any, mask)) << any << " via " << mask;
                ASSERT_EQ(formatMask(anySingle, mask), reference::masked(anySingle, mask))
                    << anySingle << " via " << mask;
            }
        }
    }
}


// Typed values of every size up to 10^15 units, through masks of up to twelve
// decimals or forty integer places: the integer path and the digit path meet
// where a mask asks for more places than the value has, and where the units
// stop fitting.
TEST(FormatMask, TypedValuesOfEverySizeAgreeWithMaskingByHand) {
    static const char* const kWideMasks[] = {"0.0000",        "#.00000",         "0.000000",
                                             "#0.0000000",    "0.0000000000",    "#.000000000000",
                                             "##0.#########", "0000000000000000000000000000000000000000.00"};
    std::mt19937_64 random{20261210};
    const unsigned long count = envNumber("WB_NUMBER_CASES", 20000);
    for (unsigned long i = 0; i < count; ++i) {
        const int places = static_cast<int>(random() % 7);
        const std::uint64_t whole = random() % (std::uint64_t{1} << (random() % 51));
        double value = static_cast<double>(whole);
        for (int p = 0; p < places; ++p) value /= 10;
        if (random() % 2) value = -value;
        for (const char* mask : kMasks)
            ASSERT_EQ(formatMask(value, mask), reference::masked(value, mask)) << value << " via " << mask;
        for (const char* mask : kWideMasks)
            ASSERT_EQ(formatMask(value, mask), reference::masked(value, mask)) << value << " via " << mask;
    }
    for (double value : {0.0, -0.0, 0.5, -0.5, 0.05, 0.005, 999999999999999.0, 99999999999999.9, 9999999999.99999,
                         0.999995, 1e15, 123456789012345.6})
        for (const char* mask : kMasks)
            EXPECT_EQ(formatMask(value, mask), reference::masked(value, mask)) << value << " via " << mask;
}

// What a number reads back as through its text form, or the failure number.
template <class Number>
std::pair<double, int> throughText(Number value, std::string (*text)(Number)) {
    try {
        return {parseLeadingNumber(text(value)), 0};
    } catch (const RuntimeError& e) {
        return {0, e.number()};
    }
}

template <class Number>
std::pair<double, int> textForm(Number value) {
    try {
        return {textFormValue(value), 0};
    } catch (const RuntimeError& e) {
        return {0, e.number()};
    }
}

// The same bits: -0 and 0 differ.
bool same(std::pair<double, int> a, std::pair<double, int> b) {
    return a.second == b.second && std::memcmp(&a.first, &b.first, sizeof(double)) == 0;
}

TEST(TextFormValue, IsWhatTheTextFormReadsBackAs) {
    NumberSource numbers;
    std::vector<double> doubles = {0.0, -0.0, 1500, 0.1, 1.0 / 3, 1e15, 999999999999999.9, 1e-5, 1.5e-7,
                                   std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
                                   std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    std::vector<float> singles = {0.0f, -0.0f, 1395.9f, 680.27344f, 0.1f, 16777216.0f, 3.4028235e38f,
                                  std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity()};
    const unsigned long count = envNumber("WB_NUMBER_CASES", 20000);
    for (unsigned long i = 0; i < count; ++i) {
        doubles.push_back(numbers.typed());
        doubles.push_back(numbers.anyDouble());
        singles.push_back(static_cast<float>(numbers.typed()));
        singles.push_back(numbers.anySingle());
    }
    for (double d : doubles) ASSERT_TRUE(same(textForm(d), throughText(d, &numberToText))) << d;
    for (float f : singles) ASSERT_TRUE(same(textForm(f), throughText(f, &singleToText))) << f;
}

TEST(NumberToText, AgreesWithPrintfsDigits) {
    NumberSource numbers;
    const unsigned long count = envNumber("WB_NUMBER_CASES", 20000);
    for (unsigned long i = 0; i < count; ++i) {
        for (double d : {numbers.typed(), numbers.anyDouble()})
            ASSERT_EQ(numberToText(d), reference::text(d, 15, true)) << d;
        for (float f : {static_cast<float>(numbers.typed()), numbers.anySingle()})
            ASSERT_EQ(singleToText(f), reference::text(f, 7, false)) << f;
    }
}

TEST(ParseLeadingNumber, ReadsDecimalTextAsTheCLibraryDoes) {
    std::mt19937_64 random(7);
    const std::string digits = "0123456789";
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        for (int n = static_cast<int>(random() % 20); n > 0; --n) text += digits[random() % 10];
        text += ".";
        for (int n = static_cast<int>(random() % 20) + 1; n > 0; --n) text += digits[random() % 10];
        if (random() % 2) text += "e" + std::to_string(static_cast<int>(random() % 560) - 280);
        ASSERT_EQ(parseLeadingNumber(text), std::strtod(text.c_str(), nullptr)) << text;
    }
}

}  // namespace
}  // namespace wb
