#pragma once
// Labels and panels. A panel is a frame whose children are the views of the
// controls it contains, so hiding or disabling it hides or disables them; a
// panel that is shown comes to the front of its siblings.
#include <QFrame>
#include <QLabel>

#include "platform/controls/label.h"
#include "platform/controls/panel.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

class LabelView : public QLabel, public ControlView {
public:
    LabelView(FormWindow& window, Label& model, QWidget* parent);
    void sync() override;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FormWindow& window_;
    Label& model_;
};

class PanelView : public QFrame, public ControlView {
public:
    PanelView(FormWindow& window, wb::Panel& model, QWidget* parent);
    void sync() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    wb::Panel& model_;
    bool shown_ = false;
};

}  // namespace wb
