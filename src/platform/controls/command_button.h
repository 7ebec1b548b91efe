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
    // Name of a standard icon ("previous", "next", "print", "about", "specs"); empty for none.
    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& p) { picture_ = p; changed(); }

private:
    std::string caption_;
    std::string picture_;
};

}  // namespace wb
