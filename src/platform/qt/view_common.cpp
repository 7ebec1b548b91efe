#include "platform/qt/view_common.h"

#include "platform/qt/qt_convert.h"

namespace wb {

namespace {

// A BackColor of its own fills the control (a button's face, a label's ground);
// the platform's back colour leaves the palette's.
void syncBackColor(QWidget& view, const Control& c) {
    if (c.backColor() == colors::kSystemBack) return;
    const QColor back = toQColor(c.backColor());
    QPalette palette = view.palette();
    if (palette.color(QPalette::Active, QPalette::Button) == back &&
        palette.color(QPalette::Inactive, QPalette::Window) == back)
        return;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Button, back);
        palette.setColor(group, QPalette::Window, back);
    }
    view.setPalette(palette);
    view.setAutoFillBackground(true);
}

}  // namespace

void syncCommon(QWidget& view, const Control& c, QPalette::ColorRole textRole) {
    const QRect rect = controlRect(c);
    if (view.geometry() != rect) view.setGeometry(rect);
    const QFont font = viewFont(c.font());
    if (view.font() != font) view.setFont(font);
    QPalette palette = view.palette();
    const QColor color = toQColor(c.foreColor());
    if (palette.color(QPalette::Active, textRole) != color ||
        palette.color(QPalette::Inactive, textRole) != color) {
        palette.setColor(QPalette::Active, textRole, color);
        palette.setColor(QPalette::Inactive, textRole, color);
        view.setPalette(palette);
    }
    syncBackColor(view, c);
    if (view.testAttribute(Qt::WA_Disabled) == c.enabled()) view.setEnabled(c.enabled());
    if (view.isHidden() == c.visible()) view.setVisible(c.visible());
}

}  // namespace wb
