#pragma once
// How large the forms are drawn: the view scale (qt_convert.h) at which a form
// opens, the one at which it fills a window, and the font of the dialogs at the
// view scale. The twips of the forms stay their coordinates; only the views scale.
#include <QFont>
#include <QRect>
#include <QSize>

class QStyle;

namespace wb {

// The text size of the forms at scale 1: the controls' own default font.
double baseTextPoints();

// The largest scale at which a form of this client size (twips) fits an area
// of that many pixels.
double fittingScale(int clientWidth, int clientHeight, QSize area);

// The scale at which the program opens a form of this client size: its base
// text as large as the desktop's default font, and no larger than a window with
// its frame fits into the screen's work area.
double startScale(int clientWidth, int clientHeight, const QRect& workArea);

// What a window's frame adds around its client area, as the title-bar font and
// the style suggest: the title bar's height and the width of each edge.
int titleBarHeight(const QStyle& style);
int frameEdgeWidth(const QStyle& style);

// The desktop's font at the view scale, for the message boxes and dialogs.
QFont dialogFont();

}  // namespace wb
