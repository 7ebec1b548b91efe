#pragma once
// A check box: value 1 ticked, 0 clear; a click toggles it before Click runs.
#include "platform/controls/control.h"

namespace wb {

class CheckBox : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    int value() const { return value_; }
    void setValue(int v);
    void userClick() override;

private:
    std::string caption_;
    int value_ = 0;
};

}  // namespace wb
