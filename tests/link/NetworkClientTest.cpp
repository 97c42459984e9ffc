#include "link/NetworkAddress.h"
#include "link/SerialModuleLink.h"
#include "link/TcpConnection.h"
#include "link/TelnetClient.h"
#include "tests/support/LinkReader.h"
#include "tests/support/Thrown.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <pthread.h>

using namespace owlet;
using namespace owlet::test;

// The network client's own parts, without a server program: addresses, the telnet layer
// and the TCP connection against a socket of the test's.
class NetworkClientTest : public QObject {
    Q_OBJECT

private slots:
    // Addresses as users write them; a malformed one is refused, quoted, before anything.
    void addresses_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("read"); // HOST:PORT, or what is wrong
        QTest::newRow("name") << "rfc2217://shack.local:2217"
                              << "shack.local:2217";
        QTest::newRow("IPv4, raw") << "tcp://192.168.1.5:2000"
                                   << "192.168.1.5:2000";
        QTest::newRow("IPv6") << "rfc2217://[2001:db8::5]:2217"
                              << "[2001:db8::5]:2217";
        QTest::newRow("no port") << "rfc2217://shack"
                                 << "write HOST:PORT";
        QTest::newRow("port 0") << "tcp://shack:0"
                                << "from 1 to 65535";
        QTest::newRow("IPv4 in brackets") << "rfc2217://[1.2.3.4]:1"
                                          << "no IPv6 address";
        QTest::newRow("a path") << "rfc2217://shack:2217/x"
                                << "write HOST:PORT";
    }
    void addresses() {
        QFETCH(QString, address);
        QFETCH(QString, read);
        QString problem;
        const auto parsed = parseNetworkAddress(address, problem);
        QVERIFY2(parsed ? parsed->hostAndPort() == read : problem.contains(read),
                 qPrintable(parsed ? parsed->hostAndPort() : problem));
        if (!parsed) {
            SerialModuleLink link;
            link.setDevice(address);
            const auto refused = thrown<LinkFailure>([&] { link.open(); });
            QVERIFY(refused && QString(refused->what()).contains("'" + address + "'"));
        }
    }

    // The telnet layer alone, on sequences split anywhere and options a server may offer.
    void telnetClient() {
        TelnetClient client;
        client.opening();
        std::string answer;
        std::string data;
        const std::string server("\xFF\xFB\x01" // WILL ECHO: refused
                                 "A\xFF\xFF"    // data with 0xFF doubled
                                 "\xFF\xFD\x2C" // DO COM-PORT-OPTION: set the line
                                 "\xFF\xFA\x2C\x65\x00\x00\x04\xB0\xFF\xF0" // baud 1200
                                 "\r\x00", // a bare CR as NVT text sends it
                                 21);
        for (const char c : server)
            data += client.receive(std::string_view(&c, 1), answer);
        QCOMPARE(QByteArray::fromStdString(data), QByteArray("A\xFF\r", 3));
        QVERIFY(answer.starts_with("\xFF\xFE\x01")); // DONT ECHO
        QVERIFY(answer.find("\xFF\xFA\x2C\x01\x00\x00\x04\xB0") != std::string::npos);
        QVERIFY(!client.lineSet() && client.problem().empty());
        QCOMPARE(client.encode("\xFF\r"), std::string("\xFF\xFF\r\0", 4));
    }

    // What the server confirms decides whether the line stands, flow control included.
    void lineConfirmations_data() {
        QTest::addColumn<QByteArray>("answers"); // COM-PORT-OPTION answers in hex: code, value
        QTest::addColumn<bool>("set");
        QTest::addColumn<QString>("otherwise");
        const QByteArray settings("65000004b0 6608 6701 6801");
        QTest::newRow("all five") << settings + " 6901" << true << "";
        QTest::newRow("flow control unconfirmed") << settings << false << "";
        QTest::newRow("9600 baud") << QByteArray("6500002580") << false << "9600 baud, not 1200";
        QTest::newRow("hardware flow control")
            << QByteArray("6903") << false << "flow control hardware, not none";
        QTest::newRow("even parity") << QByteArray("6703") << false << "parity even, not none";
        QTest::newRow("2 stop bits") << QByteArray("6802") << false << "2 stop bits, not 1";
    }
    void lineConfirmations() {
        QFETCH(QByteArray, answers);
        QFETCH(bool, set);
        QFETCH(QString, otherwise);
        TelnetClient client;
        client.opening();
        std::string answer;
        client.receive("\xFF\xFD\x2C", answer); // DO COM-PORT-OPTION
        for (const QByteArray& a : answers.split(' '))
            client.receive(("\xFF\xFA\x2C" + QByteArray::fromHex(a) + "\xFF\xF0").toStdString(),
                           answer);
        QCOMPARE(client.lineSet(), set);
        QCOMPARE(QString::fromStdString(client.setOtherwise()), otherwise);
        QVERIFY(client.problem().empty());
    }

    // A server that sets the line otherwise than asked is named with what it set and told
    // what to change; nothing written meanwhile goes out.
    void lineSetOtherwise() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        SerialModuleLink link;
        LinkReader reader(link);
        link.setDevice(QStringLiteral("rfc2217://127.0.0.1:%1").arg(server.serverPort()));
        link.setReceiveThreshold(1);
        link.open();
        link.write("R0190\r\n");
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket* far = server.nextPendingConnection();
        // DO COM-PORT-OPTION, then the baud rate answered with 9600.
        far->write(QByteArray::fromHex("fffd2c fffa2c6500002580fff0"));
        QTRY_COMPARE(reader.failures.size(), 1u);
        const QString said = QString::fromUtf8(reader.failures[0].what());
        QVERIFY2(said.contains("set the line to 9600 baud, not 1200") && said.contains("1200n81") &&
                     said.contains("was not sent"),
                 qPrintable(said));
        QVERIFY(!far->readAll().contains("R0190"));
    }

    // A far end that streams without pause is read a bounded piece at a time, so the event
    // loop keeps serving the window between pieces; nothing is lost.
    void readsAreBoundedPerEvent() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        std::vector<std::size_t> pieces;
        std::size_t total = 0;
        int ticks = 0; // the event loop's turns while the stream comes in
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        TcpConnection tcp({[] {},
                           [&](const std::string& bytes) {
                               pieces.push_back(bytes.size());
                               total += bytes.size();
                           },
                           [](int, bool) {
                           }});
        tcp.connectTo("127.0.0.1", server.serverPort());
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket* far = server.nextPendingConnection();
        const QByteArray stream(4 << 20, 'x');
        far->write(stream);
        tick.start(0);
        QTRY_COMPARE_WITH_TIMEOUT(total, std::size_t(stream.size()), 20000);
        // At most 64 KiB a turn, and the loop keeps turning between the pieces.
        QVERIFY(*std::max_element(pieces.begin(), pieces.end()) <= 64 * 1024);
        QVERIFY2(ticks >= 16, qPrintable(QString::number(ticks)));
    }

    // A write to a connection the far end has dropped fails; it never raises SIGPIPE,
    // which would end the program.
    void writeToADroppedConnection() {
        // As a program started from a shell has it, whatever ran this test: a SIGPIPE
        // would end the process.
        std::signal(SIGPIPE, SIG_DFL);
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_UNBLOCK, &pipe, nullptr);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        bool connected = false;
        int failures = 0;
        TcpConnection tcp({[&] { connected = true; }, [](const std::string&) {},
                           [&](int, bool) {
                               ++failures;
                           }});
        tcp.connectTo("127.0.0.1", server.serverPort());
        QTRY_VERIFY(connected && server.hasPendingConnections());
        server.nextPendingConnection()->close();
        // Not back to the event loop, which would see the end first: the first line goes
        // out and is answered with a reset, the second meets the reset.
        QThread::msleep(100);
        tcp.write("U\r\n");
        QThread::msleep(100);
        tcp.write("U\r\n");
        QTRY_COMPARE(failures, 1);
    }
};

QTEST_GUILESS_MAIN(NetworkClientTest)
#include "NetworkClientTest.moc"
