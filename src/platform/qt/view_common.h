#pragma once
// What every control view does: follow its model's geometry, visibility,
// enabled state, font and text colour, and redraw when the model changes.
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include "platform/controls/control.h"

namespace wb {

// A control's view: sync() shows the model again, as it is and at the view
// scale. The window calls it on every view when the scale changes.
class ControlView {
public:
    virtual ~ControlView() = default;
    virtual void sync() = 0;
};

// Applies the properties every control has. textRole is the palette role that
// carries the control's ForeColor.
void syncCommon(QWidget& view, const Control& c, QPalette::ColorRole textRole);

// Keeps a view in step with its model for as long as the view lives.
template <class View>
void follow(Control& model, View* view) {
    model.observe([p = QPointer<View>(view)] {
        if (p) p->sync();
    });
    view->sync();
}

}  // namespace wb
