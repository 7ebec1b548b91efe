#include "platform/controls/timer.h"

namespace wb {

void Timer::fire() {
    if (timerEnabled() && OnTimer) OnTimer();
}

}  // namespace wb
