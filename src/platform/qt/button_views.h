#pragma once
// Command buttons (a caption in the model's colour and/or the picture the model
// names, with its tooltip) and check boxes. A click goes to the model, which
// decides: the check box never ticks itself.
#include <QCheckBox>
#include <QPushButton>

#include "platform/controls/check_box.h"
#include "platform/controls/command_button.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

class CommandButtonView : public QPushButton, public ControlView {
public:
    CommandButtonView(FormWindow& window, CommandButton& model, QWidget* parent);
    void sync() override;

private:
    CommandButton& model_;
    std::string picture_;
};

class CheckBoxView : public QCheckBox, public ControlView {
public:
    CheckBoxView(FormWindow& window, CheckBox& model, QWidget* parent);
    void sync() override;

protected:
    void nextCheckState() override {}

private:
    CheckBox& model_;
};

}  // namespace wb
