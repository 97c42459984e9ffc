#include "tests/support/SimulatorProcess.h"

#include <QElapsedTimer>

#include <csignal>

namespace owlet::test {

SimulatorProcess::SimulatorProcess(const QStringList& arguments) {
    process_.start(QStringLiteral(OWLET_SIMULATOR), arguments);
    QElapsedTimer timer;
    timer.start();
    while (!process_.canReadLine() && timer.elapsed() < 5000)
        process_.waitForReadyRead(100);
    if (!process_.canReadLine())
        return;
    firstLine_ = QString::fromUtf8(process_.readLine()).trimmed();
    // "Module simulator on /dev/pts/4"
    if (firstLine_.startsWith(QLatin1String("Module simulator on ")))
        device_ = firstLine_.section(u' ', 3);
}

SimulatorProcess::~SimulatorProcess() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000))
        process_.kill();
    process_.waitForFinished(1000);
}

QByteArray SimulatorProcess::waitForOutput(const QByteArray& text, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!(printed_ += process_.readAll()).contains(text) && timer.elapsed() < timeoutMs)
        process_.waitForReadyRead(50);
    return printed_;
}

int SimulatorProcess::interrupt() {
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
    if (!process_.waitForFinished(3000) || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

} // namespace owlet::test
