#include "platform/sqlite/sqlite_recordset.h"

#include <unordered_map>

#include "platform/sqlite/column_values.h"

namespace wb::sqlite {

namespace {

[[noreturn]] void noCurrentRecord()
{
    throw RuntimeError(dberr::kNoCurrentRecord, "No current record");
}

[[noreturn]] void recordDeleted()
{
    throw RuntimeError(dberr::kRecordDeleted, "Record is deleted");
}

void append(std::vector<SqlValue>& to, const std::vector<SqlValue>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

SqliteRecordset::SqliteRecordset(std::shared_ptr<SqliteDatabase> db, const TableInfo& table, Criteria where,
                                 std::vector<int> order, std::int64_t bound, std::vector<std::int64_t> added)
    : db_(std::move(db)),
      table_(&table),
      where_(std::move(where)),
      whereSql_(compileCriteria(table, where_)),
      order_(std::move(order)),
      bound_(bound),
      added_(std::move(added))
{
}

void SqliteRecordset::requireOpen() const
{
    if (!open_ || !db_->isOpen()) throw RuntimeError(dberr::kObjectClosed, "The record set is closed");
}

void SqliteRecordset::ensurePositioned()
{
    if (pos_.kind != Position::Unset) return;
    std::optional<Position> first = firstRow();
    pos_ = first ? *first : Position::of(Position::AfterLast);
}

// Within one transaction no other program writes the file: the first row
// found stays the first until this connection writes or a row is added
// through the set.
std::optional<SqliteRecordset::Position> SqliteRecordset::firstRow()
{
    const std::uint64_t serial = db_->transactionSerial();
    const bool known = serial != 0 && first_.serial == serial && first_.generation == db_->generation() &&
                       first_.added == added_.size() && first_.bound == bound_;
    if (known) return first_.row;
    std::optional<Position> row = step(Direction::Forward, Position::of(Position::BeforeFirst), nullptr);
    first_ = FirstRow{serial, db_->generation(), added_.size(), bound_, row};
    return row;
}

// ---- seeking ---------------------------------------------------------------

std::optional<SqliteRecordset::Position> SqliteRecordset::seekBase(Direction dir, const Position* from,
                                                                   const SqlCondition* extra)
{
    const bool forward = dir == Direction::Forward;
    std::vector<std::string> columns;
    for (int c : order_) columns.push_back(quoteName(table_->field(c).name));

    std::string query = "SELECT rowid";
    for (const std::string& c : columns) query += ", " + c;
    // "+rowid": the bound is only checked, never used to pick an index, so
    // SQLite walks the index of the order and stops at the first row that
    // qualifies, rather than sorting every row below the bound.
    query += " FROM " + table_->quotedName() + " WHERE +rowid <= ? AND (" + whereSql_.sql + ")";
    std::vector<SqlValue> params{bound_};
    append(params, whereSql_.params);
    if (extra) {
        query += " AND (" + extra->sql + ")";
        append(params, extra->params);
    }
    std::string orderBy = " ORDER BY ";
    for (const std::string& c : columns) orderBy += c + (forward ? " ASC, " : " DESC, ");
    orderBy += forward ? "rowid ASC LIMIT 1" : "rowid DESC LIMIT 1";

    // The rows beyond a key, nearest first: the same order values and a row id
    // beyond; then, column by column from the last, an equal prefix and this
    // column beyond. Each is one index range, tried in turn.
    struct Term {
        std::string sql;
        std::vector<SqlValue> params;
    };
    std::vector<Term> terms;
    if (!from) {
        terms.push_back({"", {}});
    } else {
        auto equalPrefix = [&](size_t count) {
            Term t;
            for (size_t i = 0; i < count; ++i) {
                if (isNull(from->order[i])) {
                    t.sql += " AND " + columns[i] + " IS NULL";
                } else {
                    t.sql += " AND " + columns[i] + " = ?";
                    t.params.push_back(from->order[i]);
                }
            }
            return t;
        };
        Term last = equalPrefix(columns.size());
        last.sql += forward ? " AND rowid > ?" : " AND rowid < ?";
        last.params.push_back(from->rowid);
        terms.push_back(last);
        for (size_t i = columns.size(); i-- > 0;) {
            const SqlValue& v = from->order[i];
            if (forward) {
                Term t = equalPrefix(i);
                if (isNull(v)) {
                    t.sql += " AND " + columns[i] + " IS NOT NULL";
                } else {
                    t.sql += " AND " + columns[i] + " > ?";
                    t.params.push_back(v);
                }
                terms.push_back(t);
            } else if (!isNull(v)) {
                Term less = equalPrefix(i);
                less.sql += " AND " + columns[i] + " < ?";
                less.params.push_back(v);
                terms.push_back(less);
                Term nulls = equalPrefix(i);
                nulls.sql += " AND " + columns[i] + " IS NULL";
                terms.push_back(nulls);
            }
        }
    }

    for (const Term& term : terms) {
        Statement& s = db_->statement(query + term.sql + orderBy);
        s.bindAll(params);
        s.bindAll(term.params, static_cast<int>(params.size()) + 1);
        if (s.step()) {
            Position p = Position::of(Position::Base);
            p.rowid = s.columnInt(0);
            for (size_t i = 0; i < columns.size(); ++i) p.order.push_back(s.column(static_cast<int>(i) + 1));
            s.reset();
            return p;
        }
        s.reset();
    }
    return std::nullopt;
}

bool SqliteRecordset::rowExists(std::int64_t rowid, const SqlCondition* extra)
{
    std::string query = "SELECT 1 FROM " + table_->quotedName() + " WHERE rowid = ?";
    if (extra) query += " AND (" + extra->sql + ")";
    Statement& s = db_->statement(query);
    s.bind(1, rowid);
    if (extra) s.bindAll(extra->params, 2);
    bool found = s.step();
    s.reset();
    return found;
}

std::optional<SqliteRecordset::Position> SqliteRecordset::seekAdded(Direction dir, std::optional<size_t> from,
                                                                    const SqlCondition* extra)
{
    auto at = [&](size_t i) {
        Position p = Position::of(Position::Added);
        p.rowid = added_[i];
        p.added = i;
        return p;
    };
    if (dir == Direction::Forward) {
        for (size_t i = from ? *from + 1 : 0; i < added_.size(); ++i) {
            if (rowExists(added_[i], extra)) return at(i);
        }
    } else {
        for (size_t i = from ? *from : added_.size(); i-- > 0;) {
            if (rowExists(added_[i], extra)) return at(i);
        }
    }
    return std::nullopt;
}

std::optional<SqliteRecordset::Position> SqliteRecordset::step(Direction dir, const Position& from,
                                                               const SqlCondition* extra)
{
    if (dir == Direction::Forward) {
        switch (from.kind) {
        case Position::Unset:
        case Position::BeforeFirst:
            if (auto p = seekBase(dir, nullptr, extra)) return p;
            return seekAdded(dir, std::nullopt, extra);
        case Position::Base:
            if (auto p = seekBase(dir, &from, extra)) return p;
            return seekAdded(dir, std::nullopt, extra);
        case Position::Added: return seekAdded(dir, from.added, extra);
        default: return std::nullopt;
        }
    }
    switch (from.kind) {
    case Position::AfterLast:
        if (auto p = seekAdded(dir, std::nullopt, extra)) return p;
        return seekBase(dir, nullptr, extra);
    case Position::Added:
        if (auto p = seekAdded(dir, from.added, extra)) return p;
        return seekBase(dir, nullptr, extra);
    case Position::Base: return seekBase(dir, &from, extra);
    default: return std::nullopt;
    }
}

bool SqliteRecordset::hasRows()
{
    return firstRow().has_value();
}

// ---- ends and moves --------------------------------------------------------

// Off the rows, a set with no rows stands at both ends; one that has rows
// again (added through it) stands at the end it was at.
bool SqliteRecordset::IsBOF()
{
    requireOpen();
    ensurePositioned();
    if (pos_.kind == Position::BeforeFirst) return true;
    return pos_.kind == Position::AfterLast && !hasRows();
}

bool SqliteRecordset::IsEOF()
{
    requireOpen();
    ensurePositioned();
    if (pos_.kind == Position::AfterLast) return true;
    return pos_.kind == Position::BeforeFirst && !hasRows();
}

bool SqliteRecordset::NoMatch() const
{
    requireOpen();
    return noMatch_;
}

void SqliteRecordset::MoveFirst()
{
    requireOpen();
    abandonPending();
    std::optional<Position> p = firstRow();
    if (!p) {
        pos_ = Position::of(Position::AfterLast);
        noCurrentRecord();
    }
    pos_ = *p;
}

void SqliteRecordset::MoveLast()
{
    requireOpen();
    abandonPending();
    std::optional<Position> p = step(Direction::Backward, Position::of(Position::AfterLast), nullptr);
    if (!p) {
        pos_ = Position::of(Position::AfterLast);
        noCurrentRecord();
    }
    pos_ = *p;
}

void SqliteRecordset::MoveNext()
{
    requireOpen();
    ensurePositioned();
    if (IsEOF()) noCurrentRecord();
    abandonPending();
    std::optional<Position> p = step(Direction::Forward, pos_, nullptr);
    pos_ = p ? *p : Position::of(Position::AfterLast);
}

void SqliteRecordset::MovePrevious()
{
    requireOpen();
    ensurePositioned();
    if (IsBOF()) noCurrentRecord();
    abandonPending();
    std::optional<Position> p = step(Direction::Backward, pos_, nullptr);
    pos_ = p ? *p : Position::of(Position::BeforeFirst);
}

// ---- finds -----------------------------------------------------------------

void SqliteRecordset::find(Direction dir, const Position& from, const Criteria& c)
{
    SqlCondition condition = compileCriteria(*table_, c);
    abandonPending();
    std::optional<Position> p = step(dir, from, &condition);
    noMatch_ = !p;
    if (p) pos_ = *p;
}

void SqliteRecordset::FindFirst(const Criteria& c)
{
    requireOpen();
    ensurePositioned();
    find(Direction::Forward, Position::of(Position::BeforeFirst), c);
}

void SqliteRecordset::FindLast(const Criteria& c)
{
    requireOpen();
    ensurePositioned();
    find(Direction::Backward, Position::of(Position::AfterLast), c);
}

void SqliteRecordset::FindNext(const Criteria& c)
{
    requireOpen();
    ensurePositioned();
    Position from = pos_;
    find(Direction::Forward, from, c);
}

void SqliteRecordset::FindPrevious(const Criteria& c)
{
    requireOpen();
    ensurePositioned();
    Position from = pos_;
    find(Direction::Backward, from, c);
}

// ---- fields ----------------------------------------------------------------

const std::vector<SqlValue>& SqliteRecordset::currentRow()
{
    requireOpen();
    ensurePositioned();
    if (!hasCurrentRow()) noCurrentRecord();
    // Kept only within the transaction it was read in: outside one, another
    // program may have replaced the row, even under the same row id.
    const std::uint64_t serial = db_->transactionSerial();
    if (rowCached_ && serial != 0 && rowSerial_ == serial && rowRowid_ == pos_.rowid &&
        rowGeneration_ == db_->generation())
        return row_;
    Statement& s = db_->statement(table_->selectByRowidSql);
    s.bind(1, pos_.rowid);
    if (!s.step()) {
        s.reset();
        recordDeleted();
    }
    row_.clear();
    for (int i = 0; i < table_->fieldCount(); ++i) row_.push_back(s.column(i));
    s.reset();
    rowCached_ = true;
    rowRowid_ = pos_.rowid;
    rowGeneration_ = db_->generation();
    rowSerial_ = serial;
    return row_;
}

Value SqliteRecordset::field(const std::string& name)
{
    requireOpen();
    int index = table_->requireField(name, dberr::kItemNotFound);
    if (pending_ != Pending::None) return readValue(table_->field(index), buffer_[static_cast<size_t>(index)]);
    return readValue(table_->field(index), currentRow()[static_cast<size_t>(index)]);
}

void SqliteRecordset::setField(const std::string& name, const Value& v)
{
    requireOpen();
    int index = table_->requireField(name, dberr::kItemNotFound);
    if (pending_ == Pending::None) {
        throw RuntimeError(dberr::kUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
    }
    buffer_[static_cast<size_t>(index)] = storedValue(table_->field(index), v);
    dirty_[static_cast<size_t>(index)] = true;
}

std::vector<std::string> SqliteRecordset::fieldNames() const
{
    std::vector<std::string> names;
    for (const FieldDef& f : table_->def.fields) names.push_back(f.name);
    return names;
}

// ---- edits -----------------------------------------------------------------

void SqliteRecordset::AddNew()
{
    requireOpen();
    db_->requireWritable();
    ensurePositioned();
    buffer_.assign(static_cast<size_t>(table_->fieldCount()), std::monostate{});
    dirty_.assign(buffer_.size(), false);
    pending_ = Pending::Adding;
}

void SqliteRecordset::Edit()
{
    requireOpen();
    db_->requireWritable();
    abandonPending();
    buffer_ = currentRow();
    dirty_.assign(buffer_.size(), false);
    editRowid_ = pos_.rowid;
    pending_ = Pending::Editing;
}

// A write made outside any transaction runs in one of its own: it is then
// checked as a save is (the file still ours and writable) before the file is
// touched, and a failure leaves no journal behind for anyone to roll back.
void SqliteRecordset::Update()
{
    requireOpen();
    if (pending_ == Pending::None) {
        throw RuntimeError(dberr::kUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
    }
    db_->requireWritable();
    const std::string table = table_->quotedName();
    if (pending_ == Pending::Adding) {
        std::optional<Transaction> own;
        if (!db_->inTransaction()) own.emplace(*db_);
        std::int64_t rowid = db_->nextRowid(*table_);
        Statement& s = db_->statement(table_->insertSql);
        s.bind(1, rowid);
        s.bindAll(buffer_, 2);
        s.run();
        db_->noteWrite();
        if (own) own->commit();
        lastAdded_ = buffer_;
        added_.push_back(rowid);
        pending_ = Pending::None;
        return;
    }
    std::string assignments;
    std::vector<SqlValue> params;
    for (size_t i = 0; i < buffer_.size(); ++i) {
        if (!dirty_[i]) continue;
        assignments += (assignments.empty() ? "" : ", ") + quoteName(table_->def.fields[i].name) + " = ?";
        params.push_back(buffer_[i]);
    }
    if (assignments.empty()) {
        pending_ = Pending::None;
        return;
    }
    params.push_back(editRowid_);
    {
        std::optional<Transaction> own;
        if (!db_->inTransaction()) own.emplace(*db_);
        Statement& s = db_->statement("UPDATE " + table + " SET " + assignments + " WHERE rowid = ?");
        s.bindAll(params);
        s.run();  // a failure leaves the edit pending
        db_->noteWrite();
        if (sqlite3_changes(db_->handle()) == 0) {
            pending_ = Pending::None;
            recordDeleted();
        }
        if (own) own->commit();
    }
    pending_ = Pending::None;
    if (pos_.kind == Position::Base && pos_.rowid == editRowid_) {
        for (size_t i = 0; i < order_.size(); ++i) pos_.order[i] = buffer_[static_cast<size_t>(order_[i])];
    }
}

void SqliteRecordset::CancelUpdate()
{
    requireOpen();
    abandonPending();
}

void SqliteRecordset::Delete()
{
    requireOpen();
    db_->requireWritable();
    ensurePositioned();
    abandonPending();
    if (!hasCurrentRow()) noCurrentRecord();
    std::optional<Transaction> own;
    if (!db_->inTransaction()) own.emplace(*db_);
    Statement& s = db_->statement("DELETE FROM " + table_->quotedName() + " WHERE rowid = ?");
    s.bind(1, pos_.rowid);
    s.run();
    db_->noteWrite();
    if (sqlite3_changes(db_->handle()) == 0) recordDeleted();
    if (own) own->commit();
}

// ---- the set as a whole ----------------------------------------------------

void SqliteRecordset::Refresh()
{
    requireOpen();
    abandonPending();
    bound_ = db_->maxRowid(*table_);
    added_.clear();
    pos_ = Position{};
    noMatch_ = false;
    ensurePositioned();
}

void SqliteRecordset::setFilter(const Criteria& c)
{
    requireOpen();
    filter_ = c;
}

std::shared_ptr<Recordset> SqliteRecordset::CreateDynaset()
{
    requireOpen();
    SqlCondition condition = compileCriteria(*table_, filter_);
    std::vector<std::int64_t> added;
    for (std::int64_t rowid : added_) {
        if (rowExists(rowid, &condition)) added.push_back(rowid);
    }
    Criteria where = where_;
    where.And(filter_);
    auto set = std::make_shared<SqliteRecordset>(db_, *table_, where, order_, bound_, added);
    db_->adopt(set);
    set->start();
    return set;
}

long SqliteRecordset::RecordCount()
{
    requireOpen();
    Statement& s = db_->statement("SELECT count(*) FROM " + table_->quotedName() + " WHERE rowid <= ? AND (" +
                                  whereSql_.sql + ")");
    s.bind(1, bound_);
    s.bindAll(whereSql_.params, 2);
    s.step();
    long count = static_cast<long>(s.columnInt(0));
    s.reset();
    for (std::int64_t rowid : added_) {
        if (rowExists(rowid, nullptr)) ++count;
    }
    return count;
}

std::string SqliteRecordset::orderBySql() const
{
    std::string orderBy = " ORDER BY ";
    for (int o : order_) orderBy += quoteName(table_->field(o).name) + ", ";
    return orderBy + "rowid";
}

std::vector<Value> SqliteRecordset::readFields(const Statement& s, int first, const std::vector<int>& columns) const
{
    std::vector<Value> row;
    row.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        row.push_back(readColumn(table_->field(columns[i]), s, first + static_cast<int>(i)));
    return row;
}

const SqliteRecordset::FieldList& SqliteRecordset::fieldList(const std::vector<std::string>& fields)
{
    if (fields == fieldList_.fields) return fieldList_;
    FieldList made;
    made.fields = fields;
    for (const std::string& name : fields) {
        made.columns.push_back(table_->requireField(name, dberr::kItemNotFound));
        made.sql += (made.sql.empty() ? "" : ", ") + quoteName(table_->field(made.columns.back()).name);
    }
    fieldList_ = std::move(made);
    return fieldList_;
}

std::vector<std::vector<Value>> SqliteRecordset::RowsMeeting(const Criteria& c, const std::vector<std::string>& fields)
{
    requireOpen();
    const SqlCondition condition = compileCriteria(*table_, c);
    const FieldList& asked = fieldList(fields);
    const std::vector<int>& columns = asked.columns;
    const std::string list = asked.sql.empty() ? "1" : asked.sql;
    std::vector<std::vector<Value>> rows;
    auto read = [&](Statement& s) { rows.push_back(readFields(s, 0, columns)); };
    Statement& base = db_->statement("SELECT " + list + " FROM " + table_->quotedName() + " WHERE +rowid <= ? AND (" +
                                     whereSql_.sql + ") AND (" + condition.sql + ")" + orderBySql());
    base.bind(1, bound_);
    base.bindAll(whereSql_.params, 2);
    base.bindAll(condition.params, 2 + static_cast<int>(whereSql_.params.size()));
    while (base.step()) read(base);
    base.reset();
    if (added_.empty()) return rows;
    Statement& added = db_->statement("SELECT " + list + " FROM " + table_->quotedName() + " WHERE rowid = ? AND (" +
                                      condition.sql + ")");
    for (std::int64_t rowid : added_) {
        added.bind(1, rowid);
        added.bindAll(condition.params, 2);
        if (added.step()) read(added);
        added.reset();
    }
    return rows;
}

Recordset::TableRows SqliteRecordset::TableRowsMeeting(const Criteria& c, const std::vector<std::string>& fields,
                                                       const std::vector<Criteria>& within)
{
    requireOpen();
    const SqlCondition condition = compileCriteria(*table_, c);
    std::vector<SqlCondition> flags;
    for (const Criteria& w : within) flags.push_back(compileCriteria(*table_, w));
    const FieldList& asked = fieldList(fields);
    const std::vector<int>& columns = asked.columns;
    // Each flag is 1 or 0 (a comparison with Null is 0); as a CASE, SQLite
    // tests it with jumps rather than computing every term's truth value.
    std::string list = "rowid, CASE WHEN +rowid <= ? AND (" + whereSql_.sql + ") THEN 1 ELSE 0 END";
    for (const SqlCondition& flag : flags) list += ", CASE WHEN " + flag.sql + " THEN 1 ELSE 0 END";
    if (!asked.sql.empty()) list += ", " + asked.sql;
    Statement& s = db_->statement("SELECT " + list + " FROM " + table_->quotedName() + " WHERE " + condition.sql +
                                  orderBySql());
    int param = 1;
    s.bind(param++, bound_);
    s.bindAll(whereSql_.params, param);
    param += static_cast<int>(whereSql_.params.size());
    for (const SqlCondition& flag : flags) {
        s.bindAll(flag.params, param);
        param += static_cast<int>(flag.params.size());
    }
    s.bindAll(condition.params, param);

    // Each row's id, whether the set lists it below its bound, and whether
    // it meets each of `within` (row i's at meets[i * within.size() + w]).
    std::vector<std::int64_t> rowids;
    std::vector<unsigned char> listed, meets;
    TableRows out;
    out.setRowsWithin.resize(within.size());
    const int firstField = 2 + static_cast<int>(flags.size());
    auto flag = [&](int index) { return sqlite3_value_int64(s.columnValue(index)) != 0; };
    while (s.step()) {
        rowids.push_back(sqlite3_value_int64(s.columnValue(0)));
        listed.push_back(flag(1));
        for (size_t i = 0; i < flags.size(); ++i) meets.push_back(flag(2 + static_cast<int>(i)));
        out.rows.push_back(readFields(s, firstField, columns));
    }
    s.reset();
    // As RowsMeeting lists them: the rows below the bound in the set's order,
    // then the rows added through the set, in the order they were added.
    std::unordered_map<std::int64_t, size_t> placeOf;
    if (!added_.empty()) {
        for (size_t i = 0; i < rowids.size(); ++i) placeOf.emplace(rowids[i], i);
    }
    const size_t n = within.size();
    for (size_t w = 0; w < n; ++w) {
        for (size_t i = 0; i < rowids.size(); ++i) {
            if (listed[i] && meets[i * n + w]) out.setRowsWithin[w].push_back(i);
        }
        for (std::int64_t rowid : added_) {
            const auto found = placeOf.find(rowid);
            if (found != placeOf.end() && meets[found->second * n + w]) out.setRowsWithin[w].push_back(found->second);
        }
    }
    return out;
}

// A value is stored as bound: storedValue gives each column the kind its
// type keeps (a text that is not a number stays text in a date column, a NaN
// is no value).
std::vector<Value> SqliteRecordset::lastAddedRow()
{
    requireOpen();
    if (lastAdded_.empty()) noCurrentRecord();
    std::vector<Value> row;
    row.reserve(lastAdded_.size());
    for (size_t i = 0; i < lastAdded_.size(); ++i) row.push_back(readValue(table_->def.fields[i], lastAdded_[i]));
    return row;
}

void SqliteRecordset::Close()
{
    abandonPending();
    open_ = false;
}

}  // namespace wb::sqlite
