// Start-up, the two buttons, the start of a run, the speed slider and error reports.
#include "testing.h"

#include "app/application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <iostream>
#include <sstream>

using testing::click;
using testing::ScriptedDraws;
using testing::stateOf;
using testing::TestForm;

namespace {

const QColor kStartGreen(30, 230, 30);
const QColor kGreen(100, 230, 30);
const QColor kRed(230, 30, 30);

// The number of leading red columns, after which every column must be green.
int redColumns(const Kestramo& form) {
    const QList<QColor> columns = testing::barColumns(form);
    int red = 0;
    while (red < columns.size() && columns[red] == kRed)
        ++red;
    for (int x = red; x < columns.size(); ++x)
        if (columns[x] != kGreen) return -1;
    return red;
}

// Captures what is written to standard error while it lives.
class CapturedErrors {
public:
    CapturedErrors() : previous_(std::cerr.rdbuf(buffer_.rdbuf())) {}
    ~CapturedErrors() { std::cerr.rdbuf(previous_); }
    QString text() const { return QString::fromStdString(buffer_.str()); }

private:
    std::stringstream buffer_;
    std::streambuf* previous_;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpApplication(); }

    void stateAtStartUp() {
        ScriptedDraws draws;
        TestForm t;
        const testing::RunState s = stateOf(t.form);
        QCOMPARE(s.counter, QStringLiteral("0"));
        QCOMPARE(s.cover, QStringLiteral(" "));
        QCOMPARE(s.coverHeight, 495.0f);
        QCOMPARE(s.prompt, QStringLiteral("Честота на въздействие"));
        QCOMPARE(s.slider, 0);
        QCOMPARE(t.form.HScroll1.Max(), int16_t(100));
        QCOMPARE(t.form.HScroll1.Min(), int16_t(0));
        QCOMPARE(s.interval, 400);
        QVERIFY(!s.ticking);
        QVERIFY(!s.lettersVisible);
        QVERIFY(s.letters.isEmpty() && s.counts.isEmpty());
        QCOMPARE(s.testKind, 0);
        QVERIFY(t.form.Option1[0].Value());
        QVERIFY(!t.form.Option1[1].Value());
        QCOMPARE(t.form.Timer1.clock()->kind(), ui::TickClock::bestKind());
        QVERIFY(t.form.Timer1.clock()->kind() != ui::TickClock::Kind::QtCoarse);
        const QList<QColor> bar = testing::barColumns(t.form);
        QCOMPARE(bar.size(), 253);
        QVERIFY(std::all_of(bar.begin(), bar.end(), [](QColor c) { return c == kStartGreen; }));
        QTRY_COMPARE(QApplication::focusWidget(), t.form.Text1[0].widget());
        QCOMPARE(draws->reseeds, 2); // re-seeded twice, nothing drawn
        QCOMPARE(draws->draws, 0);
        QVERIFY(t.reports.isEmpty());
    }

    void clearTwiceEqualsOnce() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(t.form.Command1[0].widget());
        testing::moveSlider(t.form, 40);
        click(t.form.Command1[1].widget());
        const testing::RunState once = stateOf(t.form);
        const QImage onceImage = testing::snapshot(t.form);
        click(t.form.Command1[1].widget());
        QCOMPARE(stateOf(t.form), once);
        QCOMPARE(testing::snapshot(t.form), onceImage);
        QVERIFY(!once.ticking);
        QCOMPARE(once.counter, QStringLiteral("0"));
        QCOMPARE(once.slider, 0);
        QCOMPARE(once.interval, 400);
        QCOMPARE(once.prompt, QStringLiteral("Загладил косъма")); // the proverb stays
        QCOMPARE(redColumns(t.form), 0); // repainted at speed 0, in the other green
    }

    void proverbDraw_data() {
        QTest::addColumn<float>("draw");
        QTest::addColumn<QString>("proverb");
        QTest::newRow("0.995 rounds to 100: index 16") << 0.995f << "Луд умора няма";
        QTest::newRow("largest draw: index 16") << 0.99999994f << "Луд умора няма";
        QTest::newRow("below 0.005: index 0") << 0.004f << "Болен здрав носи";
        QTest::newRow("0.005 ties to even 0") << 0.005f << "Болен здрав носи";
        QTest::newRow("0.015 ties to even 2") << 0.015f << "Вълк в овча кожа";
        QTest::newRow("0.025 ties to even 2") << 0.025f << "Вълк в овча кожа";
        QTest::newRow("20: the last proverb") << testing::drawFor(20) << "От мен да мине";
        QTest::newRow("21 wraps to 0") << testing::drawFor(21) << "Болен здрав носи";
        QTest::newRow("79 is 79 mod 21 = 16") << testing::drawFor(79) << "Луд умора няма";
    }
    void proverbDraw() {
        QFETCH(float, draw);
        QFETCH(QString, proverb);
        ScriptedDraws draws;
        draws->push(draw);
        TestForm t;
        click(t.form.Command1[0].widget());
        QCOMPARE(t.form.Label1[1].Caption(), proverb);
        QCOMPARE(draws->draws, 1);
        const testing::RunState s = stateOf(t.form);
        QVERIFY(s.ticking);
        QCOMPARE(s.cover, QStringLiteral(" "));
        QCOMPARE(s.coverHeight, 495.0f); // still under the full cover
        QVERIFY(!s.lettersVisible);
    }

    void startDuringRunStartsAfresh() {
        ScriptedDraws draws;
        draws->push({testing::drawFor(3), testing::drawFor(9)});
        TestForm t;
        click(t.form.Command1[0].widget());
        for (int i = 0; i < 5; ++i)
            t.form.Timer1.onTimer();
        testing::moveSlider(t.form, 70);
        QCOMPARE(t.form.Timer1.Interval(), 190);
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("5"));
        click(t.form.Command1[0].widget());
        const testing::RunState s = stateOf(t.form);
        QCOMPARE(s.counter, QStringLiteral("0"));
        QCOMPARE(s.coverHeight, 495.0f);
        QCOMPARE(s.slider, 0);
        QCOMPARE(s.interval, 400);
        QVERIFY(s.ticking);
        QCOMPARE(s.prompt, QStringLiteral("Здрав като камък"));
        QCOMPARE(redColumns(t.form), 0);
    }

    void startLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(t.form.Option1[1].widget());
        click(t.form.Command1[0].widget());
        const testing::RunState s = stateOf(t.form);
        QVERIFY(s.lettersVisible);
        QVERIFY(!s.lettersEnabled);
        QCOMPARE(s.letters.join(""), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(s.counts, QStringList(26, QStringLiteral("0")));
        QVERIFY(s.ticking);
        QVERIFY(t.form.List1[1].widget()->isVisible());
        QVERIFY(!t.form.List1[0].widget()->isVisible()); // the counts are never shown
    }

    void speedBar_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("red");
        QTest::newRow("slowest") << 0 << 400 << 0;
        // floor(3855 * 0.01) = 38 twips, 2.5 pixels.
        QTest::newRow("one step") << 1 << 397 << 3;
        // floor(3855 * 0.5) = 1927 twips, 128.5 pixels of the outer width.
        QTest::newRow("half") << 50 << 250 << 128;
        QTest::newRow("three quarters") << 75 << 175 << 193;
        QTest::newRow("fastest") << 100 << 100 << 253;
    }
    void speedBar() {
        QFETCH(int, value);
        QFETCH(int, interval);
        QFETCH(int, red);
        TestForm t;
        testing::moveSlider(t.form, 100 - value); // the first change, then the one measured
        testing::moveSlider(t.form, value);
        QCOMPARE(t.form.Timer1.Interval(), interval);
        QCOMPARE(redColumns(t.form), red);
        QVERIFY(!t.form.Timer1.Enabled()); // the slider never starts a run
    }

    void sameValueRaisesNoChange() {
        TestForm t;
        t.form.HScroll1.Value(0);       // from code
        testing::moveSlider(t.form, 0); // from the widget
        const QList<QColor> bar = testing::barColumns(t.form);
        QVERIFY(std::all_of(bar.begin(), bar.end(), [](QColor c) { return c == kStartGreen; }));
    }

    void dragRaisesChangeOnlyOnRelease() {
        TestForm t;
        QScrollBar* bar = t.form.HScroll1.widget();
        bar->setSliderDown(true);
        for (int position : {10, 30, 60}) {
            bar->setSliderPosition(position);
            QCOMPARE(t.form.Timer1.Interval(), 400);
            QCOMPARE(testing::barColumns(t.form).first(), kStartGreen);
        }
        bar->setSliderDown(false);
        QCOMPARE(t.form.HScroll1.Value(), int16_t(60));
        QCOMPARE(t.form.Timer1.Interval(), 220);
        QCOMPARE(redColumns(t.form), 154);
    }

    void arrowAndTrackClicksStepByOne() {
        TestForm t;
        QScrollBar* bar = t.form.HScroll1.widget();
        const QPoint rightArrow(bar->width() - 4, bar->height() / 2);
        click(bar, rightArrow);
        QCOMPARE(t.form.HScroll1.Value(), int16_t(1));
        QCOMPARE(t.form.Timer1.Interval(), 397);
        click(bar, QPoint(bar->width() * 3 / 4, bar->height() / 2)); // in the track
        QCOMPARE(t.form.HScroll1.Value(), int16_t(2));
        click(bar, QPoint(4, bar->height() / 2)); // left arrow
        QCOMPARE(t.form.HScroll1.Value(), int16_t(1));
        QCOMPARE(t.form.Timer1.Interval(), 397);
    }

    void speedChangeDuringRunKeepsTheRun() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(t.form.Command1[0].widget());
        t.form.Timer1.onTimer();
        testing::RunState before = stateOf(t.form);
        testing::moveSlider(t.form, 100);
        testing::RunState after = stateOf(t.form);
        QCOMPARE(after.interval, 100);
        QVERIFY(after.ticking);
        after.slider = before.slider;
        after.interval = before.interval;
        QCOMPARE(after, before);
    }

    void barKeptWhenHiddenAndShown() {
        TestForm t;
        testing::moveSlider(t.form, 50);
        const QList<QColor> before = testing::barColumns(t.form);
        t.form.window()->hide();
        QCoreApplication::processEvents();
        t.form.window()->show();
        QCoreApplication::processEvents();
        QCOMPARE(testing::barColumns(t.form), before);
        QCOMPARE(redColumns(t.form), 128);
    }

    void optionTakesAClickAnywhereOnIt() {
        TestForm t;
        QWidget* letters = t.form.Option1[1].widget();
        click(letters, QPoint(letters->width() - 2, letters->height() - 2)); // past its text
        QVERIFY(t.form.Option1[1].Value());
        QCOMPARE(t.form.TestKind, 1);
        QWidget* text = t.form.Option1[0].widget();
        click(text, QPoint(text->width() - 2, 1));
        QVERIFY(t.form.Option1[0].Value());
        QCOMPARE(t.form.TestKind, 0);
    }

    void errorIsReportedOnceAndEndsTheHandler() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        t.form.List2.Clear(); // no proverbs: the draw divides by zero
        CapturedErrors errors;
        click(t.form.Command1[0].widget());
        QCOMPARE(t.reports, QStringList({"Грешка при изпълнение 11: Деление на нула"}));
        QCOMPARE(errors.text(),
                 QStringLiteral("Kestramo: Грешка при изпълнение 11: Деление на нула\n"));
        QVERIFY(!t.form.Timer1.Enabled()); // ended before the start
        QCOMPARE(t.form.Label1[1].Caption(), QStringLiteral("Честота на въздействие"));
        // The window stays usable.
        click(t.form.Command1[1].widget());
        QCOMPARE(t.reports.size(), 1);
    }

    void errorInANestedChangeEndsTheOuterHandler() {
        TestForm t;
        // A range whose maximum is 0 makes the change handler divide 0 by 0.
        {
            const QSignalBlocker quiet(t.form.HScroll1.widget());
            t.form.HScroll1.widget()->setRange(-10, 0);
            t.form.HScroll1.widget()->setValue(-5);
        }
        t.form.Label1[3].Caption("7");
        CapturedErrors errors;
        click(t.form.Command1[1].widget()); // the reset sets the slider to 0 from code
        QCOMPARE(t.reports, QStringList({"Грешка при изпълнение 6: Препълване"}));
        QCOMPARE(t.form.Label1[3].Caption(), QStringLiteral("7")); // the reset ended there
    }

    void closingTheWindowDuringARunEndsTheProgram() {
        TestForm t;
        click(t.form.Command1[0].widget());
        testing::moveSlider(t.form, 100);
        QVERIFY(t.form.Timer1.Enabled());
        QTimer::singleShot(250, t.form.window(), [&] { t.form.window()->close(); });
        QTimer safetyNet; // gone with the test, so it cannot end a later loop
        safetyNet.setSingleShot(true);
        connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        safetyNet.start(10000);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(t.reports.isEmpty());
    }

    void eventsWaitingBehindAReportAreDropped() {
        ScriptedDraws draws;
        draws->push(0.5f);
        int ticksDuringReport = 0;
        Kestramo* self = nullptr;
        Kestramo form([&](QWidget*, const QString&) {
            // A report's own message loop may deliver more events: none reach a handler.
            const QString before = self->Label1[3].Caption();
            self->Timer1.onTimer();
            click(self->Command1[1].widget());
            ticksDuringReport += self->Label1[3].Caption() != before;
        });
        self = &form;
        form.List2.Clear();
        click(form.Command1[0].widget());
        QCOMPARE(ticksDuringReport, 0);
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
