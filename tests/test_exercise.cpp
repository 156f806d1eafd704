// Both tests run end to end: ticks, the choice of test and the lookup of a letter's count.
#include "testing.h"

#include "app/application.h"

#include <QApplication>

using testing::click;
using testing::drawFor;
using testing::ScriptedDraws;
using testing::stateOf;
using testing::TestForm;

namespace {

// The draw that shows letter k on a tick.
float letter(char c) {
    return drawFor(c - 'A');
}

// Ticks until the run stops by its own rule, at most `limit` times; returns the ticks.
int tickToTheEnd(Kestramo& form, int limit = 300) {
    int ticks = 0;
    while (form.Timer1.Enabled() && ticks < limit) {
        form.Timer1.onTimer();
        ++ticks;
    }
    return ticks;
}

void selectRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    click(list->viewport(), list->visualItemRect(item).center());
}

int sumOf(const QStringList& counts) {
    int sum = 0;
    for (const QString& count : counts)
        sum += count.toInt();
    return sum;
}

} // namespace

class ExerciseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void wholeTextTest() {
        ScriptedDraws draws;
        draws->push(drawFor(13)); // "Капка в морето"
        TestForm t;
        click(t.form.Command1[0].widget());
        int darkBefore = 0;
        int ticks = 0;
        while (t.form.Timer1.Enabled() && ticks < 100) {
            t.form.Timer1.onTimer();
            ++ticks;
            QCOMPARE(t.form.Label1[3].Caption(), QString::number(ticks));
            // Above the cover's edge nothing of the proverb shows; below it, more and more.
            const int edge = 40 + t.form.Label1[2].widget()->shownDeviceHeight();
            const QImage image = testing::snapshot(t.form);
            int dark = 0;
            for (int y = 40; y < 72; ++y)
                for (int x = 120; x < 377; ++x) {
                    const bool peach = testing::isPeach(image.pixelColor(x, y));
                    if (y < edge && !peach)
                        QFAIL(qPrintable(QString("tick %1: text above the edge at %2,%3")
                                             .arg(ticks)
                                             .arg(x)
                                             .arg(y)));
                    dark += !peach;
                }
            QVERIFY(dark >= darkBefore);
            darkBefore = dark;
        }
        QCOMPARE(ticks, 43);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("43"));
        QCOMPARE(t.form.Label1[2].Height(), 75.0f);
        QCOMPARE(t.form.Label1[2].widget()->shownDeviceHeight(), 5);
        QVERIFY(!t.form.Timer1.Enabled());
        QVERIFY(darkBefore > 200); // the proverb can be read
        QCOMPARE(t.form.Label1[1].Caption(), QStringLiteral("Капка в морето"));
        QVERIFY(t.reports.isEmpty());
    }

    void textTestStopRule_data() {
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("after");
        QTest::addColumn<bool>("ticking");
        QTest::newRow("exactly 80 is shortened") << 80.0f << 70.0f << true;
        QTest::newRow("79.9 stops") << 79.9f << 79.9f << false;
        QTest::newRow("85 goes to 75") << 85.0f << 75.0f << true;
        QTest::newRow("75 stops") << 75.0f << 75.0f << false;
        QTest::newRow("0 stops") << 0.0f << 0.0f << false;
    }
    void textTestStopRule() {
        QFETCH(float, height);
        QFETCH(float, after);
        QFETCH(bool, ticking);
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(t.form.Command1[0].widget());
        t.form.Label1[2].Height(height);
        t.form.Timer1.onTimer();
        QCOMPARE(t.form.Label1[2].Height(), after);
        QCOMPARE(t.form.Timer1.Enabled(), ticking);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("1"));
    }

    void wholeLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f); // the proverb
        // K three times, B once, and A ten times: the tenth A ends the run.
        const char script[] = "KAABAKAAAAAKAA";
        for (const char* c = script; *c; ++c)
            draws->push(letter(*c));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        QStringList shown;
        while (t.form.Timer1.Enabled() && shown.size() < 100) {
            QVERIFY(!t.form.List1[1].Enabled()); // no choosing while letters flash
            t.form.Timer1.onTimer();
            shown << t.form.Label1[2].Caption();
        }
        QCOMPARE(shown.join(""), QString::fromLatin1(script));
        const testing::RunState s = stateOf(t.form);
        QCOMPARE(s.counter, QStringLiteral("14"));
        QCOMPARE(sumOf(s.counts), 14);
        QCOMPARE(s.counts[0], QStringLiteral("10"));
        QVERIFY(!s.ticking);
        QVERIFY(s.lettersEnabled && s.lettersVisible);
        QCOMPARE(s.cover, QStringLiteral("A")); // the last letter stays

        selectRow(t.form.List1[1].widget(), 'K' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 3"));
        QCOMPARE(t.form.Label1[2].Caption().size(), 5);
        selectRow(t.form.List1[1].widget(), 0);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("A = 10"));
        selectRow(t.form.List1[1].widget(), 'Z' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("Z = 0"));
        QVERIFY(t.reports.isEmpty());
    }

    void letterTestLength_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("ticks");
        QTest::newRow("shortest: one letter ten times") << QString(10, 'Q') << 10;
        QString longest;
        for (int round = 0; round < 9; ++round)
            for (char c = 'A'; c <= 'Z'; ++c)
                longest += QLatin1Char(c);
        QTest::newRow("longest: nine of each, then one more") << longest + "Z" << 235;
    }
    void letterTestLength() {
        QFETCH(QString, script);
        QFETCH(int, ticks);
        ScriptedDraws draws;
        draws->push(0.5f);
        for (QChar c : script)
            draws->push(letter(char(c.unicode())));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        QCOMPARE(tickToTheEnd(t.form), ticks);
        QCOMPARE(t.form.Label1[3].Caption(), QString::number(ticks));
        const QStringList counts = stateOf(t.form).counts;
        QCOMPARE(sumOf(counts), ticks);
        QCOMPARE(counts.count(QStringLiteral("10")), 1);
        QCOMPARE(draws->overruns, 0);
    }

    void letterDraws() {
        // Every rounded value 0..100 shows the letter of its remainder by 26:
        // "X" to "Z" come from three values, the others from four.
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int n = 0; n <= 100; ++n)
            draws->push(drawFor(n));
        draws->push({0.995f, 0.005f, 0.015f});
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        QMap<QString, int> sources;
        for (int n = 0; n <= 100; ++n) {
            // Keep the run going whatever letter reached ten.
            for (int k = 0; k < 26; ++k)
                t.form.List1[0].List(k, "0");
            t.form.Timer1.onTimer();
            QCOMPARE(t.form.Label1[2].Caption(), QString(QChar('A' + n % 26)));
            ++sources[t.form.Label1[2].Caption()];
        }
        QCOMPARE(sources.value("A"), 4);
        QCOMPARE(sources.value("W"), 4);
        QCOMPARE(sources.value("X"), 3);
        QCOMPARE(sources.value("Z"), 3);
        const QStringList ties = {"W", "A", "C"}; // 100, 0 and 2
        for (const QString& expected : ties) {
            t.form.Timer1.onTimer();
            QCOMPARE(t.form.Label1[2].Caption(), expected);
        }
    }

    void chooseLetterTestDuringTextTest() {
        ScriptedDraws draws;
        draws->push(drawFor(5));
        TestForm t;
        click(t.form.Command1[0].widget());
        for (int i = 0; i < 6; ++i)
            t.form.Timer1.onTimer();
        testing::moveSlider(t.form, 30);
        click(t.form.Option1[1].widget());
        const testing::RunState s = stateOf(t.form);
        QVERIFY(!s.ticking);
        QCOMPARE(s.counter, QStringLiteral("6"));
        QCOMPARE(s.coverHeight, 495.0f);
        QCOMPARE(s.cover, QStringLiteral(" "));
        QCOMPARE(s.prompt, QStringLiteral("Дим да го няма"));
        QCOMPARE(s.testKind, 1);
        QCOMPARE(s.slider, 0);
        QCOMPARE(s.interval, 400);
        // Filled at once, shown only when a letter test starts.
        QCOMPARE(s.letters.join(""), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QVERIFY(!s.lettersVisible);
        QVERIFY(s.counts.isEmpty());
    }

    void chooseLetterTestDuringLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (char c : {'C', 'C', 'D', 'Y', 'C'})
            draws->push(letter(c));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        for (int i = 0; i < 5; ++i)
            t.form.Timer1.onTimer();
        const testing::RunState before = stateOf(t.form);
        click(t.form.Option1[1].widget()); // the selected option: every click counts
        const testing::RunState s = stateOf(t.form);
        QVERIFY(!s.ticking);
        QVERIFY(s.lettersVisible);
        QVERIFY(!s.lettersEnabled);
        QCOMPARE(s.letters.join(""), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(s.counts, before.counts);
        QCOMPARE(s.counts[2], QStringLiteral("3"));
        QCOMPARE(s.counter, QStringLiteral("5"));
        QCOMPARE(s.cover, QStringLiteral("C"));
    }

    void chooseTextTestAfterLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int i = 0; i < 10; ++i)
            draws->push(letter('M'));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        tickToTheEnd(t.form);
        click(t.form.Option1[0].widget());
        const testing::RunState s = stateOf(t.form);
        QCOMPARE(s.testKind, 0);
        QVERIFY(!s.lettersVisible);
        QCOMPARE(s.counter, QStringLiteral("10"));
        QCOMPARE(s.cover, QStringLiteral("M"));
        // The next start runs the text test.
        draws->push(0.5f);
        click(t.form.Command1[0].widget());
        t.form.Timer1.onTimer();
        QCOMPARE(t.form.Label1[2].Height(), 485.0f);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral(" "));
    }

    void anyOtherTestKindOnlyCounts() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(t.form.Command1[0].widget());
        t.form.TestKind = 2;
        const testing::RunState before = stateOf(t.form);
        t.form.Timer1.onTimer();
        testing::RunState after = stateOf(t.form);
        QCOMPARE(after.counter, QStringLiteral("1"));
        after.counter = before.counter;
        QCOMPARE(after, before);
        QCOMPARE(draws->draws, 1);
    }

    void clearingListsRaisesNoClick() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int i = 0; i < 10; ++i)
            draws->push(letter('K'));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        tickToTheEnd(t.form);
        selectRow(t.form.List1[1].widget(), 'K' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 10"));
        click(t.form.Option1[1].widget()); // refills the letters list: the selection goes
        QCOMPARE(t.form.List1[1].ListIndex(), -1);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 10"));
        selectRow(t.form.List1[1].widget(), 1); // the counts stayed: a lookup still works
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("B = 0"));
        click(t.form.Command1[1].widget());
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral(" "));
        QVERIFY(t.reports.isEmpty());
    }

    void keyboardMovesInTheLetters() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (char c : {'A', 'B', 'B'})
            draws->push(letter(c));
        for (int i = 0; i < 10; ++i)
            draws->push(letter('C'));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        tickToTheEnd(t.form);
        QListWidget* list = t.form.List1[1].widget();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("A = 1"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("B = 2"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("C = 10"));
    }

    void keyboardAlone_data() {
        QTest::addColumn<int>("pressKey"); // the key that presses a focused button
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void keyboardAlone() {
        // A whole letter test without the mouse: Tab to the options, an arrow to choose
        // "Знак", Tab to "Почни", press it, arrows to speed up, then the letters.
        QFETCH(int, pressKey);
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int i = 0; i < 10; ++i)
            draws->push(letter('E'));
        TestForm t;
        const auto focused = [] { return QApplication::focusWidget(); };
        QTRY_COMPARE(focused(), t.form.Text1[0].widget());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), t.form.HScroll1.widget());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), t.form.Option1[0].widget());
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(t.form.TestKind, 1);
        QVERIFY(t.form.Option1[1].Value());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), t.form.Command1[0].widget());
        QTest::keyClick(focused(), Qt::Key(pressKey));
        QVERIFY(t.form.Timer1.Enabled());
        QVERIFY(t.form.List1[1].Visible());
        // Back to the slider: each arrow press is a change.
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QCOMPARE(focused(), t.form.HScroll1.widget());
        QTest::keyClick(focused(), Qt::Key_Right);
        QCOMPARE(t.form.Timer1.Interval(), 397);
        QTest::keyClick(focused(), Qt::Key_Right);
        QCOMPARE(t.form.Timer1.Interval(), 394);
        tickToTheEnd(t.form);
        // Tab on to the letters list, now enabled, and read a count.
        for (int i = 0; i < 6 && focused() != t.form.List1[1].widget(); ++i)
            QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), t.form.List1[1].widget());
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("A = 0"));
        QTest::keyClick(focused(), Qt::Key_End);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("Z = 0"));
        for (int i = 0; i < 21; ++i)
            QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("E = 10"));
    }

    void overflowingCountIsReportedOnce() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int i = 0; i < 20; ++i)
            draws->push(letter('D'));
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        t.form.List1[0].List(3, "32767");
        t.form.Timer1.onTimer();
        QCOMPARE(t.reports, QStringList({"Грешка при изпълнение 6: Препълване"}));
        QCOMPARE(t.form.List1[0].List(3), QStringLiteral("32767"));
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("D")); // ended after the letter
        // The failed run ticks no more: nothing follows the one report.
        QVERIFY(!t.form.Timer1.Enabled());
        t.form.HScroll1.widget()->setValue(100);
        QTest::qWait(350);
        QCOMPARE(t.reports.size(), 1);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("1"));
    }

    void wholeRunsThroughTheWindowWithTheRealTimer() {
        ScriptedDraws draws;
        draws->push(drawFor(2));
        TestForm t;
        // The text test at the fastest pace: 43 ticks of 100 ms.
        click(t.form.Command1[0].widget());
        QScrollBar* bar = t.form.HScroll1.widget();
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(t.form.Timer1.Interval(), 100);
        QTRY_VERIFY_WITH_TIMEOUT(!t.form.Timer1.Enabled(), 20000);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("43"));
        QCOMPARE(t.form.Label1[2].Height(), 75.0f);

        // The letter test: G twice, then P ten times.
        draws->push(0.5f);
        for (char c : {'G', 'P', 'G'})
            draws->push(letter(c));
        for (int i = 0; i < 9; ++i)
            draws->push(letter('P'));
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        QTest::keyClick(bar, Qt::Key_End);
        QTRY_VERIFY_WITH_TIMEOUT(!t.form.Timer1.Enabled(), 20000);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("12"));
        QVERIFY(t.form.List1[1].Enabled());
        selectRow(t.form.List1[1].widget(), 'G' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("G = 2"));
        QTest::qWait(300); // stopped for good
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("12"));
        QCOMPARE(draws->overruns, 0);
        QVERIFY(t.reports.isEmpty());
    }
};

QTEST_MAIN(ExerciseTest)
#include "test_exercise.moc"
