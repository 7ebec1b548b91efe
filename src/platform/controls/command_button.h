#pragma once
// A push button; many serve only as captions. A picture button names its icon.
#include "platform/controls/control.h"

namespace wb {

class CommandButton : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    // Name of the button's picture ("previous", "next", "specs", "logbook", "about",
    // "equipment-change", "weight-and-balance", "printer"); empty for none.
    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& p) { picture_ = p; changed(); }
    // Shown when the pointer rests on the button.
    const std::string& toolTipText() const { return toolTipText_; }
    void setToolTipText(const std::string& t) { toolTipText_ = t; changed(); }

private:
    std::string caption_;
    std::string picture_;
    std::string toolTipText_;
};

}  // namespace wb
