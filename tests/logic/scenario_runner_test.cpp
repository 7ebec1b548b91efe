// The scenario runner as its scripts see it: run the built wb-scenario on small
// scripts and check its output lines and exit status.
#include "runner_fixture.h"

namespace {

using namespace runner_fixture;

class ScenarioRunner : public RunnerFolderFixture {};

TEST_F(ScenarioRunner, CountsExpectationsAndReportsFailuresWithTheirLine) {
    Outcome r = run("# before any start\n"
                "expect Focus \"\"\n"
                "\n"
                "expect Ended \"True\"   # a comment after the text\n"
                "expect MsgBoxCount \"0\"\n");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(contains(r.output, "FAIL line 4: Ended = \"False\", expected \"True\"\n")) << r.output;
    EXPECT_TRUE(r.output.ends_with("2 passed, 1 failed\n")) << r.output;
}

TEST_F(ScenarioRunner, AllPassedExitsZero) {
    Outcome r = run("expect Ended \"False\"\nexpect MsgBox \"\"\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(r.output.ends_with("2 passed, 0 failed\n")) << r.output;
}

TEST_F(ScenarioRunner, TextsKeepTheirEscapesAndCharacters) {
    Outcome r = run("expect MsgBox \"a\\\"b\\\\c\\td\\ne\"\n"
                "expect MsgBox \"Grüße €’–Ł\"\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.output, "expected \"a\\\"b\\\\c\\td\\ne\"\n")) << r.output;
    EXPECT_TRUE(contains(r.output, "expected \"Grüße €’–Ł\"\n")) << r.output;
}

TEST_F(ScenarioRunner, ScriptErrorsExitTwoWithTheLineBeforeAnythingRuns) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"frobnicate Text1", "unknown verb frobnicate"},
        {"expect Text1 N12AB", "bad arguments for expect"},
        {"expect Text1 \"N12AB", "unterminated text"},
        {"expect Text1 \"a\\qb\"", "unknown escape"},
        {"type Text1 \"\xE2\x82\"", "not valid UTF-8"},     // truncated sequence
        {"type Text1 \"\xC0\xAF\"", "not valid UTF-8"},         // overlong form
        {"type Text1 \"\xED\xA0\x80\"", "not valid UTF-8"},     // lone surrogate
        {"type Text\xFF \"x\"", "not valid UTF-8"},
        {"key Text1 F13", "bad arguments for key"},
        {"key Text1 Enter shift shift", "bad arguments for key"},
        {"cell Grid1 one 2", "bad arguments for cell"},
        {"answer Maybe", "bad arguments for answer"},
        {"today 2004-13-45", "bad arguments for today"},
        {"sql other \"SELECT 1\"", "bad arguments for sql"},
        {"start now", "bad arguments for start"},
    };
    for (const Case& c : cases) {
        Outcome r = run(std::string("expect Ended \"True\"\n# fine so far\n") + c.line + "\n");
        EXPECT_EQ(r.status, 2) << c.line << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, "line 3: ")) << c.line << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, c.message)) << c.line << "\n" << r.output;
        // Nothing ran: the failing expect on line 1 was never judged.
        EXPECT_FALSE(contains(r.output, "FAIL")) << c.line << "\n" << r.output;
    }
}

TEST_F(ScenarioRunner, UnknownNamesStopTheScriptAtTheirLine) {
    Outcome r = run("expect Ended \"False\"\nshow NoSuchThing\nexpect Ended \"True\"\n");
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(contains(r.output, "line 2: unknown name NoSuchThing")) << r.output;
    EXPECT_FALSE(contains(r.output, "FAIL")) << r.output;
    EXPECT_TRUE(r.output.ends_with("1 passed, 0 failed\n")) << r.output;
}

TEST_F(ScenarioRunner, UsageErrorsExitTwo) {
    EXPECT_EQ(run("", "--printer laser").status, 2);
    EXPECT_EQ(run("", "--frobnicate").status, 2);
}

TEST_F(ScenarioRunner, MessageBoxesTakeQueuedAnswersElseTheirDefault) {
    Outcome r = run("today 2004-03-09\n"
                "start\n"
                "click Command3D12\n"
                "expect Ended \"False\"\n"
                "answer Yes\n"
                "click Command3D12\n"
                "expect Ended \"True\"\n"
                "expect MsgBoxCount \"2\"\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(contains(r.output,
                         "msgbox \"Weight & Balance on screen not saved\" "
                         "\"OK to exit program without saving?\" 292 -> No\n"))
        << r.output;
    EXPECT_TRUE(contains(r.output, "292 -> Yes\n")) << r.output;
}

TEST_F(ScenarioRunner, AnAnswerThatIsNotAButtonOfTheBoxIsAScriptError) {
    Outcome r = run("start\nanswer OK\nclick Command3D12\n");
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_TRUE(contains(r.output, "line 2: answer OK is not a button")) << r.output;
}

TEST_F(ScenarioRunner, ShowPrintsGridRowsWithEscapedTabs) {
    Outcome r = run("start\nshow Grid2(0)\nshow JackDesc(0).Kind\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(contains(r.output, "Grid2(0) = \"Right Main\\t\\t\\t\\t\"\n")) << r.output;
    EXPECT_TRUE(contains(r.output, "JackDesc(0).Kind = \"Text\"\n")) << r.output;
}

TEST_F(ScenarioRunner, WorksInTheGivenFolderAndStartsAgainAfterClose) {
    fs::path work = folder_ / "work";
    Outcome r = run("start\nclose\nexpect Ended \"True\"\nstart\nexpect Ended \"False\"\n",
                "--cwd " + work.string());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::is_directory(work));
}

TEST_F(ScenarioRunner, SqlPrintsRowsFromBothFiles) {
    fs::path work = folder_ / "work";
    fs::path data = folder_ / "data";
    fs::create_directories(work);
    fs::create_directories(data);
    makeDatabase(work / "SetupVASK.MDB",
                 "CREATE TABLE Company (DataPath TEXT, CompanyPhone TEXT);"
                 "INSERT INTO Company VALUES ('" + data.string() + "', NULL);");
    makeDatabase(data / "KORRIN.MDB",
                 "CREATE TABLE Aircraft (Tail TEXT, Date TEXT, Empty REAL, Year INTEGER);"
                 "INSERT INTO Aircraft VALUES ('N12AB', '2004-03-09', 1500.0, 1978);"
                 "INSERT INTO Aircraft VALUES ('Grüß', '2004-03-10 00:00:00', 0.1, NULL);");
    Outcome r = run("sql records \"SELECT Tail, Date, Empty, Year FROM Aircraft ORDER BY Date\"\n"
                "sql settings \"SELECT CompanyPhone FROM Company\"\n",
                "--cwd " + work.string());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(contains(r.output, "sql: N12AB|2004-03-09|1500|1978\n"
                                   "sql: Grüß|2004-03-10|0.1|NULL\n"
                                   "sql: NULL\n"))
        << r.output;

    Outcome write = run("sql records \"DELETE FROM Aircraft\"\n", "--cwd " + work.string());
    EXPECT_EQ(write.status, 2) << write.output;
    EXPECT_TRUE(contains(write.output, "line 1: sql: the query must only read")) << write.output;
}

TEST_F(ScenarioRunner, SqlNeedsItsFile) {
    Outcome missing = run("sql settings \"SELECT 1\"\n");
    EXPECT_EQ(missing.status, 2) << missing.output;
    EXPECT_TRUE(contains(missing.output, "line 1: sql: no database file")) << missing.output;
}

}  // namespace
