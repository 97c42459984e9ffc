#include "tests/support/Ser2net.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace owlet::test {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

Ser2net::Ser2net(const QString& device)
    : telnetPort_(freePort())
    , rawPort_(freePort())
    , probePort_(freePort()) {
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (program.isEmpty()) {
        problem_ = QStringLiteral("ser2net is not installed (make test installs it)");
        return;
    }
    const QString config = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("connection: &rfc2217\n"
                              "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                              "  connector: serialdev,%3,9600n81,local\n"
                              "  options:\n    kickolduser: true\n"
                              "connection: &raw\n"
                              "  accepter: tcp,127.0.0.1,%2\n"
                              "  connector: serialdev,%3,9600n81,local\n"
                              "connection: &probe\n"
                              "  accepter: tcp,127.0.0.1,%4\n"
                              "  connector: echo\n")
                   .arg(telnetPort_)
                   .arg(rawPort_)
                   .arg(device)
                   .arg(probePort_)
                   .toUtf8());
    file.close();
    process_.setStandardOutputFile(QProcess::nullDevice()); // "Unable to start mdns" and such
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(program, {"-n", "-u", "-c", config, "-P", dir_.filePath(QStringLiteral("pid"))});
    // Ready once it accepts connections; the probe's own port leaves the device alone.
    for (int i = 0; i < 100; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, probePort_);
        if (socket.waitForConnected(100))
            return;
        QThread::msleep(50);
    }
    problem_ = QStringLiteral("ser2net did not start serving");
}

Ser2net::~Ser2net() {
    kill();
}

void Ser2net::kill() {
    process_.kill();
    process_.waitForFinished(3000);
}

SilentPort::SilentPort() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(listener_, 0);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    for (int& filler : fillers_) { // never accepted: they fill the backlog
        filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), size);
    }
    QThread::msleep(100);
}

SilentPort::~SilentPort() {
    for (const int fd : fillers_)
        ::close(fd);
    ::close(listener_);
}

} // namespace owlet::test
