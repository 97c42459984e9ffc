#pragma once

#include <QProcess>
#include <QStringList>

namespace owlet::test {

// The module simulator as a child process, on a pseudo-terminal of its own.
class SimulatorProcess {
public:
    explicit SimulatorProcess(const QStringList& arguments = {});
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // The first line it printed, naming its device, and the device; empty when it did not
    // come up.
    QString firstLine() const { return firstLine_; }
    QString device() const { return device_; }
    // Waits until what it printed after its first line contains `text`; all of it.
    QByteArray waitForOutput(const QByteArray& text, int timeoutMs = 5000);
    // Interrupts it as Ctrl-C does: its exit code, or -1 when it did not end normally.
    int interrupt();

private:
    QProcess process_;
    QString firstLine_;
    QString device_;
    QByteArray printed_;
};

} // namespace owlet::test
