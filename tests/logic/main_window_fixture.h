#pragma once
// A headless main window for tests: scripted message boxes, a fixed clock, no
// database engine. The window is loaded, shown and activated as at start-up.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_store.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/utf8.h"

namespace wb::testing {

class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        int style;
        std::string title;
    };
    std::vector<Shown> shown;
    std::deque<int> answers;  // unanswered boxes take their default button
    std::map<std::string, int> answerByTitle;  // before `answers`, every time

    int MsgBox(const std::string& text, int style, const std::string& title) override {
        shown.push_back({text, style, title});
        if (auto it = answerByTitle.find(title); it != answerByTitle.end()) return it->second;
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        const bool second = (style & msgbox::kDefaultButton2) != 0;
        switch (style & 7) {
        case msgbox::kYesNo: return second ? msgbox::kNo : msgbox::kYes;
        case msgbox::kOkCancel: return second ? msgbox::kCancel : msgbox::kOk;
        default: return msgbox::kOk;
        }
    }
    std::optional<Font> chooseFont(const Font&) override { return std::nullopt; }
    bool choosePrinter() override { return false; }
};

struct MainWindowFixture {
    FakeDialogs dialogs;
    FixedClock clock{Date{2004, 3, 9}};
    Services services;
    SettingsStore store{services};
    std::unique_ptr<Form1> form;
    int endings = 0;  // times the program was ended

    MainWindowFixture() {
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.endProgram = [this] { ++endings; };
        form = std::make_unique<Form1>(services, store);
        form->dispatch([&] { form->Load(); });
        form->setVisible(true);
        if (!form->focused()) form->dispatch([&] { form->tabForward(); });
        form->dispatch([&] { form->Activate(); });
    }

    Form1& f() { return *form; }
    // Types each character as a key press, after moving the focus there.
    void type(Control& c, const std::string& text) {
        form->userFocus(c);
        for (std::size_t pos = 0; pos < text.size();) form->userKeyPress(c, static_cast<int>(utf8::decode(text, pos)));
    }
    // Ctrl+V with text on the clipboard, after moving the focus there.
    void paste(Control& c, const std::string& text) {
        form->userFocus(c);
        form->clipboard().setText(text);
        form->userKeyDown(c, 'V', keys::kCtrlMask);
    }
    void enter(Control& c) { form->userKeyPress(c, 13); }
    void click(Control& c) { form->userClick(c); }
    std::string focus() const { return form->focused() ? form->focused()->name() : ""; }
};

}  // namespace wb::testing
