// The window as the form describes it: places, sizes, texts, fonts, colours and order.
#include "testing.h"

#include "ui/qt/application.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QTextDocument>

using testing::TestForm;

namespace {

QWidget* control(const Kestramo& form, const QString& name) {
    auto* widget = ui::qt::windowOf(form)->findChild<QWidget*>(name);
    if (!widget) qFatal("no control %s", qPrintable(name));
    return widget;
}

} // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::qt::setUpApplication(); }

    void placesAndSizes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("parent");
        const QString form = "Kestramo";
        QTest::newRow("List2") << "List2" << QRect(0, 136, 89, 23) << form;
        QTest::newRow("List1(1)") << "List1(1)" << QRect(416, 16, 41, 137) << form;
        QTest::newRow("List1(0)") << "List1(0)" << QRect(440, 16, 33, 137) << form;
        QTest::newRow("Command1(1)") << "Command1(1)" << QRect(384, 160, 81, 33) << form;
        QTest::newRow("Command1(0)") << "Command1(0)" << QRect(8, 160, 81, 33) << form;
        QTest::newRow("Frame1") << "Frame1" << QRect(8, 40, 81, 81) << form;
        QTest::newRow("Option1(1)") << "Option1(1)" << QRect(8, 48, 65, 25) << "Frame1";
        QTest::newRow("Option1(0)") << "Option1(0)" << QRect(8, 24, 65, 25) << "Frame1";
        QTest::newRow("Picture1") << "Picture1" << QRect(120, 72, 257, 65) << form;
        QTest::newRow("HScroll1") << "HScroll1" << QRect(104, 136, 289, 17) << form;
        QTest::newRow("Text1(1)") << "Text1(1)" << QRect(40, 216, 449, 121) << form;
        QTest::newRow("Text1(0)") << "Text1(0)" << QRect(8, 192, 457, 153) << form;
        QTest::newRow("Label1(3)") << "Label1(3)" << QRect(192, 160, 113, 33) << form;
        QTest::newRow("Label1(2)") << "Label1(2)" << QRect(120, 40, 257, 33) << form;
        QTest::newRow("Label1(1)") << "Label1(1)" << QRect(120, 40, 257, 33) << form;
        QTest::newRow("Label1(0)") << "Label1(0)" << QRect(80, 0, 313, 25) << form;
    }
    void placesAndSizes() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QFETCH(QString, parent);
        TestForm t;
        QWidget* widget = control(t.form, name);
        QCOMPARE(widget->geometry(), pixels);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
    }

    void visibleAtStart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("visible");
        for (const char* shown :
             {"Label1(0)", "Label1(1)", "Label1(2)", "Label1(3)", "Text1(0)", "HScroll1",
              "Picture1", "Frame1", "Option1(0)", "Option1(1)", "Command1(0)", "Command1(1)"})
            QTest::newRow(shown) << shown << true;
        for (const char* hidden : {"List2", "List1(0)", "List1(1)", "Text1(1)"})
            QTest::newRow(hidden) << hidden << false;
    }
    void visibleAtStart() {
        QFETCH(QString, name);
        QFETCH(bool, visible);
        TestForm t;
        QCOMPARE(control(t.form, name)->isVisible(), visible);
    }

    void window() {
        TestForm t;
        QWidget* w = ui::qt::windowOf(t.form);
        QCOMPARE(w->objectName(), QStringLiteral("Kestramo"));
        QCOMPARE(w->size(), QSize(476, 345));
        QCOMPARE(w->minimumSize(), w->maximumSize()); // not resizable
        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("  Физическа култура и спорт - реакция")));
        QVERIFY(w->windowTitle().startsWith(QStringLiteral("www.")));
        QVERIFY(!w->windowTitle().startsWith(QStringLiteral("  ")));
        QCOMPARE(testing::colourAt(t.form, {2, 30}), QColor(192, 192, 255));
        // Centred on its screen.
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY(qAbs(w->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(w->frameGeometry().center().y() - screen.center().y()) <= 1);
    }

    void iconAndVersion() {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Kestramo"));
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral(KESTRAMO_VERSION));
        const QImage icon = QApplication::windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        // A picture, not a blank: transparent corners, many colours in the middle.
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY(colours.size() > 10 && colours.size() <= 256);
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("title") << "Label1(0)"
                               << "Физическо възпитание - време за реакция";
        QTest::newRow("prompt") << "Label1(1)"
                                << "Честота на въздействие";
        QTest::newRow("start") << "Command1(0)"
                               << "Почни";
        QTest::newRow("clear") << "Command1(1)"
                               << "Чисти";
        QTest::newRow("text test") << "Option1(0)"
                                   << "Текст";
        QTest::newRow("letter test") << "Option1(1)"
                                     << "Знак";
        QTest::newRow("frame") << "Frame1"
                               << "Вид";
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        TestForm t;
        QWidget* widget = control(t.form, name);
        QString shown;
        if (auto* label = qobject_cast<QAbstractButton*>(widget))
            shown = label->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            shown = frame->title();
        else
            shown = static_cast<ui::qt::LabelView*>(widget)->caption();
        QCOMPARE(shown, caption);
    }

    void proverbs() {
        TestForm t;
        const ui::ListBox& store = t.form.List2;
        QCOMPARE(store.ListCount(), 21);
        QCOMPARE(store.List(0), QStringLiteral("Болен здрав носи"));
        QCOMPARE(store.List(6), QStringLiteral("Един зяпа, друг лапа"));
        QCOMPARE(store.List(16), QStringLiteral("Луд умора няма"));
        QCOMPARE(store.List(20), QStringLiteral("От мен да мине"));
        QStringList all;
        for (int i = 0; i < store.ListCount(); ++i)
            all << testing::qs(store.List(i));
        QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 21);
    }

    void description() {
        TestForm t;
        const QString text = testing::qs(t.form.Text1[0].Text());
        QCOMPARE(text.size(), 711);
        QCOMPARE(text.count(QStringLiteral("\r\n")), 11);
        QCOMPARE(text.count(QLatin1Char('\r')), 11);
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        QVERIFY(text.startsWith(QStringLiteral("Умението за справянето с кризисна ситуация е "
                                               "свързано с:\r\nНаличие на характер.\r\n")));
        QVERIFY(text.contains(QStringLiteral(
            "\r\nИ за двата теста е възможно да се регулира скоростта на извеждане.\r\n")));
        const QPlainTextEdit* box = ui::qt::widgetOf(t.form.Text1[0]);
        QCOMPARE(box->document()->blockCount(), 12); // the empty line after the last end
        QVERIFY(!box->toPlainText().contains(QLatin1Char('\r')));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void saying() {
        TestForm t;
        const QString text = testing::qs(t.form.Text1[1].Text());
        QCOMPARE(text.size(), 118);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4); // three lines, then nothing after the last break
        for (int i = 0; i < 3; ++i)
            QVERIFY(lines[i].endsWith(QLatin1Char(' ')));
        QCOMPARE(lines[2], QStringLiteral("било. "));
        QVERIFY(ui::qt::widgetOf(t.form.Text1[1])->isReadOnly());
    }

    void fonts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixelSize");
        for (const char* name : {"Label1(0)", "Text1(0)", "Text1(1)", "Command1(0)", "Command1(1)",
                                 "Option1(0)", "Option1(1)", "Frame1", "List1(1)", "List2"})
            QTest::newRow(name) << name << 16;           // 12 pt
        QTest::newRow("Label1(1)") << "Label1(1)" << 24; // 18 pt
        QTest::newRow("Label1(2)") << "Label1(2)" << 32; // 24 pt
        QTest::newRow("Label1(3)") << "Label1(3)" << 32;
    }
    void fonts() {
        QFETCH(QString, name);
        QFETCH(int, pixelSize);
        TestForm t;
        const QFont font = control(t.form, name)->font();
        QCOMPARE(font.pixelSize(), pixelSize);
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
        const QFontInfo used(font);
        QVERIFY2(used.family() == "Times New Roman" || used.family() == "Liberation Serif",
                 qPrintable(used.family()));
        QVERIFY(!used.bold() && !used.italic() && !used.underline() && !used.strikeOut());
    }

    void everyCharacterHasAGlyph() {
        TestForm t;
        QString all = ui::qt::windowOf(t.form)->windowTitle() +
                      testing::qs(t.form.Text1[0].Text()) + testing::qs(t.form.Text1[1].Text()) +
                      QStringLiteral("ВидТекстЗнакПочниЧисти= ");
        for (int i = 0; i < t.form.List2.ListCount(); ++i)
            all += testing::qs(t.form.List2.List(i));
        for (int i = 0; i < 4; ++i)
            all += testing::qs(t.form.Label1[int16_t(i)].Caption());
        for (char c = 'A'; c <= 'Z'; ++c)
            all += QLatin1Char(c);
        for (int size : {16, 24, 32}) {
            QFont font = ui::qt::widgetOf(t.form.Label1[0])->font();
            font.setPixelSize(size);
            const QFontMetrics metrics(font);
            for (const QChar c : all) {
                if (c == '\r' || c == '\n') continue;
                QVERIFY2(metrics.inFont(c),
                         qPrintable(QStringLiteral("%1 at %2 px").arg(c).arg(size)));
            }
        }
    }

    void drawingOrder() {
        TestForm t;
        // Labels at the back, in order; windowed controls above, in their own order.
        QStringList stack;
        for (QObject* child : ui::qt::windowOf(t.form)->children())
            if (child->isWidgetType()) stack << child->objectName();
        const QStringList expected = {"announcer", "Label1(0)", "Label1(1)",   "Label1(2)",
                                      "Label1(3)", "Text1(0)",  "Text1(1)",    "HScroll1",
                                      "Picture1",  "Frame1",    "Command1(0)", "Command1(1)",
                                      "List1(0)",  "List1(1)",  "List2"};
        QCOMPARE(stack, expected);
        QStringList inFrame;
        for (QObject* child : ui::qt::widgetOf(t.form.Frame1)->children())
            if (child->isWidgetType()) inFrame << child->objectName();
        QCOMPARE(inFrame, QStringList({"Option1(0)", "Option1(1)"}));
    }

    void coverHidesThePrompt() {
        TestForm t;
        const QImage image = testing::snapshot(t.form);
        // Rows 40 to 71: the speed bar's box, a windowed control, overlaps row 72.
        for (int y = 40; y < 72; ++y)
            for (int x = 120; x < 377; ++x)
                QVERIFY2(testing::isPeach(image.pixelColor(x, y)),
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
    }

    void shorterCoverUncoversOnlyTheBottomStrip() {
        TestForm t;
        t.form.Label1[1].Caption(u"Зет като мед");
        t.form.Label1[2].Height(495 - 30 * 15); // 3 px left
        const QImage image = testing::snapshot(t.form);
        int dark = 0;
        for (int y = 40; y < 72; ++y) {
            for (int x = 120; x < 377; ++x) {
                const bool peach = testing::isPeach(image.pixelColor(x, y));
                if (y < 43) QVERIFY(peach);
                if (!peach) ++dark;
            }
        }
        QVERIFY(dark > 50); // the prompt's text shows below the cover
        QCOMPARE(image.pixelColor(119, 50), QColor(192, 192, 255)); // nothing else changed
        QCOMPARE(image.pixelColor(377, 50), QColor(192, 192, 255));
    }

    void screenReadersKnowEveryControl_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("start") << "Command1(0)"
                               << "Почни";
        QTest::newRow("clear") << "Command1(1)"
                               << "Чисти";
        QTest::newRow("text test") << "Option1(0)"
                                   << "Текст";
        QTest::newRow("letter test") << "Option1(1)"
                                     << "Знак";
        QTest::newRow("letters") << "List1(1)"
                                 << "Букви";
        QTest::newRow("slider") << "HScroll1"
                                << "Скорост";
        QTest::newRow("description") << "Text1(0)"
                                     << "Описание";
        QTest::newRow("speed bar") << "Picture1"
                                   << "Лента на скоростта: 400 мс";
        QTest::newRow("frame") << "Frame1"
                               << "Вид";
        QTest::newRow("title") << "Label1(0)"
                               << "Физическо възпитание - време за реакция";
        QTest::newRow("counter") << "Label1(3)"
                                 << "Брояч";
    }
    void screenReadersKnowEveryControl() {
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        TestForm t;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control(t.form, name));
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), accessibleName);
        QVERIFY(!a->text(QAccessible::Description).isEmpty());
    }

    void screenReadersHearTheCounterChange() {
        TestForm t;
        t.form.Label1[3].Caption(u"17");
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(ui::qt::widgetOf(t.form.Label1[3]));
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Брояч"));
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("17"));
    }

    void tabOrder() {
        TestForm t;
        QWidget* w = ui::qt::windowOf(t.form);
        QTRY_COMPARE(QApplication::focusWidget(), ui::qt::widgetOf(t.form.Text1[0]));
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        Q_UNUSED(w);
        QCOMPARE(visited, QStringList({"HScroll1", "Option1(0)", "Command1(0)", "Command1(1)",
                                       "Text1(0)", "HScroll1", "Option1(0)", "Command1(0)"}));
    }
};

QTEST_MAIN(FormTest)
#include "test_form.moc"
