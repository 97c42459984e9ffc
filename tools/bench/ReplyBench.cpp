// CPU time the panel spends taking 200 short replies over a pseudo-terminal, with the
// response box empty, holding 512 KB in 64-byte lines, or holding 1 MiB in one line
// without CR LF:
//   owlet-bench-replies empty|full|oneline   ->   "<cpu milliseconds>"
#include "link/SerialModuleLink.h"
#include "panel/SynthPanel.h"
#include "ui/SynthWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Replies = 200;
const QByteArray Reply = "OK R0190\r\n";

double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += n;
    }
}

// Runs the event loop, sleeping while idle, until the response box holds `size` bytes.
void waitForText(owlet::SynthPanel& panel, std::size_t size) {
    QElapsedTimer timer;
    timer.start();
    QTimer wakeUp; // bounds each wait, so a lost reply ends the run instead of hanging it
    wakeUp.start(100);
    while (panel.text(owlet::Control::Text1).size() < size && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("empty");
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return 1;
    close(slave);
    qputenv("OWLET_COM1", name);

    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    owlet::SerialModuleLink link;
    owlet::SynthWindow window(link);
    window.show();
    window.panel().userPressedButton(owlet::Control::SetCP);

    std::size_t expected = 0;
    if (mode != "empty") {
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
    return window.panel().text(owlet::Control::Text1).size() == expected ? 0 : 1;
}
