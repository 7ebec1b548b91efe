// Text in the record files is UTF-8 end to end: stored and read back as it is,
// limits in characters, case-free comparison and Like over all letters, and
// case-free indexes in that same order, also in files written before.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "db_fixture.h"
#include "platform/sqlite/text_collation.h"

namespace wb::test {
namespace {

// A connection of another program: SQLite's own NOCASE unless told otherwise.
class RawConnection {
public:
    RawConnection(const std::string& path, bool ourCollation)
    {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (ourCollation) sqlite::registerTextCollation(db_);
    }
    ~RawConnection() { sqlite3_close(db_); }
    void exec(const std::string& sql)
    {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    }
    // One column of each row, joined by "; ".
    std::string rows(const std::string& sql, int column = 0)
    {
        sqlite3_stmt* st = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return sqlite3_errmsg(db_);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
            out += (out.empty() ? "" : "; ") + std::string(text ? text : "NULL");
        }
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

class UnicodeText : public DatabaseTest {
protected:
    long count(const Criteria& c) { return db->CreateDynaset(RecordSource("Weighing").Where(c))->RecordCount(); }
    std::string path() const { return folder.file("test.db"); }
};

TEST_F(UnicodeText, TextIsStoredAsItIsAndItsLimitCountsCharacters)
{
    const std::string note = "Oil ‘topped’ — 2 € ✓ Ærø Łódź 🛩";
    auto rs = db->CreateDynaset("Weighing");
    rs->AddNew();
    rs->setField("Tail", "ÆRØÇ€Ł");  // six characters, fourteen bytes, in a TEXT(6)
    rs->setField("Note", note);
    rs->Update();
    rs->AddNew();
    EXPECT_DB_ERROR(rs->setField("Tail", "ÆRØÇ€ŁX"), dberr::kFieldTooSmall);
    rs->CancelUpdate();
    db->Close();

    RawConnection raw(path(), false);
    EXPECT_EQ(raw.rows("SELECT Tail || '|' || Note FROM Weighing"), "ÆRØÇ€Ł|" + note);
    db = engine->OpenDatabase(path(), OpenMode::ReadOnly);
    rs = db->CreateDynaset("Weighing");
    EXPECT_EQ(rs->field("Tail").toText(), "ÆRØÇ€Ł");
    EXPECT_EQ(rs->field("Note").toText(), note);
}

TEST_F(UnicodeText, BrokenTextFromAnotherProgramReadsAsReplacementCharacters)
{
    db->Close();
    {
        RawConnection raw(path(), false);
        // A truncated sequence, an overlong form and a lone surrogate.
        raw.exec("INSERT INTO Weighing (Tail, Note) VALUES ('A', CAST(X'41E28242C0AF43EDA08044' AS TEXT))");
    }
    db = engine->OpenDatabase(path(), OpenMode::ReadWrite);
    auto rs = db->CreateDynaset(RecordSource("Weighing").Where(Criteria("Tail", Compare::Equal, "A")));
    ASSERT_FALSE(rs->IsEOF());
    EXPECT_EQ(rs->field("Note").toText(), "A\uFFFD\uFFFDB\uFFFD\uFFFDC\uFFFD\uFFFD\uFFFDD");
}

TEST_F(UnicodeText, CaseFreeComparisonAndLikeFoldEveryAlphabet)
{
    add("ÉTÉ", "2004-03-01");
    add("ŁÓDŹ", "2004-03-02");
    add("ΣΟΦΙΑ", "2004-03-03");
    add("МИР", "2004-03-04");
    add("N€12", "2004-03-05");
    struct Case {
        const char* field;
        Compare op;
        const char* value;
        long found;
    };
    const Case cases[] = {
        {"Tail", Compare::Equal, "été", 1},
        {"Tail", Compare::Equal, "łódź", 1},
        {"Tail", Compare::Equal, "σοφια", 1},
        {"Tail", Compare::Equal, "мир", 1},
        {"Tail", Compare::Equal, "ete", 0},  // accents are not folded away
        {"Tail", Compare::Like, "é*", 1},
        {"Tail", Compare::Like, "?t?", 1},       // "?" is one character, not one byte
        {"Tail", Compare::Like, "ł???", 1},
        {"Tail", Compare::Like, "N?##", 1},
        {"Tail", Compare::Like, "[à-ÿ]*", 1},    // a range of accented letters, either case
        {"Tail", Compare::Like, "[!a-z]*", 4},   // N€12 starts with a letter of a-z
        {"Tail", Compare::Like, "*Ź", 1},
        {"Tail", Compare::Like, "*€*", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(count(Criteria(c.field, c.op, c.value)), c.found) << c.value;
    }
}

TEST_F(UnicodeText, CaseFreeQueriesUseTheIndexes)
{
    db->Close();
    RawConnection raw(path(), true);
    const std::string plan =
        raw.rows("EXPLAIN QUERY PLAN SELECT rowid FROM Weighing WHERE Tail = 'été' AND Date = '2004-03-01'", 3);
    EXPECT_NE(plan.find("INDEX WeighingKey"), std::string::npos) << plan;
    const std::string ordered = raw.rows("EXPLAIN QUERY PLAN SELECT Tail FROM Weighing ORDER BY Tail", 3);
    EXPECT_EQ(ordered.find("TEMP B-TREE"), std::string::npos) << ordered;  // the index gives the order
}

// An index written under SQLite's own NOCASE (by an earlier version of this
// program, whose files have the same layout, or by another program) holds
// "É..." before every "é...". Opening one of our files repairs it into the case-free
// order, and searches find every row.
TEST_F(UnicodeText, AFileWrittenUnderSqlitesOwnNoCaseIsSearchedCorrectly)
{
    db->Close();
    {
        RawConnection raw(path(), false);
        raw.exec("PRAGMA user_version = 0");  // as files made before the mark
        raw.exec("INSERT INTO Weighing (Tail, Date) VALUES ('ÉCLAIR', '2004-03-01'), ('élan', '2004-03-02'), "
                 "('ÉMILE', '2004-03-03'), ('été', '2004-03-04'), ('Øre', '2004-03-05'), ('øst', '2004-03-06')");
    }
    {
        RawConnection ours(path(), true);
        EXPECT_NE(ours.rows("PRAGMA integrity_check"), "ok");  // out of the case-free order
    }
    db = engine->OpenDatabase(path(), OpenMode::ReadWrite);
    db->RepairTextIndexes();
    for (const char* tail : {"éclair", "ÉLAN", "émile", "ÉTÉ", "øre", "ØST"}) {
        EXPECT_EQ(count(Criteria("Tail", Compare::Equal, tail)), 1) << tail;
    }
    auto rs = db->CreateDynaset(RecordSource("Weighing").OrderBy("Tail"));
    EXPECT_EQ(tailsFromHere(*rs), "ÉCLAIR,élan,ÉMILE,été,Øre,øst");
    db->Close();
    RawConnection ours(path(), true);
    EXPECT_EQ(ours.rows("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(ours.rows("PRAGMA user_version"), "1");  // checked once, not at every open
}

// Repairing a file whose indexes are in order writes nothing to it.
TEST_F(UnicodeText, AFileInOrderIsNotRewrittenOnOpen)
{
    add("N12AB", "2004-03-01");
    add("élan", "2004-03-02");
    add("ÉCLAIR", "2004-03-03");
    db->Close();
    auto bytes = [&] {
        std::ifstream in(path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string before = bytes();
    db = engine->OpenDatabase(path(), OpenMode::ReadWrite);
    db->RepairTextIndexes();
    db->Close();
    EXPECT_EQ(bytes(), before);
}

}  // namespace
}  // namespace wb::test
