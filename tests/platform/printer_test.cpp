#include <gtest/gtest.h>

#include "platform/recording_printer.h"

using namespace wb;

namespace {

std::vector<std::string> lines(std::initializer_list<const char*> l) {
    return std::vector<std::string>(l.begin(), l.end());
}

}  // namespace

TEST(RecordingPrinter, StartsAsALetterPageInArial10) {
    RecordingPrinter p;
    EXPECT_EQ(p.scaleMode(), 1);
    EXPECT_EQ(p.scaleTop(), 0);
    EXPECT_EQ(p.scaleWidth(), 11520);
    EXPECT_EQ(p.scaleHeight(), 15120);
    EXPECT_EQ(p.fontName(), "Arial");
    EXPECT_EQ(p.fontSize(), 10);
    EXPECT_FALSE(p.fontBold());
    EXPECT_FALSE(p.fontItalic());
    EXPECT_EQ(p.drawWidth(), 1);
    EXPECT_EQ(p.currentX(), 0);
    EXPECT_EQ(p.currentY(), 0);
}

TEST(RecordingPrinter, FixedMetricsFollowTheFontSize) {
    RecordingPrinter p;
    EXPECT_EQ(p.TextWidth("Weight"), 600);
    EXPECT_EQ(p.TextHeight("Weight"), 230);
    EXPECT_EQ(p.TextWidth(""), 0);
    EXPECT_EQ(p.TextWidth("Ærø €✓"), 600);  // characters, not bytes
    EXPECT_EQ(p.TextHeight(""), 230);
    p.setFontSize(8.25f);
    EXPECT_EQ(p.TextWidth("abcd"), 330);
    EXPECT_FLOAT_EQ(p.TextHeight("x"), 189.75f);
}

TEST(RecordingPrinter, SameLineItemsRunOnAndALineEndingItemReturnsToTheLeft) {
    RecordingPrinter p;
    p.setCurrentX(100);
    p.setCurrentY(500);
    p.PrintSameLine("Tail:");
    EXPECT_EQ(p.currentX(), 600);
    EXPECT_EQ(p.currentY(), 500);
    p.PrintSameLine(",  ");
    EXPECT_EQ(p.currentX(), 900);
    p.Print("N12AB");
    EXPECT_EQ(p.currentX(), 0);
    EXPECT_EQ(p.currentY(), 730);
    p.Print();  // an empty line only moves down
    EXPECT_EQ(p.currentY(), 960);
    EXPECT_EQ(p.takeLog(), lines({
                               R"(text 100 500 "Arial" 10 "Tail:")",
                               R"(text 600 500 "Arial" 10 ",  ")",
                               R"(text 900 500 "Arial" 10 "N12AB")",
                               R"(text 0 730 "Arial" 10 "")",
                           }));
}

TEST(RecordingPrinter, LineHeightIsThatOfTheFontInForce) {
    RecordingPrinter p;
    p.setFontSize(12);
    p.Print("a");
    EXPECT_EQ(p.currentY(), 276);
    p.setFontSize(6);
    p.Print("b");
    EXPECT_EQ(p.currentY(), 414);
}

TEST(RecordingPrinter, LogsFontFlagsNumbersAndEscapes) {
    RecordingPrinter p;
    p.setFontName("Times New Roman");
    p.setFontSize(10.5f);
    p.setFontBold(true);
    p.setFontItalic(true);
    p.setCurrentX((11520 - p.TextWidth("Co")) / 2);
    p.setCurrentY(50);
    p.PrintSameLine(R"(say "hi" \ bye)");
    p.setFontBold(false);
    p.setCurrentX(0.5f);
    p.setCurrentY(-0.0f);
    p.PrintSameLine("x");
    EXPECT_EQ(p.takeLog(),
              lines({
                  R"(text 5655 50 "Times New Roman" 10.5 bold italic "say \"hi\" \\ bye")",
                  R"(text 0.5 0 "Times New Roman" 10.5 italic "x")",
              }));
}

TEST(RecordingPrinter, LinesBoxesAndEndDoc) {
    RecordingPrinter p;
    p.setDrawWidth(4);
    p.Line(100, 1450.5f, 11510, 1450.5f);
    p.setDrawWidth(1);
    p.Box(100, 7500, 11510, 14000);
    p.EndDoc();
    EXPECT_EQ(p.takeLog(), lines({
                               "line 100 1450.5 11510 1450.5 4",
                               "box 100 7500 11510 14000 1",
                               "enddoc",
                           }));
    EXPECT_TRUE(p.takeLog().empty());
}

TEST(RecordingPrinter, KeepsFontAndWidthAcrossDocumentsButStartsAtTheTopLeft) {
    RecordingPrinter p;
    p.setFontName("Courier New");
    p.setFontSize(8);
    p.setFontBold(true);
    p.setDrawWidth(4);
    p.setCurrentX(300);
    p.setCurrentY(9000);
    p.EndDoc();
    EXPECT_EQ(p.fontName(), "Courier New");
    EXPECT_EQ(p.fontSize(), 8);
    EXPECT_TRUE(p.fontBold());
    EXPECT_EQ(p.drawWidth(), 4);
    EXPECT_EQ(p.currentX(), 0);
    EXPECT_EQ(p.currentY(), 0);
    p.PrintSameLine("a");
    EXPECT_EQ(p.takeLog(), lines({"enddoc", R"(text 0 0 "Courier New" 8 bold "a")"}));
}

TEST(RecordingPrinter, RejectsUnsupportedSettingsWithoutChangingState) {
    RecordingPrinter p;
    struct Case {
        const char* what;
        std::function<void()> set;
    };
    for (const Case& c : std::vector<Case>{
             {"scale mode 3", [&] { p.setScaleMode(3); }},
             {"font size 0", [&] { p.setFontSize(0); }},
             {"font size -2", [&] { p.setFontSize(-2); }},
             {"draw width 0", [&] { p.setDrawWidth(0); }},
         }) {
        try {
            c.set();
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), kInvalidCall) << c.what;
        }
    }
    EXPECT_EQ(p.scaleMode(), 1);
    EXPECT_EQ(p.fontSize(), 10);
    EXPECT_EQ(p.drawWidth(), 1);
    p.setScaleMode(1);
}
