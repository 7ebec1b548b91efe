#pragma once
// Runs a Timer control on a precise QTimer: counting while the model is enabled
// with a positive interval, restarted when either changes, firing through its
// window.
#include <QTimer>

#include "platform/controls/timer.h"

namespace wb {

class FormWindow;

class TimerDriver : public QObject {
public:
    TimerDriver(FormWindow& window, Timer& model);
    void sync();
    void stop() { timer_.stop(); }
    bool running() const { return timer_.isActive(); }

private:
    FormWindow& window_;
    Timer& model_;
    QTimer timer_;
    bool armed_ = false;
    int interval_ = 0;
};

}  // namespace wb
