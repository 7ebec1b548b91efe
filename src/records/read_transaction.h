#pragma once
// A transaction that only reads: while it lives the database file is locked
// for reading and checked once for all the queries made, instead of once per
// query, and every query sees the same stored state; other programs read
// meanwhile.
//
// Another program that holds the file past the engine's wait makes the begin
// fail with dberr::kLocked. No database, or another failure to begin, leaves
// the reads to run each on its own.
#include <optional>

#include "platform/database.h"
#include "platform/failure.h"

namespace wb {

class Form1;

class ReadTransaction {
public:
    explicit ReadTransaction(Database* db) : db_(db) {
        if (!db_) return;
        try {
            db_->BeginRead();
            open_ = true;
        } catch (const RuntimeError& e) {
            if (e.number() == dberr::kLocked) throw;
        }
    }
    ~ReadTransaction() { end(); }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

    // Ends it early: no lock may outlast the reads into a message box. It
    // ends by a rollback, which has nothing to undo.
    void end() {
        if (!open_) return;
        open_ = false;
        skipOnFailure([&] { db_->Rollback(); });
    }

private:
    Database* db_;
    bool open_ = false;
};

// The read transaction of a press that shows what is stored (Next, Previous,
// a search, showing a record, the previous equipment list), begun before the
// press changes anything, with the busy pointer on while it waits. When
// another program holds the record database past the engine's wait, the user
// is told so and false returned: the press then leaves all as it was.
bool beginReading(Form1& f, std::optional<ReadTransaction>& reads);

}  // namespace wb
