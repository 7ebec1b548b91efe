#include "platform/sqlite/text_collation.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/sqlite_support.h"
#include "platform/utf8.h"

namespace wb::sqlite {

namespace {

int compareText(void*, int sizeA, const void* a, int sizeB, const void* b)
{
    return utf8::compareFolded(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(sizeA)),
                               std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(sizeB)));
}

struct CaseFreeIndex {
    std::string name, table;
    std::vector<std::string> columns;  // those in NOCASE order
};

std::vector<CaseFreeIndex> caseFreeIndexes(sqlite3* db)
{
    std::vector<CaseFreeIndex> out;
    Statement indexes(db, "SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL");
    while (indexes.step()) {
        CaseFreeIndex index{std::get<std::string>(indexes.column(0)), std::get<std::string>(indexes.column(1)), {}};
        Statement columns(db, "SELECT name FROM pragma_index_xinfo(?) WHERE key AND coll = 'NOCASE'");
        columns.bind(1, index.name);
        while (columns.step()) index.columns.push_back(std::get<std::string>(columns.column(0)));
        if (!index.columns.empty()) out.push_back(std::move(index));
    }
    return out;
}

// Whether a column holds text beyond printable ASCII, where the two orders can differ.
bool holdsWideText(sqlite3* db, const std::string& table, const std::string& column)
{
    Statement s(db, "SELECT 1 FROM " + quoteName(table) + " WHERE " + quoteName(column) + " GLOB '*[^ -~]*' LIMIT 1");
    return s.step();
}

// SQLite's own check of a table and its indexes, under this connection's NOCASE.
bool inOrder(sqlite3* db, const std::string& table)
{
    Statement s(db, "PRAGMA integrity_check(" + quoteName(table) + ")");
    return s.step() && s.column(0) == SqlValue(std::string("ok"));
}

}  // namespace

void registerTextCollation(sqlite3* db)
{
    int rc = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, compareText);
    if (rc != SQLITE_OK) fail(db, rc, "register NOCASE");
}

int userVersion(sqlite3* db)
{
    Statement s(db, "PRAGMA user_version");
    return s.step() ? static_cast<int>(std::get<std::int64_t>(s.column(0))) : 0;
}

void markTextIndexesFolded(sqlite3* db)
{
    exec(db, "PRAGMA user_version = " + std::to_string(kFoldedIndexesVersion));
}

void reindexText(sqlite3* db)
{
    try {
        if (userVersion(db) >= kFoldedIndexesVersion) return;
        for (const CaseFreeIndex& index : caseFreeIndexes(db)) {
            bool wide = false;
            for (const std::string& column : index.columns) wide = wide || holdsWideText(db, index.table, column);
            if (wide && !inOrder(db, index.table)) exec(db, "REINDEX " + quoteName(index.name));
        }
        markTextIndexesFolded(db);
    } catch (const RuntimeError&) {
        // Tried again at the next open.
    }
}

}  // namespace wb::sqlite
