#pragma once
// The three printouts and their buttons: the weight-and-balance report on the
// CG specifications panel, the logbook entry and the equipment-change report on
// the toolbar. Each reads the worksheet as shown and stores nothing.
#include "app/subsystem.h"

namespace wb {

class PrintFrame;

class Reports : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Command3D32_Click();  // weight-and-balance report
    void Command3D27_Click();  // logbook entry
    void Command3D14_Click();  // equipment-change report

    void PrintWeighingReport();
    void PrintLogbookEntry();
    void PrintEquipmentChangeReport();

private:
    void weighingReport(PrintFrame& frame);
    void logbookEntry(PrintFrame& frame);
    void equipmentChangeReport(PrintFrame& frame);
};

}  // namespace wb
