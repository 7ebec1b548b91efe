#pragma once
// A stored weighing named by its key, its tail number and date, and what is
// stored under a key now, read so that two readings compare equal exactly
// when nothing of the weighing changed in between.
#include <optional>
#include <string>
#include <vector>

#include "platform/database.h"
#include "platform/value.h"

namespace wb {

struct WeighingKey {
    Value tail, date;  // as stored, or as typed (the date then as text)

    Criteria criteria() const;
    // Whether both name one weighing as the engine compares keys: the tail
    // number ignoring case, the date as a date.
    bool sameAs(const WeighingKey& other) const;
    // "N400CC of 12-10-2026", as the questions about it name it.
    std::string name() const;
};

// Every Aircraft row and every Equipment row stored under the key, with all
// their values, in one text that does not depend on the order of the rows;
// empty when no Aircraft row has the key (a weighing that is not stored).
std::string storedRowsOf(Database& db, const WeighingKey& key);
// The same text for these rows, each its fields' values in table order (a
// key's rows as they were just written).
using StoredRows = std::vector<std::vector<Value>>;
std::string storedRowsText(const StoredRows& aircraft, const StoredRows& equipment);

// A stored weighing as it was when the worksheet showed or saved it: its
// rows, and the file's state then (while the file is in that state still,
// they are what is stored).
class StoredWeighing {
public:
    StoredWeighing(WeighingKey key, StoredRows aircraft, StoredRows equipment, std::optional<FileState> state)
        : key(std::move(key)), state(state), aircraft_(std::move(aircraft)), equipment_(std::move(equipment)) {}
    // What is stored under the key now, read in the transaction open.
    static StoredWeighing read(Database& db, const WeighingKey& key);
    // The same, given the key's Equipment rows read already in that
    // transaction (all of them, each its fields' values in table order),
    // reading the Aircraft rows through a set of that table.
    static StoredWeighing readWith(Database& db, Recordset& aircraftSet, const WeighingKey& key,
                                   StoredRows equipment);

    WeighingKey key;
    std::optional<FileState> state;
    // The rows as storedRowsOf gives them, made when first asked for.
    const std::string& rows() const;

private:
    StoredRows aircraft_, equipment_;
    mutable std::optional<std::string> rows_;
};

}  // namespace wb
