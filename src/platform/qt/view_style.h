#pragma once
// The style of the control views: the application's style, with the parts it
// sizes by itself (a check box's indicator, a scroll bar's width) at the view
// scale, so that the whole form scales.
#include <QStyle>

namespace wb {

// One for every view; it lives as long as the application.
QStyle* viewStyle();

}  // namespace wb
