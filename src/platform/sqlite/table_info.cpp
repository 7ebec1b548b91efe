#include "platform/sqlite/table_info.h"

#include "platform/sqlite/sqlite_support.h"

namespace wb::sqlite {

int TableInfo::fieldIndex(const std::string& name) const
{
    for (size_t i = 0; i < def.fields.size(); ++i) {
        if (sameName(def.fields[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

int TableInfo::requireField(const std::string& name, int error) const
{
    int i = fieldIndex(name);
    if (i < 0) throw RuntimeError(error, "No field '" + name + "' in table " + def.name);
    return i;
}

void TableInfo::composeSql()
{
    std::string columns, marks;
    for (const FieldDef& f : def.fields) {
        columns += (columns.empty() ? "" : ", ") + quoteName(f.name);
        marks += ", ?";
    }
    insertSql = "INSERT INTO " + quotedName() + " (rowid, " + columns + ") VALUES (?" + marks + ")";
    selectByRowidSql = "SELECT " + columns + " FROM " + quotedName() + " WHERE rowid = ?";
}

std::string TableInfo::quotedName() const { return quoteName(def.name); }

}  // namespace wb::sqlite
