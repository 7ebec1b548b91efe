// A save killed part way leaves a sound database holding the weighing wholly
// as it was or wholly as saved. A child process saves and is killed before a
// chosen write, or at a random moment of a run of saves; the parent then checks
// the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "logic/database_integrity.h"
#include "logic/save_fixture.h"

namespace wb {
namespace {

using testing::SaveFixture;
using testing::integrityOf;

// Version v of the weighing: make "V<v>", every equipment row's serial the
// same, and 2 + v change rows and 3 + 2v list rows.
void fillVersion(SaveFixture& s, const std::string& tail, int v) {
    Form1& f = s.f();
    f.ClearWorksheet();
    const std::string name = "V" + std::to_string(v);
    f.Text1.setText(tail);
    f.Text7.setText("03-09-2004");
    f.Text3.setText(name);
    for (int i = 0; i < 2 + v; ++i) {
        f.ws.ChangeDesc[i] = "Change " + std::to_string(i);
        f.ws.ChangeSerial[i] = name;
        f.ws.ChangeWeight[i] = "1.5";
    }
    for (int i = 0; i < 3 + 2 * v; ++i) {
        f.ws.ListDesc[i] = "Item " + std::to_string(i);
        f.ws.ListSerial[i] = name;
    }
}

int rowsOfVersion(int v) { return (2 + v) + (3 + 2 * v); }

// The version the file holds, or -1 when it holds a mix. One weighing only;
// its equipment rows all of its version, under its key, as many as it has.
int storedVersion(const std::string& path) {
    auto engine = makeSqliteEngine();
    auto db = openRecordDatabase(*engine, path);
    auto aircraft = db->CreateDynaset("Aircraft");
    if (aircraft->RecordCount() != 1) return -1;
    const std::string tail = aircraft->field("Tail").toText();
    const std::string make = aircraft->field("Make").toText();
    const int v = std::stoi(make.substr(1));
    auto all = db->CreateDynaset("Equipment");
    auto own = db->CreateDynaset(RecordSource("Equipment")
                                     .Where(Criteria("Tail", Compare::Equal, tail))
                                     .Where(Criteria("Serial", Compare::Equal, make)));
    if (all->RecordCount() != rowsOfVersion(v) || own->RecordCount() != rowsOfVersion(v)) return -1;
    return v;
}

// Runs `work` in a child process; returns how it ended (the wait status).
template <class Work>
int inChild(Work work) {
    pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

struct Scenario {
    const char* name;
    bool searchMode;
    const char* newTail;  // the key the save stores
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class SaveKilled : public ::testing::TestWithParam<Scenario> {};

TEST_P(SaveKilled, BeforeEachWriteLeavesTheOldOrTheNewWeighing) {
    const Scenario sc = GetParam();
    testing::TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    {
        SaveFixture s(nullptr, path);
        fillVersion(s, "N1", 0);
        s.save();
    }
    ASSERT_EQ(storedVersion(path), 0);

    bool newSeen = false;
    for (int killAt = 1; !newSeen; ++killAt) {
        ASSERT_LT(killAt, 400) << "the save never completed";
        int status = inChild([&] {
            int writes = 0;
            SaveFixture s([&](const std::string&) {
                if (++writes == killAt) raise(SIGKILL);
            }, path);
            if (sc.searchMode) {
                Form1& f = s.f();
                f.rsFound->FindFirst(Criteria("Tail", Compare::Equal, "N1"));
                testing::markShown(f, *f.rsFound);
                f.ws.SearchActive = 1;
                f.ws.NewRecordMode = 0;
            }
            fillVersion(s, sc.newTail, 1);
            if (sc.searchMode) s.save();
            else s.saveReplacing();
        });
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << "status " << status;
        ASSERT_EQ(integrityOf(path), "ok") << "killed before write " << killAt;
        const int v = storedVersion(path);
        ASSERT_TRUE(v == 0 || v == 1) << "a mix after a kill before write " << killAt;
        // Until the commit the old weighing stays; once the save ran to its end, the new one.
        if (!killed) {
            EXPECT_EQ(v, 1);
            newSeen = true;
        } else {
            ASSERT_EQ(v, 0) << "killed before write " << killAt;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, SaveKilled,
                         ::testing::Values(Scenario{"normal", false, "N1"}, Scenario{"search", true, "N2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveKilledAnyMoment, ARunOfSavesKilledAtRandomLeavesOneWholeVersion) {
    testing::TempFolder folder;
    const std::string path = folder.file(kRecordDatabaseName);
    {
        SaveFixture s(nullptr, path);
        fillVersion(s, "N1", 0);
        s.save();
    }
    std::mt19937 random(20040309);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    for (int round = 0; round < 12; ++round) {
        pid_t pid = fork();
        if (pid == 0) {
            SaveFixture s(nullptr, path);
            for (int v = 1;; v = v % 5 + 1) {
                fillVersion(s, "N1", v);
                s.save();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100000 + delayUs(random)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_EQ(integrityOf(path), "ok") << "round " << round;
        ASSERT_NE(storedVersion(path), -1) << "a mix in round " << round;
    }
}

}  // namespace
}  // namespace wb
