#pragma once
// Makes the view of a control by its kind; null for controls without one.
#include <QWidget>

#include "platform/controls/control.h"

namespace wb {

class FormWindow;

QWidget* makeView(FormWindow& window, Control& c, QWidget* parent);

}  // namespace wb
