#pragma once
// The set-up panel Panel3D7: the Set-up button opens it filled from the shop
// row, the font row and the settings row, and closes it storing the boxes back.
// Every step of the Set-up click that fails is skipped and the next one runs.
// Enter moves through the panel's fields in a closed ring.
#include <string>

#include "app/subsystem.h"

namespace wb {

class SetupPanel : public Subsystem {
public:
    using Subsystem::Subsystem;
    // Lays out the panel's contents and wires its handlers.
    void connect() override;

    void Command3D18_Click();   // "Set-up": opens or closes the panel
    void Text17_LostFocus();    // the sample shows the shop name last typed
    void Check3D4_LostFocus();  // closes the Enter ring: back to Text17
    void Command3D40_Click();   // "Path": the data-path panel over this one

private:
    void openPanel();
    void closePanel();
    // A column of the current company row as box text: "" when it is Null or
    // cannot be read.
    std::string shopText(const char* column);
    void fillSample();
};

}  // namespace wb
