#include "link/PortMessages.h"

#include "link/PortHolders.h"
#include "link/PortMapping.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace owlet {
namespace {

// {again} and {Again} in a message stand for how the reporting program is tried again.
LinkFailure failure(const PortContext& at, LinkFailureKind kind, QString message) {
    QString again = at.again;
    message.replace(QStringLiteral("{again}"), again);
    again[0] = again[0].toUpper();
    message.replace(QStringLiteral("{Again}"), again);
    return LinkFailure(kind, message.toStdString());
}

QString portAndDevice(const PortContext& at) {
    return QStringLiteral("Port %1 (%2)").arg(at.port).arg(at.device);
}

QString userName(uid_t uid) {
    if (const passwd* p = ::getpwuid(uid))
        return QString::fromLocal8Bit(p->pw_name);
    return QString::number(uid);
}

QString groupName(gid_t gid) {
    if (const group* g = ::getgrgid(gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(gid);
}

bool mayReadAndWrite(const QString& device) {
    return ::access(device.toLocal8Bit().constData(), R_OK | W_OK) == 0;
}

const QString udevAdvice = QStringLiteral(
    "Give USB-serial adapters to the group dialout with OWLET's udev rule (installed by the "
    "Debian package as /usr/lib/udev/rules.d/99-owlet-usb-serial.rules; from the sources:\n"
    "    sudo install -m 644 contrib/99-owlet-usb-serial.rules /etc/udev/rules.d/\n"
    "    sudo udevadm control --reload && sudo udevadm trigger\n"
    "), add yourself to that group with\n    sudo usermod -aG dialout $USER\n"
    "then log out and in again, plug the adapter in again and {again}.");

} // namespace

LinkFailure noSuchPort(const PortContext& at) {
    if (at.port < 1)
        return failure(at, LinkFailureKind::BadPortNumber,
                       QStringLiteral("Port %1 denotes no serial port: port numbers start at 1.\n"
                                      "{Again} and enter the number of your port, or 0 "
                                      "to work without one.")
                           .arg(at.port));
    return failure(at, LinkFailureKind::BadPortNumber,
                   QStringLiteral("Port %1 denotes no serial port.\nSerial ports now: %2\n"
                                  "Plug in the adapter and {again}, or name the device yourself "
                                  "with OWLET_COM%1=/dev/ttyUSB0 (for example) in the environment.")
                       .arg(at.port)
                       .arg(QStringLiteral("\n") + portAssignmentsText()));
}

LinkFailure portHeld(const PortContext& at, const std::vector<PortHolder>& holders) {
    return failure(at, LinkFailureKind::PortBusy,
                   QStringLiteral("%1 is busy: %2 has it open, and the two would take each "
                                  "other's replies.\nClose that program (or end it with "
                                  "kill %3) and {again}.")
                       .arg(portAndDevice(at), holdersText(holders))
                       .arg(holders.empty() ? 0 : holders.front().pid));
}

LinkFailure permissionDenied(const PortContext& at, const QString& reason) {
    const QString what = portAndDevice(at);
    const QString& device = at.device;
    struct stat info {};
    if (::stat(device.toLocal8Bit().constData(), &info) != 0)
        return failure(at, LinkFailureKind::PermissionDenied,
                       QStringLiteral("%1 cannot be opened: %2.\n").arg(what, reason) + udevAdvice);
    const bool groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    // Joining root would be no fix but a hole: advise a group only where the group is what
    // grants the access.
    if (groupMayUse && info.st_gid != 0) {
        const QString group = groupName(info.st_gid);
        return failure(at, LinkFailureKind::PermissionDenied,
                       QStringLiteral("%1 cannot be opened: %2.\nThe device belongs to the group "
                                      "'%3', which may read and write it. Add yourself to it "
                                      "with\n    sudo usermod -aG %3 $USER\nthen log out and "
                                      "in again, and {again}.")
                           .arg(what, reason, group));
    }
    return failure(at, LinkFailureKind::PermissionDenied,
                   QStringLiteral("%1 cannot be opened: %2.\nThe device belongs to user '%3' and "
                                  "group '%4' with mode %5, so no group of yours can be given "
                                  "access to it.\n")
                           .arg(what, reason, userName(info.st_uid), groupName(info.st_gid))
                           .arg(QString::number(info.st_mode & 07777, 8).rightJustified(4, u'0')) +
                       udevAdvice);
}

LinkFailure portLocked(const PortContext& at, const PortLock& lock, const QString& reason) {
    const QString what = portAndDevice(at);
    if (lock.processGone())
        return failure(at, LinkFailureKind::PortBusy,
                       QStringLiteral("%1 is locked by %2, but process %3 named in it is gone: "
                                      "the lock was left behind by a program that was killed.\n"
                                      "Remove the stale lock with\n    sudo rm %2\nand {again}.")
                           .arg(what, lock.path)
                           .arg(lock.pid));
    if (lock.pid > 0)
        return failure(at, LinkFailureKind::PortBusy,
                       QStringLiteral("%1 is busy: %2 holds its lock %3.\nClose that program "
                                      "and {again}.")
                           .arg(what, holdersText({{lock.pid, programName(lock.pid)}}), lock.path));
    return failure(at, LinkFailureKind::PortBusy,
                   QStringLiteral("%1 is busy: %2.\nAnother program holds the port "
                                  "(ModemManager, or a terminal program such as minicom or "
                                  "screen). Close it and {again}.")
                       .arg(what, reason));
}

LinkFailure notASerialPort(const PortContext& at, const QString& reason) {
    return failure(at, LinkFailureKind::BadPortNumber,
                   QStringLiteral("%1 is not a serial port: %2.\nIf OWLET_COM%3 named it, set "
                                  "OWLET_COM%3 to the adapter's device (ls /dev/ttyUSB* "
                                  "/dev/ttyACM* lists them), for example\n    "
                                  "OWLET_COM%3=/dev/ttyUSB0 owlet")
                       .arg(portAndDevice(at), reason)
                       .arg(at.port));
}

LinkFailure openFailure(const PortContext& at, QSerialPort::SerialPortError error,
                        const QString& reason) {
    const QString& device = at.device;
    if (error == QSerialPort::DeviceNotFoundError)
        return failure(at, LinkFailureKind::BadPortNumber,
                       QStringLiteral("%1 does not exist: %2.\nSerial ports now:\n%3\nPlug in the "
                                      "adapter, or correct OWLET_COM%4, and {again}.")
                           .arg(portAndDevice(at), reason, portAssignmentsText())
                           .arg(at.port));
    if (error == QSerialPort::UnsupportedOperationError || !isTerminalDevice(device))
        return notASerialPort(at, reason);
    // The system says "permission" both for a device we may not open and for one that is
    // locked by another program; the access rights tell the two apart.
    if (error == QSerialPort::PermissionError && !mayReadAndWrite(device))
        return permissionDenied(at, reason);
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return portLocked(at, lockOf(device), reason);
    return failure(at, LinkFailureKind::DeviceError,
                   QStringLiteral("%1 cannot be opened: %2.\nCheck that the adapter is plugged "
                                  "in and works (dmesg names its errors), then {again}.")
                       .arg(portAndDevice(at), reason));
}

LinkFailure deviceGone(const PortContext& at) {
    return failure(at, LinkFailureKind::DeviceGone,
                   QStringLiteral("%1 went away: the adapter was unplugged or the line hung up.\n"
                                  "Nothing was sent. Plug the adapter in again and {again}.")
                       .arg(portAndDevice(at)));
}

LinkFailure notOpen(const PortContext& at) {
    return failure(at, LinkFailureKind::NotOpen,
                   QStringLiteral("Port %1 is not open, so nothing was sent. {Again} "
                                  "and choose a port that opens.")
                       .arg(at.port));
}

LinkFailure writeFailure(const PortContext& at, const QString& reason) {
    return failure(at, LinkFailureKind::DeviceError,
                   QStringLiteral("%1 did not take the command: %2.\nCheck the adapter and its "
                                  "cable, then %3.")
                       .arg(portAndDevice(at), reason, at.retry));
}

LinkFailure notWritten(const PortContext& at, int seconds) {
    return failure(at, LinkFailureKind::DeviceError,
                   QStringLiteral("%1 did not take the line within %2 s, so it was not sent: "
                                  "the adapter, its cable or the connection is stalled.\nCheck "
                                  "them, then %3.")
                       .arg(portAndDevice(at))
                       .arg(seconds)
                       .arg(at.retry));
}

namespace {

QString notSent(int lines) {
    if (lines == 0)
        return {};
    return lines == 1 ? QStringLiteral(" The line written meanwhile was not sent.")
                      : QStringLiteral(" The %1 lines written meanwhile were not sent.").arg(lines);
}

} // namespace

LinkFailure badNetworkAddress(const PortContext& at, const QString& problem) {
    return failure(at, LinkFailureKind::BadPortNumber,
                   QStringLiteral("'%1' is no network port: %2.\nName it rfc2217://HOST:PORT "
                                  "(ser2net with RFC 2217) or tcp://HOST:PORT (raw TCP), for "
                                  "example rfc2217://shack.local:2217, and {again}.")
                       .arg(at.device, problem));
}

LinkFailure unreachable(const PortContext& at, const QString& cause, int linesNotSent) {
    return failure(at, LinkFailureKind::Unreachable,
                   QStringLiteral("%1 cannot be reached: %2.%3\nStart the server, or correct "
                                  "the address, and {again}.")
                       .arg(portAndDevice(at), cause, notSent(linesNotSent)));
}

LinkFailure notRfc2217(const PortContext& at, const QString& hostAndPort, const QString& why,
                       int linesNotSent) {
    return failure(at, LinkFailureKind::BadPortNumber,
                   QStringLiteral("%1 does not speak RFC 2217 (%2); for a raw TCP port use "
                                  "tcp://.%3\nCorrect the address and {again}.")
                       .arg(hostAndPort, why, notSent(linesNotSent)));
}

LinkFailure lineSetOtherwise(const PortContext& at, const QString& hostAndPort,
                             const QString& setOtherwise, int linesNotSent) {
    return failure(at, LinkFailureKind::DeviceError,
                   QStringLiteral("The server at %1 set the line to %2: the module only "
                                  "understands 1200 baud, 8 data bits, no parity, 1 stop bit, "
                                  "no flow control.%3\nSet that port to 1200n81 on the server "
                                  "(for ser2net: 1200n81 in the connector's options in "
                                  "ser2net.yaml, and no other speed or flow control there), "
                                  "then {again}.")
                       .arg(hostAndPort, setOtherwise, notSent(linesNotSent)));
}

LinkFailure connectionLost(const PortContext& at, const QString& reason, int linesNotSent) {
    return failure(at, LinkFailureKind::DeviceGone,
                   QStringLiteral("%1 went away: the connection ended (%2). The server was "
                                  "stopped, the network is gone, or another client took the "
                                  "port.%3\nStart the server again and {again}.")
                       .arg(portAndDevice(at), reason, notSent(linesNotSent)));
}

LinkFailure notConnected(const PortContext& at, LinkFailureKind kind, const QString& cause) {
    return failure(at, kind,
                   QStringLiteral("%1 is not connected, so nothing was sent: %2.\n{Again}.")
                       .arg(portAndDevice(at), cause));
}

} // namespace owlet
