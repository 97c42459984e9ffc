#include "math/ReadNumber.h"
#include "tests/support/Thrown.h"

#include <QTest>

#include <cfloat>
#include <cmath>

using namespace owlet;
using namespace owlet::test;

class ReadNumberTest : public QObject {
    Q_OBJECT

private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << QByteArray("") << 0.0;
        QTest::newRow("prompt") << QByteArray("Enter value") << 0.0;
        QTest::newRow("lone minus") << QByteArray("-") << 0.0;
        QTest::newRow("lone period") << QByteArray(".") << 0.0;
        QTest::newRow("sign and period") << QByteArray("+.") << 0.0;
        QTest::newRow("unit after blank") << QByteArray("12.8 MHz") << 12.8;
        QTest::newRow("blank inside digits") << QByteArray("1 45") << 145.0;
        QTest::newRow("tab and line feed inside") << QByteArray("1\t4\n5") << 145.0;
        QTest::newRow("comma ends") << QByteArray("12,5") << 12.0;
        QTest::newRow("leading blank") << QByteArray(" 25") << 25.0;
        QTest::newRow("exponent") << QByteArray("1.45e3") << 1450.0;
        QTest::newRow("upper exponent, signed") << QByteArray("145E-1") << 14.5;
        QTest::newRow("exponent without digits ends") << QByteArray("3e") << 3.0;
        QTest::newRow("exponent sign without digits") << QByteArray("3e+x") << 3.0;
        QTest::newRow("second period ends") << QByteArray("1.2.3") << 1.2;
        QTest::newRow("leading period") << QByteArray(".5") << 0.5;
        QTest::newRow("trailing period") << QByteArray("5.") << 5.0;
        QTest::newRow("plus sign") << QByteArray("+7") << 7.0;
        QTest::newRow("negative") << QByteArray("-10") << -10.0;
        QTest::newRow("carriage return ends") << QByteArray("4\r5") << 4.0;
        QTest::newRow("hex") << QByteArray("&H10") << 16.0;
        QTest::newRow("hex lower case, stops at non-digit") << QByteArray("&hfFz1") << 255.0;
        QTest::newRow("hex wider than 16 bits is unsigned") << QByteArray("&HFFFF") << 65535.0;
        QTest::newRow("hex 17 bits") << QByteArray("&H10000") << 65536.0;
        QTest::newRow("hex 32 bits") << QByteArray("&HFFFFFFFF") << 4294967295.0;
        QTest::newRow("hex rounds like a literal")
            << QByteArray("&H20000000000001") << 9007199254740992.0;
        QTest::newRow("hex without digits") << QByteArray("&H") << 0.0;
        QTest::newRow("octal") << QByteArray("&O17") << 15.0;
        QTest::newRow("octal stops at 8") << QByteArray("&o178") << 15.0;
        QTest::newRow("octal 22 digits")
            << QByteArray("&O1777777777777777777777") << 18446744073709551615.0;
        QTest::newRow("ampersand alone") << QByteArray("&") << 0.0;
        QTest::newRow("sign before ampersand") << QByteArray("-&H10") << 0.0;
        QTest::newRow("underflow reads as zero") << QByteArray("1e-400") << 0.0;
        QTest::newRow("huge negative exponent") << QByteArray("7e-99999999999999999999") << 0.0;
        QTest::newRow("zero with huge exponent") << QByteArray("0e999999") << 0.0;
        QTest::newRow("leading zeros then underflow")
            << QByteArray("0.000000000000000000000000001e-300") << 0.0;
        QTest::newRow("subnormal") << QByteArray("5e-324") << 4.9406564584124654e-324;
        QTest::newRow("largest double") << QByteArray("1.7976931348623157e308") << DBL_MAX;
        QTest::newRow("not inf") << QByteArray("inf") << 0.0;
        QTest::newRow("not nan") << QByteArray("nan") << 0.0;
        QTest::newRow("not 0x") << QByteArray("0x10") << 0.0;
        // Inputs of any length: long digit runs and exponents far beyond the double range
        // that cancel each other.
        QTest::newRow("200,000 zeros, then a tiny exponent")
            << "1" + QByteArray(200000, '0') + "e-1000000" << 0.0;
        QTest::newRow("200,000 zeros after the point, back to 1e9")
            << "0." + QByteArray(200000, '0') + "1e200010" << 1e9;
        QTest::newRow("200,000 digits, scaled down to a frequency")
            << "145" + QByteArray(200000, '0') + "e-200000" << 145.0;
    }

    void reads() {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        double value = -1.0;
        QCOMPARE(faultOf([&] { value = ReadNumber(text.toStdString()); }), noFault);
        QCOMPARE(value, expected);
    }

    void signOfZeroIsKept() {
        QVERIFY(std::signbit(ReadNumber("-0")));
        QVERIFY(std::signbit(ReadNumber("-1e-999")));
        QVERIFY(!std::signbit(ReadNumber("0")));
    }

    void overflows_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1e309") << QByteArray("1e309");
        QTest::newRow("negative") << QByteArray("-2e308");
        QTest::newRow("15-digit max rounds past the range") << QByteArray("1.79769313486232e308");
        QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999");
        QTest::newRow("400 digits") << QByteArray(400, '9');
        QTest::newRow("leading zeros do not help") << QByteArray("000000000000001e400");
        QTest::newRow("hex beyond double") << "&H" + QByteArray(300, 'F');
        QTest::newRow("octal beyond double") << "&O" + QByteArray(400, '7');
        QTest::newRow("200,000 zeros after the point, then a huge exponent")
            << "0." + QByteArray(200000, '0') + "1e1000000";
        QTest::newRow("a million digits") << QByteArray(1000000, '7');
    }

    void overflows() {
        QFETCH(QByteArray, text);
        QCOMPARE(faultOf([&] { ReadNumber(text.toStdString()); }), overflow);
    }
};

QTEST_APPLESS_MAIN(ReadNumberTest)
#include "ReadNumberTest.moc"
