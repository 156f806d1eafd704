// Both tests run end to end: ticks, the choice of test and the lookup of a letter's count.
#include "testing.h"

#include "ui/qt/application.h"

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
    void initTestCase() { ui::qt::setUpApplication(); }

    void wholeTextTest() {
        ScriptedDraws draws;
        draws->push(drawFor(13)); // "Капка в морето"
        TestForm t;
        click(ui::qt::widgetOf(t.form.Command1[0]));
        int darkBefore = 0;
        int ticks = 0;
        while (t.form.Timer1.Enabled() && ticks < 100) {
            t.form.Timer1.onTimer();
            ++ticks;
            QCOMPARE(t.form.Label1[3].Caption(), QString::number(ticks));
            // Above the cover's edge nothing of the proverb shows; below it, more and more.
            const int edge = 40 + ui::qt::widgetOf(t.form.Label1[2])->shownDeviceHeight();
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
        QCOMPARE(ui::qt::widgetOf(t.form.Label1[2])->shownDeviceHeight(), 5);
        QVERIFY(!t.form.Timer1.Enabled());
        QVERIFY(darkBefore > 200); // the proverb can be read
        QCOMPARE(t.form.Label1[1].Caption(), QStringLiteral("Капка в морето"));
        QVERIFY(t.reports.isEmpty());
    }

    void wholeLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f); // the proverb
        // K three times, B once, and A ten times: the tenth A ends the run.
        const char script[] = "KAABAKAAAAAKAA";
        for (const char* c = script; *c; ++c)
            draws->push(letter(*c));
        TestForm t;
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        QStringList shown;
        while (t.form.Timer1.Enabled() && shown.size() < 100) {
            QVERIFY(!ui::qt::widgetOf(t.form.List1[1])->isEnabled()); // greyed while they flash
            t.form.Timer1.onTimer();
            shown << testing::qs(t.form.Label1[2].Caption());
        }
        QCOMPARE(shown.join(""), QString::fromLatin1(script));
        const testing::RunState s = stateOf(t.form);
        QCOMPARE(s.counter, QStringLiteral("14"));
        QCOMPARE(sumOf(s.counts), 14);
        QCOMPARE(s.counts[0], QStringLiteral("10"));
        QVERIFY(!s.ticking);
        QVERIFY(s.lettersEnabled && s.lettersVisible);
        QCOMPARE(s.cover, QStringLiteral("A")); // the last letter stays

        selectRow(ui::qt::widgetOf(t.form.List1[1]), 'K' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 3"));
        QCOMPARE(t.form.Label1[2].Caption().size(), 5);
        selectRow(ui::qt::widgetOf(t.form.List1[1]), 0);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("A = 10"));
        selectRow(ui::qt::widgetOf(t.form.List1[1]), 'Z' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("Z = 0"));
        QVERIFY(t.reports.isEmpty());
    }

    void clearingListsRaisesNoClick() {
        ScriptedDraws draws;
        draws->push(0.5f);
        for (int i = 0; i < 10; ++i)
            draws->push(letter('K'));
        TestForm t;
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        tickToTheEnd(t.form);
        selectRow(ui::qt::widgetOf(t.form.List1[1]), 'K' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 10"));
        click(ui::qt::widgetOf(t.form.Option1[1])); // refills the letters list: the selection goes
        QCOMPARE(t.form.List1[1].ListIndex(), -1);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 10"));
        selectRow(ui::qt::widgetOf(t.form.List1[1]), 1); // the counts stayed: a lookup still works
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("B = 0"));
        click(ui::qt::widgetOf(t.form.Command1[1]));
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
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        tickToTheEnd(t.form);
        QListWidget* list = ui::qt::widgetOf(t.form.List1[1]);
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
        QTRY_COMPARE(focused(), ui::qt::widgetOf(t.form.Text1[0]));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), ui::qt::widgetOf(t.form.HScroll1));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), ui::qt::widgetOf(t.form.Option1[0]));
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(t.form.TestKind, 1);
        QVERIFY(t.form.Option1[1].Value());
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), ui::qt::widgetOf(t.form.Command1[0]));
        QTest::keyClick(focused(), Qt::Key(pressKey));
        QVERIFY(t.form.Timer1.Enabled());
        QVERIFY(t.form.List1[1].Visible());
        // Back to the slider: each arrow press is a change.
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QCOMPARE(focused(), ui::qt::widgetOf(t.form.HScroll1));
        QTest::keyClick(focused(), Qt::Key_Right);
        QCOMPARE(t.form.Timer1.Interval(), 397);
        QTest::keyClick(focused(), Qt::Key_Right);
        QCOMPARE(t.form.Timer1.Interval(), 394);
        tickToTheEnd(t.form);
        // Tab on to the letters list, now enabled, and read a count.
        for (int i = 0; i < 6 && focused() != ui::qt::widgetOf(t.form.List1[1]); ++i)
            QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), ui::qt::widgetOf(t.form.List1[1]));
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("A = 0"));
        QTest::keyClick(focused(), Qt::Key_End);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("Z = 0"));
        for (int i = 0; i < 21; ++i)
            QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("E = 10"));
    }

    void wholeRunsThroughTheWindowWithTheRealTimer() {
        ScriptedDraws draws;
        draws->push(drawFor(2));
        TestForm t;
        // The text test at the fastest pace: 43 ticks of 100 ms.
        click(ui::qt::widgetOf(t.form.Command1[0]));
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
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
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        QTest::keyClick(bar, Qt::Key_End);
        QTRY_VERIFY_WITH_TIMEOUT(!t.form.Timer1.Enabled(), 20000);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("12"));
        QVERIFY(t.form.List1[1].Enabled());
        selectRow(ui::qt::widgetOf(t.form.List1[1]), 'G' - 'A');
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("G = 2"));
        QTest::qWait(300); // stopped for good
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("12"));
        QCOMPARE(draws->overruns, 0);
        QVERIFY(t.reports.isEmpty());
    }
};

QTEST_MAIN(ExerciseTest)
#include "test_exercise.moc"
