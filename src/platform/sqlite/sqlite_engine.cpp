#include "platform/sqlite/sqlite_engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/sqlite/column_values.h"
#include "platform/sqlite/sql_criteria.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/text_collation.h"

namespace wb {

namespace {

using namespace wb::sqlite;

std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool isFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Reads the file's header without SQLite, so a foreign file is never opened
// (opening may roll back a journal, which writes).
bool isOurFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[100];
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    static const char magic[] = "SQLite format 3";
    for (int i = 0; i < 16; ++i) {
        if (header[i] != static_cast<unsigned char>(magic[i])) return false;
    }
    std::uint32_t id = (std::uint32_t{header[68]} << 24) | (std::uint32_t{header[69]} << 16) |
                       (std::uint32_t{header[70]} << 8) | std::uint32_t{header[71]};
    return id == kApplicationId;
}

sqlite3* openConnection(const std::string& path, int flags, std::chrono::milliseconds lockWait)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "Cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw RuntimeError(dberr::kCannotOpen, message);
    }
    sqlite3_busy_timeout(db, static_cast<int>(lockWait.count()));
    sqlite3_extended_result_codes(db, 1);
    try {
        registerTextCollation(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return db;
}

// A rollback journal, as a shared network folder needs (no shared memory).
// Every commit syncs the file; the journal is then cut to nothing and that
// synced too, so a power cut right after a commit cannot bring the old
// journal back (a deleted journal needs a synced folder for that, which not
// every network file system can give).
void useDurableJournal(sqlite3* db)
{
    exec(db, "PRAGMA synchronous = FULL");
    exec(db, "PRAGMA journal_mode = TRUNCATE");
}

// Makes the folder's entries (a file linked in, a name removed) survive a
// power cut. A file system that cannot sync a folder keeps them on its own.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

std::string createTableSql(const TableDef& table)
{
    std::string sql = "CREATE TABLE " + quoteName(table.name) + " (";
    for (size_t i = 0; i < table.fields.size(); ++i) {
        sql += (i ? ", " : "") + quoteName(table.fields[i].name) + " " + columnDeclaration(table.fields[i]);
    }
    return sql + ")";
}

std::string createIndexSql(const TableDef& table, const IndexDef& index)
{
    std::string sql = "CREATE INDEX " + quoteName(index.name) + " ON " + quoteName(table.name) + " (";
    for (size_t i = 0; i < index.fields.size(); ++i) sql += (i ? ", " : "") + quoteName(index.fields[i]);
    return sql + ")";
}

class SqliteEngine : public DatabaseEngine {
public:
    explicit SqliteEngine(std::chrono::milliseconds lockWait) : lockWait_(lockWait) {}
    using DatabaseEngine::OpenDatabase;

    std::shared_ptr<Database> OpenDatabase(const std::string& path, OpenMode mode) override
    {
        if (!exists(path)) {
            if (!isFolder(folderOf(path))) throw RuntimeError(dberr::kInvalidPath, "'" + path + "' is not a valid path");
            throw RuntimeError(dberr::kFileNotFound, "Could not find file '" + path + "'");
        }
        if (isFolder(path)) throw RuntimeError(dberr::kCannotOpen, "'" + path + "' is a folder");
        if (::access(path.c_str(), R_OK) != 0) throw RuntimeError(dberr::kCannotOpen, "Cannot read '" + path + "'");
        if (!isOurFile(path)) {
            throw RuntimeError(dberr::kNotOurs, "'" + path + "' is not a database of this program");
        }
        bool readOnly = mode == OpenMode::ReadOnly;
        if (!readOnly && (::access(path.c_str(), W_OK) != 0 || ::access(folderOf(path).c_str(), W_OK) != 0)) {
            throw RuntimeError(dberr::kReadOnly, "'" + path + "' cannot be written");
        }
        sqlite3* db = openConnection(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, lockWait_);
        try {
            registerLikeFunction(db);
            useDurableJournal(db);
            return std::make_shared<SqliteDatabase>(db, path, readOnly);
        } catch (const RuntimeError& e) {
            sqlite3_close_v2(db);
            if (e.number() == dberr::kLocked) throw RuntimeError(dberr::kFileInUse, e.what());
            throw;
        }
    }

    std::shared_ptr<Database> CreateDatabase(const std::string& path, const std::vector<TableDef>& tables) override
    {
        std::string folder = folderOf(path);
        if (!isFolder(folder)) throw RuntimeError(dberr::kInvalidPath, "'" + path + "' is not a valid path");
        if (exists(path)) throw RuntimeError(dberr::kDatabaseExists, "Database '" + path + "' already exists");
        if (::access(folder.c_str(), W_OK) != 0) throw RuntimeError(dberr::kReadOnly, "'" + folder + "' cannot be written");

        // Built under a temporary name and linked into place whole, so that no
        // half-made file ever carries the name (and an existing one is kept).
        std::string temporary = path + ".new-" + std::to_string(::getpid());
        std::remove(temporary.c_str());
        sqlite3* db = nullptr;
        try {
            // Opening makes the file, and may fail after.
            db = openConnection(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, lockWait_);
            exec(db, "PRAGMA synchronous = FULL");
            exec(db, "PRAGMA journal_mode = OFF");  // a failure discards the whole file
            exec(db, "BEGIN");
            exec(db, "PRAGMA application_id = " + std::to_string(kApplicationId));
            markTextIndexesFolded(db);
            for (const TableDef& t : tables) {
                exec(db, createTableSql(t));
                for (const IndexDef& index : t.indexes) exec(db, createIndexSql(t, index));
            }
            exec(db, "COMMIT");
        } catch (...) {
            if (db) sqlite3_close_v2(db);
            std::remove(temporary.c_str());
            throw;
        }
        sqlite3_close_v2(db);
        int linked = ::link(temporary.c_str(), path.c_str());
        int linkError = errno;
        std::remove(temporary.c_str());
        syncFolder(folder);
        if (linked != 0) {
            if (linkError == EEXIST) throw RuntimeError(dberr::kDatabaseExists, "Database '" + path + "' already exists");
            throw RuntimeError(dberr::kCannotOpen, "Cannot create '" + path + "'");
        }
        return OpenDatabase(path, OpenMode::ReadWrite);
    }

private:
    std::chrono::milliseconds lockWait_;
};

}  // namespace

std::unique_ptr<DatabaseEngine> makeSqliteEngine(std::chrono::milliseconds lockWait)
{
    return std::make_unique<SqliteEngine>(lockWait);
}

}  // namespace wb
