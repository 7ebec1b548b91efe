// Failing I/O calls during every kind of save, in the manner of SQLite's own
// I/O-error tests: the disk of power_cut_disk.h fails the n-th write, sync,
// truncate, read or lock of the save with ENOSPC or EIO, that call alone or
// every call of its kind from then on, for each n in turn. After each:
// - the files pass integrity_check and no program holds a lock on them;
// - no Equipment row is left without its Aircraft row;
// - what the save changes is wholly old or wholly new, all else unchanged;
// - a save that said stored is on disk; one that said not stored told the
//   user so and left the worksheet unsaved;
// - once the fault clears, the same program's next save stores.
//
//   WB_FAULT_STRIDE  try every n-th call only (default 1: every call)
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/settings_store.h"
#include "logic/database_integrity.h"
#include "logic/opening_fixture.h"
#include "logic/power_cut_disk.h"
#include "logic/save_fixture.h"
#include "logic/shop_files.h"

namespace wb {
namespace {

namespace fs = std::filesystem;
using testing::IoCall;
using testing::IoError;
using testing::PowerCutDisk;
using testing::Snapshot;

constexpr int kWeighings = 40;
constexpr int kRowsEach = 4;

int stride() {
    const char* text = std::getenv("WB_FAULT_STRIDE");
    const int n = text && *text ? std::atoi(text) : 1;
    return n > 0 ? n : 1;
}

// "free" when another program can take the write lock of the file at once
// (rolling back a journal left behind, as the next program would).
std::string lockOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        result = rc == SQLITE_OK ? "free" : std::string("held: ") + sqlite3_errmsg(db);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return result;
}

// The rows a query gives, each as its values joined by "|", one a line;
// "cannot open" when the file does not open.
std::string rowsOf(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out = "cannot open";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        out.clear();
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* v = sqlite3_column_text(st, c);
                out += (c ? "|" : "") + std::string(v ? reinterpret_cast<const char*>(v) : "NULL");
            }
            out += "\n";
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

// How sound a file is, under keys of their own; a missing file is sound.
void addSoundness(Snapshot& s, const std::string& name, const std::string& path) {
    const bool present = fs::exists(path);
    // The lock first: taking it rolls back a journal left behind, as the next
    // program would.
    s["~" + name + " lock"] = present ? lockOf(path) : "free";
    s["~" + name + " integrity"] = present ? testing::integrityOf(path) : "ok";
}

// The state of a record database a save may change: every weighing, whether
// the file is there, and how sound it is.
Snapshot recordFileState(const std::string& path) {
    Snapshot s;
    addSoundness(s, "record file", path);
    s["~file"] = fs::exists(path) ? "present" : "absent";
    s["~orphan equipment rows"] = fs::exists(path) ? testing::orphanEquipmentRowsOf(path) : "0";
    if (fs::exists(path)) s.merge(testing::snapshotOf(path));
    return s;
}

// Files of the folder other than these.
std::string strayFiles(const std::string& folder, const std::vector<std::string>& expected) {
    std::string out;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) out += name + " ";
    }
    return out;
}

// One kind of save, run again from the same files for every failing call.
class SavePath {
public:
    virtual ~SavePath() = default;
    virtual std::string name() const = 0;
    // Fresh files as before the save, the program started on them with its
    // work on screen, up to the click that saves.
    virtual void begin() = 0;
    // The save; true when it said it stored. What it told the user when it
    // did not, if wrong, goes into `fault`.
    virtual bool save(std::string& fault) = 0;
    // The program ends.
    virtual void end() = 0;
    // What the files hold, by key.
    virtual Snapshot state() = 0;
    // The keys of state() that the save changes; every other stays.
    virtual std::vector<std::string> changes() const = 0;
};

// A save of the main window on a copy of the shop: a new weighing, a found
// weighing replaced, or a found weighing deleted by the tail number "0".
class WeighingSave : public SavePath {
public:
    WeighingSave(std::string name, std::string folder, std::string key, bool deletes,
                 std::function<void(testing::SaveFixture&)> prepare)
        : name_(std::move(name)), folder_(std::move(folder)), key_(std::move(key)), deletes_(deletes),
          prepare_(std::move(prepare)) {
        fs::remove(shop());
        testing::buildShop(shop(), kWeighings, kRowsEach);
    }
    std::string name() const override { return name_; }
    void begin() override {
        end();
        fs::remove(work() + "-journal");
        fs::copy_file(shop(), work(), fs::copy_options::overwrite_existing);
        program_ = std::make_unique<testing::SaveFixture>(nullptr, work());
        prepare_(*program_);
    }
    bool save(std::string& fault) override {
        Form1& f = program_->f();
        auto& shown = program_->w.dialogs.shown;
        shown.clear();
        program_->save();
        const bool stored = shown.empty() && (deletes_ ? f.ws.NewRecordMode == 1 : f.ws.SavedState == 1);
        if (f.containedFailures() != 0) fault = "a failure reached the window: " + f.lastFailure();
        else if (f.mousePointer() != pointer::kDefault) fault = "the hourglass stayed";
        else if (!stored) {
            const std::string told = deletes_ ? "Not deleted: " : "Not saved: ";
            if (shown.size() != 1 || shown[0].title.rfind(told, 0) != 0 ||
                shown[0].style != (msgbox::kOkOnly | msgbox::kCritical))
                fault = "not told: " + (shown.empty() ? std::string("nothing shown") : shown[0].title);
            else if (f.ws.SavedState != 0)
                fault = "SavedState " + std::to_string(f.ws.SavedState) + " after a save that stored nothing";
        }
        return stored;
    }
    void end() override { program_.reset(); }
    Snapshot state() override { return recordFileState(work()); }
    std::vector<std::string> changes() const override { return {key_}; }

private:
    std::string shop() const { return folder_ + "/shop.db"; }
    std::string work() const { return folder_ + "/" + kRecordDatabaseName; }

    std::string name_, folder_, key_;
    bool deletes_;
    std::function<void(testing::SaveFixture&)> prepare_;
    std::unique_ptr<testing::SaveFixture> program_;
};

// The set-up panel opened, changed and closed on a program started on a
// settings file and a record database.
class SetupPanelSave : public SavePath {
public:
    explicit SetupPanelSave(std::string base) : base_(std::move(base)) {}
    std::string name() const override { return "the set-up panel"; }
    void begin() override {
        end();
        program_ = std::make_unique<testing::OpeningFixture>(base_);
        program_->settings(program_->folder.path(), std::string("555-0100"));
        program_->recordDatabase(program_->folder.path(), testing::OpeningFixture::fullShop())->Close();
        program_->start();
        program_->dialogs.shown.clear();
    }
    bool save(std::string& fault) override {
        Form1& f = program_->f();
        auto& shown = program_->dialogs.shown;
        shown.clear();
        if (!f.Panel3D7.visible()) {
            f.userClick(f.Command3D18);
            f.Text17.setText("Korrin Aviation and Sons");
            f.Text20.setText("555-0199");
            f.Check3D3.setValue(1);
        }
        f.userClick(f.Command3D18);
        if (f.containedFailures() != 0) fault = "a failure reached the window: " + f.lastFailure();
        else if (f.Panel3D7.visible()) fault = "the panel stayed open";
        for (const auto& m : shown) {
            if (m.title.rfind("Set-up not saved: ", 0) != 0 || m.style != (msgbox::kOkOnly | msgbox::kCritical))
                fault = "told: " + m.title;
        }
        return shown.empty();
    }
    void end() override { program_.reset(); }
    Snapshot state() override {
        const std::string folder = program_->folder.path();
        const std::string settings = folder + "/" + SettingsStore::kFileName;
        const std::string records = folder + "/" + kRecordDatabaseName;
        Snapshot s;
        addSoundness(s, "settings file", settings);
        addSoundness(s, "record file", records);
        s["settings row"] = rowsOf(settings, "SELECT DataPath = '" + folder + "', CompanyPhone FROM Company");
        s["shop row"] = rowsOf(records, "SELECT * FROM CompanyInfo");
        return s;
    }
    std::vector<std::string> changes() const override { return {"settings row", "shop row"}; }

private:
    std::string base_;
    std::unique_ptr<testing::OpeningFixture> program_;
};

// The first start on a data folder without a record database, which makes
// one, and the first weighing saved into it.
class NewRecordDatabase : public SavePath {
public:
    explicit NewRecordDatabase(std::string base) : base_(std::move(base)) {}
    std::string name() const override { return "a new record database"; }
    void begin() override {
        end();
        program_ = std::make_unique<testing::OpeningFixture>(base_);
        data_ = program_->subFolder("data");
        program_->settings(data_);
    }
    // Starts the program (again, when the last start opened no record
    // database), then types and saves a weighing.
    bool save(std::string& fault) override {
        auto& shown = program_->dialogs.shown;
        shown.clear();
        if (!program_->form || !program_->f().dbRecords) {
            program_->stop();
            program_->start();
        }
        Form1& f = program_->f();
        f.Text1.setText("N1");
        f.Text3.setText("First");
        f.ws.ChangeDesc[1] = "Radio";
        f.ws.ChangeInstalled[1] = "X";
        const std::size_t before = shown.size();
        f.userClick(f.Command3D13);
        const bool stored = shown.size() == before && f.ws.SavedState == 1;
        if (f.containedFailures() != 0) fault = "a failure reached the window: " + f.lastFailure();
        else if (!stored && (shown.size() != before + 1 || shown.back().title.rfind("Not saved: ", 0) != 0))
            fault = "not told: " + (shown.size() == before ? std::string("nothing shown") : shown.back().title);
        else if (!stored && f.ws.SavedState != 0) fault = "SavedState " + std::to_string(f.ws.SavedState);
        return stored;
    }
    void end() override { program_.reset(); }
    Snapshot state() override {
        Snapshot s = recordFileState(data_ + "/" + kRecordDatabaseName);
        addSoundness(s, "settings file", program_->folder.file(SettingsStore::kFileName));
        s["~stray files"] = strayFiles(data_, {kRecordDatabaseName, std::string(kRecordDatabaseName) + "-journal"});
        return s;
    }
    std::vector<std::string> changes() const override { return {"~file", "N1|2004-03-09"}; }

private:
    std::string base_, data_;
    std::unique_ptr<testing::OpeningFixture> program_;
};

struct Combination {
    IoCall call;
    IoError error;
    bool once;
};

std::string nameOf(const Combination& c) {
    return std::string(testing::ioCallName(c.call)) + " " + testing::ioErrorName(c.error) +
           (c.once ? ", once" : ", until cleared");
}

// ENOSPC where a call can meet a full disk, EIO everywhere.
const Combination kCombinations[] = {
    {IoCall::Write, IoError::NoSpace, false}, {IoCall::Write, IoError::NoSpace, true},
    {IoCall::Write, IoError::Io, false},      {IoCall::Write, IoError::Io, true},
    {IoCall::Sync, IoError::NoSpace, false},  {IoCall::Sync, IoError::Io, false},
    {IoCall::Sync, IoError::Io, true},        {IoCall::Truncate, IoError::Io, false},
    {IoCall::Truncate, IoError::Io, true},    {IoCall::Read, IoError::Io, false},
    {IoCall::Read, IoError::Io, true},        {IoCall::Lock, IoError::Io, false},
    {IoCall::Lock, IoError::Io, true},
};

struct Tally {
    int trials = 0, neu = 0, old = 0, refused = 0, broken = 0;
    std::string firstFault;
};

// Compares the state after a save with the state before and after a clean
// one: "" when sound, else what is wrong. `isNew` tells whether every key the
// save changes holds its new value.
std::string judge(const Snapshot& before, const Snapshot& after, const Snapshot& now,
                  const std::vector<std::string>& changes, bool& isNew) {
    auto value = [](const Snapshot& s, const std::string& key) {
        auto found = s.find(key);
        return found == s.end() ? std::string() : found->second;
    };
    isNew = true;
    Snapshot othersNow = now, othersBefore = before;
    for (const std::string& key : changes) {
        const std::string mine = value(now, key);
        if (mine != value(after, key)) {
            isNew = false;
            if (mine != value(before, key)) return key + " is neither old nor new";
        }
        othersNow.erase(key);
        othersBefore.erase(key);
    }
    for (const auto& [key, v] : othersBefore) {
        if (value(othersNow, key) != v) return key + " changed: " + value(othersNow, key);
    }
    for (const auto& [key, v] : othersNow) {
        if (!othersBefore.count(key)) return key + " appeared";
    }
    return "";
}

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.empty()); }

    // Runs the path with each combination at each call in turn; prints the table.
    void runAll(SavePath& path) {
        PowerCutDisk& disk = PowerCutDisk::instance();
        path.begin();
        const Snapshot before = path.state();
        disk.arm(folder, PowerCutDisk::kNever, testing::Tear::KeepAll, 0);
        std::string fault;
        const bool cleanStored = path.save(fault);
        std::map<IoCall, int> counts;
        for (const Combination& c : kCombinations) counts[c.call] = disk.calls(c.call);
        disk.reboot();
        ASSERT_TRUE(cleanStored) << fault;
        const Snapshot after = path.state();
        path.end();
        ASSERT_NE(before, after);

        for (const Combination& c : kCombinations) {
            Tally tally;
            for (int n = 1; n <= counts[c.call]; n += stride()) {
                path.begin();
                disk.arm(folder, PowerCutDisk::kNever, testing::Tear::KeepAll, 0);
                disk.failCall(c.call, n, c.error, c.once);
                std::string told;
                const bool stored = path.save(told);
                disk.reboot();
                ++tally.trials;
                bool isNew = false;
                std::string wrong = told;
                if (wrong.empty()) wrong = judge(before, after, path.state(), path.changes(), isNew);
                if (wrong.empty() && stored && !isNew) wrong = "a save said stored is not on disk";
                if (wrong.empty() && !stored) {
                    std::string again;
                    bool againNew = false;
                    if (!path.save(again)) wrong = "after the fault cleared the save did not store: " + again;
                    else if (!(wrong = judge(before, after, path.state(), path.changes(), againNew)).empty())
                        wrong = "after the fault cleared: " + wrong;
                    else if (!againNew) wrong = "after the fault cleared the save said stored, yet it is not";
                }
                path.end();
                if (!wrong.empty()) {
                    ++tally.broken;
                    if (tally.firstFault.empty()) tally.firstFault = "call " + std::to_string(n) + ": " + wrong;
                    continue;
                }
                if (!stored) ++tally.refused;
                if (isNew) ++tally.neu;
                else ++tally.old;
            }
            table << "| " << path.name() << " | " << nameOf(c) << " | " << tally.trials << " | " << tally.neu << " | "
                  << tally.old << " | " << tally.refused << " | " << (tally.broken ? tally.firstFault : "none")
                  << " |\n";
            EXPECT_EQ(tally.broken, 0) << path.name() << ", " << nameOf(c) << ": " << tally.firstFault;
        }
    }

    void printTable() {
        std::cout << "| save path | failing call | trials | new | old | refused | faults |\n"
                     "|---|---|---|---|---|---|---|\n"
                  << table.str();
    }

    testing::ScratchFolder scratch{"wb-faults"};
    const std::string folder = scratch.path();
    std::ostringstream table;
};

TEST_F(FaultInjection, EverySaveOfAWeighingIsWhollyOldOrWhollyNewAndTheNextSaveStores) {
    WeighingSave newWeighing("new weighing", folder, "N9999|2004-03-09", false, [](testing::SaveFixture& s) {
        s.fillWorksheet("N9999", "Fresh");
        for (int i = 2; i < 12; ++i) s.f().ws.ChangeDesc[i] = "Added " + std::to_string(i);
        s.f().Text13.setText(std::string(3000, 'n'));
    });
    runAll(newWeighing);
    WeighingSave replaced("found weighing replaced", folder, testing::shopKeyOf(15), false,
                          [](testing::SaveFixture& s) {
                              s.showStored(true, "N15", "Replaced", testing::shopDateOf(15));
                              for (int i = 0; i < 30; ++i) s.f().ws.ListDesc[i] = "List " + std::to_string(i);
                          });
    runAll(replaced);
    WeighingSave deleted("deletion by tail \"0\"", folder, testing::shopKeyOf(20), true,
                         [](testing::SaveFixture& s) {
                             s.showStored(true, "N20", "Make 20", testing::shopDateOf(20));
                             s.f().Text1.setText("0");
                         });
    runAll(deleted);
    printTable();
}

TEST_F(FaultInjection, TheSetUpPanelAndANewRecordDatabaseAreWhollyOldOrWhollyNew) {
    SetupPanelSave setup(folder);
    runAll(setup);
    NewRecordDatabase fresh(folder);
    runAll(fresh);
    printTable();
}

}  // namespace
}  // namespace wb
