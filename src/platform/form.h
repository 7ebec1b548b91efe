#pragma once
// A form: its controls by name, the focus, the mouse pointer, load and activate.
// Events from user input are dispatched through the form, which contains any
// failure so that the program never ends abruptly.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/controls/control.h"

namespace wb {

namespace pointer {
constexpr int kDefault = 0, kHourglass = 11;
}

class Form {
public:
    explicit Form(std::string name);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    int clientWidth() const { return width_; }
    int clientHeight() const { return height_; }
    void setClientSize(int w, int h) { width_ = w; height_ = h; changed(); }

    bool visible() const { return visible_; }
    void setVisible(bool v) { visible_ = v; changed(); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e; changed(); }
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int p) { mousePointer_ = p; changed(); }

    // Controls register themselves when they are made.
    void add(Control* c);
    void remove(Control* c);
    Control* find(const std::string& name) const;
    const std::vector<Control*>& controls() const { return controls_; }

    Control* focused() const { return focused_; }
    // Moves the focus: LostFocus on the control that had it (a LostFocus handler
    // that moves the focus elsewhere, or keeps it, wins; it is not raised again on
    // a control whose LostFocus is running), then GotFocus on the new one. A
    // failing LostFocus does not stop the move; its failure is rethrown after.
    void moveFocus(Control* target);
    // Tab: the next usable control in tab order, no KeyPress.
    void tabForward(bool backwards = false);

    // The clipboard of the form's text boxes: one in memory unless a backend
    // is set (the Qt window sets the system clipboard).
    Clipboard& clipboard() const { return clipboard_ ? *clipboard_ : ownClipboard_; }
    void setClipboard(Clipboard* c) { clipboard_ = c; }

    std::function<void()> Load;
    std::function<void()> Activate;
    std::function<void()> Unload;
    // The user closes the window with its close button; setting cancel to
    // non-zero keeps it open.
    std::function<void(int& cancel)> QueryUnload;

    // User input: ignored by a control that is hidden or disabled (itself, a
    // container or the form); a click moves the focus where the control takes it,
    // then delivers Click (also when the previous LostFocus moved the focus
    // elsewhere). Every handler failure is contained here.
    void userClick(Control& c);
    void userFocus(Control& c);
    // Key input goes to c without moving the focus. Tab (keys::kTab) in userKeyDown
    // moves the focus in tab order (backwards with Shift) and raises no key event.
    // A control the focus reaches while key input runs (Tab, or a key handler's
    // SetFocus) hears focusedByKeyboard: a text box selects its whole text.
    void userKeyPress(Control& c, int keyAscii);
    void userKeyDown(Control& c, int keyCode, int shift);
    void userTab(bool backwards);
    void userDblClick(Control& c);
    // Focus to the grid, the current cell moves there (userMoveTo), then Click.
    void userCellClick(class Grid& g, int row, int col);
    // Runs an action and contains every failure it raises (never rethrows).
    void dispatch(const std::function<void()>& action);

    // Number of failures contained since the start (for tests), and the text of
    // the last one ("Run-time error 'N': text" for a RuntimeError).
    int containedFailures() const { return containedFailures_; }
    const std::string& lastFailure() const { return lastFailure_; }

    using Observer = std::function<void()>;
    void observe(Observer o) { observers_.push_back(std::move(o)); }

private:
    void changed();
    void keyInput(const std::function<void()>& action);
    std::string name_;
    std::string caption_;
    int width_ = 0, height_ = 0;
    bool visible_ = false;
    bool enabled_ = true;
    int mousePointer_ = pointer::kDefault;
    std::vector<Control*> controls_;
    std::map<std::string, Control*> byName_;
    Control* focused_ = nullptr;
    std::vector<Control*> leaving_;  // controls whose LostFocus is running
    unsigned focusMoves_ = 0;
    int keyInputDepth_ = 0;
    Clipboard* clipboard_ = nullptr;
    mutable MemoryClipboard ownClipboard_;
    int containedFailures_ = 0;
    std::string lastFailure_;
    std::vector<Observer> observers_;
};

}  // namespace wb
