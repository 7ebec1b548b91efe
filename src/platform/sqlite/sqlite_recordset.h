#pragma once
// A dynaset over one table of a SQLite database. It keeps only its
// definition (criterion, order, the row id bound of the rows it lists), the
// rows added through it and its position as a key (order values and row id);
// moves and finds are indexed queries from that key.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/sql_criteria.h"
#include "platform/sqlite/sqlite_database.h"

namespace wb::sqlite {

class SqliteRecordset : public Recordset {
public:
    SqliteRecordset(std::shared_ptr<SqliteDatabase> db, const TableInfo& table, Criteria where,
                    std::vector<int> order, std::int64_t bound, std::vector<std::int64_t> added);

    bool IsBOF() override;
    bool IsEOF() override;
    bool NoMatch() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    void FindFirst(const Criteria& c) override;
    void FindLast(const Criteria& c) override;
    void FindNext(const Criteria& c) override;
    void FindPrevious(const Criteria& c) override;
    Value field(const std::string& name) override;
    void setField(const std::string& name, const Value& v) override;
    std::vector<std::string> fieldNames() const override;
    void AddNew() override;
    void Edit() override;
    void Update() override;
    void CancelUpdate() override;
    void Delete() override;
    void Refresh() override;
    void setFilter(const Criteria& c) override;
    const Criteria& filter() const override { return filter_; }
    std::shared_ptr<Recordset> CreateDynaset() override;
    long RecordCount() override;
    std::vector<std::vector<Value>> RowsMeeting(const Criteria& c, const std::vector<std::string>& fields) override;
    TableRows TableRowsMeeting(const Criteria& c, const std::vector<std::string>& fields,
                               const std::vector<Criteria>& within) override;
    std::vector<Value> lastAddedRow() override;
    void Close() override;
    bool isOpen() const override { return open_ && db_->isOpen(); }

    void markClosed() { open_ = false; }
    // Puts a new set on its first row (one indexed query).
    void start() { ensurePositioned(); }

private:
    struct Position {
        enum Kind { Unset, BeforeFirst, AfterLast, Base, Added } kind = Unset;
        std::vector<SqlValue> order;  // Base: the row's order values
        std::int64_t rowid = 0;       // Base and Added
        size_t added = 0;             // Added: index into added_
        static Position of(Kind k)
        {
            Position p;
            p.kind = k;
            return p;
        }
    };
    enum class Direction { Forward, Backward };
    enum class Pending { None, Adding, Editing };

    void requireOpen() const;
    void ensurePositioned();
    void abandonPending() { pending_ = Pending::None; }
    // The nearest row from `from` in the direction that meets `extra` (when given).
    std::optional<Position> step(Direction dir, const Position& from, const SqlCondition* extra);
    std::optional<Position> seekBase(Direction dir, const Position* from, const SqlCondition* extra);
    std::optional<Position> seekAdded(Direction dir, std::optional<size_t> from, const SqlCondition* extra);
    bool rowExists(std::int64_t rowid, const SqlCondition* extra);
    bool hasRows();
    std::optional<Position> firstRow();
    void find(Direction dir, const Position& from, const Criteria& c);
    const std::vector<SqlValue>& currentRow();
    // The columns of `fields` and their names as an SQL list ("" for none),
    // kept for the fields last asked; fails with kItemNotFound.
    struct FieldList {
        std::vector<std::string> fields;
        std::vector<int> columns;
        std::string sql;
    };
    const FieldList& fieldList(const std::vector<std::string>& fields);
    // " ORDER BY" the set's order, then row id.
    std::string orderBySql() const;
    // The values of `columns`, read from the result columns from `first` on.
    std::vector<Value> readFields(const Statement& s, int first, const std::vector<int>& columns) const;
    bool hasCurrentRow() const { return pos_.kind == Position::Base || pos_.kind == Position::Added; }

    std::shared_ptr<SqliteDatabase> db_;
    const TableInfo* table_;
    Criteria where_;
    SqlCondition whereSql_;
    std::vector<int> order_;
    std::int64_t bound_;
    std::vector<std::int64_t> added_;
    Position pos_;
    bool noMatch_ = false;
    Pending pending_ = Pending::None;
    std::vector<SqlValue> buffer_;
    std::vector<bool> dirty_;
    std::vector<SqlValue> lastAdded_;  // as the last new row was stored (empty before one)
    std::int64_t editRowid_ = 0;
    Criteria filter_;
    bool open_ = true;
    std::vector<SqlValue> row_;
    FieldList fieldList_;
    std::int64_t rowRowid_ = 0;
    std::uint64_t rowGeneration_ = 0;
    std::uint64_t rowSerial_ = 0;  // the transaction it was read in
    bool rowCached_ = false;
    // The first row as last found, and what it holds for.
    struct FirstRow {
        std::uint64_t serial = 0;  // the transaction it was found in; 0 for none
        std::uint64_t generation = 0;
        size_t added = 0;
        std::int64_t bound = 0;
        std::optional<Position> row;
    } first_;
};

}  // namespace wb::sqlite
