// The panel and owlet-cli under a far end that sends without pause (an adapter gone wild,
// or an address that points at the wrong service):
//   owlet-bench-flood serial|tcp|rfc2217
//     ->   "<longest event-loop stall ms> <memory growth KiB> <response box KiB>"
//     the panel's window with port 1 open, over 10 s of stream; the growth is from 4 s on
//   owlet-bench-flood cli PROGRAM   ->   "<ms past --wait> <peak resident KiB>"
//     owlet-cli --wait 1 against the stream on tcp://
#include "tools/bench/BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace owlet::bench;

namespace {

const QByteArray Burst =
    QByteArray("module gone wild 0123456789 abcdefghijklmnopqrstuvwxyz\r\n").repeated(1024);

// A child process that writes bursts to `fd` until it is killed or the far end goes.
pid_t streamTo(int fd) {
    const pid_t child = fork();
    if (child == 0) {
        while (writeAll(fd, Burst)) {
        }
        _exit(0);
    }
    return child;
}

// A child process that listens on a free port of 127.0.0.1 and streams to whoever
// connects; the port.
int streamingServer(pid_t& child) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    child = fork();
    if (child == 0) {
        signal(SIGPIPE, SIG_DFL);
        const int connection = accept(listener, nullptr, nullptr);
        while (writeAll(connection, Burst)) {
        }
        _exit(0);
    }
    close(listener);
    return ntohs(address.sin_port);
}

int panelUnderStream(const QByteArray& mode, int argc, char** argv) {
    const ModulePty module;
    if (module.master < 0)
        return 1;
    pid_t streamer = -1;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QProcess ser2net;
    if (mode == "serial") {
        qputenv("OWLET_COM1", module.name);
    } else if (mode == "tcp") {
        qputenv("OWLET_COM1",
                QByteArray("tcp://127.0.0.1:") + QByteArray::number(streamingServer(streamer)));
    } else {
        if (!servePortOne(ser2net, dir, module.name))
            return 1;
    }
    PanelOnPortOne panel;
    if (mode != "tcp") {
        usleep(200000); // the panel, or ser2net, has the device open
        streamer = streamTo(module.master);
    }

    // A timer due every 10 ms: how late it fires is how long a click would wait.
    double longestStall = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.elapsed();
        if (now > 1000) // past the connection
            longestStall = std::max(longestStall, double(now - last - 10));
        last = now;
    });
    tick.start(10);
    long memoryAt4s = 0;
    QTimer::singleShot(4000, &app, [&] { memoryAt4s = residentKiB(); });
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    QApplication::exec();
    const long growth = residentKiB() - memoryAt4s;
    kill(streamer, SIGKILL);
    waitpid(streamer, nullptr, 0);
    ser2net.kill();
    ser2net.waitForFinished(3000);
    const std::size_t shown = panel.window.panel().text(owlet::Control::Text1).size();
    std::printf("%.0f %ld %zu\n", longestStall, growth, shown / 1024);
    return 0;
}

int cliUnderStream(const char* program) {
    pid_t streamer = -1;
    const QByteArray device = "tcp://127.0.0.1:" + QByteArray::number(streamingServer(streamer));
    const auto start = std::chrono::steady_clock::now();
    const pid_t cli = fork();
    if (cli == 0) {
        freopen("/dev/null", "w", stdout);
        execl(program, program, "--device", device.constData(), "--update", "--wait", "1", "--idle",
              "1", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(cli, &status, 0, &usage);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    kill(streamer, SIGKILL);
    waitpid(streamer, nullptr, 0);
    std::printf("%.0f %ld\n", ms - 1000, usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("tcp");
    if (mode == "cli")
        return argc > 2 ? cliUnderStream(argv[2]) : 2;
    return panelUnderStream(mode, argc, argv);
}
