#include "platform/printer.h"

namespace wb {

Printer::Printer() = default;
Printer::~Printer() = default;

const std::vector<std::string>& Printer::documentFiles() const {
    static const std::vector<std::string> none;
    return none;
}

void Printer::setScaleMode(int mode) {
    if (mode != 1) throw RuntimeError(kInvalidCall, "Only twips (ScaleMode 1) are supported");
    scaleMode_ = mode;
}

void Printer::setFontName(const std::string& name) { font_.name = name; }

void Printer::setFontSize(float size) {
    if (!(size > 0 && size <= 2048)) throw RuntimeError(kInvalidCall, "Invalid font size");
    font_.size = size;
}

void Printer::setDrawWidth(int width) {
    if (width < 1) throw RuntimeError(kInvalidCall, "Invalid DrawWidth");
    drawWidth_ = width;
}

void Printer::PrintSameLine(const std::string& text) {
    drawText(currentX_, currentY_, font_, text);
    currentX_ += TextWidth(text);
}

void Printer::Print(const std::string& text) {
    drawText(currentX_, currentY_, font_, text);
    currentX_ = 0;
    currentY_ += TextHeight(text);
}

float Printer::TextWidth(const std::string& text) const {
    return static_cast<float>(metrics().textWidth(text, font_));
}

float Printer::TextHeight(const std::string& text) const {
    return static_cast<float>(metrics().textHeight(text, font_));
}

void Printer::Line(float x1, float y1, float x2, float y2) {
    drawLine(x1, y1, x2, y2, drawWidth_);
}

void Printer::Box(float x1, float y1, float x2, float y2) {
    drawBox(x1, y1, x2, y2, drawWidth_);
}

void Printer::EndDoc() {
    currentX_ = 0;
    currentY_ = 0;
    endDocument();
}

}  // namespace wb
