// The window at a scale factor of 2: everything at twice its place and size, and the
// speed bar and the cover drawn at the screen's own resolution.
#include "testing.h"

#include "ui/qt/application.h"

using testing::TestForm;

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ui::qt::setUpApplication();
        QVERIFY2(qEnvironmentVariable("QT_SCALE_FACTOR") == "2", "run with QT_SCALE_FACTOR=2");
    }

    void controlsStandAtTwiceTheirPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("device");
        QTest::newRow("Picture1") << "Picture1" << QRect(240, 144, 514, 130);
        QTest::newRow("HScroll1") << "HScroll1" << QRect(208, 272, 578, 34);
        QTest::newRow("Label1(3)") << "Label1(3)" << QRect(384, 320, 226, 66);
        QTest::newRow("Text1(0)") << "Text1(0)" << QRect(16, 384, 914, 306);
        QTest::newRow("Command1(1)") << "Command1(1)" << QRect(768, 320, 162, 66);
    }
    void controlsStandAtTwiceTheirPlace() {
        QFETCH(QString, name);
        QFETCH(QRect, device);
        TestForm t;
        const QImage image = testing::snapshot(t.form);
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(image.size(), QSize(952, 690));
        QWidget* widget = ui::qt::windowOf(t.form)->findChild<QWidget*>(name);
        const QRect logical(testing::originOf(widget), widget->size());
        QCOMPARE(QRect(logical.topLeft() * 2, logical.size() * 2), device);
    }

    void speedBarIsSharp_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("red"); // device pixels
        QTest::newRow("slowest") << 0 << 0;
        // 1927 twips are 256.9 device pixels: the edge falls on the nearest one.
        QTest::newRow("half") << 50 << 257;
        QTest::newRow("fastest") << 100 << 506;
    }
    void speedBarIsSharp() {
        QFETCH(int, value);
        QFETCH(int, red);
        TestForm t;
        testing::moveSlider(t.form, 100 - value);
        testing::moveSlider(t.form, value);
        const QList<QColor> columns = testing::barColumns(t.form);
        QCOMPARE(columns.size(), 506);
        int reds = 0;
        while (reds < columns.size() && columns[reds] == QColor(230, 30, 30))
            ++reds;
        QCOMPARE(reds, red);
        // Nothing in between: no blended column as a scaled-up copy would have.
        for (int x = reds; x < columns.size(); ++x)
            QCOMPARE(columns[x], QColor(100, 230, 30));
    }

    void coverIsCutAtDevicePixels() {
        testing::ScriptedDraws draws;
        draws->push(0.5f);
        TestForm t;
        testing::click(ui::qt::widgetOf(t.form.Command1[0]));
        t.form.Timer1.onTimer(); // 485 twips: 64.7 device pixels
        QCOMPARE(ui::qt::widgetOf(t.form.Label1[2])->shownDeviceHeight(), 65);
        t.form.Timer1.onTimer(); // 475 twips: 63.3
        QCOMPARE(ui::qt::widgetOf(t.form.Label1[2])->shownDeviceHeight(), 63);
    }
};

QTEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
