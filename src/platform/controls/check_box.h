#pragma once
// A check box: value 1 ticked, 0 clear, 2 greyed; a click toggles it (greyed
// becomes ticked) before Click runs.
#include "platform/controls/control.h"

namespace wb {

class CheckBox : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    int value() const { return value_; }
    void setValue(int v);  // 0, 1 or 2 (greyed); fails with 380 otherwise; raises no event
    void userClick() override;
    // Space toggles the box and raises Click, as a click does.
    void userKeyPress(int keyAscii) override;

private:
    std::string caption_;
    int value_ = 0;
};

}  // namespace wb
