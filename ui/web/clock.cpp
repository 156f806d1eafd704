#include "ui/web/clock.h"

#include <emscripten.h>

namespace ui::web {

TickSchedule::Nanoseconds Clock::now() {
    return TickSchedule::fromMilliseconds(emscripten_get_now());
}

void Clock::start() {
    if (active_) return;
    active_ = true;
    arm();
}

void Clock::stop() {
    if (!active_) return;
    active_ = false;
    page::cancelWake(handle());
}

void Clock::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    if (active_) arm();
}

void Clock::arm() {
    schedule_.start(now(), interval_);
    waitForNext();
}

void Clock::waitForNext() {
    if (!schedule_.hasDeadline()) {
        page::cancelWake(handle()); // no interval: nothing to wait for
        return;
    }
    page::wakeAt(handle(), double(schedule_.next()) / 1e6);
}

void Clock::expired() {
    if (!active_) return;
    const bool due = schedule_.due(now());
    // Armed for the next deadline before the tick, which may stop or restart the clock.
    waitForNext();
    if (due && onTick) onTick(); // one tick however many deadlines passed
}

} // namespace ui::web
