#include "app/form2.h"

#include "app/program.h"

namespace wb {

Form2::Form2(Program& program, SettingsStore& data1) : Form("Form2"), Data1(data1), program_(program) {
    setClientSize(8250, 5895);
    Panel3D1.move(-45, 0, 8340, 5940);
    Picture1.setContainer(&Panel3D1);
    // Centred in the client area, which the panel overhangs by 45 twips on the left.
    Picture1.move(45 + (8250 - 542 * 15) / 2, (5895 - 381 * 15) / 2, 542 * 15, 381 * 15);
    Picture1.setCaption("Weight and Balance");
    Picture1.setPicture("splash");
    Timer1.setInterval(1500);
    Load = [this] { Form_Load(); };
    Activate = [this] { Form_Activate(); };
    Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void Form2::Form_Load() {
    Timer1.setEnabled(false);
    setMousePointer(pointer::kHourglass);
}

void Form2::Form_Activate() { Timer1.setEnabled(true); }

// Fires once: hands over to the main window, then unloads this window. The
// unloading is deferred by the program until this handler has returned.
void Form2::Timer1_Timer() {
    Timer1.setEnabled(false);
    program_.handOverToMainWindow();
    setMousePointer(pointer::kDefault);
    program_.unloadSplash();
}

}  // namespace wb
