#include "link/PortMessages.h"

#include "link/PortHolders.h"
#include "link/PortMapping.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace owlet {
namespace {

LinkFailure failure(LinkFailureKind kind, const QString& message) {
    return LinkFailure(kind, message.toStdString());
}

QString portAndDevice(std::int16_t port, const QString& device) {
    return QStringLiteral("Port %1 (%2)").arg(port).arg(device);
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
    "then log out and in again, plug the adapter in again and restart the panel.");

} // namespace

LinkFailure noSuchPort(std::int16_t port) {
    if (port < 1)
        return failure(LinkFailureKind::BadPortNumber,
                       QStringLiteral("Port %1 denotes no serial port: port numbers start at 1.\n"
                                      "Restart the panel and enter the number of your port, or 0 "
                                      "to work without one.")
                           .arg(port));
    return failure(
        LinkFailureKind::BadPortNumber,
        QStringLiteral("Port %1 denotes no serial port.\nSerial ports now: %2\n"
                       "Plug in the adapter and restart the panel, or name the device yourself "
                       "with OWLET_COM%1=/dev/ttyUSB0 (for example) in the environment.")
            .arg(port)
            .arg(QStringLiteral("\n") + portAssignmentsText()));
}

LinkFailure portHeld(std::int16_t port, const QString& device,
                     const std::vector<PortHolder>& holders) {
    return failure(LinkFailureKind::PortBusy,
                   QStringLiteral("%1 is busy: %2 has it open, and the two would take each "
                                  "other's replies.\nClose that program (or end it with "
                                  "kill %3) and restart the panel.")
                       .arg(portAndDevice(port, device), holdersText(holders))
                       .arg(holders.empty() ? 0 : holders.front().pid));
}

LinkFailure permissionDenied(std::int16_t port, const QString& device, const QString& reason) {
    const QString what = portAndDevice(port, device);
    struct stat info {};
    if (::stat(device.toLocal8Bit().constData(), &info) != 0)
        return failure(LinkFailureKind::PermissionDenied,
                       QStringLiteral("%1 cannot be opened: %2.\n").arg(what, reason) + udevAdvice);
    const bool groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    // Joining root would be no fix but a hole: advise a group only where the group is what
    // grants the access.
    if (groupMayUse && info.st_gid != 0) {
        const QString group = groupName(info.st_gid);
        return failure(LinkFailureKind::PermissionDenied,
                       QStringLiteral("%1 cannot be opened: %2.\nThe device belongs to the group "
                                      "'%3', which may read and write it. Add yourself to it "
                                      "with\n    sudo usermod -aG %3 $USER\nthen log out and "
                                      "in again, and restart the panel.")
                           .arg(what, reason, group));
    }
    return failure(LinkFailureKind::PermissionDenied,
                   QStringLiteral("%1 cannot be opened: %2.\nThe device belongs to user '%3' and "
                                  "group '%4' with mode %5, so no group of yours can be given "
                                  "access to it.\n")
                           .arg(what, reason, userName(info.st_uid), groupName(info.st_gid))
                           .arg(QString::number(info.st_mode & 07777, 8).rightJustified(4, u'0')) +
                       udevAdvice);
}

LinkFailure portLocked(std::int16_t port, const QString& device, const PortLock& lock,
                       const QString& reason) {
    const QString what = portAndDevice(port, device);
    if (lock.processGone())
        return failure(LinkFailureKind::PortBusy,
                       QStringLiteral("%1 is locked by %2, but process %3 named in it is gone: "
                                      "the lock was left behind by a program that was killed.\n"
                                      "Remove the stale lock with\n    sudo rm %2\nand restart "
                                      "the panel.")
                           .arg(what, lock.path)
                           .arg(lock.pid));
    if (lock.pid > 0)
        return failure(LinkFailureKind::PortBusy,
                       QStringLiteral("%1 is busy: %2 holds its lock %3.\nClose that program "
                                      "and restart the panel.")
                           .arg(what, holdersText({{lock.pid, programName(lock.pid)}}), lock.path));
    return failure(LinkFailureKind::PortBusy,
                   QStringLiteral("%1 is busy: %2.\nAnother program holds the port "
                                  "(ModemManager, or a terminal program such as minicom or "
                                  "screen). Close it and restart the panel.")
                       .arg(what, reason));
}

LinkFailure notASerialPort(std::int16_t port, const QString& device, const QString& reason) {
    return failure(LinkFailureKind::BadPortNumber,
                   QStringLiteral("%1 is not a serial port: %2.\nIf OWLET_COM%3 named it, set "
                                  "OWLET_COM%3 to the adapter's device (ls /dev/ttyUSB* "
                                  "/dev/ttyACM* lists them), for example\n    "
                                  "OWLET_COM%3=/dev/ttyUSB0 owlet")
                       .arg(portAndDevice(port, device), reason)
                       .arg(port));
}

LinkFailure openFailure(std::int16_t port, const QString& device,
                        QSerialPort::SerialPortError error, const QString& reason) {
    if (error == QSerialPort::DeviceNotFoundError)
        return failure(LinkFailureKind::BadPortNumber,
                       QStringLiteral("%1 does not exist: %2.\nSerial ports now:\n%3\nPlug in the "
                                      "adapter, or correct OWLET_COM%4, and restart the panel.")
                           .arg(portAndDevice(port, device), reason, portAssignmentsText())
                           .arg(port));
    if (error == QSerialPort::UnsupportedOperationError || !isTerminalDevice(device))
        return notASerialPort(port, device, reason);
    // The system says "permission" both for a device we may not open and for one that is
    // locked by another program; the access rights tell the two apart.
    if (error == QSerialPort::PermissionError && !mayReadAndWrite(device))
        return permissionDenied(port, device, reason);
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return portLocked(port, device, lockOf(device), reason);
    return failure(LinkFailureKind::DeviceError,
                   QStringLiteral("%1 cannot be opened: %2.\nCheck that the adapter is plugged "
                                  "in and works (dmesg names its errors), then restart the panel.")
                       .arg(portAndDevice(port, device), reason));
}

LinkFailure deviceGone(std::int16_t port, const QString& device) {
    return failure(LinkFailureKind::DeviceGone,
                   QStringLiteral("%1 went away: the adapter was unplugged or the line hung up.\n"
                                  "Nothing was sent. Plug the adapter in again and restart the "
                                  "panel.")
                       .arg(portAndDevice(port, device)));
}

LinkFailure notOpen(std::int16_t port) {
    return failure(LinkFailureKind::NotOpen,
                   QStringLiteral("Port %1 is not open, so nothing was sent. Restart the panel "
                                  "and choose a port that opens.")
                       .arg(port));
}

LinkFailure writeFailure(std::int16_t port, const QString& device, const QString& reason) {
    return failure(LinkFailureKind::DeviceError,
                   QStringLiteral("%1 did not take the command: %2.\nCheck the adapter and its "
                                  "cable, then press the button again.")
                       .arg(portAndDevice(port, device), reason));
}

} // namespace owlet
