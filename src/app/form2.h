#pragma once
// The splash window: a picture for 1500 ms, then the hand-over to the main window.
#include "platform/controls/picture_box.h"
#include "platform/controls/panel.h"
#include "platform/controls/timer.h"
#include "platform/form.h"

namespace wb {

class Program;
class SettingsStore;

class Form2 : public Form {
public:
    Form2(Program& program, SettingsStore& data1);

    // The settings store, used by the main window for the whole run.
    SettingsStore& Data1;

    Panel Panel3D1{*this, "Panel3D1"};
    PictureBox Picture1{*this, "Picture1"};  // the program's name over an aircraft
    Timer Timer1{*this, "Timer1"};

    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();

private:
    Program& program_;
};

}  // namespace wb
