#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace owlet {

// A serial port served over the network, as OWLET_COM<n> or --device names it:
// rfc2217://HOST:PORT (telnet with RFC 2217, which sets the far port's line) or
// tcp://HOST:PORT (the bytes as they are). HOST is a name, an IPv4 address or an IPv6
// address in brackets.
struct NetworkAddress {
    enum class Protocol { Rfc2217, RawTcp };
    Protocol protocol = Protocol::Rfc2217;
    QString host;
    std::uint16_t port = 0;

    QString hostAndPort() const; // "shack.local:2217", "[::1]:2217"
};

// Whether a device names a network port by its scheme; it may still be malformed.
bool isNetworkAddress(const QString& device);

// The address, or nothing with `problem` saying what is wrong with it.
std::optional<NetworkAddress> parseNetworkAddress(const QString& text, QString& problem);

} // namespace owlet
