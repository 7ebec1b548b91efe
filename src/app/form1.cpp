#include "app/form1.h"

#include "app/shell.h"
#include "records/browse.h"
#include "records/save.h"
#include "reports/reports.h"
#include "setup/data_path_panel.h"
#include "setup/printer_choice.h"
#include "setup/report_font.h"
#include "setup/setup_panel.h"
#include "worksheet/grid_editing.h"
#include "worksheet/header_fields.h"
#include "worksheet/recalculation.h"
#include "records/save.h"

namespace wb {

Form1::Form1(Services& services_, SettingsStore& data1)
    : Form("Form1"), services(services_), Data1(data1) {
    layOut();
    // One line per subsystem.
    install<Shell>();
    install<HeaderFields>();
    install<GridEditing>();
    install<Recalculation>();
    install<SetupPanel>();
    install<ReportFont>();
    install<PrinterChoice>();
    install<DataPathPanel>();
    install<Save>();
    install<Browse>();
    install<Reports>();
}

Form1::~Form1() = default;

void Form1::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    FirstActivate();
}

}  // namespace wb
