#include "platform/qt/timer_driver.h"

#include "platform/qt/form_window.h"
#include "platform/qt/view_common.h"

namespace wb {

TimerDriver::TimerDriver(FormWindow& window, Timer& model) : window_(window), model_(model) {
    // A coarse timer may fire 5% of its interval early or late: the splash
    // window's 1,500 ms would end anywhere from 1,425 to 1,575 ms.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        Timer& t = model_;
        Form& form = window_.form();
        window_.deliver([&] { form.dispatch([&] { t.fire(); }); });
    });
    follow(model_, this);
}

void TimerDriver::sync() {
    if (!window_.attached()) return;
    const bool armed = model_.timerEnabled() && model_.interval() > 0;
    if (armed == armed_ && model_.interval() == interval_) return;
    armed_ = armed;
    interval_ = model_.interval();
    if (armed)
        timer_.start(interval_);
    else
        timer_.stop();
}

}  // namespace wb
