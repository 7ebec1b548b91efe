#include "platform/qt/view_style.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <cmath>

#include "platform/qt/qt_convert.h"

namespace wb {

namespace {

class ScaledStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin: return static_cast<int>(std::lround(size * viewScale()));
        default: return size;
        }
    }
};

}  // namespace

QStyle* viewStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new ScaledStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

}  // namespace wb
