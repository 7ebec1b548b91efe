// Numbers and dates keep their rules on text beyond ASCII: a text that starts
// with such a character has no leading number, and none of them is a digit,
// blank, sign or separator.
#include <gtest/gtest.h>

#include "platform/dates.h"
#include "platform/numbers.h"

using namespace wb;

TEST(UnicodeNumbers, ATextStartingBeyondAsciiHasNoLeadingNumber) {
    for (const char* text : {"é12", "€12", "\u00A012", "１２", "٣4", "−5", "‘12’", "\uFEFF12"}) {
        EXPECT_EQ(parseLeadingNumber(text), 0) << text;
        EXPECT_FALSE(isNumericText(text)) << text;
    }
    EXPECT_EQ(parseLeadingNumber("12€"), 12);
    EXPECT_EQ(parseLeadingNumber("12.5 ✓"), 12.5);
    EXPECT_FALSE(isNumericText("12 €"));
}

TEST(UnicodeNumbers, MasksIgnoreOtherCharacters) {
    EXPECT_EQ(formatMask(12.345, "€##0.00"), "12.35");
    EXPECT_EQ(formatMask(12.345, "#0.0✓"), "12.3");
}

TEST(UnicodeNumbers, DatesTakeNoCharacterBeyondAscii) {
    for (const char* text : {"03–09–2004", "03/09/2004✓", "２００４-03-09", "03\u00A009\u00A02004"})
        EXPECT_FALSE(parseDate(text).has_value()) << text;
    EXPECT_TRUE(parseDate("03-09-2004").has_value());
}
