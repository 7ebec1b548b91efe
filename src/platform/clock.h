#pragma once
// Today's date, from a clock that tests can fix.
#include "platform/dates.h"

namespace wb {

class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
};

// The machine's local date.
class SystemClock : public Clock {
public:
    Date today() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(Date d) : date_(d) {}
    Date today() const override { return date_; }
    void set(Date d) { date_ = d; }
private:
    Date date_;
};

}  // namespace wb
