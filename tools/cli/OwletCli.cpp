// owlet-cli: the panel's arithmetic, command lines and serial link for scripts.
#include "link/LinkFailure.h"
#include "link/PortMapping.h"
#include "link/SerialModuleLink.h"
#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"
#include "math/Rounding.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/CliPlan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace owlet;
using namespace owlet::cli;

namespace {

enum Exit { Done = 0, LinkFailed = 1, BadInput = 2, NoReply = 3 };

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// A command line as printed: without its CR LF.
QString shown(const std::string& line) {
    return qt(line.substr(0, line.size() - 2));
}

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

struct Outcome {
    std::vector<std::string> sent;
    std::string replies;
};

// Opens the port, writes each line whole before the next, then collects replies.
Outcome send(const CliOptions& o, const CliPlan& plan, double waitSeconds) {
    Outcome outcome;
    SerialModuleLink link;
    link.setCommEventHandler([&] { outcome.replies += link.readAll(); });
    link.setReceiveThreshold(1);
    link.setTryAgain(QStringLiteral("run owlet-cli again"), QStringLiteral("run owlet-cli again"));
    if (o.device) {
        link.setDevice(qt(*o.device));
    } else {
        link.setPortNumber(RoundToInt16(ReadNumber(*o.port)));
    }
    link.open();
    for (const std::string& line : plan.lines) {
        link.write(line);
        link.drain(5000);
        outcome.sent.push_back(line);
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitSeconds * 1000.0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    outcome.replies += link.readAll();
    return outcome;
}

void report(const CliOptions& o, const CliPlan& plan, const Outcome& outcome) {
    if (o.json) {
        QJsonObject registers;
        for (const RegisterValue& r : plan.registers)
            registers[QString(QChar(r.name))] = QJsonObject{{"value", r.value}, {"hex", qt(r.hex)}};
        QJsonObject all{{"registers", registers}};
        if (plan.actualFcompText)
            all["actual_fcomp_khz"] = ReadNumber(*plan.actualFcompText);
        if (plan.errorHz)
            all["frequency_error_hz"] = *plan.errorHz;
        QJsonArray sent;
        for (const std::string& line : outcome.sent)
            sent.append(shown(line));
        all["sent"] = sent;
        all["replies"] = QString::fromLatin1(outcome.replies.data(),
                                             static_cast<qsizetype>(outcome.replies.size()));
        print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
        return;
    }
    for (const RegisterValue& r : plan.registers) {
        QString line =
            QStringLiteral("%1 = %2 (%3)").arg(QChar(r.name)).arg(r.value).arg(qt(r.hex));
        if (r.name == 'R' && plan.actualFcompText)
            line += QStringLiteral(", comparison frequency %1 kHz")
                        .arg(qt(*plan.actualFcompText).trimmed());
        if (r.name == 'N' && plan.errorHz && *plan.errorHz != 0)
            line += QStringLiteral(", frequency error %1 Hz").arg(*plan.errorHz);
        print(line + u'\n');
    }
    for (const std::string& line : outcome.sent)
        print(QStringLiteral("sent %1\n").arg(shown(line)));
    if (!outcome.replies.empty())
        print(QStringLiteral("reply %1\n")
                  .arg(QString::fromLatin1(outcome.replies.data(),
                                           static_cast<qsizetype>(outcome.replies.size()))
                           .trimmed()
                           .replace(QStringLiteral("\r\n"), QStringLiteral("\nreply "))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    CliOptions options;
    CliPlan plan;
    double waitSeconds = 1.0;
    try {
        options = parseOptions(args);
        if (options.help) {
            print(qt(usage()));
            return Done;
        }
        if (options.version) {
            print(QStringLiteral("owlet-cli " OWLET_VERSION "\n"));
            return Done;
        }
        if (options.listPorts) {
            print(portAssignmentsText() + u'\n');
            return Done;
        }
        waitSeconds = ReadNumber(options.wait);
        if (!(waitSeconds >= 0.0 && waitSeconds <= 3600.0))
            throw CliError("--wait: " + options.wait + " is not 0 to 3600 seconds");
        if (options.port && ReadNumber(*options.port) < 0.5)
            throw CliError("--port: " + *options.port + " is not a port number (1 or above)");
        plan = planCommands(options);
        if (plan.lines.empty())
            throw CliError("nothing to do: give --fref, --fout, a C option, --update or --store");
    } catch (const CliError& error) {
        std::fprintf(stderr, "owlet-cli: %s\n", error.what());
        return BadInput;
    } catch (const ArithmeticFault& fault) {
        std::fprintf(stderr, "owlet-cli: --port/--wait: %s\n", fault.what());
        return BadInput;
    }
    Outcome outcome;
    const bool sending = (options.port || options.device) && !options.dryRun;
    if (sending) {
        try {
            outcome = send(options, plan, waitSeconds);
        } catch (const LinkFailure& failure) {
            std::fprintf(stderr, "owlet-cli: %s: %s\n", linkFailureKindName(failure.kind()),
                         failure.what());
            return LinkFailed;
        } catch (const ArithmeticFault& fault) {
            std::fprintf(stderr, "owlet-cli: --port: %s\n", fault.what());
            return BadInput;
        }
    }
    report(options, plan, outcome);
    if (sending && options.expectReply && outcome.replies.empty()) {
        std::fprintf(stderr, "owlet-cli: the module did not answer within %g s\n", waitSeconds);
        return NoReply;
    }
    return Done;
}
