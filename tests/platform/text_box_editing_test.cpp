// A text box's editing as the system's edit boxes do it: selection, the
// clipboard, undo, moving between lines, and the focus from the keyboard.
#include <gtest/gtest.h>

#include <functional>

#include "platform/controls/text_box.h"
#include "platform/controls/text_units.h"
#include "platform/form.h"

namespace wb {
namespace {

constexpr int kShift = keys::kShiftMask, kCtrl = keys::kCtrlMask;

class EditingTest : public ::testing::Test {
protected:
    EditingTest() {
        form.setVisible(true);
        box.move(0, 0, 2000, 255);
        box.Change = [this] { changes.push_back(box.text()); };
        box.KeyPress = [this](int& k) {
            ++keyPresses;
            if (k >= 'a' && k <= 'z') k -= 32;  // as the tail number does
        };
    }
    void type(const std::string& s) {
        for (unsigned char ch : s) form.userKeyPress(box, ch);
    }
    void press(int keyCode, int shift = 0) { form.userKeyDown(box, keyCode, shift); }
    void paste(const std::string& s) {
        form.clipboard().setText(s);
        press('V', kCtrl);
    }
    void set(const std::string& text, int anchor, int caret) {
        box.setText(text);
        box.select(anchor, caret);
        changes.clear();
    }
    Form form{"Form1"};
    TextBox box{form, "Text1"};
    std::vector<std::string> changes;
    int keyPresses = 0;
};

TEST_F(EditingTest, ShiftWithTheArrowsHomeAndEndSelectsFromTheAnchor) {
    set("N12ABC", 3, 3);
    press(keys::kLeft, kShift);
    press(keys::kLeft, kShift);
    EXPECT_EQ(box.selStart(), 1);
    EXPECT_EQ(box.selLength(), 2);
    EXPECT_EQ(box.caret(), 1);
    press(keys::kEnd, kShift);  // the anchor stays at 3
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 3);
    EXPECT_EQ(box.selText(), "ABC");
    press(keys::kHome, kShift);
    EXPECT_EQ(box.selText(), "N12");
    press(keys::kRight);  // an arrow without Shift ends the selection at its side
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 0);
    press(keys::kRight, kCtrl | kShift);
    EXPECT_EQ(box.selText(), "ABC");
}

TEST_F(EditingTest, TypingBackspaceAndDeleteReplaceTheSelectionWithinMaxLength) {
    box.setMaxLength(6);
    set("N12ABC", 0, 6);
    type("x");
    EXPECT_EQ(box.text(), "X");
    set("N12ABC", 1, 3);
    type("9");  // 5 kept + 1 fits
    EXPECT_EQ(box.text(), "N9ABC");
    set("N12ABC", 1, 3);
    form.userKeyPress(box, keys::kBack);
    EXPECT_EQ(box.text(), "NABC");
    set("N12ABC", 3, 1);
    press(keys::kDelete);
    EXPECT_EQ(box.text(), "NABC");
    EXPECT_EQ(changes, (std::vector<std::string>{"NABC"}));
    set("N12ABC", 0, 0);
    type("Z");  // full: refused
    EXPECT_EQ(box.text(), "N12ABC");
    press('A', kCtrl);
    EXPECT_EQ(box.selLength(), 6);
}

TEST_F(EditingTest, PasteInsertsAtTheSelectionCutToMaxLengthWithOneChangeAndNoKeyPress) {
    box.setMaxLength(6);
    struct Case {
        std::string text;
        int anchor, caret;
        std::string clip, result;
        int caretAfter;
    };
    const Case cases[] = {
        {"", 0, 0, "n12ab", "n12ab", 5},           // keeps its case: no KeyPress
        {"N1", 1, 1, "abcdefgh", "Nabcd1", 5},      // cut at MaxLength
        {"N12ABC", 1, 5, "xy", "NxyC", 3},          // replaces the selection
        {"", 0, 0, "n12\r\nrest", "n12", 3},        // a line break ends it on one line
        {"", 0, 0, "ab\ncd", "ab", 2},
        {"", 0, 0, "a\tb\x01" "c", "a\tbc", 4},     // control characters other than tab dropped
        {"", 0, 0, "\xE2\x82\xAC\xE2\x80\x99\xE2\x80\x93\xC5\x81xyz", "\xE2\x82\xAC\xE2\x80\x99\xE2\x80\x93\xC5\x81xy", 6},
        {"", 0, 0, "a\xFF" "b", "a\xEF\xBF\xBD" "b", 3},  // broken UTF-8 repaired
    };
    for (const Case& c : cases) {
        set(c.text, c.anchor, c.caret);
        keyPresses = 0;
        paste(c.clip);
        EXPECT_EQ(box.text(), c.result) << c.clip;
        EXPECT_EQ(changes, (std::vector<std::string>{c.result})) << c.clip;
        EXPECT_EQ(keyPresses, 0);
        EXPECT_EQ(box.selStart(), c.caretAfter) << c.clip;
        EXPECT_EQ(box.selLength(), 0);
    }
    set("N12ABC", 0, 0);
    paste("x");  // no room: nothing at all
    EXPECT_TRUE(changes.empty());
    // A text already longer than a MaxLength set after it leaves no room either.
    box.setMaxLength(0);
    set("N12ABC", 0, 0);
    box.setMaxLength(4);
    paste("x");
    type("x");
    EXPECT_EQ(box.text(), "N12ABC");
    EXPECT_TRUE(changes.empty());
}

TEST_F(EditingTest, ABoxOfSeveralLinesPastesLineBreaksAndNeverSplitsOne) {
    box.setMultiLine(true);
    box.move(0, 0, 3000, 1200);
    set("", 0, 0);
    paste("one\ntwo\r\nthree\rfour");
    EXPECT_EQ(box.text(), "one\r\ntwo\r\nthree\r\nfour");
    box.setMaxLength(4);
    set("", 0, 0);
    paste("abc\ndef");  // "\r\n" would need five: the break is left out whole
    EXPECT_EQ(box.text(), "abc");
    // Copy gives the clipboard "\n" line breaks.
    box.setMaxLength(0);
    set("a\r\nb", 0, 4);
    press('C', kCtrl);
    EXPECT_EQ(form.clipboard().text(), "a\nb");
}

TEST_F(EditingTest, CutCopyAndTheirOtherKeys) {
    set("N12ABC", 1, 3);
    press(keys::kInsert, kCtrl);
    EXPECT_EQ(form.clipboard().text(), "12");
    EXPECT_EQ(box.text(), "N12ABC");
    press(keys::kDelete, kShift);  // cut
    EXPECT_EQ(box.text(), "NABC");
    EXPECT_EQ(form.clipboard().text(), "12");
    box.select(4, 4);
    press(keys::kInsert, kShift);  // paste
    EXPECT_EQ(box.text(), "NABC12");
    box.select(0, 1);
    press('X', kCtrl);
    EXPECT_EQ(box.text(), "ABC12");
    EXPECT_EQ(form.clipboard().text(), "N");
    press('C', kCtrl);  // nothing selected: the clipboard keeps its text
    EXPECT_EQ(form.clipboard().text(), "N");
}

TEST_F(EditingTest, LockedAndDisabledBoxesAreNotEditedByTheClipboard) {
    for (bool locked : {true, false}) {
        set("N12ABC", 0, 3);
        form.clipboard().setText("zz");
        box.setLocked(locked);
        box.setEnabled(locked);
        press('X', kCtrl);
        press('V', kCtrl);
        press(keys::kDelete, kShift);
        type("q");
        box.userCommand(EditCommand::Cut);  // also when called past the form
        box.userCommand(EditCommand::Paste);
        EXPECT_EQ(box.text(), "N12ABC") << locked;
        EXPECT_EQ(form.clipboard().text(), "zz") << locked;
        EXPECT_TRUE(changes.empty()) << locked;
    }
    box.setEnabled(true);
    press('C', kCtrl);  // a locked box can still be copied from
    EXPECT_EQ(form.clipboard().text(), "N12");
}

// Every kind of user edit asks UserEdit with the text it would give; the same
// edit allowed gives exactly that text, refused it leaves text, selection,
// clipboard and undo as they were and raises no Change.
TEST_F(EditingTest, UserEditSeesEveryUserEditAndMayRefuseIt) {
    struct Case {
        const char* what;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"type", [&] { type("q"); }},
        {"backspace", [&] { press(keys::kBack); form.userKeyPress(box, keys::kBack); }},
        {"delete", [&] { press(keys::kDelete); }},
        {"ctrl+x", [&] { press('X', kCtrl); }},
        {"shift+delete", [&] { press(keys::kDelete, kShift); }},
        {"ctrl+v", [&] { press('V', kCtrl); }},
        {"shift+insert", [&] { press(keys::kInsert, kShift); }},
        {"menu cut", [&] { box.userCommand(EditCommand::Cut); }},
        {"menu paste", [&] { box.userCommand(EditCommand::Paste); }},
        {"menu delete", [&] { box.userCommand(EditCommand::Delete); }},
        {"undo", [&] { press('Z', kCtrl); }},
    };
    for (const Case& c : cases) {
        for (bool refuse : {false, true}) {
            set("N1", 2, 2);
            type("ab");  // something to undo
            box.select(1, 3);
            form.clipboard().setText("zz");
            changes.clear();
            std::vector<std::string> asked;
            box.UserEdit = [&](const std::string& newText, bool& cancel) {
                asked.push_back(newText);
                cancel = refuse;
            };
            c.edit();
            box.UserEdit = nullptr;
            ASSERT_EQ(asked.size(), 1u) << c.what;
            if (refuse) {
                EXPECT_EQ(box.text(), "N1AB") << c.what;
                EXPECT_EQ(box.selStart(), 1) << c.what;
                EXPECT_EQ(box.selLength(), 2) << c.what;
                EXPECT_EQ(form.clipboard().text(), "zz") << c.what;
                EXPECT_TRUE(changes.empty()) << c.what;
                box.userCommand(EditCommand::Undo);  // the typing is still the edit to undo
                EXPECT_EQ(box.text(), "N1") << c.what;
            } else {
                EXPECT_EQ(box.text(), asked[0]) << c.what;
                EXPECT_EQ(changes, std::vector<std::string>{asked[0]}) << c.what;
            }
        }
    }
    // Moving, selecting, copying and the program's own writes ask nothing.
    bool asked = false;
    box.UserEdit = [&](const std::string&, bool& cancel) { asked = cancel = true; };
    set("N1AB", 0, 0);
    press(keys::kEnd, kShift);
    press('C', kCtrl);
    press('A', kCtrl);
    box.setText("500");
    EXPECT_FALSE(asked);
    EXPECT_EQ(form.clipboard().text(), "N1AB");
}

TEST_F(EditingTest, TheContextMenuIsEnabledAsTheSystemsIs) {
    using C = EditCommand;
    const auto enabled = [&] {
        std::string out;
        for (C c : {C::Undo, C::Cut, C::Copy, C::Paste, C::Delete, C::SelectAll})
            out += box.commandEnabled(c) ? '1' : '0';
        return out;
    };
    form.clipboard().setText("");
    set("", 0, 0);
    EXPECT_EQ(enabled(), "000000");
    set("ab", 0, 1);
    EXPECT_EQ(enabled(), "011011");
    form.clipboard().setText("x");
    box.select(0, 2);
    EXPECT_EQ(enabled(), "011110");  // all selected: no Select All
    type("c");
    EXPECT_EQ(enabled(), "100101");
    box.setLocked(true);
    EXPECT_EQ(enabled(), "000001");
    box.setLocked(false);
    box.userCommand(C::SelectAll);
    box.userCommand(C::Delete);
    EXPECT_EQ(box.text(), "");
    box.userCommand(C::Undo);
    EXPECT_EQ(box.text(), "C");
}

TEST_F(EditingTest, UndoTakesBackTheLastEditAndASecondUndoRedoesIt) {
    set("N1", 2, 2);
    type("ab");  // one run of typing is one edit
    press(keys::kLeft);
    form.userKeyPress(box, keys::kBack);
    EXPECT_EQ(box.text(), "N1B");
    press('Z', kCtrl);
    EXPECT_EQ(box.text(), "N1AB");
    EXPECT_EQ(box.caret(), 3);
    press('Z', kCtrl);
    EXPECT_EQ(box.text(), "N1B");
    press('Z', kCtrl);
    set("N1", 2, 2);
    type("ab");
    press('Z', kCtrl);
    EXPECT_EQ(box.text(), "N1");
    EXPECT_EQ(changes, (std::vector<std::string>{"N1A", "N1AB", "N1"}));
    box.setText("XY");  // the program's write leaves nothing to undo
    press('Z', kCtrl);
    EXPECT_EQ(box.text(), "XY");
}

TEST_F(EditingTest, PositionsAndLimitsCountCharactersNotBytes) {
    box.KeyPress = nullptr;
    box.setMaxLength(4);
    box.setText("\xE2\x82\xAC\xE2\x80\x99\xE2\x80\x93\xC5\x81\xC3\xA9");  // five characters: cut after four
    EXPECT_EQ(box.text(), "\xE2\x82\xAC\xE2\x80\x99\xE2\x80\x93\xC5\x81");
    EXPECT_EQ(box.length(), 4);
    box.select(1, 3);
    EXPECT_EQ(box.selText(), "\xE2\x80\x99\xE2\x80\x93");
    form.userKeyPress(box, 0x20AC);  // a typed euro sign replaces two characters
    EXPECT_EQ(box.text(), "\xE2\x82\xAC\xE2\x82\xAC\xC5\x81");
    EXPECT_EQ(box.selStart(), 2);
    form.userKeyPress(box, keys::kBack);
    press(keys::kDelete);
    EXPECT_EQ(box.text(), "\xE2\x82\xAC");
    form.userKeyPress(box, 0x1F600);  // beyond the first plane
    form.userKeyPress(box, 0xD800);   // a lone surrogate is no character
    EXPECT_EQ(box.text(), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(box.length(), 2);
}

TEST_F(EditingTest, TheNotesMoveBetweenLinesAtTheSameColumn) {
    box.KeyPress = nullptr;
    box.setMultiLine(true);
    box.move(0, 0, 3000, 3 * 240);  // three lines a page
    set("abcdef\r\nxy\r\n123456\r\nl4\r\nl5\r\nl6", 4, 4);
    press(keys::kDown);
    EXPECT_EQ(box.caret(), 10);  // end of "xy"
    press(keys::kDown);
    EXPECT_EQ(box.caret(), 16);  // column 4 again
    press(keys::kUp, kShift);
    press(keys::kUp, kShift);
    EXPECT_EQ(box.selStart(), 4);
    EXPECT_EQ(box.selLength(), 12);
    press(keys::kEnd, kCtrl);
    EXPECT_EQ(box.caret(), box.length());
    press(keys::kPageUp);
    EXPECT_EQ(box.caret(), 14);  // a page of three lines up from "l6", column 2
    press(keys::kHome, kCtrl | kShift);
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 14);
    press(keys::kPageDown);
    EXPECT_EQ(box.caret(), 20);  // the start of "l4"
    // A line break is one step for the arrows and for Backspace.
    box.select(8, 8);
    press(keys::kLeft);
    EXPECT_EQ(box.caret(), 6);
    box.select(8, 8);
    form.userKeyPress(box, keys::kBack);
    EXPECT_EQ(box.text().substr(0, 9), "abcdefxy\r");
}

TEST_F(EditingTest, TheKeyboardsFocusSelectsTheWholeTextAndAClickDoesNot) {
    TextBox next(form, "Text2");
    next.setText("12-10-2026");
    next.setTabIndex(1);
    box.setTabIndex(0);
    box.KeyPress = [&](int& k) {
        if (k == 13) {
            k = 0;
            next.SetFocus();
        }
    };
    form.userFocus(box);
    press(keys::kTab);
    EXPECT_EQ(form.focused(), &next);
    EXPECT_EQ(next.selLength(), 10);
    form.userKeyPress(next, '1');  // typing replaces the date
    EXPECT_EQ(next.text(), "1");

    next.setText("12-10-2026");
    form.userFocus(box);
    form.userKeyPress(box, 13);  // the Enter order's move
    EXPECT_EQ(next.selLength(), 10);

    next.setText("12-10-2026");
    next.select(3, 3);
    form.userFocus(box);
    form.userFocus(next);  // a click: the caret is placed by the mouse
    next.SetFocus();
    EXPECT_EQ(next.selLength(), 0);
    form.userFocus(box);
    next.SetFocus();  // the program's own move selects nothing
    EXPECT_EQ(next.selLength(), 0);
}

TEST_F(EditingTest, TheMouseSelectsByDragAndWordsByDoubleClick) {
    set("Left main gear", 0, 0);
    box.userPlaceCaret(2, false);
    box.userPlaceCaret(7, true);
    EXPECT_EQ(box.selText(), "ft ma");
    box.userPlaceCaret(0, true);  // back over the anchor
    EXPECT_EQ(box.selText(), "Le");
    box.userSelectWord(6);
    EXPECT_EQ(box.selText(), "main");
    box.userSelectWord(9);  // the blank after it
    EXPECT_EQ(box.selText(), " ");
    box.userSelectWord(14);  // past the end: the last word
    EXPECT_EQ(box.selText(), "gear");
    EXPECT_EQ(text_units::wordAt("a\r\n\r\nb", 3), (std::pair{3, 3}));  // nothing on an empty line
}

}  // namespace
}  // namespace wb
