#pragma once
// The data-path panel Panel3D11: the drive list and folder list choose the
// folder of the record database, "Save" stores it as DataPath in the settings
// row (used from the next start), "Exit" hides the panel.
#include "app/subsystem.h"

namespace wb {

class Form1;

// The panel's contents: positions inside Panel3D11, captions, fonts, tab order.
void layOutDataPathPanel(Form1& f);

class DataPathPanel : public Subsystem {
public:
    using Subsystem::Subsystem;
    // Lays out the panel's contents and wires its handlers.
    void connect() override;

    void Drive1_Change();       // the folder list moves to the chosen volume
    void Command3D39_Click();   // "Save": the open folder becomes DataPath
    void Command3D31_Click();   // "Exit": hides the panel
};

}  // namespace wb
