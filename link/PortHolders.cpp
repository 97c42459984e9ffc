#include "link/PortHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace owlet {
namespace {

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

} // namespace

QString programName(int pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QStringLiteral("a program");
    return QString::fromLocal8Bit(comm.readAll().trimmed());
}

namespace {

bool isTerminal(const struct stat& info) {
    if (!S_ISCHR(info.st_mode))
        return false;
    // The kernel files serial ports under the class tty; pseudo-terminals have no entry.
    const QFileInfo subsystem(QStringLiteral("/sys/dev/char/%1:%2/subsystem")
                                  .arg(major(info.st_rdev))
                                  .arg(minor(info.st_rdev)));
    return !subsystem.exists() || subsystem.symLinkTarget().endsWith(QLatin1String("/tty"));
}

} // namespace

bool isTerminalDevice(const QString& device) {
    struct stat info {};
    return ::stat(local(device).constData(), &info) == 0 && isTerminal(info);
}

std::vector<PortHolder> processesHolding(const QString& device) {
    std::vector<PortHolder> holders;
    struct stat target {};
    if (::stat(local(device).constData(), &target) != 0 || !isTerminal(target))
        return holders;
    const int self = static_cast<int>(::getpid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : pids) {
        bool isPid = false;
        const int pid = entry.toInt(&isPid);
        if (!isPid || pid == self)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
            struct stat open {};
            if (::stat(local(fds.filePath(fd)).constData(), &open) == 0 && S_ISCHR(open.st_mode) &&
                open.st_rdev == target.st_rdev) {
                holders.push_back({pid, programName(pid)});
                break;
            }
        }
    }
    return holders;
}

QString holdersText(const std::vector<PortHolder>& holders) {
    QStringList parts;
    for (const PortHolder& h : holders)
        parts << QStringLiteral("%1 (pid %2)").arg(h.name).arg(h.pid);
    return parts.join(QStringLiteral(", "));
}

bool PortLock::processGone() const {
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

PortLock lockOf(const QString& device, const QString& lockDirectory) {
    // Qt names the lock after the device below /dev, slashes made underscores.
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(u'/', u'_');
    PortLock lock;
    lock.path = lockDirectory + QStringLiteral("/LCK..") + name;
    QFile file(lock.path);
    if (file.open(QIODevice::ReadOnly))
        lock.pid = file.readLine().trimmed().toInt();
    return lock;
}

bool lineHungUp(int fd, const QString& device) {
    if (::access(local(device).constData(), F_OK) != 0)
        return true;
    pollfd line{fd, POLLIN, 0};
    return fd < 0 || (::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)));
}

} // namespace owlet
