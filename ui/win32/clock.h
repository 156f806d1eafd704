// The timer's clock: ticks on an absolute timetable from a high-resolution waitable timer,
// delivered on the window's thread. A worker thread waits on the timer and posts a message
// to the form, so ticks keep coming while a scroll bar's own modal loop runs (a wait in
// the program's own loop would not return there). A tick still waiting to be handled is
// not posted twice: a late tick is dropped, not queued.
#pragma once

#include "ui/scheduled_clock.h"
#include "ui/win32/native.h"

#include <atomic>
#include <thread>

namespace ui::win32 {

class Clock : public ScheduledClock {
public:
    Clock(HWND form, int32_t interval);
    ~Clock() override;

    // The form's kTickMessage: the timer went off.
    void expired();
    // Whether the timer took the high-resolution flag (older systems refuse it).
    bool highResolution() const { return highResolution_; }
    static TickSchedule::Nanoseconds now();

private:
    TickSchedule::Nanoseconds time() const override { return now(); }
    void wakeAt(TickSchedule::Nanoseconds deadline) override;
    void cancelWake() override { CancelWaitableTimer(timer_); }
    void wait();

    HWND form_;
    HANDLE timer_ = nullptr;
    HANDLE quit_ = nullptr;
    bool highResolution_ = false;
    std::atomic<bool> posted_{false};
    std::thread worker_;
};

} // namespace ui::win32
