// The run-time services: rounding, overflow, number-text conversion and the random source.
#include "testing.h"

#include <cmath>
#include <limits>

using rt::ErrorNumber;

Q_DECLARE_METATYPE(ErrorNumber)

namespace {

template <typename F> ErrorNumber errorOf(F&& f) {
    try {
        f();
    } catch (const rt::RuntimeError& error) {
        return error.number();
    }
    return ErrorNumber(0);
}

} // namespace

class RuntimeTest : public QObject {
    Q_OBJECT

private slots:
    void roundsToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("half to even below") << 0.5 << 0;
        QTest::newRow("one and a half") << 1.5 << 2;
        QTest::newRow("two and a half") << 2.5 << 2;
        QTest::newRow("negative half") << -2.5 << -2;
        QTest::newRow("just above half") << 2.5000001 << 3;
        QTest::newRow("largest") << 32767.4 << 32767;
        QTest::newRow("smallest") << -32768.4 << -32768;
        QTest::newRow("99.5 goes up to even") << 99.5 << 100;
    }
    void roundsToEven() {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(int(rt::CInt(value)), expected);
        QCOMPARE(int(rt::CLng(value)), expected);
    }

    void singlePrecisionDrawsRound_data() {
        QTest::addColumn<float>("draw");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.995 ties up to 100") << 0.995f << 100;
        QTest::newRow("0.004999 is 0") << 0.004999f << 0;
        QTest::newRow("0.005 ties down to 0") << 0.005f << 0;
        QTest::newRow("0.015 ties up to 2") << 0.015f << 2;
        QTest::newRow("0.025 ties down to 2") << 0.025f << 2;
        QTest::newRow("largest draw") << std::nextafter(1.0f, 0.0f) << 100;
    }
    void singlePrecisionDrawsRound() {
        QFETCH(float, draw);
        QFETCH(int, rounded);
        QCOMPARE(int(rt::CInt(draw * 100)), rounded);
    }

    void overflows_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("in16");
        QTest::addColumn<bool>("in32");
        QTest::newRow("32767.5 rounds to 32768") << 32767.5 << false << true;
        QTest::newRow("-32768.5 rounds to -32768") << -32768.5 << true << true;
        QTest::newRow("-32769") << -32769.0 << false << true;
        QTest::newRow("2^31") << 2147483648.0 << false << false;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << false;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << false;
    }
    void overflows() {
        QFETCH(double, value);
        QFETCH(bool, in16);
        QFETCH(bool, in32);
        QCOMPARE(errorOf([&] { rt::CInt(value); }) == ErrorNumber::Overflow, !in16);
        QCOMPARE(errorOf([&] { rt::CLng(value); }) == ErrorNumber::Overflow, !in32);
    }

    void arithmeticErrors_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<ErrorNumber>("error");
        QTest::newRow("32767 + 1") << 0 << ErrorNumber::Overflow;
        QTest::newRow("3 * 11000") << 1 << ErrorNumber::Overflow;
        QTest::newRow("-32768 - 1") << 2 << ErrorNumber::Overflow;
        QTest::newRow("5 mod 0") << 3 << ErrorNumber::DivisionByZero;
        QTest::newRow("1 / 0") << 4 << ErrorNumber::DivisionByZero;
        QTest::newRow("0 / 0") << 5 << ErrorNumber::Overflow;
        QTest::newRow("Chr(-1)") << 6 << ErrorNumber::InvalidPropertyValue;
        QTest::newRow("Val(\"1e999\")") << 7 << ErrorNumber::Overflow;
        QTest::newRow("Val(\"-4e400\")") << 8 << ErrorNumber::Overflow;
    }
    void arithmeticErrors() {
        QFETCH(int, which);
        QFETCH(ErrorNumber, error);
        const std::function<void()> operations[] = {
            [] { rt::Add16(32767, 1); }, [] { rt::Mul16(3, 11000); }, [] { rt::Sub16(-32768, 1); },
            [] { rt::Mod(5, 0); },       [] { rt::Divide(1, 0); },    [] { rt::Divide(0, 0); },
            [] { rt::Chr(-1); },         [] { rt::Val("1e999"); },    [] { rt::Val("-4e400"); },
        };
        QCOMPARE(errorOf(operations[which]), error);
    }

    void arithmeticResults() {
        QCOMPARE(rt::Add16(32766, 1), int16_t(32767));
        QCOMPARE(rt::Sub16(400, rt::Mul16(3, 100)), int16_t(100));
        QCOMPARE(rt::Mod(100, 21), 16);
        QCOMPARE(rt::Mod(-7, 3), -1); // the sign of the dividend
        QCOMPARE(rt::Mod(-2147483648.0, -1), 0);
        QCOMPARE(rt::Chr(65), QStringLiteral("A"));
        QCOMPARE(rt::Chr(65 + 25), QStringLiteral("Z"));
    }

    void numericValueOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("counter") << "43" << 43.0;
        QTest::newRow("leading blanks") << "   12" << 12.0;
        QTest::newRow("leading tab") << "\t7" << 7.0;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("one blank") << " " << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("plus sign") << "+5" << 5.0;
        QTest::newRow("fraction") << "0.25" << 0.25;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("bare exponent letter") << "12e" << 12.0;
        QTest::newRow("Cyrillic after") << "3 броя" << 3.0;
        QTest::newRow("letter then digits") << "K = 3" << 0.0;
        QTest::newRow("16-bit limit") << "32767" << 32767.0;
        QTest::newRow("fifteen digits") << "999999999999999" << 999999999999999.0;
        QTest::newRow("sixteen digits") << "1234567890123456" << 1234567890123456.0;
        QTest::newRow("negative fraction") << "-2.5" << -2.5;
        QTest::newRow("signed exponent") << "+25E-1" << 2.5;
        QTest::newRow("full-width digit") << "\uFF11" << 0.0;
    }
    void numericValueOfText() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(rt::Val(text), value);
    }

    void shortestDecimal_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("one") << 1.0 << "1";
        QTest::newRow("43") << 43.0 << "43";
        QTest::newRow("235") << 235.0 << "235";
        QTest::newRow("negative") << -7.0 << "-7";
        QTest::newRow("fraction") << 0.25 << "0.25";
        QTest::newRow("round hundred thousand") << 100000.0 << "100000";
        QTest::newRow("negative million") << -1e6 << "-1000000";
        QTest::newRow("largest in full") << 999999999999999.0 << "999999999999999";
        QTest::newRow("beyond full digits") << 1e15 << "1e+15";
        QTest::newRow("large fraction") << 12345.5 << "12345.5";
    }
    void shortestDecimal() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(rt::Str(value), text);
    }

    void counterRoundTrips() {
        // The counter is read back and written again on every tick.
        QString counter = "0";
        for (int i = 0; i < 300; ++i)
            counter = rt::Str(rt::Val(counter) + 1);
        QCOMPARE(counter, QStringLiteral("300"));
    }

    void clockSourceStaysInRange() {
        rt::Randomize();
        float smallest = 1, largest = 0;
        for (int i = 0; i < 100000; ++i) {
            const float r = rt::Rnd(100);
            QVERIFY(r >= 0.0f && r < 1.0f);
            smallest = std::min(smallest, r);
            largest = std::max(largest, r);
        }
        QVERIFY(smallest < 0.001f);
        QVERIFY(largest > 0.999f);
        const float last = rt::Rnd(250);
        QCOMPARE(rt::Rnd(0), last);
    }

    void scriptedSourceReplacesTheClock() {
        testing::ScriptedDraws draws;
        draws->push({0.5f, 0.25f});
        rt::Randomize();
        QCOMPARE(draws->reseeds, 1);
        QCOMPARE(rt::Rnd(100), 0.5f);
        QCOMPARE(rt::Rnd(250), 0.25f);
        QCOMPARE(draws->overruns, 0);
    }
};

QTEST_GUILESS_MAIN(RuntimeTest)
#include "test_runtime.moc"
