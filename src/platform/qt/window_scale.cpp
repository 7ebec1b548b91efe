#include "platform/qt/window_scale.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <algorithm>

#include "platform/controls/control.h"
#include "platform/qt/qt_convert.h"

namespace wb {

double baseTextPoints() { return Font{}.size; }

double fittingScale(int clientWidth, int clientHeight, QSize area) {
    const double width = clientWidth * screenPixelsPerTwip(), height = clientHeight * screenPixelsPerTwip();
    if (width <= 0 || height <= 0) return viewScale();
    return std::min(area.width() / width, area.height() / height);
}

double startScale(int clientWidth, int clientHeight, const QRect& workArea) {
    const double desktopPoints = QApplication::font().pointSizeF();
    const double wanted = desktopPoints > 0 ? desktopPoints / baseTextPoints() : 1.0;
    const QStyle& style = *QApplication::style();
    const int edge = frameEdgeWidth(style);
    const QSize room(workArea.width() - 2 * edge, workArea.height() - titleBarHeight(style) - 2 * edge);
    return std::min(wanted, fittingScale(clientWidth, clientHeight, room));
}

int titleBarHeight(const QStyle& style) {
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    return std::max(style.pixelMetric(QStyle::PM_TitleBarHeight), metrics.height() + 8);
}

int frameEdgeWidth(const QStyle& style) { return std::max(style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth), 4); }

QFont dialogFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(baseTextPoints() * viewScale());
    return font;
}

}  // namespace wb
