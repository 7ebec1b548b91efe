#include "platform/qt/picture_view.h"

#include <QPainter>

#include "platform/qt/pictures.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

PictureView::PictureView(FormWindow&, PictureBox& model, QWidget* parent) : QWidget(parent), model_(model) {
    follow(model_, this);
}

void PictureView::sync() {
    syncCommon(*this, model_, QPalette::WindowText);
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (paintPicture(painter, rect(), model_.picture(), toQString(model_.caption()))) return;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, toQString(model_.caption()));
}

}  // namespace wb
