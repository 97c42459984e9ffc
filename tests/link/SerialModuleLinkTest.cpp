#include "link/SerialModuleLink.h"
#include "link/LinkFailure.h"
#include "link/PortMapping.h"
#include "link/PortMessages.h"
#include "tests/link/PseudoTerminal.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <optional>
#include <sys/resource.h>
#include <termios.h>

using namespace owlet;

namespace {

std::optional<LinkFailure> failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const LinkFailure& failure) {
        return failure;
    }
    return std::nullopt;
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms`, sleeping in it while nothing happens.
void spinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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
            spinEventLoop(2);
            received += QByteArray::fromStdString(link_->readAll());
        }
        QElapsedTimer timer;
        timer.start();
        while (received.size() < all.size() && timer.elapsed() < 3000) {
            spinEventLoop(10);
            received += QByteArray::fromStdString(link_->readAll());
        }
        QCOMPARE(received, all);
        QVERIFY(commEvents_ >= 1);
    }

    void noEventBelowThreshold() {
        link_->setReceiveThreshold(0);
        pty_->write("hello");
        spinEventLoop(200);
        QCOMPARE(commEvents_, 0);
        QCOMPARE(link_->readAll(), std::string("hello"));
    }

    void hangUpIsNoticedOnceAndLeavesTheProcessIdle() {
        pty_->write("last words");
        spinEventLoop(100);
        const int eventsBeforeHangUp = commEvents_;
        pty_->hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(commEvents_ > eventsBeforeHangUp, 3000);
        spinEventLoop(100);
        QCOMPARE(commEvents_, eventsBeforeHangUp + 1);
        const int eventsAfterHangUp = commEvents_;
        QVERIFY(link_->readAll().ends_with("last words"));

        const double before = cpuSeconds();
        spinEventLoop(500);
        QVERIFY2(cpuSeconds() - before < 0.1, "busy after hang-up");
        QCOMPARE(commEvents_, eventsAfterHangUp);

        const auto failure = failureOf([this] { link_->write("U\r\n"); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::DeviceGone);
        QVERIFY(QByteArray(failure->what()).contains(pty_->slavePath().toLocal8Bit()) ||
                QByteArray(failure->what()).contains("went away"));
    }

    void secondOpenIsRefusedAsBusy() {
        SerialModuleLink second;
        second.setPortNumber(1);
        const auto failure = failureOf([&] { second.open(); });
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LinkFailureKind::PortBusy);
        QVERIFY(QByteArray(failure->what()).contains("Another program holds the port"));
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

    void permissionMessageNamesGroupAndCommand() {
        const LinkFailure failure =
            openFailure(3, "/dev/owlet-locked", QSerialPort::PermissionError, "Permission denied");
        QCOMPARE(failure.kind(), LinkFailureKind::PermissionDenied);
        const QByteArray message(failure.what());
        QVERIFY(message.contains("Port 3 (/dev/owlet-locked)"));
        QVERIFY(message.contains("sudo usermod -aG dialout $USER"));
        QVERIFY(message.contains("log out and in again"));
    }

    void naturalOrder_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("ttyS2 < ttyS10") << "ttyS2"
                                        << "ttyS10";
        QTest::newRow("ttyACM0 < ttyUSB0") << "ttyACM0"
                                           << "ttyUSB0";
        QTest::newRow("prefix first") << "ttyUSB"
                                      << "ttyUSB0";
        QTest::newRow("leading zeros") << "tty02"
                                       << "tty3";
        QTest::newRow("USB1 < USB10") << "ttyUSB1"
                                      << "ttyUSB10";
    }

    void naturalOrder() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QVERIFY(naturalLess(a, b));
        QVERIFY(!naturalLess(b, a));
    }

    void environmentOverridesTheList() {
        qputenv("OWLET_COM2", "/dev/owlet-second");
        QCOMPARE(deviceForPort(2), QString("/dev/owlet-second"));
        QVERIFY(portAssignmentsText().contains("2  /dev/owlet-second  (set by OWLET_COM2)"));
    }
};

QTEST_GUILESS_MAIN(SerialModuleLinkTest)
#include "SerialModuleLinkTest.moc"
