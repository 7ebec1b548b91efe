#pragma once
// A main window on a record database whose rows the test writes through the
// engine, any field left without value, and the show routines run on them as
// Next and Previous run them (worksheet cleared, SavedState 1 first).
#include <initializer_list>
#include <string>
#include <utility>

#include "logic/save_fixture.h"
#include "records/show_record.h"

namespace wb::testing {

using Fields = std::initializer_list<std::pair<const char*, Value>>;

struct ShowFixture : SaveFixture {
    // A row of `table` with these fields; every other field without value.
    void add(const char* table, Fields fields) {
        auto rs = db->CreateDynaset(table);
        rs->AddNew();
        for (const auto& [name, value] : fields) rs->setField(name, value);
        rs->Update();
    }
    void addWeighing(const std::string& tail, const std::string& date, Fields more = {}) {
        auto rs = db->CreateDynaset("Aircraft");
        rs->AddNew();
        rs->setField("Tail", tail);
        rs->setField("Date", date);
        for (const auto& [name, value] : more) rs->setField(name, value);
        rs->Update();
    }
    // An equipment row: a change row when install or remove is true.
    void addRow(const std::string& tail, const std::string& date, int rowNum, const Value& desc,
                bool install = false, bool remove = false, const Value& weight = 2.5, const Value& arm = 40,
                const Value& serial = "SN") {
        add("Equipment", {{"Tail", tail}, {"Date", date}, {"RowNum", rowNum}, {"Description", desc},
                          {"Serial", serial}, {"Weight", weight}, {"Arm", arm},
                          {"Install", Value::boolean(install)}, {"Remove", Value::boolean(remove)}});
    }

    // The record sets made again (a set lists only the rows there were when
    // it was made; rsEquipment only unless the test made its own), the set
    // of the variant put on the first row of `tail`, then the routine run as
    // a move runs it.
    void show(const ShowVariant& variant, const std::string& tail, bool newEquipmentSet = true) {
        Form1& form = f();
        if (newEquipmentSet) form.rsEquipment = db->CreateDynaset("Equipment");
        auto set = db->CreateDynaset(RecordSource("Aircraft").OrderBy("Date"));
        set->FindFirst(Criteria("Tail", Compare::Equal, tail));
        ASSERT_FALSE(set->NoMatch()) << tail;
        form.*variant.set = set;
        form.ws.SearchActive = variant.set == kShowFoundRecord.set ? 1 : 0;
        form.ws.NewRecordMode = 0;
        form.ClearWorksheet();
        form.ws.SavedState = 1;
        ShowStoredRecord(form, variant);
    }
    std::vector<std::string> gridRows(const Grid& g, int count) {
        std::vector<std::string> out;
        for (int r = 0; r < count; ++r) out.push_back(g.rowText(r));
        return out;
    }
};

}  // namespace wb::testing
