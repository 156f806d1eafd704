// The source of the timer's ticks, on the shared timetable whatever waits for it. On
// Linux the kernel's timerfd, armed at each absolute deadline, keeps to it within its
// wake-up latency. Qt's timers wait in whole milliseconds, rounded up, so a tick comes
// up to a millisecond late: the precise one stands in where there is no timerfd, and
// the coarse one is kept for comparison.
#pragma once

#include "ui/peers.h"
#include "ui/tick_schedule.h"

#include <QObject>

class QSocketNotifier;
class QTimer;

namespace ui::qt {

class TickClock : public QObject, public ClockPeer {
public:
    enum class Kind { Kernel, QtPrecise, QtCoarse };

    explicit TickClock(QObject* parent);
    ~TickClock() override;

    // The best kind this machine has: Kernel where a timerfd can be made.
    static Kind bestKind();
    Kind kind() const { return kind_; }
    void setKind(Kind kind);

    // A start waits a whole interval for the first tick; then one tick per interval on
    // a fixed timetable. A tick that could not be delivered in time is dropped, not queued.
    void start() override;
    void stop() override;
    bool isActive() const override { return active_; }
    int32_t interval() const override { return interval_; }
    void setInterval(int32_t milliseconds) override;

    // The clock the timetable is kept on, in nanoseconds (the kernel's monotonic clock).
    static TickSchedule::Nanoseconds now();

private:
    // How long before a deadline the kernel clock first wakes.
    static constexpr TickSchedule::Nanoseconds kWarmUp = 2'000'000;

    void arm();
    void disarm();
    void waitForNext();
    void wakeAt(TickSchedule::Nanoseconds at);
    void expired();

    Kind kind_;
    int interval_ = 0;
    bool active_ = false;
    TickSchedule schedule_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* qtTimer_ = nullptr;
};

} // namespace ui::qt
