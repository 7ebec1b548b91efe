#pragma once
// What the three printouts share: the print set-up, the print options, centred
// and right-aligned text, rules and boxes, the letterhead, the aircraft header
// grid, the results and CG range lines of the full-page reports, and the notes
// block that lets the notes box break the notes into printed lines.
//
// A PrintFrame lives for one printout. All positions are twips.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"  // Font
#include "platform/value.h"

namespace wb {

class CheckBox;
class Form1;
class Printer;
class Recordset;
class TextBox;

// A value as a mask prints it: a number, or a text that reads as a number as a
// whole, through the mask; any other value as its text (the empty text, Null
// and words unchanged).
std::string masked(const Value& v, const std::string& mask);
// The leading-number value of a text or a cell.
double valueOf(const std::string& text);
double valueOf(const Value& v);
// Without leading and trailing blanks.
std::string trimmed(const std::string& text);
// A print option counts as ticked when its value converts to True.
bool ticked(const CheckBox& box);

// How a printout's letterhead differs.
struct LetterheadRule {
    float nameGap;              // added to the name's height for the line below it
    bool switchFontWithoutName; // Arial 12 for the lines below even with no name
    // The heading font's bold and italic columns: on when their leading number
    // is not 0, instead of converted to Booleans ("True" reads as off then).
    bool flagsByLeadingNumber = false;
};

// The notes block's parameters.
struct NotesLayout {
    float top;
    float left;
    float fontSize;
    float width;  // the width the notes box wraps at
    int16_t lineBufferLen;
};

class PrintFrame {
public:
    PrintFrame(Form1& form, Printer& printer);

    Form1& f;
    Printer& p;

    // ScaleMode twips.
    void SetUp();
    void At(float x, float y);
    void PrintCentred(const std::string& text, bool lineEnding);
    // The text measured is the text printed: CurrentX = right edge - its width.
    void PrintRightAligned(const std::string& text, float rightEdge, bool lineEnding);
    void Rule(float x1, float y1, float x2, float y2, int drawWidth);
    void Frame(float x1, float y1, float x2, float y2, int drawWidth);

    // The shop row (the current row of rsCompanyInfo).
    Recordset& shop();
    // The letterhead: heading font, shop name, address, city/state/zip and
    // phone. Leaves rsCompanyInfo on its first row; returns the row origin of
    // what follows. Italic is reset after the name, so that an italic heading
    // font slants the name only.
    float Letterhead(const LetterheadRule& rule);
    // The report title from a shop-row field, centred at y in Arial 12 bold;
    // then bold off, size 11.
    void Title(const char* field, float y);
    // The four label/value rows of the full-page reports, from rowY + 300 on.
    void HeaderGrid(float rowY);
    // New empty weight, CG and useful load at rowY + 100, + 400, + 700.
    void Results(float rowY);
    // The three CG ranges beside the results (when ticked), then size 12.
    void CgRanges(float rowY);
    // The top of both full-page reports: the letterhead when ticked (else row
    // 100), the title, the header grid, the rules around the results, the
    // results and the CG ranges. Returns the results block's row origin.
    float FullPageTop(const LetterheadRule& rule, const char* titleField);

    // The removed items, then the installed ones, each section under its bold
    // heading and followed by a blank line; list line k stands at
    // firstY + step * k. Row 0 (the previous-empty row) is never listed.
    void ChangeSections(float firstY, float step);
    // The previous-empty row of the change tables at y: its weight through
    // weightMask, arm and moment from the boxes and ChangeMoment(0).
    void PreviousEmptyRow(float y, const std::string& weightMask);

    // The notes of Text13, wrapped by the box at the given width in the
    // printer's font; past the page bottom the document ends and the lines go
    // on at ScaleTop + 2000. The box gets its width and font back, also when a
    // step fails.
    void NotesBlock(const NotesLayout& layout);
    int32_t GetTextBoxLineCount(TextBox& box);
    std::string GetTextBoxLine(const int32_t& LineIndex, TextBox& box);

private:
    const std::vector<std::string>& wrapped(TextBox& box);
    struct Wrap {
        std::string text;
        int width = -1;
        Font font;
        std::vector<std::string> lines;
    } wrap_;
};

// Runs one printout inside a button's Click. The document is named after the
// aircraft's tail number and the report ("N12ABC-logbook-entry"). A failing
// step ends the document with what was printed and the user is told why; when
// the printer wrote the document as files (no printer installed), the user is
// told where, once. Nothing here ends the program.
void RunPrintout(Form1& form, const std::string& report, const std::function<void(PrintFrame&)>& printout);

}  // namespace wb
