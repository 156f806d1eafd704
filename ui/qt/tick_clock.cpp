#include "ui/qt/tick_clock.h"

#include <QSocketNotifier>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

namespace ui::qt {

namespace {

#ifdef Q_OS_LINUX
TickSchedule::Nanoseconds monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return TickSchedule::Nanoseconds(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
#endif

} // namespace

TickClock::TickClock(QObject* parent) : QObject(parent), kind_(bestKind()) {
    qtTimer_ = new QTimer(this);
    QObject::connect(qtTimer_, &QTimer::timeout, this, [this] {
        if (onTick) onTick();
    });
    setKind(kind_);
}

TickClock::~TickClock() {
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
    const bool wasActive = active_;
    if (wasActive) disarm();
#ifdef Q_OS_LINUX
    if (kind == Kind::Kernel && fd_ < 0) {
        fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd_ >= 0) {
            notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
            QObject::connect(notifier_, &QSocketNotifier::activated, this,
                             [this] { kernelExpired(); });
        }
    }
    if (kind == Kind::Kernel && fd_ < 0) kind = Kind::QtPrecise;
#else
    if (kind == Kind::Kernel) kind = Kind::QtPrecise;
#endif
    kind_ = kind;
    qtTimer_->setTimerType(kind == Kind::QtCoarse ? Qt::CoarseTimer : Qt::PreciseTimer);
    if (wasActive) arm();
}

void TickClock::start() {
    if (active_) return;
    active_ = true;
    arm();
}

void TickClock::stop() {
    if (!active_) return;
    active_ = false;
    disarm();
}

void TickClock::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    if (active_) arm();
}

void TickClock::arm() {
    if (kind_ != Kind::Kernel) {
        qtTimer_->start(interval_);
        return;
    }
#ifdef Q_OS_LINUX
    schedule_.start(monotonicNow(), interval_);
    armKernel();
    notifier_->setEnabled(true);
#endif
}

void TickClock::armKernel() {
#ifdef Q_OS_LINUX
    itimerspec deadline{};
    deadline.it_value.tv_sec = time_t(schedule_.next() / 1'000'000'000);
    deadline.it_value.tv_nsec = long(schedule_.next() % 1'000'000'000);
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &deadline, nullptr);
#endif
}

void TickClock::disarm() {
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

void TickClock::kernelExpired() {
#ifdef Q_OS_LINUX
    std::uint64_t expirations = 0;
    ssize_t got;
    while ((got = ::read(fd_, &expirations, sizeof expirations)) < 0 && errno == EINTR) {
    }
    // Nothing to read: the clock was stopped or restarted after the kernel woke us.
    if (got != sizeof expirations || expirations == 0 || !active_) return;
    const bool due = schedule_.due(monotonicNow());
    // Armed for the next deadline before the tick, which may stop or restart the clock.
    armKernel();
    if (due && onTick) onTick(); // one tick however many deadlines passed
#endif
}

} // namespace ui::qt
