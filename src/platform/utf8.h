#pragma once
// UTF-8 text as the program holds it: positions and lengths count characters
// (Unicode scalar values), never bytes. A broken sequence reads as one U+FFFD.
#include <cstddef>
#include <string>
#include <string_view>

namespace wb::utf8 {

constexpr char32_t kReplacement = 0xFFFD;

// The character starting at byte `pos`; `pos` moves past it. A truncated or
// overlong sequence, a surrogate or a value past U+10FFFF gives U+FFFD and
// moves past one byte.
char32_t decode(std::string_view s, std::size_t& pos);
// The UTF-8 bytes of c; a surrogate or a value past U+10FFFF gives U+FFFD's.
std::string encode(char32_t c);

// The text's characters, and back to UTF-8.
std::u32string characters(std::string_view s);
std::string encode(std::u32string_view s);

// Every broken sequence replaced by U+FFFD; valid text comes back unchanged.
std::string sanitize(std::string_view s);
bool isValid(std::string_view s);

// Number of characters.
std::size_t length(std::string_view s);
// Byte offset of character `index` (the end of the text past its last one).
std::size_t offsetOf(std::string_view s, std::size_t index);
// Characters [start, start + count), clamped to the text.
std::string mid(std::string_view s, std::size_t start, std::size_t count = std::string_view::npos);
inline std::string left(std::string_view s, std::size_t count) { return mid(s, 0, count); }

// A control character: below U+0020, DEL and U+0080 to U+009F.
constexpr bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }
// A typed key's code that types a character: a valid scalar value that is no
// control character.
constexpr bool typesCharacter(long code) {
    return code >= 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) &&
           !isControl(static_cast<char32_t>(code));
}

// The character's case-free form: upper-case letters of the Latin, Greek,
// Cyrillic and Armenian alphabets (and the full-width Latin ones) as their
// lower-case letters; everything else unchanged.
char32_t foldCase(char32_t c);
// Case-free order of two texts, character by character (<0, 0, >0). A broken
// byte orders after every character, by its value, so no two different
// broken texts compare equal.
int compareFolded(std::string_view a, std::string_view b);

}  // namespace wb::utf8
