#include "ui/web/clock.h"

#include <emscripten.h>

// The page wakes the clock with expired() once performance.now() reaches the deadline.
// clang-format off
EM_JS(void, kw_wake_at, (int handle, double deadline), { KestramoClock.wakeAt(handle, deadline); });
EM_JS(void, kw_cancel_wake, (int handle), { KestramoClock.cancelWake(handle); });
// clang-format on

namespace ui::web {

Clock::~Clock() {
    kw_cancel_wake(handle());
}

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
    kw_cancel_wake(handle());
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
        kw_cancel_wake(handle()); // no interval: nothing to wait for
        return;
    }
    kw_wake_at(handle(), double(schedule_.next()) / 1e6);
}

void Clock::expired() {
    if (!active_) return;
    const bool due = schedule_.due(now());
    // Armed for the next deadline before the tick, which may stop or restart the clock.
    waitForNext();
    if (due && onTick) onTick(); // one tick however many deadlines passed
}

} // namespace ui::web
