#include "platform/utf8.h"

namespace wb::utf8 {

namespace {

// Ranges where upper and lower case alternate: the even (or odd) one of each
// pair is the capital, the next the small letter.
bool inPairs(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last && (c - first) % 2 == 0; }

}  // namespace

char32_t foldCase(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c < 0x100) return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? c + 32 : c;
    if (c < 0x180) {  // Latin Extended-A
        if (c == 0x130) return 'i';
        if (c == 0x178) return 0xFF;
        if (c == 0x17F) return 's';
        if (inPairs(c, 0x100, 0x12E) || inPairs(c, 0x132, 0x136) || inPairs(c, 0x139, 0x147) ||
            inPairs(c, 0x14A, 0x176) || inPairs(c, 0x179, 0x17D))
            return c + 1;
        return c;
    }
    if (c < 0x250) {  // Latin Extended-B: the regular parts
        if (c == 0x1C4 || c == 0x1C5) return 0x1C6;
        if (c == 0x1C7 || c == 0x1C8) return 0x1C9;
        if (c == 0x1CA || c == 0x1CB) return 0x1CC;
        if (c == 0x1F1 || c == 0x1F2) return 0x1F3;
        if (inPairs(c, 0x1CD, 0x1DB) || inPairs(c, 0x1DE, 0x1EE) || inPairs(c, 0x1F8, 0x21E) ||
            inPairs(c, 0x222, 0x232) || inPairs(c, 0x246, 0x24E))
            return c + 1;
        return c;
    }
    if (c >= 0x370 && c < 0x400) {  // Greek
        if (c == 0x386) return 0x3AC;
        if (c >= 0x388 && c <= 0x38A) return c + 37;
        if (c == 0x38C) return 0x3CC;
        if (c == 0x38E || c == 0x38F) return c + 63;
        if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 32;
        if (c == 0x3C2) return 0x3C3;  // final sigma
        if (inPairs(c, 0x3D8, 0x3EE)) return c + 1;
        return c;
    }
    if (c >= 0x400 && c < 0x530) {  // Cyrillic
        if (c < 0x410) return c + 80;
        if (c < 0x430) return c + 32;
        if (c == 0x4C0) return 0x4CF;
        if (inPairs(c, 0x460, 0x480) || inPairs(c, 0x48A, 0x4BE) || inPairs(c, 0x4C1, 0x4CD) ||
            inPairs(c, 0x4D0, 0x52E))
            return c + 1;
        return c;
    }
    if (c >= 0x531 && c <= 0x556) return c + 48;  // Armenian
    if (inPairs(c, 0x1E00, 0x1E94) || inPairs(c, 0x1EA0, 0x1EFE)) return c + 1;  // Latin Extended Additional
    if (c == 0x1E9E) return 0xDF;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;  // full-width Latin
    return c;
}

int compareFolded(std::string_view a, std::string_view b) {
    // One step of a text: its folded character, or past every character for a broken byte.
    auto next = [](std::string_view s, std::size_t& pos) -> char32_t {
        const std::size_t before = pos;
        const char32_t c = decode(s, pos);
        if (c == kReplacement && pos - before == 1) return 0x110000 + static_cast<unsigned char>(s[before]);
        return foldCase(c);
    };
    // Where both texts are ASCII, a character is its byte and folds alone.
    const auto ascii = [](unsigned char c) -> char32_t { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto p = static_cast<unsigned char>(a[i]), q = static_cast<unsigned char>(b[j]);
        char32_t x, y;
        if (p < 0x80 && q < 0x80) {
            x = ascii(p), y = ascii(q);
            ++i, ++j;
        } else {
            x = next(a, i), y = next(b, j);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace wb::utf8
