// Start-up, the two buttons, the start of a run, the speed slider and error reports.
#include "testing.h"

#include "ui/qt/application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

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

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::qt::setUpApplication(); }

    // On any screen, a small one too (a virtual screen of 400 x 300 in CTest): the title bar
    // in the work area, and the whole window where it fits.
    void opensInsideTheWorkArea() {
        TestForm t;
        QWidget* window = ui::qt::windowOf(t.form);
        const QRect work = window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        QVERIFY2(work.contains(frame.topLeft()), qPrintable(QString("%1,%2 outside %3x%4")
                                                                .arg(frame.x())
                                                                .arg(frame.y())
                                                                .arg(work.width())
                                                                .arg(work.height())));
        if (frame.width() <= work.width() && frame.height() <= work.height())
            QVERIFY(work.contains(frame));
    }

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
        QCOMPARE(ui::qt::clockOf(t.form.Timer1)->kind(), ui::qt::TickClock::bestKind());
        QVERIFY(ui::qt::clockOf(t.form.Timer1)->kind() != ui::qt::TickClock::Kind::QtCoarse);
        const QList<QColor> bar = testing::barColumns(t.form);
        QCOMPARE(bar.size(), 253);
        QVERIFY(std::all_of(bar.begin(), bar.end(), [](QColor c) { return c == kStartGreen; }));
        QTRY_COMPARE(QApplication::focusWidget(), ui::qt::widgetOf(t.form.Text1[0]));
        QCOMPARE(draws->reseeds, 2); // re-seeded twice, nothing drawn
        QCOMPARE(draws->draws, 0);
        QVERIFY(t.reports.isEmpty());
    }

    void clearTwiceEqualsOnce() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(ui::qt::widgetOf(t.form.Command1[0]));
        testing::moveSlider(t.form, 40);
        click(ui::qt::widgetOf(t.form.Command1[1]));
        const testing::RunState once = stateOf(t.form);
        const QImage onceImage = testing::snapshot(t.form);
        click(ui::qt::widgetOf(t.form.Command1[1]));
        QCOMPARE(stateOf(t.form), once);
        QCOMPARE(testing::snapshot(t.form), onceImage);
        QVERIFY(!once.ticking);
        QCOMPARE(once.counter, QStringLiteral("0"));
        QCOMPARE(once.slider, 0);
        QCOMPARE(once.interval, 400);
        QCOMPARE(once.prompt, QStringLiteral("Загладил косъма")); // the proverb stays
        QCOMPARE(redColumns(t.form), 0); // repainted at speed 0, in the other green
    }

    void startLetterTest() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        const testing::RunState s = stateOf(t.form);
        QVERIFY(s.lettersVisible);
        QVERIFY(!s.lettersEnabled);
        QCOMPARE(s.letters.join(""), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(s.counts, QStringList(26, QStringLiteral("0")));
        QVERIFY(s.ticking);
        QVERIFY(ui::qt::widgetOf(t.form.List1[1])->isVisible());
        QVERIFY(!ui::qt::widgetOf(t.form.List1[0])->isVisible()); // the counts are never shown
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

    void dragRaisesChangeOnlyOnRelease() {
        TestForm t;
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
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
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
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

    void barKeptWhenHiddenAndShown() {
        TestForm t;
        testing::moveSlider(t.form, 50);
        const QList<QColor> before = testing::barColumns(t.form);
        ui::qt::windowOf(t.form)->hide();
        QCoreApplication::processEvents();
        ui::qt::windowOf(t.form)->show();
        QCoreApplication::processEvents();
        QCOMPARE(testing::barColumns(t.form), before);
        QCOMPARE(redColumns(t.form), 128);
    }

    void optionTakesAClickAnywhereOnIt() {
        TestForm t;
        QWidget* letters = ui::qt::widgetOf(t.form.Option1[1]);
        click(letters, QPoint(letters->width() - 2, letters->height() - 2)); // past its text
        QVERIFY(t.form.Option1[1].Value());
        QCOMPARE(t.form.TestKind, 1);
        QWidget* text = ui::qt::widgetOf(t.form.Option1[0]);
        click(text, QPoint(text->width() - 2, 1));
        QVERIFY(t.form.Option1[0].Value());
        QCOMPARE(t.form.TestKind, 0);
    }

    void errorShowsOneMessageBox() {
        ScriptedDraws draws;
        draws->push(0.5f);
        ui::qt::FormWindow window;
        Kestramo form(window); // the binding's own report: a message box
        window.showCentred();
        form.List2.Clear(); // no proverbs: the draw divides by zero
        QStringList shown;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                    shown << box->text();
                    box->accept();
                }
        });
        click(ui::qt::widgetOf(form.Command1[0]));
        QCOMPARE(shown, QStringList({"Грешка при изпълнение 11: Деление на нула"}));
        QVERIFY(!form.Timer1.Enabled());
    }

    // The program's entry destroys the form before its window: what the widgets raise
    // after that, by the user or by their own teardown, reaches no handler.
    void widgetsOutliveTheForm() {
        ScriptedDraws draws;
        ui::qt::FormWindow window;
        QWidget *start, *letterTest, *letters;
        QScrollBar* slider;
        {
            Kestramo form(window);
            window.showCentred();
            start = ui::qt::widgetOf(form.Command1[0]);
            letterTest = ui::qt::widgetOf(form.Option1[1]);
            letters = ui::qt::widgetOf(form.List1[1]);
            slider = ui::qt::widgetOf(form.HScroll1);
            click(letterTest);
            click(start);
            QVERIFY(window.clock()->isActive());
        }
        QVERIFY(!window.clock()->onTick);
        click(start);
        click(letterTest);
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::mouseClick(letters, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::qWait(50);
    }

    void closingTheWindowDuringARunEndsTheProgram() {
        TestForm t;
        click(ui::qt::widgetOf(t.form.Command1[0]));
        testing::moveSlider(t.form, 100);
        QVERIFY(t.form.Timer1.Enabled());
        QTimer::singleShot(250, ui::qt::windowOf(t.form),
                           [&] { ui::qt::windowOf(t.form)->close(); });
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
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
