// Timing of the Windows program's clock: drives the real Win32 form with the real clock and
// measures how well the ticks keep to their timetable, beside SetTimer in the same run.
// Under Wine these figures show the logic, not a Windows PC: Wine's timers are not Windows'.
#include "../tests/scripted_random.h"
#include "app/kestramo.h"
#include "ui/win32/clock.h"
#include "ui/win32/window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using ui::win32::Clock;

struct Figures {
    const char* name;
    const char* clock;
    std::vector<double> errorMs; // onset minus its place in the timetable
};

double quantile(std::vector<double> v, double q) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const double at = q * double(v.size() - 1);
    const auto below = std::size_t(std::floor(at));
    const auto above = std::min(below + 1, v.size() - 1);
    return v[below] + (v[above] - v[below]) * (at - double(below));
}

void pumpUntil(const std::function<bool()>& done, int limitMs) {
    const auto end = Clock::now() + std::int64_t(limitMs) * 1'000'000;
    while (!done() && Clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// One run of the form's own clock: the timetable restarts at every start or new interval.
Figures formRun(Kestramo& form, testing_support::ScriptedDraws& draws, const char* name,
                int16_t test, int16_t speed, const std::vector<char>& letters) {
    Figures f{name, "waitable", {}};
    std::int64_t origin = 0, interval = 0, index = 0;
    form.Timer1.onSchedule = [&] {
        origin = Clock::now();
        index = 0;
    };
    auto tick = form.Timer1.onTimer;
    form.Timer1.onTimer = [&] {
        const std::int64_t now = Clock::now();
        interval = std::int64_t(form.Timer1.Interval()) * 1'000'000;
        ++index;
        f.errorMs.push_back(double(now - (origin + index * interval)) / 1e6);
        tick();
    };
    form.Option1_Click(test);
    draws->push(0.5f);
    for (char c : letters)
        draws->push(testing_support::letter(c));
    form.Command1_Click(0);
    form.HScroll1.Value(speed);
    pumpUntil([&] { return !form.Timer1.Enabled(); }, 120000);
    form.Timer1.onTimer = tick;
    form.Timer1.onSchedule = nullptr;
    return f;
}

// The same number of ticks from SetTimer, measured against the same kind of timetable.
Figures setTimerRun(const char* name, int intervalMs, int ticks) {
    static Figures* current = nullptr;
    static std::int64_t origin = 0, interval = 0, index = 0, wanted = 0;
    static Figures f{name, "SetTimer", {}};
    f = Figures{name, "SetTimer", {}};
    current = &f;
    origin = Clock::now();
    interval = std::int64_t(intervalMs) * 1'000'000;
    index = 0;
    wanted = ticks;
    const UINT_PTR id = SetTimer(nullptr, 0, UINT(intervalMs), [](HWND, UINT, UINT_PTR, DWORD) {
        ++index;
        current->errorMs.push_back(double(Clock::now() - (origin + index * interval)) / 1e6);
    });
    pumpUntil([] { return index >= wanted; }, 120000);
    KillTimer(nullptr, id);
    return f;
}

void print(const Figures& f) {
    std::vector<double> magnitude;
    int early = 0;
    for (double e : f.errorMs) {
        magnitude.push_back(std::abs(e));
        early += e < -0.05;
    }
    std::printf("%-26s %-9s %5zu %8.3f %8.3f %8.3f %8.3f %6d\n", f.name, f.clock, f.errorMs.size(),
                quantile(magnitude, 0.5), quantile(magnitude, 0.99),
                magnitude.empty() ? NAN : *std::max_element(magnitude.begin(), magnitude.end()),
                f.errorMs.empty() ? NAN : f.errorMs.back(), early);
}

} // namespace

int main() {
    testing_support::ScriptedDraws draws;
    ui::win32::FormWindow window;
    Kestramo form(window);
    window.showCentred();
    std::printf("Kestramo timing under Wine (Wine is not Windows), clock with%s the "
                "high-resolution flag\n",
                window.clock().highResolution() ? "" : "out");
    std::printf("|onset error| against the timetable, ms; drift: the last tick's error\n");
    std::printf("%-26s %-9s %5s %8s %8s %8s %8s %6s\n", "run", "clock", "ticks", "median", "p99",
                "max", "drift", "early");
    std::vector<char> longest;
    for (int round = 0; round < 9; ++round)
        for (char c = 'A'; c <= 'Z'; ++c)
            longest.push_back(c);
    longest.push_back('Z');
    print(formRun(form, draws, "text test at 400 ms", 0, 0, {}));
    print(setTimerRun("text test at 400 ms", 400, 43));
    print(formRun(form, draws, "letter test at 100 ms", 1, 100, longest));
    print(setTimerRun("letter test at 100 ms", 100, 235));
    return 0;
}
