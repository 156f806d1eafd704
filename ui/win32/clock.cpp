#include "ui/win32/clock.h"

#include <algorithm>

namespace ui::win32 {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

Clock::Clock(HWND form, int32_t interval) : ScheduledClock(interval), form_(form) {
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

void Clock::wakeAt(TickSchedule::Nanoseconds deadline) {
    const TickSchedule::Nanoseconds left = deadline - now();
    LARGE_INTEGER due;
    due.QuadPart = -std::max<LONGLONG>(left / 100, 1); // relative, in 100 ns units
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
}

void Clock::expired() {
    posted_ = false;
    woken();
}

} // namespace ui::win32
