// The source of ticks, for each kind of clock: schedule, restarts, stops and late ticks.
#include "ui/qt/tick_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <time.h>

#include <thread>
#include <tuple>
#include <utility>
#include <vector>

using Kind = ui::qt::TickClock::Kind;

Q_DECLARE_METATYPE(Kind)

namespace {

void runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void blockFor(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Sleeps in the event loop for `milliseconds`, using no CPU of its own.
void idleFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

class TickClockTest : public QObject {
    Q_OBJECT

private slots:
    void kinds_data() {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("kernel") << Kind::Kernel;
        QTest::newRow("Qt precise") << Kind::QtPrecise;
        QTest::newRow("Qt coarse") << Kind::QtCoarse;
    }

    void bestKindOnLinuxIsTheKernel() {
#ifdef Q_OS_LINUX
        QCOMPARE(ui::qt::TickClock::bestKind(), Kind::Kernel);
#endif
        ui::qt::TickClock clock(nullptr);
        QCOMPARE(clock.kind(), ui::qt::TickClock::bestKind());
    }

    void ticksOncePerInterval_data() {
        kinds_data();
    }
    void ticksOncePerInterval() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(40);
        QVERIFY(!clock.isActive());
        runFor(100);
        QCOMPARE(ticks, 0); // not started: no ticks
        clock.start();
        QVERIFY(clock.isActive());
        runFor(1000);
        // 25 intervals; generous bounds for a shared machine.
        QVERIFY2(ticks >= 15 && ticks <= 26, qPrintable(QString::number(ticks)));
    }

    void stopDiscardsAPendingTick_data() {
        kinds_data();
    }
    void stopDiscardsAPendingTick() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(10);
        clock.start();
        blockFor(60); // an expiry is waiting, undelivered
        clock.stop();
        runFor(100);
        QCOMPARE(ticks, 0);
        QVERIFY(!clock.isActive());
    }

    void lateTicksAreDroppedNotQueued_data() {
        kinds_data();
    }
    void lateTicksAreDroppedNotQueued() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(20);
        clock.start();
        blockFor(200); // ten intervals pass while the thread is busy
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY2(ticks <= 1, qPrintable(QString::number(ticks)));
    }

    // The window's thread stalls inside the first tick from its deadline until 20 ms
    // before the one after next: the late tick comes once, and the next one not 20 ms
    // after it but a whole timetable step later, so each letter is on screen long enough.
    void aStallNeverBringsTwoTicksClose_data() {
        kinds_data();
    }
    void aStallNeverBringsTwoTicksClose() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        std::vector<qint64> at;
        clock.onTick = [&] {
            at.push_back(ui::qt::TickClock::now());
            if (at.size() == 1) blockFor(180);
        };
        clock.setInterval(100);
        clock.start();
        runFor(750);
        clock.stop();
        QVERIFY2(at.size() >= 4, qPrintable(QString::number(at.size())));
        for (std::size_t i = 1; i < at.size(); ++i) {
            const double gapMs = double(at[i] - at[i - 1]) / 1e6;
            QVERIFY2(gapMs >= 50, qPrintable(QStringLiteral("ticks %1 and %2 only %3 ms apart")
                                                 .arg(i)
                                                 .arg(i + 1)
                                                 .arg(gapMs)));
        }
    }

    // An interval of 0 gives no deadline: the clock neither ticks nor keeps the thread busy.
    void noIntervalNeitherTicksNorSpins_data() {
        kinds_data();
    }
    void noIntervalNeitherTicksNorSpins() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(0);
        clock.start();
        const double cpu0 = threadCpuMs();
        idleFor(300);
        const double busyMs = threadCpuMs() - cpu0;
        QCOMPARE(ticks, 0);
        QVERIFY2(busyMs < 100, qPrintable(QStringLiteral("%1 ms of CPU in 300 ms").arg(busyMs)));
        clock.setInterval(50); // a real interval afterwards ticks as usual
        runFor(300);
        QVERIFY2(ticks >= 2, qPrintable(QString::number(ticks)));
    }

    void newIntervalRestartsTheWait_data() {
        kinds_data();
    }
    void newIntervalRestartsTheWait() {
        QFETCH(Kind, kind);
        ui::qt::TickClock clock(nullptr);
        clock.setKind(kind);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(300);
        clock.start();
        runFor(200);
        QElapsedTimer sinceRestart;
        clock.setInterval(300); // the wait starts again: no tick at 300 ms from the start
        sinceRestart.start();
        runFor(200);
        // The ticks the restarted timetable allows by now, within a coarse timer's slack;
        // a loaded machine may return from a wait late, so the count follows the time
        // that really passed.
        const auto allowed = [&](qint64 elapsed) {
            const qint64 slack = 40;
            return std::pair{(elapsed - slack) / 300, (elapsed + slack) / 300};
        };
        auto [fewest, most] = allowed(sinceRestart.elapsed());
        // At about 200 ms from the restart, 400 from the start: none yet.
        QVERIFY2(ticks >= fewest && ticks <= most, qPrintable(QString::number(ticks)));
        runFor(300);
        std::tie(fewest, most) = allowed(sinceRestart.elapsed());
        QVERIFY2(ticks >= std::max<qint64>(fewest, 1) && ticks <= most,
                 qPrintable(QString::number(ticks)));
        QCOMPARE(clock.interval(), 300);
    }

    void changingKindKeepsItRunning() {
        ui::qt::TickClock clock(nullptr);
        int ticks = 0;
        clock.onTick = [&] { ++ticks; };
        clock.setInterval(30);
        clock.start();
        clock.setKind(Kind::QtPrecise);
        QVERIFY(clock.isActive());
        runFor(200);
        clock.setKind(Kind::Kernel);
        runFor(200);
        QVERIFY2(ticks >= 6, qPrintable(QString::number(ticks)));
        clock.stop();
        const int stoppedAt = ticks;
        runFor(100);
        QCOMPARE(ticks, stoppedAt);
    }
};

QTEST_GUILESS_MAIN(TickClockTest)
#include "test_tick_clock.moc"
