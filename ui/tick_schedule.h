// The timetable of a timer's ticks, apart from how a toolkit waits for them: a start
// waits a whole interval for the first tick, a new interval restarts the timetable from
// now, and a tick that comes too late to keep its place is dropped, never queued.
#pragma once

#include <cstdint>

namespace ui {

class TickSchedule {
public:
    // Times are nanoseconds on a monotonic clock of the binding's choosing.
    using Nanoseconds = std::int64_t;

    // Begins a timetable at `now`: the first tick is due one interval later.
    void start(Nanoseconds now, std::int32_t intervalMs);
    // The time the next tick is due.
    Nanoseconds next() const { return next_; }
    Nanoseconds interval() const { return interval_; }
    // Asked when the binding wakes at `now`: true when a tick is due. The next deadline
    // then moves to the first one after `now`, so a wake-up that missed several deadlines
    // gives one tick, not a burst.
    bool due(Nanoseconds now);

private:
    Nanoseconds interval_ = 0;
    Nanoseconds next_ = 0;
};

} // namespace ui
