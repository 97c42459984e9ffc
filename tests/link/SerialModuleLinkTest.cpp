#include "link/SerialModuleLink.h"
#include "link/LinkFailure.h"
#include "link/PortHolders.h"
#include "link/PortMapping.h"
#include "link/PortMessages.h"
#include "tests/support/LinkReader.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/Thrown.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace owlet;
using namespace owlet::test;

namespace {

template <typename Call> std::optional<LinkFailure> failureOf(Call&& call) {
    return thrown<LinkFailure>(call);
}

// The number of a process that has just ended.
int deadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<int>(child);
}

} // namespace

class SerialModuleLinkTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PseudoTerminal> pty_;
    std::unique_ptr<SerialModuleLink> link_;
    int commEvents_ = 0;

    void openLink() {
        qputenv("OWLET_COM1", pty_->slavePath().toLocal8Bit());
        link_ = std::make_unique<SerialModuleLink>();
        link_->setCommEventHandler([this] { ++commEvents_; });
        link_->setReceiveThreshold(1);
        link_->setPortNumber(1);
        link_->open();
    }

private slots:
    void init() {
        commEvents_ = 0;
        pty_ = std::make_unique<PseudoTerminal>();
        openLink();
    }

    void cleanup() {
        link_.reset();
        pty_.reset();
        qunsetenv("OWLET_COM1");
        qunsetenv("OWLET_COM2");
    }

    void lineSettings() {
        termios settings{};
        QCOMPARE(::tcgetattr(pty_->masterFd(), &settings), 0);
        QCOMPARE(::cfgetospeed(&settings), speed_t(B1200));
        QCOMPARE(::cfgetispeed(&settings), speed_t(B1200));
        QCOMPARE(settings.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));
    }

    void writesExactBytes() {
        link_->write("R0190\r\n");
        link_->write("U\r\n");
        QCOMPARE(pty_->read(10), QByteArray("R0190\r\nU\r\n"));
    }

    void repliesInPiecesArriveWhole() {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(static_cast<char>(i));
        all += "\r\nafter CR LF";
        QByteArray received;
        for (qsizetype at = 0; at < all.size(); at += 7) {
            pty_->write(all.mid(at, 7));
            waitInEventLoop(2);
            received += QByteArray::fromStdString(link_->readAll());
        }
        QElapsedTimer timer;
        timer.start();
        while (received.size() < all.size() && timer.elapsed() < 3000) {
            waitInEventLoop(10);
            received += QByteArray::fromStdString(link_->readAll());
        }
        QCOMPARE(received, all);
        QVERIFY(commEvents_ >= 1);
    }

    void noEventBelowThreshold() {
        link_->setReceiveThreshold(0);
        pty_->write("hello");
        waitInEventLoop(200);
        QCOMPARE(commEvents_, 0);
        QCOMPARE(link_->readAll(), std::string("hello"));
    }

    // What came before is read, then the loss, once; later writes fail; nothing spins.
    void hangUpIsReportedOnceAndLeavesTheProcessIdle() {
        LinkReader reader(*link_);
        pty_->write("last words");
        QTRY_COMPARE(reader.received, std::string("last words"));
        pty_->hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(reader.failures.size(), 1u, 3000);
        QCOMPARE(reader.failures[0].kind(), LinkFailureKind::DeviceGone);
        QVERIFY2(cpuSecondsWhileWaiting(500) < 0.1, "busy after hang-up");
        QCOMPARE(reader.failures.size(), 1u);
        const auto failure = failureOf([this] { link_->write("U\r\n"); });
        QCOMPARE(failure->kind(), LinkFailureKind::DeviceGone);
        QVERIFY(QByteArray(failure->what()).contains(pty_->slavePath().toLocal8Bit()));
    }

    // Bytes that arrived but were not read yet when the line hung up are read first; the
    // loss follows.
    void bytesUnreadAtAHangUpComeFirst() {
        pty_->write("last words");
        QTRY_COMPARE(commEvents_, 1); // arrived, and left unread
        pty_->hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(commEvents_ > 1, 3000);
        QCOMPARE(link_->readAll(), std::string("last words"));
        const auto failure = failureOf([this] { link_->readAll(); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::DeviceGone);
    }

    void oneByteRaisesTheEvent() {
        pty_->write("A");
        QTRY_COMPARE_WITH_TIMEOUT(commEvents_, 1, 3000);
        QCOMPARE(link_->readAll(), std::string("A"));
    }

    void secondOpenIsRefusedAsBusy() {
        SerialModuleLink second;
        second.setPortNumber(1);
        const auto failure = failureOf([&] { second.open(); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::PortBusy);
        QVERIFY2(QByteArray(failure->what()).contains("holds its lock"), failure->what());
    }

    // A program that opened the device without a lock is found, named and not shared with.
    void deviceOpenElsewhereIsBusy() {
        PseudoTerminal other;
        QProcess holder;
        holder.setStandardInputFile(other.slavePath());
        holder.start("sleep", {"30"});
        QVERIFY(holder.waitForStarted());
        qputenv("OWLET_COM2", other.slavePath().toLocal8Bit());
        SerialModuleLink link;
        link.setPortNumber(2);
        const auto failure = failureOf([&] { link.open(); });
        holder.kill();
        holder.waitForFinished();
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::PortBusy);
        const QByteArray message(failure->what());
        QVERIFY2(
            message.contains(QStringLiteral("sleep (pid %1)").arg(holder.processId()).toLatin1()) ||
                message.contains("sleep (pid"),
            message);
        link.open(); // once it is gone the port opens
    }

    // Another reader taking the bytes first leaves reads empty: the line is not gone.
    void emptyReadsAreNoHangUp() {
        if (::geteuid() != 0)
            QSKIP("needs root: the panel holds the port exclusively, and only root may open "
                  "it a second time");
        const int thief =
            ::open(pty_->slavePath().toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
        QVERIFY(thief >= 0);
        char sink[256];
        for (int i = 0; i < 50; ++i) {
            pty_->write("stolen?\r\n");
            while (::read(thief, sink, sizeof sink) > 0) {
            }
            waitInEventLoop(2);
        }
        ::close(thief);
        QCOMPARE(failureOf([this] { link_->write("U\r\n"); }), std::nullopt);
        QVERIFY(pty_->read(3).endsWith("U\r\n"));
    }

    void hangUpIsTellable() {
        PseudoTerminal line;
        const int fd =
            ::open(line.slavePath().toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
        QVERIFY(!lineHungUp(fd, line.slavePath()));
        QVERIFY(lineHungUp(fd, "/dev/owlet-no-such-device")); // the node was removed
        line.hangUp();
        QVERIFY(lineHungUp(fd, line.slavePath()));
        ::close(fd);
    }

    void missingDeviceListsThePorts() {
        qputenv("OWLET_COM2", "/dev/owlet-no-such-device");
        SerialModuleLink missing;
        missing.setPortNumber(2);
        const auto failure = failureOf([&] { missing.open(); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::BadPortNumber);
        const QByteArray message(failure->what());
        QVERIFY2(message.contains("1  " + pty_->slavePath().toLocal8Bit()), message);
        QVERIFY(message.contains("OWLET_COM2"));
    }

    void numbersThatDenoteNoPort_data() {
        QTest::addColumn<int>("port");
        QTest::newRow("negative") << -1;
        QTest::newRow("beyond the list") << 30000;
    }

    void numbersThatDenoteNoPort() {
        QFETCH(int, port);
        SerialModuleLink other;
        const auto failure =
            failureOf([&] { other.setPortNumber(static_cast<std::int16_t>(port)); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::BadPortNumber);
        // A port that never opened refuses writes.
        QCOMPARE(failureOf([&] { other.write("U\r\n"); })->kind(), LinkFailureKind::NotOpen);
    }

    // Advice follows the device's owner, group and mode; joining root is never advised. An
    // ordinary user's own group stands in for dialout, which such a user cannot give away.
    void permissionAdvice_data() {
        QTest::addColumn<bool>("groupRoot");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("advice");
        QTest::newRow("group may read and write")
            << false << 0660 << "sudo usermod -aG {group} $USER";
        QTest::newRow("owner only")
            << false << 0600 << "user '{owner}' and group '{group}' with mode 0600";
        QTest::newRow("group root") << true << 0660 << "contrib/99-owlet-usb-serial.rules";
        QTest::newRow("group may only read") << false << 0640 << "99-owlet-usb-serial.rules";
    }
    void permissionAdvice() {
        QFETCH(bool, groupRoot);
        QFETCH(int, mode);
        QFETCH(QString, advice);
        const bool root = ::geteuid() == 0;
        if (groupRoot && !root)
            QSKIP("needs root: only root may give a file to the group root");
        const ::group* g =
            root ? ::getgrnam(groupRoot ? "root" : "dialout") : ::getgrgid(::getegid());
        if (!g)
            QSKIP("no group dialout here");
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyUSB9");
        QFile node(device);
        QVERIFY(node.open(QIODevice::WriteOnly));
        QCOMPARE(::chown(device.toLocal8Bit().constData(), ::geteuid(), g->gr_gid), 0);
        QCOMPARE(::chmod(device.toLocal8Bit().constData(), static_cast<mode_t>(mode)), 0);
        const LinkFailure failure = permissionDenied({3, device}, "Permission denied");
        QCOMPARE(failure.kind(), LinkFailureKind::PermissionDenied);
        const QString message = QString::fromUtf8(failure.what());
        const QString owner = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
        advice.replace("{owner}", owner).replace("{group}", QString::fromLocal8Bit(g->gr_name));
        QVERIFY2(message.contains(advice), qPrintable(message));
        QVERIFY2(message.startsWith("Port 3 (" + device + ") cannot be opened"),
                 qPrintable(message));
        QVERIFY(!message.contains("-aG root"));
        QVERIFY(message.contains("log out and in again"));
    }

    // Every failure says what happened and what to do about it.
    void failureMessages_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("happened");
        QTest::addColumn<QString>("todo");
        static QTemporaryDir dir;
        const auto add = [](const char* row, const LinkFailure& f, const char* happened,
                            const char* todo) {
            QTest::newRow(row) << QString::fromUtf8(f.what()) << happened << todo;
        };
        add("null device",
            openFailure({1, "/dev/null"}, QSerialPort::UnsupportedOperationError,
                        "Inappropriate ioctl for device"),
            "is not a serial port", "OWLET_COM1=/dev/ttyUSB0");
        add("directory", openFailure({2, dir.path()}, QSerialPort::UnknownError, "Is a directory"),
            "is not a serial port", "set OWLET_COM2");
        add("stale lock",
            portLocked({1, "/dev/ttyUSB0"}, {dir.filePath("LCK..ttyUSB0"), deadPid()}, "x"),
            "is gone", "sudo rm " + dir.filePath("LCK..ttyUSB0").toLatin1());
        add("live lock",
            portLocked({1, "/dev/ttyUSB0"}, {"/run/lock/LCK..ttyUSB0", int(::getpid())}, "x"),
            "holds its lock /run/lock/LCK..ttyUSB0", "Close that program");
        add("unknown holder",
            portLocked({1, "/dev/ttyUSB0"}, {"/run/lock/LCK..ttyUSB0", 0}, "busy"), "is busy",
            "Close it and restart");
        add("held open", portHeld({1, "/dev/ttyUSB0"}, {{812, "minicom"}}),
            "minicom (pid 812) has it open", "kill 812");
        add("from owlet-cli", portHeld({1, "/dev/ttyUSB0", "run owlet-cli again"}, {{812, "cat"}}),
            "is busy", "kill 812) and run owlet-cli again.");
        add("no such port", noSuchPort({4, {}}), "denotes no serial port", "OWLET_COM4=");
        add("port 0 or below", noSuchPort({-1, {}}), "port numbers start at 1", "enter the number");
        add("missing device",
            openFailure({1, "/dev/owlet-none"}, QSerialPort::DeviceNotFoundError, "No such file"),
            "does not exist", "Plug in the adapter");
        add("gone", deviceGone({1, "/dev/ttyUSB0"}), "went away", "Plug the adapter in again");
        add("not open", notOpen({1, {}}), "is not open", "choose a port that opens");
        add("write refused", writeFailure({1, "/dev/ttyUSB0"}, "Input/output error"),
            "did not take the command", "press the button again");
        add("other open failure",
            openFailure({1, "/dev/tty"}, QSerialPort::UnknownError, "Input/output error"),
            "cannot be opened", "restart the panel");
    }
    void failureMessages() {
        QFETCH(QString, message);
        QFETCH(QString, happened);
        QFETCH(QString, todo);
        QVERIFY2(message.contains(happened), qPrintable(message));
        QVERIFY2(message.contains(todo), qPrintable(message));
    }

    void lockFileNamesItsProcess() {
        QTemporaryDir dir;
        QFile lock(dir.filePath("LCK..pts_7"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("    4242\nminicom\nhost\n");
        lock.close();
        const PortLock found = lockOf("/dev/pts/7", dir.path());
        QCOMPARE(found.path, lock.fileName());
        QCOMPARE(found.pid, 4242);
        QCOMPARE(lockOf("/dev/ttyUSB3", dir.path()).pid, 0);
        QVERIFY((PortLock{"x", deadPid()}.processGone()));
        QVERIFY(!(PortLock{"x", int(::getpid())}.processGone()));
    }

    void naturalOrder() {
        const std::pair<QString, QString> ordered[] = {{"ttyS2", "ttyS10"},
                                                       {"ttyACM0", "ttyUSB0"},
                                                       {"ttyUSB", "ttyUSB0"}, // prefix first
                                                       {"tty02", "tty3"},     // leading zeros
                                                       {"ttyUSB1", "ttyUSB10"}};
        for (const auto& [a, b] : ordered)
            QVERIFY2(naturalLess(a, b) && !naturalLess(b, a), qPrintable(a + " < " + b));
    }

    void environmentOverridesTheList() {
        qputenv("OWLET_COM2", "/dev/owlet-second");
        QCOMPARE(deviceForPort(2).value_or(""), QString("/dev/owlet-second"));
        QVERIFY(portAssignmentsText().contains("2  /dev/owlet-second  (set by OWLET_COM2)"));
    }
};

QTEST_GUILESS_MAIN(SerialModuleLinkTest)
#include "SerialModuleLinkTest.moc"
