// Next and Previous: the search steps of an example, the end messages, the
// search by example through the engine (quotes and dates that are not dates
// included), and browsing on after a search-mode save deleted the shown row.
#include <gtest/gtest.h>

#include "logic/save_fixture.h"
#include "records/browse.h"

namespace wb {
namespace {

using testing::SaveFixture;

TEST(SearchSteps, OneStepPerFilledBoxInTheBoxesOrder) {
    SearchExample example{};
    EXPECT_TRUE(searchSteps(example).empty());

    // Text1, Text2, Text3, Text4, Text5, Text6, Text22, Text12, Text7.
    example = {"N1", "", "Ce\"ss", "", "", "Ann", "", "W*", "3/9/2004"};
    const std::vector<SearchStep> steps = searchSteps(example);
    ASSERT_EQ(steps.size(), 5u);
    const char* texts[] = {"Tail  Like \"N1*\"", "Make Like \"Ce\"ss*\"", "By Like \"Ann*\"", "Work Like \"W**\"",
                           "Date = #3/9/2004#"};
    const char* fields[] = {"Tail", "Make", "By", "Work", "Date"};
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].filterText, texts[i]);
        ASSERT_EQ(steps[i].criterion.terms().size(), 1u);
        const Condition& c = steps[i].criterion.terms()[0];
        EXPECT_EQ(c.field, fields[i]);
        EXPECT_EQ(c.op, i == 4 ? Compare::Equal : Compare::Like);
    }
    EXPECT_EQ(steps[1].criterion.terms()[0].value.toText(), "Ce\"ss*");
}

struct BrowseFixture : SaveFixture {
    // Saves a worksheet as a new weighing, then starts a new record.
    void store(const std::string& tail, const std::string& make, const std::string& date) {
        f().NewRecord();
        fillWorksheet(tail, make, date);
        save();
        f().NewRecord();
    }
    void next() { w.click(f().Command3D16); }
    void previous() { w.click(f().Command3D17); }
    // New (answered Yes when it asks), then `text` in `box` as the only example.
    void example(TextBox& box, const std::string& text) {
        if (f().ws.SavedState == 0) w.dialogs.answers.push_back(msgbox::kYes);
        w.click(f().Command3D19);
        for (TextBox* b : {&f().Text6, &f().Text7, &f().Text22}) b->setText("");
        box.setText(text);
    }
    std::string lastTitle() const { return w.dialogs.shown.empty() ? "" : w.dialogs.shown.back().title; }
};

TEST(Browse, AnEmptyTableAtStartUpHasNoRecordsThisDirection) {
    BrowseFixture b;
    b.next();
    EXPECT_EQ(b.lastTitle(), "No records this direction.");
    EXPECT_EQ(b.w.dialogs.shown.back().style, msgbox::kInformation);
    EXPECT_EQ(b.f().ws.NewRecordMode, 1);
    EXPECT_EQ(b.f().ws.SearchActive, 0);
    EXPECT_EQ(b.f().ws.MoveDirection, 0);
}

TEST(Browse, AllBoxesEmptyBrowsesTheWholeSetFromEitherEnd) {
    BrowseFixture b;
    b.store("N2", "Piper", "02-01-2004");
    b.store("N1", "Cessna", "01-01-2004");
    b.example(b.f().Text1, "");
    b.next();
    EXPECT_EQ(b.f().ws.SearchActive, 0);
    EXPECT_EQ(b.f().ws.NewRecordMode, 0);
    EXPECT_EQ(b.f().Text1.text(), "N1");
    EXPECT_EQ(b.f().ws.BrowseStarted, 1);
    b.example(b.f().Text1, "");
    b.previous();
    EXPECT_EQ(b.f().Text1.text(), "N2");
    b.previous();
    EXPECT_EQ(b.f().Text1.text(), "N1");
}

TEST(Browse, TypedQuotesAndDatesThatAreNoDatesAreValuesNotBrokenFilters) {
    BrowseFixture b;
    b.store("N1", "Ce\"ss", "03-09-2004");
    b.store("N2", "Cessna", "03-09-2004");

    b.example(b.f().Text3, "ce\"");
    b.next();
    EXPECT_EQ(b.f().ws.SearchActive, 1);
    EXPECT_EQ(b.f().Text1.text(), "N1");
    b.next();
    EXPECT_EQ(b.f().Text1.text(), "N1");  // past the end: the example stays
    EXPECT_EQ(b.f().Text9.text(), "");

    for (const char* notADate : {"13-45-2004", "yesterday", "3/9/2004\"", "#3/9/2004#"}) {
        SCOPED_TRACE(notADate);
        b.example(b.f().Text7, notADate);
        b.w.dialogs.shown.clear();
        b.next();
        ASSERT_EQ(b.w.dialogs.shown.size(), 1u);
        EXPECT_EQ(b.lastTitle(), "Search Result");
        EXPECT_EQ(b.w.dialogs.shown.back().text, "No matches found");
        EXPECT_EQ(b.w.dialogs.shown.back().style, msgbox::kOkOnly);
        EXPECT_EQ(b.f().ws.SearchActive, 0);
        EXPECT_EQ(b.f().ws.NewRecordMode, 0);
        EXPECT_EQ(b.f().ws.SavedState, 1);
        EXPECT_EQ(b.f().Text7.text(), notADate);
    }
    // The other form of a date finds the same weighings.
    b.example(b.f().Text7, "3/9/2004");
    b.next();
    EXPECT_EQ(b.f().Text1.text(), "N1");
    EXPECT_EQ(b.f().containedFailures(), 0);
}

TEST(Browse, BrowsingGoesOnPastTheRowsASearchModeSaveDeleted) {
    BrowseFixture b;
    Form1& f = b.f();
    b.store("N1", "Cessna", "01-01-2004");
    b.store("N2", "Cessna", "02-01-2004");
    b.store("N3", "Cessna", "03-01-2004");

    b.example(f.Text3, "Cessna");
    b.next();
    ASSERT_EQ(f.Text1.text(), "N1");
    f.Text4.setText("172");
    b.save();  // replaces N1: the shown row goes, the new one is added at the set's end
    b.save();  // again, without a move
    b.next();
    EXPECT_EQ(f.Text1.text(), "N2");
    b.previous();
    EXPECT_EQ(f.Text9.text(), "");  // before the first row: N1's old row is gone
    EXPECT_TRUE(f.rsFound->IsBOF());
    b.next();
    EXPECT_EQ(f.Text1.text(), "N2");
    b.next();
    b.next();
    EXPECT_EQ(f.Text1.text(), "N1");  // the replacement, at the end of the set
    EXPECT_EQ(f.Text4.text(), "172");

    // Deleting the shown record: tail "0" in search mode.
    b.previous();
    ASSERT_EQ(f.Text1.text(), "N3");
    f.Text1.setText("0");
    b.save();
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.ws.SearchActive, 0);
    EXPECT_EQ(b.weighings({"Tail"}), std::vector<std::string>({"N2", "N1"}));
    b.example(f.Text1, "");
    b.next();
    EXPECT_EQ(f.Text1.text(), "N1");  // 01-01-2004 is first by date
    b.next();
    EXPECT_EQ(f.Text1.text(), "N2");
    b.next();
    EXPECT_EQ(f.Text1.text(), "");
    EXPECT_EQ(f.containedFailures(), 0);
}

}  // namespace
}  // namespace wb
