#pragma once

#include "link/LinkFailure.h"

#include <QSerialPort>
#include <QString>

#include <cstdint>
#include <vector>

namespace owlet {

// Every failure the serial link reports, worded here in one place: the port number,
// the device, the system's reason, and what the user can do about it.

struct PortHolder;
struct PortLock;

LinkFailure noSuchPort(std::int16_t port);
// Other processes have the device open: refused as busy, naming them.
LinkFailure portHeld(std::int16_t port, const QString& device,
                     const std::vector<PortHolder>& holders);
// The system refused this user the device: advice from its owner, group and mode.
LinkFailure permissionDenied(std::int16_t port, const QString& device, const QString& reason);
// The device is locked: by a live process, or by one that is gone (a stale lock).
LinkFailure portLocked(std::int16_t port, const QString& device, const PortLock& lock,
                       const QString& reason);
LinkFailure notASerialPort(std::int16_t port, const QString& device, const QString& reason);
LinkFailure openFailure(std::int16_t port, const QString& device,
                        QSerialPort::SerialPortError error, const QString& reason);
LinkFailure deviceGone(std::int16_t port, const QString& device);
LinkFailure notOpen(std::int16_t port);
LinkFailure writeFailure(std::int16_t port, const QString& device, const QString& reason);

} // namespace owlet
