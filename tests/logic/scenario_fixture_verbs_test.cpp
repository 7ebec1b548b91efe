// The runner's verbs that check stored data (expect-sql, expect-file) and that
// prepare it (sql-write, file, mkdir), run through the built wb-scenario.
#include "runner_fixture.h"

namespace {

using namespace runner_fixture;

class FixtureVerbs : public RunnerFixture {
protected:
    void SetUp() override {
        RunnerFixture::SetUp();
        fs::create_directories(work_ / "data");
        makeDatabase(work_ / "SetupVASK.MDB",
                     "CREATE TABLE Company (DataPath TEXT, CompanyPhone TEXT);"
                     "INSERT INTO Company VALUES ('" + (work_ / "data").string() + "', NULL);");
        makeDatabase(work_ / "data" / "KORRIN.MDB",
                     "CREATE TABLE Aircraft (Tail TEXT, Date TEXT, Empty REAL);"
                     "INSERT INTO Aircraft VALUES ('N1', '2004-03-09', 1500.5);"
                     "INSERT INTO Aircraft VALUES ('O''B', '2004-03-10 00:00:00', NULL);");
    }
};

const char* kQuery = "expect-sql records \"SELECT Tail, Date, Empty FROM Aircraft ORDER BY Date\"";

TEST_F(FixtureVerbs, ExpectSqlPassesOnlyOnTheSameRowsInTheSameOrder) {
    struct Case {
        std::string rows;
        bool passes;
    };
    const Case cases[] = {
        {" \"N1|2004-03-09|1500.5\" \"O'B|2004-03-10|NULL\"", true},
        {" \"O'B|2004-03-10|NULL\" \"N1|2004-03-09|1500.5\"", false},
        {" \"N1|2004-03-09|1500.5\"", false},
        {" \"N1|2004-03-09|1500.5\" \"O'B|2004-03-10|NULL\" \"N1|2004-03-09|1500.5\"", false},
        {" \"N1|2004-03-09|1500.50\" \"O'B|2004-03-10|NULL\"", false},
        {" \"N1|2004-03-09|1500.5\" \"O'B|2004-03-10|\"", false},
        {"", false},
    };
    for (const Case& c : cases) {
        Outcome r = run(kQuery + c.rows + "\n");
        EXPECT_EQ(r.status, c.passes ? 0 : 1) << c.rows << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, c.passes ? "1 passed, 0 failed\n" : "0 passed, 1 failed\n"))
            << c.rows << "\n" << r.output;
        // The rows are printed as `sql` prints them either way.
        EXPECT_TRUE(contains(r.output, "sql: N1|2004-03-09|1500.5\nsql: O'B|2004-03-10|NULL\n")) << r.output;
    }
}

TEST_F(FixtureVerbs, ExpectSqlFailureNamesActualAndExpectedRows) {
    Outcome r = run("expect MsgBoxCount \"0\"\n" + std::string(kQuery) + " \"N1|2004-03-09|1500.5\"\n" +
                    "expect-sql settings \"SELECT CompanyPhone FROM Company WHERE 0\"\n" +
                    "expect-sql settings \"SELECT CompanyPhone FROM Company\" \"a\\\"b\"\n");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(contains(r.output, "FAIL line 2: sql records gave \"N1|2004-03-09|1500.5\" "
                                   "\"O'B|2004-03-10|NULL\", expected \"N1|2004-03-09|1500.5\"\n"))
        << r.output;
    EXPECT_TRUE(contains(r.output, "FAIL line 4: sql settings gave \"NULL\", expected \"a\\\"b\"\n")) << r.output;
    EXPECT_TRUE(r.output.ends_with("2 passed, 2 failed\n")) << r.output;
}

TEST_F(FixtureVerbs, ExpectSqlStaysReadOnlyAndChecksItsForm) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"expect-sql records \"DELETE FROM Aircraft\"", "line 1: expect-sql: the query must only read"},
        {"expect-sql records \"SELECT 1; SELECT 2\" \"1\"", "line 1: expect-sql: one statement only"},
        {"expect-sql records \"SELECT 1\" 1", "line 1: bad arguments for expect-sql"},
        {"expect-sql other \"SELECT 1\" \"1\"", "line 1: bad arguments for expect-sql"},
        {"expect-sql records", "line 1: bad arguments for expect-sql"},
    };
    for (const Case& c : cases) {
        Outcome r = run(std::string(c.line) + "\n");
        EXPECT_EQ(r.status, 2) << c.line << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, c.message)) << c.line << "\n" << r.output;
    }
    Outcome after = run("expect-sql records \"SELECT COUNT(*) FROM Aircraft\" \"2\"\n");
    EXPECT_EQ(after.status, 0) << after.output;
}

TEST_F(FixtureVerbs, SqlWriteChangesTheFileAndRefusesAQuery) {
    Outcome r = run("sql-write records \"UPDATE Aircraft SET Empty = -1 WHERE Tail = 'O''B'\"\n"
                    "expect-sql records \"SELECT Empty FROM Aircraft ORDER BY Date\" \"1500.5\" \"-1\"\n"
                    "sql-write settings \"UPDATE Company SET DataPath = working_folder() || '/data'\"\n"
                    "expect-sql settings \"SELECT replace(DataPath, working_folder(), '<cwd>') FROM Company\" "
                    "\"<cwd>/data\"\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(contains(r.output, "sql-write: 1 row changed\n")) << r.output;

    Outcome query = run("sql-write records \"SELECT * FROM Aircraft\"\n");
    EXPECT_EQ(query.status, 2) << query.output;
    EXPECT_TRUE(contains(query.output, "line 1: sql-write: the statement must write")) << query.output;

    Outcome bad = run("sql-write records \"UPDATE Nowhere SET x = 1\"\n");
    EXPECT_EQ(bad.status, 2) << bad.output;
    EXPECT_TRUE(contains(bad.output, "line 1: sql-write: no such table")) << bad.output;
}

TEST_F(FixtureVerbs, FileWritesUtf8BytesAndExpectFileComparesThem) {
    Outcome r = run("mkdir \"shop/old\"\n"
                    "file \"shop/old/KORRIN.MDB\" \"Gr\xC3\xBC\xC3\x9F\\r\\n\\tend\"\n"
                    "expect-file \"shop/old/KORRIN.MDB\" \"Gr\xC3\xBC\xC3\x9F\\r\\n\\tend\"\n"
                    "expect-file \"shop/old/KORRIN.MDB\" \"Gr\xC3\xBC\xC3\x9F\\r\\n\"\n"
                    "expect-file \"shop/none\" \"\"\n");
    EXPECT_EQ(r.status, 1) << r.output;
    std::ifstream in(work_ / "shop" / "old" / "KORRIN.MDB", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "Gr\xC3\xBC\xC3\x9F\r\n\tend");
    EXPECT_TRUE(contains(r.output, "FAIL line 4: file \"shop/old/KORRIN.MDB\" = \"Gr\xC3\xBC\xC3\x9F\\r\\n\\tend\", "
                                   "expected \"Gr\xC3\xBC\xC3\x9F\\r\\n\"\n"))
        << r.output;
    EXPECT_TRUE(contains(r.output, "FAIL line 5: file \"shop/none\" = missing, expected \"\"\n")) << r.output;
    EXPECT_TRUE(r.output.ends_with("1 passed, 2 failed\n")) << r.output;
}

TEST_F(FixtureVerbs, FixtureNamesStayInsideTheWorkingFolder) {
    const char* lines[] = {
        "file \"/tmp/escaped\" \"x\"",
        "file \"../escaped\" \"x\"",
        "mkdir \"a/../../escaped\"",
        "expect-file \"../work/SetupVASK.MDB\" \"\"",
        "file \"\" \"x\"",
    };
    for (const char* line : lines) {
        Outcome r = run(std::string(line) + "\n");
        EXPECT_EQ(r.status, 2) << line << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, "not a name inside the working folder")) << line << "\n" << r.output;
    }
    EXPECT_FALSE(fs::exists(folder_ / "escaped"));

    Outcome noFolder = run("file \"missing/KORRIN.MDB\" \"x\"\n");
    EXPECT_EQ(noFolder.status, 2) << noFolder.output;
    EXPECT_TRUE(contains(noFolder.output, "line 1: file: cannot write missing/KORRIN.MDB")) << noFolder.output;
}

}  // namespace
