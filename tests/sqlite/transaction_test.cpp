// A save is all or nothing: rolled-back work leaves the old rows.
#include "db_fixture.h"

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

}  // namespace
}  // namespace wb::test
