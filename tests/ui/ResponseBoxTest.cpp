#include "ui/ResponseBox.h"
#include "panel/ResponseLimit.h"

#include <QElapsedTimer>

#include <QScrollBar>
#include <QTest>

using namespace owlet;

class ResponseBoxTest : public QObject {
    Q_OBJECT

private slots:
    void lineBreaks_data() {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QStringList{"A", "B\r\n"} << "AB\n";
        QTest::newRow("CR LF split") << QStringList{"x\r", "\ny"} << "x\ny";
        QTest::newRow("lone CR and LF") << QStringList{"a\rb\nc"} << "a\nb\nc";
        QTest::newRow("two line ends") << QStringList{"\r\n\r\n"} << "\n\n";
        QTest::newRow("markup stays text")
            << QStringList{"<b>bold</b> &amp;"} << "<b>bold</b> &amp;";
        QTest::newRow("NUL and Latin-1 kept")
            << QStringList{QString(QChar(0)) + QChar(0xE9)} << QString(QChar(0)) + QChar(0xE9);
    }

    void lineBreaks() {
        QFETCH(QStringList, pieces);
        QFETCH(QString, shown);
        ResponseBox box;
        for (const QString& piece : pieces)
            box.append(piece);
        QCOMPARE(box.toPlainText(), shown);
        box.clearText();
        box.append("\n");
        QCOMPARE(box.toPlainText(), "\n"); // a cleared box forgets a pending CR
    }

    void longLinesAreShownInParagraphs() {
        ResponseBox box;
        const QString line(3000, u'x');
        box.append(line.left(100));
        box.append(line.mid(100) + "\r\nnext");
        const QStringList shown = box.toPlainText().split(u'\n');
        QCOMPARE(shown.join(QString()), line + "next"); // nothing lost or added but breaks
        QCOMPARE(shown.size(), 3000 / int(ReplyLines::MaxParagraph) + 2);
        for (const QString& paragraph : shown)
            QVERIFY(paragraph.size() <= int(ReplyLines::MaxParagraph));
        QCOMPARE(shown.last(), "next");
    }

    void keepsTheMostRecentTextWithinTheLimit() {
        ResponseBox box;
        const QString chunk = QString(60, u'r') + "\r\n";
        for (int i = 0; i < 3 * 1024 * 1024 / chunk.size(); ++i)
            box.append(chunk);
        box.append("the last reply");
        const QString shown = box.toPlainText();
        QVERIFY2(shown.size() >= qsizetype(ResponseAtLeast) &&
                     shown.size() <= qsizetype(ResponseLimit),
                 qPrintable(QString::number(shown.size())));
        QVERIFY(shown.endsWith("the last reply"));
        QVERIFY(shown.startsWith(QString(60, u'r') + "\n")); // whole lines dropped
    }

    // A reply costs the same whether the box is empty or holds 1 MiB in one line.
    void replyCostDoesNotGrowWithTheBox() {
        const auto costOf200Replies = [](const QString& before) {
            ResponseBox box;
            box.resize(160, 100);
            box.show();
            box.append(before);
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < 200; ++i) {
                box.append("OK R0190");
                QCoreApplication::processEvents();
            }
            return timer.nsecsElapsed();
        };
        const qint64 empty = costOf200Replies({});
        const qint64 full = costOf200Replies(QString(1024 * 1024, u'z'));
        QVERIFY2(
            full < 3 * empty + 20'000'000,
            qPrintable(QStringLiteral("%1 ms against %2 ms").arg(full / 1e6).arg(empty / 1e6)));
    }

    void followsTheEndUnlessScrolledUp() {
        ResponseBox box;
        box.resize(160, 100);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        for (int i = 0; i < 50; ++i)
            box.append(QString("line %1\r\n").arg(i));
        QScrollBar* bar = box.verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(3);
        box.append("more\r\n");
        QCOMPARE(bar->value(), 3);
    }
};

QTEST_MAIN(ResponseBoxTest)
#include "ResponseBoxTest.moc"
