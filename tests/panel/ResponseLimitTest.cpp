#include "panel/ResponseLimit.h"

#include <QTest>

using namespace owlet;

class ResponseLimitTest : public QObject {
    Q_OBJECT

private slots:
    void trims_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("keptStart"); // what the kept text begins with
        const QByteArray line(63, 'x');
        QByteArray lines;
        for (int i = 0; lines.size() <= int(ResponseLimit); ++i)
            lines += QByteArray::number(i).rightJustified(8, '0') + line.left(54) + "\r\n";
        QTest::newRow("64-byte lines, cut after CR LF") << lines << QByteArray("000");
        QByteArray one(ResponseLimit + 10, 'a');
        QTest::newRow("one long line") << one << QByteArray("aaa");
        QByteArray wide;
        while (wide.size() <= int(ResponseLimit))
            wide += "\xC3\xA9"; // é, two bytes each: never cut in between
        wide += "\xC3\xA9";
        QTest::newRow("two-byte characters") << wide << QByteArray("\xC3\xA9");
        QByteArray far = QByteArray(ResponseLimit - ResponseAtLeast + 200, 'b') + "\n" +
                         QByteArray(ResponseAtLeast - 50, 'c');
        QTest::newRow("line break too late to keep 1 MiB") << far << QByteArray("bbb");
    }

    void trims() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, keptStart);
        std::string s = text.toStdString();
        const std::size_t dropped = trimResponse(s);
        QCOMPARE(dropped + s.size(), std::size_t(text.size()));
        QVERIFY(s.size() >= ResponseAtLeast && s.size() <= ResponseKept);
        QVERIFY(text.endsWith(QByteArray::fromStdString(s))); // the most recent text
        QVERIFY2(QByteArray::fromStdString(s).startsWith(keptStart), s.substr(0, 12).c_str());
        if (keptStart == "000") // whole lines: the kept text starts a line
            QCOMPARE(text[qsizetype(dropped) - 1], '\n');
    }

    void leavesShortTextAlone() {
        std::string s(ResponseLimit, 'z');
        QCOMPARE(trimResponse(s), std::size_t(0));
        QCOMPARE(s.size(), ResponseLimit);
    }
};

QTEST_APPLESS_MAIN(ResponseLimitTest)
#include "ResponseLimitTest.moc"
