#pragma once
// The control model: plain objects with properties and events, shown by the Qt
// views and driven directly by tests and the scenario runner. Positions are in
// twips relative to the container. Events are synchronous.
#include <functional>
#include <string>
#include <vector>

namespace wb {

class Form;
class Panel;

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };

// Colours as 0xRRGGBB.
namespace colors {
constexpr unsigned kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF, kYellow = 0xFFFF00;
// BackColor: the platform's own background.
constexpr unsigned kSystemBack = 0xFFFFFFFFu;
}

// Key codes of KeyDown, as the runtime numbers them.
namespace keys {
constexpr int kBack = 8, kTab = 9, kReturn = 13, kEscape = 27, kPageUp = 33, kPageDown = 34,
              kEnd = 35, kHome = 36, kLeft = 37, kUp = 38, kRight = 39, kDown = 40,
              kInsert = 45, kDelete = 46;
constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
}

class Control {
public:
    Control(Form& form, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }

    Panel* container() const { return container_; }
    void setContainer(Panel* panel);

    void move(int left, int top, int width, int height);
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setWidth(int w) { move(left_, top_, w, height_); }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    // Visible (shownOnScreen) or enabled (usable) together with every container
    // up the chain and the form; a control takes input only when both hold.
    bool shownOnScreen() const;
    bool usable() const;

    const Font& font() const { return font_; }
    void setFont(const Font& f);
    unsigned foreColor() const { return foreColor_; }
    void setForeColor(unsigned c);
    unsigned backColor() const { return backColor_; }
    void setBackColor(unsigned c);

    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int i) { tabIndex_ = i; }
    // Whether the control can hold the focus at all (text boxes, buttons, check
    // boxes, grids, drive and folder lists).
    virtual bool takesFocus() const { return false; }
    bool hasFocus() const;
    // Moves the focus here; fails with 5 when the control cannot take the focus or
    // when it, a container or the form is hidden or disabled.
    void SetFocus();

    // Events.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int& keyCode, int shift)> KeyDown;

    // User input, as the views and the scenario runner deliver it (after the
    // form has moved the focus). Default processing follows the handlers.
    virtual void userClick();
    virtual void userKeyPress(int keyAscii);
    virtual void userKeyDown(int keyCode, int shift);
    // The focus arrived here by the keyboard (Tab or a key handler's move).
    virtual void focusedByKeyboard() {}

    // Views observe every change of a property.
    using Observer = std::function<void()>;
    void observe(Observer o) { observers_.push_back(std::move(o)); }

protected:
    void changed();
    // Run the key handlers and return the code they leave (0: discarded).
    int raiseKeyPress(int keyAscii);
    int raiseKeyDown(int keyCode, int shift);

private:
    friend class Panel;
    Form& form_;
    std::string name_;
    Panel* container_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    Font font_;
    unsigned foreColor_ = colors::kBlack;
    unsigned backColor_ = colors::kSystemBack;
    int tabIndex_ = 0;
    std::vector<Observer> observers_;
};

}  // namespace wb
