#pragma once
// The previous empty weight and CG boxes: leaving either builds row 0 of the
// change list from both and recalculates. RecalcWeightAndBalance itself is a
// procedure of Form1 (worksheet/recalculation.cpp).
#include "app/subsystem.h"
#include "worksheet/recalculation_math.h"

namespace wb {

class TextBox;

// What RecalcWeightAndBalance reads from the main window: boxes and arrays.
RecalcInput recalcInputOf(const Form1& f);

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
