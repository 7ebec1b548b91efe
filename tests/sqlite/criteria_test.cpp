// Criteria reach the engine as bound values: dates in either form, quotes in
// text, Like patterns, values a field cannot take.
#include "db_fixture.h"

namespace wb::test {
namespace {

class Criteria_ : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        add("N12AB", "03-09-2004", 1500);
        add("O'NE", "3/10/2004", 1600);
        add("Q\"T", "2004-03-11", 1700);
        add("n12xy", "03-12-2004", 1800);
    }

    long count(const Criteria& c) { return db->CreateDynaset(RecordSource("Weighing").Where(c))->RecordCount(); }
};

TEST_F(Criteria_, DateInEitherProgramFormSelectsTheSameRows)
{
    for (const char* text : {"03-09-2004", "3/9/2004", "3-9-2004", "2004-03-09", " 03-09-2004 "}) {
        EXPECT_EQ(count(Criteria("Date", Compare::Equal, text)), 1) << text;
    }
    EXPECT_EQ(count(Criteria("Date", Compare::Equal, Date{2004, 3, 9})), 1);
    EXPECT_EQ(count(Criteria("Date", Compare::Greater, "3/10/2004")), 2);  // compared as dates
    EXPECT_EQ(count(Criteria("Date", Compare::LessOrEqual, "03-10-2004")), 2);
}

TEST_F(Criteria_, ValueAFieldCannotTakeMatchesNothing)
{
    EXPECT_EQ(count(Criteria("Date", Compare::Equal, "13-45-2004")), 0);
    EXPECT_EQ(count(Criteria("Date", Compare::Equal, "")), 0);
    EXPECT_EQ(count(Criteria("Weight", Compare::Equal, "heavy")), 0);
    EXPECT_EQ(count(Criteria("Tail", Compare::Equal, Value::null())), 0);
    EXPECT_EQ(count(Criteria("Weight", Compare::Equal, "1500")), 1);  // numeric text converts
}

TEST_F(Criteria_, QuotesAndSqlInValuesAreJustText)
{
    EXPECT_EQ(count(Criteria("Tail", Compare::Equal, "O'NE")), 1);
    EXPECT_EQ(count(Criteria("Tail", Compare::Equal, "Q\"T")), 1);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "Q\"*")), 1);
    EXPECT_EQ(count(Criteria("Tail", Compare::Equal, "x' OR '1'='1")), 0);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "\" Or Tail Like \"*")), 0);
    EXPECT_EQ(db->CreateDynaset("Weighing")->RecordCount(), 4);
}

TEST_F(Criteria_, TextComparesWithoutCaseAndLikeKeepsOldWildcards)
{
    EXPECT_EQ(count(Criteria("Tail", Compare::Equal, "n12ab")), 1);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "N12*")), 2);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "N12##")), 0);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "N##[a-b]*")), 1);
    EXPECT_EQ(count(Criteria("Tail", Compare::Like, "%")), 0);  // not a wildcard here
    EXPECT_EQ(count(Criteria("Tail", Compare::NotEqual, "N12AB")), 3);
}

TEST_F(Criteria_, ConditionsJoinWithAndAndNullTests)
{
    auto rs = db->CreateDynaset("Weighing");
    rs->AddNew();
    rs->setField("Tail", "N12ZZ");
    rs->Update();
    Criteria c("Tail", Compare::Like, "N12*");
    c.And("Date", Compare::IsNull);
    EXPECT_EQ(count(c), 1);
    EXPECT_EQ(count(Criteria("Date", Compare::IsNotNull).And("Weight", Compare::GreaterOrEqual, 1600)), 3);
    EXPECT_EQ(db->DeleteRows("Weighing", Criteria("Tail", Compare::Like, "n12*").And("Date", Compare::IsNotNull)), 2);
    EXPECT_EQ(db->CreateDynaset("Weighing")->RecordCount(), 3);
}

}  // namespace
}  // namespace wb::test
