// Editing in the real text box widgets on the offscreen platform: keys, the
// mouse, the clipboard and the context menu reach the models, and the widgets
// show the models' text and selection.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <memory>

#include "platform/controls/text_box.h"
#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "qt/input_events.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

using namespace wb::testing;

// The point of a line box where a click puts the caret at pos.
QPoint pointOf(QLineEdit* w, int pos) {
    for (int x = 0; x < w->width(); ++x)
        if (w->cursorPositionAt(QPoint(x, w->height() / 2)) == pos) return QPoint(x, w->height() / 2);
    ADD_FAILURE() << "no point for position " << pos;
    return {};
}

const QString kSigns = QString::fromUtf8("\xE2\x82\xAC\xE2\x80\x99\xE2\x80\x93\xC5\x81");  // €’–Ł

struct EditForm : Form {
    EditForm() : Form("EditForm") {
        setClientSize(6000, 3000);
        Tail.move(100, 100, 1500, 270);
        Tail.setMaxLength(6);
        Tail.setTabIndex(0);
        Tail.KeyPress = [this](int& k) {
            if (k == 13) {
                k = 0;
                Date.SetFocus();
            }
            if (k >= 'a' && k <= 'z') k -= 32;
        };
        Date.move(100, 500, 3000, 270);
        Date.setMaxLength(10);
        Date.setTabIndex(1);
        Notes.move(100, 900, 3000, 1500);
        Notes.setMultiLine(true);
        Notes.setTabIndex(2);
        Tail.Change = [this] { ++tailChanges; };
        setVisible(true);
    }
    TextBox Tail{*this, "Tail"};
    TextBox Date{*this, "Date"};
    TextBox Notes{*this, "Notes"};
    int tailChanges = 0;
};

class TextEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(form);
        QApplication::processEvents();
        tail = qobject_cast<QLineEdit*>(window->viewOf(form.Tail));
        date = qobject_cast<QLineEdit*>(window->viewOf(form.Date));
        notes = qobject_cast<QPlainTextEdit*>(window->viewOf(form.Notes));
        ASSERT_TRUE(tail && date && notes);
        QApplication::clipboard()->clear();
    }
    EditForm form;
    std::unique_ptr<FormWindow> window;
    QLineEdit* tail = nullptr;
    QLineEdit* date = nullptr;
    QPlainTextEdit* notes = nullptr;
};

TEST_F(TextEditingTest, TypedAndPastedSignsBeyondLatin1ComeBackExactly) {
    form.dispatch([&] { form.Date.SetFocus(); });
    type(date, kSigns);
    EXPECT_EQ(form.Date.text(), kSigns.toStdString());
    EXPECT_EQ(date->text(), kSigns);
    EXPECT_EQ(form.Date.selStart(), 4);
    EXPECT_EQ(date->cursorPosition(), 4);

    key(date, Qt::Key_A, {}, Qt::ControlModifier);
    key(date, Qt::Key_C, {}, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), kSigns);
    key(date, Qt::Key_Delete);
    EXPECT_EQ(date->text(), "");

    QApplication::clipboard()->setText(kSigns + "x");
    key(date, Qt::Key_V, {}, Qt::ControlModifier);
    key(date, Qt::Key_Insert, {}, Qt::ShiftModifier);
    EXPECT_EQ(form.Date.text(), (kSigns + "x" + kSigns + "x").toStdString());
    EXPECT_EQ(date->text(), kSigns + "x" + kSigns + "x");
    EXPECT_EQ(form.Date.selStart(), 10);
}

TEST_F(TextEditingTest, TheClipboardKeysCutCopyAndPaste) {
    form.dispatch([&] { form.Date.SetFocus(); });
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        const char* text;      // after the key, with "10-2" of "12-10-2026" selected
        const char* clipboard;  // after the key, "z" before it
    };
    const Case cases[] = {
        {Qt::Key_C, Qt::ControlModifier, "12-10-2026", "10-2"},
        {Qt::Key_Insert, Qt::ControlModifier, "12-10-2026", "10-2"},
        {Qt::Key_X, Qt::ControlModifier, "12-026", "10-2"},
        {Qt::Key_Delete, Qt::ShiftModifier, "12-026", "10-2"},
        {Qt::Key_V, Qt::ControlModifier, "12-z026", "z"},
        {Qt::Key_Insert, Qt::ShiftModifier, "12-z026", "z"},
        {Qt::Key_Delete, Qt::NoModifier, "12-026", "z"},
    };
    for (const Case& c : cases) {
        form.Date.setText("12-10-2026");
        form.Date.select(3, 7);
        QApplication::clipboard()->setText("z");
        key(date, c.qtKey, {}, c.mods);
        EXPECT_EQ(form.Date.text(), c.text) << c.qtKey;
        EXPECT_EQ(date->text(), c.text) << c.qtKey;
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard) << c.qtKey;
    }
}

TEST_F(TextEditingTest, ShiftSelectsAndTypingReplacesTheSelection) {
    form.dispatch([&] { form.Tail.SetFocus(); });
    type(tail, "n12abc");
    key(tail, Qt::Key_Left, {}, Qt::ShiftModifier);
    key(tail, Qt::Key_Left, {}, Qt::ShiftModifier);
    key(tail, Qt::Key_Left, {}, Qt::ShiftModifier);
    EXPECT_EQ(tail->selectedText(), "ABC");
    EXPECT_EQ(tail->cursorPosition(), 3);
    type(tail, "x");
    EXPECT_EQ(form.Tail.text(), "N12X");
    key(tail, Qt::Key_Home, {}, Qt::ShiftModifier);
    EXPECT_EQ(tail->selectedText(), "N12X");
    key(tail, Qt::Key_Backspace, "\b");
    EXPECT_EQ(tail->text(), "");
    key(tail, Qt::Key_Z, {}, Qt::ControlModifier);
    EXPECT_EQ(tail->text(), "N12X");
}

TEST_F(TextEditingTest, TabSelectsTheWholeDateSoTypingReplacesIt) {
    form.Date.setText("12-10-2026");
    form.dispatch([&] { form.Tail.SetFocus(); });
    key(tail, Qt::Key_Tab, "\t");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectedText(), "12-10-2026");
    type(date, "01-02-2027");
    EXPECT_EQ(form.Date.text(), "01-02-2027");

    key(date, Qt::Key_Backtab, {}, Qt::ShiftModifier);
    form.Tail.setText("N12");
    key(tail, Qt::Key_Return, "\r");  // the Enter order selects too
    EXPECT_EQ(form.focused(), &form.Date);
    EXPECT_EQ(date->selectedText(), "01-02-2027");
}

TEST_F(TextEditingTest, TheMouseDragsASelectionAndDoubleClickSelectsAWord) {
    form.Date.setText("12-10 noon");
    form.dispatch([&] { form.Tail.SetFocus(); });
    mouse(date, QEvent::MouseButtonPress, pointOf(date, 3), Qt::LeftButton);
    EXPECT_EQ(form.focused(), &form.Date);
    EXPECT_EQ(form.Date.selLength(), 0);  // a click places the caret, selects nothing
    EXPECT_EQ(form.Date.selStart(), 3);
    mouse(date, QEvent::MouseMove, pointOf(date, 7), Qt::LeftButton);
    mouse(date, QEvent::MouseMove, pointOf(date, 1), Qt::LeftButton);  // back over the press
    mouse(date, QEvent::MouseButtonRelease, pointOf(date, 1), Qt::NoButton);
    EXPECT_EQ(form.Date.selText(), "2-");
    EXPECT_EQ(form.Date.caret(), 1);
    EXPECT_EQ(date->selectedText(), "2-");
    EXPECT_EQ(date->cursorPosition(), 1);

    mouse(date, QEvent::MouseButtonDblClick, pointOf(date, 8), Qt::LeftButton);
    mouse(date, QEvent::MouseButtonRelease, pointOf(date, 8), Qt::NoButton);
    EXPECT_EQ(form.Date.selText(), "noon");
    EXPECT_EQ(date->selectedText(), "noon");
}

TEST_F(TextEditingTest, TheContextMenuCutsAndPastesWithTheUsualItemsEnabled) {
    form.Tail.setText("N12ABC");
    form.dispatch([&] { form.Tail.SetFocus(); });
    form.Tail.select(3, 6);
    const int changesBefore = form.tailChanges;
    MenuPick pick;
    pick.pickNext("Cu&t");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), tail->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(tail, &menuEvent);
    EXPECT_EQ(pick.enabled, "011011");  // Undo, Cut, Copy, Paste (empty clipboard), Delete, Select All
    EXPECT_EQ(form.Tail.text(), "N12");
    EXPECT_EQ(QApplication::clipboard()->text(), "ABC");

    // Pasted letters keep their case (no KeyPress), cut at the limit, one Change.
    QApplication::clipboard()->setText("xyzw\nmore");
    MenuPick paste;
    paste.pickNext("&Paste");
    QApplication::sendEvent(tail, &menuEvent);
    EXPECT_EQ(paste.enabled, "100101");
    EXPECT_EQ(form.Tail.text(), "N12xyz");
    EXPECT_EQ(tail->text(), "N12xyz");
    EXPECT_EQ(form.tailChanges, changesBefore + 2);

    MenuPick undo;
    undo.pickNext("&Undo");
    QApplication::sendEvent(tail, &menuEvent);
    EXPECT_EQ(form.Tail.text(), "N12");

    // A disabled box takes neither the menu nor the keys.
    form.Tail.setEnabled(false);
    MenuPick none;
    none.pickNext("&Paste");
    QApplication::sendEvent(tail, &menuEvent);
    key(tail, Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(form.Tail.text(), "N12");
}

TEST_F(TextEditingTest, TheNotesMoveByShownLinesAndPages) {
    form.dispatch([&] { form.Notes.SetFocus(); });
    type(notes, "first");
    key(notes, Qt::Key_Return, "\r");
    type(notes, "second line");
    key(notes, Qt::Key_Return, "\r");
    type(notes, "3");
    key(notes, Qt::Key_Up);
    EXPECT_EQ(form.Notes.caret(), 8);  // column 1 of "second line"
    key(notes, Qt::Key_Up, {}, Qt::ShiftModifier);
    EXPECT_EQ(form.Notes.selText(), "irst\r\ns");
    EXPECT_EQ(notes->textCursor().selectedText(), QString("irst") + QChar(0x2029) + "s");
    key(notes, Qt::Key_End, {}, Qt::ControlModifier);
    EXPECT_EQ(form.Notes.caret(), form.Notes.length());
    key(notes, Qt::Key_Home, {}, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.Notes.selLength(), form.Notes.length());
    key(notes, Qt::Key_PageDown);
    EXPECT_EQ(form.Notes.caret(), 20);  // the page holds every line: to the last one
    EXPECT_EQ(notes->textCursor().position(), 18);

    // A paragraph the box wraps: Down goes to its next shown line.
    form.Notes.setText(std::string(120, 'w') + " " + std::string(120, 'w'));
    form.Notes.select(2, 2);
    const int firstLineTop = notes->cursorRect().top();
    key(notes, Qt::Key_Down);
    EXPECT_GT(form.Notes.caret(), 2);
    EXPECT_LT(form.Notes.caret(), form.Notes.length());
    EXPECT_GT(notes->cursorRect().top(), firstLineTop);
}

}  // namespace
