#pragma once
#include "platform/controls/control.h"

namespace wb {

class Label : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment a) { alignment_ = a; changed(); }

private:
    std::string caption_;
    Alignment alignment_ = Alignment::Left;
};

}  // namespace wb
