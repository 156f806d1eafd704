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

void Clock::wakeAt(TickSchedule::Nanoseconds deadline) {
    kw_wake_at(handle(), double(deadline) / 1e6);
}

void Clock::cancelWake() {
    kw_cancel_wake(handle());
}

} // namespace ui::web
