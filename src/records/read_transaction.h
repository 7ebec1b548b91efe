#pragma once
// A transaction that only reads: while it lives the database file is locked
// and checked once for all the queries made, instead of once per query. No
// database, or a failing begin, leaves the reads to run each on its own.
#include "platform/database.h"
#include "platform/failure.h"

namespace wb {

class ReadTransaction {
public:
    explicit ReadTransaction(Database* db) : db_(db) {
        open_ = db_ && skipOnFailure([&] { db_->BeginTrans(); });
    }
    ~ReadTransaction() {
        if (open_) skipOnFailure([&] { db_->CommitTrans(); });
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database* db_;
    bool open_ = false;
};

}  // namespace wb
