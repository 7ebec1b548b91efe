#include <gtest/gtest.h>

#include "platform/recording_printer.h"
#include "platform/text_wrap.h"

using namespace wb;
using namespace std::string_literals;

namespace {

// With the recording metrics at size 10 every character is 100 twips wide, so a
// width of 1000 holds ten characters.
const RecordingMetrics metrics;
const Font font{"Arial", 10, false, false};

std::vector<std::string> wrap(const std::string& text, double width = 1000) {
    return wrapTextLines(text, width, font, metrics);
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextWrap, BreaksAsAMultiLineBoxDoes) {
    struct Case {
        const char* what;
        std::string text;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"empty text is one line", "", {""}},
        {"short text", "Oil change", {"Oil change"}},
        {"exactly the width fits", "abcdefghij", {"abcdefghij"}},
        {"wrap at a blank, blank kept on the first line", "Replaced the battery",
         {"Replaced ", "the ", "battery"}},
        {"several words per line", "a bb ccc dd e ff", {"a bb ccc ", "dd e ff"}},
        {"blanks hang past the width", "abcdefghij    k", {"abcdefghij    ", "k"}},
        {"long word broken", "abcdefghijklmnopqrstuvwxy", {"abcdefghij", "klmnopqrst", "uvwxy"}},
        {"long word after a short one", "ab abcdefghijkl", {"ab ", "abcdefghij", "kl"}},
        {"CRLF kept", "one\r\ntwo", {"one", "two"}},
        {"LF kept", "one\ntwo", {"one", "two"}},
        {"empty hard lines", "a\r\n\r\nb", {"a", "", "b"}},
        {"trailing break gives an empty last line", "a\r\n", {"a", ""}},
        {"only a break", "\r\n", {"", ""}},
        {"hard line wrapped further", "short\r\nthis is longer text",
         {"short", "this is ", "longer ", "text"}},
        {"lone CR is an ordinary character", "a\rb", {"a\rb"}},
    };
    for (const Case& c : cases) EXPECT_EQ(wrap(c.text), c.expected) << c.what;
}

TEST(TextWrap, AWidthNarrowerThanOneCharacterStillMakesProgress) {
    EXPECT_EQ(wrap("abc", 50), (Lines{"a", "b", "c"}));
    EXPECT_EQ(wrap("ab cd", 0), (Lines{"a", "b ", "c", "d"}));
}

TEST(TextWrap, WidthIsMeasuredInTheGivenFont) {
    Font big{"Arial", 20, true, false};  // 200 twips a character
    EXPECT_EQ(wrapTextLines("aaa bbb", 1000, big, metrics), (Lines{"aaa ", "bbb"}));
    EXPECT_EQ(wrapTextLines("aaa bbb", 1400, big, metrics), (Lines{"aaa bbb"}));
}

TEST(TextWrap, CountAndLineByIndex) {
    const std::string notes = "Weighed as received\r\nNo fuel";
    EXPECT_EQ(wrappedLineCount(notes, 1000, font, metrics), 3);
    EXPECT_EQ(wrappedLine(notes, 1000, font, metrics, 0), "Weighed as ");
    EXPECT_EQ(wrappedLine(notes, 1000, font, metrics, 1), "received");
    EXPECT_EQ(wrappedLine(notes, 1000, font, metrics, 2), "No fuel");
    EXPECT_EQ(wrappedLine(notes, 1000, font, metrics, 3), "");
    EXPECT_EQ(wrappedLine(notes, 1000, font, metrics, -1), "");
    EXPECT_EQ(wrappedLineCount("", 1000, font, metrics), 1);
    EXPECT_EQ(wrappedLine("", 1000, font, metrics, 0), "");
}

TEST(TextWrap, LineBuffer) {
    EXPECT_EQ(cutToBuffer("abcdef", 4), "abcd");
    EXPECT_EQ(cutToBuffer("abc", 160), "abc");
    EXPECT_EQ(cutToBuffer("abc", 0), "");

    // The size word comes first, low byte first; the line overwrites it.
    EXPECT_EQ(fillLineBuffer("", 4), std::string("\x04\x00  ", 4));
    EXPECT_EQ(fillLineBuffer("x", 4), std::string("x\x00  ", 4));
    EXPECT_EQ(fillLineBuffer("abcdef", 4), "abcd");
    std::string big = fillLineBuffer("ab", 300);
    ASSERT_EQ(big.size(), 300u);
    EXPECT_EQ(big.substr(0, 2), "ab");
    EXPECT_EQ(big.substr(2), std::string(298, ' '));
    EXPECT_EQ(fillLineBuffer("", 300).substr(0, 2), std::string("\x2C\x01", 2));
    EXPECT_THROW(fillLineBuffer("a", 1), RuntimeError);
}

// Widths, breaks and buffer lengths count characters, never bytes, and no
// line or buffer ends inside a character.
TEST(TextWrap, CharactersBeyondAsciiCountOnce) {
    EXPECT_EQ(wrap("Oil ‘topped’ — 2 € ✓"), (Lines{"Oil ", "‘topped’ — ", "2 € ✓"}));
    EXPECT_EQ(wrap("ÆØÅæøåÇçÉéŁł"), (Lines{"ÆØÅæøåÇçÉé", "Łł"}));
    EXPECT_EQ(wrap("€€€", 150), (Lines{"€", "€", "€"}));
    EXPECT_EQ(cutToBuffer("Ærø Air", 3), "Ærø");
    EXPECT_EQ(fillLineBuffer("é", 4), "é\x00  "s);
    EXPECT_EQ(fillLineBuffer("", 200).substr(0, 3), "È\x00"s);  // the size word as two characters
    EXPECT_EQ(fillLineBuffer("ŁŁŁŁŁ", 4), "ŁŁŁŁ");
}
