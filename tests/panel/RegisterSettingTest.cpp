#include "tests/support/PanelFixture.h"
#include "tests/support/Rows.h"

#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;
using Lines = std::vector<std::string>;

namespace {

struct Fault {
    const char* name;
    C button;
    const char *fref, *fcomp, *fout, *kind, *message;
};
constexpr Fault Faults[] = {
    {"R: reference 0", C::SetR, "0", "25", "", "Overflow", "actual comparison"},
    {"R: tiny reference", C::SetR, "0.0125", "25", "", "Division by zero", "R rounds to 0"},
    {"R: comparison empty", C::SetR, "10", "", "", "Division by zero", "comparison"},
    {"R: both 0", C::SetR, "", "x", "", "Overflow", "undefined"},
    {"R: beyond double", C::SetR, "1e400", "25", "", "Overflow", "double range"},
    {"R: above 16 bits", C::SetR, "2000", "25", "", "Overflow", "R = 80000 does not fit"},
    {"R: negative", C::SetR, "-10", "25", "", "Overflow", "R = -400 does not fit"},
    {"N: comparison empty", C::SetN, "10", "", "145", "Division by zero", "N cannot"},
    {"N: above 16 bits", C::SetN, "10", "25", "1638.4", "Overflow", "N = 65536 does not fit"},
    {"N: error beyond 32 bits", C::SetN, "10", "1e7", "3000", "Overflow", "32-bit"},
};

} // namespace

class RegisterSettingTest : public QObject {
    Q_OBJECT

private slots:
    void setROffline() {
        PanelFixture f;
        f.type(C::Fref, "10");
        f.press(C::SetR);
        QCOMPARE(f.text(C::Rreg), "0190");
        QCOMPARE(f.text(C::Fcomp2), " 25");
        QCOMPARE(f.text(C::Text1), "");
        QVERIFY(f.link.written.empty());
        QVERIFY(!f.shown(C::Update));
        QVERIFY(f.reporter.errors.empty());
    }

    void setRWritesActualComparisonFrequency() {
        PanelFixture f;
        f.type(C::Fref, "10");
        f.type(C::Fcomp2, "7");
        f.press(C::SetR);
        QCOMPARE(f.text(C::Rreg), "0595");
        QCOMPARE(f.text(C::Fcomp2), " 6.99790062981106");
        // "Set N" now works from the comparison frequency R really gives.
        f.type(C::Fout, "145");
        f.press(C::SetN);
        QCOMPARE(f.text(C::Nreg), "50F0"); // 145 / 6.99790062981106 * 1000 = 20720.49999999999
    }

    void setRAndSetNWithAPort() {
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fref, "10");
        f.press(C::SetR);
        QCOMPARE(f.link.written, Lines{"R0190\r\n"});
        QVERIFY(!f.shown(C::Update)); // Nreg still empty (the edit of Fref hid both)
        f.type(C::Fout, "145");
        f.press(C::SetN);
        QCOMPARE(f.link.written, (Lines{"R0190\r\n", "N16A8\r\n"}));
        QVERIFY(f.shown(C::Update) && f.shown(C::StoreEE));
        QVERIFY(!f.shown(C::Warn));
    }

    void warning() {
        PanelFixture f;
        f.type(C::Fout, "145.01");
        f.press(C::SetN);
        QCOMPARE(f.text(C::Nreg), "16A8");
        QVERIFY(f.shown(C::Warn));
        QCOMPARE(f.text(C::Warn), "Non-integer ratio: \r\nFreq error -10000Hz");
        f.type(C::Fout, "145.025");
        f.press(C::SetN);
        QCOMPARE(f.text(C::Nreg), "16A9");
        QVERIFY(!f.shown(C::Warn));
        QCOMPARE(f.text(C::Warn), "Non-integer ratio: \r\nFreq error -10000Hz"); // caption left
    }

    void emptiedOutputSendsZero() {
        PanelFixture f;
        f.choosePort("1");
        f.clickInto(C::Fout);
        f.press(C::SetN);
        QCOMPARE(f.text(C::Nreg), "0000");
        QVERIFY(!f.shown(C::Warn));
        QCOMPARE(f.link.written, Lines{"N0000\r\n"});
    }

    // Faults stop the press at the failing step; earlier writes stay.
    void faults_data() { addRows(Faults); }
    void faults() {
        const Fault& c = currentRow(Faults);
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fref, c.fref);
        f.type(C::Fout, "145.01");
        f.press(C::SetN); // shows the warning and 16A8
        f.link.reply("reply");
        f.type(C::Fcomp2, c.fcomp);
        f.type(C::Fout, c.fout);
        f.type(C::Nreg, "16A8");
        const auto before = f.panel.state(C::Fcomp2).text;
        f.link.written.clear();
        f.view.changes.clear();

        f.press(c.button);
        QCOMPARE(f.lastErrorKind(), c.kind);
        const QByteArray said = QByteArray::fromStdString(f.reporter.errors.back().message);
        QVERIFY2(said.contains(c.message), said);
        QVERIFY2(said.contains("then press the button again") || said.contains("Then try again"),
                 said); // what to do, not only what happened
        QVERIFY(f.link.written.empty());
        QCOMPARE(f.text(C::Fcomp2), before);
        QCOMPARE(f.text(C::Text1), "reply");
        QCOMPARE(f.text(C::Rreg), "");
        QCOMPARE(f.text(C::Nreg), "16A8");
        if (c.button == C::SetN)
            QCOMPARE(f.view.changes, QStringList{"Warn.Visible"});
        else
            QVERIFY(f.view.changes.isEmpty());
    }

    void writeFailureLeavesEarlierWrites() {
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fref, "10");
        f.type(C::Nreg, "16A8");
        f.link.reply("old");
        f.link.refuseWrite = true;
        f.press(C::SetR);
        QCOMPARE(f.lastErrorKind(), "Port not open");
        QCOMPARE(f.text(C::Fcomp2), " 25");
        QCOMPARE(f.text(C::Text1), "");
        QCOMPARE(f.text(C::Rreg), "0190");
        QVERIFY(!f.shown(C::Update)); // not revealed by this press
    }

    void negativePortSendsNothing() {
        PanelFixture f;
        f.choosePort("-1"); // refused by the link, and told
        QCOMPARE(f.panel.portNumber(), -1);
        f.reporter.errors.clear();
        f.type(C::Fref, "10");
        f.type(C::Fout, "145");
        f.press(C::SetR);
        f.press(C::SetN);
        f.press(C::SetC);
        QVERIFY(f.link.written.empty());
        QVERIFY(f.reporter.errors.empty()); // the presses send nothing, and tell nothing
        QVERIFY(!f.shown(C::Update));
    }

    void setC_data() {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QByteArray>("creg");
        QTest::newRow("initial options") << false << QByteArray("23");
        QTest::newRow("OscIn /16, PDout, inverted") << true << QByteArray("F7");
    }

    void setC() {
        QFETCH(bool, change);
        QFETCH(QByteArray, creg);
        PanelFixture f;
        f.choosePort("1");
        f.link.reply("kept");
        f.panel.userClickedOption(C::PD0);
        if (change) {
            f.panel.userChoseListEntry(C::RefOut, 5);
            f.panel.userClickedOption(C::PD1);
            f.panel.userSetCheck(C::InvertPD, 1);
        }
        f.press(C::SetC);
        QCOMPARE(QByteArray::fromStdString(f.text(C::Creg)), creg);
        QCOMPARE(f.link.written, Lines{"C" + creg.toStdString() + "\r\n"});
        QCOMPARE(f.text(C::Text1), "kept"); // C does not empty the response box
    }

    // The largest dividers the registers take go out whole; one more is refused.
    void sixteenBitBounds_data() {
        QTest::addColumn<QByteArray>("fout");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("N = 65535") << QByteArray("1638.375") << QByteArray("NFFFF\r\n");
        QTest::newRow("N = 0") << QByteArray("0") << QByteArray("N0000\r\n");
        QTest::newRow("N = 32768") << QByteArray("819.2") << QByteArray("N8000\r\n");
    }
    void sixteenBitBounds() {
        QFETCH(QByteArray, fout);
        QFETCH(QByteArray, line);
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fout, fout.toStdString());
        f.press(C::SetN);
        QVERIFY(f.reporter.errors.empty());
        QCOMPARE(f.link.written, Lines{line.toStdString()});
        f.type(C::Fref, "1638.375"); // R = 65535 too
        f.press(C::SetR);
        QCOMPARE(f.link.written.back(), std::string("RFFFF\r\n"));
    }

    void setCOfflineSendsNothing() {
        PanelFixture f;
        f.panel.userClickedOption(C::PD1);
        f.press(C::SetC);
        QCOMPARE(f.text(C::Creg), "63");
        QVERIFY(f.link.written.empty());
        f.choosePort("0");
        f.press(C::SetC);
        QVERIFY(f.link.written.empty());
        QVERIFY(f.reporter.errors.empty());
    }

    void revealNeedsAReferenceAboveZero() {
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fref, "10");
        f.press(C::SetR);
        f.type(C::Fref, "");
        f.type(C::Rreg, "0190");
        f.type(C::Fout, "145");
        f.press(C::SetN);
        QVERIFY(!f.shown(C::Update) && !f.shown(C::StoreEE));
    }

    void responseBoxIsEmptiedBeforeEachCommandButC() {
        PanelFixture f;
        f.choosePort("1");
        f.type(C::Fref, "10");
        f.type(C::Fout, "145");
        f.press(C::SetR);
        f.press(C::SetN);
        f.panel.userClickedOption(C::PD1);
        std::vector<std::string> boxAtWrite;
        f.link.onWrite = [&] {
            boxAtWrite.push_back(f.text(C::Text1));
        };
        for (C button : {C::SetR, C::SetN, C::Update, C::StoreEE, C::SetC}) {
            f.link.reply("answer");
            f.press(button);
        }
        QCOMPARE(boxAtWrite, (Lines{"", "", "", "", "answer"}));
    }
};

QTEST_APPLESS_MAIN(RegisterSettingTest)
#include "RegisterSettingTest.moc"
