#include "ui/win32/clock.h"

namespace ui::win32 {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

Clock::Clock(HWND form, int32_t interval) : form_(form), interval_(interval) {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
    highResolution_ = timer_ != nullptr;
    if (!timer_) timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    worker_ = std::thread([this] { wait(); });
}

Clock::~Clock() {
    SetEvent(quit_);
    worker_.join();
    CloseHandle(timer_);
    CloseHandle(quit_);
}

TickSchedule::Nanoseconds Clock::now() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return TickSchedule::Nanoseconds(double(counter.QuadPart) * 1e9 / double(frequency));
}

void Clock::wait() {
    const HANDLE handles[] = {quit_, timer_};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        // One message at a time: while one waits in the queue, another would only queue up.
        if (!posted_.exchange(true)) PostMessageW(form_, kTickMessage, 0, 0);
    }
}

void Clock::arm() {
    if (!schedule_.hasDeadline()) {
        // No interval: nothing to wait for, and nothing may wake us in a loop.
        CancelWaitableTimer(timer_);
        return;
    }
    const TickSchedule::Nanoseconds left = schedule_.next() - now();
    LARGE_INTEGER due;
    due.QuadPart = -std::max<LONGLONG>(left / 100, 1); // relative, in 100 ns units
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
}

void Clock::start() {
    if (active_) return;
    active_ = true;
    schedule_.start(now(), interval_);
    arm();
}

void Clock::stop() {
    if (!active_) return;
    active_ = false;
    CancelWaitableTimer(timer_);
}

void Clock::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    if (!active_) return;
    schedule_.start(now(), interval_);
    arm();
}

void Clock::expired() {
    posted_ = false;
    if (!active_) return;
    const bool due = schedule_.due(now());
    // Armed for the next deadline before the tick, which may stop or restart the clock.
    arm();
    if (due && onTick) onTick(); // one tick however many deadlines passed
}

} // namespace ui::win32
