// A clock on the shared timetable: it starts, stops and restarts the timetable and decides
// when a wake-up is a tick; a binding gives it the time and a wake-up at a deadline.
#pragma once

#include "ui/peers.h"
#include "ui/tick_schedule.h"

namespace ui {

class ScheduledClock : public ClockPeer {
public:
    explicit ScheduledClock(int32_t interval) : interval_(interval) {}
    // A start waits a whole interval for the first tick; then one tick per interval on a
    // fixed timetable. A tick that could not be delivered in time is dropped, not queued.
    void start() override;
    void stop() override;
    bool isActive() const override { return active_; }
    int32_t interval() const override { return interval_; }
    void setInterval(int32_t milliseconds) override;

protected:
    // The binding woke at or after the deadline it was given: a tick if one is due.
    void woken();
    TickSchedule::Nanoseconds deadline() const { return schedule_.next(); }

private:
    // The time on the binding's monotonic clock.
    virtual TickSchedule::Nanoseconds time() const = 0;
    // Calls woken() once `deadline` has come; cancelWake(): no wake-up is wanted.
    virtual void wakeAt(TickSchedule::Nanoseconds deadline) = 0;
    virtual void cancelWake() = 0;
    void arm();
    void waitForNext();

    int32_t interval_;
    bool active_ = false;
    TickSchedule schedule_;
};

} // namespace ui
