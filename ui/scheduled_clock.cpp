#include "ui/scheduled_clock.h"

namespace ui {

void ScheduledClock::start() {
    if (active_) return;
    active_ = true;
    arm();
}

void ScheduledClock::stop() {
    if (!active_) return;
    active_ = false;
    cancelWake();
}

void ScheduledClock::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    if (active_) arm();
}

void ScheduledClock::arm() {
    schedule_.start(time(), interval_);
    waitForNext();
}

void ScheduledClock::waitForNext() {
    if (!schedule_.hasDeadline()) {
        // No interval: nothing to wait for, and nothing may wake us in a loop.
        cancelWake();
        return;
    }
    wakeAt(schedule_.next());
}

void ScheduledClock::woken() {
    if (!active_) return;
    const bool due = schedule_.due(time());
    // Armed for the next deadline before the tick, which may stop or restart the clock.
    waitForNext();
    if (due && onTick) onTick(); // one tick however many deadlines passed
}

} // namespace ui
