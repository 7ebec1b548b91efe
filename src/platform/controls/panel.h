#pragma once
// A panel: a container whose hiding or disabling hides or disables its contents.
#include "platform/controls/control.h"

namespace wb {

class Panel : public Control {
public:
    using Control::Control;
    ~Panel() override;  // its children are left without a container
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c) { caption_ = c; changed(); }
    const std::vector<Control*>& children() const { return children_; }

private:
    friend class Control;
    std::string caption_;
    std::vector<Control*> children_;
};

}  // namespace wb
