#pragma once
// The database engine on SQLite files.
#include <chrono>
#include <memory>

#include "platform/database.h"

namespace wb {

// How long a call waits for a lock another program holds on a file before it
// fails as locked: long enough for a commit on a slow shared folder.
inline constexpr std::chrono::milliseconds kLockWait{5000};

std::unique_ptr<DatabaseEngine> makeSqliteEngine(std::chrono::milliseconds lockWait = kLockWait);

}  // namespace wb
