#include "platform/qt/button_views.h"

#include <cmath>

#include "platform/qt/form_window.h"
#include "platform/qt/pictures.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

CommandButtonView::CommandButtonView(FormWindow& window, CommandButton& model, QWidget* parent)
    : QPushButton(parent), model_(model) {
    connect(this, &QPushButton::clicked, this, [&window, &model] {
        Form& form = window.form();
        window.deliver([&] { form.userClick(model); });
    });
    follow(model_, this);
}

void CommandButtonView::sync() {
    syncCommon(*this, model_, QPalette::ButtonText);
    const QString caption = toQString(model_.caption());
    if (text() != caption) setText(caption);
    if (picture_ != model_.picture()) {
        picture_ = model_.picture();
        setIcon(pictureIcon(picture_));
    }
    const QString tip = toQString(model_.toolTipText());
    if (toolTip() != tip) setToolTip(tip);
    if (!icon().isNull()) {
        const int largest = static_cast<int>(std::lround(32 * viewScale()));
        const int side = std::min(largest, std::max(8, std::min(height(), width()) - twipsToPixels(120)));
        const QSize size(side, side);
        if (iconSize() != size) setIconSize(size);
    }
}

CheckBoxView::CheckBoxView(FormWindow& window, CheckBox& model, QWidget* parent)
    : QCheckBox(parent), model_(model) {
    connect(this, &QCheckBox::clicked, this, [&window, &model] {
        Form& form = window.form();
        window.deliver([&] { form.userClick(model); });
    });
    follow(model_, this);
}

void CheckBoxView::sync() {
    syncCommon(*this, model_, QPalette::WindowText);
    const QString caption = toQString(model_.caption());
    if (text() != caption) setText(caption);
    const Qt::CheckState state = model_.value() != 0 ? Qt::Checked : Qt::Unchecked;
    if (checkState() != state) setCheckState(state);
}

}  // namespace wb
