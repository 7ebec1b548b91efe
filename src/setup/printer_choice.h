#pragma once
// The printer-select button of the set-up panel: the platform's printer
// dialog. A printer confirmed there is the one the printouts of the run use;
// the program stores nothing of the choice.
#include "app/subsystem.h"

namespace wb {

class PrinterChoice : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Command3D29_Click();
};

}  // namespace wb
