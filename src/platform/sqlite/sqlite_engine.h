#pragma once
// The database engine on SQLite files.
#include <memory>

#include "platform/database.h"

namespace wb {

std::unique_ptr<DatabaseEngine> makeSqliteEngine();

}  // namespace wb
