#include <gtest/gtest.h>

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
