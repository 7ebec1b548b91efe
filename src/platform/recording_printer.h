#pragma once
// A printer that records what is printed, for tests and the scenario runner.
// Letter page: ScaleWidth 11520, ScaleHeight 15120, ScaleTop 0 twips. Fixed
// metrics: TextWidth = characters x FontSize x 10, TextHeight = FontSize x 23.
// Log lines:
//   text X Y "FONT" SIZE [bold] [italic] "TEXT"
//   line X1 Y1 X2 Y2 WIDTH
//   box X1 Y1 X2 Y2 WIDTH
//   enddoc
// Numbers in their shortest plain decimal form; texts with \" and \\ escapes.
// Every printed item is recorded, an empty one too.
#include <string>
#include <vector>

#include "platform/printer.h"

namespace wb {

class RecordingMetrics : public TextMetrics {
public:
    double textWidth(const std::string& text, const Font& font) const override;
    double textHeight(const std::string& text, const Font& font) const override;
};

class RecordingPrinter : public Printer {
public:
    float scaleTop() const override { return 0; }
    float scaleWidth() const override { return 11520; }
    float scaleHeight() const override { return 15120; }
    const TextMetrics& metrics() const override { return metrics_; }

    // The lines recorded since the last takeLog.
    const std::vector<std::string>& log() const { return log_; }
    std::vector<std::string> takeLog();

protected:
    void drawText(float x, float y, const Font& font, const std::string& text) override;
    void drawLine(float x1, float y1, float x2, float y2, int width) override;
    void drawBox(float x1, float y1, float x2, float y2, int width) override;
    void endDocument() override;

private:
    RecordingMetrics metrics_;
    std::vector<std::string> log_;
};

}  // namespace wb
