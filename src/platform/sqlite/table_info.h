#pragma once
// A table as the engine knows it: its fields in order, found by name
// regardless of case.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/database.h"

namespace wb::sqlite {

struct TableInfo {
    TableDef def;
    // Made once: "INSERT INTO T (rowid, A, B, ...) VALUES (?, ?, ...)" and
    // "SELECT A, B, ... FROM T WHERE rowid = ?".
    std::string insertSql;
    std::string selectByRowidSql;
    // Each field's index by its name in ASCII lower case.
    std::unordered_map<std::string, int> indexByName;       // by name in lower case
    std::unordered_map<std::string, int> indexByExactName;  // by name as declared

    // -1 when the table has no such field.
    int fieldIndex(const std::string& name) const;
    // The field, or RuntimeError `error` naming it.
    int requireField(const std::string& name, int error) const;
    const FieldDef& field(int index) const { return def.fields[static_cast<size_t>(index)]; }
    int fieldCount() const { return static_cast<int>(def.fields.size()); }
    // Fills insertSql, selectByRowidSql and the indexes by name from the fields.
    void composeSql();
    std::string quotedName() const;
};

}  // namespace wb::sqlite
