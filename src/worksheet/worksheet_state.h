#pragma once
// The module variables of the main window: flags, totals, the four row buffers
// and the notes line buffer. Form1 holds one of these as its member `ws`; every
// subsystem reads and writes it there (f.ws.SavedState, f.ws.ChangeDesc[i]).
// The database handles live on Form1 itself (f.dbRecords, f.rsAircraft, ...).
//
// Each row-buffer array is declared 0..upper bound as in the old program: the
// last element maps to no grid row and ClearWorksheet leaves it alone.
#include <array>
#include <cstdint>
#include <string>

#include "platform/value.h"

namespace wb {

struct WorksheetState {
    // Upper bounds of the row buffers (the arrays hold bound + 1 elements).
    static constexpr int kChangeBound = 30;  // Grid1 rows 0..29
    static constexpr int kJackBound = 5;     // Grid2 rows 0..4
    static constexpr int kFluidBound = 5;    // Grid4 rows 0..4
    static constexpr int kListBound = 100;   // Grid3 rows 0..99

    using ChangeArray = std::array<Value, kChangeBound + 1>;
    using JackArray = std::array<Value, kJackBound + 1>;
    using FluidArray = std::array<Value, kFluidBound + 1>;
    using ListArray = std::array<Value, kListBound + 1>;

    // Search text: the last filter expression of the search by example.
    std::string SearchFilter;

    // Flags (Integer).
    int16_t SavedState = 0;          // 0 unsaved, 1 saved / about to show, 2 Save lost focus
    int16_t SearchActive = 0;        // 1: a record of the search set is shown
    int16_t NewRecordMode = 0;       // 1: a blank new record is on screen
    int16_t PreviousListPending = 0; // 1: previous equipment list still to bring forward
    int16_t BrowseStarted = 0;       // 0: the next move goes to the first or last record
    int16_t MoveDirection = 0;       // 1 previous, 2 next, 0 reset
    int16_t CellEditing = 0;         // 1 while a grid cell is being typed into
    int16_t Grid1EditCol = 0, Grid2EditCol = 0, Grid3EditCol = 0, Grid4EditCol = 0;
    int16_t Grid1EditRow = 0, Grid2EditRow = 0, Grid3EditRow = 0, Grid4EditRow = 0;

    // Totals (Single).
    float NewEmptyWeight = 0, NewEmptyCG = 0, NewEmptyMoment = 0;
    float WeighedWeight = 0, WeighedCG = 0, WeighedMoment = 0;

    // Change list, Grid1 columns 0..6.
    ChangeArray ChangeDesc, ChangeSerial, ChangeWeight, ChangeArm, ChangeMoment,
        ChangeInstalled, ChangeRemoved;
    // Weighing points, Grid2 columns 0..4.
    JackArray JackDesc, JackTare, JackWeight, JackArm, JackMoment;
    // Fluids, Grid4 columns 0..3.
    FluidArray FluidDesc, FluidWeight, FluidArm, FluidMoment;
    // Equipment list (information only), Grid3 columns 0..4.
    ListArray ListDesc, ListSerial, ListWeight, ListArm, ListMoment;

    // Notes line buffer, owned by the printouts.
    std::string LineBuffer;
    int16_t LineBufferLen = 0;
};

}  // namespace wb
