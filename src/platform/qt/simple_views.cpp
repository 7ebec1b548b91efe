#include "platform/qt/simple_views.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/form_window.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

LabelView::LabelView(FormWindow& window, Label& model, QWidget* parent)
    : QLabel(parent), window_(window), model_(model) {
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    follow(model_, this);
}

void LabelView::sync() {
    syncCommon(*this, model_, QPalette::WindowText);
    const QString caption = toQString(model_.caption());
    if (text() != caption) setText(caption);
    const Qt::Alignment align = toQtAlignment(model_.alignment()) | Qt::AlignTop;
    if (alignment() != align) setAlignment(align);
}

void LabelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    Form& form = window_.form();
    Label& label = model_;
    window_.deliver([&] { form.userClick(label); });
}

void LabelView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Form& form = window_.form();
    Label& label = model_;
    window_.deliver([&] { form.userDblClick(label); });
}

PanelView::PanelView(FormWindow&, wb::Panel& model, QWidget* parent) : QFrame(parent), model_(model) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    follow(model_, this);
}

void PanelView::sync() {
    syncCommon(*this, model_, QPalette::WindowText);
    const bool shown = model_.visible();
    if (shown && !shown_) raise();
    shown_ = shown;
    update();
}

void PanelView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (model_.caption().empty()) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, toQString(model_.caption()));
}

}  // namespace wb
