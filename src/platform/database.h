#pragma once
// The database engine as the program uses it: databases, dynasets with their
// moves, finds, filters and edits, and field values by name as Value.
//
// A dynaset lists its rows in its order (the ORDER BY fields, ties in the
// table's own order) and keeps the rows added through it at its end. It does
// not copy the table: moves and finds are answered by indexed queries.
//
// Criteria are structured values (field, operator, value) joined by And; they
// reach the engine as bound parameters, never as SQL text.
//
// Failures are RuntimeError with the old engine's numbers (failure.h and the
// constants below).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/value.h"

namespace wb {

// Error numbers of the engine beyond those in failure.h.
namespace dberr {
constexpr int kUpdateWithoutEdit = 3020;    // Update or setField without AddNew or Edit
constexpr int kNoCurrentRecord = 3021;      // BOF or EOF, or an empty set
constexpr int kFileNotFound = 3024;
constexpr int kReadOnly = 3027;
constexpr int kCannotOpen = 3049;           // cannot open, or the file is damaged
constexpr int kUnknownField = 3070;         // a criterion or order names no field of the table
constexpr int kTableNotFound = 3078;
constexpr int kFieldTooSmall = 3163;        // text longer than the column holds
constexpr int kRecordDeleted = 3167;
constexpr int kDatabaseExists = 3204;       // CreateDatabase on an existing file
constexpr int kLocked = 3218;               // another program holds the file locked
constexpr int kItemNotFound = 3265;         // field() / setField() of an unknown name
constexpr int kNotOurs = 3343;              // not a database of this program
constexpr int kObjectClosed = 3420;         // use of a closed database or record set
constexpr int kInvalidPath = 3044;          // the folder does not exist
constexpr int kTypeMismatch = 3464;         // a value the column (or a criterion) cannot take
constexpr int kDiskError = 3043;
constexpr int kFileInUse = 3045;            // OpenDatabase on a file another program locks
constexpr int kNoTransaction = 3034;        // CommitTrans or Rollback without BeginTrans
}  // namespace dberr

// ---- criteria -------------------------------------------------------------

enum class Compare {
    Equal,           // =
    NotEqual,        // <>
    Less,            // <
    Greater,         // >
    LessOrEqual,     // <=
    GreaterOrEqual,  // >=
    Like,            // the old pattern meaning: * ? # [abc] [a-z] [!abc], case-insensitive
    IsNull,          // value ignored
    IsNotNull,       // value ignored
};

// One comparison of a field with a value. A value is converted to the field's
// type: a text for a date field may be in either of the program's forms
// ("03-09-2004", "3/9/2004"). A value that the field's type cannot take (a text
// that is not a date, not a number) and a Null value match no row (except with
// IsNull/IsNotNull, which ignore the value). Text comparisons ignore case, as
// the old engine's did. A field name that the table lacks fails with
// dberr::kUnknownField.
struct Condition {
    std::string field;
    Compare op = Compare::Equal;
    Value value;
};

// Conditions joined by And. No condition selects every row.
class Criteria {
public:
    Criteria() = default;
    Criteria(std::string field, Compare op, Value value = Value())
    {
        And(std::move(field), op, std::move(value));
    }

    Criteria& And(std::string field, Compare op, Value value = Value())
    {
        terms_.push_back(Condition{std::move(field), op, std::move(value)});
        return *this;
    }
    Criteria& And(const Criteria& other)
    {
        terms_.insert(terms_.end(), other.terms_.begin(), other.terms_.end());
        return *this;
    }

    bool empty() const { return terms_.empty(); }
    const std::vector<Condition>& terms() const { return terms_; }

private:
    std::vector<Condition> terms_;
};

// What a dynaset is made from: a table, or a query on one table with a
// criterion and an order ("Select * FROM Aircraft Order By Date" is
// RecordSource("Aircraft").OrderBy("Date")). A plain table name converts.
struct RecordSource {
    std::string table;
    Criteria where;
    std::vector<std::string> orderBy;  // ascending, ties in table order

    RecordSource() = default;
    RecordSource(std::string tableName) : table(std::move(tableName)) {}
    RecordSource(const char* tableName) : table(tableName) {}

    RecordSource& Where(const Criteria& c) { where.And(c); return *this; }
    RecordSource& OrderBy(std::string field) { orderBy.push_back(std::move(field)); return *this; }
};

// ---- layouts --------------------------------------------------------------

enum class FieldType {
    Text,      // up to `size` characters (UTF-8)
    Memo,      // long text, no limit
    Double,    // number
    Long,      // whole number (a fraction is rounded half to even)
    Boolean,   // yes/no, stored -1 / 0, read as Boolean
    Date,      // calendar date, stored as an ISO date
};

// Names of tables and fields compare without regard to (ASCII) case.
inline bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;  // Text: the most characters it holds
};

struct IndexDef {
    std::string name;
    std::vector<std::string> fields;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

// ---- record sets ----------------------------------------------------------

// A dynaset. Semantics, as the old engine's:
// - Made positioned on its first row; an empty set is at BOF and EOF at once.
//   Rows added through an empty set are listed like any others: the set then
//   stands at EOF (not BOF), and moves and finds reach them.
// - MoveNext from the last row sets EOF, MovePrevious from the first sets BOF;
//   MoveNext at EOF, MovePrevious at BOF, MoveFirst/MoveLast on an empty set
//   fail with kNoCurrentRecord.
// - Reading a field at BOF/EOF fails with kNoCurrentRecord; reading a row
//   deleted since it became current fails with kRecordDeleted.
// - FindFirst/FindLast search the whole set, FindNext/FindPrevious from the
//   current row; a match becomes current and NoMatch() is false; no match sets
//   NoMatch() and leaves the current row where it was.
// - AddNew starts a new row (all fields without value) and Edit an edit of the
//   current row; setField writes into that row and field() reads it back; Update
//   stores it. After Update of a new row the current row is the one current
//   before AddNew, and the new row is listed at the end of this set. A move, a
//   find, another AddNew or Edit abandons a pending new row or edit.
// - Delete removes the current row from the table; it stays current (reads fail
//   with kRecordDeleted) until the next move.
// - Any use after Close fails with kObjectClosed.
class Recordset {
public:
    virtual ~Recordset() = default;

    // Named so because EOF is a macro of the C library.
    virtual bool IsBOF() = 0;
    virtual bool IsEOF() = 0;
    virtual bool NoMatch() const = 0;

    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;
    virtual void MovePrevious() = 0;

    virtual void FindFirst(const Criteria& c) = 0;
    virtual void FindLast(const Criteria& c) = 0;
    virtual void FindNext(const Criteria& c) = 0;
    virtual void FindPrevious(const Criteria& c) = 0;

    // The current row's value (or the pending new row's / edit's): Null for a
    // field without value; numbers as numbers, Boolean fields as booleans,
    // dates as dates, text as UTF-8 text. Field names ignore case.
    virtual Value field(const std::string& name) = 0;
    // Into the pending new row or edit (kUpdateWithoutEdit otherwise), converted
    // to the column's type: Null, Empty, and an empty text offered to a number,
    // Boolean or date column give no value; a text that is not a number (or a
    // date) fails with kTypeMismatch; a text longer than the column holds fails
    // with kFieldTooSmall. A failed write leaves the field as it was.
    virtual void setField(const std::string& name, const Value& v) = 0;
    virtual std::vector<std::string> fieldNames() const = 0;

    virtual void AddNew() = 0;
    virtual void Edit() = 0;
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Delete() = 0;

    // Reads the set anew from its definition (rows added or deleted by anyone
    // show or go), positioned on its first row.
    virtual void Refresh() = 0;

    // The criterion that CreateDynaset() applies.
    virtual void setFilter(const Criteria& c) = 0;
    virtual const Criteria& filter() const = 0;
    // A new dynaset of the rows of this set that satisfy the filter, in this
    // set's order, positioned on its first row.
    virtual std::shared_ptr<Recordset> CreateDynaset() = 0;

    // The number of rows in the set now (a query; not needed for moving).
    virtual long RecordCount() = 0;

    // The rows of the set that meet `c`, in the set's order (rows added
    // through it last; rows deleted since are not among them), each as the
    // values of `fields`, read as field() reads them. One query: the current
    // row, NoMatch and a pending new row or edit stay as they are. Fails with
    // kUnknownField for a criterion's field, kItemNotFound for one of
    // `fields`, kObjectClosed.
    virtual std::vector<std::vector<Value>> RowsMeeting(const Criteria& c, const std::vector<std::string>& fields) = 0;

    // The rows of the table that meet `c`, whether this set lists them or
    // not (rows deleted since are not among them), each as the values of
    // `fields`; and for each of `within`, the places among them of the rows
    // that RowsMeeting(c and that criterion) gives, in its order. One query,
    // one reading of each row; the set stays as RowsMeeting leaves it. Fails
    // as RowsMeeting does.
    struct TableRows {
        std::vector<std::vector<Value>> rows;
        std::vector<std::vector<std::size_t>> setRowsWithin;
    };
    virtual TableRows TableRowsMeeting(const Criteria& c, const std::vector<std::string>& fields,
                                       const std::vector<Criteria>& within) = 0;

    // The values that the last Update of a new row through this set stored,
    // in fieldNames() order, as field() reads them: what was written, read
    // without asking the file. Fails with kNoCurrentRecord before any such
    // Update, kObjectClosed.
    virtual std::vector<Value> lastAddedRow() = 0;

    virtual void Close() = 0;
    virtual bool isOpen() const = 0;
};

// ---- databases ------------------------------------------------------------

// The file's stored state as one connection knows it: two readings are equal
// only when both are of one open database and, in between, no other
// connection (of any program) committed to the file and nothing was written
// through this one.
struct FileState {
    std::uint64_t connection = 0;
    std::int64_t othersCommits = 0;
    std::uint64_t ownWrites = 0;
    bool operator==(const FileState&) const = default;
};

class Database {
public:
    virtual ~Database() = default;

    // Fails with kTableNotFound, kUnknownField (criterion or order), kObjectClosed.
    virtual std::shared_ptr<Recordset> CreateDynaset(const RecordSource& source) = 0;

    // A delete query: removes every row of the table that satisfies the
    // criterion; returns how many.
    virtual long DeleteRows(const std::string& table, const Criteria& where) = 0;

    // Transactions nest; the outermost CommitTrans makes the work durable, a
    // Rollback undoes everything since its BeginTrans. The outermost one takes
    // the write lock at once.
    virtual void BeginTrans() = 0;
    // A transaction that only reads: every query in it sees one stored state.
    // The outermost one takes the read lock at once, waiting for another
    // program's commit as long as the engine waits (else kLocked), and lets
    // other programs read meanwhile; nothing may be written in it. Ended by
    // CommitTrans or Rollback; inside another transaction it is part of that
    // one, and ending it ends and undoes nothing.
    virtual void BeginRead() { BeginTrans(); }
    virtual void CommitTrans() = 0;
    virtual void Rollback() = 0;

    // The file's state, read inside a transaction (nothing outside one, nor
    // in one the engine has ended).
    virtual std::optional<FileState> CurrentFileState() { return std::nullopt; }

    virtual std::vector<TableDef> TableDefs() = 0;
    virtual bool readOnly() const = 0;
    virtual const std::string& path() const = 0;

    // Puts back into this program's order a case-free index that another
    // writer left out of it; a file already in order, or opened read-only, is
    // not written.
    virtual void RepairTextIndexes() {}

    // Closes the file; its record sets become closed as well.
    virtual void Close() = 0;
    virtual bool isOpen() const = 0;
};

// Commits on commit(); rolls back when it goes out of scope without.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.BeginTrans(); }
    ~Transaction()
    {
        if (!done_) {
            try { db_.Rollback(); } catch (...) {}
        }
    }
    void commit() { db_.CommitTrans(); done_ = true; }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

enum class OpenMode { ReadWrite, ReadOnly };

class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;

    // Opens a database of this program. Fails with kFileNotFound (no such file),
    // kInvalidPath (no such folder), kNotOurs (a file that is not a database of
    // this program: it is left untouched), kCannotOpen, kFileInUse, and, for
    // ReadWrite, kReadOnly when the file or its folder cannot be written.
    virtual std::shared_ptr<Database> OpenDatabase(const std::string& path, OpenMode mode) = 0;
    std::shared_ptr<Database> OpenDatabase(const std::string& path)
    {
        return OpenDatabase(path, OpenMode::ReadWrite);
    }

    // Creates a new file of this program with these tables (and their indexes),
    // all or nothing, and opens it. Fails with kDatabaseExists when the file
    // exists, kInvalidPath, kReadOnly or kCannotOpen.
    virtual std::shared_ptr<Database> CreateDatabase(const std::string& path,
                                                     const std::vector<TableDef>& tables) = 0;
};

}  // namespace wb
