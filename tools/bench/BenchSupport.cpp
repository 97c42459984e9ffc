#include "tools/bench/BenchSupport.h"

#include "ui/PanelStyle.h"

#include <QApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <fstream>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace owlet::bench {

double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += n;
        else if (n < 0)
            return false;
    }
    return true;
}

bool servePortOne(QProcess& server, const QTemporaryDir& dir, const char* device) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    QFile config(dir.filePath(QStringLiteral("ser2net.yaml")));
    config.open(QIODevice::WriteOnly);
    config.write(QStringLiteral("connection: &synth\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                "  connector: serialdev,%2,9600n81,local\n")
                     .arg(port)
                     .arg(QString::fromLocal8Bit(device))
                     .toUtf8());
    config.close();
    server.start(QStringLiteral("ser2net"),
                 {"-n", "-u", "-c", config.fileName(), "-P", dir.filePath(QStringLiteral("pid"))});
    for (int i = 0; i < 100; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100)) {
            qputenv("OWLET_COM1", "rfc2217://127.0.0.1:" + QByteArray::number(port));
            return true;
        }
        usleep(20000);
    }
    return false;
}

ModulePty::ModulePty() {
    int slave = -1;
    if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
        close(slave); // only the panel holds the line side open
}

bool usePanelStyle() {
    QApplication::setStyle(new PanelStyle); // the application owns its style
    return true;
}

PanelOnPortOne::PanelOnPortOne() {
    window.show();
    window.panel().userPressedButton(Control::SetCP);
}

} // namespace owlet::bench
