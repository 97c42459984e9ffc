#include "link/SerialModuleLink.h"

#include <QProcess>
#include <QTest>

#include <csignal>

using namespace owlet;

// The simulator and the real serial link talk with no hardware.
class ModuleSimulatorTest : public QObject {
    Q_OBJECT

private slots:
    void answersAndDecodes() {
        QProcess simulator;
        simulator.start(SIMULATOR_PATH, {"--reply", "ACK {letter}"});
        QVERIFY(simulator.waitForStarted());
        QTRY_VERIFY(simulator.canReadLine());
        const QString first = QString::fromUtf8(simulator.readLine()).trimmed();
        QVERIFY2(first.startsWith("Module simulator on /dev/pts/"), qPrintable(first));
        const QString path = first.section(' ', 3);
        QTRY_VERIFY(simulator.bytesAvailable() > 0);
        QVERIFY(simulator.readAll().contains(("OWLET_COM1=" + path + " owlet\n").toUtf8()));

        qputenv("OWLET_COM1", path.toLocal8Bit());
        SerialModuleLink link;
        std::string replies;
        link.setCommEventHandler([&] { replies += link.readAll(); });
        link.setReceiveThreshold(1);
        link.setPortNumber(1);
        link.open();
        link.write("R0190\r\n");
        link.write("c23\r\n");
        QTRY_COMPARE(replies, std::string("ACK R\r\nERR c23\r\n"));
        QByteArray printed;
        QTRY_VERIFY((printed += simulator.readAll()).contains("MALFORMED"));
        QVERIFY2(printed.contains("R0190    reference divider R = 400"), printed);
        QVERIFY2(printed.contains("c23      MALFORMED: lower-case"), printed);

        ::kill(static_cast<pid_t>(simulator.processId()), SIGINT);
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
        QCOMPARE(simulator.exitCode(), 0);
        qunsetenv("OWLET_COM1");
    }
};

QTEST_GUILESS_MAIN(ModuleSimulatorTest)
#include "ModuleSimulatorTest.moc"
