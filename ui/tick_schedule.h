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

    // A clock that counts in milliseconds (a browser's) hands its deadlines over as
    // next() / 1e6 and reads its time back through this: rounded to the nearest
    // nanosecond, a wake-up at the deadline handed over finds that deadline due.
    static Nanoseconds fromMilliseconds(double milliseconds);

    // Begins a timetable at `now`: the first tick is due one interval later. An interval
    // of 0 or less sets no deadline at all.
    void start(Nanoseconds now, std::int32_t intervalMs);
    // Whether there is a deadline to wait for; a clock with none neither ticks nor wakes.
    bool hasDeadline() const { return interval_ > 0; }
    // The time the next tick is due.
    Nanoseconds next() const { return next_; }
    Nanoseconds interval() const { return interval_; }
    // Asked when the binding wakes at `now`: true when a tick is due. The next deadline
    // then moves to the first one after `now` that is at least half an interval away, so
    // a late wake-up gives one tick, not a burst, and never two ticks so close together
    // that the first is shown for a frame or none. The deadlines keep their phase.
    bool due(Nanoseconds now);

private:
    Nanoseconds interval_ = 0;
    Nanoseconds next_ = 0;
};

} // namespace ui
