#include "platform/controls/text_units.h"

#include <algorithm>

#include "platform/utf8.h"

namespace wb::text_units {

namespace {

int size(const std::u32string& s) { return static_cast<int>(s.size()); }

bool isBreak(char32_t c) { return c == U'\r' || c == U'\n'; }
bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

// Inside "\r\n": between its two characters.
bool splitsBreak(const std::u32string& s, int pos) {
    return pos > 0 && pos < size(s) && s[pos - 1] == U'\r' && s[pos] == U'\n';
}

}  // namespace

int snap(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    return splitsBreak(s, pos) ? pos - 1 : pos;
}

int stepBack(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    if (pos == 0) return 0;
    return splitsBreak(s, pos - 1) ? pos - 2 : pos - 1;
}

int stepForward(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    if (pos == size(s)) return pos;
    return splitsBreak(s, pos + 1) ? pos + 2 : pos + 1;
}

std::pair<int, int> wordAt(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    int at = pos < size(s) && !isBreak(s[pos]) ? pos : pos - 1;  // the character clicked
    if (at < 0 || isBreak(s[at])) return {pos, pos};
    const bool blank = isBlank(s[at]);
    const auto same = [&](int i) { return !isBreak(s[i]) && isBlank(s[i]) == blank; };
    int from = at, to = at + 1;
    while (from > 0 && same(from - 1)) --from;
    while (to < size(s) && same(to)) ++to;
    return {from, to};
}

int wordLeft(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    while (pos > 0 && (isBlank(s[pos - 1]) || isBreak(s[pos - 1]))) --pos;
    while (pos > 0 && !isBlank(s[pos - 1]) && !isBreak(s[pos - 1])) --pos;
    return pos;
}

int wordRight(const std::string& text, int pos) {
    const std::u32string s = utf8::characters(text);
    pos = std::clamp(pos, 0, size(s));
    while (pos < size(s) && !isBlank(s[pos]) && !isBreak(s[pos])) ++pos;
    while (pos < size(s) && (isBlank(s[pos]) || isBreak(s[pos]))) ++pos;
    return pos;
}

std::vector<int> hardLineStarts(const std::string& text) {
    const std::u32string s = utf8::characters(text);
    std::vector<int> starts{0};
    for (int i = 0; i < size(s); ++i)
        if (s[i] == U'\n') starts.push_back(i + 1);
    return starts;
}

int lineEnd(const std::string& text, const std::vector<int>& starts, int i) {
    const std::u32string s = utf8::characters(text);
    if (i + 1 >= static_cast<int>(starts.size())) return size(s);
    int end = std::min(starts[i + 1], size(s));
    if (end > 0 && s[end - 1] == U'\n') {
        --end;
        if (end > 0 && s[end - 1] == U'\r') --end;
    } else if (end > starts[i]) {
        --end;  // a wrapped line: its last position shows on the next line
    }
    return std::max(end, starts[i]);
}

int lineOf(const std::vector<int>& starts, int pos) {
    auto it = std::upper_bound(starts.begin(), starts.end(), pos);
    return std::max(0, static_cast<int>(it - starts.begin()) - 1);
}

std::string toClipboard(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::string pastable(const std::string& clip, bool severalLines, int room) {
    const std::u32string s = utf8::characters(clip);
    std::u32string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char32_t c = s[i];
        if (isBreak(c)) {
            if (!severalLines) break;
            out += U"\r\n";
            if (c == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n') ++i;
        } else if (c == U'\t' || !utf8::isControl(c)) {
            out += c;
        }
    }
    if (room >= 0 && size(out) > room) {
        out.resize(std::max(room, 0));
        if (!out.empty() && out.back() == U'\r') out.pop_back();
    }
    return utf8::encode(out);
}

}  // namespace wb::text_units
