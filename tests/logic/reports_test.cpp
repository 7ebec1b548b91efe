// The printouts on the recording printer: letterhead, header rows, weighing
// table, equipment list, change sections, notes reflow and overflow, and what
// happens when the printer or the record database fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "logic/main_window_fixture.h"
#include "platform/numbers.h"
#include "platform/recording_printer.h"
#include "platform/sqlite/sqlite_engine.h"
#include "reports/print_frame.h"
#include "reports/reports.h"

namespace wb {
namespace {

using Log = std::vector<std::string>;

bool has(const Log& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

// The first line starting with prefix, or "" when none does.
std::string first(const Log& log, const std::string& prefix) {
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0) return line;
    return "";
}

long count(const Log& log, const std::string& prefix) {
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

// Whether some text line printed exactly this text.
bool printed(const Log& log, const std::string& text) {
    const std::string end = " \"" + text + "\"";
    return std::any_of(log.begin(), log.end(), [&](const std::string& l) {
        return l.rfind("text ", 0) == 0 && l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
    });
}

// Fails at the n-th text it is asked to draw.
class FailingPrinter : public RecordingPrinter {
public:
    int failAt = -1;

protected:
    void drawText(float x, float y, const Font& font, const std::string& text) override {
        if (failAt-- == 0) throw RuntimeError(kPrinterError, "Printer error: out of paper");
        RecordingPrinter::drawText(x, y, font, text);
    }
};

struct ReportsFixture : testing::MainWindowFixture {
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    std::string folder;
    FailingPrinter printer;
    Reports reports{f()};

    ReportsFixture() {
        char pattern[] = "/tmp/wb-reports-XXXXXX";
        folder = mkdtemp(pattern);
        services.printer = &printer;
        TableDef companyInfo{"CompanyInfo", {}, {}};
        for (const char* name : {"CompName", "CompAddress", "CompCSZ", "CompPhone", "FormTitle",
                                 "EquipTitle", "Mechanic", "Cert"})
            companyInfo.fields.push_back({name, FieldType::Text, 50});
        f().dbRecords = engine->CreateDatabase(folder + "/KORRIN.MDB", {companyInfo});
        addRow({{"CompName", "Shop"}, {"CompAddress", "1 Field Rd"}, {"CompCSZ", "Town"},
                {"CompPhone", "555"}, {"FormTitle", "Equipment Change"},
                {"EquipTitle", "Weight and Balance"}});
        reopen();
    }
    ~ReportsFixture() {
        f().rsCompanyInfo.reset();
        f().dbRecords.reset();
        std::filesystem::remove_all(folder);
    }

    void addRow(const std::vector<std::pair<std::string, Value>>& fields) {
        auto rs = f().dbRecords->CreateDynaset("CompanyInfo");
        rs->AddNew();
        for (const auto& [name, value] : fields) rs->setField(name, value);
        rs->Update();
    }
    void reopen() {
        f().rsCompanyInfo = f().dbRecords->CreateDynaset("CompanyInfo");
        f().rsCompanyInfo->MoveFirst();
    }
    void options(int co, int cg, int mech, int notes) {
        f().Check3D1.setValue(co);
        f().Check3D2.setValue(cg);
        f().Check3D3.setValue(mech);
        f().Check3D4.setValue(notes);
    }
    Log print(void (Reports::*printout)()) {
        printer.takeLog();
        (reports.*printout)();
        return printer.takeLog();
    }
};

TEST(WeighingReport, WithoutLetterheadTheHeaderRowsStandAt400To1030) {
    ReportsFixture t;
    t.options(0, 0, 0, 0);
    t.f().Text1.setText(" N123 ");
    t.f().Text3.setText("Cessna");
    t.f().Text4.setText("172");
    t.f().Command3D20.setCaption("Hobbs");
    Log log = t.print(&Reports::PrintWeighingReport);

    // "Weight and Balance": 18 characters in 12 points, centred.
    EXPECT_EQ(log.front(), "text 4680 100 \"Arial\" 12 bold \"Weight and Balance\"");
    EXPECT_TRUE(has(log, "text 100 400 \"Arial\" 11 \"Reg. Number:\""));
    EXPECT_TRUE(has(log, "text 1800 400 \"Arial\" 11 \"N123\""));
    EXPECT_TRUE(has(log, "text 8020 400 \"Arial\" 11 \"Date:\""));
    EXPECT_TRUE(has(log, "text 9920 400 \"Arial\" 11 \"03-09-2004\""));
    EXPECT_TRUE(has(log, "text 1800 610 \"Arial\" 11 \"Cessna  172\""));
    EXPECT_TRUE(has(log, "text 8020 610 \"Arial\" 11 \"Hobbs:\""));
    EXPECT_TRUE(has(log, "text 100 820 \"Arial\" 11 \"Year:\""));
    EXPECT_TRUE(has(log, "text 100 1030 \"Arial\" 11 \"Serial Number:\""));
    EXPECT_TRUE(has(log, "line 100 1400 11510 1400 4"));
    EXPECT_TRUE(has(log, "line 4100 1400 4100 2400 4"));
    // A zero new empty weight prints ".00", right-aligned to 4000.
    EXPECT_TRUE(has(log, "text 3670 1500 \"Arial\" 11 \".00\""));
    // No weighing: the equipment list starts 1000 below the results rule.
    EXPECT_TRUE(has(log, "box 100 2400 11510 8900 4"));
    EXPECT_EQ(first(log, "text 100 1400"), "");
    EXPECT_EQ(log.back(), "enddoc");
    EXPECT_EQ(count(log, "enddoc"), 1);
}

TEST(WeighingReport, LetterheadNameGapAndTwoHundredTwipSteps) {
    ReportsFixture t;
    t.options(1, 0, 0, 0);
    Log log = t.print(&Reports::PrintWeighingReport);
    // No "Reports" row: Arial 18 bold; "Shop" is 720 wide.
    EXPECT_EQ(log[0], "text 5400 50 \"Arial\" 18 bold \"Shop\"");
    // 18 x 23 + 50 = 464, then 200 apart.
    EXPECT_EQ(log[1], "text 5160 464 \"Arial\" 12 \"1 Field Rd\"");
    EXPECT_EQ(log[2], "text 5520 664 \"Arial\" 12 \"Town\"");
    EXPECT_EQ(log[3], "text 5580 864 \"Arial\" 12 \"555\"");
    // Row origin 864 + 400.
    EXPECT_EQ(first(log, "text 4680 "), "text 4680 1264 \"Arial\" 12 bold \"Weight and Balance\"");
    EXPECT_TRUE(has(log, "line 100 2564 11510 2564 4"));
}

TEST(WeighingReport, NullShopFieldsKeepTheSteps) {
    ReportsFixture t;
    t.f().dbRecords->DeleteRows("CompanyInfo", Criteria());
    t.addRow({{"CompCSZ", "Town"}});
    t.reopen();
    t.options(1, 0, 0, 0);
    Log log = t.print(&Reports::PrintWeighingReport);
    // No name: the position is not moved to 50 and the heading font stays.
    EXPECT_EQ(log[0], "text 5400 200 \"Arial\" 18 bold \"Town\"");
    // Row origin 400 + 400; no title without EquipTitle.
    EXPECT_EQ(log[1], "text 100 1100 \"Arial\" 11 \"Reg. Number:\"");
}

// The weight-and-balance letterhead converts the bold and italic columns to
// Booleans as the runtime does; the equipment-change report reads their
// leading number, so a spelled-out truth word is off there. A column that
// does not convert keeps its default (bold on, italic off).
TEST(Letterhead, FontFlagsAsBooleansOrLeadingNumbers) {
    struct Style {
        bool bold, italic;
    };
    const struct {
        const char* flag;  // in both CompPhone and FormTitle
        Style weighingReport;
        Style changeReport;
    } cases[] = {
        {"True", {true, true}, {false, false}},    {" tRUE ", {true, true}, {false, false}},
        {"False", {false, false}, {false, false}}, {"-1", {true, true}, {true, true}},
        {"0", {false, false}, {false, false}},     {"1", {true, true}, {true, true}},
        {"Yes", {true, false}, {false, false}},    {"No", {true, false}, {false, false}},
    };
    auto nameLine = [](Style s) {
        return std::string("text 5400 50 \"Arial\" 18") + (s.bold ? " bold" : "") +
               (s.italic ? " italic" : "") + " \"Shop\"";
    };
    for (const auto& c : cases) {
        ReportsFixture t;
        t.addRow({{"CompName", "Reports"}, {"CompAddress", "Arial"}, {"CompCSZ", "18"},
                  {"CompPhone", c.flag}, {"FormTitle", c.flag}});
        t.reopen();
        t.options(1, 0, 0, 0);
        EXPECT_EQ(t.print(&Reports::PrintWeighingReport)[0], nameLine(c.weighingReport)) << c.flag;
        EXPECT_EQ(t.print(&Reports::PrintEquipmentChangeReport)[0], nameLine(c.changeReport)) << c.flag;
        EXPECT_TRUE(t.dialogs.shown.empty()) << c.flag;
    }
}

TEST(EquipmentChangeReport, ReportsRowFontColumnByColumn) {
    ReportsFixture t;
    t.addRow({{"CompName", "Reports"}, {"CompAddress", ""}, {"CompCSZ", "20"},
              {"CompPhone", "0"}, {"FormTitle", "-1"}});
    t.reopen();
    t.options(1, 0, 0, 0);
    Log log = t.print(&Reports::PrintEquipmentChangeReport);
    // Empty name: Arial; bold "0": not bold; italic "-1" for the name only.
    EXPECT_EQ(log[0], "text 5360 50 \"Arial\" 20 italic \"Shop\"");
    // Name gap 150: 20 x 23 + 150.
    EXPECT_EQ(log[1], "text 5160 610 \"Arial\" 12 \"1 Field Rd\"");
    for (size_t i = 1; i < log.size(); ++i) EXPECT_EQ(log[i].find(" italic "), std::string::npos);
    // rsCompanyInfo is back on the shop row.
    EXPECT_EQ(t.f().rsCompanyInfo->field("CompName").toText(), "Shop");
}

TEST(WeighingReport, WeighingTableWithAZeroScaleAndANegativeFluid) {
    ReportsFixture t;
    t.options(0, 0, 0, 0);
    WorksheetState& ws = t.f().ws;
    ws.JackDesc[0] = "Right Main";
    ws.JackWeight[0] = "500";
    ws.JackArm[0] = "40";
    ws.JackDesc[1] = "Left Main";
    ws.JackWeight[1] = "0";
    ws.JackTare[1] = "12";
    ws.FluidDesc[0] = "Fuel";
    ws.FluidWeight[0] = "-30";
    ws.FluidArm[0] = "48";
    Log log = t.print(&Reports::PrintWeighingReport);  // the totals afresh: 500 + 30 - 12

    EXPECT_TRUE(has(log, "box 100 2400 11510 7300 4"));
    EXPECT_TRUE(has(log, "text 200 2430 \"Arial\" 11 \"Weight & Balance Calculation\""));
    EXPECT_TRUE(has(log, "text 200 2770 \"Arial\" 11 bold \"Scale locations\""));
    // 2770 + 253: the first scale row; tare 0 through "#####0.0".
    EXPECT_TRUE(has(log, "text 200 3023 \"Arial\" 11 \"Right Main\""));
    EXPECT_TRUE(has(log, "text 5170 3023 \"Arial\" 11 \"0.0\""));
    EXPECT_TRUE(has(log, "text 10430 3023 \"Arial\" 11 \"20000.0\""));
    EXPECT_FALSE(has(log, "text 200 3276 \"Arial\" 11 \"Left Main\""));
    // No fluid above 0: no heading; the fluid row follows, its weight positive.
    EXPECT_EQ(first(log, "text 200 4253"), "");
    EXPECT_EQ(count(log, "text 200 3276 \"Arial\" 11 \"Fuel\""), 1);
    EXPECT_TRUE(has(log, "text 6450 3276 \"Arial\" 11 \"30.00\""));
    EXPECT_TRUE(has(log, "text 10540 3276 \"Arial\" 11 \"1440.0\""));
    EXPECT_TRUE(has(log, "text 6340 7050 \"Arial\" 11 \"518.00\""));
    EXPECT_TRUE(has(log, "box 100 7500 11510 14000 4"));
}

TEST(WeighingReport, EquipmentListRowTopsInTwoHalves) {
    ReportsFixture t;
    t.options(0, 0, 0, 1);
    WorksheetState& ws = t.f().ws;
    ws.ListDesc[0] = "Radio";
    ws.ListWeight[0] = "3";
    ws.ListArm[0] = "10";
    ws.ListDesc[49] = "Strobe";
    ws.ListDesc[50] = "ELT";
    ws.ListWeight[50] = "n/a";
    Log log = t.print(&Reports::PrintWeighingReport);
    // EquipTop 2400: rows at 2750 + 110 i, size 6.
    EXPECT_TRUE(has(log, "text 200 2750 \"Arial\" 6 \"Radio\""));
    EXPECT_TRUE(has(log, "text 3560 2750 \"Arial\" 6 \"3.00\""));
    EXPECT_TRUE(has(log, "text 5465 2750 \"Arial\" 6 \"30.0\""));
    EXPECT_TRUE(has(log, "text 200 8140 \"Arial\" 6 \"Strobe\""));
    EXPECT_TRUE(has(log, "text 5905 2750 \"Arial\" 6 \"ELT\""));
    EXPECT_TRUE(has(log, "text 9325 2750 \"Arial\" 6 \"n/a\""));
    EXPECT_EQ(count(log, "text 200 "), 50 + 1);  // and the "Equipment" heading
    // Empty notes: one empty line at EquipTop + 6800, size 8.
    EXPECT_TRUE(has(log, "text 100 9200 \"Arial\" 8 \"\""));
}

TEST(LogbookEntry, OneRemovedNoneInstalled) {
    ReportsFixture t;
    t.options(0, 0, 0, 0);
    WorksheetState& ws = t.f().ws;
    ws.ChangeDesc[3] = "Wheel pants";
    ws.ChangeWeight[3] = "12";
    ws.ChangeArm[3] = "50";
    ws.ChangeMoment[3] = "600";
    ws.ChangeRemoved[3] = "X";
    ws.ChangeInstalled[4] = "x";  // not exactly "X"
    ws.ChangeDesc[4] = "Tow bar";
    Log log = t.print(&Reports::PrintLogbookEntry);
    // Title at the right edge on Y 100, Arial 8 bold.
    EXPECT_EQ(log[0], "text 10240 100 \"Arial\" 8 bold \"Equipment Change\"");
    EXPECT_EQ(log[1], "text 100 284 \"Arial\" 8 \"Reg. Number: \"");
    // Title and two header lines of 184: ResultsTop 652, BoxTop 652 + 400 + 184.
    EXPECT_TRUE(has(log, "line 100 652 11400 652 4"));
    const float boxTop = 1236;
    EXPECT_TRUE(has(log, "box 100 1236 11510 7360 4"));
    auto at = [&](float dy) { return std::to_string(static_cast<int>(boxTop + dy)); };
    EXPECT_TRUE(has(log, "text 200 " + at(200) + " \"Arial\" 8 \"Previous Aircraft Empty\""));
    EXPECT_TRUE(has(log, "text 200 " + at(400) + " \"Arial\" 8 bold \"Removed\""));
    EXPECT_TRUE(has(log, "text 200 " + at(550) + " \"Arial\" 8 \"Wheel pants\""));
    EXPECT_TRUE(has(log, "text 11100 " + at(550) + " \"Arial\" 8 \"X\""));
    EXPECT_TRUE(has(log, "text 200 " + at(850) + " \"Arial\" 8 bold \"Installed\""));
    EXPECT_FALSE(has(log, "text 200 " + at(1000) + " \"Arial\" 8 \"Tow bar\""));
    // The values row takes the bold left by the "Installed" heading; its
    // totals are computed afresh: 12 removed from nothing.
    EXPECT_TRUE(has(log, "text 6520 7160 \"Arial\" 8 bold \"-12.00\""));
}

TEST(LogbookEntry, CompanyLineClosesUpNullFields) {
    ReportsFixture t;
    t.f().dbRecords->DeleteRows("CompanyInfo", Criteria());
    t.addRow({{"CompName", "Shop"}, {"CompPhone", "555"}, {"FormTitle", "Entry"}});
    t.reopen();
    t.options(1, 0, 0, 0);
    Log log = t.print(&Reports::PrintLogbookEntry);
    EXPECT_EQ(log[0], "text 100 50 \"Arial\" 8 bold \"Shop  \"");
    EXPECT_EQ(log[1], "text 580 50 \"Arial\" 8 \"555              \"");
    EXPECT_EQ(log[2], "text 11120 50 \"Arial\" 8 bold \"Entry\"");
}

TEST(EquipmentChangeReport, NewValuesMomentIsCgTimesWeight) {
    ReportsFixture t;
    t.options(0, 1, 1, 0);
    // Previous empty 1500.5 at 512.0154: the new empty moment is 768279.125,
    // the single product of the CG and the weight 768279.1875.
    WorksheetState& ws = t.f().ws;
    t.f().Text9.setText("1500.5");
    t.f().Text10.setText("512.0154");
    ws.ChangeDesc[0] = "Previous A/C Empty";
    ws.ChangeWeight[0] = "1500.5";
    ws.ChangeArm[0] = "512.0154";
    t.f().Text6.setText("Jo");
    t.f().Text22.setText("A&P 1");
    Log log = t.print(&Reports::PrintEquipmentChangeReport);
    EXPECT_EQ(t.f().Text27.text(), "768279.1");  // not what the row prints
    const std::string moment = formatMask(ws.NewEmptyCG * ws.NewEmptyWeight, "######.0");
    EXPECT_EQ(moment, "768279.2");
    EXPECT_TRUE(has(log, "text 9320 12685 \"Arial\" 11 bold \"768279.2\""));
    // With the CG ranges the column headings print in 12 points.
    EXPECT_TRUE(has(log, "text 1200 2430 \"Arial\" 12 \"Description\""));
    EXPECT_TRUE(has(log, "text 8500 13500 \"Arial\" 8 bold \"Jo,  A&P 1\""));
    EXPECT_TRUE(has(log, "line 8500 13500 11410 13500 4"));
}

TEST(NotesBlock, OverflowEndsTheDocumentAndGoesOnAt2000) {
    ReportsFixture t;
    t.options(0, 0, 0, 1);
    std::string notes;
    for (int i = 0; i < 20; ++i) notes += "Line " + std::to_string(i) + "\r\n";
    notes += "last";
    t.f().Text13.setText(notes);
    const int width = t.f().Text13.width();
    const Font font = t.f().Text13.font();
    Log log = t.print(&Reports::PrintEquipmentChangeReport);
    // Lines of 8 x 23 = 184 from 13000: line 12 would start at 15208 >= 15120.
    // Bold, as the "Installed" heading left it.
    auto firstDoc = std::find(log.begin(), log.end(), "enddoc");
    ASSERT_NE(firstDoc, log.end());
    EXPECT_EQ(*(firstDoc - 1), "text 100 15024 \"Arial\" 8 bold \"Line 11\"");
    EXPECT_EQ(*(firstDoc + 1), "text 100 2000 \"Arial\" 8 bold \"Line 12\"");
    EXPECT_EQ(log.back(), "enddoc");
    EXPECT_EQ(count(log, "enddoc"), 2);
    EXPECT_EQ(t.f().Text13.width(), width);
    EXPECT_EQ(t.f().Text13.font(), font);
    EXPECT_EQ(t.f().ws.LineBufferLen, 160);
    EXPECT_EQ(t.f().ws.LineBuffer, "last");
}

// The notes box's design font is MS Sans Serif 8.25 bold; a printout lends
// the box the printer's font and gives exactly that font back.
TEST(NotesBlock, TheNotesBoxIsBoldAndGetsItsFontBackAfterAPrintout) {
    ReportsFixture t;
    const Font design{"MS Sans Serif", 8.25, true, false};
    EXPECT_EQ(t.f().Text13.font(), design);
    t.options(1, 1, 1, 1);
    t.f().Text13.setText("Some notes");
    for (auto printout : {&Reports::PrintWeighingReport, &Reports::PrintLogbookEntry,
                          &Reports::PrintEquipmentChangeReport}) {
        t.print(printout);
        EXPECT_EQ(t.f().Text13.font(), design);
    }
}

TEST(NotesBlock, TheBoxWrapsAtThePrintWidthAndTheBufferCutsLines) {
    ReportsFixture t;
    PrintFrame frame(t.f(), t.printer);
    TextBox& box = t.f().Text13;
    box.setText(std::string(30, 'a') + " bb\r\ncc");
    box.setFont({"Arial", 6, false, false});
    box.setWidth(1000);  // 16 characters of 60
    EXPECT_EQ(frame.GetTextBoxLineCount(box), 4);
    t.f().ws.LineBufferLen = 10;
    EXPECT_EQ(frame.GetTextBoxLine(0, box), std::string(10, 'a'));
    EXPECT_EQ(t.f().ws.LineBuffer, std::string(10, 'a'));
    EXPECT_EQ(frame.GetTextBoxLine(1, box), std::string(10, 'a'));
    t.f().ws.LineBufferLen = 200;
    EXPECT_EQ(frame.GetTextBoxLine(1, box), std::string(14, 'a') + " ");
    EXPECT_EQ(t.f().ws.LineBuffer.size(), 200u);
    EXPECT_EQ(frame.GetTextBoxLine(2, box), "bb");
    EXPECT_EQ(frame.GetTextBoxLine(3, box), "cc");
}

// A worksheet whose totals cannot be computed prints nothing; the user is told
// why. Each printout computes the totals afresh, so none prints a stale one.
TEST(Printouts, PrintNothingWhenTheTotalsOverflowAndNothingStale) {
    for (auto printout : {&Reports::PrintWeighingReport, &Reports::PrintLogbookEntry,
                          &Reports::PrintEquipmentChangeReport}) {
        ReportsFixture t;
        t.options(1, 1, 1, 1);
        WorksheetState& ws = t.f().ws;
        ws.JackWeight[1] = "1000000000000000000000";
        ws.JackArm[1] = "1000000000000000000000";
        t.dialogs.shown.clear();
        EXPECT_TRUE(t.print(printout).empty());
        ASSERT_EQ(t.dialogs.shown.size(), 1u);
        EXPECT_EQ(t.dialogs.shown[0].title, "Not printed: totals too large (weighing points, row 2)");
        EXPECT_EQ(t.dialogs.shown[0].text, "Press OK to continue");
        EXPECT_EQ(t.dialogs.shown[0].style, msgbox::kInformation);
        EXPECT_EQ(t.f().Text23.text(), "");

        // Corrected, but the totals left stale (a Delete in the weighing
        // points does not recalculate): the printout weighs what is there.
        ws.JackWeight[1] = "700";
        ws.JackArm[1] = "40";
        t.f().Text23.setText("999.00");
        ws.NewEmptyWeight = ws.WeighedWeight = 999;
        t.f().Text11.setText("2000");
        const Log log = t.print(printout);
        EXPECT_TRUE(printed(log, "700.00"));   // the new empty weight
        EXPECT_TRUE(printed(log, "1300.00"));  // the useful load
        EXPECT_FALSE(printed(log, "999.00"));
        EXPECT_EQ(t.f().Text23.text(), "700.00");
        EXPECT_EQ(ws.NewEmptyWeight, 700);
        EXPECT_EQ(t.dialogs.shown.size(), 1u);
    }
}

TEST(Printouts, ChangeNoWorksheetStateAndLeaveDrawWidthThin) {
    ReportsFixture t;
    t.options(1, 1, 1, 1);
    t.f().Text13.setText("Some notes");
    t.f().ws.ChangeDesc[1] = "Battery";  // totals as the worksheet gives them
    t.f().ws.ChangeWeight[1] = "10";
    t.f().ws.ChangeInstalled[1] = "X";
    t.f().RecalcWeightAndBalance();
    t.f().ws.SavedState = 1;
    const WorksheetState before = t.f().ws;
    for (auto printout : {&Reports::PrintWeighingReport, &Reports::PrintLogbookEntry,
                          &Reports::PrintEquipmentChangeReport}) {
        Log log = t.print(printout);
        EXPECT_EQ(log.back(), "enddoc");
        EXPECT_EQ(t.printer.drawWidth(), 1);
        EXPECT_FALSE(t.printer.fontItalic());
    }
    EXPECT_EQ(t.f().ws.SavedState, 1);
    EXPECT_EQ(t.f().ws.NewEmptyWeight, 10);
    EXPECT_EQ(t.f().ws.NewEmptyWeight, before.NewEmptyWeight);
    EXPECT_EQ(t.f().ws.ChangeDesc, before.ChangeDesc);
    EXPECT_EQ(t.f().Text13.text(), "Some notes");
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(Printouts, APrinterErrorEndsTheDocumentRestoresTheNotesBoxAndTellsTheUser) {
    ReportsFixture t;
    t.options(0, 0, 0, 1);
    t.f().Text13.setText("one\r\ntwo\r\nthree");
    const int width = t.f().Text13.width();
    const Font font = t.f().Text13.font();
    t.printer.takeLog();
    Log whole = t.print(&Reports::PrintWeighingReport);
    // Fails at the second of the three notes lines.
    t.printer.failAt = static_cast<int>(count(whole, "text ")) - 2;
    Log log = t.print(&Reports::PrintWeighingReport);
    EXPECT_EQ(*(log.end() - 2), "text 100 9200 \"Arial\" 8 \"one\"");
    EXPECT_EQ(log.back(), "enddoc");
    EXPECT_EQ(count(log, "enddoc"), 1);
    EXPECT_EQ(t.f().Text13.width(), width);
    EXPECT_EQ(t.f().Text13.font(), font);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Printing");
    EXPECT_NE(t.dialogs.shown[0].text.find("out of paper"), std::string::npos);
    EXPECT_EQ(t.endings, 0);
}

TEST(Printouts, WithoutARecordDatabaseTheUserIsTold) {
    ReportsFixture t;
    t.f().rsCompanyInfo.reset();
    for (auto printout : {&Reports::PrintWeighingReport, &Reports::PrintLogbookEntry,
                          &Reports::PrintEquipmentChangeReport}) {
        Log log = t.print(printout);
        EXPECT_EQ(log.back(), "enddoc");
    }
    ASSERT_EQ(t.dialogs.shown.size(), 3u);
    EXPECT_NE(t.dialogs.shown[0].text.find("no record database is open"), std::string::npos);
    EXPECT_EQ(t.endings, 0);
}

TEST(Printouts, NoPrinterAtAll) {
    ReportsFixture t;
    t.services.printer = nullptr;
    t.reports.PrintLogbookEntry();
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].text, "No printer is available.");
}

TEST(Masks, NumbersAndNumericTextFormatOtherTextStays) {
    const struct {
        Value v;
        const char* mask;
        const char* out;
    } cases[] = {
        {Value(0), "######.00", ".00"},   {Value("12.345"), "#####0.00", "12.35"},
        {Value(""), "#####0.00", ""},     {Value("12 kg"), "#####0.00", "12 kg"},
        {Value::null(), "######.0", ""},  {Value::single(1.005f), "#####0.00", "1.00"},
        {Value::single(999999919882240.0f), "######.0", "999999919882240.0"},
        {Value("-3"), "#####0.0", "-3.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(masked(c.v, c.mask), c.out) << c.v.displayText();
}

}  // namespace
}  // namespace wb
