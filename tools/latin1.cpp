#include "latin1.h"

namespace wb::scenario {

std::optional<std::string> utf8ToLatin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // Latin-1 beyond ASCII is exactly the two-byte forms led by C2 and C3.
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= utf8.size()) return std::nullopt;
        unsigned char next = static_cast<unsigned char>(utf8[i + 1]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        out += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return out;
}

std::string latin1ToUtf8(const std::string& latin1) {
    std::string out;
    for (char ch : latin1) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string quoted(const std::string& latin1) {
    std::string escaped;
    for (char c : latin1) {
        switch (c) {
        case '"': escaped += "\\\""; break;
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return "\"" + latin1ToUtf8(escaped) + "\"";
}

}  // namespace wb::scenario
