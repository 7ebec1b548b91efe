#pragma once
// The previous empty weight and CG boxes: leaving either builds row 0 of the
// change list from both and recalculates. RecalcWeightAndBalance itself is a
// procedure of Form1 (worksheet/recalculation.cpp); Save and the printouts
// start with FreshTotals.
#include <optional>
#include <string>

#include "app/subsystem.h"
#include "worksheet/recalculation_math.h"

namespace wb {

class TextBox;

// What RecalcWeightAndBalance reads from the main window: boxes and arrays.
RecalcInput recalcInputOf(const Form1& f);

// RecalcWeightAndBalance without its message: the results computed and shown;
// when a step overflows, no figure in their place (TotalsOverflow::shown) and
// where it failed is returned ("change list, row 3").
std::optional<std::string> Recalculate(Form1& f);

// Save and every printout start here: the totals afresh from the worksheet on
// screen, so nothing stale is stored or printed. When they cannot be computed,
// the user is told why (title notDone + ": totals too large (WHERE)", text
// "Press OK to continue") and the answer is false.
bool FreshTotals(Form1& f, const std::string& notDone, int icon);

class Recalculation : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Text9_LostFocus();
    void Text10_LostFocus();

private:
    void buildPreviousEmptyRow(const TextBox& left);
};

}  // namespace wb
