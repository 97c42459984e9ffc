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

// The port a message is about, and how the program that reports it is tried again.
struct PortContext {
    std::int16_t port = 1;
    QString device;
    // Once the port is fixed: the panel chooses its port once per run.
    QString again = QStringLiteral("restart the panel");
    // After a command line that did not go out.
    QString retry = QStringLiteral("press the button again");
};

LinkFailure noSuchPort(const PortContext& at);
// Other processes have the device open: refused as busy, naming them.
LinkFailure portHeld(const PortContext& at, const std::vector<PortHolder>& holders);
// The system refused this user the device: advice from its owner, group and mode.
LinkFailure permissionDenied(const PortContext& at, const QString& reason);
// The device is locked: by a live process, or by one that is gone (a stale lock).
LinkFailure portLocked(const PortContext& at, const PortLock& lock, const QString& reason);
LinkFailure notASerialPort(const PortContext& at, const QString& reason);
LinkFailure openFailure(const PortContext& at, QSerialPort::SerialPortError error,
                        const QString& reason);
LinkFailure deviceGone(const PortContext& at);
LinkFailure notOpen(const PortContext& at);
LinkFailure writeFailure(const PortContext& at, const QString& reason);
// A line still not written after `seconds`: the line or the connection is stalled.
LinkFailure notWritten(const PortContext& at, int seconds);

// A network port (rfc2217:// or tcp://) that is malformed: `problem` says how.
LinkFailure badNetworkAddress(const PortContext& at, const QString& problem);
// A network port that cannot be reached, and why; the lines written meanwhile are lost.
LinkFailure unreachable(const PortContext& at, const QString& cause, int linesNotSent);
// A server at an rfc2217:// port that does not set the line, and why.
LinkFailure notRfc2217(const PortContext& at, const QString& hostAndPort, const QString& why,
                       int linesNotSent);
// An RFC 2217 server that set the far line otherwise than asked: `setOtherwise` says how
// ("9600 baud, not 1200").
LinkFailure lineSetOtherwise(const PortContext& at, const QString& hostAndPort,
                             const QString& setOtherwise, int linesNotSent);
// A connection that stood and ended.
LinkFailure connectionLost(const PortContext& at, const QString& reason, int linesNotSent);
// A write to a network port that failed before: the same kind, and nothing sent.
LinkFailure notConnected(const PortContext& at, LinkFailureKind kind, const QString& cause);

} // namespace owlet
