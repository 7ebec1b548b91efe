#include "platform/utf8.h"

namespace wb::utf8 {

char32_t decode(std::string_view s, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07, smallest = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + extra >= s.size()) {  // truncated
        ++pos;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(pos + k);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += extra + 1;
    return c;
}

std::string encode(char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}

std::u32string characters(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) out.push_back(decode(s, pos));
    return out;
}

std::string encode(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) out += encode(c);
    return out;
}

std::string sanitize(std::string_view s) {
    if (isValid(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() + 8);
    for (std::size_t pos = 0; pos < s.size();) out += encode(decode(s, pos));
    return out;
}

namespace {

bool isAscii(std::string_view s) {
    unsigned char bits = 0;
    for (char c : s) bits |= static_cast<unsigned char>(c);
    return bits < 0x80;
}

}  // namespace

bool isValid(std::string_view s) {
    if (isAscii(s)) return true;  // most texts, checked in one quick pass
    for (std::size_t pos = 0; pos < s.size();) {
        if (static_cast<unsigned char>(s[pos]) < 0x80) {  // ASCII: one byte, one character
            ++pos;
            continue;
        }
        const std::size_t before = pos;
        const char32_t c = decode(s, pos);
        // A real U+FFFD in the text is three bytes; a replaced byte is one.
        if (c == kReplacement && pos - before == 1) return false;
    }
    return true;
}

std::size_t length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < s.size(); ++n) {
        if (static_cast<unsigned char>(s[pos]) < 0x80)
            ++pos;
        else
            decode(s, pos);
    }
    return n;
}

std::size_t offsetOf(std::string_view s, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < index && pos < s.size(); ++i) decode(s, pos);
    return pos;
}

std::string mid(std::string_view s, std::size_t start, std::size_t count) {
    const std::size_t from = offsetOf(s, start);
    const std::string_view rest = s.substr(from);
    return std::string(rest.substr(0, count == std::string_view::npos ? rest.size() : offsetOf(rest, count)));
}

}  // namespace wb::utf8
