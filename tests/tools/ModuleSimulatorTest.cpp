#include "link/SerialModuleLink.h"
#include "tests/support/SimulatorProcess.h"

#include <QTest>

using namespace owlet;
using namespace owlet::test;

// The simulator and the real serial link talk with no hardware.
class ModuleSimulatorTest : public QObject {
    Q_OBJECT

private slots:
    void answersAndDecodes() {
        SimulatorProcess simulator({"--reply", "ACK {letter}"});
        QVERIFY2(simulator.firstLine().startsWith("Module simulator on /dev/pts/"),
                 qPrintable(simulator.firstLine()));
        const QString path = simulator.device();
        QVERIFY(simulator.waitForOutput("owlet\n").contains(
            ("OWLET_COM1=" + path + " owlet\n").toUtf8()));

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
        const QByteArray printed = simulator.waitForOutput("MALFORMED");
        QVERIFY2(printed.contains("R0190    reference divider R = 400"), printed);
        QVERIFY2(printed.contains("c23      MALFORMED: lower-case"), printed);
        QCOMPARE(simulator.interrupt(), 0);
        qunsetenv("OWLET_COM1");
    }
};

QTEST_GUILESS_MAIN(ModuleSimulatorTest)
#include "ModuleSimulatorTest.moc"
