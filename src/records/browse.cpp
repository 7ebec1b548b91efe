#include "records/browse.h"

#include "app/first_run_advice.h"
#include "app/form1.h"
#include "platform/dialogs.h"
#include "records/read_transaction.h"

namespace wb {

namespace {

struct SearchField {
    const char* field;
    const char* prefix;  // of the filter text
};

// In the order of SearchExample.
constexpr SearchField kSearchFields[9] = {
    {"Tail", "Tail  Like "}, {"Serial", "Serial Like "}, {"Make", "Make Like "},
    {"Model", "Model Like "}, {"Year", "Year Like "},     {"By", "By Like "},
    {"Cert", "Cert Like "},   {"Work", "Work Like "},     {"Date", "Date = "},
};

RecordSource aircraftByDate() { return RecordSource("Aircraft").OrderBy("Date"); }

}  // namespace

std::vector<SearchStep> searchSteps(const SearchExample& example) {
    std::vector<SearchStep> steps;
    for (size_t i = 0; i < example.size(); ++i) {
        const std::string& text = example[i];
        if (text.empty()) continue;
        const SearchField& s = kSearchFields[i];
        if (std::string(s.field) == "Date")
            steps.push_back({Criteria(s.field, Compare::Equal, text), s.prefix + ("#" + text + "#")});
        else
            steps.push_back({Criteria(s.field, Compare::Like, text + "*"), s.prefix + ("\"" + text + "*\"")});
    }
    return steps;
}

void Browse::connect() {
    f.Command3D16.Click = [this] { Command3D16_Click(); };
    f.Command3D17.Click = [this] { Command3D17_Click(); };
}

void Browse::Command3D16_Click() { moveButton(Button::Next); }

void Browse::Command3D17_Click() { moveButton(Button::Previous); }

void Browse::moveButton(Button button) {
    WorksheetState& ws = f.ws;
    // With no record database there is nothing to step through: the user is
    // told why and what to do, and nothing further happens.
    if (!f.dbRecords) {
        if (ws.NewRecordMode == 1) ws.SearchActive = 1;
        f.ClearWorksheet();
        f.services.dialogs->MsgBox(noRecordDatabaseAdvice(f.Data1), msgbox::kOkOnly | msgbox::kInformation,
                                   "No records: no record database is open");
        return;
    }
    // Taken before the worksheet changes: a database in use by another
    // program past the wait leaves the worksheet as it was.
    if (!beginReading(f, reads_)) return;
    struct EndOfPress {
        Browse& browse;
        ~EndOfPress() {
            browse.reads_.reset();
            browse.f.setMousePointer(pointer::kDefault);
        }
    } endOfPress{*this};
    f.setMousePointer(pointer::kHourglass);

    if (ws.NewRecordMode == 1) ws.SearchActive = 1;
    f.weighingOnScreen.reset();
    f.ClearWorksheet();
    // Next begins a search from all records; Previous narrows the current search set.
    if (button == Button::Next && ws.NewRecordMode == 1)
        f.rsFound = Form1::need(f.dbRecords).CreateDynaset(aircraftByDate());

    Recordset& active = Form1::need(ws.SearchActive == 1 ? f.rsFound : f.rsAircraft);
    const bool atEnd = button == Button::Next ? active.IsEOF() : active.IsBOF();
    if (atEnd) {
        noRecordsThisDirection();
        return;
    }
    ws.MoveDirection = button == Button::Next ? 2 : 1;
    ws.SavedState = 1;
    BrowseRecords();
}

// The end of the set in the chosen direction: search mode ends.
void Browse::noRecordsThisDirection() {
    endReads();
    f.services.dialogs->MsgBox("Press OK to continue", msgbox::kOkOnly | msgbox::kInformation,
                               "No records this direction.");
    f.ws.SearchActive = 0;
}

// No lock outlasts the reads into a message box.
void Browse::endReads() {
    reads_.reset();
    f.setMousePointer(pointer::kDefault);
}

SearchExample Browse::typedExample() const {
    return {f.Text1.text(), f.Text2.text(), f.Text3.text(), f.Text4.text(), f.Text5.text(),
            f.Text6.text(), f.Text22.text(), f.Text12.text(), f.Text7.text()};
}

bool Browse::searchByExample() {
    WorksheetState& ws = f.ws;
    ws.NewRecordMode = 0;
    const std::vector<SearchStep> steps = searchSteps(typedExample());
    for (const SearchStep& step : steps) {
        ws.SearchFilter = step.filterText;
        Recordset& found = Form1::need(f.rsFound);
        found.setFilter(step.criterion);
        f.rsFound = found.CreateDynaset();
    }
    if (steps.empty()) {
        ws.SearchActive = 0;
        return true;
    }
    Recordset& found = Form1::need(f.rsFound);
    return !(found.IsBOF() && found.IsEOF());
}

void Browse::BrowseRecords() {
    switch (moveAndShow()) {
    case Moved::Shown: return;
    case Moved::NoMatch:
        endReads();
        f.services.dialogs->MsgBox("No matches found", msgbox::kOkOnly, "Search Result");
        f.ws.SearchActive = 0;
        return;
    case Moved::NoRecords: noRecordsThisDirection(); return;
    }
}

namespace {

// The browse set's first or last row; false when the set holds no row. That
// happens when another program has deleted or replaced every row the set
// lists since it was made: the set still stands on the row it was on, at
// neither end, so the button's own end test let the press through.
bool moveToEnd(Recordset& set, bool last) {
    try {
        if (last) set.MoveLast();
        else set.MoveFirst();
        return true;
    } catch (const RuntimeError& e) {
        if (e.number() != kNoCurrentRecord) throw;
        return false;
    }
}

}  // namespace

Browse::Moved Browse::moveAndShow() {
    WorksheetState& ws = f.ws;
    if (ws.NewRecordMode == 1 && !searchByExample()) return Moved::NoMatch;

    // Only the browse set has the end guards.
    const bool previous = ws.MoveDirection == 1;
    const bool started = ws.BrowseStarted != 0;
    if (ws.SearchActive == 1) {
        Recordset& set = Form1::need(f.rsFound);
        if (previous) {
            if (started) set.MovePrevious();
            else set.MoveLast();
        } else {
            if (started) set.MoveNext();
            else set.MoveFirst();
        }
        f.ShowFoundRecord();
    } else {
        Recordset& set = Form1::need(f.rsAircraft);
        const bool toEnd = previous ? set.IsEOF() || !started : set.IsBOF() || !started;
        if (!toEnd) {
            if (previous) set.MovePrevious();
            else set.MoveNext();
        } else if (!moveToEnd(set, previous)) {
            return Moved::NoRecords;
        }
        f.ShowRecord();
    }
    ws.BrowseStarted = 1;
    return Moved::Shown;
}

}  // namespace wb
