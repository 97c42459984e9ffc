#include "ui/ResponseBox.h"

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
