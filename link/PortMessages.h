#pragma once

#include "link/LinkFailure.h"

#include <QSerialPort>
#include <QString>

#include <cstdint>

namespace owlet {

// Every failure the serial link reports, worded here in one place: the port number,
// the device, the system's reason, and what the user can do about it.

LinkFailure noSuchPort(std::int16_t port);
LinkFailure openFailure(std::int16_t port, const QString& device,
                        QSerialPort::SerialPortError error, const QString& reason);
LinkFailure deviceGone(std::int16_t port, const QString& device);
LinkFailure notOpen(std::int16_t port);
LinkFailure writeFailure(std::int16_t port, const QString& device, const QString& reason);

} // namespace owlet
