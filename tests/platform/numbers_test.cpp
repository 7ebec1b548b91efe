#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <tuple>

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

}  // namespace
}  // namespace wb
