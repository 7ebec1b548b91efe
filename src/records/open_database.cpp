// The main window's first activation: today's date and the shop's phone, then
// the record database of the stored folder with its four record sets, and the
// set-up panel filled from the shop row.
//
// A database that cannot be used is never modified: the user is told in a
// message box and the data-path panel opens. A stored folder without a record
// database gets a new, empty one.
#include "records/open_database.h"

#include <cmath>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "records/record_files.h"

namespace wb {

std::string recordDatabasePath(const std::string& dataPath) {
    return dataPath + "/" + kRecordDatabaseName;
}

std::string databaseProblemTitle(int errorNumber, const std::string& path) {
    switch (errorNumber) {
    case dberr::kInvalidPath: {
        const std::size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        return "Data folder not found: " + (folder.empty() ? std::string("/") : folder);
    }
    case dberr::kNotOurs: return "Not a weight and balance database: " + path;
    case dberr::kReadOnly: return "Cannot write to " + path;
    case dberr::kFileInUse:
    case dberr::kLocked: return "In use by another program: " + path;
    default: return "Cannot open " + path;
    }
}

std::string notStoredTitle(const std::string& what, const RuntimeError& why, const std::string& path) {
    const std::string prefix = what + ": ";
    switch (why.number()) {
    case kObjectNotSet:
    case dberr::kObjectClosed: return prefix + "no record database is open";
    case dberr::kReadOnly: return prefix + "cannot write to " + path;
    case dberr::kLocked:
    case dberr::kFileInUse: return prefix + "in use by another program: " + path;
    case dberr::kFileNotFound: return prefix + "the file was moved or deleted: " + path;
    case dberr::kNotOurs: return prefix + "not a weight and balance database: " + path;
    case dberr::kCannotOpen: return prefix + "the file is damaged: " + path;
    case dberr::kDiskError: return prefix + "the disk is full or failing: " + path;
    case kOutOfMemory: return prefix + "out of memory";
    default: return prefix + "the database failed: " + path;
    }
}

namespace {

RecordSource aircraftByDate() { return RecordSource("Aircraft").OrderBy("Date"); }

// The record database of the folder; a folder without one gets a new one.
std::shared_ptr<Database> openOrCreate(DatabaseEngine& engine, const std::string& path) {
    try {
        return openRecordDatabase(engine, path);
    } catch (const RuntimeError& e) {
        if (e.number() != dberr::kFileNotFound) throw;
    }
    return createRecordDatabase(engine, path);
}

// A CompanyInfo table without rows gets the shop row a new database has, so
// that the set-up panel has a row to store into.
void ensureShopRow(Recordset& company) {
    if (!(company.IsBOF() && company.IsEOF())) return;
    company.AddNew();
    for (const char* flag : {"PrintCo", "PrintCG", "PrintMech", "PrintNotes"}) company.setField(flag, 1);
    company.Update();
}

// Opens the database and its four sets, all or nothing: on a failure the
// handles stay as they were and the file is closed.
void openRecordSets(Form1& f, const std::string& path) {
    std::shared_ptr<Database> db = openOrCreate(*f.services.databases, path);
    try {
        auto aircraft = db->CreateDynaset(aircraftByDate());
        auto company = db->CreateDynaset("CompanyInfo");
        auto equipment = db->CreateDynaset("Equipment");
        auto found = db->CreateDynaset(aircraftByDate());
        ensureShopRow(*company);
        company->MoveFirst();  // the shop row
        f.dbRecords = db;
        f.rsAircraft = aircraft;
        f.rsCompanyInfo = company;
        f.rsEquipment = equipment;
        f.rsFound = found;
    } catch (...) {
        db->Close();
        throw;
    }
}

std::string textOf(Recordset& rs, const char* column) {
    const Value v = rs.field(column);
    return v.isNull() ? std::string() : v.toText();
}

// The set-up panel's boxes and check boxes from the shop row, the worksheet's
// default mechanic and certificate, and the set-up panel opened on the first
// missing required field. A step that fails leaves its control as it was.
void fillFromShopRow(Form1& f) {
    Recordset& shop = *f.rsCompanyInfo;

    struct CheckColumn { CheckBox& check; const char* column; };
    for (const CheckColumn& c : {CheckColumn{f.Check3D1, "PrintCo"}, CheckColumn{f.Check3D2, "PrintCG"},
                                 CheckColumn{f.Check3D3, "PrintMech"}, CheckColumn{f.Check3D4, "PrintNotes"}}) {
        skipOnFailure([&] {
            const Value flag = shop.field(c.column);
            if (!flag.isNull()) c.check.setValue(std::fabs(flag.toNumber()) != 0 ? 1 : 0);
        });
    }

    struct BoxColumn { TextBox& box; const char* column; };
    for (const BoxColumn& b : {BoxColumn{f.Text17, "CompName"}, BoxColumn{f.Text18, "CompAddress"},
                               BoxColumn{f.Text19, "CompCSZ"}, BoxColumn{f.Text21, "FormTitle"},
                               BoxColumn{f.Text29, "EquipTitle"}, BoxColumn{f.Text25, "Mechanic"}}) {
        skipOnFailure([&] { b.box.setText(textOf(shop, b.column)); });
    }
    f.Text6.setText(f.Text25.text());
    skipOnFailure([&] { f.Text26.setText(textOf(shop, "Cert")); });
    f.Text22.setText(f.Text26.text());

    for (const BoxColumn& required : {BoxColumn{f.Text17, "CompName"}, BoxColumn{f.Text18, "CompAddress"},
                                      BoxColumn{f.Text21, "FormTitle"}}) {
        bool missing = false;
        skipOnFailure([&] { missing = shop.field(required.column).isNull(); });
        if (!missing) continue;
        f.Panel3D7.setVisible(true);
        skipOnFailure([&] { required.box.SetFocus(); });
        return;
    }
}

}  // namespace

void Form1::FirstActivate() {
    Text7.setText(formatMmDdYyyy(services.clock->today()));
    if (!services.databases) return;  // a window that keeps no records (tests)

    auto tellProblem = [&](const RuntimeError& e, const std::string& path) {
        services.dialogs->MsgBox(kPressOkToContinue, msgbox::kInformation, databaseProblemTitle(e.number(), path));
        ShowDataPathPanel();
    };

    Value dataPath;
    try {
        Recordset& settings = Data1.row();
        Text20.setText(textOf(settings, "CompanyPhone"));
        dataPath = settings.field("DataPath");
    } catch (const RuntimeError& e) {
        tellProblem(e, SettingsStore::kFileName);
        return;
    }
    if (dataPath.isNull()) {
        ShowDataPathPanel();
        return;
    }

    const std::string path = recordDatabasePath(dataPath.toText());
    try {
        openRecordSets(*this, path);
    } catch (const RuntimeError& e) {
        tellProblem(e, path);
        return;
    }
    fillFromShopRow(*this);
}

}  // namespace wb
