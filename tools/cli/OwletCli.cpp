// owlet-cli: the panel's register plan, command lines and serial link for scripts.
// The options are read and the plan computed here; Sender sends it, CliReport prints it.
#include "app/SignalQuit.h"
#include "link/LinkFailure.h"
#include "link/PortMapping.h"
#include "math/ArithmeticFault.h"
#include "math/ReadNumber.h"
#include "owlet/Version.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/CliPlan.h"
#include "tools/cli/CliReport.h"
#include "tools/cli/LoopCommand.h"
#include "tools/cli/Sender.h"

#include <QCoreApplication>

#include <cstdio>

using namespace owlet;
using namespace owlet::cli;

namespace {

enum Exit { Done = 0, LinkFailed = 1, BadInput = 2, NoReply = 3 };

// Seconds from an option, 0 to an hour.
double seconds(const char* option, const std::string& text) {
    const double value = ReadNumber(text);
    if (!(value >= 0.0 && value <= 3600.0))
        throw CliError(std::string(option) + ": " + text + " is not 0 to 3600 seconds");
    return value;
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
            print(QString::fromStdString(usage()));
            return Done;
        }
        if (options.version) {
            print(QString::fromStdString(VersionLine("owlet-cli")));
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
