#pragma once
// Dialogs answered from the script: queued answers first, else the box's default
// button; the font and printer dialogs cancel when nothing is queued. Every box
// and dialog is reported on the output.
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace wb::scenario {

class ScriptedDialogs : public Dialogs {
public:
    explicit ScriptedDialogs(std::ostream& out) : out_(out) {}

    int MsgBox(const std::string& text, int style, const std::string& title) override;
    std::optional<Font> chooseFont(const Font& preset) override;
    bool choosePrinter() override;

    // answer: msgbox::kYes, kNo, kOk or kCancel, queued by the script at `line`.
    void queueAnswer(int answer, int line) { answers_.push_back({answer, line}); }
    void queueFont(std::optional<Font> font) { fonts_.push_back(std::move(font)); }
    void queuePrinter(bool ok) { printers_.push_back(ok); }

    // "TITLE|TEXT|STYLE" of the last box, empty before the first.
    const std::string& lastMsgBox() const { return last_; }
    int msgBoxCount() const { return count_; }

    // A queued answer that is not a button of the box it met; the runner stops
    // the script with it. Empty when all is well.
    const std::string& mismatch() const { return mismatch_; }
    int mismatchLine() const { return mismatchLine_; }

    // Queued answers no box took, reported at the end of a script.
    void reportUnused();

    static const char* answerName(int answer);

private:
    struct Queued {
        int answer;
        int line;
    };
    std::ostream& out_;
    std::deque<Queued> answers_;
    std::deque<std::optional<Font>> fonts_;
    std::deque<bool> printers_;
    std::string last_;
    int count_ = 0;
    std::string mismatch_;
    int mismatchLine_ = 0;
};

// The buttons of a message box style, left to right, as answers.
std::vector<int> buttonsOf(int style);
// The answer of the default button of a style.
int defaultAnswer(int style);

// "Arial" 10.5 bold italic
std::string describeFont(const Font& f);

}  // namespace wb::scenario
