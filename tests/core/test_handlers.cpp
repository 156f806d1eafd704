// The handlers on the headless binding: start-up, both tests end to end with scripted
// draws, the stop rules, the choice of test, the lookup, the slider's change rules and
// the run-time error reported once.
#include "../scripted_random.h"
#include "app/kestramo.h"
#include "ui/headless/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::drawFor;
using testing_support::letter;
using testing_support::ScriptedDraws;

constexpr ui::Colour kStartGreen{30, 230, 30};
constexpr ui::Colour kGreen{100, 230, 30};
constexpr ui::Colour kRed{230, 30, 30};

// The window and the form bound to it, with the draws scripted before the form loads.
struct Session {
    ScriptedDraws draws;
    ui::headless::Window window;
    Kestramo form{window};

    void start() { window.button(0).click(); }
    void clear() { window.button(1).click(); }
    void choose(int16_t test) { window.option(test).click(); }
    // One tick, as the clock delivers it.
    void tick() { window.clock().onTick(); }
    int tickToTheEnd(int limit = 300) {
        int ticks = 0;
        while (form.Timer1.Enabled() && ticks < limit) {
            tick();
            ++ticks;
        }
        return ticks;
    }
    std::u16string counter() const { return form.Label1[3].Caption(); }
    std::u16string cover() const { return form.Label1[2].Caption(); }
};

// What a screen reader is told: the start and end of a run and a lookup's answer, once
// each and never on a tick; the proverb read only once the cover no longer hides it.
TEST(Readers, StartEndAndLookupAreAnnouncedOnce) {
    Session r;
    r.draws->push(drawFor(3)); // the proverb, then the letters
    r.draws->push(letter('K'));
    for (int i = 0; i < 10; ++i)
        r.draws->push(letter('A'));
    auto& heard = r.window.announcements;
    EXPECT_TRUE(heard.empty()); // nothing at load
    r.choose(1);
    r.start();
    EXPECT_EQ(heard, std::vector<std::u16string>{u"Тестът „Знак“ започна, 400 мс на стъпка."});
    r.window.slider().userSet(100);
    const int ticks = r.tickToTheEnd();
    ASSERT_EQ(ticks, 11);
    ASSERT_EQ(heard.size(), 2u); // no word on any of the 11 ticks
    EXPECT_EQ(heard[1], u"Тестът „Знак“ свърши след 11 стъпки. Изберете буква от списъка, "
                        u"за да видите колко пъти е показана.");
    for (const auto& [row, answer] : std::vector<std::pair<int, std::u16string>>{
             {10, u"K = 1"}, {0, u"A = 10"}, {2, u"C = 0"}}) {
        ASSERT_TRUE(r.window.list(1).select(row));
        EXPECT_EQ(heard.back(), answer);
    }
    EXPECT_EQ(heard.size(), 5u);
    // The last answer is found again on the list itself, and is gone with the list.
    const std::u16string role = u"Изберете буква, за да видите колко пъти е показана";
    EXPECT_EQ(r.window.list(1).accessibleDescription, u"C = 0. " + role);
    r.clear();
    EXPECT_EQ(heard.size(), 5u); // «Чисти» starts nothing
    EXPECT_EQ(r.window.list(1).accessibleDescription, role);
}

TEST(Readers, TheCoverHidesTheProverbFromReadersAsFromSight) {
    Session r;
    auto& prompt = r.window.label(1);
    EXPECT_TRUE(prompt.hiddenFromReaders()); // "Честота на въздействие", under the cover
    r.draws->push(drawFor(13));
    r.start();
    EXPECT_EQ(r.window.announcements.back(), u"Тестът „Текст“ започна, 400 мс на стъпка.");
    for (int i = 0; i < 20; ++i) {
        r.tick();
        EXPECT_TRUE(prompt.hiddenFromReaders()) << i; // still under most of the cover
    }
    r.tickToTheEnd();
    EXPECT_FALSE(prompt.hiddenFromReaders()); // the run ends as the cover is gone
    EXPECT_EQ(r.window.announcements.back(), u"Тестът „Текст“ свърши след 43 стъпки.");
    r.clear();
    EXPECT_TRUE(prompt.hiddenFromReaders()); // the cover is back
    r.choose(1);
    r.start();
    r.tick();
    EXPECT_TRUE(prompt.hiddenFromReaders()); // the letter test never lifts the cover
}

TEST(Readers, ThePaceIsSpokenInMilliseconds) {
    Session r;
    struct Case {
        int value;
        std::u16string text;
    };
    for (const Case& c : std::vector<Case>{{0, u"400 мс"}, {37, u"289 мс"}, {100, u"100 мс"}}) {
        r.window.slider().userSet(c.value);
        EXPECT_EQ(r.window.slider().valueText, c.text) << c.value;
        EXPECT_EQ(r.window.bar().accessibleName, u"Лента на скоростта: " + c.text);
    }
    r.start(); // the reset puts the pace back to the slowest, and says so
    EXPECT_EQ(r.window.slider().valueText, u"400 мс");
    const int renamed = r.window.bar().renamed;
    r.tick();
    r.tick();
    EXPECT_EQ(r.window.bar().renamed, renamed); // a tick at the same pace renames nothing
}

// What a run leaves in the controls, compared as a whole.
struct State {
    std::u16string counter, cover, prompt;
    float coverHeight = 0;
    int slider = 0, interval = 0, testKind = 0;
    bool ticking = false, lettersVisible = false, lettersEnabled = false;
    std::vector<std::u16string> letters, counts;
    bool operator==(const State&) const = default;
};

std::vector<std::u16string> items(const ui::ListBox& list) {
    std::vector<std::u16string> all;
    for (int32_t i = 0; i < list.ListCount(); ++i)
        all.push_back(list.List(i));
    return all;
}

State stateOf(const Kestramo& form) {
    return {form.Label1[3].Caption(),
            form.Label1[2].Caption(),
            form.Label1[1].Caption(),
            form.Label1[2].Height(),
            form.HScroll1.Value(),
            form.Timer1.Interval(),
            form.TestKind,
            form.Timer1.Enabled(),
            form.List1[1].Visible(),
            form.List1[1].Enabled(),
            items(form.List1[1]),
            items(form.List1[0])};
}

std::vector<std::u16string> alphabet() {
    std::vector<std::u16string> letters;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        letters.emplace_back(1, c);
    return letters;
}

int sumOf(const std::vector<std::u16string>& counts) {
    int sum = 0;
    for (const auto& count : counts)
        sum += int(rt::Val(count));
    return sum;
}

// Where the red part of the bar ends, in twips of its inside; -1 if the bar is not red
// then green, or not all of one colour up to its edge.
double redEnd(ui::headless::PictureBox& bar) {
    double x = 0;
    while (x < bar.insideWidth() && bar.colourAt(x, 100) == kRed)
        ++x;
    for (double rest = x; rest < bar.insideWidth(); ++rest)
        if (bar.colourAt(rest, 100) != kGreen) return -1;
    return x;
}

// Captures what is written to standard error while it lives.
// What the program writes to its standard error while one of these lives (the program
// writes with stdio; gtest's capture takes the descriptor itself).
class CapturedErrors {
public:
    CapturedErrors() { testing::internal::CaptureStderr(); }
    ~CapturedErrors() {
        if (!taken_) testing::internal::GetCapturedStderr();
    }
    std::string text() {
        if (!taken_) text_ = testing::internal::GetCapturedStderr();
        taken_ = true;
        return text_;
    }

private:
    bool taken_ = false;
    std::string text_;
};

TEST(StartUp, StateAfterLoad) {
    Session r;
    const State s = stateOf(r.form);
    EXPECT_EQ(s.counter, u"0");
    EXPECT_EQ(s.cover, u" ");
    EXPECT_EQ(s.coverHeight, 495.0f);
    EXPECT_EQ(s.prompt, u"Честота на въздействие");
    EXPECT_EQ(s.slider, 0);
    EXPECT_EQ(r.form.HScroll1.Max(), 100);
    EXPECT_EQ(r.form.HScroll1.Min(), 0);
    EXPECT_EQ(s.interval, 400);
    EXPECT_FALSE(s.ticking);
    EXPECT_FALSE(s.lettersVisible);
    EXPECT_TRUE(s.letters.empty() && s.counts.empty());
    EXPECT_EQ(s.testKind, 0);
    EXPECT_TRUE(r.form.Option1[0].Value());
    EXPECT_FALSE(r.form.Option1[1].Value());
    // The whole bar in the start-up green: one fill over all of it.
    auto& bar = r.window.bar();
    ASSERT_EQ(bar.fills().size(), 1u);
    EXPECT_EQ(bar.fills()[0].colour, kStartGreen);
    EXPECT_EQ(bar.colourAt(0, 0), kStartGreen);
    EXPECT_EQ(bar.colourAt(bar.insideWidth() - 1, bar.insideHeight() - 1), kStartGreen);
    EXPECT_EQ(r.draws->reseeds, 2); // re-seeded twice, nothing drawn
    EXPECT_EQ(r.draws->draws, 0);
    EXPECT_EQ(r.form.Text1[0].Text().size(), 711u);
    EXPECT_EQ(r.form.Text1[1].Text().size(), 118u);
    EXPECT_EQ(r.form.List2.ListCount(), 21);
    EXPECT_TRUE(r.window.reports.empty());
}

TEST(StartUp, TheWindowOpensInsideTheWorkArea) {
    struct Case {
        ui::ScreenRect work;
        int width, height;
        ui::ScreenPoint origin;
    };
    for (const Case& c : {
             Case{{0, 0, 1920, 1040}, 480, 380, {720, 330}},     // centred
             Case{{100, 40, 800, 600}, 480, 380, {260, 150}},    // a work area off the origin
             Case{{0, 0, 640, 320}, 480, 380, {80, 0}},          // too short: the top stays
             Case{{0, 0, 400, 300}, 480, 380, {0, 0}},           // too small either way
             Case{{-1280, 30, 1280, 300}, 480, 380, {-880, 30}}, // a screen left of the main
         }) {
        EXPECT_EQ(ui::windowOrigin(c.work, c.width, c.height), c.origin)
            << c.work.left << "," << c.work.top << " " << c.work.width << "x" << c.work.height;
    }
}

TEST(StartUp, NoTickBeforeAStart) {
    Session r;
    EXPECT_EQ(r.window.clock().advance(5000), 0);
    EXPECT_EQ(r.counter(), u"0");
}

TEST(Buttons, ClearTwiceEqualsOnce) {
    Session r;
    r.draws->push(0.5f);
    r.start();
    r.window.slider().userSet(40);
    r.clear();
    const State once = stateOf(r.form);
    r.clear();
    EXPECT_EQ(stateOf(r.form), once);
    EXPECT_FALSE(once.ticking);
    EXPECT_EQ(once.counter, u"0");
    EXPECT_EQ(once.slider, 0);
    EXPECT_EQ(once.interval, 400);
    EXPECT_EQ(once.prompt, u"Загладил косъма"); // the proverb stays
    EXPECT_EQ(redEnd(r.window.bar()), 0);       // repainted at speed 0, in the other green
}

TEST(Buttons, ProverbDraw) {
    const struct {
        const char* name;
        float draw;
        const char16_t* proverb;
    } rows[] = {
        {"0.995 rounds to 100: index 16", 0.995f, u"Луд умора няма"},
        {"largest draw: index 16", 0.99999994f, u"Луд умора няма"},
        {"below 0.005: index 0", 0.004f, u"Болен здрав носи"},
        {"0.005 ties to even 0", 0.005f, u"Болен здрав носи"},
        {"0.015 ties to even 2", 0.015f, u"Вълк в овча кожа"},
        {"0.025 ties to even 2", 0.025f, u"Вълк в овча кожа"},
        {"20: the last proverb", drawFor(20), u"От мен да мине"},
        {"21 wraps to 0", drawFor(21), u"Болен здрав носи"},
        {"79 is 79 mod 21 = 16", drawFor(79), u"Луд умора няма"},
    };
    for (const auto& row : rows) {
        Session r;
        r.draws->push(row.draw);
        r.start();
        EXPECT_EQ(r.form.Label1[1].Caption(), row.proverb) << row.name;
        EXPECT_EQ(r.draws->draws, 1) << row.name;
        const State s = stateOf(r.form);
        EXPECT_TRUE(s.ticking) << row.name;
        EXPECT_EQ(s.cover, u" ") << row.name;
        EXPECT_EQ(s.coverHeight, 495.0f) << row.name; // still under the full cover
        EXPECT_FALSE(s.lettersVisible) << row.name;
    }
}

TEST(Buttons, StartDuringARunStartsAfresh) {
    Session r;
    r.draws->push({drawFor(3), drawFor(9)});
    r.start();
    for (int i = 0; i < 5; ++i)
        r.tick();
    r.window.slider().userSet(70);
    EXPECT_EQ(r.form.Timer1.Interval(), 190);
    EXPECT_EQ(r.counter(), u"5");
    r.start();
    const State s = stateOf(r.form);
    EXPECT_EQ(s.counter, u"0");
    EXPECT_EQ(s.coverHeight, 495.0f);
    EXPECT_EQ(s.slider, 0);
    EXPECT_EQ(s.interval, 400);
    EXPECT_TRUE(s.ticking);
    EXPECT_EQ(s.prompt, u"Здрав като камък");
    EXPECT_EQ(redEnd(r.window.bar()), 0);
}

TEST(Buttons, StartLetterTest) {
    Session r;
    r.draws->push(0.5f);
    r.choose(1);
    r.start();
    const State s = stateOf(r.form);
    EXPECT_TRUE(s.lettersVisible);
    EXPECT_FALSE(s.lettersEnabled);
    EXPECT_EQ(s.letters, alphabet());
    EXPECT_EQ(s.counts, std::vector<std::u16string>(26, u"0"));
    EXPECT_TRUE(s.ticking);
    EXPECT_FALSE(r.form.List1[0].Visible()); // the counts are never shown
}

TEST(TextTest, WholeRun) {
    Session r;
    r.draws->push(drawFor(13)); // "Капка в морето"
    r.start();
    // The first tick comes a whole interval after the start; then one every 400 ms.
    std::vector<float> heights;
    r.form.Timer1.onTimer = [&, tick = r.form.Timer1.onTimer] {
        tick();
        heights.push_back(r.form.Label1[2].Height());
        EXPECT_EQ(r.counter(), rt::Str(double(heights.size())));
    };
    EXPECT_EQ(r.window.clock().advance(399), 0);
    EXPECT_EQ(r.window.clock().advance(1) + r.window.clock().runToTheEnd(), 43);
    EXPECT_EQ(r.window.clock().now(), 43 * 400'000'000LL); // 17.2 s at the slowest pace
    ASSERT_EQ(heights.size(), 43u);
    for (std::size_t i = 0; i < 42; ++i)
        EXPECT_EQ(heights[i], 485.0f - 10.0f * float(i)); // 485, 475, ... 75
    EXPECT_EQ(heights.back(), 75.0f);                     // the 43rd tick only stops
    EXPECT_EQ(r.counter(), u"43");
    EXPECT_FALSE(r.form.Timer1.Enabled());
    EXPECT_EQ(r.form.Label1[1].Caption(), u"Капка в морето");
    EXPECT_TRUE(r.window.reports.empty());
}

TEST(TextTest, StopRule) {
    const struct {
        const char* name;
        float height, after;
        bool ticking;
    } rows[] = {
        {"exactly 80 is shortened", 80.0f, 70.0f, true},
        {"79.9 stops", 79.9f, 79.9f, false},
        {"85 goes to 75", 85.0f, 75.0f, true},
        {"75 stops", 75.0f, 75.0f, false},
        {"0 stops", 0.0f, 0.0f, false},
    };
    for (const auto& row : rows) {
        Session r;
        r.draws->push(0.5f);
        r.start();
        r.form.Label1[2].Height(row.height);
        r.tick();
        EXPECT_EQ(r.form.Label1[2].Height(), row.after) << row.name;
        EXPECT_EQ(r.form.Timer1.Enabled(), row.ticking) << row.name;
        EXPECT_EQ(r.counter(), u"1") << row.name;
    }
}

TEST(LetterTest, WholeRunAndLookup) {
    Session r;
    r.draws->push(0.5f); // the proverb
    // K three times, B once, and A ten times: the tenth A ends the run.
    const std::string script = "KAABAKAAAAAKAA";
    for (char c : script)
        r.draws->push(letter(c));
    r.choose(1);
    r.start();
    std::string shown;
    while (r.form.Timer1.Enabled() && shown.size() < 100) {
        EXPECT_FALSE(r.form.List1[1].Enabled()); // no choosing while letters flash
        EXPECT_FALSE(r.window.list(1).select(0));
        r.tick();
        shown += rt::toUtf8(r.cover());
    }
    EXPECT_EQ(shown, script);
    const State s = stateOf(r.form);
    EXPECT_EQ(s.counter, u"14");
    EXPECT_EQ(sumOf(s.counts), 14);
    EXPECT_EQ(s.counts[0], u"10");
    EXPECT_FALSE(s.ticking);
    EXPECT_TRUE(s.lettersEnabled && s.lettersVisible);
    EXPECT_EQ(s.cover, u"A"); // the last letter stays

    const struct {
        char letter;
        const char16_t* caption;
    } lookups[] = {{'K', u"K = 3"}, {'A', u"A = 10"}, {'Z', u"Z = 0"}, {'B', u"B = 1"}};
    for (const auto& lookup : lookups) {
        ASSERT_TRUE(r.window.list(1).select(lookup.letter - 'A'));
        EXPECT_EQ(r.cover(), lookup.caption);
    }
    EXPECT_EQ(r.cover().size(), 5u); // "B = 1": letter, blank, equals, blank, digit
    // The row already chosen, chosen again, is no new choice: nothing is looked up.
    r.form.Label1[2].Caption(u"x");
    EXPECT_TRUE(r.window.list(1).select('B' - 'A'));
    EXPECT_EQ(r.cover(), u"x");
    EXPECT_FALSE(r.window.list(1).select(26)); // no such row
    EXPECT_TRUE(r.window.reports.empty());
}

TEST(LetterTest, Length) {
    std::string longest;
    for (int round = 0; round < 9; ++round)
        for (char c = 'A'; c <= 'Z'; ++c)
            longest += c;
    const struct {
        const char* name;
        std::string script;
        int ticks;
    } rows[] = {
        {"shortest: one letter ten times", std::string(10, 'Q'), 10},
        {"longest: nine of each, then one more", longest + "Z", 235},
    };
    for (const auto& row : rows) {
        Session r;
        r.draws->push(0.5f);
        for (char c : row.script)
            r.draws->push(letter(c));
        r.choose(1);
        r.start();
        EXPECT_EQ(r.window.clock().runToTheEnd(), row.ticks) << row.name;
        EXPECT_EQ(r.counter(), rt::Str(row.ticks)) << row.name;
        const auto counts = stateOf(r.form).counts;
        EXPECT_EQ(sumOf(counts), row.ticks) << row.name;
        EXPECT_EQ(std::count(counts.begin(), counts.end(), u"10"), 1) << row.name;
        EXPECT_EQ(r.draws->overruns, 0) << row.name;
    }
}

TEST(LetterTest, EveryRoundedDrawShowsItsLetter) {
    // Every rounded value 0..100 shows the letter of its remainder by 26:
    // "X" to "Z" come from three values, the others from four.
    Session r;
    r.draws->push(0.5f);
    for (int n = 0; n <= 100; ++n)
        r.draws->push(drawFor(n));
    r.draws->push({0.995f, 0.005f, 0.015f});
    r.choose(1);
    r.start();
    std::map<std::u16string, int> sources;
    for (int n = 0; n <= 100; ++n) {
        // Keep the run going whatever letter reached ten.
        for (int16_t k = 0; k < 26; ++k)
            r.form.List1[0].List(k, u"0");
        r.tick();
        EXPECT_EQ(r.cover(), std::u16string(1, char16_t(u'A' + n % 26))) << n;
        ++sources[r.cover()];
    }
    EXPECT_EQ(sources[u"A"], 4);
    EXPECT_EQ(sources[u"W"], 4);
    EXPECT_EQ(sources[u"X"], 3);
    EXPECT_EQ(sources[u"Z"], 3);
    for (const char16_t* expected : {u"W", u"A", u"C"}) { // 100, 0 and 2
        r.tick();
        EXPECT_EQ(r.cover(), expected);
    }
}

TEST(Choice, LetterTestDuringATextTest) {
    Session r;
    r.draws->push(drawFor(5));
    r.start();
    for (int i = 0; i < 6; ++i)
        r.tick();
    r.window.slider().userSet(30);
    r.choose(1);
    const State s = stateOf(r.form);
    EXPECT_FALSE(s.ticking);
    EXPECT_EQ(s.counter, u"6");
    EXPECT_EQ(s.coverHeight, 495.0f);
    EXPECT_EQ(s.cover, u" ");
    EXPECT_EQ(s.prompt, u"Дим да го няма");
    EXPECT_EQ(s.testKind, 1);
    EXPECT_EQ(s.slider, 0);
    EXPECT_EQ(s.interval, 400);
    // Filled at once, shown only when a letter test starts.
    EXPECT_EQ(s.letters, alphabet());
    EXPECT_FALSE(s.lettersVisible);
    EXPECT_TRUE(s.counts.empty());
    EXPECT_EQ(r.window.clock().advance(2000), 0); // stopped for good
}

TEST(Choice, LetterTestDuringALetterTest) {
    Session r;
    r.draws->push(0.5f);
    for (char c : {'C', 'C', 'D', 'Y', 'C'})
        r.draws->push(letter(c));
    r.choose(1);
    r.start();
    for (int i = 0; i < 5; ++i)
        r.tick();
    const State before = stateOf(r.form);
    r.choose(1); // the selected option: every click counts
    const State s = stateOf(r.form);
    EXPECT_FALSE(s.ticking);
    EXPECT_TRUE(s.lettersVisible);
    EXPECT_FALSE(s.lettersEnabled);
    EXPECT_EQ(s.letters, alphabet());
    EXPECT_EQ(s.counts, before.counts);
    EXPECT_EQ(s.counts[2], u"3");
    EXPECT_EQ(s.counter, u"5");
    EXPECT_EQ(s.cover, u"C");
}

TEST(Choice, TextTestAfterALetterTest) {
    Session r;
    r.draws->push(0.5f);
    for (int i = 0; i < 10; ++i)
        r.draws->push(letter('M'));
    r.choose(1);
    r.start();
    r.tickToTheEnd();
    r.choose(0);
    const State s = stateOf(r.form);
    EXPECT_EQ(s.testKind, 0);
    EXPECT_FALSE(s.lettersVisible);
    EXPECT_EQ(s.counter, u"10");
    EXPECT_EQ(s.cover, u"M");
    // The next start runs the text test.
    r.draws->push(0.5f);
    r.start();
    r.tick();
    EXPECT_EQ(r.form.Label1[2].Height(), 485.0f);
    EXPECT_EQ(r.cover(), u" ");
}

TEST(Choice, AnyOtherTestKindOnlyCounts) {
    Session r;
    r.draws->push(0.5f);
    r.start();
    r.form.TestKind = 2;
    const State before = stateOf(r.form);
    r.tick();
    State after = stateOf(r.form);
    EXPECT_EQ(after.counter, u"1");
    after.counter = before.counter;
    EXPECT_EQ(after, before);
    EXPECT_EQ(r.draws->draws, 1);
}

TEST(Lookup, RefilledListLosesTheSelectionButKeepsTheCounts) {
    Session r;
    r.draws->push(0.5f);
    for (int i = 0; i < 10; ++i)
        r.draws->push(letter('K'));
    r.choose(1);
    r.start();
    r.tickToTheEnd();
    ASSERT_TRUE(r.window.list(1).select('K' - 'A'));
    EXPECT_EQ(r.cover(), u"K = 10");
    r.choose(1); // refills the letters list: the selection goes, no click is raised
    EXPECT_EQ(r.form.List1[1].ListIndex(), -1);
    EXPECT_EQ(r.cover(), u"K = 10");
    ASSERT_TRUE(r.window.list(1).select(1));
    EXPECT_EQ(r.cover(), u"B = 0");
    r.clear();
    EXPECT_EQ(r.cover(), u" ");
    EXPECT_TRUE(r.window.reports.empty());
}

TEST(Lookup, OnlyTheLettersListAnswers) {
    Session r;
    r.form.Label1[2].Caption(u"x");
    r.form.List1_Click(0);
    EXPECT_EQ(r.cover(), u"x");
}

TEST(Speed, BarAndInterval) {
    const struct {
        int value, interval;
        double redEnd; // twips of the inside: floor(3855 * v / 100)
    } rows[] = {
        {0, 400, 0}, {1, 397, 38}, {50, 250, 1927}, {75, 175, 2891}, {100, 100, 3795},
    };
    for (const auto& row : rows) {
        Session r;
        r.window.slider().userSet(100 - row.value); // the first change, then the one measured
        r.window.slider().userSet(row.value);
        EXPECT_EQ(r.form.Timer1.Interval(), row.interval) << row.value;
        // The red part ends at the split, clipped to the inside (3795 twips wide).
        EXPECT_EQ(redEnd(r.window.bar()), row.redEnd) << row.value;
        EXPECT_FALSE(r.form.Timer1.Enabled()) << row.value; // the slider never starts a run
    }
}

TEST(Speed, SameValueRaisesNoChange) {
    Session r;
    r.form.HScroll1.Value(0);     // from code
    r.window.slider().userSet(0); // from the user
    ASSERT_EQ(r.window.bar().fills().size(), 1u);
    EXPECT_EQ(r.window.bar().fills()[0].colour, kStartGreen);
}

// What each request of the user asks of a scroll bar, from 97 and from 2 in 0 to 100 with
// steps of 3 and 20, and whether the form's slider, at that value, hears a change.
TEST(Speed, RequestsStepWithinTheRange) {
    using R = ui::ScrollRequest;
    const struct {
        R request;
        int thumbAt, from97, from2;
    } rows[] = {
        {R::LineLess, 0, 94, 0},   {R::LineMore, 0, 100, 5}, {R::PageLess, 0, 77, 0},
        {R::PageMore, 0, 100, 22}, {R::Start, 0, 0, 0},      {R::End, 0, 100, 100},
        {R::Thumb, 40, 40, 40},    {R::Thumb, -5, 0, 0},     {R::Thumb, 250, 100, 100},
    };
    for (const auto& row : rows) {
        ui::ScrollRange range{
            .min = 0, .max = 100, .value = 97, .smallChange = 3, .largeChange = 20};
        EXPECT_EQ(ui::requestedValue(range, row.request, row.thumbAt), row.from97);
        range.value = 2;
        EXPECT_EQ(ui::requestedValue(range, row.request, row.thumbAt), row.from2);
        Session r; // the form's slider: steps of 1, at 0
        const int16_t to = ui::requestedValue({.min = 0, .max = 100}, row.request, row.thumbAt);
        r.window.slider().request(row.request, row.thumbAt);
        EXPECT_EQ(r.form.HScroll1.Value(), to);
        EXPECT_EQ(r.form.Timer1.Interval(), 400 - 3 * to) << "a change only when it moved";
    }
}

TEST(Speed, DragChangesOnlyOnRelease) {
    Session r;
    for (int position : {10, 30, 60}) {
        r.window.slider().drag(position);
        EXPECT_EQ(r.form.Timer1.Interval(), 400);
        EXPECT_EQ(r.window.bar().fills()[0].colour, kStartGreen);
    }
    r.window.slider().release();
    EXPECT_EQ(r.form.HScroll1.Value(), 60);
    EXPECT_EQ(r.form.Timer1.Interval(), 220);
    EXPECT_EQ(redEnd(r.window.bar()), 2313);
}

TEST(Speed, ChangeDuringARunKeepsTheRunAndSetsThePace) {
    Session r;
    r.draws->push(0.5f);
    r.start();
    auto& clock = r.window.clock();
    clock.advance(400);
    State before = stateOf(r.form);
    clock.advance(150);
    r.window.slider().userSet(100);
    State after = stateOf(r.form);
    EXPECT_EQ(after.interval, 100);
    EXPECT_TRUE(after.ticking);
    after.slider = before.slider;
    after.interval = before.interval;
    EXPECT_EQ(after, before);
    // The new pace counts from the change: ticks at 650, 750, 850 ms.
    EXPECT_EQ(clock.advance(99), 0);
    EXPECT_EQ(clock.advance(201), 3);
    EXPECT_EQ(r.counter(), u"4");
}

TEST(Errors, ReportedOnceAndTheHandlerEnds) {
    Session r;
    r.draws->push(0.5f);
    r.form.List2.Clear(); // no proverbs: the draw divides by zero
    CapturedErrors errors;
    r.start();
    EXPECT_EQ(r.window.reports,
              std::vector<std::u16string>{u"Грешка при изпълнение 11: Деление на нула"});
    EXPECT_EQ(errors.text(), "Kestramo: Грешка при изпълнение 11: Деление на нула\n");
    EXPECT_FALSE(r.form.Timer1.Enabled()); // ended before the start
    EXPECT_EQ(r.form.Label1[1].Caption(), u"Честота на въздействие");
    // The window stays usable.
    r.clear();
    EXPECT_EQ(r.window.reports.size(), 1u);
}

TEST(Errors, NestedChangeEndsTheOuterHandler) {
    Session r;
    // A range whose maximum is 0 makes the change handler divide 0 by 0.
    r.window.slider().setRange(-10, 0);
    r.window.slider().setValue(-5);
    r.form.Label1[3].Caption(u"7");
    CapturedErrors errors;
    r.clear(); // the reset sets the slider to 0 from code
    EXPECT_EQ(r.window.reports,
              std::vector<std::u16string>{u"Грешка при изпълнение 6: Препълване"});
    EXPECT_EQ(r.counter(), u"7"); // the reset ended there
}

TEST(Errors, OverflowingCountIsReportedOnceAndTheRunStops) {
    Session r;
    r.draws->push(0.5f);
    for (int i = 0; i < 20; ++i)
        r.draws->push(letter('D'));
    r.choose(1);
    r.start();
    r.form.List1[0].List(3, u"32767");
    CapturedErrors errors;
    r.window.clock().advance(400);
    EXPECT_EQ(r.window.reports,
              std::vector<std::u16string>{u"Грешка при изпълнение 6: Препълване"});
    EXPECT_EQ(r.form.List1[0].List(3), u"32767");
    EXPECT_EQ(r.cover(), u"D"); // ended after the letter
    // The failed run ticks no more: nothing follows the one report.
    EXPECT_FALSE(r.form.Timer1.Enabled());
    r.window.slider().userSet(100);
    EXPECT_EQ(r.window.clock().advance(1000), 0);
    EXPECT_EQ(r.window.reports.size(), 1u);
    EXPECT_EQ(r.counter(), u"1");
}

TEST(Errors, EventsWaitingBehindAReportAreDropped) {
    Session r;
    r.draws->push(0.5f);
    int handled = 0;
    r.window.duringReport = [&] {
        // A report's own message loop may deliver more events: none reach a handler.
        const State before = stateOf(r.form);
        r.tick();
        r.clear();
        r.choose(1);
        r.window.slider().userSet(50); // the thumb moves, but no handler runs
        State after = stateOf(r.form);
        after.slider = before.slider;
        handled += !(after == before);
    };
    r.form.List2.Clear();
    r.start();
    EXPECT_EQ(r.window.reports.size(), 1u);
    EXPECT_EQ(handled, 0);
}

TEST(Errors, MissingArrayMemberIsAnError) {
    Session r;
    r.form.Command1_Click(2); // no such button: nothing beyond the reset
    EXPECT_EQ(r.counter(), u"0");
    r.form.dispatch([&] { r.form.Label1[7].Caption(u"x"); });
    EXPECT_EQ(r.window.reports,
              std::vector<std::u16string>{
                  u"Грешка при изпълнение 340: Няма такъв елемент в масива от контроли"});
}

} // namespace

namespace {

// The window outlives the form (it is torn down after it): once the form is gone, no event
// the window's controls raise may reach it.
TEST(Teardown, EventsAfterTheFormIsGoneReachNothing) {
    ScriptedDraws draws;
    ui::headless::Window window;
    {
        Kestramo form(window);
        window.option(1).click();
        window.button(0).click();
        EXPECT_TRUE(window.clock().isActive());
    }
    EXPECT_FALSE(window.button(0).onClick);
    EXPECT_FALSE(window.button(1).onClick);
    EXPECT_FALSE(window.option(0).onClick);
    EXPECT_FALSE(window.list(1).onSelect);
    EXPECT_FALSE(window.slider().onChange);
    EXPECT_FALSE(window.clock().onTick);
    // And raising them is harmless.
    window.button(0).click();
    window.option(0).click();
    window.slider().userSet(40);
    window.clock().advance(1000);
}

} // namespace
