#pragma once
// A picture box: paints the picture its model names, with the model's caption
// as the picture's title.
#include <QWidget>

#include "platform/controls/picture_box.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

class PictureView : public QWidget, public ControlView {
public:
    PictureView(FormWindow& window, PictureBox& model, QWidget* parent);
    void sync() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBox& model_;
};

}  // namespace wb
