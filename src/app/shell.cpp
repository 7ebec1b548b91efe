#include "app/shell.h"

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/dialogs.h"

namespace wb {

void Shell::connect() {
    f.Load = [this] { Form_Load(); };
    f.QueryUnload = [this](int& cancel) { Form_QueryUnload(cancel); };
    f.Unload = [this] { Form_Unload(); };
    f.Activate = [this] { f.Form_Activate(); };
    f.Command3D12.Click = [this] { Command3D12_Click(); };
    f.Command3D19.Click = [this] { Command3D19_Click(); };
    f.Command3D15.Click = [this] { Command3D15_Click(); };
    f.Command3D20.Click = [this] { Command3D20_Click(); };
    f.Command3D23.Click = [this] { Command3D23_Click(); };
    f.Command3D26.Click = [this] { Command3D26_Click(); };
    f.Command3D26.LostFocus = [this] { Command3D26_LostFocus(); };
}

void Shell::Form_Load() {
    f.formatGrids();
    f.Data1.close();  // reopened by its next use
    f.NewRecord();
}

void Shell::Form_Unload() { endProgram(); }

void Shell::endProgram() {
    if (f.services.endProgram) f.services.endProgram();
}

bool Shell::unsavedMayGo(const char* question) {
    return f.ws.SavedState != 0 ||
           f.services.dialogs->MsgBox(question, kUnsavedQuestion, kNotSavedTitle) == msgbox::kYes;
}

// The window's close button asks as Exit does; No keeps the window and the worksheet.
void Shell::Form_QueryUnload(int& cancel) {
    if (!unsavedMayGo(kExitQuestion)) cancel = 1;
}

void Shell::Command3D12_Click() {
    if (unsavedMayGo(kExitQuestion)) endProgram();
}

void Shell::Command3D19_Click() {
    if (!unsavedMayGo("OK to start new form without saving?")) return;
    f.ws.MoveDirection = 0;
    f.ws.SearchActive = 0;
    f.ws.BrowseStarted = 0;
    f.NewRecord();
}

void Shell::Command3D15_Click() {
    if (f.Panel3D5.visible()) {
        f.Panel3D5.setVisible(false);
    } else {
        f.Panel3D5.setVisible(true);
        f.Text13.SetFocus();
    }
}

void Shell::Command3D20_Click() {
    f.Command3D20.setCaption(f.Command3D20.caption() == "Hobbs" ? "Tach" : "Hobbs");
}

void Shell::Command3D23_Click() {
    if (f.Panel3D6.visible())
        closeSpecs();
    else
        openSpecs();
}

void Shell::openSpecs() {
    if (f.Text1.text().empty()) {
        f.services.dialogs->MsgBox("Press OK to continue", msgbox::kInformation,
                                   "No aircraft identified.");
        return;
    }
    // A list that cannot be read now (the database in use) leaves the panel
    // closed: the next press brings it forward.
    if (f.ws.NewRecordMode == 1 && f.ws.PreviousListPending == 1 && !f.LoadPreviousEquipment()) return;
    f.Panel3D6.setVisible(true);
    f.Text14.SetFocus();
    f.Command3D17.setEnabled(false);
    f.Command3D18.setEnabled(false);
    f.Command3D15.setEnabled(false);
    f.Command3D23.setEnabled(true);
    f.Command3D26.setEnabled(false);
    f.Command3D14.setEnabled(false);
    f.Command3D19.setEnabled(false);
    f.Command3D13.setEnabled(false);
    f.Command3D12.setEnabled(false);
    f.Command3D16.setEnabled(false);
    f.Panel3D1.setEnabled(false);
}

void Shell::closeSpecs() {
    f.ws.PreviousListPending = 0;
    f.Command3D17.setEnabled(true);
    f.Command3D18.setEnabled(true);
    f.Command3D15.setEnabled(true);
    f.Command3D23.setEnabled(true);
    f.Command3D26.setEnabled(true);
    f.Command3D14.setEnabled(true);
    f.Command3D19.setEnabled(true);
    f.Command3D13.setEnabled(true);
    f.Command3D12.setEnabled(true);
    f.Command3D16.setEnabled(true);
    f.Panel3D1.setEnabled(true);
    f.Panel3D6.setVisible(false);
}

void Shell::Command3D26_Click() { f.Panel3D4.setVisible(!f.Panel3D4.visible()); }

void Shell::Command3D26_LostFocus() { f.Panel3D4.setVisible(false); }

}  // namespace wb
