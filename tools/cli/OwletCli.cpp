// owlet-cli: the panel's register plan, command lines and serial link for scripts.
#include "app/SignalQuit.h"
#include "link/LinkFailure.h"
#include "link/PortMapping.h"
#include "link/SerialModuleLink.h"
#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"
#include "math/Rounding.h"
#include "owlet/Version.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/CliPlan.h"
#include "tools/cli/LoopCommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

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

// Sleeps in the event loop until something happens (a reply, a signal) or `ms` pass.
void waitForEvents(int ms) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Seconds from an option, 0 to an hour.
double seconds(const char* option, const std::string& text) {
    const double value = ReadNumber(text);
    if (!(value >= 0.0 && value <= 3600.0))
        throw CliError(std::string(option) + ": " + text + " is not 0 to 3600 seconds");
    return value;
}

struct Timing {
    double wait = 1.0;  // replies are collected at most this long after the last line
    double idle = 0.2;  // ... and only until the module has been quiet this long
    double dwell = 0.0; // after each sweep step
};

// Reply text kept for the report: the last MiB; what came before it is counted.
constexpr std::size_t MostReplyBytes = 1024 * 1024;
// How long one line may take to go out (a network port may still be connecting).
constexpr int LineBoundMs = 10000;

struct Outcome {
    std::vector<std::string> sent;
    std::size_t stepsDone = 0;
    std::string replies;
    std::size_t repliesDropped = 0;     // bytes before the kept MiB
    std::optional<LinkFailure> failure; // the link failure that ended the run
    std::string failedLine;             // the line it ended on, if one
    int signal = 0;                     // the signal that stopped the run, if any

    void keepReplies(const std::string& bytes) {
        replies += bytes;
        if (replies.size() > MostReplyBytes) {
            const std::size_t drop = replies.size() - MostReplyBytes;
            replies.erase(0, drop);
            repliesDropped += drop;
        }
    }
};

// Opens the port, writes each line whole before the next, and collects the replies. A
// termination signal stops it after the line being written; the port and its lock file
// are released on the way out.
class Sender {
public:
    Sender(const CliOptions& o, const Timing& timing, const sigset_t& termination)
        : timing_(timing)
        , quit_(termination, [this](int signal) { outcome_.signal = signal; }) {
        link_.setCommEventHandler([this] {
            try {
                outcome_.keepReplies(link_.readAll());
            } catch (const LinkFailure& failure) {
                lost_ = failure; // thrown on from outside the event loop
            }
            quiet_.restart();
        });
        link_.setReceiveThreshold(1);
        link_.setTryAgain(QStringLiteral("run owlet-cli again"),
                          QStringLiteral("run owlet-cli again"));
        if (o.device)
            link_.setDevice(qt(*o.device));
        else
            link_.setPortNumber(RoundToInt16(ReadNumber(*o.port)));
        link_.open();
        quiet_.start();
    }

    // Ends on a link failure with what went out before it, and the line it failed on.
    Outcome run(const CliPlan& plan, bool expectReply) {
        try {
            sendAll(plan, expectReply);
        } catch (const LinkFailure& failure) {
            outcome_.failure = failure;
        }
        return outcome_;
    }

private:
    void sendAll(const CliPlan& plan, bool expectReply) {
        for (const std::string& line : plan.lines)
            if (!send(line))
                return;
        const bool progress = !plan.sweep.empty() && ::isatty(STDERR_FILENO);
        for (const SweepStep& step : plan.sweep) {
            for (const std::string& line : step.lines)
                if (!send(line))
                    return;
            ++outcome_.stepsDone;
            if (progress)
                std::fprintf(stderr, "\rstep %zu of %zu: %s MHz, error %d Hz\033[K",
                             outcome_.stepsDone, plan.sweep.size(), step.foutText.c_str(),
                             step.output.errorHz);
            spin(timing_.dwell);
        }
        if (progress)
            std::fputc('\n', stderr);
        collect(expectReply);
    }

    // False once a signal asked to stop: the line before it went out whole. A line that
    // is not written within the bound is a failure, never counted as sent.
    bool send(const std::string& line) {
        if (outcome_.signal)
            return false;
        outcome_.failedLine = line;
        link_.write(line);
        link_.drain(LineBoundMs);
        throwIfLost();
        outcome_.failedLine.clear();
        outcome_.sent.push_back(line);
        quiet_.restart();
        QCoreApplication::processEvents(); // replies, and a signal
        return true;
    }

    // Takes replies and signals for `secondsToWait`.
    void spin(double secondsToWait) {
        QElapsedTimer timer;
        timer.start();
        while (!outcome_.signal && timer.elapsed() < secondsToWait * 1000.0)
            waitForEvents(10);
    }

    // Until the module has been quiet for the idle time after the last line (with
    // --expect-reply, once it has answered at all), never longer than the wait.
    void collect(bool expectReply) {
        QElapsedTimer total;
        total.start();
        while (!outcome_.signal && !lost_ && total.elapsed() < timing_.wait * 1000.0) {
            const bool answered = !outcome_.replies.empty() || !expectReply;
            if (answered && quiet_.elapsed() >= timing_.idle * 1000.0)
                break;
            waitForEvents(10);
        }
        throwIfLost();
        outcome_.keepReplies(link_.readAll());
    }

    void throwIfLost() {
        if (lost_)
            throw *lost_;
    }

    Timing timing_;
    Outcome outcome_;
    std::optional<LinkFailure> lost_; // the link went away while the event loop ran
    QElapsedTimer quiet_;             // since the last line or reply
    SerialModuleLink link_;
    SignalQuit quit_;
};

QString stepText(const SweepStep& step, std::size_t index, std::size_t count) {
    QString text = QStringLiteral("step %1 of %2: %3 MHz, N = %4 (%5)")
                       .arg(index + 1)
                       .arg(count)
                       .arg(qt(step.foutText))
                       .arg(step.output.n)
                       .arg(shown(step.lines.front()).mid(1));
    if (step.output.errorHz != 0)
        text += QStringLiteral(", frequency error %1 Hz").arg(step.output.errorHz);
    return text;
}

QJsonObject solvedJson(const ExactSetting& s) {
    QJsonObject o{{"exact", s.exact()}, {"text", qt(ExactSettingText(s))}};
    if (s.kind != ExactSetting::Kind::None) {
        o["from_list"] = s.kind != ExactSetting::Kind::BelowLimit;
        o["fcomp_khz"] = qt(s.fcompText);
        o["R"] = s.r;
        o["N"] = s.n;
        o["frequency_error_hz"] = s.errorHz;
    }
    return o;
}

// The sweep step whose line the run failed on (counted from 1), or 0 for a line before
// the sweep or a port lost once every line had gone out.
std::size_t failedStep(const CliPlan& plan, const Outcome& outcome) {
    return !outcome.failedLine.empty() && !plan.sweep.empty() &&
                   outcome.sent.size() >= plan.lines.size()
               ? outcome.stepsDone + 1
               : 0;
}

// Every line went out; the port was lost while the replies were being collected.
constexpr auto LostCollecting = "lost while collecting the replies after the last line";

QString failureText(const CliPlan& plan, const Outcome& outcome) {
    if (outcome.failedLine.empty())
        return QString::fromLatin1(LostCollecting) + QStringLiteral(": ") +
               linkFailureKindName(outcome.failure->kind());
    QString text = QStringLiteral("failed at %1").arg(shown(outcome.failedLine));
    if (const std::size_t step = failedStep(plan, outcome))
        text += QStringLiteral(" (step %1 of %2, %3 MHz)")
                    .arg(step)
                    .arg(plan.sweep.size())
                    .arg(qt(plan.sweep[step - 1].foutText));
    return text + QStringLiteral(", not sent: ") + linkFailureKindName(outcome.failure->kind());
}

QJsonObject failureJson(const CliPlan& plan, const Outcome& outcome) {
    QJsonObject o{{"kind", QString::fromUtf8(linkFailureKindName(outcome.failure->kind()))},
                  {"message", QString::fromUtf8(outcome.failure->what())}};
    if (outcome.failedLine.empty())
        o["lost"] = QString::fromLatin1(LostCollecting);
    else
        o["line"] = shown(outcome.failedLine);
    if (const std::size_t step = failedStep(plan, outcome)) {
        o["step"] = static_cast<qint64>(step);
        o["fout_mhz"] = qt(plan.sweep[step - 1].foutText);
    }
    return o;
}

// `steps`: the sweep steps to print, those sent or, without a port, all of them.
void report(const CliOptions& o, const CliPlan& plan, const Outcome& outcome, std::size_t steps) {
    const QString replies =
        QString::fromLatin1(outcome.replies.data(), static_cast<qsizetype>(outcome.replies.size()));
    if (o.json) {
        QJsonObject all;
        if (plan.solved)
            all["solved"] = solvedJson(*plan.solved);
        if (o.solve)
            return print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
        QJsonObject registers;
        for (const RegisterValue& r : plan.registers)
            registers[QString(QChar(r.name))] = QJsonObject{{"value", r.value}, {"hex", qt(r.hex)}};
        all["registers"] = registers;
        if (plan.actualFcompText)
            all["actual_fcomp_khz"] = ReadNumber(*plan.actualFcompText);
        if (plan.errorHz)
            all["frequency_error_hz"] = *plan.errorHz;
        if (!plan.sweep.empty()) {
            QJsonArray sweep;
            for (const SweepStep& step : plan.sweep)
                sweep.append(QJsonObject{{"fout_mhz", qt(step.foutText)},
                                         {"N", step.output.n},
                                         {"frequency_error_hz", step.output.errorHz}});
            all["sweep"] = sweep;
            all["steps_sent"] = static_cast<qint64>(outcome.stepsDone);
        }
        QJsonArray sent;
        for (const std::string& line : outcome.sent)
            sent.append(shown(line));
        all["sent"] = sent;
        all["replies"] = replies;
        if (outcome.repliesDropped > 0)
            all["replies_dropped_bytes"] = static_cast<qint64>(outcome.repliesDropped);
        if (outcome.failure)
            all["failed"] = failureJson(plan, outcome);
        print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
        return;
    }
    if (plan.solved)
        print(qt(ExactSettingText(*plan.solved)) + u'\n');
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
    for (std::size_t i = 0; i < steps; ++i)
        print(stepText(plan.sweep[i], i, plan.sweep.size()) + u'\n');
    const std::size_t individual = std::min(outcome.sent.size(), plan.lines.size());
    for (std::size_t i = 0; i < individual; ++i)
        print(QStringLiteral("sent %1\n").arg(shown(outcome.sent[i])));
    if (!plan.sweep.empty() && (!outcome.sent.empty() || outcome.failure))
        print(
            QStringLiteral("sent %1 of %2 steps\n").arg(outcome.stepsDone).arg(plan.sweep.size()));
    if (outcome.failure)
        print(failureText(plan, outcome) + u'\n');
    if (outcome.repliesDropped > 0)
        print(QStringLiteral("(%1 bytes of earlier replies dropped: only the last MiB is kept)\n")
                  .arg(outcome.repliesDropped));
    if (!replies.isEmpty())
        print(QStringLiteral("reply %1\n")
                  .arg(replies.trimmed().replace(QStringLiteral("\r\n"),
                                                 QStringLiteral("\nreply "))));
}

} // namespace

int main(int argc, char** argv) {
    // Before any thread starts: Ctrl-C and the other termination signals reach the event
    // loop, which ends the run after the line being sent.
    const sigset_t termination = SignalQuit::blockTerminationSignals();
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    CliOptions options;
    CliPlan plan;
    Timing timing;
    try {
        options = parseOptions(args);
        if (options.help) {
            print(qt(usage()));
            return Done;
        }
        if (options.version) {
            print(QStringLiteral("owlet-cli ") + qt(std::string(Version)) + u'\n');
            return Done;
        }
        if (options.listPorts) {
            print(portAssignmentsText() + u'\n');
            return Done;
        }
        if (options.loop)
            return RunLoop(options);
        timing = {seconds("--wait", options.wait), seconds("--idle", options.idle),
                  seconds("--dwell", options.dwell)};
        if (options.port && ReadNumber(*options.port) < 0.5)
            throw CliError("--port: " + *options.port + " is not a port number (1 or above)");
        plan = planCommands(options);
        if (plan.lines.empty() && plan.sweep.empty() && !options.solve)
            throw CliError("nothing to do: give --fref, --fout, --sweep, a C option, --update "
                           "or --store");
    } catch (const CliError& error) {
        std::fprintf(stderr, "owlet-cli: %s\n", error.what());
        return BadInput;
    } catch (const ArithmeticFault& fault) {
        std::fprintf(stderr, "owlet-cli: --port/--wait/--idle/--dwell: %s\n", fault.what());
        return BadInput;
    }
    Outcome outcome;
    const bool sending = (options.port || options.device) && !options.dryRun;
    if (sending) {
        try {
            outcome = Sender(options, timing, termination).run(plan, options.expectReply);
        } catch (const LinkFailure& failure) {
            std::fprintf(stderr, "owlet-cli: %s: %s\n", linkFailureKindName(failure.kind()),
                         failure.what());
            return LinkFailed;
        } catch (const ArithmeticFault& fault) {
            std::fprintf(stderr, "owlet-cli: --port: %s\n", fault.what());
            return BadInput;
        }
    }
    report(options, plan, outcome, sending ? outcome.stepsDone : plan.sweep.size());
    if (outcome.failure) {
        std::fprintf(stderr, "owlet-cli: %s: %s\n", linkFailureKindName(outcome.failure->kind()),
                     outcome.failure->what());
        return LinkFailed;
    }
    if (outcome.signal) {
        std::fprintf(stderr,
                     "owlet-cli: stopped by signal %d after %zu lines; the port is closed\n",
                     outcome.signal, outcome.sent.size());
        return 128 + outcome.signal;
    }
    if (sending && options.expectReply && outcome.replies.empty()) {
        std::fprintf(stderr, "owlet-cli: the module did not answer within %g s\n", timing.wait);
        return NoReply;
    }
    return Done;
}
