#include "link/PortMessages.h"

#include "link/PortMapping.h"

#include <grp.h>
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

// The group that owns the device node, usually "dialout".
QString owningGroup(const QString& device) {
    struct stat info {};
    if (::stat(device.toLocal8Bit().constData(), &info) != 0)
        return QStringLiteral("dialout");
    if (const group* g = ::getgrgid(info.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(info.st_gid);
}

bool mayReadAndWrite(const QString& device) {
    return ::access(device.toLocal8Bit().constData(), R_OK | W_OK) == 0;
}

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

LinkFailure openFailure(std::int16_t port, const QString& device,
                        QSerialPort::SerialPortError error, const QString& reason) {
    const QString what = portAndDevice(port, device);
    // The system says "permission" both for a device we may not open and for one that is
    // locked by another program; the access rights tell the two apart.
    if (error == QSerialPort::PermissionError && !mayReadAndWrite(device)) {
        const QString group = owningGroup(device);
        return failure(LinkFailureKind::PermissionDenied,
                       QStringLiteral("%1 cannot be opened: %2.\nThe device belongs to the group "
                                      "'%3'. Add yourself to it with\n    sudo usermod -aG %3 "
                                      "$USER\nthen log out and in again, and restart the panel.")
                           .arg(what, reason, group));
    }
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError)
        return failure(LinkFailureKind::PortBusy,
                       QStringLiteral("%1 is busy: %2.\nAnother program holds the port "
                                      "(ModemManager, or a terminal program such as minicom or "
                                      "screen). Close it and restart the panel.")
                           .arg(what, reason));
    if (error == QSerialPort::DeviceNotFoundError)
        return failure(LinkFailureKind::BadPortNumber,
                       QStringLiteral("%1 does not exist: %2.\nSerial ports now:\n%3\nPlug in the "
                                      "adapter, or correct OWLET_COM%4, and restart the panel.")
                           .arg(what, reason, portAssignmentsText())
                           .arg(port));
    return failure(LinkFailureKind::DeviceError,
                   QStringLiteral("%1 cannot be opened: %2.").arg(what, reason));
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
    return failure(LinkFailureKind::DeviceError, QStringLiteral("%1 did not take the command: %2.")
                                                     .arg(portAndDevice(port, device), reason));
}

} // namespace owlet
