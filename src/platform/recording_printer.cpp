#include "platform/recording_printer.h"

#include <charconv>

#include "platform/utf8.h"

namespace wb {

namespace {

std::string number(double value) {
    char buf[64];
    float single = static_cast<float>(value);
    if (single == 0) single = 0;  // no "-0"
    auto result = std::to_chars(buf, buf + sizeof buf, single, std::chars_format::fixed);
    return std::string(buf, result.ptr);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

double RecordingMetrics::textWidth(const std::string& text, const Font& font) const {
    return static_cast<double>(utf8::length(text)) * font.size * 10;
}

double RecordingMetrics::textHeight(const std::string&, const Font& font) const {
    return font.size * 23;
}

std::vector<std::string> RecordingPrinter::takeLog() {
    std::vector<std::string> taken;
    taken.swap(log_);
    return taken;
}

void RecordingPrinter::drawText(float x, float y, const Font& font, const std::string& text) {
    std::string line = "text " + number(x) + " " + number(y) + " " + quoted(font.name) + " " +
                       number(font.size);
    if (font.bold) line += " bold";
    if (font.italic) line += " italic";
    log_.push_back(line + " " + quoted(text));
}

void RecordingPrinter::drawLine(float x1, float y1, float x2, float y2, int width) {
    log_.push_back("line " + number(x1) + " " + number(y1) + " " + number(x2) + " " +
                   number(y2) + " " + std::to_string(width));
}

void RecordingPrinter::drawBox(float x1, float y1, float x2, float y2, int width) {
    log_.push_back("box " + number(x1) + " " + number(y1) + " " + number(x2) + " " +
                   number(y2) + " " + std::to_string(width));
}

void RecordingPrinter::endDocument() { log_.push_back("enddoc"); }

}  // namespace wb
