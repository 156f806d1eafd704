// A long seeded sequence of user actions on the real form, with the form's invariants
// checked after every one. The seed is printed; KESTRAMO_SEED=N repeats a run exactly.
#include "testing.h"

#include "ui/qt/application.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>
#include <random>

namespace {

constexpr int kActions = 12000;

// The form's own draws, repeatable from the seed.
class SeededRandom : public rt::RandomSource {
public:
    explicit SeededRandom(unsigned seed) : engine_(seed) {}
    void reseed() override {}
    float next() override { return float(engine_() >> 8) * 0x1p-24f; }

private:
    std::mt19937 engine_;
};

class Monkey {
public:
    Monkey(Kestramo& form, unsigned seed) : form_(form), engine_(seed) {
        QObject::connect(ui::qt::widgetOf(form.Command1[0]), &QPushButton::clicked,
                         [this] { ++starts_; });
    }

    // Does one action and says what it was.
    QString act() {
        switch (pick(11)) {
        case 0:
        case 1:
            return clickAnywhere();
        case 2:
            return clickLetterRow();
        case 3:
            return clickSlider();
        case 4:
            return dragSlider();
        case 5:
        case 6:
            return pressKey();
        case 7:
            return typeIntoTextBox();
        default:
            return tick();
        }
    }

    int starts() const { return starts_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

    QString clickAnywhere() {
        QWidget* window = ui::qt::windowOf(form_);
        const QPoint at(pick(window->width()), pick(window->height()));
        QWidget* target = window->childAt(at);
        if (!target) target = window;
        testing::click(target, target->mapFrom(window, at));
        return QStringLiteral("click at %1,%2 (%3)")
            .arg(at.x())
            .arg(at.y())
            .arg(target->parentWidget() ? target->parentWidget()->objectName() : "form");
    }

    QString clickLetterRow() {
        QListWidget* list = ui::qt::widgetOf(form_.List1[1]);
        if (!list->isVisible() || list->count() == 0) return clickAnywhere();
        const int row = pick(list->count());
        list->scrollToItem(list->item(row));
        testing::click(list->viewport(), list->visualItemRect(list->item(row)).center());
        return QStringLiteral("click letter row %1").arg(row);
    }

    QRect thumb() const {
        QScrollBar* bar = ui::qt::widgetOf(form_.HScroll1);
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                            QStyle::SC_ScrollBarSlider, bar);
    }

    QString clickSlider() {
        QScrollBar* bar = ui::qt::widgetOf(form_.HScroll1);
        const QPoint at(pick(bar->width()), pick(bar->height()));
        testing::click(bar, at);
        return QStringLiteral("click slider at %1").arg(at.x());
    }

    QString dragSlider() {
        QScrollBar* bar = ui::qt::widgetOf(form_.HScroll1);
        const QPoint from = thumb().center();
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
        const int steps = 1 + pick(4);
        QPoint to = from;
        for (int i = 0; i < steps; ++i) {
            to = QPoint(pick(bar->width()), bar->height() / 2);
            QTest::mouseMove(bar, to);
            checkNoChangeWhileDragging();
        }
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
        return QStringLiteral("drag slider from %1 to %2").arg(from.x()).arg(to.x());
    }

    void checkNoChangeWhileDragging() {
        // The interval follows the value, and the value moves only on release.
        const int value = form_.HScroll1.Value();
        if (form_.Timer1.Interval() != 400 - 3 * value) dragFault_ = true;
    }

    QString pressKey() {
        static const Qt::Key keys[] = {
            Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Space,   Qt::Key_Return, Qt::Key_Enter,
            Qt::Key_Left, Qt::Key_Right,   Qt::Key_Up,      Qt::Key_Down,   Qt::Key_Home,
            Qt::Key_End,  Qt::Key_PageUp,  Qt::Key_PageDown};
        const Qt::Key key = keys[pick(int(std::size(keys)))];
        QWidget* target =
            QApplication::focusWidget() ? QApplication::focusWidget() : ui::qt::windowOf(form_);
        QTest::keyClick(target, key);
        return QStringLiteral("key %1 on %2").arg(int(key), 0, 16).arg(target->objectName());
    }

    QString typeIntoTextBox() {
        ui::TextBox& box = form_.Text1[int16_t(pick(2))];
        QTest::keyClicks(ui::qt::widgetOf(box), QStringLiteral("xyz 12"));
        QTest::sendKeyEvent(QTest::Click, ui::qt::widgetOf(box), Qt::Key_unknown,
                            QStringLiteral("жю"), Qt::NoModifier);
        return QStringLiteral("typing into %1").arg(ui::qt::widgetOf(box)->objectName());
    }

    QString tick() {
        if (!form_.Timer1.Enabled()) return clickAnywhere();
        const int ticks = 1 + pick(6);
        for (int i = 0; i < ticks && form_.Timer1.Enabled(); ++i)
            form_.Timer1.onTimer();
        return QStringLiteral("%1 ticks").arg(ticks);
    }

public:
    bool dragFault_ = false;

private:
    Kestramo& form_;
    std::mt19937 engine_;
    int starts_ = 0;
};

// Every broken rule of the form, as text; empty when all hold.
QStringList brokenRules(const Kestramo& form, const std::u16string& description) {
    QStringList broken;
    const auto require = [&](bool holds, const QString& rule) {
        if (!holds) broken << rule;
    };
    const int value = form.HScroll1.Value();
    require(form.Timer1.Interval() == 400 - 3 * value, "interval is 400 - 3 * slider");
    require(form.Option1[form.TestKind].Value(), "the test kind's option is selected");
    require(!form.List1[0].Visible(), "the counts are never shown");
    require(form.Text1[0].Text() == description, "the description is unchanged");

    const float height = form.Label1[2].Height();
    const float uncovered = 495.0f - height;
    require(height >= 70.0f && height <= 495.0f && std::fmod(uncovered, 10.0f) == 0.0f,
            QStringLiteral("cover height %1 is full or a 10-twip step below").arg(height));

    const double counter = rt::Val(form.Label1[3].Caption());
    require(counter >= 0 && counter == std::floor(counter) &&
                rt::Str(counter) == form.Label1[3].Caption(),
            "the counter is a whole number");
    if (form.Timer1.Enabled() && form.TestKind == 0)
        require(counter == uncovered / 10, "a text test's counter counts its strips");

    const ui::ListBox& counts = form.List1[0];
    if (counts.ListCount() > 0) {
        require(counts.ListCount() == 26, "26 counts");
        int sum = 0, tens = 0;
        for (int k = 0; k < counts.ListCount(); ++k) {
            const int count = int(rt::Val(counts.List(k)));
            require(count >= 0 && count <= 10, QStringLiteral("count %1 within 0..10").arg(count));
            sum += count;
            tens += count == 10;
        }
        require(sum == counter,
                QStringLiteral("counts add up to %1 ticks, not %2").arg(counter).arg(sum));
        require(tens <= 1, "one letter at most reaches ten");
        if (tens == 1) require(!form.Timer1.Enabled(), "a letter at ten has stopped the run");
        if (form.Timer1.Enabled()) require(!form.List1[1].Enabled(), "letters greyed in a run");
    }
    const ui::ListBox& letters = form.List1[1];
    if (letters.ListCount() > 0) {
        require(letters.ListCount() == 26, "26 letters");
        for (int k = 0; k < letters.ListCount(); ++k)
            if (letters.List(k) != std::u16string(1, char16_t(u'A' + k)))
                broken << "letters A to Z in order";
    }
    return broken;
}

} // namespace

class RandomInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::qt::setUpApplication(); }

    void invariantsHoldThroughoutAnySession() {
        bool given = false;
        const unsigned seed = qEnvironmentVariableIntValue("KESTRAMO_SEED", &given);
        const unsigned used = given ? seed : 20261208u;
        qInfo("random-input seed: %u (KESTRAMO_SEED=%u repeats this run)", used, used);
        auto previous = rt::setRandomSource(std::make_unique<SeededRandom>(used));
        {
            testing::TestForm t;
            Monkey monkey(t.form, used);
            const std::u16string description = t.form.Text1[0].Text();
            int ticking = 0;
            int lookups = 0;
            for (int i = 0; i < kActions; ++i) {
                const bool wasTicking = t.form.Timer1.Enabled();
                const int startsBefore = monkey.starts();
                const QString action = monkey.act();
                // Now and then let Qt paint and deliver what it has queued, real ticks too.
                if (i % 25 == 0) QCoreApplication::processEvents();
                QStringList broken = brokenRules(t.form, description);
                if (!wasTicking && t.form.Timer1.Enabled() && monkey.starts() == startsBefore)
                    broken << "a stopped run started without «Почни»";
                if (monkey.dragFault_) broken << "a change while the thumb was dragged";
                if (!t.reports.isEmpty()) broken << "error reported: " + t.reports.join("; ");
                if (!broken.isEmpty())
                    QFAIL(qPrintable(
                        QStringLiteral("seed %1, action %2 (%3): %4; state: %5")
                            .arg(used)
                            .arg(i)
                            .arg(action, broken.join(", "))
                            .arg(QString::fromUtf8(testing::toString(testing::stateOf(t.form))))));
                ticking += t.form.Timer1.Enabled();
                lookups += t.form.Label1[2].Caption().find(u'=') != std::u16string::npos;
            }
            qInfo("%d actions: %d starts, %d actions while ticking, %d lookups", kActions,
                  monkey.starts(), ticking, lookups);
            // The sequence did exercise runs and lookups, not only a stopped window.
            QVERIFY(monkey.starts() > 20);
            QVERIFY(lookups > 10);
            QVERIFY(ticking > kActions / 20);
        }
        rt::setRandomSource(std::move(previous));
    }
};

QTEST_MAIN(RandomInputTest)
#include "test_random_input.moc"
