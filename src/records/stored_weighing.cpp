#include "records/stored_weighing.h"

#include <algorithm>
#include <vector>

#include "platform/dates.h"
#include "platform/utf8.h"

namespace wb {

namespace {

std::optional<Date> dateOf(const Value& v) {
    try {
        return v.toDate();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

template <class T>
void appendBytes(std::string& out, const T& x) {
    out.append(reinterpret_cast<const char*>(&x), sizeof x);
}

// A value with its kind, then its exact content: a number's very bits, a
// date's fields, a text's length and bytes. Each kind's form has a length of
// its own, so no two different values or rows read alike, a NUL or a
// separator inside a text included. The text is only compared, never shown.
void appendExactly(std::string& out, const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty: out += 'E'; return;
    case Value::Kind::Null: out += 'N'; return;
    case Value::Kind::Boolean: out += v.toBool() ? "B1" : "B0"; return;
    case Value::Kind::Date: {
        const Date d = v.toDate();
        out += 'D';
        appendBytes(out, d.year);
        appendBytes(out, d.month);
        appendBytes(out, d.day);
        return;
    }
    case Value::Kind::Number:
        out += 'F';
        appendBytes(out, v.toNumber());
        return;
    case Value::Kind::Text: {
        const std::string text = v.toText();
        out += 'T';
        appendBytes(out, text.size());
        out += text;
        return;
    }
    }
}

// Each row of the table as one text, in sorted order.
std::vector<std::string> rowTexts(const char* table, const StoredRows& stored) {
    std::vector<std::string> rows;
    rows.reserve(stored.size());
    for (const std::vector<Value>& values : stored) {
        std::string& row = rows.emplace_back(table);
        row.reserve(256);
        for (const Value& v : values) appendExactly(row, v);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

StoredRows rowsOf(Database& db, const char* table, const WeighingKey& key) {
    const auto set = db.CreateDynaset(table);
    return set->RowsMeeting(key.criteria(), set->fieldNames());
}

}  // namespace

Criteria WeighingKey::criteria() const {
    return Criteria("Tail", Compare::Equal, tail).And("Date", Compare::Equal, date);
}

bool WeighingKey::sameAs(const WeighingKey& other) const {
    if (tail.isNull() || other.tail.isNull()) return false;
    const std::optional<Date> a = dateOf(date), b = dateOf(other.date);
    return a && b && *a == *b && utf8::compareFolded(tail.toText(), other.tail.toText()) == 0;
}

std::string WeighingKey::name() const {
    const std::optional<Date> d = dateOf(date);
    return tail.displayText() + " of " + (d ? formatMmDdYyyy(*d) : date.displayText());
}

std::string storedRowsOf(Database& db, const WeighingKey& key) {
    const StoredRows aircraft = rowsOf(db, "Aircraft", key);
    if (aircraft.empty()) return "";
    return storedRowsText(aircraft, rowsOf(db, "Equipment", key));
}

StoredWeighing StoredWeighing::read(Database& db, const WeighingKey& key) {
    StoredRows aircraft = rowsOf(db, "Aircraft", key);
    StoredRows equipment = aircraft.empty() ? StoredRows{} : rowsOf(db, "Equipment", key);
    return StoredWeighing(key, std::move(aircraft), std::move(equipment), db.CurrentFileState());
}

StoredWeighing StoredWeighing::readWith(Database& db, Recordset& aircraftSet, const WeighingKey& key,
                                        StoredRows equipment) {
    StoredRows aircraft = aircraftSet.TableRowsMeeting(key.criteria(), aircraftSet.fieldNames(), {}).rows;
    if (aircraft.empty()) equipment.clear();
    return StoredWeighing(key, std::move(aircraft), std::move(equipment), db.CurrentFileState());
}

const std::string& StoredWeighing::rows() const {
    if (!rows_) rows_ = storedRowsText(aircraft_, equipment_);
    return *rows_;
}

std::string storedRowsText(const StoredRows& aircraft, const StoredRows& equipment) {
    if (aircraft.empty()) return "";
    std::string out;
    auto add = [&](const char* table, const StoredRows& rows) {
        for (const std::string& row : rowTexts(table, rows)) {
            out += row;
            out += '\n';
        }
    };
    add("Aircraft", aircraft);
    add("Equipment", equipment);
    return out;
}

}  // namespace wb
