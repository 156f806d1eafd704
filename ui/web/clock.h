// The timer's clock in the page: ticks kept to absolute deadlines of the shared timetable on
// performance.now(). The page wakes it a little before each deadline and waits out the
// rest, so a tick starts within a fraction of a millisecond of its deadline, never before.
#pragma once

#include "ui/scheduled_clock.h"
#include "ui/web/element.h"

namespace ui::web {

class Clock : public ScheduledClock, public Element {
public:
    explicit Clock(int32_t interval) : ScheduledClock(interval) {}
    ~Clock() override;
    // The page woke us at or after the deadline asked for.
    void expired() override { woken(); }
    static TickSchedule::Nanoseconds now();

private:
    TickSchedule::Nanoseconds time() const override { return now(); }
    void wakeAt(TickSchedule::Nanoseconds deadline) override;
    void cancelWake() override;
};

} // namespace ui::web
