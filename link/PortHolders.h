#pragma once

#include <QString>

#include <vector>

namespace owlet {

// A process that has a device open.
struct PortHolder {
    int pid = 0;
    QString name; // the program's name, as the system gives it
};

// Whether `device` is a terminal: a serial port or a pseudo-terminal, not /dev/null.
bool isTerminalDevice(const QString& device);

// The other processes that hold the terminal `device` open, found through their open file
// descriptors under /proc as far as this user may see them. This process is left out.
std::vector<PortHolder> processesHolding(const QString& device);

// The name of the program running as process `pid`.
QString programName(int pid);

// "minicom (pid 812), cat (pid 901)"
QString holdersText(const std::vector<PortHolder>& holders);

// The lock file Qt's serial port writes for `device` ("/run/lock/LCK..ttyUSB0"), and the
// process it names; pid 0 when there is no lock file or it names none.
struct PortLock {
    QString path;
    int pid = 0;
    bool processGone() const;
};
PortLock lockOf(const QString& device, const QString& lockDirectory = QStringLiteral("/run/lock"));

// Whether the line of an open port is really gone: its device node removed, or the line
// hung up. An empty read is neither.
bool lineHungUp(int fd, const QString& device);

} // namespace owlet
