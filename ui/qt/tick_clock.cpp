#include "ui/qt/tick_clock.h"

#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

namespace ui::qt {

TickSchedule::Nanoseconds TickClock::now() {
    // steady_clock is CLOCK_MONOTONIC here, the clock the timerfd and Qt's timers use.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TickClock::TickClock(QObject* parent) : QObject(parent), ScheduledClock(0), kind_(bestKind()) {
    qtTimer_ = new QTimer(this);
    qtTimer_->setSingleShot(true);
    QObject::connect(qtTimer_, &QTimer::timeout, this, [this] { expired(); });
    setKind(kind_);
}

TickClock::~TickClock() {
    // The notifier watches the descriptor: it goes first, then the descriptor is closed.
    delete notifier_;
    notifier_ = nullptr;
#ifdef Q_OS_LINUX
    if (fd_ >= 0) ::close(fd_);
#endif
}

TickClock::Kind TickClock::bestKind() {
#ifdef Q_OS_LINUX
    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return Kind::Kernel;
    }
#endif
    return Kind::QtPrecise;
}

void TickClock::setKind(Kind kind) {
    const bool wasActive = isActive();
    if (wasActive) stop();
#ifdef Q_OS_LINUX
    if (kind == Kind::Kernel && fd_ < 0) {
        fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd_ >= 0) {
            notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
            notifier_->setEnabled(false);
            QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] {
                // Emptied first: a stop or restart after the kernel woke us leaves nothing.
                std::uint64_t expirations = 0;
                ssize_t got;
                while ((got = ::read(fd_, &expirations, sizeof expirations)) < 0 &&
                       errno == EINTR) {
                }
                if (got == sizeof expirations && expirations > 0) expired();
            });
        }
    }
    if (kind == Kind::Kernel && fd_ < 0) kind = Kind::QtPrecise;
#else
    if (kind == Kind::Kernel) kind = Kind::QtPrecise;
#endif
    kind_ = kind;
    qtTimer_->setTimerType(kind == Kind::QtCoarse ? Qt::CoarseTimer : Qt::PreciseTimer);
    if (wasActive) start(); // a new timetable from now
}

void TickClock::wakeAt(TickSchedule::Nanoseconds deadline) {
    if (kind_ != Kind::Kernel) {
        // Qt waits whole milliseconds; an early wake-up only arms the rest of the wait.
        const TickSchedule::Nanoseconds left = deadline - now();
        qtTimer_->start(int(left <= 0 ? 0 : (left + 999'999) / 1'000'000));
        return;
    }
    // Woken a little early first: the way from the kernel's wake-up to the tick, cold
    // after a long sleep, is then fresh when the deadline itself comes.
    const TickSchedule::Nanoseconds early = deadline - kWarmUp;
    kernelWakeAt(early > now() ? early : deadline);
}

void TickClock::kernelWakeAt(TickSchedule::Nanoseconds at) {
#ifdef Q_OS_LINUX
    itimerspec deadline{};
    deadline.it_value.tv_sec = time_t(at / 1'000'000'000);
    deadline.it_value.tv_nsec = long(at % 1'000'000'000);
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &deadline, nullptr);
    notifier_->setEnabled(true);
#else
    (void)at;
#endif
}

void TickClock::cancelWake() {
    qtTimer_->stop();
#ifdef Q_OS_LINUX
    if (fd_ < 0) return;
    const itimerspec off{};
    timerfd_settime(fd_, 0, &off, nullptr);
    // An expiry that came before the stop is not a tick of the next run.
    std::uint64_t expirations = 0;
    while (::read(fd_, &expirations, sizeof expirations) < 0 && errno == EINTR) {
    }
    notifier_->setEnabled(false);
#endif
}

void TickClock::expired() {
    if (!isActive()) return;
    if (kind_ == Kind::Kernel && now() < deadline()) {
        kernelWakeAt(deadline()); // the early wake-up: now the deadline itself
        return;
    }
    woken();
}

} // namespace ui::qt
