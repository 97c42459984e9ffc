#include "link/PortHolders.h"
#include "loop/LoopDesigner.h"
#include "tests/support/FrequencyCases.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/Rows.h"
#include "tests/support/SimulatorProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <csignal>

using namespace owlet::test;

namespace {

// A call with its arguments, what it exits with and what it says on stderr.
struct Call {
    const char *name, *args;
    int status;
    const char* said;
};
constexpr Call BadInputs[] = {
    {"R above 16 bits", "--fref 2000", 2, "--fref"},
    {"comparison 0", "--fref 10 --fcomp 0", 2, "--fcomp"},
    {"N above 16 bits", "--fout 1638.4", 2, "--fout"},
    {"REFout unknown", "--refout 9", 2, "--refout"},
    {"unknown option", "--frequency 10", 2, "--frequency"},
    {"missing value", "--c --fout", 2, "--fout"},
    {"nothing to do", "", 2, "nothing to do"},
    {"refused after a good R", "--fref 10 --fout 1e400", 2, "--fout"},
    {"sweep STEP 0", "--sweep 145:146:0", 2, "--sweep: STEP"},
    {"sweep STEP of the wrong sign", "--sweep 146:145:0.025", 2, "--sweep: STEP"},
    {"sweep too long", "--sweep 1:2:0.000001", 2, "at most 100000"},
    {"sweep step the chip refuses", "--fref 10 --sweep 1.1:0.9:-0.025", 2,
     "--sweep at 0.975 MHz: N = 39"},
};
constexpr Call ExitStatuses[] = {
    {"not a serial port", "--device /dev/null --c", 1, "is not a serial port"},
    {"no such port", "--port 999 --c", 1, "Plug in the adapter and run owlet-cli again"},
    {"silent module", "--c --expect-reply --wait 0.2", 3, "did not answer"},
    {"dry run", "--c --dry-run", 0, ""},
};

// owlet-cli --loop with one fault each, after a plan it takes.
constexpr auto LoopPlan = "--loop --fref 10 --fout 145 --kvco 8 --c2 1u ";
// Each field's own faults are walked row by row in loopFieldsNamed.
constexpr Call LoopBadInputs[] = {
    {"R1 0", "--r1 0 --r2 1k", 2, "--r1: needs 1 m"},
    {"Kvco 0", "--r1 1k --r2 1k --kvco 0", 2, "--kvco: needs the VCO's gain"},
    {"resistors and a design", "--r1 1k --r2 1k --natural-frequency 1 --damping 1", 2,
     "give one of"},
    {"N the chip cannot count", "--fout 0.5 --r1 1k --r2 1k", 2, "--fout: N = 20"},
    {"Cc on PDout", "--pd-single --cc 1n --r1 1k --r2 1k", 2, "--cc: belongs to"},
    {"a port", "--r1 1k --r2 1k --port 1", 2, "sends nothing"},
    {"design beyond the resistors", "--natural-frequency 0.001 --damping 0.7", 2,
     "--natural-frequency: gives R1 above 1 T"},
    {"margin beyond the parts", "--cc 1u --crossover 100 --phase-margin 60", 2,
     "--phase-margin: cannot be reached at this crossover"},
    {"VCO points and Kvco", "--vco 141@2,149@3 --r1 1k --r2 1k", 2, "--kvco: is given by"},
    {"one VCO point", "--vco 141@2 --r1 1k --r2 1k", 2, "--vco: needs a frequency"},
    {"the op-amp's range on PDout", "--pd-single --rails 0:5 --r1 1k --r2 1k", 2,
     "--rails: belongs to"},
    {"noise offsets falling", "--r1 1k --r2 1k --ref-noise 1k:-150,100:-130", 2,
     "--ref-noise: '100:-130' comes after a higher offset"},
    {"a noise point without its colon", "--r1 1k --r2 1k --vco-noise 1k-70", 2,
     "--vco-noise: '1k-70' is not a point"},
    {"a band upside down", "--r1 1k --r2 1k --band 10k:100", 2, "--band: needs a band"},
    {"a negative leakage", "--r1 1k --r2 1k --leakage -1n", 2, "--leakage: needs a current"},
    {"op-amp noise on PDout", "--pd-single --r1 1k --r2 1k --opamp-noise 10n", 2,
     "--opamp-noise: belongs to"},
};

// Small steps, simulated and linear within 2 %, for both forms with every optional part
// alone and together, time constants equal (R1 Cc / 4 = R3 C3; Cc's pole on C1's), a
// millionth apart and apart.
constexpr auto SimulatedPlan = "--loop --fref 10 --fout 145 --kvco 8 --c2 1u --json ";
constexpr Call SimulatedSteps[] = {
    {"PDout C1", "--pd-single --r1 18k --r2 3k3 --c1 100n", 0, ""},
    {"PDout R3/C3", "--pd-single --r1 18k --r2 3k3 --c1 100n --r3 4k7 --c3 22n", 0, ""},
    {"PDout R3 C3 as R2 C1", "--pd-single --r1 18k --r2 3k3 --c1 100n --r3 3k3 --c3 100n", 0, ""},
    {"phi core", "--r1 20k --r2 3k3", 0, ""},
    {"phi C1", "--r1 20k --r2 3k3 --c1 100n", 0, ""},
    {"phi Cc", "--r1 20k --r2 3k3 --cc 2n", 0, ""},
    {"phi R3/C3", "--r1 20k --r2 3k3 --r3 10k --c3 1n", 0, ""},
    {"phi all", "--r1 20k --r2 3k3 --c1 100n --cc 2n --r3 4k7 --c3 22n", 0, ""},
    {"phi Cc and R3/C3 equal", "--r1 20k --r2 3k3 --cc 2n --r3 10k --c3 1n", 0, ""},
    {"phi a millionth apart", "--r1 20k --r2 3k3 --cc 2.000002n --r3 10k --c3 1n", 0, ""},
    {"phi a hundred-millionth apart", "--r1 20k --r2 3k3 --cc 2.00000001n --r3 10k --c3 1n", 0, ""},
    {"phi apart", "--r1 20k --r2 3k3 --cc 2.2n --r3 10k --c3 1n", 0, ""},
    {"phi equal, lower parts", "--r1 4k --r2 1k --cc 10n --r3 1k --c3 10n", 0, ""},
    {"phi Cc meets C1/C2", "--r1 20k --r2 1010 --c1 10n --cc 2n", 0, ""},
    {"phi Cc near C1/C2", "--r1 20k --r2 1011 --c1 10n --cc 2n", 0, ""},
};

QStringList arguments(const char* line) {
    return QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts);
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& args, int timeoutMs = 10000) {
    QProcess p;
    p.start(CLI_PATH, args);
    Run run;
    if (!p.waitForFinished(timeoutMs))
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

    void badInputSendsNothing_data() { addRows(BadInputs); }
    void badInputSendsNothing() {
        const Call& c = currentRow(BadInputs);
        PseudoTerminal module;
        // U would go out after any register: it must not either.
        const QStringList args = arguments(c.args);
        const QStringList withUpdate = args.isEmpty() ? args : args + QStringList{"--update"};
        const Run run = cli(QStringList{"--device", module.slavePath()} + withUpdate);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(c.said), qPrintable(run.err));
        QCOMPARE(module.read(1, 300), QByteArray());
    }

    void loopBadInput_data() { addRows(LoopBadInputs); }
    void loopBadInput() {
        const Call& c = currentRow(LoopBadInputs);
        const Run run = cli(arguments(LoopPlan) + arguments(c.args));
        QCOMPARE(run.exitCode, c.status);
        QVERIFY2(run.err.contains(c.said), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    // Every input of the loop's table, unreadable and then above its bounds, is named by the
    // designer and by owlet-cli with its own sentence.
    void loopFieldsNamed() {
        using owlet::loop::LoopField;
        namespace loop = owlet::loop;
        const loop::PanelSetting panel{"10", "25", "145", false, false};
        for (const loop::LoopFieldRow& row : loop::LoopFields()) {
            if (loop::IsPanelField(row.field))
                continue;
            const bool byCrossover =
                row.field == LoopField::Crossover || row.field == LoopField::PhaseMargin;
            const bool design = byCrossover || row.field == LoopField::NaturalFrequency ||
                                row.field == LoopField::Damping;
            const std::string need(row.need);
            // The rows of two numbers and of noise points: what they are not, and a text past
            // the bounds.
            const auto is = [&](std::initializer_list<LoopField> fields) {
                return std::find(fields.begin(), fields.end(), row.field) != fields.end();
            };
            const bool point = is({LoopField::VcoPoint1, LoopField::VcoPoint2});
            const bool band = is({LoopField::Band, LoopField::FmBand});
            const bool pair = point || band || is({LoopField::Rails});
            const bool profile = is({LoopField::RefNoise, LoopField::VcoNoise});
            const std::string unreadable =
                profile ? "a point as offset:dBc/Hz"
                : pair  ? std::string("two numbers parted by '") + (point ? '@' : ':') + "'"
                        : "a number";
            const std::string above = point     ? "1e7@1"
                                      : band    ? "1:1e10"
                                      : pair    ? "0:1e4"
                                      : profile ? "1k:10"
                                                : std::to_string(row.bounds.high * 10 + 1);
            const std::string outside = profile ? "'1k:10' is out of range: " + need : need;
            for (const auto& [text, said] :
                 {std::pair{std::string("x"), "'x' is not " + unreadable + ": " + need},
                  {above, outside}}) {
                loop::LoopDesigner d;
                d.followPanel(panel);
                for (const auto& [f, t] : {std::pair{LoopField::Kvco, "8"},
                                           {LoopField::C2, "1u"},
                                           {LoopField::R1, "18k"},
                                           {LoopField::R2, "3k3"}})
                    d.setText(f, t);
                d.setText(row.field, text);
                d.setDesignBy(loop::LoopDesigner::Words.designChoices[byCrossover ? 1 : 0]);
                if (design)
                    d.design();
                QCOMPARE(
                    QString::fromStdString(std::string(row.option) + " " + text + ": " +
                                           d.problemOf(row.field)),
                    QString::fromStdString(std::string(row.option) + " " + text + ": " + said));

                QStringList args = arguments(LoopPlan);
                args << (byCrossover ? QStringList{"--crossover", "100", "--phase-margin", "50"}
                         : design    ? QStringList{"--natural-frequency", "100", "--damping", "0.7"}
                                     : QStringList{"--r1", "18k", "--r2", "3k3"});
                const QString option = QString::fromUtf8(row.option.data(), row.option.size());
                if (const qsizetype at = args.indexOf(option); at >= 0)
                    args.remove(at, 2); // the field's own value comes instead
                // The second of two rows that share an option: its text after the first's.
                const bool second = row.field == LoopField::VcoPoint2;
                args << option << QString::fromStdString((second ? "141@2," : "") + text);
                const Run run = cli(args);
                QCOMPARE(run.exitCode, 2);
                QVERIFY2(run.err.contains(option + ": " + QString::fromStdString(said)),
                         qPrintable(option + " " + run.err));
            }
        }
    }

    // The noise through a real process: every source's spot values, null for one not given,
    // the integrated figures with their bands, the spurs, and a design for the least noise.
    void loopNoise() {
        const QString svg = QDir::temp().filePath(
            QStringLiteral("owlet-cli-noise-%1.svg").arg(QCoreApplication::applicationPid()));
        const Run run = cli(arguments(LoopPlan) +
                            arguments("--pd-single --c1 100n --natural-frequency lowest-noise "
                                      "--damping 0.7 --ref-noise 100:-130,1k:-150 --vco-noise "
                                      "1k:-70,10k:-95,100k:-118 --leakage 1n --json") +
                            QStringList{"--svg", svg});
        QCOMPARE(run.exitCode, 0);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray drawn = file.readAll();
        QCOMPARE(drawn.count("<title>"), 4); // the phase-noise plot after the other three
        QVERIFY(drawn.contains("Phase noise at the output"));
        file.remove();
        const QJsonObject loop = QJsonDocument::fromJson(run.out.toUtf8())["loop"].toObject();
        const QJsonArray spots = loop["noise"]["spot"].toArray();
        QCOMPARE(spots.size(), 4);
        for (const QJsonValue& spot : spots) {
            QVERIFY(spot["reference_dbc_hz"].isDouble() && spot["vco_dbc_hz"].isDouble());
            QVERIFY(spot["detector_dbc_hz"].isNull() && spot["opamp_dbc_hz"].isNull());
            // Powers add: the total is above every part, and below their count times the most.
            const double total = spot["total_dbc_hz"].toDouble();
            for (const char* source : {"reference_dbc_hz", "vco_dbc_hz", "resistors_dbc_hz"})
                QVERIFY(total >= spot[source].toDouble() - 1e-9);
        }
        QCOMPARE(loop["noise"]["resistors"].toObject().keys(), QStringList({"R2"}));
        QVERIFY(loop["noise"]["integrated_phase_noise_deg"].toDouble() > 0.0);
        QCOMPARE(loop["noise"]["fm_band_hz"].toArray(), QJsonArray({300.0, 3000.0}));
        QCOMPARE(loop["spurs"].toArray().size(), 3);
        QCOMPARE(loop["spurs"][1]["offset_hz"].toDouble(), 50e3);
        QVERIFY(loop["lowest_noise_natural_frequency_hz"].toDouble() > 0.0);
        QVERIFY(loop["designed"].isObject());
        // No source given: no noise at all.
        const Run plain = cli(arguments(LoopPlan) + arguments("--r1 18k --r2 3k3 --json"));
        QVERIFY(QJsonDocument::fromJson(plain.out.toUtf8())["loop"]["noise"].isNull());
    }

    void simulatedAgainstLinear_data() { addRows(SimulatedSteps); }
    void simulatedAgainstLinear() {
        const Run run = cli(arguments(SimulatedPlan) + arguments(currentRow(SimulatedSteps).args));
        QCOMPARE(run.exitCode, 0);
        const QJsonObject loop = QJsonDocument::fromJson(run.out.toUtf8())["loop"].toObject();
        QVERIFY2(loop["locks"].toBool(), qPrintable(run.out));
        const double ratio =
            loop["simulated_lock_time_s"].toDouble() / loop["lock_time_s"].toDouble();
        QVERIFY2(std::abs(ratio - 1.0) < 0.02, qPrintable(QString::number(ratio)));
    }

    // The figures of a loop that runs away still come, with exit 0, and say so; the design
    // gives its exact resistors; both plots go to the SVG file.
    void loopJsonAndSvg() {
        const QString svg = QDir::temp().filePath(
            QStringLiteral("owlet-cli-loop-%1.svg").arg(QCoreApplication::applicationPid()));
        Run run =
            cli(arguments(LoopPlan) + QStringList{"--kvco", "-8", "--natural-frequency", "100",
                                                  "--damping", "1", "--json", "--svg", svg});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject loop = QJsonDocument::fromJson(run.out.toUtf8())["loop"].toObject();
        QCOMPARE(loop["detector"].toString(), "phvphr");
        QCOMPARE(loop["n"].toInt(), 5800);
        QCOMPARE(loop["fcomp_hz"].toDouble(), 25000.0);
        QCOMPARE(loop["step_hz"].toDouble(), 25000.0);
        QCOMPARE(loop["tolerance_hz"].toDouble(), 250.0);
        QCOMPARE(loop["locks"].toBool(), false);
        QVERIFY(loop["lock_time_s"].isNull() && loop["simulated_lock_time_s"].isNull());
        QVERIFY(loop["warnings"].toArray().first().toString().contains("tick Invert PD"));
        // R1 = Kphi Kv / (N wn^2 C2), R2 = 2 zeta / (wn C2)
        const double wn = 2 * M_PI * 100;
        QCOMPARE(loop["designed"]["r1_ohm"].toDouble(),
                 5 / (2 * M_PI) * 2 * M_PI * 8e6 / (5800 * wn * wn * 1e-6));
        QCOMPARE(loop["designed"]["r2_ohm"].toDouble(), 2 / (wn * 1e-6));
        QCOMPARE(loop["filter"]["r2_ohm"].toDouble(), 3300.0);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("<title>"), 3);
        file.remove();
        run = cli(arguments(LoopPlan) + QStringList{"--r1", "18k", "--r2", "3k3"});
        QVERIFY2(run.out.contains(QString::fromUtf8("Phase margin               ")) &&
                     run.out.contains("Locks                      yes"),
                 qPrintable(run.out));
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

    void exitStatuses_data() { addRows(ExitStatuses); }
    void exitStatuses() {
        const Call& c = currentRow(ExitStatuses);
        PseudoTerminal module;
        QStringList args = arguments(c.args);
        if (!args.contains("--device") && !args.contains("--port"))
            args << "--device" << module.slavePath();
        const Run run = cli(args);
        QCOMPARE(run.exitCode, c.status);
        QVERIFY2(run.err.contains(c.said), qPrintable(run.err));
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

    // Without --idle, a module that stays silent ends the collecting 0.2 s after the last
    // line, well before --wait.
    void idleByDefault() {
        PseudoTerminal module;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(cli({"--device", module.slavePath(), "--update", "--wait", "5"}).exitCode, 0);
        QVERIFY2(timer.elapsed() >= 200 && timer.elapsed() < 800,
                 qPrintable(QString::number(timer.elapsed())));
    }

    // A sweep that a lost port stops says how far it came and where it stopped, in text
    // and in JSON, and exits 1.
    void sweepStoppedByALostPort_data() {
        QTest::addColumn<bool>("json");
        QTest::newRow("text") << false;
        QTest::newRow("json") << true;
    }
    void sweepStoppedByALostPort() {
        QFETCH(bool, json);
        PseudoTerminal module;
        QProcess p;
        p.start(CLI_PATH, QStringList{"--device", module.slavePath(), "--sweep", "140:150:0.025",
                                      "--dwell", "0.05"} +
                              (json ? QStringList{"--json"} : QStringList{}));
        QCOMPARE(module.read(14).size(), 14);
        module.hangUp();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("Device unavailable"));
        const QByteArray out = p.readAllStandardOutput();
        if (!json) {
            const QRegularExpression failed("sent (\\d+) of 401 steps\nfailed at N\\w{4} \\(step "
                                            "(\\d+) of 401, [\\d.]+ MHz\\), not sent");
            const QRegularExpressionMatch m = failed.match(QString::fromUtf8(out));
            QVERIFY2(m.hasMatch(), out.constData());
            QCOMPARE(m.captured(2).toInt(), m.captured(1).toInt() + 1);
            return;
        }
        const QJsonObject o = QJsonDocument::fromJson(out).object();
        const int sent = o["steps_sent"].toInt();
        QVERIFY2(sent >= 1 && sent < 401, out.constData());
        QCOMPARE(o["failed"]["step"].toInt(), sent + 1);
        QCOMPARE(o["failed"]["kind"].toString(), "Device unavailable");
        QCOMPARE(o["sent"].toArray().size(), sent);
    }

    // A port lost after the last line, while the replies are collected, is told as such,
    // with no step and nothing called unsent.
    void lostWhileCollecting_data() { sweepStoppedByALostPort_data(); }
    void lostWhileCollecting() {
        QFETCH(bool, json);
        PseudoTerminal module;
        QProcess p;
        p.start(CLI_PATH, QStringList{"--device", module.slavePath(), "--sweep", "140:140.05:0.025",
                                      "--wait", "20", "--idle", "10"} +
                              (json ? QStringList{"--json"} : QStringList{}));
        QCOMPARE(module.read(21), QByteArray("N15E0\r\nN15E1\r\nN15E2\r\n"));
        module.hangUp();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        const QByteArray out = p.readAllStandardOutput();
        if (!json) {
            QVERIFY2(out.contains("sent 3 of 3 steps\nlost while collecting the replies after the "
                                  "last line: Device unavailable\n"),
                     out.constData());
            return;
        }
        const QJsonObject o = QJsonDocument::fromJson(out).object();
        QCOMPARE(o["steps_sent"].toInt(), 3);
        QCOMPARE(o["failed"].toObject().keys(), QStringList({"kind", "lost", "message"}));
    }

    // A flood of replies: the last MiB is kept and the bytes before it are counted exactly.
    void repliesKeptToTheLastMiB() {
        PseudoTerminal module;
        QProcess p;
        p.start(CLI_PATH, {"--device", module.slavePath(), "--fref", "10", "--wait", "20", "--idle",
                           "1", "--json"});
        QCOMPARE(module.read(7), QByteArray("R0190\r\n"));
        const qsizetype flood = 3 * 1024 * 1024 / 2 + 123;
        module.write(QByteArray(flood, 'x'));
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(o["replies"].toString().size(), 1024 * 1024);
        QCOMPARE(o["replies_dropped_bytes"].toInteger(), flood - 1024 * 1024);
    }

    // A line the port does not take within 10 s (the far end reads nothing) is a failure,
    // not a line sent.
    void stalledLine() {
        PseudoTerminal module;
        const Run run =
            cli({"--device", module.slavePath(), "--sweep", "140:149.99:0.0001", "--dwell", "0"},
                30000);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("did not take the line within 10 s"), qPrintable(run.err));
        QVERIFY2(run.out.contains(QRegularExpression("failed at N\\w{4} \\(step \\d+ of 99901")),
                 qPrintable(run.out.right(300)));
    }

    // A divider the chip cannot count with is refused, unless the user allows it.
    void chipLimits_data() { addRows(ChipLimitCases); }
    void chipLimits() {
        const ChipLimitCase& c = currentRow(ChipLimitCases);
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
        const ExactCase& c = currentRow(ExactCases);
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
