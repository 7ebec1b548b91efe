#pragma once
// How each field type is declared, stored and read back, and how a criterion's
// value is put in a field's terms.
#include <optional>
#include <string>

#include "platform/database.h"
#include "platform/sqlite/sqlite_support.h"

namespace wb::sqlite {

// The column declaration for CREATE TABLE ("TEXT(25) COLLATE NOCASE", "DOUBLE", ...).
std::string columnDeclaration(const FieldDef& field);
// The field as read from a column's declared type (PRAGMA table_info);
// nothing when the type is not one columnDeclaration gives (its type name,
// without the collation).
std::optional<FieldDef> fieldFromDeclaredType(const std::string& name, const std::string& declaredType);

// The value to store; throws kTypeMismatch or kFieldTooSmall.
SqlValue storedValue(const FieldDef& field, const Value& v);
// The value as the program reads it.
Value readValue(const FieldDef& field, SqlValue stored);
// The same for a result column of `s`, read in place where the column holds
// what the field's type stores.
Value readColumn(const FieldDef& field, const Statement& s, int index);
// The value a criterion compares the column with; nothing when the field's
// type cannot take it (the comparison then matches no row).
std::optional<SqlValue> criterionValue(const FieldDef& field, const Value& v);

}  // namespace wb::sqlite
