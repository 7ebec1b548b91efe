#pragma once
// A database file opened on SQLite, and what its record sets need of it.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/sqlite_support.h"
#include "platform/sqlite/table_info.h"

namespace wb::sqlite {

class SqliteRecordset;

// Written into every file this program makes (the "application id" of the
// SQLite header): a file without it is not ours and is never written.
inline constexpr std::uint32_t kApplicationId = 0x57424B31;  // "WBK1"

class SqliteDatabase : public Database, public std::enable_shared_from_this<SqliteDatabase> {
public:
    // Takes over the open connection; reads the tables' layouts.
    SqliteDatabase(sqlite3* db, std::string path, bool readOnly);
    ~SqliteDatabase() override;

    std::shared_ptr<Recordset> CreateDynaset(const RecordSource& source) override;
    long DeleteRows(const std::string& table, const Criteria& where) override;
    void BeginTrans() override;
    void BeginRead() override;
    void CommitTrans() override;
    void Rollback() override;
    std::optional<FileState> CurrentFileState() override;
    std::vector<TableDef> TableDefs() override;
    bool readOnly() const override { return readOnly_; }
    const std::string& path() const override { return path_; }
    void RepairTextIndexes() override;
    void Close() override;
    bool isOpen() const override { return db_ != nullptr; }

    // For the record sets.
    sqlite3* handle() const;
    // A prepared statement kept for reuse, reset and unbound.
    Statement& statement(const std::string& sql);
    const TableInfo& table(const std::string& name) const;
    // The highest row id of the table that this connection has seen or given
    // out: a record set lists the rows up to it (those a rollback brings back
    // among them), and every row added later lies above it.
    std::int64_t maxRowid(const TableInfo& table);
    // A row id above every row id this connection has seen in the table, so a
    // deleted row's id is never given again while record sets may remember it.
    std::int64_t nextRowid(const TableInfo& table);
    // Before every write: fails on a file opened read-only, and inside a
    // transaction that the engine has ended by itself.
    void requireWritable();
    bool inTransaction() const { return transactionDepth_ > 0; }
    // Names the outermost transaction open now (0 when none, or when the
    // engine has ended it): while it stays the same, no other program has
    // written the file, so what was read in it still holds unless this
    // connection wrote since.
    std::uint64_t transactionSerial() const;
    // Record sets made from record sets: closed with the database as well.
    void adopt(const std::shared_ptr<SqliteRecordset>& set);
    // Counts writes, so record sets know when a row they read may have changed.
    void noteWrite() { ++generation_; }
    std::uint64_t generation() const { return generation_; }

private:
    void loadTables();
    // Fails unless the file is still the one opened, in its place and writable.
    void requireStillOurs() const;
    void beginOutermost(const char* begin, bool readingOnly);
    bool endInnerRead();
    // Runs SQL of the transaction's own (BEGIN, COMMIT, savepoints).
    void run(const std::string& sql);
    // After a failed step: when the engine has left the transaction (it rolls
    // the whole of it back after a full disk, an I/O error, a lack of
    // memory, a damaged page), the transaction is over and why is kept.
    void noteFailure(const RuntimeError& why);
    // Fails, touching nothing, once the engine has ended the open transaction.
    void requireLiveTransaction();

    sqlite3* db_;
    std::string path_;
    bool readOnly_;
    int transactionDepth_ = 0;
    bool readingOnly_ = false;  // the outermost transaction is one that only reads
    // The levels inside the outermost one, innermost last: true for a read,
    // which begins, ends and undoes nothing of its own.
    std::vector<bool> innerReads_;
    std::uint64_t transactionSerial_ = 0;
    // Why the engine ended the open transaction by itself. Until it is rolled
    // back every write fails with it, so that no later step of the work runs
    // outside the transaction and is committed on its own.
    std::optional<RuntimeError> ended_;
    std::uint64_t generation_ = 0;
    std::uint64_t connection_ = 0;  // tells this open database from every other one
    std::vector<TableInfo> tables_;
    struct HighWater {
        std::int64_t rowid = 0;
        std::uint64_t readIn = 0;  // the transaction whose reading of the file it includes
    };
    std::map<std::string, HighWater> highWater_;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
    std::vector<std::weak_ptr<SqliteRecordset>> sets_;
};

}  // namespace wb::sqlite
