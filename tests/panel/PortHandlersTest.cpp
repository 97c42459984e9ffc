#include "tests/support/PanelFixture.h"

#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;
using Lines = std::vector<std::string>;

class PortHandlersTest : public QObject {
    Q_OBJECT

private slots:
    void editingThePortNumberMakesTheButtonABoldSet() {
        PanelFixture f;
        QCOMPARE(f.text(C::SetCP), "COM Port");
        f.type(C::CPNo, "");
        QCOMPARE(f.text(C::SetCP), "Set");
        QVERIFY(f.panel.state(C::SetCP).bold);
        f.type(C::CPNo, "2");
        QCOMPARE(f.text(C::SetCP), "Set");
        QCOMPARE(f.panel.portNumber(), 0);
    }

    void choosingAPort_data() {
        QTest::addColumn<QByteArray>("cpno");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("1") << QByteArray("1") << 1 << true << QByteArray();
        QTest::newRow("2.5 to even 2") << QByteArray("2.5") << 2 << true << QByteArray();
        QTest::newRow("3.5 to even 4") << QByteArray("3.5") << 4 << true << QByteArray();
        QTest::newRow("blank and 3") << QByteArray(" 3") << 3 << true << QByteArray();
        QTest::newRow("3x") << QByteArray("3x") << 3 << true << QByteArray();
        QTest::newRow("0 offline") << QByteArray("0") << 0 << false << QByteArray();
        QTest::newRow("-0.5 offline") << QByteArray("-0.5") << 0 << false << QByteArray();
        QTest::newRow("empty offline") << QByteArray("") << 0 << false << QByteArray();
        QTest::newRow("letters offline") << QByteArray("abc") << 0 << false << QByteArray();
        QTest::newRow("-1 refused")
            << QByteArray("-1") << -1 << false << QByteArray("Bad port number");
    }

    void choosingAPort() {
        QFETCH(QByteArray, cpno);
        QFETCH(int, port);
        QFETCH(bool, opened);
        QFETCH(QByteArray, error);
        PanelFixture f;
        f.choosePort(cpno.toStdString());
        QCOMPARE(f.panel.portNumber(), port);
        QVERIFY(!f.shown(C::SetCP) && !f.shown(C::CPNo));
        for (C c : {C::Update, C::StoreEE, C::Text1, C::Label8})
            QCOMPARE(f.shown(c), opened);
        Lines expected{"threshold 1"};
        if (port != 0)
            expected.push_back("port " + std::to_string(port));
        if (opened)
            expected.push_back("open");
        QCOMPARE(f.link.calls, expected);
        QCOMPARE(QByteArray::fromStdString(f.lastErrorKind()), error);
        // The port is chosen once: the button is gone.
        f.press(C::SetCP);
        QCOMPARE(f.link.calls.size(), expected.size());
    }

    void outOfRangeKeepsThePortControls_data() {
        QTest::addColumn<QByteArray>("cpno");
        QTest::newRow("40000") << QByteArray("40000");
        QTest::newRow("32767.5") << QByteArray("32767.5");
        QTest::newRow("1e999") << QByteArray("1e999");
    }

    void outOfRangeKeepsThePortControls() {
        QFETCH(QByteArray, cpno);
        PanelFixture f;
        f.choosePort(cpno.toStdString());
        QCOMPARE(f.lastErrorKind(), "Overflow");
        QCOMPARE(f.panel.portNumber(), 0);
        QVERIFY(f.shown(C::SetCP) && f.shown(C::CPNo));
        f.choosePort("1");
        QCOMPARE(f.panel.portNumber(), 1);
    }

    void openFailureLeavesThePortNumber() {
        PanelFixture f;
        f.link.refuseOpen = true;
        f.choosePort("2");
        QCOMPARE(f.lastErrorKind(), "Port busy");
        QVERIFY(QString::fromStdString(f.reporter.errors.back().message)
                    .startsWith("Pressing \"Set\""));
        QCOMPARE(f.panel.portNumber(), 2);
        QVERIFY(!f.shown(C::SetCP) && !f.shown(C::Update) && !f.shown(C::Text1));
    }

    void portButtonOnlyShowsSetButtons() {
        PanelFixture f;
        f.type(C::Fref, "145");
        f.press(C::SetCP);
        QVERIFY(f.shown(C::SetR));
        QVERIFY(!f.shown(C::SetN)); // Fout still reads "Enter value"
    }

    void frequencyOverflowAfterTheStore() {
        PanelFixture f;
        f.type(C::Fout, "1e999");
        f.press(C::SetCP);
        QCOMPARE(f.lastErrorKind(), "Overflow");
        QCOMPARE(f.panel.portNumber(), 1);
        QVERIFY(!f.shown(C::SetCP));
        QCOMPARE(f.link.calls, Lines{"threshold 1"});
    }

    void updateAndStoreEmptyTheBoxFirst() {
        PanelFixture f;
        f.choosePort("1");
        f.link.reply("earlier");
        std::string boxAtWrite = "?";
        f.link.onWrite = [&] {
            boxAtWrite = f.text(C::Text1);
        };
        f.press(C::Update);
        QCOMPARE(boxAtWrite, "");
        f.press(C::StoreEE);
        QCOMPARE(f.link.written, (Lines{"U\r\n", "W\r\n"}));
        f.link.refuseWrite = true;
        f.press(C::Update);
        QCOMPARE(f.lastErrorKind(), "Port not open");
    }

    void repliesAreAppendedAsTheyCome() {
        PanelFixture f;
        f.choosePort("1");
        f.view.changes.clear();
        for (const char* piece : {"A", "", "B\r\n", "\xE9\x00z"}) {
            f.link.reply(std::string(piece, piece[0] == '\xE9' ? 3 : std::strlen(piece)));
        }
        QCOMPARE(f.text(C::Text1), std::string("AB\r\n\xC3\xA9\0z", 8));
        // The view hears of the appended pieces only; an empty event tells it nothing.
        QCOMPARE(f.view.changes.size(), 3);
        QCOMPARE(f.view.changes[1], "Text1+=B\r\n");
    }

    // Appending costs the same however full the box is: the view gets only the new part.
    void appendDoesNotResendTheBox() {
        PanelFixture f;
        f.choosePort("1");
        f.link.reply(std::string(1 << 20, 'x'));
        f.view.changes.clear();
        f.link.reply("ok");
        QCOMPARE(f.view.changes, QStringList{"Text1+=ok"});
        QCOMPARE(f.text(C::Text1).size(), (1u << 20) + 2);
    }
};

QTEST_APPLESS_MAIN(PortHandlersTest)
#include "PortHandlersTest.moc"
