#pragma once
// A timer: fires only from the event loop (the Qt timer in the program, an
// explicit step in the scenario runner).
#include "platform/controls/control.h"

namespace wb {

class Timer : public Control {
public:
    using Control::Control;
    int interval() const { return interval_; }
    void setInterval(int ms) { interval_ = ms; changed(); }
    bool timerEnabled() const { return enabled(); }
    std::function<void()> OnTimer;
    // Called by the event loop when the interval has passed.
    void fire();

private:
    int interval_ = 0;
};

}  // namespace wb
