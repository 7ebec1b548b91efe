#pragma once
// Next and Previous: stepping through the browse set rsAircraft or the search
// set rsFound, and, on a blank new record, the search by example from the
// header boxes typed.
#include <array>
#include <string>
#include <vector>

#include <optional>

#include "app/subsystem.h"
#include "platform/database.h"
#include "records/read_transaction.h"

namespace wb {

// One narrowing step of a search by example: the criterion and its text as
// the filter reads ("Tail  Like \"N1*\"", "Date = #3/9/2004#").
struct SearchStep {
    Criteria criterion;
    std::string filterText;
};

// The nine search boxes in the order they narrow the set: Text1, Text2, Text3,
// Text4, Text5, Text6, Text22, Text12, Text7.
using SearchExample = std::array<std::string, 9>;

// One step per non-empty box, in that order. A text box matches the fields that
// begin with its text (its wildcards act as wildcards; any other character,
// a double quote included, is itself); the date box matches that date exactly,
// and a date box that is not a date matches nothing.
std::vector<SearchStep> searchSteps(const SearchExample& example);

class Browse : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Command3D16_Click();
    void Command3D17_Click();
    void BrowseRecords();

private:
    enum class Button { Next, Previous };
    void moveButton(Button button);
    // The search by example, when a new record is on screen, then the move and
    // the show. Nothing is moved or shown when the search found no match, or
    // when the browse set has no row to go to.
    enum class Moved { Shown, NoMatch, NoRecords };
    Moved moveAndShow();
    void noRecordsThisDirection();
    // Narrows rsFound by each filled box; false when no row is left.
    bool searchByExample();
    SearchExample typedExample() const;
    void endReads();

    // The press's read transaction, from before the worksheet is cleared to
    // the record shown, or to a message box.
    std::optional<ReadTransaction> reads_;
};

}  // namespace wb
