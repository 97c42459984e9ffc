#include "tests/support/WindowFixture.h"

#include <QFile>
#include <QTest>

using namespace owlet;
using namespace owlet::test;

namespace {

qint64 residentKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

// The panel under a flood of replies: memory stays bounded, as a terminal's scrollback.
class MemoryTest : public QObject {
    Q_OBJECT

private slots:
    void sixteenMebibytesOfRepliesStayBounded() {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer holds freed memory in quarantine: resident size says nothing");
#endif
        WindowFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.panel().userPressedButton(Control::SetCP);
        QByteArray chunk;
        for (int i = 0; chunk.size() < 4096; ++i)
            chunk += "module log line " + QByteArray::number(i).rightJustified(45, '0') + "\r\n";
        const qint64 before = residentKiB();
        const int chunks = 16 * 1024 * 1024 / int(chunk.size());
        for (int i = 0; i < chunks; ++i) {
            f.link.reply(chunk.toStdString());
            if (i % 64 == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const qint64 grown = residentKiB() - before;
        QVERIFY2(grown < 40 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(grown)));
        const std::string& kept = f.panel().text(Control::Text1);
        QVERIFY(kept.size() >= 1024 * 1024 && kept.size() <= 2 * 1024 * 1024);
        QVERIFY(kept.ends_with(chunk.right(64).toStdString()));
    }
};

QTEST_MAIN(MemoryTest)
#include "MemoryTest.moc"
