#include "tests/support/PanelFixture.h"

#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;
using Lines = std::vector<std::string>;

// The typical use, from start-up to the store command.
class ScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void typicalUse() {
        PanelFixture f;
        // 1. The window opens.
        QCOMPARE(f.text(C::Fref), "Enter value");
        QCOMPARE(f.text(C::Fout), "Enter value");
        QVERIFY(!f.shown(C::SetR) && !f.shown(C::SetN));

        // 2. "COM Port": port 1 opens, the port controls vanish.
        f.press(C::SetCP);
        QCOMPARE(f.panel.portNumber(), 1);
        QVERIFY(!f.shown(C::SetCP) && !f.shown(C::CPNo));
        for (C c : {C::Update, C::StoreEE, C::Text1, C::Label8})
            QVERIFY(f.shown(c));

        // 3. Click into Fref, type 10.
        f.clickInto(C::Fref);
        QCOMPARE(f.panel.state(C::Fref).backColor, std::optional<unsigned>(White));
        QVERIFY(f.shown(C::SetR));
        for (const char* typed : {"1", "10"})
            f.type(C::Fref, typed);

        // 4. "Set R ".
        f.press(C::SetR);
        QCOMPARE(f.text(C::Rreg), "0190");
        QCOMPARE(f.text(C::Fcomp2), " 25");

        // 5. 145.01 into Fout, "Set N".
        f.clickInto(C::Fout);
        f.type(C::Fout, "145.01");
        f.press(C::SetN);
        QCOMPARE(f.text(C::Nreg), "16A8");
        QCOMPARE(f.text(C::Warn), "Non-integer ratio: \r\nFreq error -10000Hz");
        QVERIFY(f.shown(C::Warn) && f.shown(C::Update) && f.shown(C::StoreEE));

        // 6. Options, "Set C", "Update", "Store to EE"; the module answers.
        f.panel.userSetCheck(C::LDE, 1);
        f.press(C::SetC);
        f.press(C::Update);
        f.link.reply("OK U\r\n");
        f.press(C::StoreEE);
        f.link.reply("OK W\r\n");
        QCOMPARE(f.text(C::Text1), "OK W\r\n");
        QCOMPARE(f.link.written, (Lines{"R0190\r\n", "N16A8\r\n", "C23\r\n", "U\r\n", "W\r\n"}));
        QVERIFY(f.reporter.errors.empty());
    }
};

QTEST_APPLESS_MAIN(ScenarioTest)
#include "ScenarioTest.moc"
