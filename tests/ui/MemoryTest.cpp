#include "ui/SynthWindow.h"

#include "tests/ui/NullLink.h"

#include <QFile>
#include <QStyleFactory>
#include <QTest>

using namespace owlet;

namespace {

// A link whose module floods it: each communication event finds one more chunk waiting.
class FloodLink final : public NullLink {
public:
    std::string waiting;
    std::function<void()> commEvent;
    std::string readAll() override { return std::exchange(waiting, {}); }
    void setCommEventHandler(std::function<void()> handler) override {
        commEvent = std::move(handler);
    }
};

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
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        FloodLink link;
        SynthWindow window(link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.panel().userPressedButton(Control::SetCP);
        QByteArray chunk;
        for (int i = 0; chunk.size() < 4096; ++i)
            chunk += "module log line " + QByteArray::number(i).rightJustified(45, '0') + "\r\n";
        const qint64 before = residentKiB();
        const int chunks = 16 * 1024 * 1024 / int(chunk.size());
        for (int i = 0; i < chunks; ++i) {
            link.waiting = chunk.toStdString();
            link.commEvent();
            if (i % 64 == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const qint64 grown = residentKiB() - before;
        QVERIFY2(grown < 40 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(grown)));
        const std::string& kept = window.panel().text(Control::Text1);
        QVERIFY(kept.size() >= 1024 * 1024 && kept.size() <= 2 * 1024 * 1024);
        QVERIFY(kept.ends_with(chunk.right(64).toStdString()));
    }
};

QTEST_MAIN(MemoryTest)
#include "MemoryTest.moc"
