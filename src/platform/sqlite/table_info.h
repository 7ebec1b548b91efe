#pragma once
// A table as the engine knows it: its fields in order, found by name
// regardless of case.
#include <string>
#include <vector>

#include "platform/database.h"

namespace wb::sqlite {

struct TableInfo {
    TableDef def;

    // -1 when the table has no such field.
    int fieldIndex(const std::string& name) const;
    // The field, or RuntimeError `error` naming it.
    int requireField(const std::string& name, int error) const;
    const FieldDef& field(int index) const { return def.fields[static_cast<size_t>(index)]; }
    int fieldCount() const { return static_cast<int>(def.fields.size()); }
    // "rowid", "A", "B", ... quoted, for SELECT.
    std::string selectList() const;
    std::string quotedName() const;
};

}  // namespace wb::sqlite
