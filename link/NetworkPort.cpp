#include "link/NetworkPort.h"

#include <QElapsedTimer>
#include <QEventLoop>

#include <cstring>
#include <netdb.h>

namespace owlet {
namespace {

constexpr int ConnectMs = 5000; // the name lookup and the TCP connection
constexpr int SetLineMs = 3000; // an RFC 2217 server's confirmation of the line settings

bool rfc2217(const NetworkAddress& address) {
    return address.protocol == NetworkAddress::Protocol::Rfc2217;
}

} // namespace

NetworkPort::NetworkPort(const NetworkAddress& address, const PortContext& at,
                         std::function<void()> changed)
    : address_(address)
    , at_(at)
    , changed_(std::move(changed))
    , tcp_({[this] { onConnected(); }, [this](const std::string& bytes) { onReceived(bytes); },
            [this](int error, bool lookup) {
                onFailed(error, lookup);
            }}) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &NetworkPort::onDeadline);
}

void NetworkPort::open() {
    deadline_.start(ConnectMs);
    tcp_.connectTo(address_.host.toStdString(), address_.port);
}

void NetworkPort::write(std::string_view line) {
    if (phase_ == Phase::Failed)
        throw *lastFailure_;
    if (phase_ != Phase::Ready) {
        waiting_ += line;
        ++waitingLines_;
        return;
    }
    send(std::string(line));
}

std::string NetworkPort::takeReceived() {
    return std::exchange(received_, {});
}

std::optional<LinkFailure> NetworkPort::takeFailure() {
    return std::exchange(failure_, std::nullopt);
}

bool NetworkPort::drain(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (phase_ != Phase::Failed && (phase_ != Phase::Ready || tcp_.bytesToWrite() > 0)) {
        const auto left = static_cast<int>(timeoutMs - timer.elapsed());
        if (left <= 0)
            return false;
        if (phase_ == Phase::Ready) {
            tcp_.flush(left);
        } else { // the connection is under way: its events come through the event loop
            QEventLoop loop;
            QTimer::singleShot(std::min(left, 10), &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    return phase_ == Phase::Ready;
}

void NetworkPort::onConnected() {
    if (!rfc2217(address_))
        return ready();
    phase_ = Phase::SettingLine;
    deadline_.start(SetLineMs);
    tcp_.write(telnet_.opening());
}

void NetworkPort::onReceived(const std::string& bytes) {
    std::string data = bytes;
    if (rfc2217(address_)) {
        std::string answer;
        data = telnet_.receive(bytes, answer);
        if (!answer.empty())
            tcp_.write(answer);
        if (const QString why = QString::fromStdString(telnet_.problem()); !why.isEmpty())
            return failNotRfc2217(why);
        if (!telnet_.setOtherwise().empty()) {
            const QString how = QString::fromStdString(telnet_.setOtherwise());
            return fail(lineSetOtherwise(at_, address_.hostAndPort(), how, waitingLines_),
                        QStringLiteral("the server set the line to %1").arg(how));
        }
        if (phase_ == Phase::SettingLine && telnet_.lineSet())
            ready();
    }
    received_ += data;
    if (!data.empty())
        changed_();
}

void NetworkPort::onFailed(int error, bool lookup) {
    if (phase_ == Phase::Failed)
        return;
    if (phase_ == Phase::Connecting) {
        const QString why = cause(error, lookup);
        return fail(unreachable(at_, why, waitingLines_), why);
    }
    const QString reason = error == 0 ? QStringLiteral("the server closed it")
                                      : QString::fromLocal8Bit(std::strerror(error));
    fail(connectionLost(at_, reason, waitingLines_),
         QStringLiteral("the connection ended (%1)").arg(reason));
}

void NetworkPort::onDeadline() {
    if (phase_ == Phase::Connecting) {
        const QString noAnswer = QStringLiteral("%1 does not answer (the host is down, or a "
                                                "firewall drops the connection)")
                                     .arg(address_.hostAndPort());
        return fail(unreachable(at_, noAnswer, waitingLines_), noAnswer);
    }
    failNotRfc2217(QStringLiteral("it did not confirm the line settings within 3 s"));
}

void NetworkPort::failNotRfc2217(const QString& why) {
    fail(notRfc2217(at_, address_.hostAndPort(), why, waitingLines_),
         address_.hostAndPort() + QStringLiteral(" does not speak RFC 2217"));
}

void NetworkPort::send(const std::string& bytes) {
    tcp_.write(rfc2217(address_) ? telnet_.encode(bytes) : bytes);
}

void NetworkPort::ready() {
    deadline_.stop();
    phase_ = Phase::Ready;
    waitingLines_ = 0;
    if (!waiting_.empty())
        send(std::exchange(waiting_, {}));
}

void NetworkPort::fail(LinkFailure failure, const QString& cause) {
    deadline_.stop();
    phase_ = Phase::Failed;
    waiting_.clear();
    waitingLines_ = 0;
    lastFailure_ = notConnected(at_, failure.kind(), cause);
    failure_ = std::move(failure);
    tcp_.close();
    changed_();
}

QString NetworkPort::cause(int error, bool lookup) const {
    if (lookup && (error == EAI_NONAME || error == EAI_NODATA))
        return QStringLiteral("the host %1 is unknown").arg(address_.host);
    if (lookup)
        return QStringLiteral("the host %1 cannot be looked up: %2")
            .arg(address_.host, QString::fromLocal8Bit(gai_strerror(error)));
    if (error == ECONNREFUSED)
        return QStringLiteral("nothing listens at %1 (is ser2net running there, and is this its "
                              "port?)")
            .arg(address_.hostAndPort());
    if (error == 0)
        return QStringLiteral("%1 closed the connection at once").arg(address_.hostAndPort());
    return QStringLiteral("%1: %2").arg(address_.hostAndPort(),
                                        QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace owlet
