#include "ui/tick_schedule.h"

#include <cmath>

namespace ui {

TickSchedule::Nanoseconds TickSchedule::fromMilliseconds(double milliseconds) {
    return Nanoseconds(std::llround(milliseconds * 1e6));
}

void TickSchedule::start(Nanoseconds now, std::int32_t intervalMs) {
    interval_ = intervalMs > 0 ? Nanoseconds(intervalMs) * 1'000'000 : 0;
    next_ = now + interval_;
}

bool TickSchedule::due(Nanoseconds now) {
    if (!hasDeadline() || now < next_) return false;
    const Nanoseconds missed = (now - next_) / interval_;
    next_ += (missed + 1) * interval_;
    // A deadline less than half an interval after a late tick is dropped as well: a
    // letter shown that briefly could not be seen, yet would be counted.
    if (next_ - now < interval_ / 2) next_ += interval_;
    return true;
}

} // namespace ui
