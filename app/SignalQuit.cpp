#include "app/SignalQuit.h"

#include <QSocketNotifier>

#include <sys/signalfd.h>
#include <unistd.h>

sigset_t SignalQuit::blockTerminationSignals() {
    sigset_t termination;
    sigemptyset(&termination);
    for (const int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&termination, s);
    pthread_sigmask(SIG_BLOCK, &termination, nullptr);
    return termination;
}

SignalQuit::SignalQuit(const sigset_t& blocked, std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent)
    , fd_(::signalfd(-1, &blocked, SFD_NONBLOCK | SFD_CLOEXEC))
    , onSignal_(std::move(onSignal)) {
    if (fd_ < 0)
        return;
    auto* notifier = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info{};
        while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
            onSignal_(static_cast<int>(info.ssi_signo));
    });
}

SignalQuit::~SignalQuit() {
    if (fd_ >= 0)
        ::close(fd_);
}
