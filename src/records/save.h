#pragma once
// Save: the worksheet stored as a weighing with its equipment rows, in search
// mode (replacing the found record) or normal mode; tail number "0" deletes
// instead. Each save is one transaction; within it a failing step is skipped
// and the save goes on.
#include <memory>
#include <optional>
#include <string>

#include "app/subsystem.h"
#include "platform/database.h"

namespace wb {

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
    bool storeWeighing(Recordset* set, bool searchMode, const WeighingKey& typed);
    void deleteRows(const char* table, const WeighingKey& key);
    void deletionPath();
    void finishSave();

    // What the last search-mode save stored, and into which search set: a second
    // save without a move replaces it.
    struct StoredWeighing {
        std::weak_ptr<Recordset> set;
        WeighingKey key;
    };
    std::optional<StoredWeighing> lastSearchSave_;
};

}  // namespace wb
