#include "platform/sqlite/sqlite_database.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "platform/sqlite/column_values.h"
#include "platform/sqlite/sql_criteria.h"
#include "platform/sqlite/sqlite_recordset.h"
#include "platform/sqlite/text_collation.h"

namespace wb::sqlite {

SqliteDatabase::SqliteDatabase(sqlite3* db, std::string path, bool readOnly)
    : db_(db), path_(std::move(path)), readOnly_(readOnly)
{
    static std::atomic<std::uint64_t> opened{0};
    connection_ = ++opened;
    loadTables();
}

SqliteDatabase::~SqliteDatabase()
{
    try {
        Close();
    } catch (...) {
    }
}

void SqliteDatabase::loadTables()
{
    std::vector<std::string> names;
    {
        Statement list(db_, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY rowid");
        while (list.step()) names.push_back(std::get<std::string>(list.column(0)));
    }
    for (const std::string& name : names) {
        TableInfo info;
        info.def.name = name;
        Statement columns(db_, "SELECT name, type FROM pragma_table_info(?)");
        columns.bind(1, name);
        while (columns.step()) {
            SqlValue type = columns.column(1);
            const std::string declared = std::holds_alternative<std::string>(type) ? std::get<std::string>(type) : "";
            const std::string column = std::get<std::string>(columns.column(0));
            std::optional<FieldDef> field = fieldFromDeclaredType(column, declared);
            if (!field) {
                throw RuntimeError(dberr::kNotOurs, "'" + path_ + "': column " + name + "." + column +
                                                        " has a type this program never declares");
            }
            info.def.fields.push_back(std::move(*field));
        }
        Statement indexes(db_, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL");
        indexes.bind(1, name);
        while (indexes.step()) {
            IndexDef index{std::get<std::string>(indexes.column(0)), {}};
            Statement fields(db_, "SELECT name FROM pragma_index_info(?) ORDER BY seqno");
            fields.bind(1, index.name);
            while (fields.step()) index.fields.push_back(std::get<std::string>(fields.column(0)));
            info.def.indexes.push_back(index);
        }
        info.composeSql();
        tables_.push_back(std::move(info));
    }
}

sqlite3* SqliteDatabase::handle() const
{
    if (!db_) throw RuntimeError(dberr::kObjectClosed, "The database is closed");
    return db_;
}

Statement& SqliteDatabase::statement(const std::string& sql)
{
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        found = statements_.emplace(sql, std::make_unique<Statement>(handle(), sql)).first;
        found->second->onFailure([this](const RuntimeError& why) { noteFailure(why); });
    }
    found->second->reset();
    return *found->second;
}

const TableInfo& SqliteDatabase::table(const std::string& name) const
{
    handle();
    for (const TableInfo& t : tables_) {
        if (sameName(t.def.name, name)) return t;
    }
    throw RuntimeError(dberr::kTableNotFound, "The engine cannot find the table '" + name + "'");
}

// The file's highest row id is read once per transaction: within one, no
// other program adds rows.
std::int64_t SqliteDatabase::maxRowid(const TableInfo& table)
{
    HighWater& high = highWater_[table.def.name];
    const std::uint64_t serial = transactionSerial();
    if (serial != 0 && high.readIn == serial) return high.rowid;
    Statement& s = statement("SELECT max(rowid) FROM " + table.quotedName());
    s.step();
    const std::int64_t max = s.columnInt(0);
    s.reset();
    high.rowid = std::max(high.rowid, max);
    high.readIn = serial;
    return high.rowid;
}

std::int64_t SqliteDatabase::nextRowid(const TableInfo& table)
{
    const std::int64_t next = maxRowid(table) + 1;
    highWater_[table.def.name].rowid = next;
    return next;
}

std::uint64_t SqliteDatabase::transactionSerial() const
{
    if (transactionDepth_ == 0 || ended_ || !db_ || sqlite3_get_autocommit(db_)) return 0;
    return transactionSerial_;
}

void SqliteDatabase::requireWritable()
{
    handle();
    if (readOnly_) throw RuntimeError(dberr::kReadOnly, "The database " + path_ + " is read-only");
    if (transactionDepth_ > 0 && readingOnly_)
        throw RuntimeError(kInvalidCall, "A write inside a transaction that only reads");
    requireLiveTransaction();
}

void SqliteDatabase::noteFailure(const RuntimeError& why)
{
    if (transactionDepth_ > 0 && !ended_ && db_ && sqlite3_get_autocommit(db_)) ended_ = why;
}

void SqliteDatabase::requireLiveTransaction()
{
    if (transactionDepth_ == 0) return;
    if (!ended_ && sqlite3_get_autocommit(handle())) {
        ended_ = RuntimeError(dberr::kDiskError, "The engine ended the transaction of " + path_ + " after a failed step");
    }
    if (ended_) throw *ended_;
}

void SqliteDatabase::run(const std::string& sql)
{
    statement(sql).run();  // a failure is noted by the statement
}

std::shared_ptr<Recordset> SqliteDatabase::CreateDynaset(const RecordSource& source)
{
    const TableInfo& info = table(source.table);
    std::vector<int> order;
    for (const std::string& name : source.orderBy) order.push_back(info.requireField(name, dberr::kUnknownField));
    // Checks the criterion's fields now rather than at the first move.
    compileCriteria(info, source.where);
    auto set = std::make_shared<SqliteRecordset>(shared_from_this(), info, source.where, order,
                                                 maxRowid(info), std::vector<std::int64_t>{});
    adopt(set);
    set->start();
    return set;
}

void SqliteDatabase::adopt(const std::shared_ptr<SqliteRecordset>& set)
{
    std::erase_if(sets_, [](const std::weak_ptr<SqliteRecordset>& w) { return w.expired(); });
    sets_.push_back(set);
}

long SqliteDatabase::DeleteRows(const std::string& tableName, const Criteria& where)
{
    requireWritable();
    const TableInfo& info = table(tableName);
    SqlCondition condition = compileCriteria(info, where);
    std::optional<Transaction> own;
    if (!inTransaction()) own.emplace(*this);
    Statement& s = statement("DELETE FROM " + info.quotedName() + " WHERE " + condition.sql);
    s.bindAll(condition.params);
    s.run();
    noteWrite();
    const long deleted = static_cast<long>(sqlite3_changes(db_));
    if (own) own->commit();
    return deleted;
}

void SqliteDatabase::BeginTrans()
{
    handle();
    if (transactionDepth_ > 0) {
        requireLiveTransaction();
        run("SAVEPOINT wb_transaction");
        innerReads_.push_back(false);
        ++transactionDepth_;
        return;
    }
    // The outermost transaction takes the write lock at once, so a file that
    // cannot be written fails here, before any work, and not half-way.
    requireWritable();
    requireStillOurs();
    beginOutermost("BEGIN IMMEDIATE", false);
}

// Begins the outermost transaction and reads the file's mark (which takes
// the read lock now, for one begun deferred): a file that is no longer ours
// is left at once.
void SqliteDatabase::beginOutermost(const char* begin, bool readingOnly)
{
    sqlite3* db = handle();
    run(begin);
    try {
        Statement& id = statement("PRAGMA application_id");
        const bool ours = id.step() && static_cast<std::uint32_t>(id.columnInt(0)) == kApplicationId;
        id.reset();
        if (!ours) throw RuntimeError(dberr::kNotOurs, "'" + path_ + "' is no longer a database of this program");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);  // keeps the first failure
        throw;
    }
    ended_.reset();
    readingOnly_ = readingOnly;
    innerReads_.clear();
    ++transactionSerial_;
    transactionDepth_ = 1;
}

void SqliteDatabase::requireStillOurs() const
{
    int moved = 0;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved) {
        throw RuntimeError(dberr::kFileNotFound, "'" + path_ + "' was moved or deleted");
    }
    // Also true for root when the file is immutable or its file system read-only.
    const std::size_t slash = path_.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path_.substr(0, slash + 1);
    if (::access(path_.c_str(), W_OK) != 0 || ::access(folder.c_str(), W_OK) != 0) {
        throw RuntimeError(dberr::kReadOnly, "'" + path_ + "' cannot be written");
    }
}

// Inside another transaction a read is part of it: the file is locked and
// checked already, and the reads see what that transaction sees.
void SqliteDatabase::BeginRead()
{
    if (transactionDepth_ > 0) {
        handle();
        innerReads_.push_back(true);
        ++transactionDepth_;
        return;
    }
    beginOutermost("BEGIN DEFERRED", true);
}

// Ends a read inside another transaction, if that is the innermost level.
bool SqliteDatabase::endInnerRead()
{
    if (transactionDepth_ < 2 || !innerReads_.back()) return false;
    innerReads_.pop_back();
    --transactionDepth_;
    return true;
}

// A commit that fails leaves the transaction to be rolled back: still open
// (a lock another program holds), or already undone by the engine.
void SqliteDatabase::CommitTrans()
{
    if (transactionDepth_ == 0) throw RuntimeError(dberr::kNoTransaction, "No transaction to commit");
    if (endInnerRead()) return;
    requireLiveTransaction();
    run(transactionDepth_ == 1 ? "COMMIT" : "RELEASE wb_transaction");
    if (transactionDepth_ > 1) innerReads_.pop_back();
    --transactionDepth_;
}

// Ends the transaction whatever happens: a rollback that fails part way
// (a failing disk) leaves its journal for the next reader to roll back.
void SqliteDatabase::Rollback()
{
    if (transactionDepth_ == 0) throw RuntimeError(dberr::kNoTransaction, "No transaction to roll back");
    if (endInnerRead()) return;
    const bool outermost = transactionDepth_ == 1;
    if (!(outermost && readingOnly_)) noteWrite();  // a transaction that only read undoes nothing
    if (!outermost) innerReads_.pop_back();
    --transactionDepth_;
    if (outermost) ended_.reset();
    if (ended_ || !db_ || sqlite3_get_autocommit(db_)) return;  // the engine undid the work already
    if (outermost) {
        run("ROLLBACK");
    } else {
        run("ROLLBACK TO wb_transaction");
        run("RELEASE wb_transaction");
    }
}

// SQLite's data version changes when another connection commits, and only
// then; this connection's own writes are counted by noteWrite.
std::optional<FileState> SqliteDatabase::CurrentFileState()
{
    if (transactionSerial() == 0) return std::nullopt;
    Statement& s = statement("PRAGMA data_version");
    const bool read = s.step();
    const std::int64_t version = s.columnInt(0);
    s.reset();
    if (!read) return std::nullopt;
    return FileState{connection_, version, generation_};
}

std::vector<TableDef> SqliteDatabase::TableDefs()
{
    handle();
    std::vector<TableDef> defs;
    for (const TableInfo& t : tables_) defs.push_back(t.def);
    return defs;
}

void SqliteDatabase::RepairTextIndexes()
{
    // A file that cannot be written now keeps its indexes until it can.
    if (db_ && !readOnly_) reindexText(db_);
}

void SqliteDatabase::Close()
{
    if (!db_) return;
    for (const auto& weak : sets_) {
        if (auto set = weak.lock()) set->markClosed();
    }
    sets_.clear();
    statements_.clear();
    sqlite3_close_v2(db_);  // an open transaction is rolled back
    db_ = nullptr;
    transactionDepth_ = 0;
    innerReads_.clear();
    ended_.reset();
}

}  // namespace wb::sqlite
