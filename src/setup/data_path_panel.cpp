#include "setup/data_path_panel.h"

#include "app/first_run_advice.h"
#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/dialogs.h"

namespace wb {

namespace {

// After the set-up panel's controls, in the panel's own order.
constexpr int kFirstTabIndex = 120;

const Font kButtonFont{"MS Sans Serif", 13.5, true, false};

}  // namespace

void layOutDataPathPanel(Form1& f) {
    Panel& panel = f.Panel3D11;
    auto place = [&panel](Control& c, int left, int top, int width, int height) {
        c.setContainer(&panel);
        c.move(left, top, width, height);
    };
    place(f.Label28, 690, 465, 2760, 285);
    f.Label28.setCaption("Select path to data, press SAVE");
    place(f.Drive1, 675, 765, 3135, 315);
    place(f.Dir1, 660, 1440, 3135, 1605);
    place(f.Command3D31, 3615, 3375, 1180, 495);
    f.Command3D31.setCaption("Exit");
    place(f.Command3D39, 150, 3405, 1180, 495);
    f.Command3D39.setCaption("Save");
    for (CommandButton* b : {&f.Command3D31, &f.Command3D39}) b->setFont(kButtonFont);
    int tab = kFirstTabIndex;
    for (Control* c : {static_cast<Control*>(&f.Drive1), static_cast<Control*>(&f.Dir1),
                       static_cast<Control*>(&f.Command3D31), static_cast<Control*>(&f.Command3D39)})
        c->setTabIndex(tab++);
}

void DataPathPanel::connect() {
    layOutDataPathPanel(f);
    f.Drive1.Change = [this] { Drive1_Change(); };
    f.Command3D39.Click = [this] { Command3D39_Click(); };
    f.Command3D31.Click = [this] { Command3D31_Click(); };
}

// A volume opens at its top folder (its mount point).
void DataPathPanel::Drive1_Change() { f.Dir1.setPath(f.Drive1.drive()); }

// Stores the open folder, not one that is only highlighted. Asks nothing and
// checks nothing; a failure leaves the stored row as it was, and the user is
// told that the folder was not stored. A settings file deleted meanwhile is
// made anew.
void DataPathPanel::Command3D39_Click() {
    try {
        f.Data1.write([&](Recordset& row) { row.setField("DataPath", f.Dir1.path()); });
    } catch (const RuntimeError&) {
        f.services.dialogs->MsgBox(settingsNotStoredText(), msgbox::kOkOnly | msgbox::kCritical,
                                   settingsNotStoredTitle());
    }
}

void DataPathPanel::Command3D31_Click() { f.Panel3D11.setVisible(false); }

// Shows the panel with the lists on the stored folder: the volume that holds it
// (the longest mount point that prefixes it), then the folder itself. With no
// folder stored, or one that cannot be reached now, the lists keep what they
// show.
void Form1::ShowDataPathPanel() {
    setMousePointer(pointer::kDefault);
    Panel3D11.setVisible(true);
    Value stored;
    skipOnFailure([&] { stored = Data1.row().field("DataPath"); });
    if (stored.isNull() || stored.isEmpty()) return;
    const std::string dataPath = stored.toText();
    if (!skipOnFailure([&] { Drive1.setDrive(Drive1.driveOf(dataPath)); })) return;
    skipOnFailure([&] { Dir1.setPath(dataPath); });
}

}  // namespace wb
