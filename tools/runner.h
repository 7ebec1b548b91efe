#pragma once
// Runs scenario scripts against the real program, headless: the runner is the
// event loop, answers the dialogs from the script and fixes the clock.
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "script_reader.h"
#include "scripted_dialogs.h"
#include "sql_reader.h"

namespace wb {
class Program;
class TextBox;
}

namespace wb::scenario {

// The printer each run of the program gets, and what `print-log` shows of it.
struct PrinterBackend {
    std::function<std::unique_ptr<Printer>()> make;
    std::function<std::vector<std::string>(Printer&)> takeLog;
};

class Runner {
public:
    Runner(std::ostream& out, PrinterBackend printer);
    ~Runner();

    // Runs the commands of one script from a fresh state; throws ScriptError.
    void run(const std::vector<Command>& script);

    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    void execute(const Command& c);
    void start(const Command& c);
    void expect(const Command& c);
    void printLog();
    // expect-printed / expect-not-printed: whether a line is among the printer
    // operations recorded since the last print-log (which still prints them).
    void expectPrinted(const Command& c, bool wanted);
    void sql(const Command& c);
    // expect-sql: the query's rows, printed as `sql` prints them, must be the
    // given rows, in order.
    void expectSql(const Command& c);
    // Fixture preparation: sql-write, file, mkdir; and expect-file.
    void sqlWrite(const Command& c);
    void writeFile(const Command& c);
    void makeFolder(const Command& c);
    void expectFile(const Command& c);
    // hold-lock / release-lock: another program's write lock on a file.
    void holdLock(const Command& c, bool hold);
    std::vector<std::string> sqlRows(const Command& c);
    Control& control(const Command& c, const std::string& name);
    TextBox& textBox(const Command& c, const std::string& name);
    Form& runningForm(const Command& c, Control& ctrl);
    void reportContainedFailures();
    void noteFailures(const Form* form);
    std::string read(const Command& c, const std::string& name);

    std::ostream& out_;
    PrinterBackend printerBackend_;
    ScriptedDialogs dialogs_;
    FixedClock clock_;
    std::unique_ptr<DatabaseEngine> engine_;
    std::unique_ptr<Printer> printer_;
    std::vector<std::string> pendingLog_;  // of a printer a later start replaced
    Services services_;
    std::unique_ptr<Program> program_;
    std::map<const Form*, int> seenFailures_;
    std::map<std::string, std::unique_ptr<HeldLock>> heldLocks_;
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace wb::scenario
