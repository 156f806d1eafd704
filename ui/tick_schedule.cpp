#include "ui/tick_schedule.h"

namespace ui {

void TickSchedule::start(Nanoseconds now, std::int32_t intervalMs) {
    interval_ = Nanoseconds(intervalMs) * 1'000'000;
    next_ = now + interval_;
}

bool TickSchedule::due(Nanoseconds now) {
    if (interval_ <= 0 || now < next_) return false;
    const Nanoseconds missed = (now - next_) / interval_;
    next_ += (missed + 1) * interval_;
    return true;
}

} // namespace ui
