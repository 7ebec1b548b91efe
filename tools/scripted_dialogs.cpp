#include "scripted_dialogs.h"

#include <algorithm>

#include "quoting.h"
#include "platform/numbers.h"

namespace wb::scenario {

namespace {
constexpr int kAbort = 3, kRetry = 4, kIgnore = 5;
}

std::vector<int> buttonsOf(int style) {
    using namespace msgbox;
    switch (style & 7) {
    case 1: return {kOk, kCancel};
    case 2: return {kAbort, kRetry, kIgnore};
    case 3: return {kYes, kNo, kCancel};
    case 4: return {kYes, kNo};
    case 5: return {kRetry, kCancel};
    default: return {kOk};
    }
}

int defaultAnswer(int style) {
    std::vector<int> buttons = buttonsOf(style);
    size_t index = static_cast<size_t>((style >> 8) & 3);
    return buttons[std::min(index, buttons.size() - 1)];
}

const char* ScriptedDialogs::answerName(int answer) {
    switch (answer) {
    case msgbox::kOk: return "OK";
    case msgbox::kCancel: return "Cancel";
    case kAbort: return "Abort";
    case kRetry: return "Retry";
    case kIgnore: return "Ignore";
    case msgbox::kYes: return "Yes";
    case msgbox::kNo: return "No";
    default: return "?";
    }
}

int ScriptedDialogs::MsgBox(const std::string& text, int style, const std::string& title) {
    ++count_;
    last_ = title + "|" + text + "|" + std::to_string(style);
    int answer = defaultAnswer(style);
    if (!answers_.empty()) {
        Queued q = answers_.front();
        answers_.pop_front();
        std::vector<int> buttons = buttonsOf(style);
        if (std::find(buttons.begin(), buttons.end(), q.answer) != buttons.end()) {
            answer = q.answer;
        } else if (mismatch_.empty()) {
            mismatch_ = std::string("answer ") + answerName(q.answer) +
                        " is not a button of the message box " + quoted(title);
            mismatchLine_ = q.line;
        }
    }
    out_ << "msgbox " << quoted(title) << " " << quoted(text) << " " << style << " -> "
         << answerName(answer) << "\n";
    return answer;
}

std::string describeFont(const Font& f) {
    std::string s = quoted(f.name) + " " + numberToText(f.size);
    if (f.bold) s += " bold";
    if (f.italic) s += " italic";
    return s;
}

std::optional<Font> ScriptedDialogs::chooseFont(const Font& preset) {
    std::optional<Font> answer;
    if (!fonts_.empty()) {
        answer = fonts_.front();
        fonts_.pop_front();
    }
    out_ << "fontdialog " << describeFont(preset) << " -> "
         << (answer ? describeFont(*answer) : std::string("cancel")) << "\n";
    return answer;
}

bool ScriptedDialogs::choosePrinter() {
    bool ok = false;
    if (!printers_.empty()) {
        ok = printers_.front();
        printers_.pop_front();
    }
    out_ << "printerdialog -> " << (ok ? "ok" : "cancel") << "\n";
    return ok;
}

void ScriptedDialogs::reportUnused() {
    for (const Queued& q : answers_)
        out_ << "unused: answer " << answerName(q.answer) << " (line " << q.line << ")\n";
    answers_.clear();
    for (const auto& f : fonts_)
        out_ << "unused: fontdialog " << (f ? describeFont(*f) : std::string("cancel")) << "\n";
    fonts_.clear();
    for (bool ok : printers_) out_ << "unused: printerdialog " << (ok ? "ok" : "cancel") << "\n";
    printers_.clear();
}

}  // namespace wb::scenario
