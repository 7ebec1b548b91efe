#include "reports/reports.h"

#include "app/form1.h"
#include "reports/print_frame.h"

namespace wb {

void Reports::connect() {
    f.Command3D32.Click = [this] { Command3D32_Click(); };
    f.Command3D27.Click = [this] { Command3D27_Click(); };
    f.Command3D14.Click = [this] { Command3D14_Click(); };
}

void Reports::Command3D32_Click() { PrintWeighingReport(); }
void Reports::Command3D27_Click() { PrintLogbookEntry(); }
void Reports::Command3D14_Click() { PrintEquipmentChangeReport(); }

void Reports::PrintWeighingReport() {
    RunPrintout(f, "weight-and-balance-report", [this](PrintFrame& frame) { weighingReport(frame); });
}

void Reports::PrintLogbookEntry() {
    RunPrintout(f, "logbook-entry", [this](PrintFrame& frame) { logbookEntry(frame); });
}

void Reports::PrintEquipmentChangeReport() {
    RunPrintout(f, "equipment-change-report", [this](PrintFrame& frame) { equipmentChangeReport(frame); });
}

}  // namespace wb
