#pragma once
// Criteria as an SQL condition with bound parameters. The SQL text holds only
// field names from the schema, operators and "?" placeholders.
#include <string>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/sqlite_support.h"
#include "platform/sqlite/table_info.h"

namespace wb::sqlite {

struct SqlCondition {
    std::string sql = "1";
    std::vector<SqlValue> params;
};

// Fails with dberr::kUnknownField for a field the table lacks.
SqlCondition compileCriteria(const TableInfo& table, const Criteria& criteria);

// The name of the registered Like function: wb_like(value, pattern).
inline constexpr const char* kLikeFunction = "wb_like";
void registerLikeFunction(sqlite3* db);

}  // namespace wb::sqlite
