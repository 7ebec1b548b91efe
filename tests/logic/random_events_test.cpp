// Long random sequences of user input on the whole headless program (splash,
// main window, a real record database): typed keys, key-downs, clicks, cell
// clicks and random answers to every dialog. After every event: no handler
// failure reached the form, every grid keeps its row count, the mouse pointer
// is back to the default; every 500 events and at the end both database files
// pass integrity_check.
//
//   WB_RANDOM_EVENTS  number of events (default 5000)
//   WB_RANDOM_SEED    seed (default fixed); the seed used is printed
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "app/form2.h"
#include "app/program.h"
#include "logic/opening_fixture.h"
#include "platform/recording_printer.h"

namespace wb::testing {
namespace {

unsigned long envNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

// Answers every dialog at random with one of the buttons it shows.
class RandomDialogs : public Dialogs {
public:
    explicit RandomDialogs(std::mt19937& random) : random_(random) {}
    std::map<std::string, int> shown;  // message texts, how often

    int MsgBox(const std::string& text, int style, const std::string& title) override {
        ++shown[title + ": " + text];
        // Mostly stay: long runs of one program reach deeper states than restarts.
        if (text == "OK to exit program without saving?" && random_() % 8) return msgbox::kNo;
        switch (style & 7) {
        case msgbox::kYesNo: return pick({msgbox::kYes, msgbox::kNo});
        case msgbox::kOkCancel: return pick({msgbox::kOk, msgbox::kCancel});
        case msgbox::kYesNoCancel: return pick({msgbox::kYes, msgbox::kNo, msgbox::kCancel});
        default: return msgbox::kOk;
        }
    }
    std::optional<Font> chooseFont(const Font& preset) override {
        if (random_() % 2) return std::nullopt;
        static const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
        Font f = preset;
        f.name = faces[random_() % 3];
        f.size = 6 + random_() % 20;
        f.bold = random_() % 2;
        f.italic = random_() % 2;
        return f;
    }
    bool choosePrinter() override { return random_() % 2; }

private:
    int pick(std::initializer_list<int> answers) {
        return *(answers.begin() + random_() % answers.size());
    }
    std::mt19937& random_;
};

// "ok" or the problems that SQLite's integrity check reports.
std::string integrityOf(const std::string& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open " + file;
    }
    std::string result;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            result += reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    } else {
        result = sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

// The number of rows of a table, or -1.
long rowsOf(const std::string& file, const std::string& table) {
    sqlite3* db = nullptr;
    long rows = -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, ("SELECT count(*) FROM \"" + table + "\"").c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        rows = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

class RandomEvents {
public:
    explicit RandomEvents(unsigned long seed) : random_(seed), dialogs_(random_) {
        services_.dialogs = &dialogs_;
        services_.clock = &clock_;
        services_.databases = engine_.get();
        services_.printer = &printer_;
        dataFolder_ = folder_.path() + "/data";
        fs::create_directories(dataFolder_);
        prepareFiles();
        startProgram();
    }

    void run(unsigned long events) {
        for (unsigned long n = 1; n <= events; ++n) {
            if (!program_->mainWindow() || program_->ended()) startProgram();
            if (::testing::Test::HasFatalFailure()) return;
            event_ = n;
            oneEvent();
            checkAfterEvent();
            if (::testing::Test::HasFatalFailure()) return;
            if (n % 500 == 0) checkFiles();
        }
        checkFiles();
    }

    void report(std::ostream& out) const {
        const std::string records = dataFolder_ + "/" + kRecordDatabaseName;
        out << "starts " << starts_ << ", printed lines " << printerLines_ << ", stored weighings "
            << rowsOf(records, "Aircraft") << ", equipment rows " << rowsOf(records, "Equipment") << ", events on a found record " << searchShown_
            << ", on a stored record " << storedShown_ << "\n";
        for (const auto& [text, count] : failures_) out << "  contained " << count << "x: " << text << "\n";
        for (const auto& [text, count] : dialogs_.shown) out << "  message " << count << "x: " << text << "\n";
    }

private:
    void prepareFiles() {
        auto settings = createSettingsDatabase(*engine_, SettingsStore::kFileName);
        auto row = settings->CreateDynaset("Company");
        row->Edit();
        row->setField("DataPath", Value(dataFolder_));
        row->Update();
        settings->Close();
        auto db = createRecordDatabase(*engine_, dataFolder_ + "/" + kRecordDatabaseName);
        auto shop = db->CreateDynaset("CompanyInfo");
        shop->Edit();
        for (const auto& [name, value] : OpeningFixture::fullShop()) shop->setField(name, value);
        shop->Update();
        db->Close();
    }

    void startProgram() {
        if (program_) collectFailures();
        program_.reset();
        program_ = std::make_unique<Program>(services_);
        program_->start();
        Form2* splash = program_->splash();
        ASSERT_NE(splash, nullptr);
        splash->dispatch([splash] { splash->Timer1.fire(); });
        // The unloaded splash lives on with the program.
        EXPECT_EQ(splash->containedFailures(), 0) << splash->lastFailure();
        ASSERT_NE(program_->mainWindow(), nullptr);
        ++starts_;
        form_ = program_->mainWindow();
        Form1& f = *form_;
        seenFailures_ = 0;  // the load and first activation are checked too
        texts_.clear();
        grids_.clear();
        buttons_.clear();
        for (Control* c : f.controls()) {
            if (auto* t = dynamic_cast<TextBox*>(c)) texts_.push_back(t);
            if (auto* g = dynamic_cast<Grid*>(c)) grids_.push_back(g);
            if (dynamic_cast<CommandButton*>(c) || dynamic_cast<CheckBox*>(c)) buttons_.push_back(c);
        }
    }

    // A control taken at random among those that take input now, else any.
    template <class T>
    T* usableOne(const std::vector<T*>& all) {
        std::vector<T*> usable;
        for (T* c : all)
            if (c->usable() && c->shownOnScreen()) usable.push_back(c);
        const auto& from = usable.empty() || random_() % 10 == 0 ? all : usable;
        return from[random_() % from.size()];
    }

    int typedKey() {
        static const std::string keys = "ABCXYZabcxyz0123456789012345678901234.-  .-";
        const unsigned r = random_() % 100;
        if (r < 8) return keys::kReturn;
        if (r < 14) return keys::kBack;
        if (r < 17) {  // characters that search criteria and patterns treat specially
            static const std::string odd = "'\"*?#[]!\xE9";
            return static_cast<unsigned char>(odd[random_() % odd.size()]);
        }
        return static_cast<unsigned char>(keys[random_() % keys.size()]);
    }

    void oneEvent() {
        Form1& f = *program_->mainWindow();
        const unsigned r = random_() % 100;
        Control* focused = f.focused();
        if (r < 35) {  // typing into the focused control
            Control& c = focused ? *focused : static_cast<Control&>(*usableOne(texts_));
            f.userKeyPress(c, typedKey());
        } else if (r < 45) {  // to a text box or grid first, then typing
            Control& c = random_() % 3 ? static_cast<Control&>(*usableOne(texts_))
                                       : static_cast<Control&>(*usableOne(grids_));
            f.userFocus(c);
            const int n = random_() % 8 ? 1 + random_() % 6 : 1 + random_() % 60;
            for (int i = 0; i < n && program_->mainWindow() == &f; ++i)
                f.userKeyPress(f.focused() ? *f.focused() : c, typedKey());
        } else if (r < 60) {  // a key-down on the focused control
            static const int codes[] = {keys::kDelete, keys::kLeft, keys::kRight, keys::kUp,
                                        keys::kDown,   keys::kHome, keys::kEnd,   keys::kPageUp,
                                        keys::kPageDown, keys::kTab, keys::kTab, keys::kReturn};
            const int code = codes[random_() % std::size(codes)];
            const int shift = random_() % 4 == 0 ? static_cast<int>(random_() % 8) : 0;
            Control& c = focused ? *focused : static_cast<Control&>(*usableOne(texts_));
            f.userKeyDown(c, code, shift);
        } else if (r < 82) {  // a button or check box
            f.userClick(*usableOne(buttons_));
        } else if (r < 95) {  // a cell of a grid
            Grid& g = *usableOne(grids_);
            f.userCellClick(g, static_cast<int>(random_() % g.rows()), static_cast<int>(random_() % g.cols()));
        } else if (r < 99) {  // the focus somewhere by mouse
            Control* all[] = {usableOne(texts_), usableOne(grids_), usableOne(buttons_)};
            f.userFocus(*all[random_() % 3]);
        } else {  // the window's close box, or activation from the window system
            if (random_() % 20 == 0) program_->closeMainWindow();
            else program_->activateMainWindow();
        }
    }

    void collectFailures() {
        // The main window outlives its unloading: it stays with the program.
        Form1* f = form_;
        if (!f || f->containedFailures() == seenFailures_) return;
        // Only the last failure's text is kept: several in one event count as that one.
        const int added = f->containedFailures() - seenFailures_;
        seenFailures_ = f->containedFailures();
        const std::string& text = f->lastFailure();
        failures_[text] += added;
        // Every failing step the program expects is skipped inside its handler
        // (the focus step of a new record at load, the save steps); a failure
        // that reaches the form would have ended the old program.
        ADD_FAILURE() << "event " << event_ << ": contained failure " << text << " (" << added << "x)";
    }

    void checkAfterEvent() {
        collectFailures();
        Form1* f = program_->mainWindow();
        if (f) {
            static const std::map<std::string, int> rows = {
                {"Grid1", 30}, {"Grid2", 5}, {"Grid4", 5}, {"Grid3", 100}};
            for (const auto& [name, count] : rows) {
                const auto* g = dynamic_cast<const Grid*>(f->find(name));
                ASSERT_NE(g, nullptr);
                ASSERT_EQ(g->rows(), count) << name << " after event " << event_;
            }
            if (f->ws.SearchActive == 1) ++searchShown_;
            if (f->ws.NewRecordMode == 0) ++storedShown_;
            // Save and showing a record set the hourglass only while they run.
            EXPECT_EQ(f->mousePointer(), pointer::kDefault) << "after event " << event_;
        }
        printerLines_ += printer_.log().size();
        printer_.takeLog();
    }

    void checkFiles() {
        EXPECT_EQ(integrityOf(dataFolder_ + "/" + kRecordDatabaseName), "ok") << "event " << event_;
        EXPECT_EQ(integrityOf(folder_.file(SettingsStore::kFileName)), "ok") << "event " << event_;
    }

    WorkingFolder folder_;
    std::string dataFolder_;
    std::mt19937 random_;
    RandomDialogs dialogs_;
    FixedClock clock_{Date{2004, 3, 9}};
    std::unique_ptr<DatabaseEngine> engine_ = makeSqliteEngine();
    RecordingPrinter printer_;
    Services services_;
    std::unique_ptr<Program> program_;
    Form1* form_ = nullptr;
    std::vector<TextBox*> texts_;
    std::vector<Grid*> grids_;
    std::vector<Control*> buttons_;
    int seenFailures_ = 0;
    unsigned long event_ = 0;
    int starts_ = 0;
    size_t printerLines_ = 0;
    long searchShown_ = 0, storedShown_ = 0;  // events after which a found / stored record stood
    std::map<std::string, int> failures_;
};

TEST(RandomEvents, TheProgramHoldsUnderRandomInput) {
    const unsigned long seed = envNumber("WB_RANDOM_SEED", 20040309);
    const unsigned long events = envNumber("WB_RANDOM_EVENTS", 5000);
    std::cout << "WB_RANDOM_SEED=" << seed << " WB_RANDOM_EVENTS=" << events << std::endl;
    const auto started = std::chrono::steady_clock::now();
    RandomEvents run(seed);
    run.run(events);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << events << " events in " << seconds << " s; ";
    run.report(std::cout);
}

}  // namespace
}  // namespace wb::testing
