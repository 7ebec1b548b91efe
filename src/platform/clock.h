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

// The clock that gives a date text without a year its year, wherever a text is
// read as a date (parseDate): the machine's clock, or the clock of the program
// that installed one, for the installer's lifetime.
class DateReadingClock {
public:
    explicit DateReadingClock(const Clock* clock);  // nullptr installs nothing
    ~DateReadingClock();                            // takes its clock out again
    DateReadingClock(const DateReadingClock&) = delete;
    DateReadingClock& operator=(const DateReadingClock&) = delete;

    static Date today();

private:
    const Clock* clock_;
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
