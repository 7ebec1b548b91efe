// The program shell: start-up, Exit, New, Notes, the meter caption, SPECS, the
// about panel, closing the window, and the new record.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <unistd.h>

#include "app/form2.h"
#include "app/program.h"
#include "logic/main_window_fixture.h"
#include "platform/sqlite/sqlite_engine.h"

namespace wb {
namespace {

using testing::FakeDialogs;
using testing::MainWindowFixture;

struct ProgramFixture {
    FakeDialogs dialogs;
    FixedClock clock{Date{2004, 3, 9}};
    Services services;
    std::vector<std::string> events;
    int endings = 0;
    std::unique_ptr<Program> program;

    ProgramFixture() {
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.endProgram = [this] { ++endings; };
        program = std::make_unique<Program>(services);
        program->formLoaded = [this](Form& f) { events.push_back("loaded " + f.name()); };
        program->formUnloading = [this](Form& f) { events.push_back("unloading " + f.name()); };
    }
};

// The state the hand-over leaves, whether the main window was made by it or ahead.
void expectHandedOver(ProgramFixture& p, Form2* splash) {
    EXPECT_EQ(splash->containedFailures(), 0) << splash->lastFailure();
    EXPECT_FALSE(splash->Timer1.timerEnabled());
    EXPECT_EQ(splash->mousePointer(), pointer::kDefault);
    EXPECT_EQ(p.program->splash(), nullptr);

    Form1* main = p.program->mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->containedFailures(), 0) << main->lastFailure();
    EXPECT_TRUE(main->visible());
    EXPECT_EQ(main->caption(), "Weight and Balance");
    EXPECT_EQ(main->Text7.text(), "03-09-2004");
    EXPECT_EQ(main->Grid1.rows(), 30);
    EXPECT_EQ(main->Grid1.font().name, "Arial");
    EXPECT_EQ(main->Grid2.cell(0, 0), "Right Main");
    EXPECT_EQ(main->ws.NewRecordMode, 1);
    EXPECT_EQ(main->ws.PreviousListPending, 1);
    EXPECT_EQ(main->ws.SavedState, 0);
    EXPECT_EQ(main->rsAircraft, nullptr);
    EXPECT_FALSE(main->Panel3D6.visible());
    EXPECT_TRUE(main->Panel3D1.visible());
    EXPECT_EQ(p.events, (std::vector<std::string>{"loaded Form2", "loaded Form1", "unloading Form2"}));
    EXPECT_FALSE(p.program->ended());
}

TEST(StartUp, SplashHandsOverToTheMainWindowWhenItsTimerFires) {
    ProgramFixture p;
    p.program->start();
    Form2* splash = p.program->splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->visible());
    EXPECT_TRUE(splash->Timer1.timerEnabled());
    EXPECT_EQ(splash->Timer1.interval(), 1500);
    EXPECT_EQ(splash->mousePointer(), pointer::kHourglass);
    EXPECT_EQ(p.program->mainWindow(), nullptr);

    splash->dispatch([&] { splash->Timer1.fire(); });
    expectHandedOver(p, splash);
}

// The main window made while the splash window is shown has its controls (and
// views) only: it is loaded, shown and activated by the hand-over, as one made
// by the hand-over is.
TEST(StartUp, AMainWindowMadeAheadIsLoadedAndShownOnlyByTheHandOver) {
    ProgramFixture p;
    Form* ahead = nullptr;
    p.program->formLoaded = [&, note = p.program->formLoaded](Form& form) {
        note(form);
        ahead = &form;
    };
    p.program->start();
    Form2* splash = p.program->splash();
    p.program->buildMainWindow();
    p.program->buildMainWindow();  // once only
    EXPECT_EQ(p.events, (std::vector<std::string>{"loaded Form2", "loaded Form1"}));
    EXPECT_EQ(p.program->mainWindow(), nullptr);
    EXPECT_FALSE(ahead->visible());
    EXPECT_EQ(static_cast<Form1*>(ahead)->Text7.text(), "");  // not loaded: no new record yet
    EXPECT_TRUE(splash->Timer1.timerEnabled());
    EXPECT_EQ(splash->mousePointer(), pointer::kHourglass);

    splash->dispatch([&] { splash->Timer1.fire(); });
    expectHandedOver(p, splash);
    EXPECT_EQ(p.program->mainWindow(), ahead);

    p.program->buildMainWindow();  // after the hand-over: nothing
    EXPECT_EQ(p.program->mainWindow(), ahead);
    EXPECT_EQ(p.events.size(), 3u);
}

TEST(StartUp, NoMainWindowIsMadeAheadWithoutASplashWindow) {
    ProgramFixture p;
    p.program->buildMainWindow();  // before the start
    EXPECT_TRUE(p.events.empty());
    p.program->start();
    p.program->splash()->Timer1.fire();
    p.program->closeMainWindow();
    p.program->buildMainWindow();  // after the end
    EXPECT_EQ(p.events, (std::vector<std::string>{"loaded Form2", "loaded Form1", "unloading Form2", "unloading Form1"}));
    EXPECT_EQ(p.program->mainWindow(), nullptr);
}

TEST(StartUp, ClosingTheMainWindowEndsWithoutAQuestion) {
    ProgramFixture p;
    p.program->start();
    p.program->splash()->Timer1.fire();
    p.program->mainWindow()->Text1.setText("N1");  // unsaved
    p.program->closeMainWindow();
    EXPECT_TRUE(p.program->ended());
    EXPECT_EQ(p.endings, 1);
    EXPECT_TRUE(p.dialogs.shown.empty());
    EXPECT_EQ(p.program->mainWindow(), nullptr);
    EXPECT_EQ(p.events.back(), "unloading Form1");
}

// The window's close button asks as Exit does while the worksheet is unsaved:
// No keeps the window and the worksheet, Yes closes; with nothing unsaved it
// closes at once.
TEST(StartUp, TheCloseButtonAsksAsExitDoes) {
    struct Case { int16_t saved; int answer; bool asked; bool closes; };
    for (const Case c : {Case{0, msgbox::kNo, true, false}, Case{0, msgbox::kYes, true, true},
                         Case{1, msgbox::kNo, false, true}, Case{2, msgbox::kNo, false, true}}) {
        ProgramFixture p;
        p.program->start();
        p.program->splash()->Timer1.fire();
        Form1& f = *p.program->mainWindow();
        f.Text1.setText("N1");
        f.ws.SavedState = c.saved;
        p.dialogs.answers.push_back(c.answer);
        p.program->closeMainWindowByUser();
        EXPECT_EQ(p.dialogs.shown.size(), c.asked ? 1u : 0u) << c.saved;
        if (c.asked) {
            EXPECT_EQ(p.dialogs.shown[0].title, "Weight & Balance on screen not saved");
            EXPECT_EQ(p.dialogs.shown[0].text, "OK to exit program without saving?");
            EXPECT_EQ(p.dialogs.shown[0].style, 292);
        }
        EXPECT_EQ(p.program->ended(), c.closes) << c.saved << " " << c.answer;
        EXPECT_EQ(p.program->mainWindow() == nullptr, c.closes);
        if (!c.closes) {
            EXPECT_EQ(f.Text1.text(), "N1");
            EXPECT_EQ(f.ws.SavedState, 0);
            EXPECT_TRUE(f.visible());
        }
    }
}

// A question nobody can answer (the handler fails) keeps the window open.
TEST(StartUp, TheCloseButtonKeepsTheWindowWhenTheQuestionFails) {
    ProgramFixture p;
    p.program->start();
    p.program->splash()->Timer1.fire();
    Form1& f = *p.program->mainWindow();
    f.QueryUnload = [](int&) { throw RuntimeError(kInvalidCall, "no dialog"); };
    p.program->closeMainWindowByUser();
    EXPECT_FALSE(p.program->ended());
    EXPECT_EQ(p.program->mainWindow(), &f);
}

TEST(StartUp, ExitThroughTheProgramMakesItEnded) {
    ProgramFixture p;
    p.program->start();
    p.program->splash()->Timer1.fire();
    Form1& f = *p.program->mainWindow();
    f.ws.SavedState = 1;
    f.userClick(f.Command3D12);
    EXPECT_TRUE(p.program->ended());
    EXPECT_EQ(p.endings, 1);
}

TEST(Exit, AsksOnlyWhileTheWorksheetIsUnsaved) {
    struct Case { int16_t saved; int answer; bool asked; bool ends; };
    for (const Case c : {Case{0, msgbox::kNo, true, false}, Case{0, msgbox::kYes, true, true},
                         Case{1, 0, false, true}, Case{2, 0, false, true}}) {
        MainWindowFixture w;
        w.f().ws.SavedState = c.saved;
        if (c.answer) w.dialogs.answers.push_back(c.answer);
        w.click(w.f().Command3D12);
        ASSERT_EQ(w.dialogs.shown.size(), c.asked ? 1u : 0u) << c.saved;
        if (c.asked) {
            EXPECT_EQ(w.dialogs.shown[0].text, "OK to exit program without saving?");
            EXPECT_EQ(w.dialogs.shown[0].title, "Weight & Balance on screen not saved");
            EXPECT_EQ(w.dialogs.shown[0].style, 292);
        }
        EXPECT_EQ(w.endings, c.ends ? 1 : 0) << c.saved << " " << c.answer;
    }
}

TEST(Exit, UnansweredQuestionTakesNo) {
    MainWindowFixture w;
    w.click(w.f().Command3D12);
    EXPECT_EQ(w.endings, 0);
}

TEST(New, NoLeavesEverythingAsItWas) {
    MainWindowFixture w;
    Form1& f = w.f();
    w.type(f.Text1, "n1");
    f.ws.SearchActive = 1;
    f.ws.MoveDirection = 2;
    w.dialogs.answers.push_back(msgbox::kNo);
    w.click(f.Command3D19);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text, "OK to start new form without saving?");
    EXPECT_EQ(w.dialogs.shown[0].title, "Weight & Balance on screen not saved");
    EXPECT_EQ(w.dialogs.shown[0].style, 292);
    EXPECT_EQ(f.Text1.text(), "N1");
    EXPECT_EQ(f.ws.SearchActive, 1);
    EXPECT_EQ(f.ws.MoveDirection, 2);
}

TEST(New, StartsANewRecordAfterYesOrWhenSaved) {
    for (const int16_t saved : {int16_t{0}, int16_t{1}, int16_t{2}}) {
        MainWindowFixture w;
        Form1& f = w.f();
        f.Text25.setText("J. Smith");
        f.Text26.setText("A&P 123");
        f.Text1.setText("N1");
        f.Text2.setText("S1");
        f.ws.SearchActive = 1;
        f.ws.BrowseStarted = 1;
        f.ws.MoveDirection = 1;
        f.ws.NewRecordMode = 0;
        f.ws.NewEmptyWeight = 1505;
        f.ws.WeighedWeight = 1500;
        f.ws.SavedState = saved;
        w.dialogs.answers.push_back(msgbox::kYes);
        w.click(f.Command3D19);
        EXPECT_EQ(w.dialogs.shown.size(), saved == 0 ? 1u : 0u);
        EXPECT_EQ(f.ws.SearchActive, 0);
        EXPECT_EQ(f.ws.BrowseStarted, 0);
        EXPECT_EQ(f.ws.MoveDirection, 0);
        EXPECT_EQ(f.ws.NewRecordMode, 1);
        EXPECT_EQ(f.ws.PreviousListPending, 1);
        EXPECT_EQ(f.ws.SavedState, 0);
        EXPECT_EQ(f.ws.NewEmptyWeight, 0.0f);
        EXPECT_EQ(f.ws.WeighedWeight, 1500.0f);  // kept until the next recalculation
        EXPECT_EQ(f.Text1.text(), "");  // SearchActive was cleared before clearing
        EXPECT_EQ(f.Text2.text(), "");
        EXPECT_EQ(f.Text7.text(), "03-09-2004");
        EXPECT_EQ(f.Text6.text(), "J. Smith");
        EXPECT_EQ(f.Text22.text(), "A&P 123");
        EXPECT_EQ(w.focus(), "Text1");
        EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
    }
}

TEST(NewRecord, WithoutADatabaseSkipsTheRecordSetSteps) {
    MainWindowFixture w;
    Form1& f = w.f();
    w.clock.set(Date{2010, 12, 1});
    f.NewRecord();
    EXPECT_EQ(f.dbRecords, nullptr);
    EXPECT_EQ(f.rsAircraft, nullptr);
    EXPECT_EQ(f.rsEquipment, nullptr);
    EXPECT_EQ(f.Text7.text(), "12-01-2010");
    EXPECT_EQ(f.Text6.text(), "");
    EXPECT_EQ(f.Text22.text(), "");
    EXPECT_EQ(f.ws.NewRecordMode, 1);
}

TEST(Notes, ButtonTogglesThePanelAndFocusesTheNotes) {
    MainWindowFixture w;
    Form1& f = w.f();
    w.click(f.Command3D15);
    EXPECT_TRUE(f.Panel3D5.visible());
    EXPECT_EQ(w.focus(), "Text13");
    w.click(f.Command3D15);
    EXPECT_FALSE(f.Panel3D5.visible());
    w.click(f.Command3D15);
    EXPECT_EQ(w.focus(), "Text13");
}

TEST(MeterCaption, TogglesBetweenTachAndHobbs) {
    MainWindowFixture w;
    CommandButton& b = w.f().Command3D20;
    EXPECT_EQ(b.caption(), "Tach");
    for (const auto& [before, after] : {std::pair{"Tach", "Hobbs"}, std::pair{"Hobbs", "Tach"},
                                        std::pair{"hobbs", "Hobbs"}, std::pair{"", "Hobbs"}}) {
        b.setCaption(before);
        w.click(b);
        EXPECT_EQ(b.caption(), after) << before;
    }
}

// The buttons the CG specifications panel switches off, in the order it does.
std::vector<Control*> lockedBySpecs(Form1& f) {
    return {&f.Command3D17, &f.Command3D18, &f.Command3D15, &f.Command3D26, &f.Command3D14,
            &f.Command3D19, &f.Command3D13, &f.Command3D12, &f.Command3D16, &f.Panel3D1};
}

TEST(Specs, RefusedWithoutATailNumber) {
    MainWindowFixture w;
    Form1& f = w.f();
    f.Text2.setText("S1");  // data elsewhere does not count
    w.click(f.Command3D23);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "No aircraft identified.");
    EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue");
    EXPECT_EQ(w.dialogs.shown[0].style, 64);
    EXPECT_FALSE(f.Panel3D6.visible());
    for (Control* c : lockedBySpecs(f)) EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_EQ(f.ws.PreviousListPending, 1);
}

TEST(Specs, OpeningLocksTheWindowAndClosingUnlocksIt) {
    MainWindowFixture w;
    Form1& f = w.f();
    f.Text1.setText("  ");  // blanks count as a tail number
    w.click(f.Command3D23);
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_TRUE(f.Panel3D6.visible());
    EXPECT_EQ(w.focus(), "Text14");
    for (Control* c : lockedBySpecs(f)) EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_TRUE(f.Command3D23.enabled());
    EXPECT_TRUE(f.Command3D27.enabled());
    EXPECT_FALSE(f.Text1.usable());
    EXPECT_FALSE(f.Grid1.usable());
    EXPECT_EQ(f.ws.PreviousListPending, 1);

    w.click(f.Command3D12);  // Exit is locked
    EXPECT_EQ(w.endings, 0);

    w.click(f.Command3D23);
    EXPECT_FALSE(f.Panel3D6.visible());
    for (Control* c : lockedBySpecs(f)) EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_EQ(f.ws.PreviousListPending, 0);  // the previous list comes forward once only
}

TEST(About, ButtonTogglesAndLosingTheFocusHides) {
    MainWindowFixture w;
    Form1& f = w.f();
    w.click(f.Command3D26);
    EXPECT_TRUE(f.Panel3D4.visible());
    w.click(f.Command3D26);
    EXPECT_FALSE(f.Panel3D4.visible());
    w.click(f.Command3D26);
    w.f().userFocus(f.Text1);
    EXPECT_FALSE(f.Panel3D4.visible());
}

TEST(Layout, ControlsArePlacedInTheirPanels) {
    MainWindowFixture w;
    Form1& f = w.f();
    EXPECT_EQ(f.clientWidth(), 9615);
    EXPECT_EQ(f.clientHeight(), 6900);
    EXPECT_EQ(f.Text1.container(), &f.Panel3D3);
    EXPECT_EQ(f.Text7.container(), &f.Panel3D2);
    EXPECT_EQ(f.Grid2.container(), &f.Panel3D6);
    EXPECT_EQ(f.Text17.container(), &f.Panel3D7);
    EXPECT_EQ(f.Dir1.container(), &f.Panel3D11);
    EXPECT_EQ(f.Command3D6[0].name(), "Command3D6(0)");
    EXPECT_EQ(f.find("Command3D6(7)"), &f.Command3D6[7]);
    EXPECT_EQ(f.Command3D6[0].caption(), "Removed");
    EXPECT_EQ(f.Grid1.colWidth(0), 2790);
    EXPECT_EQ(f.Grid3.colAlignment(1), Alignment::Center);
    EXPECT_TRUE(f.Grid1.scrollBar());
    EXPECT_FALSE(f.Grid2.scrollBar());
    for (Panel* p : {&f.Panel3D6, &f.Panel3D5, &f.Panel3D4, &f.Panel3D7, &f.Panel3D11})
        EXPECT_FALSE(p->visible()) << p->name();
    // Every control has a distinct name.
    std::set<std::string> names;
    for (Control* c : f.controls()) EXPECT_TRUE(names.insert(c->name()).second) << c->name();
}

// Runs a test in a fresh working folder, as the program runs in its own.
struct InTemporaryFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder;
    InTemporaryFolder() {
        char name[] = "/tmp/wb-shell-XXXXXX";
        folder = mkdtemp(name);
        std::filesystem::current_path(folder);
    }
    ~InTemporaryFolder() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
};

TEST(SettingsStore, OpensWhenNeededAfterTheMainWindowClosedIt) {
    InTemporaryFolder cwd;
    auto engine = makeSqliteEngine();
    Services services;
    services.databases = engine.get();
    SettingsStore store(services);
    EXPECT_FALSE(store.isOpen());
    EXPECT_TRUE(store.row().field("DataPath").isNull());  // made new when missing
    EXPECT_TRUE(std::filesystem::exists(cwd.folder / "SetupVASK.MDB"));
    store.row().Edit();
    store.row().setField("DataPath", Value("/data"));
    store.row().Update();
    store.close();
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.row().field("DataPath"), Value("/data"));  // reopened
    EXPECT_TRUE(store.isOpen());
}

TEST(SettingsStore, WithoutAnEngineFailsAsAnUnsetObject) {
    Services services;
    SettingsStore store(services);
    try {
        store.row();
        FAIL() << "no failure";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), kObjectNotSet);
    }
}

}  // namespace
}  // namespace wb
