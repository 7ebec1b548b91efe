#include "runner.h"

#include <algorithm>
#include <chrono>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "fixture_files.h"
#include "names.h"
#include "platform/dates.h"
#include "platform/utf8.h"
#include "platform/sqlite/sqlite_engine.h"
#include "quoting.h"
#include "sql_reader.h"

namespace wb::scenario {

namespace {

Date systemToday() { return SystemClock().today(); }

int answerCode(const std::string& word) {
    if (word == "Yes") return msgbox::kYes;
    if (word == "No") return msgbox::kNo;
    if (word == "OK") return msgbox::kOk;
    return msgbox::kCancel;
}

int modifierMask(const std::vector<Arg>& args, size_t from) {
    int mask = 0;
    for (size_t i = from; i < args.size(); ++i) {
        if (args[i].text == "shift") mask |= keys::kShiftMask;
        if (args[i].text == "ctrl") mask |= keys::kCtrlMask;
        if (args[i].text == "alt") mask |= keys::kAltMask;
    }
    return mask;
}

}  // namespace

Runner::Runner(std::ostream& out, PrinterBackend printer)
    : out_(out),
      printerBackend_(std::move(printer)),
      dialogs_(out),
      clock_(systemToday()),
      engine_(makeSqliteEngine()) {}

Runner::~Runner() = default;

void Runner::run(const std::vector<Command>& script) {
    for (const Command& c : script) {
        execute(c);
        reportContainedFailures();
        if (!dialogs_.mismatch().empty()) throw ScriptError(dialogs_.mismatchLine(), dialogs_.mismatch());
    }
    dialogs_.reportUnused();
}

void Runner::execute(const Command& c) {
    const std::string& v = c.verb;
    const auto& a = c.args;
    if (v == "today") {
        clock_.set(*parseDate(a[0].text));
    } else if (v == "start") {
        start(c);
    } else if (v == "type") {
        Control& ctrl = control(c, a[0].text);
        Form& form = runningForm(c, ctrl);
        if (form.focused() != &ctrl) form.userFocus(ctrl);
        auto* box = dynamic_cast<TextBox*>(&ctrl);
        const std::string& typed = a[1].text;
        for (std::size_t pos = 0; pos < typed.size();) {
            if (box) {
                box->setSelStart(box->length());
                box->setSelLength(0);
            }
            form.userKeyPress(ctrl, static_cast<int>(utf8::decode(typed, pos)));
        }
    } else if (v == "type-here") {
        TextBox& box = textBox(c, a[0].text);
        Form& form = runningForm(c, box);
        if (form.focused() != &box) form.userFocus(box);
        const std::string text = a[1].text;
        for (std::size_t pos = 0; pos < text.size();)
            form.userKeyPress(box, static_cast<int>(utf8::decode(text, pos)));
    } else if (v == "paste") {
        Control& ctrl = control(c, a[0].text);
        if (!dynamic_cast<TextBox*>(&ctrl) && !dynamic_cast<Grid*>(&ctrl))
            throw ScriptError(c.line, a[0].text + " is not a text box or a grid");
        Form& form = runningForm(c, ctrl);
        if (form.focused() != &ctrl) form.userFocus(ctrl);
        form.clipboard().setText(a[1].text);
        form.userKeyDown(ctrl, 'V', keys::kCtrlMask);
    } else if (v == "select" && a.size() == 3) {
        TextBox& box = textBox(c, a[0].text);
        Form& form = runningForm(c, box);
        if (form.focused() != &box) form.userFocus(box);
        const int start = std::stoi(a[1].text), length = std::stoi(a[2].text);
        form.dispatch([&] {
            box.setSelStart(start);
            box.setSelLength(length);
        });
    } else if (v == "key") {
        Control& ctrl = control(c, a[0].text);
        Form& form = runningForm(c, ctrl);
        if (form.focused() != &ctrl) form.userFocus(ctrl);
        NamedKey key = *namedKey(a[1].text);
        form.userKeyDown(ctrl, key.keyCode, modifierMask(a, 2));
        if (key.keyAscii) form.userKeyPress(ctrl, key.keyAscii);
    } else if (v == "click") {
        Control& ctrl = control(c, a[0].text);
        runningForm(c, ctrl).userClick(ctrl);
    } else if (v == "focus") {
        Control& ctrl = control(c, a[0].text);
        runningForm(c, ctrl).userFocus(ctrl);
    } else if (v == "cell") {
        auto* grid = dynamic_cast<Grid*>(&control(c, a[0].text));
        if (!grid) throw ScriptError(c.line, a[0].text + " is not a grid");
        int row = std::stoi(a[1].text), col = std::stoi(a[2].text);
        if (row < 0 || row >= grid->rows() || col < 0 || col >= grid->cols())
            throw ScriptError(c.line, "no cell " + a[1].text + "," + a[2].text + " in " + a[0].text);
        runningForm(c, *grid).userCellClick(*grid, row, col);
    } else if (v == "dblclick") {
        auto* dir = dynamic_cast<DirList*>(&control(c, a[0].text));
        if (!dir) throw ScriptError(c.line, a[0].text + " is not a folder list");
        Form& form = runningForm(c, *dir);
        form.userFocus(*dir);
        std::string path = a[1].text;
        form.dispatch([&] { dir->setPath(path); });
    } else if (v == "select") {
        auto* drives = dynamic_cast<DriveList*>(&control(c, a[0].text));
        if (!drives) throw ScriptError(c.line, a[0].text + " is not a drive list");
        Form& form = runningForm(c, *drives);
        form.userFocus(*drives);
        std::string drive = a[1].text;
        form.dispatch([&] { drives->setDrive(drive); });
    } else if (v == "answer") {
        dialogs_.queueAnswer(answerCode(a[0].text), c.line);
    } else if (v == "fontdialog") {
        if (a[0].text == "cancel" && !a[0].quoted) {
            dialogs_.queueFont(std::nullopt);
        } else {
            Font f{a[0].text, std::stod(a[1].text), false, false};
            for (size_t i = 2; i < a.size(); ++i) {
                if (a[i].text == "bold") f.bold = true;
                if (a[i].text == "italic") f.italic = true;
            }
            dialogs_.queueFont(f);
        }
    } else if (v == "printerdialog") {
        dialogs_.queuePrinter(a[0].text == "ok");
    } else if (v == "expect") {
        expect(c);
    } else if (v == "show") {
        std::string value = read(c, a[0].text);
        out_ << a[0].text << " = " << quoted(value) << "\n";
    } else if (v == "sql") {
        sql(c);
    } else if (v == "expect-sql") {
        expectSql(c);
    } else if (v == "sql-write") {
        sqlWrite(c);
    } else if (v == "file") {
        writeFile(c);
    } else if (v == "mkdir") {
        makeFolder(c);
    } else if (v == "expect-file") {
        expectFile(c);
    } else if (v == "hold-lock" || v == "release-lock") {
        holdLock(c, v == "hold-lock");
    } else if (v == "lock-wait") {
        if (program_ && !program_->ended() && program_->mainWindow())
            throw ScriptError(c.line, "lock-wait comes before start");
        engine_ = makeSqliteEngine(std::chrono::milliseconds(std::stoi(a[0].text)));
    } else if (v == "print-log") {
        printLog();
    } else if (v == "expect-printed" || v == "expect-not-printed") {
        expectPrinted(c, v == "expect-printed");
    } else if (v == "dump") {
        NameContext context{program_.get(), dialogs_, program_ && program_->ended()};
        for (const auto& [name, value] : readAll(context))
            out_ << name << " = " << quoted(value) << "\n";
    } else if (v == "close" || v == "close-window") {
        if (!program_ || !program_->mainWindow()) throw ScriptError(c.line, "no main window to close");
        if (v == "close") {
            program_->closeMainWindow();
        } else {
            if (program_->ended()) throw ScriptError(c.line, "the program has ended");
            program_->closeMainWindowByUser();
        }
    }
}

void Runner::start(const Command& c) {
    if (program_ && !program_->ended() && program_->mainWindow())
        throw ScriptError(c.line, "the program is still running");
    program_.reset();
    if (printer_) {
        for (std::string& line : printerBackend_.takeLog(*printer_)) pendingLog_.push_back(std::move(line));
    }
    printer_ = printerBackend_.make();
    services_ = Services{};
    services_.dialogs = &dialogs_;
    services_.clock = &clock_;
    services_.databases = engine_.get();
    services_.printer = printer_.get();
    seenFailures_.clear();
    program_ = std::make_unique<Program>(services_);
    program_->start();
    // The event loop: the splash timer's interval passes. The splash window
    // unloads itself but lives on with the program.
    if (Form2* splash = program_->splash()) {
        splash->dispatch([splash] { splash->Timer1.fire(); });
        noteFailures(splash);
    }
}

void Runner::expect(const Command& c) {
    const std::string& name = c.args[0].text;
    // "<cwd>" stands for the working folder, so that a path under it can be expected.
    std::string expected = c.args[1].text;
    const std::string cwd = workingFolder();
    for (std::size_t at; (at = expected.find("<cwd>")) != std::string::npos;) expected.replace(at, 5, cwd);
    std::string actual = read(c, name);
    if (actual == expected) {
        ++passed_;
        return;
    }
    ++failed_;
    out_ << "FAIL line " << c.line << ": " << name << " = " << quoted(actual)
         << ", expected " << quoted(expected) << "\n";
}

std::string Runner::read(const Command& c, const std::string& name) {
    NameContext context{program_.get(), dialogs_, program_ && program_->ended()};
    try {
        return readName(context, name);
    } catch (const UnknownName& e) {
        throw ScriptError(c.line, std::string("unknown name ") + e.what());
    }
}

void Runner::printLog() {
    std::vector<std::string> lines = std::move(pendingLog_);
    pendingLog_.clear();
    if (printer_)
        for (std::string& line : printerBackend_.takeLog(*printer_)) lines.push_back(std::move(line));
    for (const std::string& line : lines) out_ << line << "\n";
}

void Runner::expectPrinted(const Command& c, bool wanted) {
    if (printer_)
        for (std::string& line : printerBackend_.takeLog(*printer_)) pendingLog_.push_back(std::move(line));
    const std::string& line = c.args[0].text;
    bool found = std::find(pendingLog_.begin(), pendingLog_.end(), line) != pendingLog_.end();
    if (found == wanted) {
        ++passed_;
        return;
    }
    ++failed_;
    out_ << "FAIL line " << c.line << ": " << (wanted ? "not printed: " : "printed: ")
         << line << "\n";
}

namespace {

std::string databaseFile(const Command& c) {
    return c.args[0].text == "records" ? recordsFile() : settingsFile();
}

std::string rowList(const std::vector<std::string>& utf8Rows) {
    if (utf8Rows.empty()) return "no rows";
    std::string list;
    for (const std::string& row : utf8Rows) list += (list.empty() ? "" : " ") + quoted(row);
    return list;
}

}  // namespace

std::vector<std::string> Runner::sqlRows(const Command& c) {
    try {
        std::vector<std::string> rows = queryRows(databaseFile(c), c.args[1].text);
        for (const std::string& row : rows) out_ << "sql: " << row << "\n";
        return rows;
    } catch (const SqlError& e) {
        throw ScriptError(c.line, c.verb + ": " + e.what());
    }
}

void Runner::sql(const Command& c) { sqlRows(c); }

void Runner::expectSql(const Command& c) {
    std::vector<std::string> actual = sqlRows(c);
    std::vector<std::string> expected;
    for (size_t i = 2; i < c.args.size(); ++i) expected.push_back(c.args[i].text);
    if (actual == expected) {
        ++passed_;
        return;
    }
    ++failed_;
    out_ << "FAIL line " << c.line << ": sql " << c.args[0].text << " gave " << rowList(actual)
         << ", expected " << rowList(expected) << "\n";
}

void Runner::sqlWrite(const Command& c) {
    try {
        int changed = executeWrite(databaseFile(c), c.args[1].text);
        out_ << "sql-write: " << changed << (changed == 1 ? " row" : " rows") << " changed\n";
    } catch (const SqlError& e) {
        throw ScriptError(c.line, std::string("sql-write: ") + e.what());
    }
}

void Runner::writeFile(const Command& c) {
    try {
        writeFixtureFile(c.args[0].text, c.args[1].text);
    } catch (const FixtureError& e) {
        throw ScriptError(c.line, std::string("file: ") + e.what());
    }
}

void Runner::makeFolder(const Command& c) {
    try {
        makeFixtureFolder(c.args[0].text);
    } catch (const FixtureError& e) {
        throw ScriptError(c.line, std::string("mkdir: ") + e.what());
    }
}

void Runner::expectFile(const Command& c) {
    const std::string& name = c.args[0].text;
    std::optional<std::string> actual;
    try {
        actual = readFixtureFile(name);
    } catch (const FixtureError& e) {
        throw ScriptError(c.line, std::string("expect-file: ") + e.what());
    }
    if (actual == c.args[1].text) {
        ++passed_;
        return;
    }
    ++failed_;
    out_ << "FAIL line " << c.line << ": file " << quoted(name) << " = "
         << (actual ? quoted(*actual) : std::string("missing")) << ", expected " << quoted(c.args[1].text)
         << "\n";
}

void Runner::holdLock(const Command& c, bool hold) {
    const std::string& which = c.args[0].text;
    if (!hold) {
        if (!heldLocks_.erase(which)) throw ScriptError(c.line, "release-lock: no lock held on " + which);
        return;
    }
    if (heldLocks_.count(which)) throw ScriptError(c.line, "hold-lock: " + which + " is locked already");
    try {
        heldLocks_[which] = std::make_unique<HeldLock>(databaseFile(c));
    } catch (const SqlError& e) {
        heldLocks_.erase(which);
        throw ScriptError(c.line, std::string("hold-lock: ") + e.what());
    }
}

Control& Runner::control(const Command& c, const std::string& name) {
    Control* ctrl = findControl(program_.get(), name);
    if (!ctrl) throw ScriptError(c.line, "unknown control " + name);
    return *ctrl;
}

TextBox& Runner::textBox(const Command& c, const std::string& name) {
    auto* box = dynamic_cast<TextBox*>(&control(c, name));
    if (!box) throw ScriptError(c.line, name + " is not a text box");
    return *box;
}

Form& Runner::runningForm(const Command& c, Control& ctrl) {
    if (program_->ended()) throw ScriptError(c.line, "the program has ended");
    return ctrl.form();
}

// Failures the forms contained (the program went on) are shown, not judged.
void Runner::reportContainedFailures() {
    if (!program_) return;
    noteFailures(program_->splash());
    noteFailures(program_->mainWindow());
}

void Runner::noteFailures(const Form* form) {
    if (!form) return;
    int& seen = seenFailures_[form];
    if (form->containedFailures() > seen)
        out_ << "contained: " << form->name() << ": " << form->lastFailure() << "\n";
    seen = form->containedFailures();
}

}  // namespace wb::scenario
