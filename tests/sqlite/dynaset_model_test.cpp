// The SQLite dynaset against a reference model: a plain list per set, rebuilt
// from a table kept in memory at every question. Random sequences on a small
// table drive both with the same steps (sets made from the table, from a query
// with an order and a criterion, and from a filter; moves, finds, AddNew, Edit,
// Update, Delete, Refresh, transactions, field reads, closing a set or the
// whole database and opening it again) and compare every answer,
// every error number and, after every step, each set's rows meeting a
// criterion (RowsMeeting, which must leave the set as it was), then each open
// set's ends, NoMatch, current row, count, last row added and whole list.
//
//   WB_MODEL_SEQUENCES  number of sequences (default 2000)
//   WB_MODEL_STEPS      steps per sequence (default 25)
//   WB_MODEL_SEED       seed (default fixed); the seed used is printed
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>

#include <unistd.h>

#include "db_fixture.h"

namespace wb::test {
namespace {

unsigned long envNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

// ---- the table -------------------------------------------------------------

enum Field { kTail, kDate, kNum, kWeight, kFlag, kFieldCount };
const char* const kNames[kFieldCount] = {"Tail", "Date", "Num", "Weight", "Flag"};

std::vector<TableDef> modelTables()
{
    return {{"T",
             {{"Tail", FieldType::Text, 3},
              {"Date", FieldType::Date, 0},
              {"Num", FieldType::Long, 0},
              {"Weight", FieldType::Double, 0},
              {"Flag", FieldType::Boolean, 0}},
             {{"TKey", {"Tail", "Date", "Num"}}, {"TDate", {"Date"}}}}};
}

using Values = std::vector<Value>;

std::string show(const Value& v)
{
    if (v.isNull()) return "Null";
    if (v.isDate()) return "#" + formatIsoDate(v.toDate()) + "#";
    if (v.isText()) return "\"" + v.toText() + "\"";
    return v.displayText();
}

// An answer: a value or an error number.
struct Answer {
    int error = 0;
    std::string text;
    bool operator==(const Answer&) const = default;
};

Answer answerOf(const std::function<std::string()>& f)
{
    try {
        return {0, f()};
    } catch (const RuntimeError& e) {
        return {e.number(), ""};
    }
}

std::ostream& operator<<(std::ostream& out, const Answer& a)
{
    return a.error ? out << "error " << a.error : out << a.text;
}

// Text compares as the table's columns do: ASCII letters without case.
int compareText(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i])), y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Order of two stored values of one field: no value first.
int compareStored(const Value& a, const Value& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.isText()) return compareText(a.toText(), b.toText());
    if (a.isDate()) return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    if (a.isBoolean()) return a.toBool() == b.toBool() ? 0 : (a.toBool() ? -1 : 1);  // True is -1
    return a.toNumber() < b.toNumber() ? -1 : (b.toNumber() < a.toNumber() ? 1 : 0);
}

// The old pattern meaning on ASCII text: * ? # [abc] [!abc], without case.
bool likeMatches(const std::string& text, const std::string& pattern, size_t t = 0, size_t p = 0)
{
    if (p == pattern.size()) return t == text.size();
    const char c = pattern[p];
    if (c == '*') {
        for (size_t k = t; k <= text.size(); ++k)
            if (likeMatches(text, pattern, k, p + 1)) return true;
        return false;
    }
    if (t == text.size()) return false;
    const char x = static_cast<char>(std::tolower(static_cast<unsigned char>(text[t])));
    if (c == '?') return likeMatches(text, pattern, t + 1, p + 1);
    if (c == '#') return std::isdigit(static_cast<unsigned char>(x)) && likeMatches(text, pattern, t + 1, p + 1);
    if (c == '[') {
        const size_t close = pattern.find(']', p);
        std::string set = pattern.substr(p + 1, close - p - 1);
        const bool negate = !set.empty() && set[0] == '!';
        if (negate) set.erase(0, 1);
        bool in = false;
        for (char s : set) in = in || std::tolower(static_cast<unsigned char>(s)) == x;
        return in != negate && likeMatches(text, pattern, t + 1, close + 1);
    }
    return std::tolower(static_cast<unsigned char>(c)) == x && likeMatches(text, pattern, t + 1, p + 1);
}

// One comparison, as the engine gets it and as the model tests it.
struct ModelCondition {
    Condition engine;
    Field field;
    Value stored;  // the criterion's value in the field's terms
    std::string text;
};

bool meets(const Values& row, const ModelCondition& c)
{
    const Value& v = row[c.field];
    switch (c.engine.op) {
    case Compare::IsNull: return v.isNull();
    case Compare::IsNotNull: return !v.isNull();
    case Compare::Like: return !v.isNull() && likeMatches(v.toText(), c.engine.value.toText());
    default: break;
    }
    if (v.isNull()) return false;
    const int k = compareStored(v, c.stored);
    switch (c.engine.op) {
    case Compare::Equal: return k == 0;
    case Compare::NotEqual: return k != 0;
    case Compare::Less: return k < 0;
    case Compare::Greater: return k > 0;
    case Compare::LessOrEqual: return k <= 0;
    case Compare::GreaterOrEqual: return k >= 0;
    default: return false;
    }
}

using ModelCriteria = std::vector<ModelCondition>;

bool meetsAll(const Values& row, const ModelCriteria& all)
{
    return std::all_of(all.begin(), all.end(), [&](const ModelCondition& c) { return meets(row, c); });
}

Criteria engineCriteria(const ModelCriteria& all)
{
    Criteria c;
    for (const ModelCondition& m : all) c.And(m.engine.field, m.engine.op, m.engine.value);
    return c;
}

std::string describe(const ModelCriteria& all)
{
    std::string out;
    for (const ModelCondition& m : all) out += (out.empty() ? "" : " And ") + m.text;
    return out.empty() ? "(all)" : out;
}

struct Row {
    long seq;  // table order: rows are numbered as they are added
    Values values;
};

// ---- the model of one dynaset ---------------------------------------------

struct ModelTable {
    std::vector<Row> rows;
    long issued = 0;  // the highest row number given so far

    const Row* find(long seq) const
    {
        for (const Row& r : rows)
            if (r.seq == seq) return &r;
        return nullptr;
    }
    Row* find(long seq) { return const_cast<Row*>(std::as_const(*this).find(seq)); }
};

struct Place {
    enum Kind { BeforeFirst, AfterLast, Base, Added } kind = AfterLast;
    long seq = 0;
    Values key;        // Base: the order values when it became current
    size_t added = 0;  // Added: its place among the added rows

    static Place at(Kind k)
    {
        Place p;
        p.kind = k;
        return p;
    }
};

class ModelSet {
public:
    ModelSet(ModelTable& table, ModelCriteria where, std::vector<Field> order, long bound, std::vector<long> added)
        : table_(&table), where_(std::move(where)), order_(std::move(order)), bound_(bound), added_(std::move(added))
    {
        place_ = firstPlace();
    }

    // The set's rows as places, in the set's order.
    std::vector<Place> list() const
    {
        std::vector<const Row*> base;
        for (const Row& r : table_->rows)
            if (r.seq <= bound_ && meetsAll(r.values, where_)) base.push_back(&r);
        std::stable_sort(base.begin(), base.end(),
                         [&](const Row* a, const Row* b) { return before(keyOf(*a), a->seq, keyOf(*b), b->seq); });
        std::vector<Place> out;
        for (const Row* r : base) out.push_back(Place{Place::Base, r->seq, keyOf(*r), 0});
        for (size_t i = 0; i < added_.size(); ++i)
            if (table_->find(added_[i])) out.push_back(Place{Place::Added, added_[i], {}, i});
        return out;
    }

    bool open = true;
    Place place_;
    bool noMatch = false;
    enum class Pending { None, Adding, Editing } pending = Pending::None;
    Values buffer;
    std::vector<bool> dirty;
    long editSeq = 0;
    ModelCriteria filter;
    std::optional<Values> lastAdded;  // as the last Update of a new row stored it

    // Answers, as the engine should give them.
    void requireOpen() const
    {
        if (!open) throw RuntimeError(dberr::kObjectClosed, "closed");
    }
    bool isBOF() const
    {
        requireOpen();
        return place_.kind == Place::BeforeFirst || (place_.kind == Place::AfterLast && list().empty());
    }
    bool isEOF() const
    {
        requireOpen();
        return place_.kind == Place::AfterLast || (place_.kind == Place::BeforeFirst && list().empty());
    }
    const Row& currentRow() const
    {
        requireOpen();
        if (place_.kind == Place::BeforeFirst || place_.kind == Place::AfterLast)
            throw RuntimeError(dberr::kNoCurrentRecord, "no current");
        const Row* r = table_->find(place_.seq);
        if (!r) throw RuntimeError(dberr::kRecordDeleted, "deleted");
        return *r;
    }
    Value field(Field f) const
    {
        requireOpen();
        if (pending != Pending::None) return buffer[f];
        return currentRow().values[f];
    }
    long count() const
    {
        requireOpen();
        return static_cast<long>(list().size());
    }

    void moveToEnd(bool last)
    {
        requireOpen();
        pending = Pending::None;
        std::vector<Place> all = list();
        if (all.empty()) {
            place_ = Place{};
            throw RuntimeError(dberr::kNoCurrentRecord, "empty");
        }
        place_ = last ? all.back() : all.front();
    }
    void moveNext()
    {
        if (isEOF()) throw RuntimeError(dberr::kNoCurrentRecord, "at end");
        pending = Pending::None;
        std::optional<Place> p = next(place_, nullptr);
        place_ = p ? *p : Place::at(Place::AfterLast);
    }
    void movePrevious()
    {
        if (isBOF()) throw RuntimeError(dberr::kNoCurrentRecord, "at start");
        pending = Pending::None;
        std::optional<Place> p = previous(place_, nullptr);
        place_ = p ? *p : Place::at(Place::BeforeFirst);
    }
    void find(bool forward, Place::Kind from, const ModelCriteria& c, bool fromHere)
    {
        requireOpen();
        pending = Pending::None;
        const Place start = fromHere ? place_ : Place::at(from);
        std::optional<Place> p = forward ? next(start, &c) : previous(start, &c);
        noMatch = !p;
        if (p) place_ = *p;
    }
    void addNew()
    {
        requireOpen();
        buffer.assign(kFieldCount, Value::null());
        dirty.assign(kFieldCount, false);
        pending = Pending::Adding;
    }
    void edit()
    {
        requireOpen();
        pending = Pending::None;
        buffer = currentRow().values;
        dirty.assign(kFieldCount, false);
        editSeq = place_.seq;
        pending = Pending::Editing;
    }
    void setField(Field f, const Value& stored)
    {
        requireOpen();
        if (pending == Pending::None) throw RuntimeError(dberr::kUpdateWithoutEdit, "no edit");
        buffer[f] = stored;
        dirty[f] = true;
    }
    void update()
    {
        requireOpen();
        if (pending == Pending::None) throw RuntimeError(dberr::kUpdateWithoutEdit, "no edit");
        if (pending == Pending::Adding) {
            table_->rows.push_back(Row{++table_->issued, buffer});
            added_.push_back(table_->issued);
            lastAdded = buffer;
            pending = Pending::None;
            return;
        }
        pending = Pending::None;
        if (std::find(dirty.begin(), dirty.end(), true) == dirty.end()) return;
        Row* r = table_->find(editSeq);
        if (!r) throw RuntimeError(dberr::kRecordDeleted, "deleted");
        for (int f = 0; f < kFieldCount; ++f)
            if (dirty[f]) r->values[f] = buffer[f];
        if (place_.kind == Place::Base && place_.seq == editSeq) place_.key = keyOf(*r);
    }
    void cancelUpdate()
    {
        requireOpen();
        pending = Pending::None;
    }
    void deleteCurrent()
    {
        requireOpen();
        pending = Pending::None;
        const Row& r = currentRow();
        const long seq = r.seq;
        std::erase_if(table_->rows, [&](const Row& x) { return x.seq == seq; });
    }
    void refresh()
    {
        requireOpen();
        pending = Pending::None;
        bound_ = table_->issued;
        added_.clear();
        noMatch = false;
        place_ = firstPlace();
    }
    ModelSet narrowed() const
    {
        requireOpen();
        std::vector<long> kept;
        for (long seq : added_) {
            const Row* r = table_->find(seq);
            if (r && meetsAll(r->values, filter)) kept.push_back(seq);
        }
        ModelCriteria where = where_;
        where.insert(where.end(), filter.begin(), filter.end());
        return ModelSet(*table_, where, order_, bound_, kept);
    }

private:
    Values keyOf(const Row& r) const
    {
        Values key;
        for (Field f : order_) key.push_back(r.values[f]);
        return key;
    }
    static bool before(const Values& a, long aSeq, const Values& b, long bSeq)
    {
        for (size_t i = 0; i < a.size(); ++i) {
            const int k = compareStored(a[i], b[i]);
            if (k != 0) return k < 0;
        }
        return aSeq < bSeq;
    }
    // Whether list place p stands after the place `from` (which may be a row
    // that left the list).
    static bool after(const Place& p, const Place& from)
    {
        switch (from.kind) {
        case Place::BeforeFirst: return true;
        case Place::AfterLast: return false;
        case Place::Base: return p.kind == Place::Added || before(from.key, from.seq, p.key, p.seq);
        case Place::Added: return p.kind == Place::Added && p.added > from.added;
        }
        return false;
    }
    static bool beforePlace(const Place& p, const Place& from)
    {
        switch (from.kind) {
        case Place::BeforeFirst: return false;
        case Place::AfterLast: return true;
        case Place::Base: return p.kind == Place::Base && before(p.key, p.seq, from.key, from.seq);
        case Place::Added: return p.kind == Place::Base || p.added < from.added;
        }
        return false;
    }
    bool qualifies(const Place& p, const ModelCriteria* c) const
    {
        return !c || meetsAll(table_->find(p.seq)->values, *c);
    }
    std::optional<Place> next(const Place& from, const ModelCriteria* c) const
    {
        for (const Place& p : list())
            if (after(p, from) && qualifies(p, c)) return p;
        return std::nullopt;
    }
    std::optional<Place> previous(const Place& from, const ModelCriteria* c) const
    {
        std::vector<Place> all = list();
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            if (beforePlace(*it, from) && qualifies(*it, c)) return *it;
        return std::nullopt;
    }
    Place firstPlace() const
    {
        std::vector<Place> all = list();
        return all.empty() ? Place{} : all.front();
    }

    ModelTable* table_;
    ModelCriteria where_;
    std::vector<Field> order_;
    long bound_;
    std::vector<long> added_;
};

// ---- the random sequences --------------------------------------------------

// A value offered to a field: what the engine gets, and what it stores or the
// error it gives.
struct Offer {
    Value given;
    Value stored;
    int error = 0;
};

std::vector<Offer> offersFor(Field f)
{
    const Value null = Value::null();
    switch (f) {
    case kTail:
        return {{null, null}, {"A", "A"}, {"a", "a"}, {"b", "b"}, {"AB", "AB"}, {"C", "C"},
                {"ABCD", null, dberr::kFieldTooSmall}};
    case kDate:
        return {{null, null},
                {Date{2004, 3, 1}, Date{2004, 3, 1}},
                {Date{2004, 3, 2}, Date{2004, 3, 2}},
                {"3/3/2004", Date{2004, 3, 3}},
                {"03-02-2004", Date{2004, 3, 2}},
                {"", null},
                {"xyz", null, dberr::kTypeMismatch}};
    case kNum:
        return {{null, null}, {0, 0}, {1, 1}, {2, 2}, {"2", 2}, {2.5, 2}, {"q", null, dberr::kTypeMismatch}};
    case kWeight: return {{null, null}, {1.5, 1.5}, {-2, -2}, {10, 10}};
    case kFlag: return {{null, null}, {Value::boolean(true), Value::boolean(true)}, {Value::boolean(false), Value::boolean(false)}};
    default: return {};
    }
}

class Sequence {
public:
    Sequence(std::mt19937& random, const std::string& file, std::ostream& trace)
        : random_(random), file_(file), trace_(trace)
    {
        std::mt19937 copy = random;
        side_.seed(copy() ^ 0x9E3779B9u);
    }

    // Runs `steps` steps; false at the first difference (described in trace).
    bool run(int steps)
    {
        makeTable();
        db_ = engine_->OpenDatabase(file_);
        for (step_ = 1; step_ <= steps; ++step_) {
            oneStep();
            if (!same_ || !compareAll()) return false;
        }
        db_->Close();
        return true;
    }

private:
    static constexpr int kSlots = 3;

    unsigned pick(unsigned n) { return (*draw_)() % n; }
    bool chance(unsigned percent) { return pick(100) < percent; }

    // A table of a few rows made and closed by another connection, so that
    // this one starts without knowing the rows already given out.
    void makeTable()
    {
        std::filesystem::remove(file_);
        auto db = engine_->CreateDatabase(file_, modelTables());
        auto rs = db->CreateDynaset("T");
        const unsigned n = pick(7);
        for (unsigned i = 0; i < n; ++i) {
            rs->AddNew();
            Values values;
            for (int f = 0; f < kFieldCount; ++f) {
                std::vector<Offer> offers = offersFor(static_cast<Field>(f));
                std::erase_if(offers, [](const Offer& o) { return o.error != 0; });
                const Offer& o = offers[pick(static_cast<unsigned>(offers.size()))];
                rs->setField(kNames[f], o.given);
                values.push_back(o.stored);
            }
            rs->Update();
            model_.rows.push_back(Row{++model_.issued, values});
        }
        // The newest rows deleted: their numbers are not seen by the next connection.
        while (!model_.rows.empty() && chance(30)) {
            rs->MoveLast();
            rs->Delete();
            model_.rows.pop_back();
        }
        db->Close();
    }

    ModelCondition condition()
    {
        ModelCondition c;
        switch (pick(5)) {
        case 0: {
            c.field = kTail;
            static const Compare ops[] = {Compare::Equal, Compare::NotEqual, Compare::Less,   Compare::Greater,
                                          Compare::Like,  Compare::Like,     Compare::IsNull, Compare::IsNotNull};
            c.engine.op = ops[pick(std::size(ops))];
            if (c.engine.op == Compare::Like) {
                static const char* patterns[] = {"a*", "*B", "?", "[ab]*", "[!a]*", "A"};
                c.engine.value = patterns[pick(std::size(patterns))];
            } else {
                static const char* texts[] = {"A", "b", "AB", "c"};
                c.engine.value = texts[pick(std::size(texts))];
                c.stored = c.engine.value;
            }
            break;
        }
        case 1: {
            c.field = kDate;
            static const Compare ops[] = {Compare::Equal, Compare::Less, Compare::GreaterOrEqual, Compare::IsNull};
            c.engine.op = ops[pick(std::size(ops))];
            const int day = 1 + static_cast<int>(pick(3));
            c.stored = Date{2004, 3, day};
            c.engine.value = chance(50) ? c.stored : Value("3/" + std::to_string(day) + "/2004");
            break;
        }
        case 2: {
            c.field = kNum;
            static const Compare ops[] = {Compare::Equal, Compare::LessOrEqual, Compare::Greater, Compare::IsNull};
            c.engine.op = ops[pick(std::size(ops))];
            c.engine.value = c.stored = static_cast<int>(pick(3));
            break;
        }
        case 3: {
            c.field = kWeight;
            static const Compare ops[] = {Compare::Equal, Compare::Greater, Compare::IsNotNull};
            c.engine.op = ops[pick(std::size(ops))];
            c.engine.value = c.stored = chance(50) ? 1.5 : 10.0;
            break;
        }
        default: {
            c.field = kFlag;
            c.engine.op = chance(70) ? Compare::Equal : Compare::IsNull;
            c.engine.value = c.stored = Value::boolean(chance(50));
            break;
        }
        }
        c.engine.field = kNames[c.field];
        c.text = std::string(kNames[c.field]) + " op" + std::to_string(static_cast<int>(c.engine.op)) + " " +
                 show(c.engine.value);
        return c;
    }

    ModelCriteria criteria(unsigned most)
    {
        ModelCriteria all;
        const unsigned n = pick(most + 1);
        for (unsigned i = 0; i < n; ++i) all.push_back(condition());
        return all;
    }

    // Drawn from the side generator, so the steps of a sequence stay the
    // same whatever the comparisons after them draw.
    template <class Draw>
    auto sideDraw(Draw draw)
    {
        draw_ = &side_;
        auto drawn = draw();
        draw_ = &random_;
        return drawn;
    }

    // The fields asked of RowsMeeting: all, a few in another order, or an
    // unknown one among them.
    std::vector<std::string> someFields()
    {
        std::vector<std::string> names(std::begin(kNames), std::end(kNames));
        switch (pick(4)) {
        case 0: return names;
        case 1: return {kNames[kNum], kNames[kTail]};
        case 2: return {};
        default: return {kNames[kDate], "Nope"};
        }
    }

    // The model's fields by name, as the engine looks them up.
    static std::vector<Field> fieldsNamed(const std::vector<std::string>& fields)
    {
        std::vector<Field> asked;
        for (const std::string& name : fields) {
            const auto* found = std::find(std::begin(kNames), std::end(kNames), name);
            if (found == std::end(kNames)) throw RuntimeError(dberr::kItemNotFound, "no field");
            asked.push_back(static_cast<Field>(found - std::begin(kNames)));
        }
        return asked;
    }

    // The rows of set k meeting a criterion, as RowsMeeting gives them and as
    // the model lists them; the set is compared after, so a move shows.
    void compareRowsMeeting(int k)
    {
        const ModelCriteria c = sideDraw([&] { return criteria(2); });
        const std::vector<std::string> fields = sideDraw([&] { return someFields(); });
        auto text = [&](const std::vector<Value>& row) {
            std::string out = "(";
            for (const Value& v : row) out += show(v) + ",";
            return out + ")";
        };
        check("slot " + std::to_string(k) + " RowsMeeting " + describe(c), answerOf([&] {
                  std::string out;
                  for (const std::vector<Value>& row : sets_[k]->RowsMeeting(engineCriteria(c), fields))
                      out += text(row);
                  return out;
              }),
              answerOf([&] {
                  const ModelSet& m = *models_[k];
                  m.requireOpen();
                  const std::vector<Field> asked = fieldsNamed(fields);
                  std::string out;
                  for (const Place& p : m.list()) {
                      const Values& values = model_.find(p.seq)->values;
                      if (!meetsAll(values, c)) continue;
                      std::vector<Value> row;
                      for (Field f : asked) row.push_back(values[f]);
                      out += text(row);
                  }
                  return out;
              }));
    }

    // The table's rows meeting a criterion and, for each of two more, the
    // set's rows among them as RowsMeeting of both would list them; the
    // table's rows are compared in sorted order, as their order is the set's
    // for its own rows only.
    void compareTableRowsMeeting(int k)
    {
        const ModelCriteria c = sideDraw([&] { return criteria(2); });
        const std::vector<ModelCriteria> within = sideDraw([&] {
            return std::vector<ModelCriteria>{criteria(2), criteria(1)};
        });
        const std::vector<std::string> fields = sideDraw([&] { return someFields(); });
        auto text = [&](const std::vector<Value>& row) {
            std::string out = "(";
            for (const Value& v : row) out += show(v) + ",";
            return out + ")";
        };
        auto answer = [&](std::vector<std::string> table, const std::vector<std::string>& lists) {
            std::sort(table.begin(), table.end());
            std::string out = "table:";
            for (const std::string& row : table) out += row;
            for (const std::string& list : lists) out += " within:" + list;
            return out;
        };
        std::string name = "slot " + std::to_string(k) + " TableRowsMeeting " + describe(c);
        for (const ModelCriteria& w : within) name += " | " + describe(w);
        check(name, answerOf([&] {
                  std::vector<Criteria> engineWithin;
                  for (const ModelCriteria& w : within) engineWithin.push_back(engineCriteria(w));
                  const Recordset::TableRows got = sets_[k]->TableRowsMeeting(engineCriteria(c), fields, engineWithin);
                  std::vector<std::string> table, lists;
                  for (const std::vector<Value>& row : got.rows) table.push_back(text(row));
                  for (const std::vector<std::size_t>& places : got.setRowsWithin) {
                      std::string& list = lists.emplace_back();
                      for (std::size_t i : places) list += text(got.rows.at(i));
                  }
                  return answer(table, lists);
              }),
              answerOf([&] {
                  const ModelSet& m = *models_[k];
                  m.requireOpen();
                  const std::vector<Field> asked = fieldsNamed(fields);
                  auto rowText = [&](const Values& values) {
                      std::vector<Value> row;
                      for (Field f : asked) row.push_back(values[f]);
                      return text(row);
                  };
                  std::vector<std::string> table, lists;
                  for (const Row& r : model_.rows)
                      if (meetsAll(r.values, c)) table.push_back(rowText(r.values));
                  for (const ModelCriteria& w : within) {
                      std::string& list = lists.emplace_back();
                      for (const Place& p : m.list()) {
                          const Values& values = model_.find(p.seq)->values;
                          if (meetsAll(values, c) && meetsAll(values, w)) list += rowText(values);
                      }
                  }
                  return answer(table, lists);
              }));
    }

    // Makes a set in slot k, on the engine and in the model.
    void createSet(int k)
    {
        RecordSource source("T");
        std::vector<Field> order;
        ModelCriteria where;
        if (chance(70)) {
            static const std::vector<std::vector<Field>> orders = {
                {}, {kDate}, {kTail}, {kTail, kDate}, {kNum}, {kWeight, kTail}, {kFlag, kNum}};
            order = orders[pick(static_cast<unsigned>(orders.size()))];
            for (Field f : order) source.OrderBy(kNames[f]);
            where = criteria(chance(60) ? 0 : 2);
            source.Where(engineCriteria(where));
        }
        note("slot " + std::to_string(k) + " := CreateDynaset(" + describe(where) + ", order " +
             std::to_string(order.size()) + " fields)");
        sets_[k] = db_->CreateDynaset(source);
        models_[k].emplace(model_, where, order, model_.issued, std::vector<long>{});
    }

    void note(const std::string& what) { trace_ << "  step " << step_ << ": " << what << "\n"; }

    // Runs one operation on both and compares what they answer.
    void both(const std::string& what, const std::function<std::string()>& onEngine,
              const std::function<std::string()>& onModel)
    {
        note(what);
        const Answer e = answerOf(onEngine);
        const Answer m = answerOf(onModel);
        if (!(e == m)) {
            trace_ << "  DIFFERENCE at " << what << ": engine " << e << ", model " << m << "\n";
            same_ = false;
        }
    }

    void oneStep()
    {
        const int k = static_cast<int>(pick(kSlots));
        if (!sets_[k] || chance(4)) {
            createSet(k);
            return;
        }
        Recordset& rs = *sets_[k];
        ModelSet& m = *models_[k];
        const std::string s = "slot " + std::to_string(k) + " ";
        const unsigned r = pick(100);
        auto ok = [](auto f) {
            return [f] {
                f();
                return std::string();
            };
        };
        if (r < 8) {
            both(s + "MoveNext", ok([&] { rs.MoveNext(); }), ok([&] { m.moveNext(); }));
        } else if (r < 14) {
            both(s + "MovePrevious", ok([&] { rs.MovePrevious(); }), ok([&] { m.movePrevious(); }));
        } else if (r < 19) {
            both(s + "MoveFirst", ok([&] { rs.MoveFirst(); }), ok([&] { m.moveToEnd(false); }));
        } else if (r < 23) {
            both(s + "MoveLast", ok([&] { rs.MoveLast(); }), ok([&] { m.moveToEnd(true); }));
        } else if (r < 36) {
            const ModelCriteria c = criteria(2);
            const int how = static_cast<int>(pick(4));
            static const char* names[] = {"FindFirst", "FindLast", "FindNext", "FindPrevious"};
            const Criteria ec = engineCriteria(c);
            both(s + names[how] + " " + describe(c),
                 ok([&] {
                     if (how == 0) rs.FindFirst(ec);
                     if (how == 1) rs.FindLast(ec);
                     if (how == 2) rs.FindNext(ec);
                     if (how == 3) rs.FindPrevious(ec);
                 }),
                 ok([&] {
                     if (how == 0) m.find(true, Place::BeforeFirst, c, false);
                     if (how == 1) m.find(false, Place::AfterLast, c, false);
                     if (how == 2) m.find(true, Place::BeforeFirst, c, true);
                     if (how == 3) m.find(false, Place::AfterLast, c, true);
                 }));
        } else if (r < 46) {
            both(s + "AddNew", ok([&] { rs.AddNew(); }), ok([&] { m.addNew(); }));
        } else if (r < 52) {
            both(s + "Edit", ok([&] { rs.Edit(); }), ok([&] { m.edit(); }));
        } else if (r < 66) {
            const Field f = static_cast<Field>(pick(kFieldCount));
            std::vector<Offer> offers = offersFor(f);
            const Offer o = offers[pick(static_cast<unsigned>(offers.size()))];
            both(s + "setField " + kNames[f] + " " + show(o.given), ok([&] { rs.setField(kNames[f], o.given); }),
                 ok([&] {
                     m.requireOpen();
                     if (m.pending == ModelSet::Pending::None)
                         throw RuntimeError(dberr::kUpdateWithoutEdit, "no edit");
                     if (o.error) throw RuntimeError(o.error, "refused");
                     m.setField(f, o.stored);
                 }));
        } else if (r < 76) {
            both(s + "Update", ok([&] { rs.Update(); }), ok([&] { m.update(); }));
        } else if (r < 78) {
            both(s + "CancelUpdate", ok([&] { rs.CancelUpdate(); }), ok([&] { m.cancelUpdate(); }));
        } else if (r < 85) {
            both(s + "Delete", ok([&] { rs.Delete(); }), ok([&] { m.deleteCurrent(); }));
        } else if (r < 88) {
            both(s + "Refresh", ok([&] { rs.Refresh(); }), ok([&] { m.refresh(); }));
        } else if (r < 92) {
            // A narrower set from this one's filter, into another slot.
            const int to = (k + 1 + static_cast<int>(pick(kSlots - 1))) % kSlots;
            const ModelCriteria c = criteria(2);
            std::shared_ptr<Recordset> made;
            std::optional<ModelSet> madeModel;
            both(s + "filter " + describe(c) + ", CreateDynaset into slot " + std::to_string(to),
                 ok([&] {
                     rs.setFilter(engineCriteria(c));
                     made = rs.CreateDynaset();
                 }),
                 ok([&] {
                     m.requireOpen();
                     m.filter = c;
                     madeModel.emplace(m.narrowed());
                 }));
            if (made && madeModel) {
                sets_[to] = made;
                models_[to] = madeModel;
            }
        } else if (r < 93) {
            const ModelCriteria c = criteria(1);
            both("DeleteRows " + describe(c), [&] { return std::to_string(db_->DeleteRows("T", engineCriteria(c))); },
                 [&] {
                     return std::to_string(std::erase_if(
                         model_.rows, [&](const Row& row) { return meetsAll(row.values, c); }));
                 });
        } else if (r < 96) {
            both("BeginTrans", ok([&] { db_->BeginTrans(); }), ok([&] { saved_.push_back(model_.rows); }));
        } else if (r < 98) {
            both("CommitTrans", ok([&] { db_->CommitTrans(); }), ok([&] {
                     if (saved_.empty()) throw RuntimeError(dberr::kNoTransaction, "none");
                     saved_.pop_back();
                 }));
        } else if (r < 99) {
            both("Rollback", ok([&] { db_->Rollback(); }), ok([&] {
                     if (saved_.empty()) throw RuntimeError(dberr::kNoTransaction, "none");
                     model_.rows = saved_.back();
                     saved_.pop_back();
                 }));
        } else if (chance(50)) {
            both(s + "Close", ok([&] { rs.Close(); }), ok([&] { m.open = false; }));
        } else {
            // The program run ends and a new one opens the file: an open
            // transaction is undone, every set closed, and the new connection
            // knows nothing of the row ids given out before.
            both("close the database and open it again", ok([&] {
                     db_->Close();
                     db_ = engine_->OpenDatabase(file_);
                 }),
                 ok([&] {
                     if (!saved_.empty()) model_.rows = saved_.front();
                     saved_.clear();
                     for (auto& m : models_)
                         if (m) m->open = false;
                 }));
        }
    }

    // Every open set's ends, NoMatch, current row and count, and its whole list
    // walked on a copy made through an empty filter.
    bool compareAll()
    {
        for (int k = 0; k < kSlots; ++k) {
            if (!sets_[k]) continue;
            compareRowsMeeting(k);
            compareTableRowsMeeting(k);
            Recordset& rs = *sets_[k];
            const ModelSet& m = *models_[k];
            const std::string s = "slot " + std::to_string(k) + " ";
            auto yes = [](bool b) { return std::string(b ? "true" : "false"); };
            check(s + "BOF", answerOf([&] { return yes(rs.IsBOF()); }), answerOf([&] { return yes(m.isBOF()); }));
            check(s + "EOF", answerOf([&] { return yes(rs.IsEOF()); }), answerOf([&] { return yes(m.isEOF()); }));
            check(s + "NoMatch", answerOf([&] { return yes(rs.NoMatch()); }),
                  answerOf([&] { m.requireOpen(); return yes(m.noMatch); }));
            for (int f = 0; f < kFieldCount; ++f) {
                check(s + "field " + kNames[f], answerOf([&] { return show(rs.field(kNames[f])); }),
                      answerOf([&] { return show(m.field(static_cast<Field>(f))); }));
            }
            check(s + "RecordCount", answerOf([&] { return std::to_string(rs.RecordCount()); }),
                  answerOf([&] { return std::to_string(m.count()); }));
            check(s + "lastAddedRow", answerOf([&] { return rowText(rs.lastAddedRow()); }), answerOf([&] {
                      m.requireOpen();
                      if (!m.lastAdded) throw RuntimeError(dberr::kNoCurrentRecord, "none added");
                      return rowText(*m.lastAdded);
                  }));
            if (!m.open) continue;
            check(s + "rows", answerOf([&] { return engineList(rs); }), answerOf([&] { return modelList(m); }));
            if (!same_) return false;
        }
        check("table", answerOf([&] {
                  auto all = db_->CreateDynaset("T");
                  std::string out = engineList(*all, false);
                  all->Close();
                  return out;
              }),
              answerOf([&] {
                  std::string out;
                  for (const Row& r : model_.rows) out += rowText(r.values);
                  return out;
              }));
        return same_;
    }

    static std::string rowText(const Values& v)
    {
        std::string out = "(";
        for (const Value& x : v) out += show(x) + ",";
        return out + ")";
    }

    // The rows of a set, read through a copy with no filter, so that the set
    // itself does not move.
    static std::string engineList(Recordset& rs, bool copy = true)
    {
        std::shared_ptr<Recordset> walk;
        Recordset* r = &rs;
        if (copy) {
            Criteria keep = rs.filter();
            rs.setFilter(Criteria());
            walk = rs.CreateDynaset();
            rs.setFilter(keep);
            r = walk.get();
        }
        std::string out;
        if (!r->IsEOF() && r->IsBOF()) r->MoveNext();
        while (!r->IsEOF()) {
            Values v;
            for (int f = 0; f < kFieldCount; ++f) v.push_back(r->field(kNames[f]));
            out += rowText(v);
            r->MoveNext();
        }
        if (walk) walk->Close();
        return out;
    }

    std::string modelList(const ModelSet& m) const
    {
        std::string out;
        for (const Place& p : m.list()) out += rowText(model_.find(p.seq)->values);
        return out;
    }

    void check(const std::string& what, const Answer& e, const Answer& m)
    {
        if (e == m) return;
        trace_ << "  DIFFERENCE in " << what << ": engine " << e << ", model " << m << "\n";
        same_ = false;
    }

    std::mt19937& random_;
    std::mt19937 side_;
    std::mt19937* draw_ = &random_;
    std::string file_;
    std::ostream& trace_;
    std::unique_ptr<DatabaseEngine> engine_ = makeSqliteEngine();
    std::shared_ptr<Database> db_;
    ModelTable model_;
    std::vector<std::vector<Row>> saved_;  // the table at each open BeginTrans
    std::shared_ptr<Recordset> sets_[kSlots];
    std::optional<ModelSet> models_[kSlots];
    int step_ = 0;
    bool same_ = true;
};

TEST(DynasetModel, TheEngineAnswersAsTheListModel)
{
    const unsigned long seed = envNumber("WB_MODEL_SEED", 20040309);
    const unsigned long sequences = envNumber("WB_MODEL_SEQUENCES", 2000);
    const int steps = static_cast<int>(envNumber("WB_MODEL_STEPS", 25));
    std::cout << "WB_MODEL_SEED=" << seed << " WB_MODEL_SEQUENCES=" << sequences << " WB_MODEL_STEPS=" << steps
              << std::endl;
    // On a memory file system where there is one: each write is synced.
    TempFolder folder;
    const std::string file =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm/wb-model-" + std::to_string(::getpid()) + ".db"
                                                  : folder.file("model.db");
    for (unsigned long n = 0; n < sequences; ++n) {
        std::mt19937 random(static_cast<std::mt19937::result_type>(seed + n));
        std::ostringstream trace;
        Sequence sequence(random, file, trace);
        if (!sequence.run(steps)) {
            ADD_FAILURE() << "sequence " << n << " (WB_MODEL_SEED=" << seed + n
                          << " WB_MODEL_SEQUENCES=1) differs:\n"
                          << trace.str();
            break;
        }
    }
    std::filesystem::remove(file);
    std::cout << sequences << " sequences of " << steps << " steps: " << sequences * static_cast<unsigned long>(steps)
              << " steps compared" << std::endl;
}

}  // namespace
}  // namespace wb::test
