// The window as desktops meet it: screen readers' actions, a dark colour scheme, the
// toolkit's own texts in Bulgarian, keyboard focus and the description box's line ends.
#include "testing.h"

#include "ui/qt/application.h"
#include "ui/qt/quiet_move.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <cmath>
#include <functional>
#include <stdexcept>

using testing::click;
using testing::letter;
using testing::ScriptedDraws;
using testing::TestForm;

namespace {

QAccessibleInterface* accessibleOf(QWidget* widget) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (!a) qFatal("no accessible interface for %s", qPrintable(widget->objectName()));
    return a;
}

// Relative luminance and contrast ratio as the accessibility guidelines define them.
double luminance(QColor c) {
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}
double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text in a part of a widget, as the window shows it: its most
// distinct pixel against the back.
double textContrast(const QImage& window, QWidget* widget, QRect part, QColor back) {
    const QRect shown = part.translated(testing::originOf(widget));
    double best = 1.0;
    for (int y = shown.top(); y <= shown.bottom(); ++y)
        for (int x = shown.left(); x <= shown.right(); ++x)
            best = std::max(best, contrast(window.pixelColor(x, y), back));
    return best;
}

QPalette darkScheme() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(36, 36, 36));
    dark.setColor(QPalette::WindowText, QColor(238, 238, 236));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
    dark.setColor(QPalette::Text, QColor(238, 238, 236));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, QColor(238, 238, 236));
    dark.setColor(QPalette::Highlight, QColor(21, 83, 158));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// Runs a letter test to its end, so that the letters list takes input.
void finishLetterTest(TestForm& t, ScriptedDraws& draws, char winner) {
    draws->push(0.5f);
    for (int i = 0; i < 10; ++i)
        draws->push(letter(winner));
    click(ui::qt::widgetOf(t.form.Option1[1]));
    click(ui::qt::widgetOf(t.form.Command1[0]));
    while (t.form.Timer1.Enabled())
        t.form.Timer1.onTimer();
}

// The texts of the context menu a widget opens, read while it shows, then closed.
QStringList contextMenuTexts(QWidget* widget, QPoint at) {
    QStringList texts;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) texts << action->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return texts;
}

bool isBulgarian(const QString& text) {
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    QString shown = text;
    shown.remove(QLatin1Char('&'));
    shown = shown.section(QLatin1Char('\t'), 0, 0); // a shortcut's key names stay
    return shown.contains(cyrillic) && !shown.contains(latin);
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::qt::setUpApplication(); }

    void toggleActionChoosesTheTest() {
        TestForm t;
        QAccessibleInterface* letters = accessibleOf(ui::qt::widgetOf(t.form.Option1[1]));
        QCOMPARE(letters->role(), QAccessible::RadioButton);
        QCOMPARE(letters->text(QAccessible::Name), QStringLiteral("Знак"));
        QVERIFY(letters->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        letters->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(t.form.TestKind, 1); // Option1_Click ran, as for a click
        QVERIFY(t.form.Option1[1].Value());
        QVERIFY(letters->state().checked);
        QCOMPARE(t.form.List1[1].ListCount(), 26);
        // Press on the other option does the same for it.
        QAccessibleInterface* text = accessibleOf(ui::qt::widgetOf(t.form.Option1[0]));
        text->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(t.form.TestKind, 0);
    }

    void pressActionStartsARun() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        QAccessibleInterface* start = accessibleOf(ui::qt::widgetOf(t.form.Command1[0]));
        start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(t.form.Timer1.Enabled());
        QCOMPARE(draws->draws, 1); // one start, one proverb
    }

    // What a screen reader meets: the window as a frame, the bar as a picture named by the
    // pace, the slider with the pace leading its description, the proverb only once seen.
    void screenReadersMeetTheRolesAndThePace() {
        TestForm t;
        struct Case {
            QWidget* widget;
            QAccessible::Role role;
            QString name, descriptionStart;
        };
        const std::vector<Case> cases = {
            {ui::qt::windowOf(t.form),
             QAccessible::Window,
             QStringLiteral("www.kestramo.bg  Физическа култура и спорт - реакция"),
             {}},
            {ui::qt::widgetOf(t.form.Picture1), QAccessible::Graphic,
             QStringLiteral("Лента на скоростта: 400 мс"), QStringLiteral("Червена")},
            {ui::qt::widgetOf(t.form.HScroll1), QAccessible::Slider, QStringLiteral("Скорост"),
             QStringLiteral("400 мс. От 400 до 100")},
            {ui::qt::widgetOf(t.form.Label1[3]), QAccessible::StaticText, QStringLiteral("Брояч"),
             QStringLiteral("Стъпките")},
        };
        for (const Case& c : cases) {
            QAccessibleInterface* a = accessibleOf(c.widget);
            QCOMPARE(a->role(), c.role);
            QCOMPARE(a->text(QAccessible::Name), c.name);
            QVERIFY2(a->text(QAccessible::Description).startsWith(c.descriptionStart),
                     qPrintable(a->text(QAccessible::Description)));
        }
        testing::moveSlider(t.form, 37);
        QCOMPARE(
            accessibleOf(ui::qt::widgetOf(t.form.HScroll1))->text(QAccessible::Description).left(6),
            QStringLiteral("289 мс"));
        QCOMPARE(accessibleOf(ui::qt::widgetOf(t.form.Picture1))->text(QAccessible::Name),
                 QStringLiteral("Лента на скоростта: 289 мс"));
        // The proverb under the cover is not read, and its label says it is not shown.
        QAccessibleInterface* prompt = accessibleOf(ui::qt::widgetOf(t.form.Label1[1]));
        QVERIFY(prompt->state().invisible);
        QCOMPARE(prompt->text(QAccessible::Name), QString());
    }

    // The start and end of a run and a lookup's answer go to the unseen notification, which
    // a screen reader speaks as it shows (tests/qt/atspi_session.py hears it on the bus).
    void screenReadersAreToldTheRunAndTheLookup() {
        ScriptedDraws draws;
        TestForm t;
        QWidget* announcer = t.window.announcer();
        QCOMPARE(accessibleOf(announcer)->role(), QAccessible::Notification);
        const auto told = [&] { return accessibleOf(announcer)->text(QAccessible::Name); };
        QCOMPARE(told(), QString());
        click(ui::qt::widgetOf(t.form.Option1[1]));
        draws->push(0.5f);
        for (int i = 0; i < 10; ++i)
            draws->push(letter('K'));
        click(ui::qt::widgetOf(t.form.Command1[0]));
        QCOMPARE(told(), QStringLiteral("Тестът „Знак“ започна, 400 мс на стъпка."));
        t.form.Timer1.onTimer();
        QCOMPARE(told(), QStringLiteral("Тестът „Знак“ започна, 400 мс на стъпка."));
        while (t.form.Timer1.Enabled())
            t.form.Timer1.onTimer();
        QVERIFY(told().startsWith(QStringLiteral("Тестът „Знак“ свърши след 10 стъпки.")));
        QVERIFY(accessibleOf(ui::qt::widgetOf(t.form.List1[1]))->tableInterface()->selectRow(10));
        QCOMPARE(told(), QStringLiteral("K = 10"));
        // Found again on the list itself.
        QVERIFY(accessibleOf(ui::qt::widgetOf(t.form.List1[1]))
                    ->text(QAccessible::Description)
                    .startsWith(QStringLiteral("K = 10. ")));
    }

    void valueSetOnTheSliderIsOneChange() {
        TestForm t;
        int changes = 0;
        auto handler = t.form.HScroll1.onChange;
        t.form.HScroll1.onChange = [&] {
            ++changes;
            handler();
        };
        QAccessibleValueInterface* value =
            accessibleOf(ui::qt::widgetOf(t.form.HScroll1))->valueInterface();
        QVERIFY(value);
        value->setCurrentValue(50);
        QCOMPARE(changes, 1);
        QCOMPARE(t.form.HScroll1.Value(), int16_t(50));
        QCOMPARE(t.form.Timer1.Interval(), 250);
        value->setCurrentValue(50); // the same value: no change
        QCOMPARE(changes, 1);
    }

    // A move of the slider as a screen reader's handler receives it, and Qt's handler put
    // back however the move ended. With no accessibility bus here, the pace goes out as
    // Qt's own description change.
    void aMoveIsHeardAsItsPace_data() {
        QTest::addColumn<int>("ending");
        QTest::newRow("a key") << 0;
        QTest::newRow("the widget deleted") << 1;
        QTest::newRow("an exception") << 2;
        QTest::newRow("a move within a move") << 3;
    }
    void aMoveIsHeardAsItsPace() {
        QFETCH(int, ending);
        if (!ui::qt::QuietMove::needed()) QSKIP("the bridge of this Qt speaks the slider itself");
        static std::vector<std::pair<QAccessible::Event, QString>> heard;
        static QObject* slider = nullptr;
        const QAccessible::UpdateHandler record = [](QAccessibleEvent* event) {
            if (event->object() == slider)
                heard.emplace_back(event->type(),
                                   event->accessibleInterface()->text(QAccessible::Description));
        };
        TestForm t;
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
        slider = bar;
        heard.clear();
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        platform->setActive(true);
        QAccessible::installUpdateHandler(record);
        auto* doomed = new QWidget;
        switch (ending) {
        case 0:
            QTest::keyClick(bar, Qt::Key_Right);
            QCOMPARE(heard.size(), std::size_t(1)); // no bare value
            QCOMPARE(heard[0].first, QAccessible::DescriptionChanged);
            QVERIFY2(heard[0].second.startsWith(QStringLiteral("397 мс. ")),
                     qPrintable(heard[0].second));
            break;
        case 1: {
            const ui::qt::QuietMove quiet(doomed);
            delete doomed;
            doomed = nullptr;
            break;
        }
        case 2:
            try {
                const ui::qt::QuietMove quiet(bar);
                throw std::runtime_error("a handler failed");
            } catch (const std::runtime_error&) {
            }
            break;
        case 3: {
            const ui::qt::QuietMove outer(bar);
            { const ui::qt::QuietMove inner(bar); }
            QVERIFY(QAccessible::installUpdateHandler(nullptr) != record); // still quiet
            break;
        }
        }
        delete doomed;
        const QAccessible::UpdateHandler after = QAccessible::installUpdateHandler(nullptr);
        platform->setActive(false);
        QVERIFY(after == record);
    }

    void rowSelectionLooksUpTheLetter() {
        ScriptedDraws draws;
        TestForm t;
        finishLetterTest(t, draws, 'K');
        QAccessibleTableInterface* table =
            accessibleOf(ui::qt::widgetOf(t.form.List1[1]))->tableInterface();
        QVERIFY(table);
        QVERIFY(table->selectRow('K' - 'A'));
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("K = 10"));
        table->unselectRow('K' - 'A');
        QVERIFY(table->selectRow('B' - 'A'));
        QCOMPARE(t.form.Label1[2].Caption(), QStringLiteral("B = 0"));
    }

    void rowSelectionOfAGreyedListDoesNothing() {
        ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        click(ui::qt::widgetOf(t.form.Option1[1]));
        click(ui::qt::widgetOf(t.form.Command1[0])); // the letters are greyed while they flash
        t.form.Timer1.onTimer();
        const auto cover = t.form.Label1[2].Caption();
        accessibleOf(ui::qt::widgetOf(t.form.List1[1]))->tableInterface()->selectRow(3);
        QCOMPARE(t.form.Label1[2].Caption(), cover);
        QCOMPARE(t.form.List1[1].ListIndex(), -1);
    }

    void textsReadableUnderEveryScheme_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light scheme set") << false;
        QTest::newRow("dark scheme set") << true;
    }
    void textsReadableUnderEveryScheme() {
        QFETCH(bool, dark);
        const QPalette before = QApplication::palette();
        // Run under a desktop's own dark scheme (as ctest's test_desktop_gtk_dark does), the
        // scheme must really be dark, or the test would prove nothing.
        if (qEnvironmentVariableIsSet("KESTRAMO_EXPECT_DARK_DESKTOP"))
            QVERIFY(QApplication::palette().color(QPalette::WindowText).lightness() > 200);
        else if (dark)
            QApplication::setPalette(darkScheme());
        {
            ScriptedDraws draws;
            TestForm t;
            finishLetterTest(t, draws, 'M'); // the letters list shown and enabled
            t.form.Label1[1].Caption(u"Зет като мед");
            t.form.Label1[2].Height(0); // the prompt uncovered
            QWidget* cover = ui::qt::widgetOf(t.form.Label1[2]);
            cover->hide();
            const QColor peach(255, 192, 128);
            struct Text {
                QWidget* widget;
                QRect part;
                QColor back;
            };
            auto inside = [](QWidget* w, int margin) {
                return w->rect().adjusted(margin, margin, -margin, -margin);
            };
            QWidget* start = ui::qt::widgetOf(t.form.Command1[0]);
            QWidget* clear = ui::qt::widgetOf(t.form.Command1[1]);
            QWidget* textOption = ui::qt::widgetOf(t.form.Option1[0]);
            QWidget* frame = ui::qt::widgetOf(t.form.Frame1);
            QPlainTextEdit* box = ui::qt::widgetOf(t.form.Text1[0]);
            QListWidget* letters = ui::qt::widgetOf(t.form.List1[1]);
            const Text texts[] = {
                {ui::qt::widgetOf(t.form.Label1[0]), inside(ui::qt::widgetOf(t.form.Label1[0]), 0),
                 peach},
                {ui::qt::widgetOf(t.form.Label1[1]), inside(ui::qt::widgetOf(t.form.Label1[1]), 0),
                 peach},
                {ui::qt::widgetOf(t.form.Label1[3]), inside(ui::qt::widgetOf(t.form.Label1[3]), 0),
                 peach},
                {start, inside(start, 6), QColor(128, 255, 128)},
                {clear, inside(clear, 6), QColor(255, 0, 0)},
                {textOption, textOption->rect().adjusted(22, 2, -2, -2), QColor(128, 128, 255)},
                {frame, QRect(9, 1, 24, 12), QColor(192, 192, 255)},
                {box->viewport(), inside(box->viewport(), 2), box->palette().color(QPalette::Base)},
                {letters->viewport(), inside(letters->viewport(), 2),
                 letters->palette().color(QPalette::Base)},
            };
            const QImage window = testing::snapshot(t.form);
            for (const Text& text : texts) {
                const double ratio = textContrast(window, text.widget, text.part, text.back);
                QVERIFY2(ratio >= 4.5,
                         qPrintable(QStringLiteral("%1: %2:1")
                                        .arg(text.widget->objectName().isEmpty()
                                                 ? text.widget->parentWidget()->objectName()
                                                 : text.widget->objectName())
                                        .arg(ratio, 0, 'f', 2)));
            }
            // The counter's "0" is drawn in a light scheme's text colour, whatever the desktop's.
            QCOMPARE(ui::qt::widgetOf(t.form.Label1[3])->palette().color(QPalette::WindowText),
                     QColor(Qt::black));
        }
        QApplication::setPalette(before);
    }

    void toolkitTextsAreBulgarian() {
        QVERIFY(ui::qt::loadToolkitTranslations());
        TestForm t;
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
        const QStringList sliderMenu = contextMenuTexts(bar, bar->rect().center());
        QVERIFY(sliderMenu.size() >= 5); // scroll here, edges, pages, steps
        for (const QString& text : sliderMenu)
            QVERIFY2(isBulgarian(text), qPrintable(text));
        QScopedPointer<QMenu> boxMenu(
            ui::qt::widgetOf(t.form.Text1[0])->createStandardContextMenu());
        QVERIFY(!boxMenu->actions().isEmpty());
        for (QAction* action : boxMenu->actions())
            if (!action->isSeparator())
                QVERIFY2(isBulgarian(action->text()), qPrintable(action->text()));
        // The error report's button.
        QMessageBox report(QMessageBox::Critical, "Kestramo", "x", QMessageBox::Ok);
        QVERIFY2(isBulgarian(report.button(QMessageBox::Ok)->text()),
                 qPrintable(report.button(QMessageBox::Ok)->text()));
    }

    void anyClickInTheTrackIsOneStep_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("left") << int(Qt::LeftButton) << int(Qt::NoModifier);
        QTest::newRow("middle") << int(Qt::MiddleButton) << int(Qt::NoModifier);
        QTest::newRow("shift and left") << int(Qt::LeftButton) << int(Qt::ShiftModifier);
    }
    void anyClickInTheTrackIsOneStep() {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        TestForm t;
        QScrollBar* bar = ui::qt::widgetOf(t.form.HScroll1);
        QTest::mouseClick(bar, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                          QPoint(bar->width() * 3 / 4, bar->height() / 2));
        QCOMPARE(t.form.HScroll1.Value(), int16_t(1));
        QCOMPARE(t.form.Timer1.Interval(), 397);
    }

    void focusShowsOnEveryControlThatTakesIt() {
        ScriptedDraws draws;
        TestForm t;
        finishLetterTest(t, draws, 'Q'); // the letters list takes the focus too
        QWidget* description = ui::qt::widgetOf(t.form.Text1[0]);
        description->setFocus();
        QTRY_VERIFY(description->hasFocus());
        const QList<QWidget*> controls = {
            ui::qt::widgetOf(t.form.HScroll1), ui::qt::widgetOf(t.form.Option1[1]),
            ui::qt::widgetOf(t.form.Command1[0]), ui::qt::widgetOf(t.form.Command1[1]),
            ui::qt::widgetOf(t.form.List1[1])};
        QMap<QWidget*, QImage> unfocused;
        for (QWidget* control : controls)
            unfocused[control] = control->grab().toImage();
        const QImage descriptionFocused = description->grab().toImage();
        // Through the form with Tab, as a keyboard user goes.
        for (QWidget* control : controls) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), control);
            QVERIFY2(control->grab().toImage() != unfocused[control],
                     qPrintable(control->objectName()));
        }
        QVERIFY(description->grab().toImage() != descriptionFocused);
    }

    void leftAndRightChooseTheTest() {
        TestForm t;
        QWidget* text = ui::qt::widgetOf(t.form.Option1[0]);
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Right);
        QCOMPARE(t.form.TestKind, 1);
        QVERIFY(t.form.Option1[1].Value());
        QCOMPARE(QApplication::focusWidget(), ui::qt::widgetOf(t.form.Option1[1]));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(t.form.TestKind, 0);
        QVERIFY(t.form.Option1[0].Value());
    }

    void descriptionKeepsEveryLineEnd() {
        TestForm t;
        QPlainTextEdit* box = ui::qt::widgetOf(t.form.Text1[0]);
        QCOMPARE(box->document()->blockCount(), 12); // eleven lines and the empty one after
        QCOMPARE(box->toPlainText().count(QLatin1Char('\n')), 11);
        QVERIFY(!box->toPlainText().contains(QLatin1Char('\r')));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box->textCursor().blockNumber(), 11);
        QVERIFY(box->textCursor().block().text().isEmpty());
        QAccessibleTextInterface* read = accessibleOf(box)->textInterface();
        QVERIFY(read);
        const QString heard = read->text(0, read->characterCount());
        QCOMPARE(heard.count(QLatin1Char('\n')), 11);
        QCOMPARE(heard.size(), 711 - 11); // every character but the CRs
    }
};

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
