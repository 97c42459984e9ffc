#include "math/Registers.h"

#include <QTest>

using namespace owlet;

class RegistersTest : public QObject {
    Q_OBJECT

private slots:
    void formatRegister_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("R 400") << 400 << 4 << QByteArray("0190");
        QTest::newRow("N 5800, upper case") << 5800 << 4 << QByteArray("16A8");
        QTest::newRow("zero") << 0 << 4 << QByteArray("0000");
        QTest::newRow("16-bit top") << 65535 << 4 << QByteArray("FFFF");
        QTest::newRow("17 bits cut") << 65536 << 4 << QByteArray("0000");
        QTest::newRow("70000 cut") << 70000 << 4 << QByteArray("1170");
        QTest::newRow("-1") << -1 << 4 << QByteArray("FFFF");
        QTest::newRow("-400") << -400 << 4 << QByteArray("FE70");
        QTest::newRow("int min") << INT32_MIN << 4 << QByteArray("0000");
        QTest::newRow("C 5") << 5 << 2 << QByteArray("05");
        QTest::newRow("C 0") << 0 << 2 << QByteArray("00");
        QTest::newRow("C 247") << 247 << 2 << QByteArray("F7");
        QTest::newRow("C 300 cut") << 300 << 2 << QByteArray("2C");
    }

    void formatRegister() {
        QFETCH(int, value);
        QFETCH(int, digits);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(FormatRegister(value, digits)), expected);
    }

    void assembleC_data() {
        QTest::addColumn<int>("refOut");
        QTest::addColumn<bool>("pd0");
        QTest::addColumn<int>("invert");
        QTest::addColumn<int>("lde");
        QTest::addColumn<int>("fv");
        QTest::addColumn<int>("fr");
        QTest::addColumn<int>("c");
        QTest::newRow("initial options") << -1 << true << 0 << 1 << 1 << 1 << 35;
        QTest::newRow("DC Static same as none") << 0 << true << 0 << 1 << 1 << 1 << 35;
        QTest::newRow("everything") << 5 << false << 1 << 1 << 1 << 1 << 247;
        QTest::newRow("nothing") << -1 << true << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("= OscIn") << 1 << true << 0 << 0 << 0 << 0 << 4;
        QTest::newRow("OscIn /4") << 3 << true << 0 << 0 << 0 << 0 << 12;
        QTest::newRow("PDout") << -1 << false << 0 << 0 << 0 << 0 << 64;
        QTest::newRow("greyed boxes count as 0") << -1 << true << 2 << 2 << 2 << 2 << 0;
        QTest::newRow("each bit") << 2 << true << 1 << 0 << 1 << 0 << 128 + 8 + 2;
    }

    void assembleC() {
        QFETCH(int, refOut);
        QFETCH(bool, pd0);
        QFETCH(int, invert);
        QFETCH(int, lde);
        QFETCH(int, fv);
        QFETCH(int, fr);
        QFETCH(int, c);
        const auto i16 = [](int v) {
            return static_cast<std::int16_t>(v);
        };
        QCOMPARE(AssembleC(i16(refOut), pd0, i16(invert), i16(lde), i16(fv), i16(fr)), c);
    }
};

QTEST_APPLESS_MAIN(RegistersTest)
#include "RegistersTest.moc"
