// Power cuts during a save and during the making of a new record database.
// The disk of power_cut_disk.h fails at each sync point in turn, with each
// way of losing the writes not yet synced; after the reboot the file must be
// sound, the saved weighing wholly old or wholly new (new once the save said
// it was stored), every other weighing as it was, and a new record database
// either absent or complete.
//
// The program's own folder calls (the link of a new file into place, the
// removal of its temporary name, the sync of a folder) are watched by the
// definitions of link, remove, fsync and fdatasync below, which this test
// program uses in place of the C library's.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "logic/database_integrity.h"
#include "logic/power_cut_disk.h"
#include "logic/save_fixture.h"
#include "logic/shop_files.h"

namespace {

using wb::testing::PowerCutDisk;

template <class F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

std::string pathOfDescriptor(int fd) {
    char buffer[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// A folder sync is a sync point of the disk; a file's is the VFS's.
template <class Sync>
int syncWatched(int fd, Sync sync) {
    struct stat st {};
    PowerCutDisk& disk = PowerCutDisk::instance();
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || !disk.watches(pathOfDescriptor(fd) + "/")) return sync(fd);
    if (!disk.syncPoint("folder")) {
        errno = EIO;
        return -1;
    }
    const int rc = sync(fd);
    if (rc == 0) disk.folderSynced();
    return rc;
}

}  // namespace

extern "C" {

int link(const char* from, const char* to) noexcept {
    PowerCutDisk& disk = PowerCutDisk::instance();
    if (disk.dead() && disk.watches(to)) {
        errno = EIO;
        return -1;
    }
    const int rc = real<int (*)(const char*, const char*)>("link")(from, to);
    if (rc == 0) disk.pathMade(to);
    return rc;
}

int remove(const char* path) noexcept {
    PowerCutDisk& disk = PowerCutDisk::instance();
    if (disk.dead() && disk.watches(path)) {
        errno = EIO;
        return -1;
    }
    struct stat st {};
    if (::stat(path, &st) == 0 && S_ISREG(st.st_mode)) disk.beforeRemove(path);
    return real<int (*)(const char*)>("remove")(path);
}

int fsync(int fd) { return syncWatched(fd, real<int (*)(int)>("fsync")); }
int fdatasync(int fd) { return syncWatched(fd, real<int (*)(int)>("fdatasync")); }

}  // extern "C"

namespace wb {
namespace {

namespace fs = std::filesystem;
using testing::PowerCutDisk;
using testing::SaveFixture;
using testing::Tear;

constexpr int kWeighings = 300;
constexpr int kRowsEach = 4;

std::string dateOf(int i) { return testing::shopDateOf(i); }
std::string keyOf(int i) { return testing::shopKeyOf(i); }
void buildShop(const std::string& path) { testing::buildShop(path, kWeighings, kRowsEach); }
using testing::Snapshot;
using testing::snapshotOf;

// How one cut ended.
enum class Found { Old, New, Broken };

struct Tally {
    int trials = 0, old = 0, neu = 0, broken = 0;
    std::string firstFault;
};

// The save of one worksheet, run again from the same file for every cut.
struct SaveCase {
    const char* name;
    std::string key;                      // the weighing it stores
    std::function<void(SaveFixture&)> prepare;  // the worksheet on screen
};

std::vector<SaveCase> saveCases() {
    return {
        {"new weighing", "N9999|2004-03-09",
         [](SaveFixture& s) {
             s.fillWorksheet("N9999", "Fresh");
             for (int i = 2; i < 20; ++i) s.f().ws.ChangeDesc[i] = "Added " + std::to_string(i);
         }},
        {"found weighing replaced", keyOf(150),
         [](SaveFixture& s) {
             s.showStored(true, "N150", "Replaced", dateOf(150));
             for (int i = 0; i < 40; ++i) s.f().ws.ListDesc[i] = "List " + std::to_string(i);
         }},
    };
}

Tear kTears[] = {Tear::DropAll, Tear::KeepAll, Tear::RandomPages, Tear::RandomSectors};
int trialsOf(Tear t) { return t == Tear::DropAll || t == Tear::KeepAll ? 1 : 8; }

class PowerCut : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.empty()); }
    testing::ScratchFolder scratch{"wb-power-cut"};
    const std::string folder = scratch.path();
};

TEST_F(PowerCut, DuringASaveTheWeighingIsWhollyOldOrWhollyNewAndTheOthersUnchanged) {
    const std::string shop = folder + "/shop.db";
    const std::string work = folder + "/" + kRecordDatabaseName;
    buildShop(shop);
    const Snapshot before = snapshotOf(shop);
    ASSERT_EQ(before.size(), static_cast<std::size_t>(kWeighings));
    std::ostringstream table;
    table << "| save | cut at sync point | tear | trials | old | new | faults |\n|---|---|---|---|---|---|---|\n";
    PowerCutDisk& disk = PowerCutDisk::instance();

    for (const SaveCase& c : saveCases()) {
        SCOPED_TRACE(c.name);
        // Runs the save from the shop's copy with the power failing at `cutAt`
        // (kNever: right after the save); true when the save said it stored.
        auto run = [&](int cutAt, Tear tear, unsigned seed) {
            fs::remove(work + "-journal");
            fs::copy_file(shop, work, fs::copy_options::overwrite_existing);
            bool stored = false;
            {
                SaveFixture s(nullptr, work);
                c.prepare(s);
                s.w.dialogs.shown.clear();
                disk.arm(folder, cutAt, tear, seed);
                s.save();
                stored = s.w.dialogs.shown.empty() && s.f().ws.SavedState == 1;
                disk.cutNow();
            }
            disk.reboot();
            return stored;
        };

        // Once without a cut: the sync points of this save and its result.
        fs::copy_file(shop, work, fs::copy_options::overwrite_existing);
        {
            SaveFixture s(nullptr, work);
            c.prepare(s);
            disk.arm(folder, PowerCutDisk::kNever, Tear::KeepAll, 0);
            s.save();
            ASSERT_TRUE(s.w.dialogs.shown.empty()) << s.w.dialogs.shown[0].title;
        }
        const int syncPoints = disk.syncPoints();
        std::vector<std::string> names;
        for (int n = 1; n <= syncPoints; ++n) names.push_back(disk.syncPointName(n));
        disk.reboot();
        const Snapshot after = snapshotOf(work);
        ASSERT_NE(after.at(c.key), before.count(c.key) ? before.at(c.key) : "");
        ASSERT_GT(syncPoints, 0);

        for (int cutAt = 1; cutAt <= syncPoints + 1; ++cutAt) {
            const bool afterSave = cutAt == syncPoints + 1;
            for (Tear tear : kTears) {
                Tally tally;
                for (int trial = 0; trial < trialsOf(tear); ++trial) {
                    const unsigned seed = static_cast<unsigned>(cutAt * 100 + trial);
                    const bool stored = run(afterSave ? PowerCutDisk::kNever : cutAt, tear, seed);
                    ++tally.trials;
                    std::string fault;
                    const std::string integrity = testing::integrityOf(work);
                    Snapshot now = snapshotOf(work);
                    const std::string mine = now.count(c.key) ? now[c.key] : "";
                    now.erase(c.key);
                    Snapshot others = before;
                    others.erase(c.key);
                    const bool isOld = mine == (before.count(c.key) ? before.at(c.key) : "");
                    const bool isNew = mine == after.at(c.key);
                    if (integrity != "ok") fault = "integrity: " + integrity;
                    else if (now != others) fault = "another weighing changed";
                    else if (!isOld && !isNew) fault = "the weighing is neither old nor new";
                    else if (stored && !isNew) fault = "a save said stored is lost";
                    if (!fault.empty()) {
                        ++tally.broken;
                        if (tally.firstFault.empty()) tally.firstFault = fault + " (seed " + std::to_string(seed) + ")";
                    } else if (isNew) {
                        ++tally.neu;
                    } else {
                        ++tally.old;
                    }
                }
                table << "| " << c.name << " | "
                      << (afterSave ? "after the save" : std::to_string(cutAt) + " " + names[cutAt - 1]) << " | "
                      << testing::tearName(tear) << " | " << tally.trials << " | " << tally.old << " | " << tally.neu
                      << " | " << (tally.broken ? tally.firstFault : "none") << " |\n";
                EXPECT_EQ(tally.broken, 0) << "cut at " << cutAt << ", " << testing::tearName(tear) << ": "
                                           << tally.firstFault;
            }
        }
    }
    std::cout << table.str();
}

TEST_F(PowerCut, ANewRecordDatabaseIsAbsentOrCompleteAndItsFirstSaveKept) {
    const std::string path = folder + "/" + kRecordDatabaseName;
    PowerCutDisk& disk = PowerCutDisk::instance();
    std::ostringstream table;
    table << "| cut at sync point | tear | trials | no file | complete | with the weighing | faults |\n"
             "|---|---|---|---|---|---|---|\n";

    // Makes the database (as the first start does) and saves a weighing into
    // it, the power failing at `cutAt`; true when the save said it stored.
    auto run = [&](int cutAt, Tear tear, unsigned seed) {
        for (const auto& entry : fs::directory_iterator(folder)) fs::remove(entry.path());
        disk.arm(folder, cutAt, tear, seed);
        bool stored = false;
        try {
            SaveFixture s(nullptr, path);
            s.fillWorksheet("N1", "First");
            s.save();
            stored = s.w.dialogs.shown.empty() && s.f().ws.SavedState == 1;
        } catch (const RuntimeError&) {
        }
        disk.cutNow();
        disk.reboot();
        return stored;
    };

    // Once without a cut: the sync points.
    disk.arm(folder, PowerCutDisk::kNever, Tear::KeepAll, 0);
    {
        SaveFixture s(nullptr, path);
        s.fillWorksheet("N1", "First");
        s.save();
    }
    const int syncPoints = disk.syncPoints();
    std::vector<std::string> names;
    for (int n = 1; n <= syncPoints; ++n) names.push_back(disk.syncPointName(n));
    disk.reboot();
    ASSERT_GT(syncPoints, 0);

    for (int cutAt = 1; cutAt <= syncPoints + 1; ++cutAt) {
        const bool afterAll = cutAt == syncPoints + 1;
        for (Tear tear : kTears) {
            Tally tally;
            int absent = 0, complete = 0, withWeighing = 0;
            for (int trial = 0; trial < trialsOf(tear); ++trial) {
                const unsigned seed = static_cast<unsigned>(cutAt * 100 + trial);
                const bool stored = run(afterAll ? PowerCutDisk::kNever : cutAt, tear, seed);
                ++tally.trials;
                std::string fault;
                if (!fs::exists(path)) {
                    ++absent;
                    if (stored) fault = "the file of a save said stored is gone";
                } else {
                    const std::string integrity = testing::integrityOf(path);
                    bool opens = false;
                    bool hasWeighing = false;
                    try {
                        auto engine = makeSqliteEngine();
                        auto db = openRecordDatabase(*engine, path);
                        opens = true;
                        auto rs = db->CreateDynaset("Aircraft");
                        hasWeighing = rs->RecordCount() == 1 && rs->field("Make").toText() == "First";
                        db->Close();
                    } catch (const RuntimeError& e) {
                        fault = std::string("does not open: ") + e.what();
                    }
                    if (integrity != "ok") fault = "integrity: " + integrity;
                    if (opens && integrity == "ok") ++complete;
                    if (hasWeighing) ++withWeighing;
                    if (fault.empty() && stored && !hasWeighing) fault = "a save said stored is lost";
                }
                if (!fault.empty()) {
                    ++tally.broken;
                    if (tally.firstFault.empty()) tally.firstFault = fault + " (seed " + std::to_string(seed) + ")";
                }
            }
            table << "| " << (afterAll ? "after the save" : std::to_string(cutAt) + " " + names[cutAt - 1]) << " | "
                  << testing::tearName(tear)
                  << " | " << tally.trials << " | " << absent << " | " << complete << " | " << withWeighing << " | "
                  << (tally.broken ? tally.firstFault : "none") << " |\n";
            EXPECT_EQ(tally.broken, 0) << "cut at " << cutAt << ", " << testing::tearName(tear) << ": "
                                       << tally.firstFault;
        }
    }
    std::cout << table.str();
}

}  // namespace
}  // namespace wb
