// Moves, ends, edits and finds of a dynaset, as the old engine behaved.
#include <sqlite3.h>

#include "db_fixture.h"

namespace wb::test {
namespace {

class Dynaset : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        add("C", "03-03-2004");
        add("A", "03-01-2004");
        add("B", "03-02-2004");
    }
};

TEST_F(DatabaseTest, EmptySetIsAtBothEndsAndRefusesMoves)
{
    auto rs = byDate(*db);
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_DB_ERROR(rs->MoveFirst(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->MoveLast(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->MoveNext(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->MovePrevious(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->field("Tail"), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->Delete(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->Edit(), kNoCurrentRecord);
    EXPECT_EQ(rs->RecordCount(), 0);
}

// The save re-creates its equipment set on the bare table and adds the rows
// through it; showing the weighing next must see them.
TEST_F(DatabaseTest, RowsAddedThroughAnEmptySetAreListed)
{
    for (const RecordSource& source : {RecordSource("Weighing"), RecordSource("Weighing").OrderBy("Date")}) {
        SCOPED_TRACE(source.orderBy.empty() ? "table" : "ordered");
        db->DeleteRows("Weighing", Criteria());
        auto rs = db->CreateDynaset(source);
        for (const char* tail : {"B", "A"}) {
            rs->AddNew();
            rs->setField("Tail", tail);
            rs->Update();
        }
        EXPECT_FALSE(rs->IsBOF());
        EXPECT_TRUE(rs->IsEOF());  // still where it stood: past the end
        EXPECT_EQ(rs->RecordCount(), 2);
        EXPECT_DB_ERROR(rs->field("Tail"), kNoCurrentRecord);
        rs->MoveFirst();
        EXPECT_EQ(tailsFromHere(*rs), "B,A");
        rs->MovePrevious();
        EXPECT_EQ(rs->field("Tail").toText(), "A");
        rs->FindFirst(Criteria("Tail", Compare::Equal, "B"));
        EXPECT_FALSE(rs->NoMatch());
        EXPECT_EQ(rs->field("Tail").toText(), "B");

        // Deleting them empties the set again: both ends at once.
        rs->Delete();
        rs->MoveNext();
        rs->Delete();
        rs->MoveNext();
        EXPECT_TRUE(rs->IsBOF());
        EXPECT_TRUE(rs->IsEOF());
    }
}

TEST_F(Dynaset, OrderedSetStartsOnFirstRowAndWalksBothWays)
{
    auto rs = byDate(*db);
    EXPECT_FALSE(rs->IsBOF());
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    EXPECT_EQ(tailsFromHere(*rs), "A,B,C");
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_FALSE(rs->IsBOF());
    EXPECT_DB_ERROR(rs->MoveNext(), kNoCurrentRecord);
    EXPECT_DB_ERROR(rs->field("Tail"), kNoCurrentRecord);

    rs->MovePrevious();  // from EOF to the last row
    EXPECT_EQ(rs->field("Tail").toText(), "C");
    rs->MovePrevious();
    rs->MovePrevious();
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    rs->MovePrevious();
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_DB_ERROR(rs->MovePrevious(), kNoCurrentRecord);
    rs->MoveNext();  // from BOF to the first row
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    rs->MoveLast();
    EXPECT_EQ(rs->field("Tail").toText(), "C");
}

TEST_F(Dynaset, TableWithoutOrderListsRowsAsStored)
{
    auto rs = db->CreateDynaset("Weighing");
    EXPECT_EQ(tailsFromHere(*rs), "C,A,B");
}

TEST_F(Dynaset, SameOrderValuesKeepTableOrderBothWays)
{
    add("D", "03-02-2004");
    auto rs = byDate(*db);
    EXPECT_EQ(tailsFromHere(*rs), "A,B,D,C");
    rs->MoveLast();
    std::string back;
    while (!rs->IsBOF()) {
        back += rs->field("Tail").toText();
        rs->MovePrevious();
    }
    EXPECT_EQ(back, "CDBA");
}

TEST_F(Dynaset, RowWithoutOrderValueComesFirst)
{
    auto rs = db->CreateDynaset("Weighing");
    rs->AddNew();
    rs->setField("Tail", "N");
    rs->Update();
    auto ordered = byDate(*db);
    EXPECT_EQ(tailsFromHere(*ordered), "N,A,B,C");
    ordered->MoveLast();
    ordered->MovePrevious();
    ordered->MovePrevious();
    ordered->MovePrevious();
    EXPECT_EQ(ordered->field("Tail").toText(), "N");
    ordered->MoveNext();
    EXPECT_EQ(ordered->field("Tail").toText(), "A");
}

TEST_F(Dynaset, AddedRowGoesToTheEndAndCurrentRowStays)
{
    auto rs = byDate(*db);
    rs->MoveNext();  // B
    rs->AddNew();
    rs->setField("Tail", "Z");
    EXPECT_EQ(rs->field("Tail").toText(), "Z");  // reads the new row while adding
    rs->setField("Date", "01-01-2000");           // earliest date, still listed last
    rs->Update();
    EXPECT_EQ(rs->field("Tail").toText(), "B");
    rs->MoveLast();
    EXPECT_EQ(rs->field("Tail").toText(), "Z");
    rs->MovePrevious();
    EXPECT_EQ(rs->field("Tail").toText(), "C");
    rs->MoveFirst();
    EXPECT_EQ(tailsFromHere(*rs), "A,B,C,Z");

    // Another set made now lists it in date order; an older set of the same
    // table does not list it at all until refreshed.
    EXPECT_EQ(tailsFromHere(*byDate(*db)), "Z,A,B,C");
}

TEST_F(Dynaset, RowsAddedElsewhereShowAfterRefresh)
{
    auto rs = byDate(*db);
    add("D", "03-04-2004");
    EXPECT_EQ(tailsFromHere(*rs), "A,B,C");
    rs->Refresh();
    EXPECT_EQ(tailsFromHere(*rs), "A,B,C,D");
}

TEST_F(Dynaset, DeletedCurrentRowFailsToReadAndMovesOn)
{
    auto rs = byDate(*db);
    rs->MoveNext();  // B
    rs->Delete();
    EXPECT_DB_ERROR(rs->field("Tail"), kRecordDeleted);
    EXPECT_DB_ERROR(rs->Delete(), kRecordDeleted);
    EXPECT_DB_ERROR(rs->Edit(), kRecordDeleted);
    EXPECT_FALSE(rs->IsEOF());
    rs->MoveNext();
    EXPECT_EQ(rs->field("Tail").toText(), "C");
    rs->MovePrevious();
    EXPECT_EQ(rs->field("Tail").toText(), "A");

    // A row deleted through another set is skipped, and reads of it fail.
    auto other = byDate(*db);  // on A
    rs->Delete();
    EXPECT_DB_ERROR(other->field("Tail"), kRecordDeleted);
    other->MoveNext();
    EXPECT_EQ(other->field("Tail").toText(), "C");
}

// Another program may replace the current row by one under the same row id:
// outside a transaction every read asks the file, inside one the row read
// stays as it was read (no other program writes meanwhile).
TEST_F(Dynaset, ARowReplacedByAnotherProgramUnderItsRowIdReadsAsReplaced)
{
    auto rs = byDate(*db);  // on A
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(folder.file("test.db").c_str(), &other), SQLITE_OK);
    auto replace = [&](const char* tail) {
        const std::string sql = std::string("BEGIN; DELETE FROM Weighing WHERE Tail = 'A' OR Tail = 'Z'; "
                                            "INSERT INTO Weighing (rowid, Tail, Date) VALUES (2, '") +
                                tail + "', '2004-03-01'); COMMIT";
        ASSERT_EQ(sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
    };
    replace("Z");
    EXPECT_EQ(rs->field("Tail").toText(), "Z");
    db->BeginRead();
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 1}));
    EXPECT_EQ(rs->field("Tail").toText(), "Z");
    db->Rollback();
    sqlite3_exec(other, "DELETE FROM Weighing WHERE Tail = 'Z'", nullptr, nullptr, nullptr);
    EXPECT_DB_ERROR(rs->field("Tail"), kRecordDeleted);
    sqlite3_close(other);
}

TEST_F(Dynaset, AddAfterDeleteOfLastRowIsNotListedTwice)
{
    auto rs = byDate(*db);
    rs->MoveLast();  // C, the highest date; then the last row of the table is deleted
    auto table = db->CreateDynaset("Weighing");
    table->MoveLast();
    table->Delete();  // B, the newest row
    rs->AddNew();
    rs->setField("Tail", "N");
    rs->setField("Date", "03-02-2004");
    rs->Update();
    rs->MoveFirst();
    EXPECT_EQ(tailsFromHere(*rs), "A,C,N");
}

// The rows were stored by an earlier connection, so this one has given out no
// row ids yet when the newest rows go.
TEST_F(Dynaset, RowAddedAfterTheNewestRowsWentIsNotListedByOlderSets)
{
    db->Close();
    db = engine->OpenDatabase(folder.file("test.db"));
    auto older = byDate(*db);  // A, B, C
    db->DeleteRows("Weighing", Criteria());
    auto other = db->CreateDynaset("Weighing");
    other->AddNew();
    other->setField("Tail", "N");
    other->Update();
    EXPECT_EQ(older->RecordCount(), 0);
    EXPECT_DB_ERROR(older->MoveFirst(), kNoCurrentRecord);
    EXPECT_EQ(other->RecordCount(), 1);
    other->MoveFirst();
    EXPECT_EQ(tailsFromHere(*other), "N");  // once, not also as a row it had before
}

// A failed save rolls back the deletion of a weighing's rows after its sets
// were made again: the sets list the rows that come back.
TEST_F(Dynaset, RowsBroughtBackByRollbackAreListed)
{
    db->BeginTrans();
    auto table = db->CreateDynaset("Weighing");
    table->MoveLast();
    table->Delete();  // B, the newest row
    auto made = byDate(*db);
    table->Refresh();
    db->Rollback();
    EXPECT_EQ(tailsFromHere(*made), "A,B,C");
    EXPECT_EQ(tailsFromHere(*table), "C,A,B");
}

TEST_F(Dynaset, EditStoresAndKeepsPosition)
{
    auto rs = byDate(*db);
    rs->MoveNext();  // B
    rs->Edit();
    rs->setField("Weight", 1500.5);
    rs->setField("Date", "03-09-2004");
    rs->Update();
    EXPECT_EQ(rs->field("Tail").toText(), "B");
    EXPECT_EQ(rs->field("Weight").toNumber(), 1500.5);
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());  // B now has the latest date
    EXPECT_EQ(tailsFromHere(*byDate(*db)), "A,C,B");
}

TEST_F(Dynaset, MoveOrNewAddAbandonsPendingWork)
{
    auto rs = byDate(*db);
    rs->Edit();
    rs->setField("Tail", "X");
    rs->MoveNext();
    EXPECT_DB_ERROR(rs->Update(), dberr::kUpdateWithoutEdit);
    rs->MoveFirst();
    EXPECT_EQ(rs->field("Tail").toText(), "A");

    rs->Edit();
    rs->setField("Tail", "X");
    rs->AddNew();  // the edit is dropped; the new row goes in alone
    rs->setField("Tail", "Y");
    rs->Update();
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_DB_ERROR(rs->setField("Tail", "Q"), dberr::kUpdateWithoutEdit);
}

TEST_F(Dynaset, FindsMoveToMatchesAndFailedFindStays)
{
    add("A", "03-05-2004");
    auto rs = byDate(*db);  // A(1), B(2), C(3), A(5)
    rs->MoveNext();          // B
    Criteria tailA("Tail", Compare::Equal, "a");
    rs->FindFirst(tailA);
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 1}));
    rs->FindNext(tailA);
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 5}));
    rs->FindNext(tailA);
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 5}));  // stayed
    rs->FindPrevious(tailA);
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 1}));
    rs->FindLast(tailA);
    EXPECT_EQ(rs->field("Date").toDate(), (Date{2004, 3, 5}));

    rs->MoveFirst();
    rs->FindFirst(Criteria("Tail", Compare::Equal, "Q"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->field("Tail").toText(), "A");
    rs->FindNext(Criteria("Tail", Compare::Equal, "C"));
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->field("Tail").toText(), "C");
}

TEST_F(Dynaset, FindsSeeRowsAddedThroughTheSet)
{
    auto rs = byDate(*db);
    rs->AddNew();
    rs->setField("Tail", "NEW");
    rs->Update();
    rs->FindLast(Criteria("Tail", Compare::Like, "N*"));
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->field("Tail").toText(), "NEW");
    rs->FindPrevious(Criteria("Tail", Compare::Equal, "C"));
    EXPECT_EQ(rs->field("Tail").toText(), "C");
    rs->FindNext(Criteria("Tail", Compare::Equal, "NEW"));
    EXPECT_FALSE(rs->NoMatch());
}

TEST_F(Dynaset, FilterMakesANarrowerSetInTheSameOrder)
{
    add("A", "02-01-2004");
    auto all = byDate(*db);
    all->setFilter(Criteria("Tail", Compare::Like, "a*"));
    auto found = all->CreateDynaset();
    EXPECT_EQ(found->field("Date").toDate(), (Date{2004, 2, 1}));
    EXPECT_EQ(found->RecordCount(), 2);
    // Narrowing again, as the search by example does box by box.
    found->setFilter(Criteria("Date", Compare::Equal, "3/1/2004"));
    auto narrower = found->CreateDynaset();
    EXPECT_EQ(narrower->RecordCount(), 1);
    narrower->setFilter(Criteria("Tail", Compare::Equal, "B"));
    auto none = narrower->CreateDynaset();
    EXPECT_TRUE(none->IsBOF());
    EXPECT_TRUE(none->IsEOF());
}

TEST_F(Dynaset, ClosedSetAndDatabaseRefuseUse)
{
    auto rs = byDate(*db);
    auto other = byDate(*db);
    rs->Close();
    EXPECT_DB_ERROR(rs->MoveNext(), dberr::kObjectClosed);
    EXPECT_DB_ERROR(rs->field("Tail"), dberr::kObjectClosed);
    EXPECT_EQ(other->field("Tail").toText(), "A");
    db->Close();
    EXPECT_DB_ERROR(other->field("Tail"), dberr::kObjectClosed);
    EXPECT_DB_ERROR(db->CreateDynaset("Weighing"), dberr::kObjectClosed);
}

TEST_F(Dynaset, UnknownNamesFail)
{
    EXPECT_DB_ERROR(db->CreateDynaset("Nope"), dberr::kTableNotFound);
    EXPECT_DB_ERROR(db->CreateDynaset(RecordSource("Weighing").OrderBy("Nope")), dberr::kUnknownField);
    auto rs = byDate(*db);
    EXPECT_DB_ERROR(rs->field("Nope"), dberr::kItemNotFound);
    EXPECT_DB_ERROR(rs->FindFirst(Criteria("Nope", Compare::Equal, 1)), dberr::kUnknownField);
    EXPECT_EQ(rs->field("tail").toText(), "A");  // names ignore case
}

}  // namespace
}  // namespace wb::test
