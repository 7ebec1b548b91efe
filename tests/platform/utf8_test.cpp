#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/utf8.h"

using namespace wb;

TEST(Utf8, CountsAndCutsByCharacter) {
    const std::string text = "Ærø €’–Ł ✓";  // 10 characters, 22 bytes
    EXPECT_EQ(utf8::length(text), 10u);
    EXPECT_EQ(utf8::left(text, 3), "Ærø");
    EXPECT_EQ(utf8::mid(text, 4, 4), "€’–Ł");
    EXPECT_EQ(utf8::mid(text, 9), "✓");
    EXPECT_EQ(utf8::mid(text, 20), "");
    EXPECT_EQ(utf8::offsetOf(text, 1), 2u);
    EXPECT_EQ(utf8::offsetOf(text, 99), text.size());
    EXPECT_EQ(utf8::left("", 5), "");
}

TEST(Utf8, BrokenSequencesBecomeReplacementCharacters) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string sanitized;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"valid text", "a\xC3\xA9z", "a\xC3\xA9z"},
        {"a real U+FFFD stays", fffd, fffd},
        {"truncated sequence at the end", "ab\xE2\x82", "ab" + fffd + fffd},
        {"overlong form of '/'", "\xC0\xAF", fffd + fffd},
        {"overlong three-byte form", "\xE0\x80\xAF", fffd + fffd + fffd},
        {"lone surrogate", "\xED\xA0\x80", fffd + fffd + fffd},
        {"past U+10FFFF", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
        {"stray continuation byte", "a\x80z", "a" + fffd + "z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(utf8::sanitize(c.bytes), c.sanitized);
        EXPECT_EQ(utf8::isValid(c.bytes), c.bytes == c.sanitized);
        EXPECT_TRUE(utf8::isValid(utf8::sanitize(c.bytes)));
    }
}

TEST(Utf8, EncodeRoundTripsEveryScalarValue) {
    for (char32_t c = 0; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string bytes = utf8::encode(c);
        std::size_t pos = 0;
        ASSERT_EQ(utf8::decode(bytes, pos), c);
        ASSERT_EQ(pos, bytes.size());
    }
    EXPECT_EQ(utf8::encode(0xD800), utf8::encode(utf8::kReplacement));
}

TEST(Utf8, CaseFoldingCoversTheAlphabetsAShopMeets) {
    struct Case {
        const char* upper;
        const char* lower;
    };
    const Case cases[] = {
        {"ABCXYZ", "abcxyz"},           {"ÀÉÎÕÜÇÑÆØÅÞ", "àéîõüçñæøåþ"}, {"ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"},
        {"ČĎĚŇŘŠŤŮŽ", "čďěňřšťůž"},      {"ŐŰĞŞİ", "őűğşi"},             {"ȘȚ", "șț"},
        {"ΑΒΓΔΣΩΆΈΉΊΌΎΏ", "αβγδσωάέήίόύώ"}, {"АБВГДЕЁЖЯЇЄІЎ", "абвгдеёжяїєіў"}, {"ԱԲԳ", "աբգ"},
        {"ẞỲẠ", "ßỳạ"},                 {"ＡＢＣ", "ａｂｃ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8::compareFolded(c.upper, c.lower), 0) << c.upper;
        EXPECT_EQ(utf8::compareFolded(c.lower, c.lower), 0) << c.lower;
    }
    // Everything else is itself: signs, digits, ×, ÷, ß, CJK, emoji.
    for (char32_t c : {U'×', U'÷', U'ß', U'€', U'1', U'中', U'\U0001F6E9', U'µ'}) EXPECT_EQ(utf8::foldCase(c), c);
    EXPECT_EQ(utf8::foldCase(U'Ÿ'), U'ÿ');
    EXPECT_EQ(utf8::foldCase(U'ς'), U'σ');
}

TEST(Utf8, CaseFreeOrderIsByCharacterWithBrokenBytesLast) {
    EXPECT_LT(utf8::compareFolded("Éclair", "élan"), 0);
    EXPECT_GT(utf8::compareFolded("Émile", "élan"), 0);
    EXPECT_LT(utf8::compareFolded("z", "é"), 0);  // code point order beyond the fold
    EXPECT_LT(utf8::compareFolded("ab", "abc"), 0);
    EXPECT_EQ(utf8::compareFolded("", ""), 0);
    // A broken byte is never equal to U+FFFD nor to another broken byte.
    EXPECT_GT(utf8::compareFolded("\xC3", "\xEF\xBF\xBD"), 0);
    EXPECT_NE(utf8::compareFolded("\xC3", "\xC4"), 0);
    EXPECT_GT(utf8::compareFolded("a\x80", "a\U0010FFFF"), 0);
}

// The case-free order against folding both texts whole: random texts of ASCII
// letters in both cases, letters beyond ASCII and broken bytes.
TEST(Utf8, CaseFreeOrderAgreesWithFoldingEachText) {
    const auto folded = [](std::string_view s) {
        std::vector<char32_t> out;
        for (std::size_t pos = 0; pos < s.size();) {
            const std::size_t before = pos;
            const char32_t c = utf8::decode(s, pos);
            const bool broken = c == utf8::kReplacement && pos - before == 1;
            out.push_back(broken ? 0x110000 + static_cast<unsigned char>(s[before]) : utf8::foldCase(c));
        }
        return out;
    };
    const char* const pieces[] = {"a", "A", "b", "Z", "z", "[", "_", " ", "1", "é", "É", "ß", "Ω", "ω", "\xC3", "\x80"};
    std::mt19937 random(11);
    const auto text = [&] {
        std::string s;
        for (int n = static_cast<int>(random() % 6); n > 0; --n) s += pieces[random() % std::size(pieces)];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = text(), b = text();
        const std::vector<char32_t> x = folded(a), y = folded(b);
        const int expected = x < y ? -1 : y < x ? 1 : 0;
        ASSERT_EQ(utf8::compareFolded(a, b), expected) << '"' << a << "\" vs \"" << b << '"';
    }
}

// Validity and length, read quickly over ASCII runs, against the plain reading
// of every character, over random bytes of every kind.
TEST(Utf8, ValidityAndLengthAsEveryCharacterDecodedGivesThem) {
    std::mt19937 random(12);
    const unsigned char pool[] = {'a', 'Z', ' ', 0x00, 0x7F, 0x80, 0xBF, 0xC0, 0xC3, 0xA9, 0xE2, 0x82, 0xAC,
                                  0xED, 0xA0, 0xEF, 0xBF, 0xBD, 0xF0, 0x9F, 0x98, 0x80, 0xF4, 0x90, 0xFF};
    for (int n = 0; n < 40000; ++n) {
        // Half the texts are long runs of ASCII with a byte of any kind here and there.
        const bool mostlyAscii = n % 2 == 1;
        std::string s;
        const std::size_t size = random() % (mostlyAscii ? 40 : 12);
        for (std::size_t i = 0; i < size; ++i) {
            const bool letter = mostlyAscii && random() % 12 != 0;
            s += static_cast<char>(letter ? 'a' + random() % 26 : pool[random() % std::size(pool)]);
        }
        bool valid = true;
        std::size_t characters = 0;
        for (std::size_t pos = 0; pos < s.size(); ++characters) {
            const std::size_t before = pos;
            if (utf8::decode(s, pos) == utf8::kReplacement && pos - before == 1) valid = false;
        }
        ASSERT_EQ(utf8::isValid(s), valid) << testing::PrintToString(s);
        ASSERT_EQ(utf8::length(s), characters) << testing::PrintToString(s);
    }
}
