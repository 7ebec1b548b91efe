#include "platform/clock.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <vector>

namespace wb {

Date SystemClock::today() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

namespace {

// Installed clocks, the latest last; each installer takes out its own.
std::vector<const Clock*>& readingClocks() {
    static std::vector<const Clock*> clocks;
    return clocks;
}

}  // namespace

DateReadingClock::DateReadingClock(const Clock* clock) : clock_(clock) {
    if (clock_) readingClocks().push_back(clock_);
}

DateReadingClock::~DateReadingClock() {
    if (!clock_) return;
    std::vector<const Clock*>& clocks = readingClocks();
    auto it = std::find(clocks.rbegin(), clocks.rend(), clock_);
    if (it != clocks.rend()) clocks.erase(std::next(it).base());
}

Date DateReadingClock::today() {
    const std::vector<const Clock*>& clocks = readingClocks();
    return clocks.empty() ? SystemClock().today() : clocks.back()->today();
}

}  // namespace wb
