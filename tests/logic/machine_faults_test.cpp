// What the machine does to a running program: a record database that cannot
// be written, a disk that fills during a save, a second instance holding the
// file, the file deleted or replaced underneath, a printer that fails. In each
// the program goes on, tells the user, and the stored weighing is wholly the
// old one or wholly the new one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "logic/database_integrity.h"
#include "logic/immutable_file.h"
#include "logic/opening_fixture.h"
#include "logic/other_instance.h"
#include "logic/save_fixture.h"
#include "platform/recording_printer.h"
#include "reports/reports.h"

namespace wb {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::integrityOf;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Rewrites the file in place (same inode), as a program copying over it does.
void overwrite(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs SQL on the file through a connection of its own.
void rawExec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Version v of the weighing N1: make "V<v>", every equipment row's serial the
// same; version 1 is large enough that storing it grows the file.
int changeRowsOf(int v) { return v == 0 ? 2 : 30; }
int listRowsOf(int v) { return v == 0 ? 3 : 100; }

void fillVersion(Form1& f, int v) {
    f.ClearWorksheet();
    const std::string name = "V" + std::to_string(v);
    f.Text1.setText("N1");
    f.Text7.setText("03-09-2004");
    f.Text3.setText(name);
    f.Text13.setText(std::string(v == 0 ? 10 : 3000, 'n'));
    for (int i = 0; i < changeRowsOf(v); ++i) {
        f.ws.ChangeDesc[i] = "Change " + std::to_string(i);
        f.ws.ChangeSerial[i] = name;
        f.ws.ChangeWeight[i] = "1.5";
    }
    for (int i = 0; i < listRowsOf(v); ++i) {
        f.ws.ListDesc[i] = "Item " + std::to_string(i);
        f.ws.ListSerial[i] = name;
    }
}

// The version the file holds, or -1 for a mix: one weighing, its equipment
// rows all of its version and as many as it has.
int storedVersion(const std::string& path) {
    auto engine = makeSqliteEngine();
    auto db = openRecordDatabase(*engine, path);
    auto aircraft = db->CreateDynaset("Aircraft");
    if (aircraft->RecordCount() != 1) return -1;
    const std::string make = aircraft->field("Make").toText();
    const int v = std::stoi(make.substr(1));
    auto all = db->CreateDynaset("Equipment");
    auto own = db->CreateDynaset(RecordSource("Equipment").Where(Criteria("Serial", Compare::Equal, make)));
    const int rows = changeRowsOf(v) + listRowsOf(v);
    if (all->RecordCount() != rows || own->RecordCount() != rows) return -1;
    return v;
}

// Version 0 stored in a new record database at `path`.
void storeVersion0(const std::string& path) {
    testing::SaveFixture s(nullptr, path);
    fillVersion(s.f(), 0);
    s.save();
    ASSERT_EQ(s.f().ws.SavedState, 1);
}

// A main window on the record database at `path`, opened as the first
// activation opens it (or read-only), with a new record on screen.
struct Program {
    // A short wait for another instance's lock keeps the tests quick.
    static constexpr std::chrono::milliseconds kLockWait{500};
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine(kLockWait);
    testing::MainWindowFixture w;
    std::string path;

    explicit Program(const std::string& file, OpenMode mode = OpenMode::ReadWrite) : path(file) {
        auto db = mode == OpenMode::ReadWrite ? openRecordDatabase(*engine, path)
                                              : engine->OpenDatabase(path, OpenMode::ReadOnly);
        Form1& form = f();
        form.dbRecords = db;
        form.rsAircraft = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        form.rsCompanyInfo = db->CreateDynaset("CompanyInfo");
        form.rsEquipment = db->CreateDynaset("Equipment");
        form.rsFound = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        form.NewRecord();
        w.dialogs.shown.clear();
    }
    ~Program() { w.f().dbRecords.reset(); }

    Form1& f() { return w.f(); }
    void click(Control& c) { w.click(c); }

    // Version 1 on screen as a new weighing, or replacing the found one.
    void fill(bool searchMode) {
        Form1& form = f();
        replacesStored = !searchMode;
        if (searchMode) {
            form.rsFound->FindFirst(Criteria("Tail", Compare::Equal, "N1"));
            ASSERT_FALSE(form.rsFound->NoMatch());
            testing::markShown(form, *form.rsFound);
            form.ws.SearchActive = 1;
            form.ws.NewRecordMode = 0;
        }
        fillVersion(form, 1);
        form.ws.SavedState = 0;
    }

    // Save clicked; a new worksheet under the stored key is let replace it.
    void save() {
        if (replacesStored) testing::clickSaveReplacing(w);
        else click(f().Command3D13);
    }
    bool replacesStored = false;

    // Save was told it stored nothing: one critical notice with this title,
    // the worksheet still unsaved, and Exit still asks once the focus leaves
    // the Save button.
    void expectNotSaved(const std::string& title) {
        Form1& form = f();
        EXPECT_EQ(form.containedFailures(), 0) << form.lastFailure();
        EXPECT_EQ(form.mousePointer(), pointer::kDefault);
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, title);
        EXPECT_EQ(w.dialogs.shown[0].text, "Press OK to continue");
        EXPECT_EQ(w.dialogs.shown[0].style, msgbox::kOkOnly | msgbox::kCritical);
        EXPECT_EQ(form.ws.SavedState, 0);
        w.dialogs.shown.clear();
        w.dialogs.answers = {msgbox::kNo};
        click(form.Command3D12);  // Exit
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].text, "OK to exit program without saving?");
        EXPECT_EQ(w.endings, 0);
        w.dialogs.shown.clear();
    }
    void expectSaved() {
        EXPECT_TRUE(w.dialogs.shown.empty()) << w.dialogs.shown[0].title;
        EXPECT_EQ(f().ws.SavedState, 1);
    }
};

// ---- a record database that cannot be written -----------------------------

class FaultInBothModes : public ::testing::TestWithParam<bool> {};

TEST_P(FaultInBothModes, ADatabaseOpenedReadOnlyKeepsItsWeighing) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    const std::string before = bytesOf(path);
    {
        Program p(path, OpenMode::ReadOnly);
        p.fill(GetParam());
        p.save();
        p.expectNotSaved("Not saved: cannot write to " + path);
        EXPECT_EQ(p.f().ws.NewRecordMode, GetParam() ? 0 : 1);  // a new record stays new
    }
    EXPECT_EQ(bytesOf(path), before);
}

using testing::Immutable;

// Even root cannot write a file marked immutable: the stand-in for a file or
// a file system made read-only while the program runs.
TEST_P(FaultInBothModes, AFileMadeReadOnlyWhileOpenKeepsItsWeighingAndTheNextSaveStores) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    Program p(path);
    Immutable immutable(path);
    if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
    p.fill(GetParam());
    p.save();
    immutable.release();
    p.expectNotSaved("Not saved: cannot write to " + path);
    EXPECT_EQ(integrityOf(path), "ok");
    EXPECT_EQ(storedVersion(path), 0);

    p.save();
    p.expectSaved();
    EXPECT_EQ(storedVersion(path), 1);
}

// At start-up, as root too: a record database (or the folder of a new one)
// that cannot be written is reported, never written, and the data-path panel
// opens.
TEST(ReadOnlyAtStart, AnImmutableDatabaseOrFolderIsReportedAndLeftAlone) {
    for (const bool withDatabase : {true, false}) {
        SCOPED_TRACE(withDatabase ? "database" : "empty folder");
        testing::OpeningFixture w;
        const std::string data = w.subFolder("data");
        const std::string path = data + "/" + kRecordDatabaseName;
        if (withDatabase) w.recordDatabase(data, testing::OpeningFixture::fullShop())->Close();
        w.settings(data);
        const std::string locked = withDatabase ? path : data;
        const std::string before = withDatabase ? bytesOf(path) : "";
        Immutable immutable(locked);
        if (!immutable.isSet()) GTEST_SKIP() << "the immutable flag cannot be set here";
        Form1& f = w.start();
        immutable.release();
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].title, "Cannot write to " + path);
        EXPECT_TRUE(f.Panel3D11.visible());
        EXPECT_EQ(f.dbRecords, nullptr);
        EXPECT_EQ(fs::exists(path), withDatabase);
        if (withDatabase) {
            EXPECT_EQ(bytesOf(path), before);
        }
    }
}

// ---- a second instance holding the file -----------------------------------

using testing::OtherInstance;

TEST_P(FaultInBothModes, AFileHeldByAnotherInstanceIsNotHalfWritten) {
    for (const char* hold : {"BEGIN EXCLUSIVE", "BEGIN; SELECT count(*) FROM Aircraft"}) {
        SCOPED_TRACE(hold);
        TempFolder folder;
        const std::string path = folder.file(kRecordDatabaseName);
        storeVersion0(path);
        Program p(path);
        p.fill(GetParam());
        OtherInstance other(path, hold);
        const auto start = std::chrono::steady_clock::now();
        p.save();  // waits a moment for the file, then gives up
        const auto waited = std::chrono::steady_clock::now() - start;
        other.release();
        // One wait for the lock, not one for every step that meets it.
        EXPECT_GE(waited, Program::kLockWait);
        EXPECT_LT(waited, 2 * Program::kLockWait);
        p.expectNotSaved("Not saved: in use by another program: " + path);
        EXPECT_EQ(integrityOf(path), "ok");
        EXPECT_EQ(storedVersion(path), 0);

        p.save();
        p.expectSaved();
        EXPECT_EQ(storedVersion(path), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Save, FaultInBothModes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "search" : "normal"; });

// ---- the disk full during a save ------------------------------------------

// In a child whose files cannot grow past `limit` bytes (writes beyond fail as
// on a full disk): 0 when the save stored, 10 when it told the user it could
// not and the old weighing still reads back, else 1.
int saveWithFileLimit(const std::string& path, rlim_t limit) {
    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        Program p(path);
        p.fill(false);
        p.save();
        const auto& shown = p.w.dialogs.shown;
        if (shown.empty() && p.f().ws.SavedState == 1) _exit(0);
        const bool told = shown.size() == 1 && shown[0].title == "Not saved: the disk is full or failing: " + path;
        auto make = p.f().dbRecords->CreateDynaset("Aircraft");
        const bool oldKept = make->RecordCount() == 1 && make->field("Make").toText() == "V0";
        if (!told) std::fprintf(stderr, "shown: %s\n", shown.empty() ? "nothing" : shown[0].title.c_str());
        _exit(told && oldKept && p.f().ws.SavedState == 0 && p.f().containedFailures() == 0 ? 10 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

TEST(DiskFull, EveryShortfallLeavesTheOldWeighingAndTellsTheUser) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    const rlim_t size = fs::file_size(path);
    int refused = 0;
    for (rlim_t slack = 0;; slack += 2048) {
        ASSERT_LT(slack, 1u << 20) << "the save never stored";
        const std::string before = bytesOf(path);
        const int outcome = saveWithFileLimit(path, size + slack);
        ASSERT_TRUE(outcome == 0 || outcome == 10) << "slack " << slack;
        ASSERT_EQ(integrityOf(path), "ok") << "slack " << slack;
        if (outcome == 0) {
            EXPECT_EQ(storedVersion(path), 1);
            break;
        }
        ++refused;
        ASSERT_EQ(storedVersion(path), 0) << "slack " << slack;
        EXPECT_EQ(bytesOf(path), before) << "slack " << slack;
    }
    EXPECT_GT(refused, 0);
}

// A write that fails on its own while the save goes on (an equipment row the
// full disk refuses): the weighing is not stored without it.
TEST(DiskFull, AnEquipmentRowThatFailsKeepsTheWholeOldWeighing) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    for (int failingUpdate : {2, 40, 130}) {  // the first Update is the weighing row's
        SCOPED_TRACE(failingUpdate);
        int updates = 0;
        {
            testing::SaveFixture s([&](const std::string& what) {
                if (what == "Update" && ++updates == failingUpdate)
                    throw RuntimeError(dberr::kDiskError, "disk full");
            }, path);
            fillVersion(s.f(), 1);
            s.saveReplacing();
            ASSERT_EQ(s.w.dialogs.shown.size(), 1u);
            EXPECT_EQ(s.w.dialogs.shown[0].title, "Not saved: the disk is full or failing: " + path);
            EXPECT_EQ(s.f().ws.SavedState, 0);
        }
        EXPECT_GE(updates, failingUpdate);
        EXPECT_EQ(integrityOf(path), "ok");
        EXPECT_EQ(storedVersion(path), 0);
    }
}

// ---- the file deleted or replaced underneath -----------------------------

struct Replacement {
    const char* name;
    void (*apply)(const std::string& path);
    const char* title;  // the notice's title before the path
};

void PrintTo(const Replacement& r, std::ostream* os) { *os << r.name; }

void deleteFile(const std::string& path) { fs::remove(path); }
void renameForeignOver(const std::string& path) {
    overwrite(path + ".other", "a letter, not a database\n");
    fs::rename(path + ".other", path);
}
// A database of another program with the very same tables.
void overwriteWithForeignDatabase(const std::string& path) {
    const std::string copy = path + ".copy";
    fs::copy_file(path, copy);
    rawExec(copy, "PRAGMA application_id = 0; DELETE FROM Aircraft");
    const std::string bytes = bytesOf(copy);
    fs::remove(copy);
    overwrite(path, bytes);
}
void overwriteWithText(const std::string& path) { overwrite(path, std::string(8192, 'x')); }

class FileReplaced : public ::testing::TestWithParam<Replacement> {};

TEST_P(FileReplaced, SaveTellsNextAndNewGoOnAndTheFileIsNeverWritten) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    Program p(path);
    Form1& f = p.f();
    p.fill(false);
    GetParam().apply(path);
    const bool exists = fs::exists(path);
    const std::string after = exists ? bytesOf(path) : "";

    p.save();
    p.expectNotSaved(GetParam().title + path);
    p.click(f.Command3D16);  // Next
    p.click(f.Command3D17);  // Previous
    p.w.dialogs.answers = {msgbox::kYes};
    p.click(f.Command3D19);  // New
    EXPECT_EQ(p.w.endings, 0);
    EXPECT_EQ(f.ws.NewRecordMode, 1);
    f.Text1.setText("N2");
    p.click(f.Command3D13);
    EXPECT_EQ(f.ws.SavedState, 0);

    ASSERT_EQ(fs::exists(path), exists);
    if (exists) {
        EXPECT_EQ(bytesOf(path), after);
    }
    // No journal with content beside it (the journal of earlier saves stays, empty).
    const std::string journal = path + "-journal";
    EXPECT_TRUE(!fs::exists(journal) || fs::file_size(journal) == 0);
}

INSTANTIATE_TEST_SUITE_P(
    WhileRunning, FileReplaced,
    ::testing::Values(
        Replacement{"deleted", deleteFile, "Not saved: the file was moved or deleted: "},
        Replacement{"renamed_over", renameForeignOver, "Not saved: the file was moved or deleted: "},
        Replacement{"foreign_database_copied_over", overwriteWithForeignDatabase,
                    "Not saved: not a weight and balance database: "},
        Replacement{"text_copied_over", overwriteWithText, "Not saved: the file is damaged: "}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- a failing printer -----------------------------------------------------

// Fails every drawing of one kind ("text", "line", "box" or "enddoc") while armed.
class BrokenPrinter : public RecordingPrinter {
public:
    std::string failing;

protected:
    void drawText(float x, float y, const Font& font, const std::string& text) override {
        check("text");
        RecordingPrinter::drawText(x, y, font, text);
    }
    void drawLine(float x1, float y1, float x2, float y2, int width) override {
        check("line");
        RecordingPrinter::drawLine(x1, y1, x2, y2, width);
    }
    void drawBox(float x1, float y1, float x2, float y2, int width) override {
        check("box");
        RecordingPrinter::drawBox(x1, y1, x2, y2, width);
    }
    void endDocument() override {
        check("enddoc");
        RecordingPrinter::endDocument();
    }

private:
    void check(const char* kind) {
        if (failing == kind) throw RuntimeError(kPrinterError, "Printer error: the device is offline");
    }
};

TEST(FailingPrinter, EachPrintoutTellsOnceAndTheNextRunPrintsAsBefore) {
    TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    storeVersion0(path);
    Program p(path);
    Form1& f = p.f();
    BrokenPrinter printer;
    p.w.services.printer = &printer;
    if (f.rsCompanyInfo->IsEOF()) {
        f.rsCompanyInfo->AddNew();
        f.rsCompanyInfo->Update();
        f.rsCompanyInfo->MoveFirst();
    }
    fillVersion(f, 0);
    f.Panel3D6.setVisible(true);  // the weighing report's button is on the CG panel
    for (CommandButton* button : {&f.Command3D32, &f.Command3D27, &f.Command3D14}) {
        printer.failing.clear();
        printer.takeLog();
        p.click(*button);
        const std::vector<std::string> clean = printer.takeLog();
        ASSERT_TRUE(p.w.dialogs.shown.empty()) << button->name();
        ASSERT_FALSE(clean.empty()) << button->name();
        for (const char* kind : {"text", "line", "box", "enddoc"}) {
            bool drawsIt = false;
            for (const std::string& line : clean) drawsIt = drawsIt || line.rfind(kind, 0) == 0;
            if (!drawsIt) continue;
            SCOPED_TRACE(button->name() + " failing at " + kind);
            const WorksheetState before = f.ws;
            printer.failing = kind;
            p.click(*button);
            EXPECT_EQ(f.containedFailures(), 0) << f.lastFailure();
            ASSERT_EQ(p.w.dialogs.shown.size(), 1u);
            EXPECT_EQ(p.w.dialogs.shown[0].title, "Printing");
            EXPECT_NE(p.w.dialogs.shown[0].text.find("the device is offline"), std::string::npos);
            EXPECT_EQ(f.ws.ChangeDesc, before.ChangeDesc);
            EXPECT_EQ(f.ws.SavedState, before.SavedState);
            p.w.dialogs.shown.clear();

            printer.failing.clear();
            printer.takeLog();
            p.click(*button);
            EXPECT_EQ(printer.takeLog(), clean);
            EXPECT_TRUE(p.w.dialogs.shown.empty());
        }
    }
    EXPECT_EQ(p.w.endings, 0);
}

}  // namespace
}  // namespace wb
