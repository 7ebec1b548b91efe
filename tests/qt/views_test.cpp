// The Qt views on the offscreen platform: real key and mouse events sent to the
// real widgets must reach the models (and only through them), and the views
// must follow what the models say.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/controls/check_box.h"
#include "platform/controls/command_button.h"
#include "platform/controls/grid.h"
#include "platform/controls/panel.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/key_translation.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/text_box_view.h"
#include "qt/input_events.h"
#include "qt/qt_environment.h"

using namespace wb;

namespace {

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

using namespace wb::testing;

// A small form: a tail-number box that upper-cases, a box in a panel, a notes
// box, a grid that records its keys, a button, a check box and a timer.
struct TestForm : Form {
    TestForm() : Form("TestForm") {
        setCaption("Test window");
        setClientSize(6000, 4500);
        Text1.move(100, 100, 1200, 270);
        Text1.setMaxLength(6);
        Text1.setMultiLine(true);
        Text1.setBorder(false);
        Text1.setAlignment(Alignment::Center);
        Text1.setTabIndex(1);
        Text1.KeyPress = [this](int& k) {
            ++text1KeyPresses;
            if (k == 13) {
                k = 0;
                Text2.SetFocus();
            }
            if (k >= 97 && k <= 122) k -= 32;
        };
        Panel1.move(100, 500, 3000, 500);
        Text2.setContainer(&Panel1);
        Text2.move(60, 60, 1500, 270);
        Text2.setTabIndex(2);
        Notes.move(100, 1100, 3000, 900);
        Notes.setMultiLine(true);
        Notes.setTabIndex(3);
        Grid1.move(100, 2100, 4000, 4 * Grid::kRowHeight);
        Grid1.setRows(10);
        Grid1.setCols(3);
        for (int c = 0; c < 3; ++c) Grid1.setColWidth(c, 1200);
        Grid1.setScrollBar(true);
        Grid1.setTabIndex(4);
        Grid1.KeyPress = [this](int& k) { gridKeyPresses.push_back(k); };
        Grid1.KeyDown = [this](int& k, int) { gridKeyDowns.push_back(k); };
        Grid1.RowColChange = [this] { ++rowColChanges; };
        Button1.move(4300, 100, 1200, 400);
        Button1.setCaption("Go");
        Button1.setTabIndex(5);
        Button1.Click = [this] { ++buttonClicks; };
        Check1.move(4300, 600, 1200, 300);
        Check1.setCaption("Option");
        Check1.setTabIndex(6);
        Timer1.setInterval(20);
        Timer1.setEnabled(false);
        Timer1.OnTimer = [this] {
            ++timerFired;
            Timer1.setEnabled(false);
        };
        setVisible(true);
    }
    TextBox Text1{*this, "Text1"};
    Panel Panel1{*this, "Panel1"};
    TextBox Text2{*this, "Text2"};
    TextBox Notes{*this, "Notes"};
    Grid Grid1{*this, "Grid1"};
    CommandButton Button1{*this, "Button1"};
    CheckBox Check1{*this, "Check1"};
    Timer Timer1{*this, "Timer1"};
    int text1KeyPresses = 0;
    std::vector<int> gridKeyPresses, gridKeyDowns;
    int rowColChanges = 0;
    int buttonClicks = 0;
    int timerFired = 0;
};

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FormWindow>(form, FormWindow::Options{[this] { ++closes; }, {}, false});
        processEvents();
    }
    template <class View>
    View* view(const Control& c) {
        auto* v = dynamic_cast<View*>(window->viewOf(c));
        EXPECT_NE(v, nullptr) << c.name();
        return v;
    }

    TestForm form;
    std::unique_ptr<FormWindow> window;
    int closes = 0;
};

TEST_F(ViewsTest, TypedKeysGoThroughTheTextBoxModel) {
    auto* text1 = view<QLineEdit>(form.Text1);
    form.dispatch([&] { form.Text1.SetFocus(); });

    type(text1, "n12ab");
    EXPECT_EQ(form.Text1.text(), "N12AB");
    EXPECT_EQ(form.text1KeyPresses, 5);
    EXPECT_EQ(text1->text(), "N12AB");
    EXPECT_EQ(text1->cursorPosition(), 5);

    // Typing stops at the box's limit; Backspace, Home and Delete are the model's.
    type(text1, "xyz");
    EXPECT_EQ(form.Text1.text(), "N12ABX");
    key(text1, Qt::Key_Backspace);
    EXPECT_EQ(form.Text1.text(), "N12AB");
    key(text1, Qt::Key_Home);
    EXPECT_EQ(form.Text1.selStart(), 0);
    EXPECT_EQ(text1->cursorPosition(), 0);
    key(text1, Qt::Key_Delete);
    EXPECT_EQ(form.Text1.text(), "12AB");

    // A period is a character, not the Delete key.
    key(text1, Qt::Key_End);
    type(text1, ".");
    EXPECT_EQ(form.Text1.text(), "12AB.");

    // Enter goes to the handler, which moves the focus and discards the key.
    key(text1, Qt::Key_Return, "\r");
    EXPECT_EQ(form.Text1.text(), "12AB.");
    EXPECT_EQ(form.focused(), &form.Text2);
    processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window->viewOf(form.Text2));
}

TEST_F(ViewsTest, PasteAndUndoGoThroughTheModelAndPastedTextKeepsItsCase) {
    auto* text1 = view<QLineEdit>(form.Text1);
    form.dispatch([&] { form.Text1.SetFocus(); });
    form.Text1.setText("AB");
    form.Text1.setSelStart(2);
    QApplication::clipboard()->setText("cdefgh");
    key(text1, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    EXPECT_EQ(form.Text1.text(), "ABcdef");  // no KeyPress, cut at the limit
    EXPECT_EQ(text1->text(), "ABcdef");
    EXPECT_EQ(form.text1KeyPresses, 0);
    key(text1, Qt::Key_Z, QString(QChar(26)), Qt::ControlModifier);
    EXPECT_EQ(form.Text1.text(), "AB");
    EXPECT_EQ(text1->text(), "AB");
}

TEST_F(ViewsTest, TheNotesBoxShowsLineBreaksAndTakesEnter) {
    auto* notes = view<QPlainTextEdit>(form.Notes);
    form.dispatch([&] { form.Notes.SetFocus(); });
    type(notes, "ab");
    key(notes, Qt::Key_Return, "\r");
    type(notes, "c");
    EXPECT_EQ(form.Notes.text(), "ab\r\nc");
    EXPECT_EQ(notes->toPlainText(), "ab\nc");
    EXPECT_EQ(notes->textCursor().position(), 4);
}

TEST_F(ViewsTest, TabMovesTheFocusInTabOrderWithoutAKeyPress) {
    auto* text1 = view<QLineEdit>(form.Text1);
    form.dispatch([&] { form.Text1.SetFocus(); });
    key(text1, Qt::Key_Tab, "\t");
    EXPECT_EQ(form.focused(), &form.Text2);
    EXPECT_EQ(form.text1KeyPresses, 0);
    key(window->viewOf(form.Text2), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(form.focused(), &form.Text1);
}

TEST_F(ViewsTest, ProgramWritesShowInTheViews) {
    auto* text1 = view<QLineEdit>(form.Text1);
    auto* text2 = window->viewOf(form.Text2);
    form.Text1.setText("N123");
    EXPECT_EQ(text1->text(), "N123");
    EXPECT_EQ(text1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(text1->hasFrame());

    EXPECT_TRUE(text2->isVisible());
    form.Panel1.setEnabled(false);
    EXPECT_FALSE(text2->isEnabled());
    form.Panel1.setVisible(false);
    EXPECT_FALSE(text2->isVisible());
    form.Panel1.setVisible(true);
    form.Panel1.setEnabled(true);
    EXPECT_TRUE(text2->isVisible());
    EXPECT_TRUE(text2->isEnabled());

    form.Button1.setForeColor(colors::kRed);
    auto* button = view<QPushButton>(form.Button1);
    EXPECT_EQ(button->palette().color(QPalette::Active, QPalette::ButtonText), QColor(Qt::red));
    form.Button1.setCaption("Hobbs");
    EXPECT_EQ(button->text(), "Hobbs");

    form.setCaption("Weight and Balance");
    EXPECT_EQ(window->windowTitle(), "Weight and Balance");
    EXPECT_EQ(window->size(), QSize(400, 300));  // 15 twips a pixel at 96 dpi
}

TEST_F(ViewsTest, GridKeysReachTheGridHandlersAndNeverEditACell) {
    auto* grid = view<GridView>(form.Grid1);
    form.dispatch([&] { form.Grid1.SetFocus(); });

    type(grid, "x");
    key(grid, Qt::Key_Return, "\r");
    key(grid, Qt::Key_Backspace, "\b");
    key(grid, Qt::Key_Delete);
    EXPECT_EQ(form.gridKeyPresses, (std::vector<int>{'x', 13, 8}));
    EXPECT_EQ(form.gridKeyDowns, (std::vector<int>{'X', 13, 8, 46}));
    for (int r = 0; r < form.Grid1.rows(); ++r) EXPECT_EQ(form.Grid1.rowText(r), "\t\t") << r;

    key(grid, Qt::Key_Down);
    key(grid, Qt::Key_Right);
    EXPECT_EQ(form.Grid1.row(), 1);
    EXPECT_EQ(form.Grid1.col(), 1);
    EXPECT_EQ(form.rowColChanges, 2);
}

TEST_F(ViewsTest, ClickOnACellMovesTheCurrentCell) {
    auto* grid = view<GridView>(form.Grid1);
    click(grid->viewport(), grid->cellRect(2, 1).center());
    EXPECT_EQ(form.focused(), &form.Grid1);
    EXPECT_EQ(form.Grid1.row(), 2);
    EXPECT_EQ(form.Grid1.col(), 1);
    EXPECT_EQ(form.rowColChanges, 1);

    // Scrolled by the program, the first row in view is TopRow.
    form.Grid1.setTopRow(5);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 5);
    click(grid->viewport(), grid->cellRect(5, 0).center());
    EXPECT_EQ(form.Grid1.row(), 5);
    EXPECT_EQ(form.Grid1.col(), 0);
}

TEST_F(ViewsTest, TheScrollBarSetsTopRow) {
    auto* grid = view<GridView>(form.Grid1);
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 6);  // 10 rows, 4 in view
    grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.Grid1.topRow(), 1);
    EXPECT_EQ(form.Grid1.row(), 0);  // scrolling moves no cell
}

TEST_F(ViewsTest, ClickingAButtonOrCheckBoxGoesToTheModel) {
    auto* button = view<QPushButton>(form.Button1);
    auto* check = view<QCheckBox>(form.Check1);
    click(button, button->rect().center());
    EXPECT_EQ(form.buttonClicks, 1);
    EXPECT_EQ(form.focused(), &form.Button1);

    click(check, check->rect().center());
    EXPECT_EQ(form.Check1.value(), 1);
    EXPECT_EQ(check->checkState(), Qt::Checked);
    click(check, check->rect().center());
    EXPECT_EQ(form.Check1.value(), 0);
    EXPECT_EQ(check->checkState(), Qt::Unchecked);

    form.Button1.setEnabled(false);
    click(button, button->rect().center());
    EXPECT_EQ(form.buttonClicks, 1);
}

TEST_F(ViewsTest, AClickInATextBoxFocusesItAndPlacesTheCaret) {
    auto* text1 = view<QLineEdit>(form.Text1);
    form.Text1.setText("ABCDEF");
    int clicks = 0;
    form.Text1.Click = [&] { ++clicks; };
    form.dispatch([&] { form.Grid1.SetFocus(); });
    click(text1, QPoint(2, text1->height() / 2));
    EXPECT_EQ(form.focused(), &form.Text1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.Text1.selStart(), text1->cursorPosition());
}

TEST_F(ViewsTest, TheWindowFollowsTheForm) {
    form.setMousePointer(pointer::kHourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    form.setMousePointer(pointer::kDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window->close();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(window->isVisible());  // the close box only asks the program
    form.setVisible(false);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ViewsTest, ATimerFiresFromTheEventLoopWhileEnabled) {
    form.Timer1.setEnabled(true);
    for (int i = 0; i < 100 && form.timerFired == 0; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    EXPECT_EQ(form.timerFired, 1);
    QTimer::singleShot(100, [] {});
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    EXPECT_EQ(form.timerFired, 1);  // it disabled itself
}

TEST_F(ViewsTest, ADetachedWindowNoLongerDeliversInput) {
    auto* text1 = view<QLineEdit>(form.Text1);
    form.dispatch([&] { form.Text1.SetFocus(); });
    window->detach();
    EXPECT_FALSE(window->isVisible());
    type(text1, "a");
    EXPECT_EQ(form.Text1.text(), "");
}

TEST(KeyTranslation, KeysBecomeKeyDownAndKeyPressCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        QString text;
        int keyCode, shift, keyAscii;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, "a", 65, 0, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 65, 1, 'A'},
        {Qt::Key_A, Qt::ControlModifier, QString(QChar(1)), 65, 2, -1},
        {Qt::Key_Period, Qt::NoModifier, ".", 190, 0, '.'},
        {Qt::Key_Minus, Qt::NoModifier, "-", 189, 0, '-'},
        {Qt::Key_Exclam, Qt::ShiftModifier, "!", '1', 1, '!'},
        {Qt::Key_Space, Qt::NoModifier, " ", 32, 0, ' '},
        {Qt::Key_Return, Qt::NoModifier, "\r", 13, 0, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13, 0, 13},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8, 0, 8},
        {Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)), 27, 0, -1},
        {Qt::Key_Delete, Qt::ShiftModifier, {}, 46, 1, -1},
        {Qt::Key_PageDown, Qt::NoModifier, {}, 34, 0, -1},
        {Qt::Key_5, Qt::KeypadModifier, "5", 101, 0, '5'},
        {Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), 0, 0, 0xE9},
        {Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)), 0, 0, 0x20AC},
        {Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(U"\U0001F6E9", 1), 0, 0, 0x1F6E9},
        {Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x85)), 0, 0, -1},  // a control character
        {Qt::Key_Insert, Qt::ShiftModifier, {}, 45, 1, -1},
    };
    for (const Case& c : cases) {
        const KeyStroke k = translateKey(c.qtKey, c.mods, c.text);
        EXPECT_FALSE(k.tab);
        EXPECT_EQ(k.keyCode, c.keyCode) << c.text.toStdString();
        EXPECT_EQ(k.shift, c.shift) << c.text.toStdString();
        EXPECT_EQ(k.keyAscii, c.keyAscii) << c.text.toStdString();
    }
    EXPECT_TRUE(translateKey(Qt::Key_Tab, Qt::NoModifier, "\t").tab);
    EXPECT_FALSE(translateKey(Qt::Key_Tab, Qt::NoModifier, "\t").backwards);
    EXPECT_TRUE(translateKey(Qt::Key_Backtab, Qt::ShiftModifier, {}).backwards);
}

TEST(TextPositions, LineBreaksCountTwiceInTheModelOnceOnScreen) {
    const std::string text = "ab\r\ncd";
    EXPECT_EQ(displayText(text, true), "ab\ncd");
    EXPECT_EQ(displayText(text, false), "ab cd");
    EXPECT_EQ(displayText("\xC3\xA9t\xC3\xA9", false), QString::fromUtf8("été"));
    // Positions count characters in the model and UTF-16 units on screen.
    const std::string wide = "\xE2\x82\xAC\xF0\x9F\x98\x80x";  // euro sign, an emoji, x
    EXPECT_EQ(displayPosition(wide, 1), 1);
    EXPECT_EQ(displayPosition(wide, 2), 3);
    EXPECT_EQ(modelPosition(wide, 3), 2);
    EXPECT_EQ(modelPosition(wide, 4), 3);
    EXPECT_EQ(displayPosition(text, 2), 2);
    EXPECT_EQ(displayPosition(text, 4), 3);
    EXPECT_EQ(displayPosition(text, 99), 5);
    EXPECT_EQ(modelPosition(text, 2), 2);
    EXPECT_EQ(modelPosition(text, 3), 4);
    EXPECT_EQ(modelPosition(text, 5), 6);
}

TEST(MsgBoxStyles, StylesGiveButtonsIconAndDefault) {
    using B = QMessageBox;
    struct Case {
        int style;
        std::vector<B::StandardButton> buttons;
        B::Icon icon;
        B::StandardButton defaultButton;
    };
    const Case cases[] = {
        {0, {B::Ok}, B::NoIcon, B::Ok},
        {16, {B::Ok}, B::Critical, B::Ok},
        {48, {B::Ok}, B::Warning, B::Ok},
        {64, {B::Ok}, B::Information, B::Ok},
        {1, {B::Ok, B::Cancel}, B::NoIcon, B::Ok},
        {1 + 256, {B::Ok, B::Cancel}, B::NoIcon, B::Cancel},
        {3 + 32, {B::Yes, B::No, B::Cancel}, B::Question, B::Yes},
        {4, {B::Yes, B::No}, B::NoIcon, B::Yes},
        {292, {B::Yes, B::No}, B::Question, B::No},
        {0 + 256, {B::Ok}, B::NoIcon, B::Ok},  // no second button: the first
    };
    for (const Case& c : cases) {
        const MsgBoxLayout layout = msgBoxLayout(c.style);
        EXPECT_EQ(layout.buttons, c.buttons) << c.style;
        EXPECT_EQ(layout.icon, c.icon) << c.style;
        EXPECT_EQ(layout.defaultButton, c.defaultButton) << c.style;
    }
    EXPECT_EQ(msgBoxAnswer(B::Ok), msgbox::kOk);
    EXPECT_EQ(msgBoxAnswer(B::Cancel), msgbox::kCancel);
    EXPECT_EQ(msgBoxAnswer(B::Yes), msgbox::kYes);
    EXPECT_EQ(msgBoxAnswer(B::No), msgbox::kNo);
}

// Answers the next message box with a key once it is on screen.
void answerNextBoxWith(int qtKey) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, qtKey] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        key(box, qtKey, qtKey == Qt::Key_Escape ? QString(QChar(27)) : QString("\r"));
    });
    poll->start(10);
}

TEST(QtDialogsTest, MessageBoxesAnswerWithTheRuntimeCodes) {
    QtDialogs dialogs;
    struct Case {
        int style;
        int qtKey;
        int answer;
    };
    const Case cases[] = {
        {64, Qt::Key_Return, msgbox::kOk},
        {292, Qt::Key_Return, msgbox::kNo},  // No is the default
        {4 + 32, Qt::Key_Return, msgbox::kYes},
        {1, Qt::Key_Escape, msgbox::kCancel},
        {3, Qt::Key_Escape, msgbox::kCancel},
    };
    for (const Case& c : cases) {
        answerNextBoxWith(c.qtKey);
        EXPECT_EQ(dialogs.MsgBox("Press OK to continue", c.style, "Title"), c.answer) << c.style;
    }
}

}  // namespace
