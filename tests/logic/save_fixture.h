#pragma once
// A headless main window on a real record database in a fresh folder, with the
// record sets opened as the first activation opens them, then a new record.
// Also a database wrapper that runs a hook before every write, so tests can
// make a write fail or end the process at a chosen point.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "logic/main_window_fixture.h"
#include "platform/numbers.h"
#include "platform/sqlite/sqlite_engine.h"
#include "records/record_files.h"
#include "records/stored_weighing.h"

namespace wb::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wbsave-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs `hook(what)` before each write of the wrapped database or its sets.
using WriteHook = std::function<void(const std::string& what)>;

class HookedRecordset : public Recordset {
public:
    HookedRecordset(std::shared_ptr<Recordset> inner, WriteHook hook) : in(std::move(inner)), hook_(std::move(hook)) {}
    bool IsBOF() override { return in->IsBOF(); }
    bool IsEOF() override { return in->IsEOF(); }
    bool NoMatch() const override { return in->NoMatch(); }
    void MoveFirst() override { in->MoveFirst(); }
    void MoveLast() override { in->MoveLast(); }
    void MoveNext() override { in->MoveNext(); }
    void MovePrevious() override { in->MovePrevious(); }
    void FindFirst(const Criteria& c) override { in->FindFirst(c); }
    void FindLast(const Criteria& c) override { in->FindLast(c); }
    void FindNext(const Criteria& c) override { in->FindNext(c); }
    void FindPrevious(const Criteria& c) override { in->FindPrevious(c); }
    Value field(const std::string& name) override { return in->field(name); }
    void setField(const std::string& name, const Value& v) override { in->setField(name, v); }
    std::vector<std::string> fieldNames() const override { return in->fieldNames(); }
    void AddNew() override { in->AddNew(); }
    void Edit() override { in->Edit(); }
    void Update() override { hook_("Update"); in->Update(); }
    void CancelUpdate() override { in->CancelUpdate(); }
    void Delete() override { hook_("Delete"); in->Delete(); }
    void Refresh() override { in->Refresh(); }
    void setFilter(const Criteria& c) override { in->setFilter(c); }
    const Criteria& filter() const override { return in->filter(); }
    std::shared_ptr<Recordset> CreateDynaset() override {
        return std::make_shared<HookedRecordset>(in->CreateDynaset(), hook_);
    }
    long RecordCount() override { return in->RecordCount(); }
    std::vector<std::vector<Value>> RowsMeeting(const Criteria& c, const std::vector<std::string>& fields) override {
        return in->RowsMeeting(c, fields);
    }
    TableRows TableRowsMeeting(const Criteria& c, const std::vector<std::string>& fields,
                               const std::vector<Criteria>& within) override {
        return in->TableRowsMeeting(c, fields, within);
    }
    std::vector<Value> lastAddedRow() override { return in->lastAddedRow(); }
    void Close() override { in->Close(); }
    bool isOpen() const override { return in->isOpen(); }

    std::shared_ptr<Recordset> in;

private:
    WriteHook hook_;
};

class HookedDatabase : public Database {
public:
    HookedDatabase(std::shared_ptr<Database> inner, WriteHook hook) : in(std::move(inner)), hook_(std::move(hook)) {}
    std::shared_ptr<Recordset> CreateDynaset(const RecordSource& s) override {
        return std::make_shared<HookedRecordset>(in->CreateDynaset(s), hook_);
    }
    long DeleteRows(const std::string& table, const Criteria& where) override {
        hook_("DeleteRows " + table);
        return in->DeleteRows(table, where);
    }
    void BeginTrans() override { in->BeginTrans(); }
    void BeginRead() override { in->BeginRead(); }
    void CommitTrans() override { hook_("CommitTrans"); in->CommitTrans(); }
    void Rollback() override { in->Rollback(); }
    std::optional<FileState> CurrentFileState() override { return in->CurrentFileState(); }
    std::vector<TableDef> TableDefs() override { return in->TableDefs(); }
    bool readOnly() const override { return in->readOnly(); }
    const std::string& path() const override { return in->path(); }
    void Close() override { in->Close(); }
    bool isOpen() const override { return in->isOpen(); }

    std::shared_ptr<Database> in;

private:
    WriteHook hook_;
};

// A value as the tests compare it: NULL, a number in its text form, a date
// as YYYY-MM-DD, True/False, or the text.
inline std::string shown(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Null: return "NULL";
    case Value::Kind::Number: return numberToText(v.toNumber());
    case Value::Kind::Date: return formatIsoDate(v.toDate());
    case Value::Kind::Boolean: return v.toBool() ? "True" : "False";
    default: return v.toText();
    }
}

// Clicks Save and answers Yes when asked whether to replace the stored
// weighing (a file that cannot be read is not asked about); the question is
// not kept in the dialogs' list.
inline void clickSaveReplacing(MainWindowFixture& w) {
    const std::size_t before = w.dialogs.shown.size();
    const char* question = "Weighing already stored";
    w.dialogs.answerByTitle[question] = msgbox::kYes;
    w.click(w.f().Command3D13);
    w.dialogs.answerByTitle.erase(question);
    const bool asked = w.dialogs.shown.size() > before && w.dialogs.shown[before].title == question;
    if (asked) w.dialogs.shown.erase(w.dialogs.shown.begin() + static_cast<std::ptrdiff_t>(before));
}

// The current row of `set` becomes the weighing on screen, as it is stored
// now, as showing it does.
inline void markShown(Form1& f, Recordset& set) {
    const WeighingKey key{set.field("Tail"), set.field("Date")};
    f.weighingOnScreen = StoredWeighing::read(*f.dbRecords, key);
}

struct SaveFixture {
    TempFolder folder;
    std::unique_ptr<DatabaseEngine> engine = makeSqliteEngine();
    std::shared_ptr<Database> db;
    MainWindowFixture w;

    // Opens the record database; `hook`, when given, watches every write.
    // Another program's lock is waited for `lockWait`, as the program's own
    // engine waits unless told.
    explicit SaveFixture(WriteHook hook = nullptr, const std::string& path = "",
                         std::chrono::milliseconds lockWait = kLockWait) {
        engine = makeSqliteEngine(lockWait);
        const std::string file = path.empty() ? folder.file(kRecordDatabaseName) : path;
        db = std::filesystem::exists(file) ? openRecordDatabase(*engine, file) : createRecordDatabase(*engine, file);
        if (hook) db = std::make_shared<HookedDatabase>(db, hook);
        Form1& f = w.f();
        f.dbRecords = db;
        f.rsAircraft = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        f.rsCompanyInfo = db->CreateDynaset("CompanyInfo");
        f.rsEquipment = db->CreateDynaset("Equipment");
        f.rsFound = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        f.NewRecord();
        w.dialogs.shown.clear();
    }

    Form1& f() { return w.f(); }
    // The user clicks Save (the focus moves to the button first).
    void save() { w.click(f().Command3D13); }
    // The user clicks Save on a worksheet whose key names another stored
    // weighing and answers Yes when asked to replace it.
    void saveReplacing() { clickSaveReplacing(w); }

    // The rows of a table (in table order) that meet `where`, each as its
    // fields' values joined by "|".
    std::vector<std::string> rows(const std::string& table, const std::vector<std::string>& fields,
                                  const Criteria& where = {}) {
        std::vector<std::string> out;
        auto rs = db->CreateDynaset(RecordSource(table).Where(where));
        for (; !rs->IsEOF(); rs->MoveNext()) {
            std::string line;
            for (const std::string& name : fields) line += (line.empty() ? "" : "|") + shown(rs->field(name));
            out.push_back(line);
        }
        return out;
    }
    std::vector<std::string> equipment(const std::string& tail) {
        return rows("Equipment", {"RowNum", "Description", "Serial", "Weight", "Arm", "Install", "Remove"},
                    Criteria("Tail", Compare::Equal, tail));
    }
    std::vector<std::string> weighings(const std::vector<std::string>& fields = {"Tail", "Date", "Make"}) {
        return rows("Aircraft", fields);
    }

    // Stores a weighing through a new record and starts another new record.
    void storeNew(const std::string& tail, const std::string& make, const std::string& date = "03-09-2004") {
        f().NewRecord();
        fillWorksheet(tail, make, date);
        save();
        f().NewRecord();
    }

    // Puts the browse set (or, in search mode, a new search set) on the stored
    // weighing of `tail` and shows it, as browsing or a search does: the
    // weighing on screen is that one, as it is stored now.
    void showStored(bool searchMode, const std::string& tail, const std::string& make,
                    const std::string& date = "03-09-2004") {
        Form1& form = f();
        std::shared_ptr<Recordset>& set = searchMode ? form.rsFound : form.rsAircraft;
        set = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        set->FindFirst(Criteria("Tail", Compare::Equal, tail));
        ASSERT_FALSE(set->NoMatch());
        form.ws.SearchActive = searchMode ? 1 : 0;
        form.ws.NewRecordMode = 0;
        form.ClearWorksheet();
        markShown(form, *set);
        fillWorksheet(tail, make, date);
    }

    // A small worksheet: header boxes and a change list of two rows.
    void fillWorksheet(const std::string& tail, const std::string& make = "Cessna",
                       const std::string& date = "03-09-2004") {
        Form1& form = f();
        form.Text1.setText(tail);
        form.Text7.setText(date);
        form.Text3.setText(make);
        form.Text9.setText("1500");
        form.Text10.setText("38.5");
        form.ws.ChangeDesc[0] = "Previous A/C Empty";
        form.ws.ChangeSerial[0] = "S-1";
        form.ws.ChangeWeight[0] = "1500";
        form.ws.ChangeArm[0] = "38.5";
        form.ws.ChangeInstalled[0] = form.ws.ChangeRemoved[0] = "//////";
        form.ws.ChangeDesc[1] = "Radio " + make;
        form.ws.ChangeWeight[1] = "3";
        form.ws.ChangeInstalled[1] = "X";
    }
};

}  // namespace wb::testing
