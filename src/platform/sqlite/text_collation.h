#pragma once
// The case-free order of stored text. Text columns are declared COLLATE NOCASE
// (so that any SQLite program can read and write the file); each connection of
// this program replaces SQLite's NOCASE, which folds only A-Z, with
// utf8::compareFolded, which folds accented and non-Latin letters as well.
#include <sqlite3.h>

namespace wb::sqlite {

void registerTextCollation(sqlite3* db);

// PRAGMA user_version of a file whose case-free indexes are in this
// program's order: set when the file is made and once it has been checked.
constexpr int kFoldedIndexesVersion = 1;

void markTextIndexesFolded(sqlite3* db);

// Rebuilds in that order every case-free index over text beyond ASCII that
// SQLite's integrity check finds out of it. Such an index written under
// SQLite's own NOCASE (by an older version of this program or by another
// program) may be; over ASCII text the two orders agree. A file in order is
// left as it is, and so is a file that cannot be read or written now
// (read-only, or busy). A file marked with kFoldedIndexesVersion is not read
// again: the scan costs a full pass over every text column at each open.
void reindexText(sqlite3* db);

}  // namespace wb::sqlite
