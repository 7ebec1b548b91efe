// The real program on the offscreen platform: Program, its forms and a window
// for each, wired as the Qt program wires them, on real database files in a
// fresh working folder. Real key and mouse events go to the real widgets; the
// message boxes are real QMessageBoxes, answered from a timer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "logic/opening_fixture.h"
#include "platform/clock.h"
#include "platform/qt/form_windows.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/when_painted.h"
#include "platform/services.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"
#include "qt/input_events.h"
#include "qt/qt_environment.h"

using namespace wb;
using namespace std::chrono_literals;

namespace {

// Runs the event loop until `done` holds or the limit has passed.
bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void processEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

using namespace wb::testing;

// Answers every message box that comes on screen by clicking its default
// button, and keeps what each one showed. Without it a box no test expects
// would wait for an answer forever.
class MessageBoxAnswerer {
public:
    struct Shown {
        QString title, text;
        QMessageBox::Icon icon;
        QString answeredWith;
    };
    std::vector<Shown> shown;
    // Buttons to press, one per box, before the default button is taken.
    std::vector<QMessageBox::StandardButton> answers;
    // Runs once while the next box is on screen, before it is answered.
    std::function<void()> whileShown;

    MessageBoxAnswerer() {
        QObject::connect(&poll_, &QTimer::timeout, [this] { answer(); });
        poll_.start(10);
    }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (whileShown) std::exchange(whileShown, nullptr)();
        QAbstractButton* button = box->defaultButton();
        if (!answers.empty()) {
            button = box->button(answers.front());
            answers.erase(answers.begin());
        }
        if (!button && !box->buttons().isEmpty()) button = box->buttons().front();
        shown.push_back({box->windowTitle(), box->text(), box->icon(), button ? button->text() : QString()});
        if (button)
            click(button);
        else
            key(box, Qt::Key_Escape, QString(QChar(27)));
    }
    QTimer poll_;
};

// The program as the Qt program builds it, started in a working folder whose
// settings name a data folder that holds a record database with a full shop
// row; the main window is made while the splash window is shown, and the
// splash window's timer hands over to it.
class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string data = files.subFolder("data");
        files.settings(data, "555-0100");
        files.recordDatabase(data, wb::testing::OpeningFixture::fullShop());

        printer = std::make_unique<QtPrinter>(files.folder.file("Printouts"), QtPrinter::Mode::Pdf);
        dialogs = std::make_unique<QtDialogs>([this] { return &printer->qPrinter(); });
        databases = makeSqliteEngine();
        services.dialogs = dialogs.get();
        services.clock = &clock;
        services.databases = databases.get();
        services.printer = printer.get();
        services.endProgram = [this] { ++endings; };

        program = std::make_unique<Program>(services);
        program->formLoaded = [this](Form& form) {
            if (&form == static_cast<Form*>(program->splash())) {
                windows.open(form, {.onClose = {}, .onActivate = {}, .splash = true});
                return;
            }
            mainMadeWhileSplashCounts = program->splash()->Timer1.timerEnabled();
            windows.open(form, {.onClose = [this] { program->closeMainWindowByUser(); },
                                .onActivate = [this] { program->activateMainWindow(); }});
        };
        program->formUnloading = [this](Form& form) { windows.close(form); };
        program->start();
        whenPainted(windows.of(*program->splash()), [this] { program->buildMainWindow(); });
        ASSERT_TRUE(spinUntil([this] { return program->mainWindow() && !program->splash(); }))
            << "the splash window never handed over";
        processEvents();
        ASSERT_TRUE(boxes.shown.empty()) << boxes.shown.front().title.toStdString();
        ASSERT_EQ(f().ws.NewRecordMode, 1);
    }

    void TearDown() override {
        windows.clear();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        program.reset();
        EXPECT_EQ(endings, 0);
    }

    Form1& f() { return *program->mainWindow(); }
    FormWindow& window() { return windows.of(f()); }
    template <class View>
    View* view(const Control& c) {
        auto* v = dynamic_cast<View*>(window().viewOf(c));
        EXPECT_NE(v, nullptr) << c.name();
        return v;
    }

    wb::testing::OpeningFixture files;  // the working folder and its database files
    std::unique_ptr<QtPrinter> printer;
    std::unique_ptr<QtDialogs> dialogs;
    SystemClock clock;
    std::unique_ptr<DatabaseEngine> databases;
    Services services;
    int endings = 0;
    bool mainMadeWhileSplashCounts = false;
    std::unique_ptr<Program> program;
    FormWindows windows;
    MessageBoxAnswerer boxes;
};

TEST_F(RealProgram, TheMainWindowShowsWithTheRecordDatabaseOpen) {
    EXPECT_TRUE(mainMadeWhileSplashCounts);
    EXPECT_TRUE(window().isVisible());
    EXPECT_NE(f().dbRecords, nullptr);
    EXPECT_EQ(f().Text17.text(), "Korrin Aviation");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the splash window's hourglass is gone
}

TEST_F(RealProgram, TheTailNumberIsUpperCasedAsTyped) {
    auto* text1 = view<QLineEdit>(f().Text1);
    ASSERT_NE(text1, nullptr);
    click(text1);
    EXPECT_EQ(f().focused(), &f().Text1);
    EXPECT_EQ(QApplication::focusWidget(), text1);

    type(text1, "n12ab");
    EXPECT_EQ(f().Text1.text(), "N12AB");
    EXPECT_EQ(text1->text(), "N12AB");
    EXPECT_EQ(text1->cursorPosition(), 5);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RealProgram, AWeightTypedIntoTheChangeListIsCommittedByEnter) {
    auto* grid = view<GridView>(f().Grid1);
    ASSERT_NE(grid, nullptr);
    click(grid->viewport(), grid->cellRect(1, 2).center());
    EXPECT_EQ(f().focused(), &f().Grid1);
    ASSERT_EQ(f().Grid1.row(), 1);
    ASSERT_EQ(f().Grid1.col(), 2);

    type(grid, "12.5");
    EXPECT_EQ(f().Grid1.cell(1, 2), "12.5");
    key(grid, Qt::Key_Return, "\r");

    EXPECT_EQ(f().Grid1.cell(1, 2), "12.50");
    EXPECT_EQ(f().ws.ChangeWeight[1].toNumber(), 12.5);
    EXPECT_EQ(f().ws.CellEditing, 0);
    EXPECT_EQ(f().Grid1.col(), 3);  // Enter moves on to the arm
    EXPECT_EQ(f().Grid1.rows(), 30);
    EXPECT_TRUE(boxes.shown.empty());
}

// Characters beyond Latin-1, typed and pasted into a description cell, reach
// the grid's KeyPress one by one, as the worksheet's own cell editing takes them.
TEST_F(RealProgram, TypedAndPastedCharactersBeyondLatin1ReachTheCell) {
    const QString text = QString::fromUtf8("€’–Ł");
    auto* grid = view<GridView>(f().Grid1);
    ASSERT_NE(grid, nullptr);
    click(grid->viewport(), grid->cellRect(1, 0).center());
    ASSERT_EQ(f().Grid1.col(), 0);

    type(grid, text);
    EXPECT_EQ(f().Grid1.cell(1, 0), "€’–Ł");
    QGuiApplication::clipboard()->setText(text + "\r\n");
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    QApplication::sendEvent(grid, &paste);
    EXPECT_EQ(f().Grid1.cell(1, 0), "€’–Ł€’–Ł");  // the line break is left out
    EXPECT_EQ(f().ws.ChangeDesc[1].toText(), "€’–Ł€’–Ł");
    key(grid, Qt::Key_Backspace, "\b");
    EXPECT_EQ(f().Grid1.cell(1, 0), "€’–Ł€’–");  // one character off, not one byte

    auto* make = view<QLineEdit>(f().Text3);
    click(make);
    type(make, text);
    EXPECT_EQ(f().Text3.text(), "€’–Ł");
    EXPECT_EQ(make->text(), text);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RealProgram, SpecsWithoutATailNumberShowsAMessageBoxAndStaysClosed) {
    ASSERT_TRUE(f().Text1.text().empty());
    auto* specs = view<QPushButton>(f().Command3D23);
    ASSERT_NE(specs, nullptr);
    click(specs);

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "No aircraft identified.");
    EXPECT_EQ(boxes.shown[0].text, "Press OK to continue");
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(f().Panel3D6.visible());
    EXPECT_FALSE(window().viewOf(f().Panel3D6)->isVisible());
    EXPECT_TRUE(f().Command3D13.enabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the box's arrow is gone with it
}

TEST_F(RealProgram, SaveShowsTheHourglassWhileItRuns) {
    auto* text1 = view<QLineEdit>(f().Text1);
    auto* save = view<QPushButton>(f().Command3D13);
    ASSERT_NE(text1, nullptr);
    ASSERT_NE(save, nullptr);
    click(text1);
    type(text1, "n12ab");

    // What the form asks for at each change, and the cursor Qt shows then.
    struct Seen {
        int pointer;
        bool overridden;
        Qt::CursorShape shape;
    };
    std::vector<Seen> seen{{f().mousePointer(), QApplication::overrideCursor() != nullptr, Qt::ArrowCursor}};
    f().observe([&] {
        if (!program->mainWindow()) return;
        const QCursor* cursor = QApplication::overrideCursor();
        const Seen now{f().mousePointer(), cursor != nullptr, cursor ? cursor->shape() : Qt::ArrowCursor};
        if (seen.back().pointer != now.pointer) seen.push_back(now);
    });

    click(save);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].pointer, pointer::kDefault);
    EXPECT_FALSE(seen[0].overridden);
    EXPECT_EQ(seen[1].pointer, pointer::kHourglass);
    EXPECT_TRUE(seen[1].overridden);
    EXPECT_EQ(seen[1].shape, Qt::WaitCursor);
    EXPECT_EQ(seen[2].pointer, pointer::kDefault);
    EXPECT_FALSE(seen[2].overridden);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.shown.empty());

    // It saved: the weighing is stored under the typed tail number.
    EXPECT_EQ(f().ws.SavedState, 1);
    auto stored = openRecordDatabase(*databases, files.folder.file("data/" + std::string(kRecordDatabaseName)));
    auto rs = stored->CreateDynaset(RecordSource("Aircraft").Where(Criteria("Tail", Compare::Equal, "N12AB")));
    EXPECT_FALSE(rs->IsEOF());
}

// The title bar's close button with an unsaved worksheet asks the question of
// Exit: No keeps the window open with the worksheet as it was, Yes closes it
// and ends the program.
TEST_F(RealProgram, TheCloseButtonAsksBeforeAnUnsavedWorksheetGoes) {
    auto* text1 = view<QLineEdit>(f().Text1);
    ASSERT_NE(text1, nullptr);
    click(text1);
    type(text1, "n12ab");
    ASSERT_EQ(f().ws.SavedState, 0);

    window().close();  // as the window system delivers the close button
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Weight & Balance on screen not saved");
    EXPECT_EQ(boxes.shown[0].text, "OK to exit program without saving?");
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Question);
    EXPECT_EQ(boxes.shown[0].answeredWith, "&No");
    processEvents();
    ASSERT_NE(program->mainWindow(), nullptr);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(f().Text1.text(), "N12AB");
    EXPECT_EQ(text1->text(), "N12AB");
    EXPECT_EQ(endings, 0);

    boxes.answers = {QMessageBox::Yes};
    QWidget* closed = &window();
    QPointer<QWidget> alive(closed);
    closed->close();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].answeredWith, "&Yes");
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(endings, 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull() || !alive->isVisible());
    endings = 0;  // the ending this test asked for
}

// The desktop session ends while the close button's question is on screen:
// the program ends without waiting for the answer, and the answer given later
// closes nothing twice.
TEST_F(RealProgram, TheSessionEndingDuringTheQuestionEndsTheProgram) {
    auto* text1 = view<QLineEdit>(f().Text1);
    click(text1);
    type(text1, "n12ab");
    boxes.whileShown = [this] { program->closeMainWindow(); };
    window().close();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Weight & Balance on screen not saved");
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(program->mainWindow(), nullptr);
    EXPECT_EQ(endings, 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    endings = 0;  // the ending this test asked for
}

// Typed keys, Backspace and a paste in the new C.G. are refused with the
// notice of a click; the figure stays, the selection and Copy still work.
TEST_F(RealProgram, TypingIntoAResultBoxIsRefused) {
    auto* text9 = view<QLineEdit>(f().Text9);
    auto* result = view<QLineEdit>(f().Text24);
    ASSERT_NE(text9, nullptr);
    ASSERT_NE(result, nullptr);
    click(text9);
    type(text9, "1500");
    key(text9, Qt::Key_Return, "\r");
    type(view<QLineEdit>(f().Text10), "80");
    key(view<QLineEdit>(f().Text10), Qt::Key_Return, "\r");
    ASSERT_EQ(f().Text24.text(), "80.00");

    // Tab from the change list reaches the new values, as a user does.
    auto* grid = view<GridView>(f().Grid1);
    click(grid->viewport(), grid->cellRect(1, 0).center());
    key(grid, Qt::Key_Tab);
    key(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(f().focused(), &f().Text24);
    EXPECT_EQ(QApplication::focusWidget(), result);
    ASSERT_TRUE(boxes.shown.empty());

    type(result, "123");
    key(result, Qt::Key_Backspace, "\b");
    QGuiApplication::clipboard()->setText("9");
    key(result, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    ASSERT_EQ(boxes.shown.size(), 5u);
    for (const auto& box : boxes.shown) {
        EXPECT_EQ(box.title, "This field not editable");
        EXPECT_EQ(box.text, "Press OK to Continue");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    EXPECT_EQ(f().Text24.text(), "80.00");
    EXPECT_EQ(result->text(), "80.00");
    EXPECT_EQ(f().focused(), &f().Text24);

    key(result, Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
    key(result, Qt::Key_C, QString(QChar(3)), Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "80.00");
    EXPECT_EQ(result->selectedText(), "80.00");
    EXPECT_EQ(boxes.shown.size(), 5u);
}

}  // namespace
