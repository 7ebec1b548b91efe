#include "platform/sqlite/sql_criteria.h"

#include <memory>
#include <optional>
#include <string_view>

#include "platform/sqlite/column_values.h"
#include "platform/sqlite/like_pattern.h"

namespace wb::sqlite {

namespace {

const char* operatorText(Compare op)
{
    switch (op) {
    case Compare::Equal: return " = ?";
    case Compare::NotEqual: return " <> ?";
    case Compare::Less: return " < ?";
    case Compare::Greater: return " > ?";
    case Compare::LessOrEqual: return " <= ?";
    case Compare::GreaterOrEqual: return " >= ?";
    default: return "";
    }
}

std::string_view textOf(sqlite3_value* v)
{
    const unsigned char* t = sqlite3_value_text(v);
    return {reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_value_bytes(v))};
}

// The pattern is read once per statement run and kept with it (SQLite's
// auxiliary data of the argument), not once per row.
void likeFunction(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    if (auto* kept = static_cast<const LikePattern*>(sqlite3_get_auxdata(context, 1))) {
        sqlite3_result_int(context, kept->matches(textOf(args[0])) ? 1 : 0);
        return;
    }
    auto pattern = std::make_unique<LikePattern>(textOf(args[1]));
    sqlite3_result_int(context, pattern->matches(textOf(args[0])) ? 1 : 0);
    // SQLite owns it from here on, and frees it at once when it cannot keep it.
    sqlite3_set_auxdata(context, 1, pattern.release(), [](void* p) { delete static_cast<LikePattern*>(p); });
}

}  // namespace

SqlCondition compileCriteria(const TableInfo& table, const Criteria& criteria)
{
    SqlCondition out;
    std::vector<std::string> parts;
    for (const Condition& c : criteria.terms()) {
        int index = table.requireField(c.field, dberr::kUnknownField);
        const FieldDef& field = table.field(index);
        std::string column = quoteName(field.name);
        switch (c.op) {
        case Compare::IsNull: parts.push_back(column + " IS NULL"); continue;
        case Compare::IsNotNull: parts.push_back(column + " IS NOT NULL"); continue;
        case Compare::Like: {
            if (c.value.isNull()) {
                parts.push_back("0");
                continue;
            }
            parts.push_back(std::string(kLikeFunction) + "(" + column + ", ?)");
            out.params.push_back(c.value.toText());
            continue;
        }
        default: break;
        }
        std::optional<SqlValue> v = criterionValue(field, c.value);
        if (!v) {
            parts.push_back("0");
            continue;
        }
        parts.push_back(column + operatorText(c.op));
        out.params.push_back(*v);
    }
    if (!parts.empty()) {
        out.sql.clear();
        for (size_t i = 0; i < parts.size(); ++i) out.sql += (i ? " AND " : "") + parts[i];
    }
    return out;
}

void registerLikeFunction(sqlite3* db)
{
    int rc = sqlite3_create_function(db, kLikeFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                     likeFunction, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(db, rc, "register Like");
}

}  // namespace wb::sqlite
