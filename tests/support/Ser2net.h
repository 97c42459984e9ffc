#pragma once

#include <QProcess>
#include <QTemporaryDir>

namespace owlet::test {

// ser2net in the foreground, serving `device` on free ports of 127.0.0.1 as RFC 2217 and as
// raw TCP, from a configuration of its own that sets the line to 9600 baud. Stopped with
// the object; no system service is touched.
class Ser2net {
public:
    explicit Ser2net(const QString& device);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    // Why it is not serving; empty once it accepts connections.
    QString problem() const { return problem_; }
    QString rfc2217() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(telnetPort_); }
    QString tcp() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(rawPort_); }
    void kill();

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 telnetPort_ = 0;
    quint16 rawPort_ = 0;
    quint16 probePort_ = 0;
    QString problem_;
};

// A port of 127.0.0.1 where nothing listens.
quint16 freePort();

// A port of 127.0.0.1 whose backlog is full: a connection to it never completes, as with a
// host that is down or a firewall that drops packets.
class SilentPort {
public:
    SilentPort();
    ~SilentPort();
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    quint16 port() const { return port_; }

private:
    int listener_ = -1;
    int fillers_[3] = {-1, -1, -1};
    quint16 port_ = 0;
};

} // namespace owlet::test
