#pragma once
// The printer object the printouts draw on, in twips (1440 to the inch), origin at
// the top left of the printable area, X to the right, Y downward.
//
// The print position, the font and the line width live here, with the old printer
// object's Print semantics; a backend (the recording printer, the Qt printer) only
// draws what it is told and measures text through its TextMetrics.
//
// Failures of the device are RuntimeError kPrinterError (482 "Printer error").
#include <string>
#include <vector>

#include "platform/controls/control.h"  // Font
#include "platform/failure.h"

namespace wb {

// Sizes of text in a font, in twips. One line of text: line breaks are not
// interpreted.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual double textWidth(const std::string& text, const Font& font) const = 0;
    virtual double textHeight(const std::string& text, const Font& font) const = 0;
};

class Printer {
public:
    Printer();
    virtual ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // Only 1 (twips) is supported; any other mode fails with 5.
    int scaleMode() const { return scaleMode_; }
    void setScaleMode(int mode);

    // The printable area in twips.
    virtual float scaleTop() const = 0;
    virtual float scaleWidth() const = 0;
    virtual float scaleHeight() const = 0;

    // The print position: the top left corner of the next text printed.
    float currentX() const { return currentX_; }
    void setCurrentX(float x) { currentX_ = x; }
    float currentY() const { return currentY_; }
    void setCurrentY(float y) { currentY_ = y; }

    // Font state; every setting stays until changed, across documents too.
    // Starts as "Arial" 10, not bold, not italic.
    const std::string& fontName() const { return font_.name; }
    void setFontName(const std::string& name);
    float fontSize() const { return static_cast<float>(font_.size); }
    void setFontSize(float size);  // fails with 5 unless 0 < size <= 2048
    bool fontBold() const { return font_.bold; }
    void setFontBold(bool bold) { font_.bold = bold; }
    bool fontItalic() const { return font_.italic; }
    void setFontItalic(bool italic) { font_.italic = italic; }
    const Font& font() const { return font_; }

    // Line width in printer pixels; starts as 1. Fails with 5 below 1.
    int drawWidth() const { return drawWidth_; }
    void setDrawWidth(int width);

    // A same-line item: printed at the print position, which then moves right by
    // its TextWidth (CurrentY unchanged).
    void PrintSameLine(const std::string& text);
    // A line-ending item: printed at the print position, which then moves to the
    // left edge (CurrentX 0), one TextHeight lower. Print() prints an empty item.
    void Print(const std::string& text = std::string());

    // Size of a text in the current font, in twips.
    float TextWidth(const std::string& text) const;
    float TextHeight(const std::string& text) const;

    // Line (x1, y1)-(x2, y2) in the current DrawWidth.
    void Line(float x1, float y1, float x2, float y2);
    // Line (x1, y1)-(x2, y2), , B: the outline of the rectangle, not filled.
    void Box(float x1, float y1, float x2, float y2);

    // The title of the documents from the next one on: the print job's name and
    // the stem of a PDF file's name.
    const std::string& documentName() const { return documentName_; }
    void setDocumentName(const std::string& name) { documentName_ = name; }

    // Ends the document and releases it to the printer; the next item printed
    // starts a new document. The print position goes back to (0, 0); font and
    // DrawWidth are kept.
    void EndDoc();

    // The metrics TextWidth/TextHeight use; also what the notes reflow wraps with.
    virtual const TextMetrics& metrics() const = 0;

    // The documents this printer has written as files (PDF when no printer is
    // installed), oldest first, since it was made; none for a real printer.
    virtual const std::vector<std::string>& documentFiles() const;

protected:
    // What a backend draws. Positions in twips; the font is the current one.
    virtual void drawText(float x, float y, const Font& font, const std::string& text) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, int width) = 0;
    virtual void drawBox(float x1, float y1, float x2, float y2, int width) = 0;
    virtual void endDocument() = 0;

private:
    int scaleMode_ = 1;
    float currentX_ = 0;
    float currentY_ = 0;
    Font font_{"Arial", 10, false, false};
    int drawWidth_ = 1;
    std::string documentName_;
};

}  // namespace wb
