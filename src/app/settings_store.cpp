#include "app/settings_store.h"

#include "platform/database.h"
#include "records/record_files.h"

namespace wb {

SettingsStore::~SettingsStore() = default;

Recordset& SettingsStore::row() {
    if (!db_ || !rs_) open();
    return *rs_;
}

// Opens the settings database of the working folder. A missing file is made
// new with its one row, and a table of ours without a row gets one; a file
// that is not ours fails and is left untouched.
void SettingsStore::open() {
    if (!services_.databases) throw RuntimeError(kObjectNotSet, "No database engine");
    DatabaseEngine& engine = *services_.databases;
    std::shared_ptr<Database> db;
    try {
        db = openSettingsDatabase(engine, kFileName);
    } catch (const RuntimeError& e) {
        if (e.number() != dberr::kFileNotFound) throw;
        db = createSettingsDatabase(engine, kFileName);
    }
    try {
        std::shared_ptr<Recordset> rs = db->CreateDynaset(RecordSource(kTable));
        if (rs->IsBOF() && rs->IsEOF()) {
            rs->AddNew();
            rs->Update();
            rs->MoveFirst();
        }
        rs_ = std::move(rs);
    } catch (...) {
        db->Close();
        throw;
    }
    db_ = std::move(db);
}

void SettingsStore::write(const std::function<void(Recordset&)>& setFields) {
    auto attempt = [&] {
        Recordset& rs = row();
        rs.MoveFirst();
        rs.Edit();
        try {
            setFields(rs);
            rs.Update();
        } catch (...) {
            skipOnFailure([&] { rs.CancelUpdate(); });
            throw;
        }
    };
    try {
        attempt();
    } catch (const RuntimeError& e) {
        if (e.number() != dberr::kFileNotFound) throw;
        close();
        attempt();
    }
}

void SettingsStore::close() {
    rs_.reset();
    if (db_) {
        auto db = std::move(db_);
        db_.reset();
        db->Close();
    }
}

}  // namespace wb
