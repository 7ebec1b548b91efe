// Typed columns: what each takes, what it refuses, what it gives back.
#include <sqlite3.h>

#include <cmath>
#include <string>
#include <vector>

#include "db_fixture.h"
#include "platform/sqlite/column_values.h"

namespace wb::test {
namespace {

class FieldTypes : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        rs = db->CreateDynaset("Weighing");
        rs->AddNew();
    }
    // Stores the pending row and reads it back through a fresh set.
    std::shared_ptr<Recordset> stored()
    {
        rs->Update();
        auto again = db->CreateDynaset("Weighing");
        again->MoveLast();
        return again;
    }
    std::shared_ptr<Recordset> rs;
};

TEST_F(FieldTypes, RefusalsLeaveTheFieldAsItWas)
{
    rs->setField("Weight", 12.5);
    EXPECT_DB_ERROR(rs->setField("Weight", "heavy"), dberr::kTypeMismatch);
    EXPECT_DB_ERROR(rs->setField("Count", "1x"), dberr::kTypeMismatch);
    EXPECT_DB_ERROR(rs->setField("Date", "13-45-2004"), dberr::kTypeMismatch);
    EXPECT_DB_ERROR(rs->setField("Flag", "maybe"), dberr::kTypeMismatch);
    EXPECT_DB_ERROR(rs->setField("Tail", "N1234567"), dberr::kFieldTooSmall);
    EXPECT_DB_ERROR(rs->setField("Nope", 1), dberr::kItemNotFound);
    EXPECT_EQ(rs->field("Weight").toNumber(), 12.5);
    EXPECT_TRUE(rs->field("Tail").isNull());
    rs->setField("Tail", "N12345");  // exactly the size fits
    auto back = stored();
    EXPECT_EQ(back->field("Weight").toNumber(), 12.5);
    EXPECT_EQ(back->field("Tail").toText(), "N12345");
}

TEST_F(FieldTypes, EmptyTextGivesNoValueToNumbersAndDatesButStaysText)
{
    rs->setField("Tail", "");
    rs->setField("Weight", "");
    rs->setField("Count", " ");
    rs->setField("Date", "");
    rs->setField("Flag", "");
    rs->setField("Note", Value());  // Empty
    auto back = stored();
    EXPECT_TRUE(back->field("Tail").isText());
    EXPECT_EQ(back->field("Tail").toText(), "");
    for (const char* name : {"Weight", "Count", "Date", "Flag", "Note"}) {
        EXPECT_TRUE(back->field(name).isNull()) << name;
    }
}

TEST_F(FieldTypes, ValuesComeBackTyped)
{
    rs->setField("Tail", 123);          // a number into text: its text form
    rs->setField("Weight", "1500.25");  // numeric text into a number
    rs->setField("Count", 2.5);         // whole number: half to even
    rs->setField("Date", "3/9/2004");
    rs->setField("Flag", Value::boolean(true));
    rs->setField("Note", "line 1\r\nline 2");
    auto back = stored();
    EXPECT_EQ(back->field("Tail").toText(), "123");
    EXPECT_TRUE(back->field("Weight").isNumber());
    EXPECT_EQ(back->field("Weight").toNumber(), 1500.25);
    EXPECT_EQ(back->field("Count").toNumber(), 2);
    EXPECT_TRUE(back->field("Date").isDate());
    EXPECT_EQ(back->field("Date").toDate(), (Date{2004, 3, 9}));
    EXPECT_TRUE(back->field("Flag").isBoolean());
    EXPECT_TRUE(back->field("Flag").toBool());
    EXPECT_EQ(back->field("Note").toText(), "line 1\r\nline 2");
}

TEST_F(FieldTypes, BooleansAndDatesAreStoredAsTheOldEngineDid)
{
    rs->setField("Flag", Value::boolean(true));
    rs->setField("Date", "03-09-2004");
    rs->Update();
    rs->AddNew();
    rs->setField("Flag", 0);
    rs->Update();
    rs->AddNew();
    rs->setField("Flag", "True");
    rs->Update();
    db->Close();

    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(folder.file("test.db").c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "SELECT Flag, ifnull(Date, '') FROM Weighing ORDER BY rowid", -1, &st, nullptr);
    std::string seen;
    while (sqlite3_step(st) == SQLITE_ROW) {
        seen += std::to_string(sqlite3_column_int(st, 0)) + " " +
                reinterpret_cast<const char*>(sqlite3_column_text(st, 1)) + ";";
    }
    EXPECT_EQ(seen, "-1 2004-03-09;0 ;-1 ;");
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

// A column read in place gives what reading its value gives, for every
// field type and every kind a column can hold, another program's too.
TEST(ReadingColumns, InPlaceIsAsReadingTheValue)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    const std::vector<std::string> stored = {
        "NULL", "0", "1", "-1", "9007199254740993", "2.5", "-0.0", "1e300", "'abc'", "'2.5'", "' 7 '", "''",
        "'2004-03-09'", "'03-09-2004'", "x'ff'", "CAST(x'41ff42' AS TEXT)", "CAST(x'610062' AS TEXT)", "'True'",
    };
    for (FieldType type : {FieldType::Text, FieldType::Memo, FieldType::Double, FieldType::Long, FieldType::Boolean,
                           FieldType::Date}) {
        const FieldDef field{"F", type, 255};
        for (const std::string& value : stored) {
            SCOPED_TRACE(value + " as type " + std::to_string(static_cast<int>(type)));
            sqlite::Statement s(raw, "SELECT " + value);
            ASSERT_TRUE(s.step());
            const Value inPlace = sqlite::readColumn(field, s, 0);
            const Value read = sqlite::readValue(field, s.column(0));
            EXPECT_EQ(inPlace.kind(), read.kind());
            EXPECT_EQ(inPlace.displayText(), read.displayText());
            if (read.isNumber()) {
                EXPECT_EQ(std::signbit(inPlace.toNumber()), std::signbit(read.toNumber()));
            }
        }
    }
    sqlite3_close(raw);
}

}  // namespace
}  // namespace wb::test
