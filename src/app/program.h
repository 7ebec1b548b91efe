#pragma once
// The whole program: the splash window, the main window and the start-up that
// hands over from one to the other. The Qt program and the scenario runner both
// drive it; neither knows more of the start-up than this.
#include <functional>
#include <memory>
#include <vector>

#include "platform/services.h"

namespace wb {

class Form;
class Form1;
class Form2;
class SettingsStore;

class Program {
public:
    // The program keeps its own copy of the services, whose endProgram also
    // makes ended() true.
    explicit Program(Services& services);
    ~Program();

    // Loads the splash window, shows and activates it: its timer is then enabled.
    // When the splash timer fires, it hands over to the main window, unloads the
    // splash and activates the main window (its first activation opens the
    // record database).
    void start();

    // Makes the main window's controls (and, through formLoaded, its views)
    // ahead of the hand-over, while the splash window is shown; the hand-over
    // then loads and shows that window instead of making one. Nothing happens
    // without a splash window, once the hand-over has begun or after the end.
    // The window stays unloaded and hidden, and mainWindow() null, until the
    // hand-over.
    void buildMainWindow();

    Form2* splash() const;      // null once it has been unloaded
    Form1* mainWindow() const;  // null until the splash timer has handed over
    bool ended() const { return ended_; }

    // The main window becoming active again (a window system's activation event).
    // Only the first activation does anything; the hand-over already runs it.
    void activateMainWindow();

    // Closes the main window without a question: the end of the desktop
    // session, and the scenario runner's `close`.
    void closeMainWindow();
    // The window's close button: the main window's QueryUnload may keep it
    // open (a handler that fails does too); otherwise as closeMainWindow.
    void closeMainWindowByUser();

    // The settings store "SetupVASK.MDB" (the splash window's data source).
    SettingsStore& settings() const { return *settings_; }
    // The services as the program's logic sees them.
    Services& services() { return services_; }

    // Told when a form's controls exist (the main window's possibly ahead of its
    // loading, see buildMainWindow) and before it is unloaded, so that views can
    // follow.
    std::function<void(Form&)> formLoaded;
    std::function<void(Form&)> formUnloading;

private:
    friend class Form2;
    void handOverToMainWindow();
    void unloadSplash();
    Services services_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<Form2> splash_;
    std::unique_ptr<Form1> main_;
    std::unique_ptr<Form1> built_;  // the main window made ahead, until the hand-over
    // Unloaded forms, destroyed with the program: an unload may come from inside
    // a handler of the form itself.
    std::vector<std::unique_ptr<Form>> unloaded_;
    bool ended_ = false;
};

}  // namespace wb
