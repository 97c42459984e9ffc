#include "web/BrowserLink.h"
#include "tests/support/Thrown.h"

#include <QTest>

#include <string>
#include <vector>

using namespace owlet;
using namespace owlet::web;
using owlet::test::thrown;

namespace {

// The page's serial ports as the link sees them: what it was asked, and its answers.
struct FakePage final : SerialHost {
    bool serial = true;
    int allowed = 2;
    std::vector<std::string> calls;
    bool hasSerial() override { return serial; }
    int allowedPorts() override { return allowed; }
    void useAllowedPort(int index) override { calls.push_back("use " + std::to_string(index)); }
    void openChooser() override { calls.emplace_back("chooser"); }
    void openPort() override { calls.emplace_back("open"); }
    void writeLine(std::string_view line) override {
        calls.push_back("write " + std::string(line));
    }
};

struct Trouble {
    const char* name;
    SerialTrouble trouble;
    LinkFailureKind kind;
    const char* says;
};
const Trouble Troubles[] = {
    {"chooser cancelled", SerialTrouble::ChooserCancelled, LinkFailureKind::BadPortNumber,
     "No adapter was chosen for port 2: the browser's port chooser was closed. The 2 lines"},
    {"busy", SerialTrouble::Busy, LinkFailureKind::PortBusy,
     "Port 2 (USB 0403:6001) is busy: another program or browser tab has it open (the browser "
     "says: NetworkError: Failed to open serial port.)."},
    {"unplugged", SerialTrouble::Unplugged, LinkFailureKind::DeviceGone,
     "Port 2 (USB 0403:6001) went away: the adapter was unplugged"},
    {"write failed", SerialTrouble::WriteFailed, LinkFailureKind::DeviceError,
     "Port 2 (USB 0403:6001) did not take the command"},
    {"open failed", SerialTrouble::OpenFailed, LinkFailureKind::DeviceError, "dialout group"},
    {"chooser refused", SerialTrouble::ChooserRefused, LinkFailureKind::BadPortNumber,
     "No adapter could be chosen for port 2: the browser did not show its port chooser (the "
     "browser says: NetworkError"},
};

} // namespace

// The module link in the browser: lines wait while the port opens, every failure is handed
// to the reader once, in the desktop panel's manner, and later writes fail.
class BrowserLinkTest : public QObject {
    Q_OBJECT

private slots:
    void linesWaitForThePort() {
        FakePage page;
        BrowserLink link(page);
        link.setPortNumber(1);
        link.open();
        link.write("R0190\r\n");
        link.write("U\r\n");
        QCOMPARE(page.calls.size(), 2u);
        link.opened();
        link.write("W\r\n");
        QCOMPARE(page.calls.back(), "write W\r\n");
        QCOMPARE(page.calls.at(2), "write R0190\r\nU\r\n");
    }

    // Port n is the n-th allowed adapter; past them the chooser opens.
    void portNumbers() {
        for (const auto& [port, call] : {std::pair{1, "use 0"}, {2, "use 1"}, {3, "chooser"}}) {
            FakePage page;
            BrowserLink(page).setPortNumber(static_cast<std::int16_t>(port));
            QCOMPARE(page.calls, std::vector<std::string>{call});
        }
        FakePage page;
        BrowserLink link(page);
        QCOMPARE(thrown<LinkFailure>([&] { link.setPortNumber(-3); })->kind(),
                 LinkFailureKind::BadPortNumber);
        page.serial = false;
        const auto none = thrown<LinkFailure>([&] { link.setPortNumber(1); });
        QVERIFY(none && std::string(none->what()).find("no Web Serial") != std::string::npos);
        QCOMPARE(thrown<LinkFailure>([&] { link.write("U\r\n"); })->kind(),
                 LinkFailureKind::NotOpen);
    }

    void troubles_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Troubles)); ++i)
            QTest::newRow(Troubles[i].name) << i;
    }
    void troubles() {
        QFETCH(int, row);
        const Trouble& t = Troubles[row];
        FakePage page;
        BrowserLink link(page);
        std::vector<std::string> read;
        int events = 0;
        link.setCommEventHandler([&] {
            ++events;
            try {
                read.push_back(link.readAll());
            } catch (const LinkFailure& failure) {
                QCOMPARE(failure.kind(), t.kind);
                read.push_back(std::string("failure: ") + failure.what());
            }
        });
        link.setReceiveThreshold(1);
        link.setPortNumber(2);
        link.open();
        link.write("R0190\r\n");
        link.write("U\r\n");
        if (t.trouble != SerialTrouble::ChooserCancelled &&
            t.trouble != SerialTrouble::ChooserRefused) {
            link.opened();
            link.received("OK R0190\r\n");
        }
        link.failed(t.trouble, "USB 0403:6001", "NetworkError: Failed to open serial port.");
        link.failed(t.trouble, "USB 0403:6001", "again"); // told once
        QCOMPARE(read.back().rfind("failure: ", 0), 0u);
        QVERIFY2(read.back().find(t.says) != std::string::npos, read.back().c_str());
        QCOMPARE(std::count_if(read.begin(), read.end(),
                               [](const std::string& r) { return r.starts_with("failure"); }),
                 1);
        const auto later = thrown<LinkFailure>([&] { link.write("W\r\n"); });
        QVERIFY(later && later->kind() == t.kind &&
                std::string(later->what()).find("nothing was sent") != std::string::npos);
        QCOMPARE(page.calls.back().find("W\r\n"), std::string::npos);
        QCOMPARE(link.readAll(), std::string());
        QVERIFY(events >= 1);
    }

    // With no event on arrival (threshold 0), replies still waiting at a failure come
    // first, at their own event, and the failure after them at another.
    void repliesWaitingAtAFailureComeFirst() {
        FakePage page;
        BrowserLink link(page);
        std::vector<std::string> read;
        link.setCommEventHandler([&] {
            try {
                read.push_back(link.readAll());
            } catch (const LinkFailure& failure) {
                read.push_back(std::string("failure: ") + linkFailureKindName(failure.kind()));
            }
        });
        link.setReceiveThreshold(0);
        link.setPortNumber(1);
        link.open();
        link.opened();
        link.received("OK R0190\r\n");
        QVERIFY(read.empty());
        link.failed(SerialTrouble::Unplugged, "USB 0403:6001", "");
        QCOMPARE(read, std::vector<std::string>({"OK R0190\r\n", "failure: Device unavailable"}));
    }
};

QTEST_GUILESS_MAIN(BrowserLinkTest)
#include "BrowserLinkTest.moc"
