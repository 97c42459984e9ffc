// CPU time the panel spends taking 200 short replies over a pseudo-terminal, with the
// response box empty, holding 512 KB in 64-byte lines, or holding 1 MiB in one line
// without CR LF; or with the box empty through ser2net (RFC 2217) in front of the same
// pseudo-terminal:
//   owlet-bench-replies empty|full|oneline|network   ->   "<cpu milliseconds>"
#include "panel/SynthPanel.h"
#include "tools/bench/BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace owlet::bench;

namespace {

constexpr int Replies = 200;
const QByteArray Reply = "OK R0190\r\n";

// Runs the event loop, sleeping while idle, until the response box holds `size` bytes.
void waitForText(owlet::SynthPanel& panel, std::size_t size) {
    QElapsedTimer timer;
    timer.start();
    QTimer wakeUp; // bounds each wait, so a lost reply ends the run instead of hanging it
    wakeUp.start(100);
    while (panel.text(owlet::Control::Text1).size() < size && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Reads `count` bytes the panel sent, running its event loop meanwhile.
bool readSent(int master, int count) {
    const int flags = fcntl(master, F_GETFL);
    fcntl(master, F_SETFL, flags | O_NONBLOCK);
    QElapsedTimer timer;
    timer.start();
    for (char byte = 0; count > 0 && timer.elapsed() < 10000;) {
        QCoreApplication::processEvents();
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN) && read(master, &byte, 1) == 1)
            --count;
        else if (p.revents & POLLHUP)
            usleep(10000); // no one has the device open yet
    }
    fcntl(master, F_SETFL, flags);
    return count == 0;
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("empty");
    const ModulePty module;
    if (module.master < 0)
        return 1;
    const int master = module.master;
    qputenv("OWLET_COM1", module.name);

    QApplication app(argc, argv);
    QTemporaryDir dir;
    QProcess ser2net;
    if (mode == "network") {
        if (!servePortOne(ser2net, dir, module.name))
            return 1;
    }
    PanelOnPortOne panel;
    owlet::SynthWindow& window = panel.window;
    // The connection stands once a line has gone through it.
    window.panel().userPressedButton(owlet::Control::Update);
    if (!readSent(master, 3))
        return 1;

    std::size_t expected = 0;
    if (mode == "full" || mode == "oneline") {
        QByteArray filler;
        if (mode == "oneline")
            filler = QByteArray(1024 * 1024, 'x'); // a stream that never ends a line
        while (filler.size() < 512 * 1024)
            filler += "module log line with some text to fill the response box 0123\r\n";
        // Written from another process: the pty holds only a few KB until the panel reads.
        const pid_t filling = fork();
        if (filling == 0) {
            writeAll(master, filler);
            _exit(0);
        }
        expected = static_cast<std::size_t>(filler.size());
        waitForText(window.panel(), expected);
        waitpid(filling, nullptr, 0);
    }
    QCoreApplication::processEvents();

    const double before = cpuMilliseconds();
    const pid_t writer = fork();
    if (writer == 0) { // the module, in a process of its own so its CPU time is not counted
        for (int i = 0; i < Replies; ++i) {
            writeAll(master, Reply);
            usleep(3000);
        }
        _exit(0);
    }
    expected += static_cast<std::size_t>(Replies * Reply.size());
    waitForText(window.panel(), expected);
    const double spent = cpuMilliseconds() - before;
    waitpid(writer, nullptr, 0);
    std::printf("%.2f\n", spent);
    ser2net.terminate();
    ser2net.waitForFinished(3000);
    return window.panel().text(owlet::Control::Text1).size() == expected ? 0 : 1;
}
