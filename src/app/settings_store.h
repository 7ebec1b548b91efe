#pragma once
// The settings store: table `Company` of "SetupVASK.MDB" in the working folder,
// the splash window's data source `Data1`. It is opened when first needed and
// can be closed; a later use opens it again.
#include <functional>
#include <memory>
#include <string>

#include "platform/services.h"

namespace wb {

class Database;
class Recordset;

class SettingsStore {
public:
    static constexpr const char* kFileName = "SetupVASK.MDB";
    static constexpr const char* kTable = "Company";

    explicit SettingsStore(Services& services) : services_(services) {}
    ~SettingsStore();

    // The settings row (current row of table Company), opening the store first
    // when it is closed. Fails with a RuntimeError when it cannot be opened.
    Recordset& row();
    // Stores fields of the settings row: `setFields` writes them into the row
    // begun for editing, which is then saved; a failure saves none of them. A
    // settings file deleted or moved away while the program runs is made anew,
    // as at start-up, and the fields stored there. Fails as the write does.
    void write(const std::function<void(Recordset&)>& setFields);
    bool isOpen() const { return db_ != nullptr; }
    void close();

private:
    void open();
    Services& services_;
    std::shared_ptr<Database> db_;
    std::shared_ptr<Recordset> rs_;
};

}  // namespace wb
