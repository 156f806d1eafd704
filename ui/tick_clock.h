// The source of the timer's ticks. Qt's timers wait in whole milliseconds, rounded up,
// so a tick comes a millisecond late on average; on Linux the kernel's own periodic
// timer (timerfd) keeps to the schedule within its wake-up latency instead. Qt's precise
// timer stands in where there is no timerfd; Qt's coarse timer is kept for comparison.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;
class QTimer;

namespace ui {

class TickClock : public QObject {
public:
    enum class Kind { Kernel, QtPrecise, QtCoarse };

    explicit TickClock(QObject* parent);
    ~TickClock() override;

    // The best kind this machine has: Kernel where a timerfd can be made.
    static Kind bestKind();
    Kind kind() const { return kind_; }
    void setKind(Kind kind);

    // A start waits a whole interval for the first tick; then one tick per interval on
    // a fixed schedule. A tick that could not be delivered in time is dropped, not queued.
    void start();
    void stop();
    bool isActive() const { return active_; }
    int interval() const { return interval_; }
    // On an active clock this restarts the schedule from now.
    void setInterval(int milliseconds);

    std::function<void()> onTick;

private:
    void arm();
    void disarm();
    void kernelExpired();

    Kind kind_;
    int interval_ = 0;
    bool active_ = false;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* qtTimer_ = nullptr;
};

} // namespace ui
