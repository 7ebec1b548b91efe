#include "app/program.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/settings_store.h"

namespace wb {

Program::Program(Services& services) : services_(services) {
    services_.endProgram = [this, end = services.endProgram] {
        ended_ = true;
        if (end) end();
    };
    settings_ = std::make_unique<SettingsStore>(services_);
}

Program::~Program() {
    // Forms first: the main window holds the record database and uses the store.
    main_.reset();
    built_.reset();
    splash_.reset();
    unloaded_.clear();
}

void Program::start() {
    splash_ = std::make_unique<Form2>(*this, *settings_);
    Form2& splash = *splash_;
    if (formLoaded) formLoaded(splash);
    splash.dispatch([&] { splash.Form_Load(); });
    splash.setVisible(true);
    splash.dispatch([&] { splash.Form_Activate(); });
}

Form2* Program::splash() const { return splash_.get(); }
Form1* Program::mainWindow() const { return main_.get(); }

void Program::buildMainWindow() {
    if (!splash_ || built_ || main_ || ended_) return;
    built_ = std::make_unique<Form1>(services_, *settings_);
    if (formLoaded) formLoaded(*built_);
}

void Program::handOverToMainWindow() {
    buildMainWindow();
    main_ = std::move(built_);
    Form1& form = *main_;
    form.dispatch([&] { if (form.Load) form.Load(); });
    form.setVisible(true);
    // A window shown without a focus gives it to the first control in tab order.
    if (!form.focused()) form.dispatch([&] { form.tabForward(); });
}

void Program::unloadSplash() {
    if (!splash_) return;
    if (formUnloading) formUnloading(*splash_);
    splash_->setVisible(false);
    unloaded_.push_back(std::move(splash_));
    activateMainWindow();
}

void Program::activateMainWindow() {
    if (!main_ || ended_) return;
    Form1& form = *main_;
    form.dispatch([&] { if (form.Activate) form.Activate(); });
}

void Program::closeMainWindowByUser() {
    if (!main_ || ended_) return;
    Form1& form = *main_;
    int cancel = 1;  // a handler that fails keeps the window open
    form.dispatch([&] {
        int answer = 0;
        if (form.QueryUnload) form.QueryUnload(answer);
        cancel = answer;
    });
    // The program may have ended meanwhile (the session ending during the question).
    if (cancel == 0 && main_.get() == &form && !ended_) closeMainWindow();
}

void Program::closeMainWindow() {
    if (!main_) return;
    Form1& form = *main_;
    form.dispatch([&] { if (form.Unload) form.Unload(); });
    if (formUnloading) formUnloading(form);
    form.setVisible(false);
    unloaded_.push_back(std::move(main_));
}

}  // namespace wb
