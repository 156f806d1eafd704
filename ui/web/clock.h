// The timer's clock in the page: ticks kept to absolute deadlines of the shared timetable on
// performance.now(). The page wakes it a little before each deadline and waits out the
// rest, so a tick starts within a fraction of a millisecond of its deadline, never before.
#pragma once

#include "ui/peers.h"
#include "ui/tick_schedule.h"
#include "ui/web/element.h"

namespace ui::web {

class Clock : public ClockPeer, public Element {
public:
    explicit Clock(int32_t interval) : interval_(interval) {}
    ~Clock() override;

    void start() override;
    void stop() override;
    bool isActive() const override { return active_; }
    int32_t interval() const override { return interval_; }
    void setInterval(int32_t milliseconds) override;

    // The page woke us at or after the deadline asked for.
    void expired() override;
    static TickSchedule::Nanoseconds now();

private:
    void arm();
    void waitForNext();

    int32_t interval_;
    bool active_ = false;
    TickSchedule schedule_;
};

} // namespace ui::web
