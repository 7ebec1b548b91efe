#pragma once
// A picture with a caption: the view draws the picture named by `picture` and
// the caption with it (the splash window's picture).
#include "platform/controls/label.h"

namespace wb {

class PictureBox : public Label {
public:
    using Label::Label;
    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& p) { picture_ = p; changed(); }

private:
    std::string picture_;
};

}  // namespace wb
