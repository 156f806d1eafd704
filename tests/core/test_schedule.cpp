// The timetable of the ticks: a start waits a whole interval, a new interval restarts the
// timetable, a late wake-up gives one tick and the missed ones are dropped.
#include "ui/headless/window.h"
#include "ui/tick_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

using ui::TickSchedule;
constexpr TickSchedule::Nanoseconds ms = 1'000'000;

TEST(TickSchedule, WakeUps) {
    const struct {
        const char* name;
        TickSchedule::Nanoseconds wake; // after a start at 1000 ms with a 400 ms interval
        bool due;
        TickSchedule::Nanoseconds next;
    } rows[] = {
        {"a start waits a whole interval", 1399 * ms, false, 1400 * ms},
        {"on the deadline", 1400 * ms, true, 1800 * ms},
        {"a little late keeps the timetable", 1403 * ms, true, 1800 * ms},
        {"late by half an interval: the next is still half away", 1600 * ms, true, 1800 * ms},
        {"later: the deadline too near is dropped", 1601 * ms, true, 2200 * ms},
        {"just before the next deadline: not two ticks 1 ms apart", 1799 * ms, true, 2200 * ms},
        {"two deadlines missed: one tick", 2250 * ms, true, 2600 * ms},
        {"two missed, woken near the third", 2550 * ms, true, 3000 * ms},
        {"exactly on a later deadline", 2200 * ms, true, 2600 * ms},
    };
    for (const auto& row : rows) {
        TickSchedule schedule;
        schedule.start(1000 * ms, 400);
        EXPECT_EQ(schedule.due(row.wake), row.due) << row.name;
        EXPECT_EQ(schedule.next(), row.next) << row.name;
    }
}

// Wakes at every deadline, each late by a made-up stall: whatever the stalls, ticks stay
// at least half an interval apart, each deadline stays on the start's phase, and a wake on
// time after the stalls is a tick on time.
TEST(TickSchedule, StallsNeverBringTwoTicksClose) {
    for (const int interval : {100, 250, 400}) {
        const TickSchedule::Nanoseconds step = interval * ms;
        std::uint32_t seed = 12345u + unsigned(interval);
        TickSchedule schedule;
        schedule.start(0, interval);
        TickSchedule::Nanoseconds last = -step;
        for (int i = 0; i < 2000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            // Late by 0 up to 2.5 intervals: small lateness mostly, some long stalls.
            const auto late =
                TickSchedule::Nanoseconds(seed >> 8) % (5 * step / 2) * ((seed & 3) == 0 ? 1 : 0);
            const TickSchedule::Nanoseconds wake = schedule.next() + late;
            ASSERT_TRUE(schedule.due(wake));
            EXPECT_GE(wake - last, step / 2) << "interval " << interval << ", wake " << i;
            EXPECT_EQ(schedule.next() % step, 0) << "phase lost at wake " << i;
            EXPECT_GT(schedule.next(), wake);
            last = wake;
        }
        const TickSchedule::Nanoseconds onTime = schedule.next();
        EXPECT_TRUE(schedule.due(onTime));
        EXPECT_EQ(schedule.next(), onTime + step);
    }
}

TEST(TickSchedule, EarlyWakeUpChangesNothing) {
    TickSchedule schedule;
    schedule.start(0, 100);
    EXPECT_TRUE(schedule.due(100 * ms));
    EXPECT_FALSE(schedule.due(150 * ms));
    EXPECT_EQ(schedule.next(), 200 * ms);
}

// A browser's clock: the deadline crosses as milliseconds in a double, and the time read
// when the page wakes exactly then must find it due, not a nanosecond short of it.
TEST(TickSchedule, MillisecondClockFindsItsDeadlineDue) {
    std::mt19937_64 random(20261209);
    // Up to eleven days of a page left open, at every scale of the nanoseconds.
    std::uniform_int_distribution<TickSchedule::Nanoseconds> deadlines(0, 1'000'000'000'000'000);
    int short_of_it = 0;
    for (int i = 0; i < 200'000; ++i) {
        const TickSchedule::Nanoseconds deadline = deadlines(random);
        const double handedOver = double(deadline) / 1e6;
        const TickSchedule::Nanoseconds woken = TickSchedule::fromMilliseconds(handedOver);
        if (woken < deadline) ++short_of_it;
        EXPECT_LE(woken - deadline, 1) << deadline; // and no later than the rounding
    }
    EXPECT_EQ(short_of_it, 0);
}

TEST(TickSchedule, NoIntervalSetsNoDeadline) {
    for (const int interval : {0, -5}) {
        TickSchedule schedule;
        EXPECT_FALSE(schedule.hasDeadline());
        schedule.start(7 * ms, interval);
        EXPECT_FALSE(schedule.hasDeadline()) << interval;
        EXPECT_FALSE(schedule.due(1'000'000 * ms)) << interval;
    }
}

TEST(HeadlessClock, TicksKeepToTheTimetable) {
    ui::headless::Clock clock({.interval = 400});
    int ticks = 0;
    clock.onTick = [&] { ++ticks; };
    EXPECT_EQ(clock.advance(1000), 0); // stopped: nothing
    clock.start();
    EXPECT_EQ(clock.advance(399), 0);
    EXPECT_EQ(clock.advance(1), 1);
    EXPECT_EQ(clock.advance(1200), 3);
    EXPECT_EQ(ticks, 4);
}

TEST(HeadlessClock, NewIntervalRestartsFromNow) {
    ui::headless::Clock clock({.interval = 400});
    clock.start();
    clock.advance(300);
    clock.setInterval(100); // the next tick is one new interval from now, not from the start
    EXPECT_EQ(clock.advance(99), 0);
    EXPECT_EQ(clock.advance(1), 1);
    EXPECT_EQ(clock.advance(500), 5);
}

TEST(HeadlessClock, LateWakeUpDropsMissedTicks) {
    ui::headless::Clock clock({.interval = 100});
    clock.start();
    EXPECT_EQ(clock.wakeLate(450), 1); // four deadlines passed, one tick
    EXPECT_EQ(clock.advance(49), 0);   // the timetable holds: next at 500
    EXPECT_EQ(clock.advance(1), 1);
}

TEST(HeadlessClock, NoIntervalNeitherTicksNorSpins) {
    ui::headless::Clock clock({.interval = 0});
    clock.start();
    EXPECT_EQ(clock.advance(1000), 0);
    EXPECT_EQ(clock.runToTheEnd(), 0);
    clock.setInterval(100);
    EXPECT_EQ(clock.advance(250), 2);
}

TEST(HeadlessClock, StopInsideATickStopsAtOnce) {
    ui::headless::Clock clock({.interval = 100});
    int ticks = 0;
    clock.onTick = [&] {
        if (++ticks == 3) clock.stop();
    };
    clock.start();
    EXPECT_EQ(clock.advance(10000), 3);
    EXPECT_FALSE(clock.isActive());
}

} // namespace
