// The source of ticks, for each kind of clock: schedule, restarts, stops and late ticks.
#include "ui/qt/tick_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <thread>

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
        clock.setInterval(300); // the wait starts again: no tick at 300 ms from the start
        runFor(200);
        QCOMPARE(ticks, 0);
        runFor(300);
        QCOMPARE(ticks, 1);
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
