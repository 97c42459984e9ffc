#include "tools/ModuleProtocol.h"

#include <QTest>

using namespace owlet::sim;

class ModuleProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void decode_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("crLf");
        QTest::addColumn<QByteArray>("meaning");
        QTest::addColumn<QByteArray>("problem");
        QTest::newRow("R") << QByteArray("R0190") << true << QByteArray("reference divider R = 400")
                           << QByteArray();
        QTest::newRow("N") << QByteArray("N16A8") << true << QByteArray("feedback divider N = 5800")
                           << QByteArray();
        QTest::newRow("C")
            << QByteArray("C23") << true
            << QByteArray("control byte C = 23: POL normal, PD double-ended PhV/PhR, LD on, "
                          "REFout DC static, fV on, fR on")
            << QByteArray();
        QTest::newRow("C all")
            << QByteArray("CF7") << true
            << QByteArray("control byte C = F7: POL inverted, PD single-ended PDout, LD on, "
                          "REFout OscIn/16, fV on, fR on")
            << QByteArray();
        QTest::newRow("U") << QByteArray("U") << true << QByteArray("update") << QByteArray();
        QTest::newRow("W") << QByteArray("W") << true << QByteArray("store the settings in EEPROM")
                           << QByteArray();
        QTest::newRow("too long") << QByteArray("R01900") << true << QByteArray()
                                  << QByteArray("wrong length");
        QTest::newRow("too short")
            << QByteArray("C2") << true << QByteArray() << QByteArray("wrong length");
        QTest::newRow("lower case")
            << QByteArray("N16a8") << true << QByteArray() << QByteArray("lower-case");
        QTest::newRow("lower-case letter")
            << QByteArray("u") << true << QByteArray() << QByteArray("lower-case command");
        QTest::newRow("not hex") << QByteArray("R01G0") << true << QByteArray()
                                 << QByteArray("not a hexadecimal");
        QTest::newRow("no CR") << QByteArray("U") << false << QByteArray("update")
                               << QByteArray("not ended by CR LF");
        QTest::newRow("stray CR") << QByteArray("U\r") << true << QByteArray()
                                  << QByteArray("wrong length");
        QTest::newRow("unknown") << QByteArray("X12") << true << QByteArray()
                                 << QByteArray("unknown command");
        QTest::newRow("empty") << QByteArray("") << true << QByteArray()
                               << QByteArray("empty line");
    }

    void decode() {
        QFETCH(QByteArray, line);
        QFETCH(bool, crLf);
        QFETCH(QByteArray, meaning);
        QFETCH(QByteArray, problem);
        const DecodedLine decoded = decodeLine(line.toStdString(), crLf);
        if (problem.isEmpty()) {
            QVERIFY2(decoded.wellFormed(), decoded.problem.c_str());
            QCOMPARE(QByteArray::fromStdString(decoded.meaning), meaning);
        } else {
            QVERIFY2(QByteArray::fromStdString(decoded.problem).startsWith(problem),
                     decoded.problem.c_str());
        }
    }

    void splitsAtLineFeeds() {
        LineSplitter splitter;
        QVERIFY(splitter.feed("R01").empty());
        const auto lines = splitter.feed("90\r\nU\nC2");
        QCOMPARE(lines.size(), 2u);
        QCOMPARE(lines[0].text, "R0190");
        QVERIFY(lines[0].crLf);
        QCOMPARE(lines[1].text, "U");
        QVERIFY(!lines[1].crLf);
        QCOMPARE(splitter.takePending(), "C2");
    }
};

QTEST_APPLESS_MAIN(ModuleProtocolTest)
#include "ModuleProtocolTest.moc"
