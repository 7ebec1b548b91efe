#pragma once
// The main window's shell: load, closing and unload, Exit, New, Notes, the
// meter caption, the SPECS button and the about panel.
#include "app/subsystem.h"

namespace wb {

class Shell : public Subsystem {
public:
    using Subsystem::Subsystem;
    void connect() override;

    void Form_Load();
    void Form_QueryUnload(int& cancel);
    void Form_Unload();
    void Command3D12_Click();   // Exit
    void Command3D19_Click();   // New
    void Command3D15_Click();   // Notes
    void Command3D20_Click();   // "Tach" / "Hobbs"
    void Command3D23_Click();   // SPECS
    void Command3D26_Click();   // about
    void Command3D26_LostFocus();

    static constexpr const char* kNotSavedTitle = "Weight & Balance on screen not saved";
    static constexpr const char* kExitQuestion = "OK to exit program without saving?";
    static constexpr int kUnsavedQuestion = 292;  // Yes/No, question icon, No default

private:
    // Whether the worksheet may be discarded: nothing unsaved, or the user says Yes.
    bool unsavedMayGo(const char* question);
    void endProgram();
    void openSpecs();
    void closeSpecs();
};

}  // namespace wb
