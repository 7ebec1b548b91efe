// Save asks before a worksheet replaces a stored weighing other than the one
// on screen: No stores nothing, Yes replaces; the weighing on screen saved
// under its own key is not asked about.
#include <gtest/gtest.h>

#include "logic/save_fixture.h"
#include "platform/dates.h"

namespace wb {
namespace {

using testing::SaveFixture;
using Rows = std::vector<std::string>;

constexpr const char* kTitle = "Weighing already stored";

// Stores a weighing through a new record, without a question.
void storeNew(SaveFixture& s, const std::string& tail, const std::string& make,
              const std::string& date = "03-09-2004") {
    s.storeNew(tail, make, date);
    ASSERT_TRUE(s.w.dialogs.shown.empty());
}

// Clicks Save with `answer` ready; true when the question was asked.
bool saveAnswering(SaveFixture& s, int answer) {
    s.w.dialogs.shown.clear();
    s.w.dialogs.answers = {answer};
    // The question names the weighing of the typed key.
    const std::string name = s.f().Text1.text() + " of " + formatMmDdYyyy(*parseDate(s.f().Text7.text()));
    s.save();
    const bool asked = !s.w.dialogs.shown.empty() && s.w.dialogs.shown[0].title == kTitle;
    if (asked) {
        EXPECT_EQ(s.w.dialogs.shown[0].text, name + " is already stored. Replace it with the worksheet on screen?");
        EXPECT_EQ(s.w.dialogs.shown[0].style, 292);
    }
    s.w.dialogs.answers.clear();
    return asked;
}

TEST(SaveQuestion, ANewWorksheetUnderAStoredKeyIsAskedAboutAndNoStoresNothing) {
    SaveFixture s;
    Form1& f = s.f();
    storeNew(s, "N1", "Stored");
    const Rows equipmentBefore = s.equipment("N1");

    // The key as the database compares it: another case, the other date form.
    s.fillWorksheet("n1", "Typed", "3/9/2004");
    f.ws.ChangeDesc[1] = std::string(30, 'x');  // its notice would follow the question
    ASSERT_EQ(f.ws.SavedState, 0);
    EXPECT_TRUE(saveAnswering(s, msgbox::kNo));
    EXPECT_EQ(s.w.dialogs.shown.size(), 1u);  // nothing after No
    EXPECT_EQ(s.weighings(), Rows({"N1|2004-03-09|Stored"}));
    EXPECT_EQ(s.equipment("N1"), equipmentBefore);
    EXPECT_EQ(f.ws.SavedState, 0);
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    EXPECT_EQ(f.mousePointer(), pointer::kDefault);
    s.w.form->userFocus(f.Text1);  // leaving the button does not mark it saved
    EXPECT_EQ(f.ws.SavedState, 0);

    // The unanswered question takes its default, No.
    s.w.dialogs.shown.clear();
    s.save();
    ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.weighings(), Rows({"N1|2004-03-09|Stored"}));

    f.ws.ChangeDesc[1] = "Radio Typed";
    EXPECT_TRUE(saveAnswering(s, msgbox::kYes));
    EXPECT_EQ(s.w.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.weighings(), Rows({"n1|2004-03-09|Typed"}));
    EXPECT_EQ(s.equipment("N1")[1], "1|Radio Typed||3|0|True|False");
    EXPECT_EQ(f.ws.SavedState, 1);
    EXPECT_EQ(f.ws.NewRecordMode, 0);

    // Now the weighing on screen: saved again under its key without a question.
    f.Text3.setText("Again");
    EXPECT_FALSE(saveAnswering(s, msgbox::kNo));
    EXPECT_EQ(s.weighings(), Rows({"n1|2004-03-09|Again"}));
}

TEST(SaveQuestion, OnlyAKeyOfAnotherStoredWeighingIsAskedAbout) {
    struct Case {
        const char* what;
        bool searchMode;
        const char* tail;  // typed over the shown N1
        const char* date;
        bool asked;
    };
    const Case cases[] = {
        {"browsed, own key", false, "N1", "03-09-2004", false},
        {"browsed, own key in the other date form", false, "N1", "3/9/2004", false},
        {"browsed, tail of another", false, "N2", "03-09-2004", true},
        {"browsed, date of another", false, "N1", "03-10-2004", true},
        {"browsed, a free key", false, "N3", "03-09-2004", false},
        {"found, own key", true, "N1", "03-09-2004", false},
        {"found, tail of another", true, "N2", "03-09-2004", true},
        {"found, a free key", true, "N3", "03-09-2004", false},
        {"browsed, tail 0 deletes", false, "0", "03-09-2004", false},
        {"found, tail 0 deletes", true, "0", "03-09-2004", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SaveFixture s;
        storeNew(s, "N1", "One");
        storeNew(s, "N1", "Later", "03-10-2004");
        storeNew(s, "N2", "Two");
        s.showStored(c.searchMode, "N1", "One");
        s.f().Text1.setText(c.tail);
        s.f().Text7.setText(c.date);
        const Rows before = s.weighings();
        EXPECT_EQ(saveAnswering(s, msgbox::kNo), c.asked);
        if (c.asked) {
            EXPECT_EQ(s.weighings(), before);
            EXPECT_EQ(s.w.dialogs.shown.size(), 1u);
        } else {
            EXPECT_TRUE(s.w.dialogs.shown.empty());
        }
    }
}

// After a save the worksheet is the weighing it stored: saving it again asks
// nothing, and typing back the key of the row it was shown from asks.
TEST(SaveQuestion, TheWeighingOnScreenIsTheOneTheLastSaveStored) {
    for (const bool searchMode : {false, true}) {
        SCOPED_TRACE(searchMode ? "found" : "browsed");
        SaveFixture s;
        Form1& f = s.f();
        storeNew(s, "N1", "One");
        s.showStored(searchMode, "N1", "One");
        f.Text7.setText("03-11-2004");  // a free key
        EXPECT_FALSE(saveAnswering(s, msgbox::kNo));
        f.Text3.setText("Moved");
        EXPECT_FALSE(saveAnswering(s, msgbox::kNo));
        const Rows stored = s.weighings();
        EXPECT_EQ(stored.back(), "N1|2004-03-11|Moved");

        // Normal mode kept the row it was shown from: its key now names another.
        f.Text7.setText("03-09-2004");
        EXPECT_EQ(saveAnswering(s, msgbox::kNo), !searchMode);
        if (!searchMode) {
            EXPECT_EQ(s.weighings(), stored);
        }
    }
}

}  // namespace
}  // namespace wb
