#include "records/save.h"

#include <utility>
#include <vector>

#include "app/first_run_advice.h"
#include "app/form1.h"
#include "platform/dates.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "records/open_database.h"
#include "records/save_equipment.h"
#include "worksheet/recalculation.h"

namespace wb {

namespace {

// Runs a step the save cannot do without. The first such failure is kept:
// with one, the save stores nothing and tells the user why.
template <class Step>
bool essential(std::optional<RuntimeError>& failure, Step&& step)
{
    try {
        step();
        return true;
    } catch (const RuntimeError& e) {
        if (!failure) failure = e;
        return false;
    }
}

// The title of the notice that nothing was stored, from why.
std::string notStoredTitle(const char* what, const RuntimeError& e, const Database* db)
{
    const std::string path = db ? db->path() : std::string();
    const std::string prefix = std::string(what) + ": ";
    switch (e.number()) {
    case kObjectNotSet:
    case dberr::kObjectClosed: return prefix + "no record database is open";
    case dberr::kReadOnly: return prefix + "cannot write to " + path;
    case dberr::kLocked:
    case dberr::kFileInUse: return prefix + "in use by another program: " + path;
    case dberr::kFileNotFound: return prefix + "the file was moved or deleted: " + path;
    case dberr::kNotOurs: return prefix + "not a weight and balance database: " + path;
    case dberr::kCannotOpen: return prefix + "the file is damaged: " + path;
    case dberr::kDiskError: return prefix + "the disk is full or failing: " + path;
    default: return prefix + "the record database failed: " + path;
    }
}

std::optional<Value> leadingNumber(const std::string& text)
{
    try {
        return Value(parseLeadingNumber(text));
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// A weighing-point or fluid number: in search mode the element as it is (the
// column converts it), else the leading number of its text form. A number
// (put there by showing a record) is stored as it is: its text form keeps 15
// digits, and the stored value must come back without loss.
std::optional<Value> elementNumber(const Value& element, bool searchMode)
{
    if (searchMode) return element;
    if (element.isNull()) return std::nullopt;  // Null has no text form
    if (element.isNumber()) return Value(element.toNumber());
    return leadingNumber(element.toText());
}

using FieldWrites = std::vector<std::pair<std::string, std::optional<Value>>>;

// The 52 fields of the Aircraft row in the order Save writes them; nullopt
// where working out the value fails (the field keeps no value).
FieldWrites weighingFields(const Form1& f, bool searchMode)
{
    auto text = [](const TextBox& box) { return std::optional<Value>(box.text()); };
    auto number = [](const TextBox& box) { return leadingNumber(box.text()); };
    FieldWrites out = {
        {"Tail", text(f.Text1)},     {"Date", text(f.Text7)},     {"Serial", text(f.Text2)},
        {"Make", text(f.Text3)},     {"Model", text(f.Text4)},    {"Year", text(f.Text5)},
        {"Empty", number(f.Text9)},  {"CG", number(f.Text10)},    {"MaxWt", number(f.Text11)},
        {"Tach", text(f.Text8)},     {"By", text(f.Text6)},       {"Cert", text(f.Text22)},
        {"Work", text(f.Text12)},    {"Range1", text(f.Text14)},  {"Range2", text(f.Text15)},
        {"Range3", text(f.Text16)},  {"Memo", text(f.Text13)},
    };
    const WorksheetState& ws = f.ws;
    auto group = [&](const char* prefix, const char* suffix, auto& elements, bool isNumber) {
        for (int i = 0; i < 5; ++i) {
            std::string name = prefix + std::to_string(i + 1) + suffix;
            out.emplace_back(name, isNumber ? elementNumber(elements[i], searchMode)
                                            : std::optional<Value>(elements[i]));
        }
    };
    group("J", "Dsc", ws.JackDesc, false);
    group("J", "Tar", ws.JackTare, true);
    group("J", "Wgt", ws.JackWeight, true);
    group("J", "Arm", ws.JackArm, true);
    group("F", "Dsc", ws.FluidDesc, false);
    group("F", "Wgt", ws.FluidWeight, true);
    group("F", "Arm", ws.FluidArm, true);
    return out;
}

}  // namespace

// The save's transaction: it may not start (no database, a file that cannot
// be written); a failing commit rolls back.
class SaveTransaction {
public:
    SaveTransaction(Database* db, std::optional<RuntimeError>& failure) : db_(db), failure_(failure)
    {
        open_ = essential(failure_, [&] {
            if (!db_) throw RuntimeError(kObjectNotSet, "No record database is open");
            db_->BeginTrans();
        });
    }
    ~SaveTransaction() { rollback(); }
    SaveTransaction(const SaveTransaction&) = delete;
    SaveTransaction& operator=(const SaveTransaction&) = delete;

    bool isOpen() const { return open_; }
    // True when the work is stored.
    bool commit()
    {
        if (!open_) return false;
        if (!essential(failure_, [&] { db_->CommitTrans(); })) {
            rollback();
            return false;
        }
        open_ = false;
        return true;
    }
    void rollback()
    {
        if (open_) skipOnFailure([&] { db_->Rollback(); });
        open_ = false;
    }

private:
    Database* db_;
    std::optional<RuntimeError>& failure_;
    bool open_ = false;
};

Criteria Save::WeighingKey::criteria() const
{
    return Criteria("Tail", Compare::Equal, tail).And("Date", Compare::Equal, date);
}

void Save::connect()
{
    f.Command3D13.Click = [this] { Command3D13_Click(); };
    f.Command3D13.LostFocus = [this] { Command3D13_LostFocus(); };
}

// Leaving the button never makes an unsaved worksheet count as saved: not
// after a save that failed or was refused, nor when the focus only passed by.
void Save::Command3D13_LostFocus()
{
    if (f.ws.SavedState != 0) f.ws.SavedState = 2;
}

void Save::Command3D13_Click()
{
    struct DefaultPointerAtEnd {
        Form1& form;
        ~DefaultPointerAtEnd() { form.setMousePointer(pointer::kDefault); }
    } restore{f};
    f.setMousePointer(pointer::kHourglass);
    failure_.reset();
    // A worksheet whose totals cannot be computed is not stored; a deletion stores none.
    if (f.Text1.text() != "0" && !FreshTotals(f, "Not saved", msgbox::kOkOnly | msgbox::kCritical)) return;
    if (f.ws.SearchActive == 1)
        saveSearchMode();
    else
        saveNormalMode();
}

bool Save::checksPass()
{
    auto refuse = [&](const char* title) {
        f.services.dialogs->MsgBox("Press OK to continue", msgbox::kOkOnly | msgbox::kCritical, title);
        return false;
    };
    if (!parseDate(f.Text7.text())) return refuse("No date entered");
    if (f.Text1.text().empty()) return refuse("No tail number entered");
    return true;
}

void Save::deleteRows(const char* table, const WeighingKey& key)
{
    essential(failure_, [&] { Form1::need(f.dbRecords).DeleteRows(table, key.criteria()); });
}

void Save::saveNormalMode()
{
    // A stored record on screen is opened for editing; the AddNew below
    // abandons the edit, so the shown row is never changed by it.
    if (f.ws.NewRecordMode == 0) skipOnFailure([&] { Form1::need(f.rsAircraft).Edit(); });
    if (!checksPass()) return;

    const WeighingKey typed{Value(f.Text1.text()), Value(f.Text7.text())};
    const bool deleting = f.Text1.text() == "0";
    if (!deleting && !replaceAllowed(typed)) return;
    EquipmentRows rows;
    if (!deleting) {
        rows = equipmentRowsOf(f.ws);
        showLongDescriptionNotices(*f.services.dialogs, rows.longChangeDescriptions);
    }

    SaveTransaction save(f.dbRecords.get(), failure_);
    if (save.isOpen()) deleteRows("Equipment", typed);
    if (!save.isOpen() || deleting) {
        endSave(save, deleting);
        return;
    }
    skipOnFailure([&] { f.rsEquipment = Form1::need(f.dbRecords).CreateDynaset("Equipment"); });
    if (storeWeighing(f.rsAircraft.get(), false, typed)) storeEquipmentRows(typed, rows);
    endSave(save, false);
    rememberSave(f.rsAircraft, typed);
}

void Save::saveSearchMode()
{
    // Checked before the equipment set is closed, so a refusal leaves it usable.
    if (!checksPass()) return;

    const WeighingKey typed{Value(f.Text1.text()), Value(f.Text7.text())};
    const bool deleting = f.Text1.text() == "0";
    if (!deleting && !replaceAllowed(typed)) return;
    EquipmentRows rows;
    if (!deleting) {
        rows = equipmentRowsOf(f.ws);
        showLongDescriptionNotices(*f.services.dialogs, rows.longChangeDescriptions);
    }

    bool foundRowGone = false;
    const std::optional<WeighingKey> found = foundKey(foundRowGone);
    SaveTransaction save(f.dbRecords.get(), failure_);
    if (!save.isOpen()) {  // the equipment set stays usable
        endSave(save, deleting);
        return;
    }
    skipOnFailure([&] { Form1::need(f.rsEquipment).Close(); });
    if (found) {
        deleteRows("Equipment", *found);
        if (foundRowGone)
            deleteRows("Aircraft", *found);
        else
            skipOnFailure([&] { Form1::need(f.rsFound).Delete(); });
    }
    if (deleting) {
        endSave(save, true);
        return;
    }
    skipOnFailure([&] { f.rsEquipment = Form1::need(f.dbRecords).CreateDynaset("Equipment"); });
    // The found record goes only together with a stored replacement.
    if (storeWeighing(f.rsFound.get(), true, typed)) storeEquipmentRows(typed, rows);
    endSave(save, false);
    rememberSave(f.rsFound, typed);
}

// Commits what the save did, unless a step it cannot do without failed; then
// nothing is stored, the user is told and the worksheet stays unsaved.
void Save::endSave(SaveTransaction& save, bool deleting)
{
    lastSaveFailed_ = failure_.has_value() || !save.commit();
    if (lastSaveFailed_) {
        save.rollback();
        const RuntimeError why = failure_.value_or(RuntimeError(dberr::kDiskError, "not stored"));
        // Without a record database, the text says how to get one.
        const bool noDatabase = !f.dbRecords || why.number() == kObjectNotSet;
        f.services.dialogs->MsgBox(noDatabase ? noRecordDatabaseAdvice(f.Data1) : kPressOkToContinue,
                                   msgbox::kOkOnly | msgbox::kCritical,
                                   notStoredTitle(deleting ? "Not deleted" : "Not saved", why, f.dbRecords.get()));
        return;
    }
    if (deleting) {
        lastSave_.reset();
        deletionPath();
    } else {
        finishSave();
    }
}

// Writes the worksheet's equipment rows; every one of them must be stored
// under the key, and no row of the key left from before.
void Save::storeEquipmentRows(const WeighingKey& typed, const EquipmentRows& rows)
{
    writeEquipmentRows(f.rsEquipment.get(), f.Text1.text(), f.Text7.text(), rows);
    essential(failure_, [&] {
        const auto stored = Form1::need(f.dbRecords).CreateDynaset(RecordSource("Equipment").Where(typed.criteria()));
        const std::size_t expected = rows.changeRows.size() + rows.listRows.size();
        if (static_cast<std::size_t>(stored->RecordCount()) != expected)
            throw RuntimeError(dberr::kDiskError, "Not every equipment row was stored");
    });
}

Save::RowKey Save::currentRowKey(const std::shared_ptr<Recordset>& set)
{
    RowKey out;
    try {
        Recordset& rs = Form1::need(set);
        out.key = WeighingKey{rs.field("Tail"), rs.field("Date")};
    } catch (const RuntimeError& e) {
        out.error = e.number();
    }
    return out;
}

bool Save::RowKey::operator==(const RowKey& other) const
{
    if (key && other.key) return key->tail == other.key->tail && key->date == other.key->date;
    return !key && !other.key && error == other.error;
}

void Save::rememberSave(const std::shared_ptr<Recordset>& set, const WeighingKey& typed)
{
    if (lastSaveFailed_) return;
    lastSave_ = StoredWeighing{set, currentRowKey(set), typed};
}

// The key of the weighing on screen: none for a new record; else the key of
// the shown row, or, while the set still stands where the last save left it,
// the key that save stored.
std::optional<Save::WeighingKey> Save::shownKey()
{
    if (f.ws.NewRecordMode == 1) return std::nullopt;
    const std::shared_ptr<Recordset>& set = f.ws.SearchActive == 1 ? f.rsFound : f.rsAircraft;
    const RowKey now = currentRowKey(set);
    if (lastSave_ && set && lastSave_->set.lock() == set && lastSave_->rowAfter == now) return lastSave_->key;
    return now.key;
}

// A typed key that names a stored weighing other than the one on screen
// replaces it only when the user says so.
bool Save::replaceAllowed(const WeighingKey& typed)
{
    bool another = false;
    skipOnFailure([&] {
        Database& db = Form1::need(f.dbRecords);
        auto count = [&](const Criteria& where) {
            return db.CreateDynaset(RecordSource("Aircraft").Where(where))->RecordCount();
        };
        const std::optional<WeighingKey> shown = shownKey();
        const long stored = count(typed.criteria());
        const long shownOnes = shown && stored > 0 ? count(typed.criteria().And(shown->criteria())) : 0;
        another = stored > shownOnes;
    });
    if (!another) return true;
    const int answer = f.services.dialogs->MsgBox("Replace the stored weighing?",
                                                  msgbox::kYesNo | msgbox::kQuestion | msgbox::kDefaultButton2,
                                                  "Weighing already stored");
    if (answer == msgbox::kYes) return true;
    lastSaveFailed_ = true;  // nothing stored: the worksheet stays as unsaved as it was
    return false;
}

// The stored key of the record on screen. When the last search-mode save
// deleted that row (no move since), the key that save stored instead.
std::optional<Save::WeighingKey> Save::foundKey(bool& foundRowGone)
{
    const RowKey now = currentRowKey(f.rsFound);
    foundRowGone = !now.key && now.error == dberr::kRecordDeleted && lastSave_ && f.rsFound &&
                   lastSave_->set.lock() == f.rsFound;
    return foundRowGone ? lastSave_->key : now.key;
}

// Adds the worksheet to `set` as a new Aircraft row. One tail number and date
// name one weighing: a stored weighing of the typed key is replaced. Returns
// whether the row was stored.
bool Save::storeWeighing(Recordset* set, bool searchMode, const WeighingKey& typed)
{
    auto rs = [&]() -> Recordset& {
        if (!set) throw RuntimeError(kObjectNotSet, "Object variable not set");
        return *set;
    };
    deleteRows("Aircraft", typed);
    if (searchMode) deleteRows("Equipment", typed);
    essential(failure_, [&] { rs().AddNew(); });
    for (const auto& [field, value] : weighingFields(f, searchMode)) {
        if (value) skipOnFailure([&] { rs().setField(field, *value); });
    }
    if (!failure_ && essential(failure_, [&] { rs().Update(); })) return true;
    skipOnFailure([&] { rs().CancelUpdate(); });  // no half-written row left pending
    return false;
}

void Save::deletionPath()
{
    f.ws.SearchActive = 0;
    f.ws.BrowseStarted = 0;
    f.NewRecord();
}

void Save::finishSave()
{
    f.ws.SavedState = 1;
    if (f.ws.NewRecordMode == 1) {
        skipOnFailure([&] { Form1::need(f.rsAircraft).MoveLast(); });
        f.ws.NewRecordMode = 0;
        f.ws.PreviousListPending = 0;
    }
}

}  // namespace wb
