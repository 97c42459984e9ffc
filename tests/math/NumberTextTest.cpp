#include "math/NumberText.h"
#include "math/ReadNumber.h"
#include "tests/support/RoundTrip.h"

#include <QTest>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <random>

using namespace owlet;

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void wholeNumbers_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("zero") << 0 << QByteArray(" 0");
        QTest::newRow("25") << 25 << QByteArray(" 25");
        QTest::newRow("-10000") << -10000 << QByteArray("-10000");
        QTest::newRow("int min") << INT32_MIN << QByteArray("-2147483648");
        QTest::newRow("int max") << INT32_MAX << QByteArray(" 2147483647");
    }

    void wholeNumbers() {
        QFETCH(int, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(NumberText(std::int32_t{value})), expected);
    }

    void doubles_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("whole") << 25.0 << QByteArray(" 25");
        QTest::newRow("half") << 12.5 << QByteArray(" 12.5");
        QTest::newRow("rounded to 15 digits")
            << 6.997900629811057 << QByteArray(" 6.99790062981106");
        QTest::newRow("trailing zeros dropped")
            << 3.0003000300030003 << QByteArray(" 3.000300030003");
        QTest::newRow("negative zero") << -0.0 << QByteArray(" 0");
        QTest::newRow("negative") << -6.25 << QByteArray("-6.25");
        QTest::newRow("below one") << 0.5 << QByteArray(" 0.5");
        QTest::newRow("small fixed") << 0.00001 << QByteArray(" 0.00001");
        QTest::newRow("smaller uses exponent") << 0.000001 << QByteArray(" 1E-06");
        QTest::newRow("largest fixed") << 999999999999999.0 << QByteArray(" 999999999999999");
        QTest::newRow("1e15 uses exponent") << 1e15 << QByteArray(" 1E+15");
        QTest::newRow("rounds up into exponent") << 999999999999999.9 << QByteArray(" 1E+15");
        QTest::newRow("huge") << -1.5e300 << QByteArray("-1.5E+300");
        QTest::newRow("largest double") << DBL_MAX << QByteArray(" 1.7976931348623157E+308");
        QTest::newRow("smallest subnormal")
            << 4.9406564584124654e-324 << QByteArray(" 4.94065645841247E-324");
    }

    void doubles() {
        QFETCH(double, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(NumberText(value)), expected);
    }

    // A desktop locale with a decimal comma changes nothing.
    void ignoresTheLocale() {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
            QSKIP("no German locale installed");
        const std::string text = NumberText(6.997900629811057);
        std::setlocale(LC_ALL, "C");
        QCOMPARE(text, std::string(" 6.99790062981106"));
    }

    // Whatever the form, reading the text back gives the value to 15 significant digits.
    void readsBackToFifteenDigits() {
        std::mt19937_64 random(20261207);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        std::uniform_int_distribution<int> scale(-330, 310);
        for (int i = 0; i < 200000; ++i) {
            double x = 0.0;
            switch (i % 5) {
            case 0: // whole numbers
                x = std::round(unit(random) * 1e9);
                break;
            case 1: // short decimals of kHz and MHz
                x = std::round(unit(random) * 1e6) / 1000.0;
                break;
            case 2: // any magnitude, tiny and huge included
                x = unit(random) * std::pow(10.0, scale(random));
                break;
            default: { // any finite bit pattern, subnormals included
                x = std::bit_cast<double>(random());
            }
            }
            if (std::isfinite(x) && !test::roundTripHolds(x))
                QFAIL(qPrintable(QStringLiteral("%1 -> '%2' -> %3")
                                     .arg(x, 0, 'g', 17)
                                     .arg(QString::fromStdString(NumberText(x)))
                                     .arg(ReadNumber(NumberText(x)), 0, 'g', 17)));
        }
    }
};

QTEST_APPLESS_MAIN(NumberTextTest)
#include "NumberTextTest.moc"
