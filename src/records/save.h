#pragma once
// Save: the worksheet stored as a weighing with its equipment rows, in search
// mode (replacing the found record) or normal mode; tail number "0" deletes
// instead. Each save is one transaction; within it a failing step is skipped
// and the save goes on, except the steps that store the weighing: when one of
// them fails, or the commit does, nothing is stored and the user is told.
#include <memory>
#include <optional>
#include <string>

#include "app/subsystem.h"
#include "platform/database.h"

namespace wb {

struct EquipmentRows;
class SaveTransaction;

class Save : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Command3D13_Click();
    void Command3D13_LostFocus();

    // A tail number and a date: the name of one weighing.
    struct WeighingKey {
        Value tail, date;
        Criteria criteria() const;
    };

private:
    bool checksPass();
    void saveSearchMode();
    void saveNormalMode();
    std::optional<WeighingKey> foundKey(bool& foundRowGone);
    std::optional<WeighingKey> shownKey();
    bool replaceAllowed(const WeighingKey& typed);
    bool storeWeighing(Recordset* set, bool searchMode, const WeighingKey& typed);
    void deleteRows(const char* table, const WeighingKey& key);
    void storeEquipmentRows(const WeighingKey& typed, const EquipmentRows& rows);
    void endSave(SaveTransaction& save, bool deleting);
    void deletionPath();
    void finishSave();

    // Why this click's save cannot store the worksheet, once a step it cannot
    // do without failed.
    std::optional<RuntimeError> failure_;
    // The last save stored nothing.
    bool lastSaveFailed_ = false;

    // The key of a set's current row; without one, why it cannot be read.
    struct RowKey {
        std::optional<WeighingKey> key;
        int error = 0;
        bool operator==(const RowKey& other) const;
    };
    static RowKey currentRowKey(const std::shared_ptr<Recordset>& set);
    void rememberSave(const std::shared_ptr<Recordset>& set, const WeighingKey& typed);

    // What the last save stored, into which set, and where that set stood
    // after it: while the set stands there (no move since), the worksheet is
    // that weighing, and a second save replaces it.
    struct StoredWeighing {
        std::weak_ptr<Recordset> set;
        RowKey rowAfter;
        WeighingKey key;
    };
    std::optional<StoredWeighing> lastSave_;
};

}  // namespace wb
