#pragma once

#include <stdexcept>
#include <string>

namespace owlet {

enum class LinkFailureKind {
    BadPortNumber,    // the number denotes no serial port
    PermissionDenied, // the user may not open the device
    PortBusy,         // another program holds the port
    DeviceGone,       // adapter unplugged or line hung up while open
    NotOpen,          // a write while no port is open
    Unreachable,      // a network port that cannot be connected to
    DeviceError,      // any other refusal of the system
};

constexpr const char* linkFailureKindName(LinkFailureKind kind) {
    switch (kind) {
    case LinkFailureKind::BadPortNumber:
        return "Bad port number";
    case LinkFailureKind::PermissionDenied:
        return "Permission denied";
    case LinkFailureKind::PortBusy:
        return "Port busy";
    case LinkFailureKind::DeviceGone:
        return "Device unavailable";
    case LinkFailureKind::NotOpen:
        return "Port not open";
    case LinkFailureKind::Unreachable:
        return "Port unreachable";
    case LinkFailureKind::DeviceError:
        break;
    }
    return "Device I/O error";
}

// A failure of the serial link. Like an arithmetic fault it ends the calling handler and
// reaches the user as a run-time error; the message says what happened and what to do.
class LinkFailure : public std::runtime_error {
public:
    LinkFailure(LinkFailureKind kind, const std::string& message)
        : std::runtime_error(message)
        , kind_(kind) {}

    LinkFailureKind kind() const noexcept { return kind_; }

private:
    LinkFailureKind kind_;
};

} // namespace owlet
