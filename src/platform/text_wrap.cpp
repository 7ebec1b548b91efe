#include "platform/text_wrap.h"

#include "platform/failure.h"
#include "platform/utf8.h"

namespace wb {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The byte offset just past the character at `pos`.
size_t nextCharacter(const std::string& s, size_t pos) {
    utf8::decode(s, pos);
    return pos;
}

// Breaks one hard line (no line breaks in it) into the lines the box shows.
void wrapHardLine(const std::string& s, double width, const Font& font,
                  const TextMetrics& metrics, std::vector<std::string>& lines) {
    auto fits = [&](size_t from, size_t to) {
        return metrics.textWidth(s.substr(from, to - from), font) <= width;
    };
    if (s.empty()) {
        lines.emplace_back();
        return;
    }
    size_t start = 0;
    while (start < s.size()) {
        // Take whole words with the blanks after them while the words fit;
        // blanks hang past the width.
        size_t end = start;
        size_t i = start;
        while (i < s.size()) {
            size_t wordEnd = i;
            while (wordEnd < s.size() && !isBlank(s[wordEnd])) ++wordEnd;
            if (!fits(start, wordEnd)) break;
            size_t blanksEnd = wordEnd;
            while (blanksEnd < s.size() && isBlank(s[blanksEnd])) ++blanksEnd;
            end = i = blanksEnd;
        }
        if (end == start) {
            // The first word alone is too wide: break it where it stops fitting,
            // keeping at least one character on the line.
            end = nextCharacter(s, start);
            while (end < s.size() && !isBlank(s[end]) && fits(start, nextCharacter(s, end)))
                end = nextCharacter(s, end);
            while (end < s.size() && isBlank(s[end])) ++end;  // the word ended here
        }
        lines.push_back(s.substr(start, end - start));
        start = end;
    }
}

}  // namespace

std::vector<std::string> wrapTextLines(const std::string& text, double width,
                                       const Font& font, const TextMetrics& metrics) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t lf = text.find('\n', start);
        size_t end = lf == std::string::npos ? text.size() : lf;
        size_t lineEnd = end;
        if (lf != std::string::npos && lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
        wrapHardLine(text.substr(start, lineEnd - start), width, font, metrics, lines);
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

int wrappedLineCount(const std::string& text, double width, const Font& font,
                     const TextMetrics& metrics) {
    return static_cast<int>(wrapTextLines(text, width, font, metrics).size());
}

std::string wrappedLine(const std::string& text, double width, const Font& font,
                        const TextMetrics& metrics, int index) {
    std::vector<std::string> lines = wrapTextLines(text, width, font, metrics);
    if (index < 0 || index >= static_cast<int>(lines.size())) return std::string();
    return lines[index];
}

std::string cutToBuffer(const std::string& line, int bufferLen) {
    if (bufferLen < 1) return std::string();
    return utf8::left(line, static_cast<size_t>(bufferLen));
}

std::string fillLineBuffer(const std::string& line, int bufferLen) {
    if (bufferLen < 2) throw RuntimeError(kInvalidCall, "Line buffer shorter than 2");
    std::string buffer = utf8::encode(static_cast<char32_t>(bufferLen % 256)) +
                         utf8::encode(static_cast<char32_t>(bufferLen / 256));
    buffer.append(static_cast<size_t>(bufferLen - 2), ' ');
    const std::string copied = cutToBuffer(line, bufferLen);
    return copied + utf8::mid(buffer, utf8::length(copied));
}

}  // namespace wb
