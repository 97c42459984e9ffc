#include "link/SerialModuleLink.h"
#include "tests/support/LinkReader.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/Ser2net.h"
#include "tests/support/Thrown.h"

#include <QTest>

#include <termios.h>

using namespace owlet;
using namespace owlet::test;

// Ports served by a real ser2net in front of a pseudo-terminal that plays the module.
class NetworkPortTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PseudoTerminal> module_;
    std::unique_ptr<Ser2net> server_;
    std::unique_ptr<SerialModuleLink> link_;
    std::unique_ptr<LinkReader> reader_;

    // A link to `address` opened as the panel opens its port, read as the panel reads it.
    void open(const QString& address) {
        link_ = std::make_unique<SerialModuleLink>();
        reader_ = std::make_unique<LinkReader>(*link_);
        link_->setDevice(address);
        link_->setReceiveThreshold(1);
        link_->open();
    }

private slots:
    void init() {
        module_ = std::make_unique<PseudoTerminal>();
        server_ = std::make_unique<Ser2net>(module_->slavePath());
        // make test installs ser2net: in CI a missing one is a failure, never a skip.
        if (!server_->problem().isEmpty() && qEnvironmentVariableIsSet("CI"))
            QFAIL(qPrintable(server_->problem()));
        if (!server_->problem().isEmpty())
            QSKIP(qPrintable(server_->problem()));
    }
    void cleanup() {
        reader_.reset();
        link_.reset();
        server_.reset();
    }

    // ser2net's configuration says 9600; RFC 2217 sets the far port as the module wants it.
    void rfc2217SetsTheLine() {
        open(server_->rfc2217());
        link_->write("R0190\r\n");
        QCOMPARE(module_->read(7), QByteArray("R0190\r\n"));
        termios line{};
        QCOMPARE(::tcgetattr(module_->masterFd(), &line), 0);
        QCOMPARE(::cfgetospeed(&line), speed_t(B1200));
        QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    // Lines and replies pass byte for byte, 0xFF included, and no negotiation reaches the
    // reader; lines written while connecting go out in order.
    void bytesPassExactly_data() {
        QTest::addColumn<bool>("telnet");
        QTest::newRow("rfc2217://") << true;
        QTest::newRow("tcp://") << false;
    }
    void bytesPassExactly() {
        QFETCH(bool, telnet);
        open(telnet ? server_->rfc2217() : server_->tcp());
        link_->write("R0190\r\n");
        link_->write(std::string("\xFF\x00\xFF\r\n", 5));
        QCOMPARE(module_->read(12), QByteArray("R0190\r\n\xFF\x00\xFF\r\n", 12));
        const QByteArray reply("OK \xFF\xFF\r\n\x00\r\x00\xFF", 11);
        module_->write(reply);
        QTRY_COMPARE(QByteArray::fromStdString(reader_->received), reply);
    }

    void refusedPort() {
        open(QStringLiteral("rfc2217://127.0.0.1:%1").arg(freePort()));
        link_->write("U\r\n");
        QTRY_COMPARE(reader_->failures.size(), 1u);
        const QString said = QString::fromUtf8(reader_->failures[0].what());
        QVERIFY2(said.contains("nothing listens at 127.0.0.1:") &&
                     said.contains("is ser2net running there") && said.contains("not sent"),
                 qPrintable(said));
        QCOMPARE(thrown<LinkFailure>([this] { link_->write("U\r\n"); })->kind(),
                 LinkFailureKind::Unreachable);
    }

    void notAnRfc2217Server() {
        open(server_->tcp().replace("tcp://", "rfc2217://"));
        QTRY_COMPARE_WITH_TIMEOUT(reader_->failures.size(), 1u, 5000);
        QVERIFY(QByteArray(reader_->failures[0].what()).contains("does not speak RFC 2217"));
    }

    // Killed in mid-session: told once, then idle; every later write fails.
    void serverKilled() {
        open(server_->rfc2217());
        link_->write("U\r\n");
        QCOMPARE(module_->read(3), QByteArray("U\r\n"));
        server_->kill();
        QTRY_COMPARE(reader_->failures.size(), 1u);
        QCOMPARE(reader_->failures[0].kind(), LinkFailureKind::DeviceGone);
        QVERIFY2(cpuSecondsWhileWaiting(500) < 0.1, "busy after the connection dropped");
        QCOMPARE(reader_->failures.size(), 1u);
        QCOMPARE(thrown<LinkFailure>([this] { link_->write("U\r\n"); })->kind(),
                 LinkFailureKind::DeviceGone);
    }
};

QTEST_GUILESS_MAIN(NetworkPortTest)
#include "NetworkPortTest.moc"
