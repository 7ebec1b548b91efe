#pragma once
// The main window: every control as a member, the worksheet state `ws`, the
// database handles, and the subsystems that implement the handlers.
//
// How to add a subsystem: write a class deriving from Subsystem (app/subsystem.h)
// whose connect() wires its handlers, e.g.
//     f.Grid1.KeyDown = [this](int& k, int s) { Grid1_KeyDown(k, s); };
// and add ONE line `install<YourSubsystem>();` (plus its #include) to the
// constructor in app/form1.cpp. Handlers are owned by exactly one subsystem.
//
// Procedures called across subsystems are members of Form1 (below), each defined
// in the file of the subsystem that owns it; a subsystem object is found with
// subsystem<T>() when its own members are needed.
#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/subsystem.h"
#include "platform/clock.h"
#include "platform/controls/check_box.h"
#include "platform/controls/command_button.h"
#include "platform/controls/file_lists.h"
#include "platform/controls/grid.h"
#include "platform/controls/label.h"
#include "platform/controls/panel.h"
#include "platform/controls/text_box.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "platform/form.h"
#include "platform/services.h"
#include "records/stored_weighing.h"
#include "worksheet/worksheet_state.h"

namespace wb {

class SettingsStore;

class Form1 : public Form {
public:
    // data1 is the settings store (the splash window's data source), reachable
    // for the whole run.
    Form1(Services& services, SettingsStore& data1);
    ~Form1() override;

    // The client area, in twips.
    static constexpr int kClientWidth = 9615, kClientHeight = 6900;

    Services& services;
    SettingsStore& Data1;

    // Worksheet state: flags, totals, row buffers (worksheet/worksheet_state.h).
    WorksheetState ws;

    // Database handles; null until the record database is opened. A step on a
    // null handle fails with RuntimeError(kObjectNotSet): see need().
    std::shared_ptr<Database> dbRecords;
    std::shared_ptr<Recordset> rsAircraft, rsFound, rsCompanyInfo, rsEquipment;
    // The stored weighing on screen, as read when it was shown or saved: set
    // by showing a record and by Save, cleared by a new record and by a move
    // that clears the worksheet. Save replaces it only while it is unchanged.
    std::optional<StoredWeighing> weighingOnScreen;

    // The object behind a handle, or RuntimeError(kObjectNotSet) when it is unset.
    template <class T>
    static T& need(const std::shared_ptr<T>& handle);

    // ---- Named procedures (each defined in the file named beside it) ----------
    void ClearWorksheet();          // worksheet/clear_worksheet.cpp
    void NewRecord();               // records/new_record.cpp
    void RecalcWeightAndBalance();  // worksheet/recalculation.cpp
    // False when the record database is in use by another program: the user
    // was told, and the worksheet is as it was.
    bool LoadPreviousEquipment();   // records/previous_equipment.cpp
    // The main window's first activation: today's date, then opening the record
    // database.                    // records/open_database.cpp
    void FirstActivate();
    // Declared for their owners; defined with the Parts that specify them.
    void ShowRecord();              // records/show_record.cpp
    void ShowFoundRecord();         // records/show_record.cpp
    void ShowDataPathPanel();       // setup/data_path.cpp

    // Activation: the first one runs FirstActivate(), later ones nothing.
    void Form_Activate();
    // Grid1's font, every grid's column widths and alignments, Grid1's 30 rows.
    void formatGrids();           // app/main_window_layout.cpp

    // ---- Subsystems -----------------------------------------------------------
    template <class S>
    S& install();
    template <class S>
    S& subsystem() const;

    // ---- Controls (positions and properties: app/main_window_layout.cpp) ------
    // Main data panel and its rows.
    Panel Panel3D1{*this, "Panel3D1"};
    Panel Panel3D3{*this, "Panel3D3"};
    Panel Panel3D2{*this, "Panel3D2"};
    Panel Panel3D8{*this, "Panel3D8"};
    // Hidden panels: CG specifications, notes, about, set-up, data path.
    Panel Panel3D6{*this, "Panel3D6"};
    Panel Panel3D5{*this, "Panel3D5"};
    Panel Panel3D4{*this, "Panel3D4"};
    Panel Panel3D7{*this, "Panel3D7"};
    Panel Panel3D11{*this, "Panel3D11"};

    // Header captions (Command3D20 toggles "Tach" / "Hobbs").
    CommandButton Command3D7{*this, "Command3D7"};
    CommandButton Command3D8{*this, "Command3D8"};
    CommandButton Command3D9{*this, "Command3D9"};
    CommandButton Command3D10{*this, "Command3D10"};
    CommandButton Command3D11{*this, "Command3D11"};
    CommandButton Command3D20{*this, "Command3D20"};
    CommandButton Command3D21{*this, "Command3D21"};
    CommandButton Command3D24{*this, "Command3D24"};
    CommandButton Command3D25{*this, "Command3D25"};

    // Header boxes, first row (Panel3D3).
    TextBox Text1{*this, "Text1"};
    TextBox Text2{*this, "Text2"};
    TextBox Text3{*this, "Text3"};
    TextBox Text4{*this, "Text4"};
    TextBox Text5{*this, "Text5"};
    TextBox Text8{*this, "Text8"};
    TextBox Text9{*this, "Text9"};
    TextBox Text10{*this, "Text10"};
    TextBox Text11{*this, "Text11"};
    // Second row (Panel3D2).
    Label Label2{*this, "Label2"};
    TextBox Text6{*this, "Text6"};
    Label Label15{*this, "Label15"};
    TextBox Text22{*this, "Text22"};
    Label Label3{*this, "Label3"};
    TextBox Text12{*this, "Text12"};
    Label Label1{*this, "Label1"};
    TextBox Text7{*this, "Text7"};

    // Change list: captions and Grid1.
    CommandButton Command3D1{*this, "Command3D1"};
    CommandButton Command3D22{*this, "Command3D22"};
    CommandButton Command3D2{*this, "Command3D2"};
    CommandButton Command3D3{*this, "Command3D3"};
    CommandButton Command3D4{*this, "Command3D4"};
    CommandButton Command3D5{*this, "Command3D5"};
    // Caption buttons array: element 0 "Removed" over Grid1, 1..7 on Panel3D6.
    std::array<CommandButton, 8> Command3D6{{
        {*this, "Command3D6(0)"}, {*this, "Command3D6(1)"}, {*this, "Command3D6(2)"},
        {*this, "Command3D6(3)"}, {*this, "Command3D6(4)"}, {*this, "Command3D6(5)"},
        {*this, "Command3D6(6)"}, {*this, "Command3D6(7)"},
    }};
    Grid Grid1{*this, "Grid1"};

    // New values (Panel3D8).
    Label Label18{*this, "Label18"};
    TextBox Text23{*this, "Text23"};
    TextBox Text24{*this, "Text24"};
    TextBox Text27{*this, "Text27"};

    // CG specifications panel (Panel3D6).
    Label Label5{*this, "Label5"};
    Label Label6{*this, "Label6"};
    TextBox Text14{*this, "Text14"};
    Label Label7{*this, "Label7"};
    TextBox Text15{*this, "Text15"};
    Label Label8{*this, "Label8"};
    TextBox Text16{*this, "Text16"};
    CommandButton Command3D30{*this, "Command3D30"};
    Grid Grid2{*this, "Grid2"};
    CommandButton Command3D33{*this, "Command3D33"};
    Grid Grid4{*this, "Grid4"};
    CommandButton Command3D38{*this, "Command3D38"};
    CommandButton Command3D34{*this, "Command3D34"};
    CommandButton Command3D37{*this, "Command3D37"};
    CommandButton Command3D36{*this, "Command3D36"};
    CommandButton Command3D35{*this, "Command3D35"};
    Grid Grid3{*this, "Grid3"};
    CommandButton Command3D32{*this, "Command3D32"};  // prints the weight-and-balance report
    Label Label24{*this, "Label24"};
    Label Label25{*this, "Label25"};
    Label Label23{*this, "Label23"};

    // Notes panel (Panel3D5).
    TextBox Text13{*this, "Text13"};

    // About panel (Panel3D4).
    Label Label4{*this, "Label4"};
    Label Label19{*this, "Label19"};
    Label Label20{*this, "Label20"};
    Label Label21{*this, "Label21"};

    // Set-up panel (Panel3D7); its layout is set up in setup/.
    Label Label12{*this, "Label12"};
    Label Label11{*this, "Label11"};
    TextBox Text17{*this, "Text17"};
    Label Label10{*this, "Label10"};
    TextBox Text18{*this, "Text18"};
    Label Label9{*this, "Label9"};
    TextBox Text19{*this, "Text19"};
    Label Label13{*this, "Label13"};
    TextBox Text20{*this, "Text20"};
    Label Label14{*this, "Label14"};
    TextBox Text21{*this, "Text21"};
    Label Label26{*this, "Label26"};
    TextBox Text29{*this, "Text29"};
    Label Label16{*this, "Label16"};
    TextBox Text25{*this, "Text25"};
    Label Label17{*this, "Label17"};
    TextBox Text26{*this, "Text26"};
    CheckBox Check3D1{*this, "Check3D1"};
    CheckBox Check3D2{*this, "Check3D2"};
    CheckBox Check3D3{*this, "Check3D3"};
    CheckBox Check3D4{*this, "Check3D4"};
    Label Label22{*this, "Label22"};
    CommandButton Command3D29{*this, "Command3D29"};  // printer select
    CommandButton Command3D40{*this, "Command3D40"};  // "Path"
    CommandButton Command3D28{*this, "Command3D28"};  // "Fonts"
    TextBox Text28{*this, "Text28"};                  // font sample

    // Data-path panel (Panel3D11); its layout is set up in setup/.
    Label Label28{*this, "Label28"};
    DriveList Drive1{*this, "Drive1"};
    DirList Dir1{*this, "Dir1"};
    CommandButton Command3D31{*this, "Command3D31"};  // "Exit"
    CommandButton Command3D39{*this, "Command3D39"};  // "Save"

    // Toolbar row, left to right.
    CommandButton Command3D17{*this, "Command3D17"};  // previous record
    CommandButton Command3D18{*this, "Command3D18"};  // "Set-up"
    CommandButton Command3D23{*this, "Command3D23"};  // "SPECS"
    CommandButton Command3D15{*this, "Command3D15"};  // "Notes"
    CommandButton Command3D27{*this, "Command3D27"};  // logbook entry
    CommandButton Command3D26{*this, "Command3D26"};  // about
    CommandButton Command3D14{*this, "Command3D14"};  // equipment-change report
    CommandButton Command3D19{*this, "Command3D19"};  // "New"
    CommandButton Command3D13{*this, "Command3D13"};  // "Save"
    CommandButton Command3D12{*this, "Command3D12"};  // "Exit"
    CommandButton Command3D16{*this, "Command3D16"};  // next record

private:
    void layOut();  // app/main_window_layout.cpp
    std::vector<std::unique_ptr<Subsystem>> subsystems_;
    bool activated_ = false;
    // A date typed without a year takes the year of this window's clock.
    DateReadingClock dateReading_{services.clock};
};

template <class T>
T& Form1::need(const std::shared_ptr<T>& handle) {
    if (!handle) throw RuntimeError(kObjectNotSet, "Object variable not set");
    return *handle;
}

template <class S>
S& Form1::install() {
    auto owned = std::make_unique<S>(*this);
    S& s = *owned;
    subsystems_.push_back(std::move(owned));
    s.connect();
    return s;
}

template <class S>
S& Form1::subsystem() const {
    for (const auto& s : subsystems_)
        if (auto* found = dynamic_cast<S*>(s.get())) return *found;
    throw std::logic_error("subsystem not installed");
}

}  // namespace wb
