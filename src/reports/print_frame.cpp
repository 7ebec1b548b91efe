#include "reports/print_frame.h"

#include <optional>

#include "app/first_run_advice.h"
#include "app/form1.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/printer.h"
#include "platform/text_wrap.h"
#include "worksheet/recalculation.h"

namespace wb {

std::string masked(const Value& v, const std::string& mask) {
    if (v.isNumber()) {
        if (v.isSingle()) return formatMask(static_cast<float>(v.toNumber()), mask);
        return formatMask(v.toNumber(), mask);
    }
    if (v.isText() && isNumericText(v.toText())) return formatMask(v.toNumber(), mask);
    return v.displayText();
}

double valueOf(const std::string& text) { return parseLeadingNumber(text); }

double valueOf(const Value& v) { return v.leadingNumber(); }

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool ticked(const CheckBox& box) { return box.value() != 0; }

PrintFrame::PrintFrame(Form1& form, Printer& printer) : f(form), p(printer) {}

void PrintFrame::SetUp() { p.setScaleMode(1); }

void PrintFrame::At(float x, float y) {
    p.setCurrentX(x);
    p.setCurrentY(y);
}

void PrintFrame::PrintCentred(const std::string& text, bool lineEnding) {
    p.setCurrentX((p.scaleWidth() - p.TextWidth(text)) / 2);
    lineEnding ? p.Print(text) : p.PrintSameLine(text);
}

void PrintFrame::PrintRightAligned(const std::string& text, float rightEdge, bool lineEnding) {
    p.setCurrentX(rightEdge - p.TextWidth(text));
    lineEnding ? p.Print(text) : p.PrintSameLine(text);
}

void PrintFrame::Rule(float x1, float y1, float x2, float y2, int drawWidth) {
    p.setDrawWidth(drawWidth);
    p.Line(x1, y1, x2, y2);
}

void PrintFrame::Frame(float x1, float y1, float x2, float y2, int drawWidth) {
    p.setDrawWidth(drawWidth);
    p.Box(x1, y1, x2, y2);
}

Recordset& PrintFrame::shop() { return Form1::need(f.rsCompanyInfo); }

namespace {

// A bold or italic column of the "Reports" row: on when its leading number is
// not 0, or converted to a Boolean as the runtime does ("True", "-1", "False",
// "0"); nothing for a text that does not convert ("Yes").
std::optional<bool> fontFlag(const std::string& text, bool byLeadingNumber) {
    if (byLeadingNumber) return parseLeadingNumber(text) != 0;
    try {
        return Value(text).toBool();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The report heading font from the "Reports" row, column by column: a column
// without a usable value gives its default.
Font headingFont(Recordset& rs, bool flagsByLeadingNumber) {
    Font font{"Arial", 18, true, false};
    rs.FindFirst(Criteria("CompName", Compare::Equal, "Reports"));
    if (rs.NoMatch()) return font;
    auto column = [&](const char* name) { return rs.field(name).displayText(); };
    if (std::string name = column("CompAddress"); !name.empty()) font.name = name;
    if (std::string size = column("CompCSZ"); !size.empty()) {
        double points = parseLeadingNumber(size);
        if (points > 0 && points <= 2048) font.size = points;
    }
    if (std::string bold = column("CompPhone"); !bold.empty())
        font.bold = fontFlag(bold, flagsByLeadingNumber).value_or(font.bold);
    if (std::string italic = column("FormTitle"); !italic.empty())
        font.italic = fontFlag(italic, flagsByLeadingNumber).value_or(font.italic);
    return font;
}

}  // namespace

float PrintFrame::Letterhead(const LetterheadRule& rule) {
    Recordset& rs = shop();
    const Font heading = headingFont(rs, rule.flagsByLeadingNumber);
    p.setFontName(heading.name);
    p.setFontSize(static_cast<float>(heading.size));
    p.setFontBold(heading.bold);
    p.setFontItalic(heading.italic);
    rs.MoveFirst();

    const Value name = rs.field("CompName");
    if (!name.isNull()) {
        p.setCurrentY(50);
        PrintCentred(name.toText(), true);
        p.setCurrentY(p.TextHeight(name.toText()) + rule.nameGap);
    }
    if (!name.isNull() || rule.switchFontWithoutName) {
        p.setFontName("Arial");
        p.setFontSize(12);
        p.setFontBold(false);
    }
    p.setFontItalic(false);

    const char* lines[] = {"CompAddress", "CompCSZ", "CompPhone"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) p.setCurrentY(p.currentY() + 200);
        const Value v = rs.field(lines[i]);
        if (!v.isNull()) PrintCentred(v.toText(), false);
    }
    return p.currentY() + 400;
}

void PrintFrame::Title(const char* field, float y) {
    p.setCurrentY(y);
    p.setFontName("Arial");
    p.setFontSize(12);
    p.setFontBold(true);
    const Value title = shop().field(field);
    if (!title.isNull()) PrintCentred(title.toText(), true);
    p.setFontBold(false);
    p.setFontSize(11);
}

void PrintFrame::HeaderGrid(float rowY) {
    struct Row {
        float dy;
        const char* leftLabel;
        std::string leftValue;
        std::string rightLabel;
        std::string rightValue;
    };
    const Row rows[] = {
        {300, "Reg. Number:", trimmed(f.Text1.text()), "Date:", trimmed(f.Text7.text())},
        {510, "Make/Model:", trimmed(f.Text3.text()) + "  " + trimmed(f.Text4.text()),
         f.Command3D20.caption() + ":", trimmed(f.Text8.text())},
        {720, "Year:", trimmed(f.Text5.text()), "Max Weight:", trimmed(f.Text11.text())},
        {930, "Serial Number:", trimmed(f.Text2.text()), "Work Order:", trimmed(f.Text12.text())},
    };
    const float width = p.scaleWidth();
    for (const Row& row : rows) {
        At(100, rowY + row.dy);
        p.PrintSameLine(row.leftLabel);
        p.setCurrentX(1800);
        p.Print(row.leftValue);
        At(width - 3500, rowY + row.dy);
        p.PrintSameLine(row.rightLabel);
        p.setCurrentX(width - 1600);
        p.Print(row.rightValue);
    }
}

void PrintFrame::Results(float rowY) {
    const double emptyWeight = valueOf(f.Text23.text());
    const struct {
        float dy;
        const char* label;
        double value;
        bool lineEnding;
    } rows[] = {
        {100, "New A/C Empty Weight:", emptyWeight, false},
        {400, "New A/C Empty C.G.:", valueOf(f.Text24.text()), false},
        {700, "New A/C Useful Load:", valueOf(f.Text11.text()) - emptyWeight, true},
    };
    for (const auto& row : rows) {
        At(100, rowY + row.dy);
        p.PrintSameLine(row.label);
        PrintRightAligned(formatMask(row.value, "######.00"), 4000, row.lineEnding);
    }
}

float PrintFrame::FullPageTop(const LetterheadRule& rule, const char* titleField) {
    SetUp();
    float rowY = ticked(f.Check3D1) ? Letterhead(rule) : 100;
    Title(titleField, rowY);
    HeaderGrid(rowY);

    rowY += 1300;
    Rule(100, rowY, 11510, rowY, 4);
    Rule(4100, rowY, 4100, rowY + 1000, 4);
    p.setDrawWidth(1);
    Results(rowY);
    CgRanges(rowY);
    return rowY;
}

void PrintFrame::CgRanges(float rowY) {
    if (!ticked(f.Check3D2)) return;
    p.setFontSize(10);
    const struct {
        float dy;
        const char* label;
        const TextBox& box;
    } rows[] = {
        {100, "Landing C.G. Range:", f.Text14},
        {400, "Gear Extended C.G. Range:", f.Text15},
        {700, "Empty Weight C.G. Range:", f.Text16},
    };
    for (const auto& row : rows) {
        At(4300, rowY + row.dy);
        p.PrintSameLine(row.label);
        p.setCurrentX(6900);
        p.Print(trimmed(row.box.text()));
    }
    p.setFontSize(12);
}

void PrintFrame::ChangeSections(float firstY, float step) {
    WorksheetState& ws = f.ws;
    const struct {
        const char* heading;
        const WorksheetState::ChangeArray& marks;
    } sections[] = {{"Removed", ws.ChangeRemoved}, {"Installed", ws.ChangeInstalled}};
    int row = 0;
    auto lineY = [&] { return firstY + step * static_cast<float>(row); };
    for (const auto& section : sections) {
        p.setFontBold(true);
        At(200, lineY());
        p.PrintSameLine(section.heading);
        ++row;
        for (int i = 1; i <= 29; ++i) {
            if (section.marks[i].displayText() != "X") continue;
            p.setFontBold(false);
            At(200, lineY());
            p.PrintSameLine(ws.ChangeDesc[i].displayText());
            p.setCurrentX(4200);
            p.PrintSameLine(ws.ChangeSerial[i].displayText());
            PrintRightAligned(masked(ws.ChangeWeight[i], "#####0.00"), 7000, false);
            PrintRightAligned(masked(ws.ChangeArm[i], "#####0.00"), 8500, false);
            PrintRightAligned(masked(ws.ChangeMoment[i], "######.0"), 10200, false);
            p.setCurrentX(10550);
            p.PrintSameLine(ws.ChangeInstalled[i].displayText());
            p.setCurrentX(11100);
            p.PrintSameLine(ws.ChangeRemoved[i].displayText());
            ++row;
        }
        ++row;
    }
}

void PrintFrame::PreviousEmptyRow(float y, const std::string& weightMask) {
    At(200, y);
    p.PrintSameLine("Previous Aircraft Empty");
    p.setCurrentX(4200);
    p.PrintSameLine(f.Text2.text());
    PrintRightAligned(formatMask(valueOf(f.Text9.text()), weightMask), 7000, false);
    PrintRightAligned(formatMask(valueOf(f.Text10.text()), "#####0.00"), 8500, false);
    PrintRightAligned(masked(f.ws.ChangeMoment[0], "#####0.0"), 10200, false);
    p.setCurrentX(10500);
    p.PrintSameLine("n/a");
    p.setCurrentX(11050);
    p.PrintSameLine("n/a");
}

namespace {

// Gives the notes box its width and font back when the notes block ends, on
// every path.
class LentBox {
public:
    explicit LentBox(TextBox& box) : box_(box), width_(box.width()), font_(box.font()) {}
    ~LentBox() {
        box_.setWidth(width_);
        box_.setFont(font_);
    }
    LentBox(const LentBox&) = delete;
    LentBox& operator=(const LentBox&) = delete;

private:
    TextBox& box_;
    int width_;
    Font font_;
};

}  // namespace

void PrintFrame::NotesBlock(const NotesLayout& layout) {
    At(layout.left, layout.top);
    p.setFontSize(layout.fontSize);
    TextBox& notes = f.Text13;
    LentBox lent(notes);
    Font printed = notes.font();
    printed.name = p.fontName();
    printed.size = p.fontSize();
    printed.bold = p.fontBold();
    notes.setFont(printed);
    notes.setWidth(static_cast<int>(layout.width));
    f.ws.LineBufferLen = layout.lineBufferLen;

    const int32_t n = GetTextBoxLineCount(notes);
    for (int32_t k = 1; k <= n; ++k) {
        f.ws.LineBuffer = GetTextBoxLine(k - 1, notes);
        if (p.currentY() >= p.scaleTop() + p.scaleHeight()) {
            p.EndDoc();
            p.setCurrentY(p.scaleTop() + 2000);
        }
        p.setCurrentX(layout.left);
        p.Print(f.ws.LineBuffer);
    }
}

const std::vector<std::string>& PrintFrame::wrapped(TextBox& box) {
    if (wrap_.text != box.text() || wrap_.width != box.width() || !(wrap_.font == box.font())) {
        wrap_.text = box.text();
        wrap_.width = box.width();
        wrap_.font = box.font();
        wrap_.lines = box.multiLine()
                          ? wrapTextLines(wrap_.text, wrap_.width, wrap_.font, p.metrics())
                          : std::vector<std::string>{wrap_.text};
    }
    return wrap_.lines;
}

int32_t PrintFrame::GetTextBoxLineCount(TextBox& box) {
    return static_cast<int32_t>(wrapped(box).size());
}

std::string PrintFrame::GetTextBoxLine(const int32_t& LineIndex, TextBox& box) {
    const std::vector<std::string>& lines = wrapped(box);
    const std::string line =
        LineIndex >= 0 && LineIndex < static_cast<int32_t>(lines.size()) ? lines[LineIndex] : "";
    f.ws.LineBuffer = fillLineBuffer(line, f.ws.LineBufferLen);
    return cutToBuffer(line, f.ws.LineBufferLen);
}

namespace {

constexpr const char* kPrintTitle = "Printing";

std::string failureText(Form1& form, const RuntimeError& e) {
    switch (e.number()) {
    case kObjectNotSet:
    case 3420:  // a closed record set
        return "The printout stopped: no record database is open, so the shop settings "
               "cannot be read. " + noRecordDatabaseAdvice(form.Data1);
    case kPrinterError:
        return "The printout stopped: " + std::string(e.what());
    default:
        return "The printout stopped: " + std::string(e.what()) + " (error " +
               std::to_string(e.number()) + ")";
    }
}

std::string filesText(const std::vector<std::string>& files, size_t from) {
    std::string text = files.size() - from == 1 ? "The printout was saved as the PDF file\n"
                                                : "The printout was saved as the PDF files\n";
    for (size_t i = from; i < files.size(); ++i) text += files[i] + "\n";
    text.pop_back();
    return text;
}

}  // namespace

void RunPrintout(Form1& form, const std::string& report, const std::function<void(PrintFrame&)>& printout) {
    if (!FreshTotals(form, "Not printed", msgbox::kInformation)) return;
    Dialogs& dialogs = *form.services.dialogs;
    Printer* printer = form.services.printer;
    if (!printer) {
        dialogs.MsgBox("No printer is available.", msgbox::kExclamation, kPrintTitle);
        return;
    }
    const std::string tail = trimmed(form.Text1.text());
    printer->setDocumentName(tail.empty() ? report : tail + "-" + report);
    const size_t filesBefore = printer->documentFiles().size();
    std::string failure;
    try {
        PrintFrame frame(form, *printer);
        printout(frame);
    } catch (const RuntimeError& e) {
        failure = failureText(form, e);
        try {
            printer->EndDoc();  // releases what was printed
        } catch (const RuntimeError& endFailure) {
            failure += "\n" + failureText(form, endFailure);
        }
    }
    if (!failure.empty()) dialogs.MsgBox(failure, msgbox::kExclamation, kPrintTitle);
    const std::vector<std::string>& files = printer->documentFiles();
    if (files.size() > filesBefore)
        dialogs.MsgBox(filesText(files, filesBefore), msgbox::kInformation, kPrintTitle);
}

}  // namespace wb
