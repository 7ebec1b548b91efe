#include "platform/qt/view_common.h"

#include "platform/qt/qt_convert.h"

namespace wb {

void syncCommon(QWidget& view, const Control& c, QPalette::ColorRole textRole) {
    const QRect rect = controlRect(c);
    if (view.geometry() != rect) view.setGeometry(rect);
    const QFont font = toQFont(c.font());
    if (view.font() != font) view.setFont(font);
    QPalette palette = view.palette();
    const QColor color = toQColor(c.foreColor());
    if (palette.color(QPalette::Active, textRole) != color ||
        palette.color(QPalette::Inactive, textRole) != color) {
        palette.setColor(QPalette::Active, textRole, color);
        palette.setColor(QPalette::Inactive, textRole, color);
        view.setPalette(palette);
    }
    if (view.testAttribute(Qt::WA_Disabled) == c.enabled()) view.setEnabled(c.enabled());
    if (view.isHidden() == c.visible()) view.setVisible(c.visible());
}

}  // namespace wb
