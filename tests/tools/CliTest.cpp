#include "link/PortHolders.h"
#include "tests/support/FrequencyCases.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace owlet::test;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& args) {
    QProcess p;
    p.start(CLI_PATH, args);
    Run run;
    if (!p.waitForFinished(10000))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void sendsInOrderAndPrints() {
        PseudoTerminal module;
        const Run run = cli({"--device", module.slavePath(), "--fref", "10", "--fout", "145.01",
                             "--c", "--update", "--wait", "0.1"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(module.read(23, 2000), QByteArray("R0190\r\nN16A8\r\nC23\r\nU\r\n"));
        QVERIFY2(run.out.contains("R = 400 (0190), comparison frequency 25 kHz"),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains("N = 5800 (16A8), frequency error -10000 Hz"),
                 qPrintable(run.out));
        QVERIFY(run.out.contains("sent U"));
    }

    void badInputSendsNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("R above 16 bits") << QStringList{"--fref", "2000"} << "--fref";
        QTest::newRow("comparison 0") << QStringList{"--fref", "10", "--fcomp", "0"} << "--fcomp";
        QTest::newRow("N above 16 bits") << QStringList{"--fout", "1638.4"} << "--fout";
        QTest::newRow("REFout unknown") << QStringList{"--refout", "9"} << "--refout";
        QTest::newRow("unknown option") << QStringList{"--frequency", "10"} << "--frequency";
        QTest::newRow("missing value") << QStringList{"--c", "--fout"} << "--fout";
        QTest::newRow("nothing to do") << QStringList{} << "nothing to do";
        QTest::newRow("refused after a good R")
            << QStringList{"--fref", "10", "--fout", "1e400"} << "--fout";
        QTest::newRow("sweep STEP 0") << QStringList{"--sweep", "145:146:0"} << "--sweep: STEP";
        QTest::newRow("sweep STEP of the wrong sign")
            << QStringList{"--sweep", "146:145:0.025"} << "--sweep: STEP";
        QTest::newRow("sweep too long")
            << QStringList{"--sweep", "1:2:0.000001"} << "at most 100000";
        QTest::newRow("sweep step the chip refuses")
            << QStringList{"--fref", "10", "--sweep", "1.1:0.9:-0.025"}
            << "--sweep at 0.975 MHz: N = 39";
    }
    void badInputSendsNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        PseudoTerminal module;
        // U would go out after any register: it must not either.
        const QStringList withUpdate = args.isEmpty() ? args : args + QStringList{"--update"};
        const Run run = cli(QStringList{"--device", module.slavePath()} + withUpdate);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QCOMPARE(module.read(1, 300), QByteArray());
    }

    void json() {
        PseudoTerminal module;
        const Run run = cli({"--device", module.slavePath(), "--fref", "10", "--fout", "145.01",
                             "--pd-single", "--refout", "OscIn /16", "--json", "--wait", "0"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(o["registers"]["R"]["value"].toInt(), 400);
        QCOMPARE(o["registers"]["N"]["hex"].toString(), "16A8");
        QCOMPARE(o["registers"]["C"]["hex"].toString(), "77");
        QCOMPARE(o["actual_fcomp_khz"].toDouble(), 25.0);
        QCOMPARE(o["frequency_error_hz"].toInt(), -10000);
        QCOMPARE(o["sent"].toArray().size(), 3);
        QCOMPARE(o["sent"].toArray()[2].toString(), "C77");
    }

    void exitStatuses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("not a serial port")
            << QStringList{"--device", "/dev/null", "--c"} << 1 << "is not a serial port";
        QTest::newRow("no such port") << QStringList{"--port", "999", "--c"} << 1
                                      << "Plug in the adapter and run owlet-cli again";
        QTest::newRow("silent module")
            << QStringList{"--c", "--expect-reply", "--wait", "0.2"} << 3 << "did not answer";
        QTest::newRow("dry run") << QStringList{"--c", "--dry-run"} << 0 << "";
    }
    void exitStatuses() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, said);
        PseudoTerminal module;
        QStringList all = args;
        if (!args.contains("--device") && !args.contains("--port"))
            all << "--device" << module.slavePath();
        const Run run = cli(all);
        QCOMPARE(run.exitCode, status);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        if (args.contains("--dry-run")) {
            QVERIFY(run.out.contains("C = 35 (23)"));
            QCOMPARE(module.read(1, 300), QByteArray());
        }
    }

    // Replies are collected until the module has been quiet a while, not for the whole wait.
    void repliesFromTheSimulator() {
        SimulatorProcess simulator;
        QElapsedTimer timer;
        timer.start();
        const Run run = cli({"--device", simulator.device(), "--fref", "10", "--fout", "145",
                             "--expect-reply", "--wait", "5"});
        QVERIFY2(timer.elapsed() < 4000, "waited for the whole --wait");
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("reply OK R0190\nreply OK N16A8"), qPrintable(run.out));
    }

    // A divider the chip cannot count with is refused, unless the user allows it.
    void chipLimits_data() { addRows(ChipLimitCases); }
    void chipLimits() {
        QFETCH(int, row);
        const ChipLimitCase& c = ChipLimitCases[row];
        const bool refused = *c.advice != 0;
        PseudoTerminal module;
        const QStringList args{
            "--device",  module.slavePath(), c.divider == 'R' ? "--fref" : "--fout",
            c.frequency, "--wait",           "0"};
        const Run run = cli(args);
        QCOMPARE(run.exitCode, refused ? 2 : 0);
        QVERIFY2(run.err.contains(c.advice), qPrintable(run.err));
        QCOMPARE(module.read(7, refused ? 300 : 10000).size(), refused ? 0 : 7);
        QCOMPARE(cli(args + QStringList{"--allow-out-of-range"}).exitCode, 0);
        QCOMPARE(module.read(7).size(), 7);
    }

    // --solve names the setting, --fcomp auto programs it.
    void exactSettings_data() { addRows(ExactCases); }
    void exactSettings() {
        QFETCH(int, row);
        const ExactCase& c = ExactCases[row];
        QCOMPARE(cli({"--solve", "--fref", c.fref, "--fout", c.fout}).out.trimmed(), c.setting);
        const Run run = cli({"--fcomp", "auto", "--fref", c.fref, "--fout", c.fout, "--dry-run"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(c.setting), qPrintable(run.out));
        QCOMPARE(run.out.contains("frequency error"), QString(c.setting).contains("error"));
    }

    // R once, then N and U for each step, in order.
    void sweep() {
        PseudoTerminal module;
        const Run run = cli({"--device", module.slavePath(), "--fref", "10", "--sweep",
                             "145:145.05:0.025", "--update", "--wait", "0"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(module.read(37),
                 QByteArray("R0190\r\nN16A8\r\nU\r\nN16A9\r\nU\r\nN16AA\r\nU\r\n"));
        QVERIFY2(run.out.contains("sent 3 of 3 steps"), qPrintable(run.out));
    }

    // Ctrl-C ends a sweep after the line being sent: whole lines, the port and its lock freed.
    void ctrlCStopsASweep() {
        PseudoTerminal module;
        QProcess p;
        p.start(CLI_PATH,
                {"--device", module.slavePath(), "--sweep", "140:150:0.025", "--dwell", "0.05"});
        QByteArray received = module.read(14);
        QCOMPARE(received.size(), 14);
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 130);
        received += module.read(4096, 300);
        QVERIFY(received.size() % 7 == 0 && received.size() < 7 * 401);
        QVERIFY(!QFile::exists(owlet::lockOf(module.slavePath()).path));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "CliTest.moc"
