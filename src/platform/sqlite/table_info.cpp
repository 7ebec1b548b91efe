#include "platform/sqlite/table_info.h"

#include "platform/sqlite/sqlite_support.h"

namespace wb::sqlite {

namespace {

std::string lowerAscii(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

int TableInfo::fieldIndex(const std::string& name) const
{
    // Most names are asked as declared: found without folding.
    if (const auto exact = indexByExactName.find(name); exact != indexByExactName.end()) return exact->second;
    const auto found = indexByName.find(lowerAscii(name));
    return found == indexByName.end() ? -1 : found->second;
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
    indexByName.clear();
    indexByExactName.clear();
    for (size_t i = def.fields.size(); i-- > 0;) {
        indexByName[lowerAscii(def.fields[i].name)] = static_cast<int>(i);
        indexByExactName[def.fields[i].name] = static_cast<int>(i);
    }
    selectByRowidSql = "SELECT " + columns + " FROM " + quotedName() + " WHERE rowid = ?";
}

std::string TableInfo::quotedName() const { return quoteName(def.name); }

}  // namespace wb::sqlite
