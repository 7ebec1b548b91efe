#include "records/stored_weighing.h"

#include <algorithm>
#include <charconv>
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

// A value with its kind, its length where it has one, and its exact content,
// appended: no two different values read alike, a NUL or a separator inside
// included.
void appendExactly(std::string& out, const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty: out += 'E'; return;
    case Value::Kind::Null: out += 'N'; return;
    case Value::Kind::Boolean: out += v.toBool() ? "B1" : "B0"; return;
    case Value::Kind::Date: out += 'D'; out += formatIsoDate(v.toDate()); return;
    case Value::Kind::Number: {
        // The shortest digits that read back as this very number.
        char text[40];
        const auto end = std::to_chars(text, text + sizeof text, v.toNumber()).ptr;
        out += 'F';
        out.append(text, end);
        return;
    }
    case Value::Kind::Text: {
        const std::string text = v.toText();
        out += 'T';
        out += std::to_string(text.size());
        out += ':';
        out += text;
        return;
    }
    }
}

// Each row of the table as one text, in sorted order.
std::vector<std::string> rowTexts(const char* table, const StoredRows& stored) {
    std::vector<std::string> rows;
    for (const std::vector<Value>& values : stored) {
        std::string row = table;
        for (const Value& v : values) {
            row += '|';
            appendExactly(row, v);
        }
        rows.push_back(std::move(row));
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

std::string storedRowsText(const StoredRows& aircraft, const StoredRows& equipment) {
    if (aircraft.empty()) return "";
    std::string out;
    for (const std::string& row : rowTexts("Aircraft", aircraft)) out += row + "\n";
    for (const std::string& row : rowTexts("Equipment", equipment)) out += row + "\n";
    return out;
}

}  // namespace wb
