#pragma once
// Save: the worksheet stored as a weighing with its equipment rows, in search
// mode (replacing the found record) or normal mode; tail number "0" deletes
// instead. Each save is one transaction; within it a failing step is skipped
// and the save goes on, except the steps that store the weighing: when one of
// them fails, or the commit does, nothing is stored and the user is told.
//
// A save replaces a stored weighing only when it is as the user last saw it:
// the weighing on screen as it was shown (or last saved), a weighing of the
// typed key only once the user said to replace it. That is checked inside
// the save's transaction; where it does not hold, the transaction ends, the
// user is asked with no lock held, and after Yes the save begins again and
// checks again that nothing changed since.
#include <optional>
#include <string>
#include <vector>

#include "app/subsystem.h"
#include "platform/database.h"
#include "records/stored_weighing.h"

namespace wb {

struct EquipmentRows;
class SaveTransaction;

class Save : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Command3D13_Click();
    void Command3D13_LostFocus();

private:
    // A stored weighing that this save replaces or deletes, and what the user
    // expects stored under its key: its rows as shown, or none for a key typed
    // anew.
    struct Expected {
        WeighingKey key;
        const StoredWeighing* shownAs;  // the rows expected, as shown or saved; else `rows`
        std::string rows;
        bool shown;          // the weighing on screen, not the typed key
        bool asked = false;  // its rows are what the user said Yes to
        const std::string& expectedRows() const { return shownAs ? shownAs->rows() : rows; }
    };

    bool checksPass();
    std::vector<Expected> expectedWeighings(bool searchMode, bool deleting, const WeighingKey& typed) const;
    // Inside the save's transaction: what is stored under each expected key
    // (nothing where the file is as it was when the expected rows were
    // read or written, so they are what is stored), and whether it is all
    // what the user expects.
    using StoredNow = std::vector<std::optional<std::string>>;
    StoredNow storedNow(const std::vector<Expected>& expected);
    bool storedAsExpected(std::vector<Expected>& expected, const StoredNow& now);
    // Outside any transaction: asks about each key that does not hold what
    // the user expects, which it then expects. False when the user said No.
    bool confirmed(std::vector<Expected>& expected, const StoredNow& now, bool deleting);
    bool askToGoOn(const Expected& e, const std::string& now, bool deleting);
    void write(bool searchMode, bool deleting, const WeighingKey& typed, const EquipmentRows& rows);
    bool storeWeighing(Recordset* set, bool searchMode, const WeighingKey& typed, StoredRows& stored);
    void deleteRows(const char* table, const WeighingKey& key);
    StoredRows storeEquipmentRows(const EquipmentRows& rows);
    void endSave(SaveTransaction& save, bool deleting);
    void refuse(bool deleting);
    void deletionPath();
    void finishSave();

    // Why this click's save cannot store the worksheet, once a step it cannot
    // do without failed.
    std::optional<RuntimeError> failure_;
    // What this click's save stored under the typed key, as written, with
    // the file's state then, before the commit.
    std::optional<StoredWeighing> written_;
    // A save whose commit failed may yet be on disk (a sync that failed after
    // the commit point): what it would have stored is no change by another
    // program, and the next save replaces it without a question.
    std::optional<StoredWeighing> unconfirmed_;
};

}  // namespace wb
