#include "math/Dividers.h"
#include "math/Rounding.h"
#include "tests/support/Thrown.h"

#include <QTest>

#include <cfloat>
#include <cmath>

using namespace owlet;
using namespace owlet::test;
using Fault = std::optional<FaultKind>;
Q_DECLARE_METATYPE(Fault)

class DividersTest : public QObject {
    Q_OBJECT

private slots:
    void rounding_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("int32");
        QTest::addColumn<Fault>("int16Fault");
        QTest::newRow("2.5 to even 2") << 2.5 << 2 << noFault;
        QTest::newRow("3.5 to even 4") << 3.5 << 4 << noFault;
        QTest::newRow("-2.5 to even -2") << -2.5 << -2 << noFault;
        QTest::newRow("-0.5 to 0") << -0.5 << 0 << noFault;
        QTest::newRow("just below half") << 0.49999999999999994 << 0 << noFault;
        QTest::newRow("nearest") << 1428.5714 << 1429 << noFault;
        QTest::newRow("16-bit top") << 32767.4 << 32767 << noFault;
        QTest::newRow("32767.5 rounds past 16 bits") << 32767.5 << 32768 << overflow;
        QTest::newRow("40000") << 40000.0 << 40000 << overflow;
        QTest::newRow("-32768.5 to even -32768") << -32768.5 << -32768 << noFault;
        QTest::newRow("32-bit top") << 2147483647.4 << INT32_MAX << overflow;
        QTest::newRow("32-bit bottom") << -2147483648.5 << INT32_MIN << overflow;
    }

    void rounding() {
        QFETCH(double, x);
        QFETCH(int, int32);
        QFETCH(Fault, int16Fault);
        QCOMPARE(RoundToInt32(x), int32);
        QCOMPARE(faultOf([&] { RoundToInt16(x); }), int16Fault);
        if (!int16Fault)
            QCOMPARE(int{RoundToInt16(x)}, int32);
    }

    void roundingOutOfRange_data() {
        QTest::addColumn<double>("x");
        QTest::newRow("2147483647.5") << 2147483647.5;
        QTest::newRow("-2147483648.6") << -2147483648.6;
        QTest::newRow("nan") << std::nan("");
        QTest::newRow("inf") << HUGE_VAL;
        QTest::newRow("huge") << 1e300;
    }

    void roundingOutOfRange() {
        QFETCH(double, x);
        QCOMPARE(faultOf([&] { RoundToInt32(x); }), overflow);
        QCOMPARE(faultOf([&] { RoundToInt16(x); }), overflow);
    }

    void computeR_data() {
        QTest::addColumn<double>("fref");
        QTest::addColumn<double>("fcomp");
        QTest::addColumn<int>("r");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("10 MHz at 25 kHz") << 10.0 << 25.0 << 400 << noFault;
        QTest::newRow("10 MHz at 7 kHz") << 10.0 << 7.0 << 1429 << noFault;
        QTest::newRow("1.5 rounds to even 2") << 0.0375 << 25.0 << 2 << noFault;
        QTest::newRow("0.5 rounds to even 0") << 0.0125 << 25.0 << 0 << noFault;
        QTest::newRow("negative reference") << -10.0 << 25.0 << -400 << noFault;
        QTest::newRow("above 16 bits") << 2000.0 << 25.0 << 80000 << noFault;
        QTest::newRow("comparison 0") << 10.0 << 0.0 << 0 << divisionByZero;
        QTest::newRow("both 0") << 0.0 << 0.0 << 0 << overflow;
        QTest::newRow("beyond 32 bits") << 1e9 << 1e-3 << 0 << overflow;
        QTest::newRow("beyond double range") << 1e300 << 1e-300 << 0 << overflow;
    }

    void computeR() {
        QFETCH(double, fref);
        QFETCH(double, fcomp);
        QFETCH(int, r);
        QFETCH(Fault, fault);
        std::int32_t result = 0;
        QCOMPARE(faultOf([&] { result = ComputeR(fref, fcomp); }), fault);
        QCOMPARE(result, r);
        // N follows the same formula.
        QCOMPARE(faultOf([&] { result = ComputeN(fref, fcomp); }), fault);
        QCOMPARE(result, r);
    }

    void computeN_data() {
        QTest::addColumn<double>("fout");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("error");
        QTest::newRow("145 exact") << 145.0 << 5800 << 0;
        QTest::newRow("145.01 below") << 145.01 << 5800 << -10000;
        QTest::newRow("145.013 above") << 145.013 << 5801 << 12000;
        QTest::newRow("145.0125 half to even") << 145.0125 << 5800 << -12500;
        QTest::newRow("145.025 exact") << 145.025 << 5801 << 0;
        QTest::newRow("emptied output") << 0.0 << 0 << 0;
    }

    void computeN() {
        QFETCH(double, fout);
        QFETCH(int, n);
        QFETCH(int, error);
        QCOMPARE(ComputeN(fout, 25.0), n);
        QCOMPARE(FrequencyErrorHz(n, 25.0, fout), error);
        QCOMPARE(NeedsWarning(error), error != 0);
    }

    void actualComparison_data() {
        QTest::addColumn<double>("fref");
        QTest::addColumn<int>("r");
        QTest::addColumn<double>("expected");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("exact") << 10.0 << 400 << 25.0 << noFault;
        QTest::newRow("1429") << 10.0 << 1429 << 6.997900629811057 << noFault;
        QTest::newRow("both negative") << -10.0 << -400 << 25.0 << noFault;
        QTest::newRow("R 0") << 10.0 << 0 << 0.0 << divisionByZero;
        QTest::newRow("R 0 and reference 0") << 0.0 << 0 << 0.0 << overflow;
        QTest::newRow("beyond double range") << DBL_MAX << 1 << 0.0 << overflow;
    }

    void actualComparison() {
        QFETCH(double, fref);
        QFETCH(int, r);
        QFETCH(double, expected);
        QFETCH(Fault, fault);
        double result = 0.0;
        QCOMPARE(faultOf([&] { result = ActualFcompKHz(fref, r); }), fault);
        QCOMPARE(result, expected);
    }

    void frequencyErrorOutOfRange() {
        // N is 0 and the error -3,000,000,000 Hz.
        QCOMPARE(ComputeN(3000.0, 1e7), 0);
        QCOMPARE(faultOf([] { FrequencyErrorHz(0, 1e7, 3000.0); }), overflow);
        QCOMPARE(faultOf([] { FrequencyErrorHz(1, 1e306, 0.0); }), overflow);
    }

    void warning() {
        QVERIFY(!NeedsWarning(0));
        QVERIFY(NeedsWarning(1));
        QVERIFY(NeedsWarning(-1));
        QVERIFY(NeedsWarning(INT32_MAX));
        QCOMPARE(faultOf([] { NeedsWarning(INT32_MIN); }), overflow);
        QCOMPARE(WarningText(-10000), std::string("Non-integer ratio: \r\nFreq error -10000Hz"));
        QCOMPARE(WarningText(12000), std::string("Non-integer ratio: \r\nFreq error  12000Hz"));
    }
};

QTEST_APPLESS_MAIN(DividersTest)
#include "DividersTest.moc"
