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
// be written, another program holding it past the engine's wait); a failing
// commit rolls back.
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
    written_.reset();
    // A worksheet whose totals cannot be computed is not stored; a deletion stores none.
    if (f.Text1.text() != "0" && !FreshTotals(f, "Not saved", msgbox::kOkOnly | msgbox::kCritical)) return;
    const bool searchMode = f.ws.SearchActive == 1;
    if (!checksPass()) return;

    const WeighingKey typed{Value(f.Text1.text()), Value(f.Text7.text())};
    const bool deleting = f.Text1.text() == "0";
    std::vector<Expected> expected = expectedWeighings(searchMode, deleting, typed);
    EquipmentRows rows;
    if (!deleting) rows = equipmentRowsOf(f.ws);
    // The notices on long descriptions come after any question, before the writing.
    bool noticesDue = rows.longChangeDescriptions > 0;
    for (;;) {
        SaveTransaction save(f.dbRecords.get(), failure_);
        StoredNow now;
        if (save.isOpen()) essential(failure_, [&] { now = storedNow(expected); });
        if (!save.isOpen() || failure_) {
            endSave(save, deleting);
            return;
        }
        const bool asExpected = storedAsExpected(expected, now);
        if (asExpected && !noticesDue) {
            write(searchMode, deleting, typed, rows);
            endSave(save, deleting);
            return;
        }
        // No lock is held while the user is asked or told; the next round
        // checks again that nothing changed meanwhile.
        save.rollback();
        if (!asExpected && !confirmed(expected, now, deleting)) return;
        if (asExpected) {
            showLongDescriptionNotices(*f.services.dialogs, rows.longChangeDescriptions);
            noticesDue = false;
        }
    }
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

// The weighing on screen when the save replaces or deletes it: always in
// search mode (the found record goes), in normal mode when the typed key
// names it. The typed key, when it names another weighing, must hold none.
// The deletion in normal mode removes only equipment rows under tail "0".
std::vector<Save::Expected> Save::expectedWeighings(bool searchMode, bool deleting, const WeighingKey& typed) const
{
    std::vector<Expected> expected;
    if (deleting && !searchMode) return expected;
    const std::optional<StoredWeighing>& shown = f.weighingOnScreen;
    const bool replacesShown = shown && (searchMode || shown->key.sameAs(typed));
    if (replacesShown) expected.push_back({shown->key, &*shown, "", true});
    if (!deleting && !(replacesShown && shown->key.sameAs(typed))) expected.push_back({typed, nullptr, "", false});
    return expected;
}

Save::StoredNow Save::storedNow(const std::vector<Expected>& expected)
{
    Database& db = Form1::need(f.dbRecords);
    const std::optional<FileState> state = db.CurrentFileState();
    StoredNow now;
    for (const Expected& e : expected) {
        const bool unchanged = state && e.shownAs && e.shownAs->state == state;
        now.push_back(unchanged ? std::nullopt : std::optional(storedRowsOf(db, e.key)));
    }
    return now;
}

// What this program's own save left unconfirmed counts as expected, and is
// expected from then on.
bool Save::storedAsExpected(std::vector<Expected>& expected, const StoredNow& now)
{
    bool same = true;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Expected& e = expected[i];
        if (!now[i] || *now[i] == e.expectedRows()) continue;
        if (unconfirmed_ && unconfirmed_->key.sameAs(e.key) && *now[i] == unconfirmed_->rows()) {
            e.rows = *now[i];
            e.shownAs = nullptr;
        } else {
            same = false;
        }
    }
    return same;
}

bool Save::confirmed(std::vector<Expected>& expected, const StoredNow& now, bool deleting)
{
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Expected& e = expected[i];
        if (!now[i]) continue;
        const bool changed = *now[i] != e.expectedRows();
        // No stores nothing: the worksheet stays as unsaved as it was.
        if (changed && !askToGoOn(e, *now[i], deleting)) return false;
        e.asked = e.asked || changed;
        e.rows = *now[i];
        e.shownAs = nullptr;
    }
    return true;
}

// The question when what is stored under a key is not what the user expects;
// true to go on. A weighing to be deleted or replaced that is gone already
// needs no question, but for the one on screen, which the save would bring
// back.
bool Save::askToGoOn(const Expected& e, const std::string& now, bool deleting)
{
    auto ask = [&](const std::string& title, const std::string& text) {
        f.setMousePointer(pointer::kDefault);
        const int answer = f.services.dialogs->MsgBox(
            e.key.name() + text, msgbox::kYesNo | msgbox::kQuestion | msgbox::kDefaultButton2, title);
        f.setMousePointer(pointer::kHourglass);
        return answer == msgbox::kYes;
    };
    const std::string since = e.asked ? " since you were asked." : " since it was shown.";
    if (now.empty()) {
        if (deleting || !e.shown) return true;
        return ask("Weighing deleted by another program",
                   " was deleted by another program" + since + " Store the worksheet on screen?");
    }
    if (e.expectedRows().empty()) {
        return ask("Weighing already stored", " is already stored. Replace it with the worksheet on screen?");
    }
    return ask("Weighing changed by another program",
               " was changed by another program" + since +
                   (deleting ? " Delete it?" : " Replace it with the worksheet on screen?"));
}

void Save::deleteRows(const char* table, const WeighingKey& key)
{
    essential(failure_, [&] { Form1::need(f.dbRecords).DeleteRows(table, key.criteria()); });
}

// The writes of the save, inside its transaction: the weighing replaced (or
// deleted) goes with its equipment rows, then the worksheet is added with its
// own. What is now stored under the typed key, which the deletes emptied
// first, is what was written: it is kept for the next save.
void Save::write(bool searchMode, bool deleting, const WeighingKey& typed, const EquipmentRows& rows)
{
    const std::optional<StoredWeighing>& shown = f.weighingOnScreen;
    if (searchMode) {
        skipOnFailure([&] { Form1::need(f.rsEquipment).Close(); });
        if (shown) {
            deleteRows("Equipment", shown->key);
            deleteRows("Aircraft", shown->key);
        }
    } else {
        // A stored record on screen is opened for editing; the AddNew below
        // abandons the edit, so the shown row is never changed by it. (Inside
        // the transaction, so it waits for no lock of its own.)
        if (f.ws.NewRecordMode == 0) skipOnFailure([&] { Form1::need(f.rsAircraft).Edit(); });
        deleteRows("Equipment", typed);
    }
    if (deleting || failure_) return;
    skipOnFailure([&] { f.rsEquipment = Form1::need(f.dbRecords).CreateDynaset("Equipment"); });
    // The found record goes only together with a stored replacement.
    StoredRows aircraft, equipment;
    if (storeWeighing(searchMode ? f.rsFound.get() : f.rsAircraft.get(), searchMode, typed, aircraft))
        equipment = storeEquipmentRows(rows);
    std::optional<FileState> state;
    skipOnFailure([&] { state = Form1::need(f.dbRecords).CurrentFileState(); });
    written_.emplace(typed, std::move(aircraft), std::move(equipment), state);
}

// Commits what the save did, unless a step it cannot do without failed; then
// nothing is stored, the user is told and the worksheet stays unsaved.
void Save::endSave(SaveTransaction& save, bool deleting)
{
    const bool wroteAll = save.isOpen() && !failure_;
    const bool stored = !failure_ && save.commit();
    if (!stored) {
        save.rollback();
        if (wroteAll && !deleting && written_) unconfirmed_ = written_;
        refuse(deleting);
        return;
    }
    unconfirmed_.reset();
    if (deleting) {
        deletionPath();
        return;
    }
    f.weighingOnScreen = std::move(written_);
    finishSave();
}

// Nothing was stored: the user is told why, and the worksheet on screen
// counts as unsaved.
void Save::refuse(bool deleting)
{
    f.ws.SavedState = 0;
    const RuntimeError why = failure_.value_or(RuntimeError(dberr::kDiskError, "not stored"));
    // Without a record database, the text says how to get one.
    const bool noDatabase = !f.dbRecords || why.number() == kObjectNotSet;
    f.setMousePointer(pointer::kDefault);
    f.services.dialogs->MsgBox(noDatabase ? noRecordDatabaseAdvice(f.Data1) : kPressOkToContinue,
                               msgbox::kOkOnly | msgbox::kCritical,
                               notStoredTitle(deleting ? "Not deleted" : "Not saved", why,
                                              f.dbRecords ? f.dbRecords->path() : std::string()));
}

// Writes the worksheet's equipment rows; every one of them must be stored
// under the key, and no row of the key left from before.
StoredRows Save::storeEquipmentRows(const EquipmentRows& rows)
{
    StoredRows stored = writeEquipmentRows(f.rsEquipment.get(), f.Text1.text(), f.Text7.text(), rows);
    essential(failure_, [&] {
        if (stored.size() != rows.changeRows.size() + rows.listRows.size())
            throw RuntimeError(dberr::kDiskError, "Not every equipment row was stored");
    });
    return stored;
}

// Adds the worksheet to `set` as a new Aircraft row. One tail number and date
// name one weighing: a stored weighing of the typed key is replaced. Returns
// whether the row was stored; `stored` gets it as stored, when under the key.
bool Save::storeWeighing(Recordset* set, bool searchMode, const WeighingKey& typed, StoredRows& stored)
{
    auto rs = [&]() -> Recordset& {
        if (!set) throw RuntimeError(kObjectNotSet, "Object variable not set");
        return *set;
    };
    deleteRows("Aircraft", typed);
    if (searchMode) deleteRows("Equipment", typed);
    essential(failure_, [&] { rs().AddNew(); });
    int keyWrites = 0;
    for (const auto& [field, value] : weighingFields(f, searchMode)) {
        const bool written = value && skipOnFailure([&] { rs().setField(field, *value); });
        if (written && (field == "Tail" || field == "Date")) ++keyWrites;
    }
    if (!failure_ && essential(failure_, [&] { rs().Update(); })) {
        if (keyWrites == 2) essential(failure_, [&] { stored.push_back(rs().lastAddedRow()); });
        return true;
    }
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
