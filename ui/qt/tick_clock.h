// The source of the timer's ticks, on the shared timetable whatever waits for it. On
// Linux the kernel's timerfd, armed at each absolute deadline, keeps to it within its
// wake-up latency. Qt's timers wait in whole milliseconds, rounded up, so a tick comes
// up to a millisecond late: the precise one stands in where there is no timerfd, and
// the coarse one is kept for comparison.
#pragma once

#include "ui/scheduled_clock.h"

#include <QObject>

class QSocketNotifier;
class QTimer;

namespace ui::qt {

class TickClock : public QObject, public ScheduledClock {
public:
    enum class Kind { Kernel, QtPrecise, QtCoarse };

    explicit TickClock(QObject* parent);
    ~TickClock() override;

    // The best kind this machine has: Kernel where a timerfd can be made.
    static Kind bestKind();
    Kind kind() const { return kind_; }
    void setKind(Kind kind);

    // The clock the timetable is kept on, in nanoseconds (the kernel's monotonic clock).
    static TickSchedule::Nanoseconds now();

private:
    // How long before a deadline the kernel clock first wakes.
    static constexpr TickSchedule::Nanoseconds kWarmUp = 2'000'000;

    TickSchedule::Nanoseconds time() const override { return now(); }
    void wakeAt(TickSchedule::Nanoseconds deadline) override;
    void cancelWake() override;
    void kernelWakeAt(TickSchedule::Nanoseconds at);
    void expired();

    Kind kind_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* qtTimer_ = nullptr;
};

} // namespace ui::qt
