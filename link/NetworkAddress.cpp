#include "link/NetworkAddress.h"

#include <QRegularExpression>

#include <arpa/inet.h>

namespace owlet {
namespace {

constexpr QLatin1StringView Rfc2217Scheme{"rfc2217://"};
constexpr QLatin1StringView TcpScheme{"tcp://"};

} // namespace

QString NetworkAddress::hostAndPort() const {
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

bool isNetworkAddress(const QString& device) {
    return device.startsWith(Rfc2217Scheme, Qt::CaseInsensitive) ||
           device.startsWith(TcpScheme, Qt::CaseInsensitive);
}

std::optional<NetworkAddress> parseNetworkAddress(const QString& text, QString& problem) {
    NetworkAddress address;
    QString rest;
    if (text.startsWith(Rfc2217Scheme, Qt::CaseInsensitive)) {
        rest = text.mid(Rfc2217Scheme.size());
    } else if (text.startsWith(TcpScheme, Qt::CaseInsensitive)) {
        address.protocol = NetworkAddress::Protocol::RawTcp;
        rest = text.mid(TcpScheme.size());
    } else {
        problem = QStringLiteral("it starts with neither rfc2217:// nor tcp://");
        return std::nullopt;
    }
    // HOST:PORT or [IPv6]:PORT, nothing before or after.
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9.-]+)):([0-9]{1,5})$)"));
    const QRegularExpressionMatch match = form.match(rest);
    if (!match.hasMatch()) {
        problem = QStringLiteral("write HOST:PORT after the scheme, an IPv6 address in "
                                 "brackets ([::1]:2217)");
        return std::nullopt;
    }
    address.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    in6_addr ipv6{};
    if (!match.captured(1).isEmpty() &&
        ::inet_pton(AF_INET6, address.host.toLatin1().constData(), &ipv6) != 1) {
        problem = QStringLiteral("%1 in brackets is no IPv6 address").arg(address.host);
        return std::nullopt;
    }
    const int port = match.captured(3).toInt();
    if (port < 1 || port > 65535) {
        problem = QStringLiteral("the TCP port must lie from 1 to 65535");
        return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(port);
    return address;
}

} // namespace owlet
