#pragma once

#include <QObject>

#include <csignal>
#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl-C in the starting terminal, a kill)
// into an orderly close on the event loop, so the port is closed and its lock file removed
// as when the user closes the window. The signals are taken through a signalfd: no
// handler runs inside the interrupted code.
class SignalQuit final : public QObject {
    Q_OBJECT

public:
    // Holds the signals back from the default action; call before any thread starts, so
    // every thread inherits the mask.
    static sigset_t blockTerminationSignals();

    SignalQuit(const sigset_t& blocked, std::function<void(int)> onSignal,
               QObject* parent = nullptr);
    ~SignalQuit() override;

private:
    int fd_ = -1;
    std::function<void(int)> onSignal_;
};
