#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace owlet {

// Which device a port number denotes. OWLET_COM<n> in the environment names the device
// of port n; otherwise port n is the n-th serial port the system reports, in natural
// order of device name (ttyS2 before ttyS10), so a lone USB adapter is port 1.
struct PortAssignment {
    int number = 0;
    QString device;      // e.g. /dev/ttyUSB0
    QString description; // the adapter's own description, where the system gives one
    bool fromEnvironment = false;
};

std::vector<PortAssignment> currentPortAssignments();

// The device of port `port`; none when it denotes none.
std::optional<QString> deviceForPort(std::int16_t port);

// One line per port ("1  /dev/ttyUSB0  FT232R USB UART"), or a line saying there is none.
QString portAssignmentsText();
// How a user names the device of a port number.
QString portNamingHint();

// "ttyS2" before "ttyS10": digit runs compare as numbers.
bool naturalLess(const QString& a, const QString& b);

} // namespace owlet
