#include "tests/support/PseudoTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace owlet::test {

PseudoTerminal::PseudoTerminal() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = QString::fromLocal8Bit(name);
    // Only the panel holds the slave side open.
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Programs the test starts must not inherit the master: hanging up would not end the line.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
}

PseudoTerminal::~PseudoTerminal() {
    hangUp();
}

QByteArray PseudoTerminal::read(int count, int timeoutMs) {
    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                received.append(buffer, n);
        }
    }
    return received;
}

void PseudoTerminal::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += n;
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void PseudoTerminal::hangUp() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

} // namespace owlet::test
