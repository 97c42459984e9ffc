#include "tools/cli/Sender.h"

#include "math/ReadNumber.h"
#include "math/Rounding.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace owlet::cli {
namespace {

// Sleeps in the event loop until something happens (a reply, a signal) or `ms` pass.
void waitForEvents(int ms) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

Sender::Sender(const CliOptions& o, const Timing& timing, const sigset_t& termination)
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
    link_.setTryAgain(QStringLiteral("run owlet-cli again"), QStringLiteral("run owlet-cli again"));
    if (o.device)
        link_.setDevice(QString::fromStdString(*o.device));
    else
        link_.setPortNumber(RoundToInt16(ReadNumber(*o.port)));
    link_.open();
    quiet_.start();
}

Outcome Sender::run(const CliPlan& plan, bool expectReply) {
    try {
        sendAll(plan, expectReply);
    } catch (const LinkFailure& failure) {
        outcome_.failure = failure;
    }
    return outcome_;
}

void Sender::sendAll(const CliPlan& plan, bool expectReply) {
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
            std::fprintf(stderr, "\rstep %zu of %zu: %s MHz, error %d Hz\033[K", outcome_.stepsDone,
                         plan.sweep.size(), step.foutText.c_str(), step.output.errorHz);
        spin(timing_.dwell);
    }
    if (progress)
        std::fputc('\n', stderr);
    collect(expectReply);
}

// False once a signal asked to stop: the line before it went out whole. A line that
// is not written within the bound is a failure, never counted as sent.
bool Sender::send(const std::string& line) {
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
void Sender::spin(double secondsToWait) {
    QElapsedTimer timer;
    timer.start();
    while (!outcome_.signal && timer.elapsed() < secondsToWait * 1000.0)
        waitForEvents(10);
}

// Until the module has been quiet for the idle time after the last line (with
// --expect-reply, once it has answered at all), never longer than the wait.
void Sender::collect(bool expectReply) {
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

void Sender::throwIfLost() {
    if (lost_)
        throw *lost_;
}

} // namespace owlet::cli
