// A save is all or nothing: rolled-back work leaves the old rows.
#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "db_fixture.h"
#include "logic/power_cut_disk.h"

namespace wb::test {
namespace {

class Transactions : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        add("OLD", "03-01-2004", 1);
    }
    // Deletes the stored row and adds its replacement, as a search-mode save.
    void replaceRow(Recordset& rs)
    {
        rs.Delete();
        rs.AddNew();
        rs.setField("Tail", "NEW");
        rs.setField("Date", "03-02-2004");
        rs.Update();
    }
    std::string tails()
    {
        auto rs = byDate(*db);
        return tailsFromHere(*rs);
    }
};

TEST_F(Transactions, RollbackLeavesTheOldRows)
{
    auto rs = byDate(*db);
    db->BeginTrans();
    replaceRow(*rs);
    EXPECT_EQ(tails(), "NEW");
    db->Rollback();
    EXPECT_EQ(tails(), "OLD");
    EXPECT_EQ(rs->field("Tail").toText(), "OLD");  // the deleted row is back
}

TEST_F(Transactions, GuardRollsBackUnlessCommitted)
{
    {
        auto rs = byDate(*db);
        Transaction t(*db);
        replaceRow(*rs);
        // leaves scope without commit, as when a step throws
    }
    EXPECT_EQ(tails(), "OLD");
    {
        auto rs = byDate(*db);
        Transaction t(*db);
        replaceRow(*rs);
        t.commit();
    }
    EXPECT_EQ(tails(), "NEW");
    db->Close();
    EXPECT_EQ(tailsFromHere(*byDate(*engine->OpenDatabase(folder.file("test.db")))), "NEW");
}

TEST_F(Transactions, NestedRollbackUndoesOnlyItsOwnWork)
{
    db->BeginTrans();
    add("A", "03-02-2004");
    db->BeginTrans();
    add("B", "03-03-2004");
    db->Rollback();
    db->CommitTrans();
    EXPECT_EQ(tails(), "OLD,A");
    EXPECT_DB_ERROR(db->CommitTrans(), dberr::kNoTransaction);
    EXPECT_DB_ERROR(db->Rollback(), dberr::kNoTransaction);
}

TEST_F(Transactions, ClosingWithAnOpenTransactionKeepsTheOldRows)
{
    db->BeginTrans();
    db->DeleteRows("Weighing", Criteria());
    db->Close();
    EXPECT_EQ(tailsFromHere(*byDate(*engine->OpenDatabase(folder.file("test.db")))), "OLD");
}

// A transaction that only reads takes the read lock at once and lets another
// program read and begin its own writing meanwhile; nothing is written in it.
TEST_F(Transactions, AReadTransactionLetsOthersWorkAndWritesNothing)
{
    sqlite3* other = nullptr;
    sqlite3_open(folder.file("test.db").c_str(), &other);
    db->BeginRead();
    EXPECT_EQ(tails(), "OLD");
    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; SELECT count(*) FROM Weighing; ROLLBACK", nullptr, nullptr,
                           nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(other);
    EXPECT_DB_ERROR(add("NEW", "03-02-2004"), kInvalidCall);
    EXPECT_DB_ERROR(db->DeleteRows("Weighing", Criteria()), kInvalidCall);
    db->Rollback();
    EXPECT_EQ(tails(), "OLD");

    // Another program's commit holds it off; past the engine's wait it fails.
    auto waiting = makeSqliteEngine(std::chrono::milliseconds(200))->OpenDatabase(folder.file("test.db"));
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_DB_ERROR(waiting->BeginRead(), dberr::kLocked);
    EXPECT_DB_ERROR(waiting->Rollback(), dberr::kNoTransaction);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    waiting->BeginRead();
    waiting->CommitTrans();

    // Inside a transaction that writes, it nests.
    db->BeginTrans();
    db->BeginRead();
    add("NEW", "03-02-2004");
    db->CommitTrans();
    db->CommitTrans();
    EXPECT_EQ(tails(), "OLD,NEW");
}

// The file's state read in two transactions is the same exactly when nothing
// was written to the file in between: not by another connection's commit, not
// through this one (a rollback included), while a transaction that only read
// changes nothing. Outside a transaction it is not known.
TEST_F(Transactions, TheFileStateChangesWithEveryWriteAndOnlyThen)
{
    auto stateInRead = [&](Database& d) {
        d.BeginRead();
        std::optional<FileState> state = d.CurrentFileState();
        d.Rollback();
        return state;
    };
    EXPECT_FALSE(db->CurrentFileState().has_value());
    const std::optional<FileState> first = stateInRead(*db);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(stateInRead(*db), first);
    tails();
    db->BeginTrans();
    EXPECT_EQ(db->CurrentFileState(), first);
    db->CommitTrans();
    EXPECT_EQ(stateInRead(*db), first);

    add("OWN", "03-02-2004");
    const std::optional<FileState> afterOwn = stateInRead(*db);
    EXPECT_NE(afterOwn, first);

    db->BeginTrans();
    add("UNDONE", "03-03-2004");
    db->Rollback();
    const std::optional<FileState> afterRollback = stateInRead(*db);
    EXPECT_NE(afterRollback, afterOwn);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(folder.file("test.db").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "SELECT count(*) FROM Weighing", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(stateInRead(*db), afterRollback);
    ASSERT_EQ(sqlite3_exec(other, "UPDATE Weighing SET Weight = 7 WHERE Tail = 'OWN'", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    const std::optional<FileState> afterOther = stateInRead(*db);
    EXPECT_NE(afterOther, afterRollback);

    // Another open database of the same file never has the same state.
    auto again = engine->OpenDatabase(folder.file("test.db"));
    EXPECT_NE(stateInRead(*again), afterOther);
}

// The engine ends a transaction by itself after some failures (a full disk,
// an I/O error): from then on until the rollback every write fails with that
// failure and touches nothing, so no later step is committed on its own.
class EngineEndedTransaction : public DatabaseTest {
protected:
    void SetUp() override
    {
        wb::testing::power_cut_vfs::install();
        DatabaseTest::SetUp();
        Transaction t(*db);
        for (int i = 0; i < 200; ++i) add("OLD", "03-01-2004", i);
        t.commit();
    }
    std::string bytes()
    {
        std::ifstream in(folder.file("test.db"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    long rows() { return db->CreateDynaset("Weighing")->RecordCount(); }
};

TEST_F(EngineEndedTransaction, NoLaterWriteReachesTheFileAndTheNextTransactionWorks)
{
    using wb::testing::IoCall;
    using wb::testing::IoError;
    using wb::testing::PowerCutDisk;
    PowerCutDisk& disk = PowerCutDisk::instance();
    const std::string before = bytes();
    auto rs = byDate(*db);

    db->BeginTrans();
    disk.arm(folder.path(), PowerCutDisk::kNever, wb::testing::Tear::KeepAll, 0);
    disk.failCall(IoCall::Write, 1, IoError::NoSpace, true);
    EXPECT_DB_ERROR(db->DeleteRows("Weighing", Criteria()), dberr::kDiskError);  // the journal meets the full disk
    disk.clearFault();
    const int writes = disk.calls(IoCall::Write);

    // The steps a save would go on with: none runs outside the transaction.
    EXPECT_DB_ERROR(add("NEW", "03-02-2004"), dberr::kDiskError);
    rs->MoveFirst();
    EXPECT_DB_ERROR(rs->Edit(), dberr::kDiskError);
    EXPECT_DB_ERROR(rs->Delete(), dberr::kDiskError);
    EXPECT_DB_ERROR(db->DeleteRows("Weighing", Criteria("Tail", Compare::Equal, "OLD")), dberr::kDiskError);
    EXPECT_DB_ERROR(db->BeginTrans(), dberr::kDiskError);
    EXPECT_DB_ERROR(db->CommitTrans(), dberr::kDiskError);
    EXPECT_EQ(disk.calls(IoCall::Write), writes);
    disk.reboot();
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(rows(), 200);

    db->Rollback();
    EXPECT_DB_ERROR(db->Rollback(), dberr::kNoTransaction);
    {
        Transaction t(*db);
        add("NEW", "03-02-2004");
        t.commit();
    }
    EXPECT_EQ(rows(), 201);
}

// A write outside any transaction is one of its own: checked before the file
// is touched, and stored whole.
TEST_F(Transactions, AWriteOutsideATransactionIsOneOfItsOwn)
{
    auto rs = byDate(*db);
    rs->Edit();
    rs->setField("Tail", "EDITED");
    rs->Update();
    EXPECT_EQ(tails(), "EDITED");
    db->DeleteRows("Weighing", Criteria());
    EXPECT_EQ(tails(), "");
    EXPECT_DB_ERROR(db->CommitTrans(), dberr::kNoTransaction);  // none was left open
}

}  // namespace
}  // namespace wb::test
