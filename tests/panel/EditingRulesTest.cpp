#include "tests/support/PanelFixture.h"

#include <QTest>

using namespace owlet;
using namespace owlet::test;
using C = Control;

class EditingRulesTest : public QObject {
    Q_OBJECT

private slots:
    void startUp() {
        PanelFixture f;
        QVERIFY(f.view.changes.isEmpty()); // putting the initial state in place raises nothing
        QCOMPARE(f.link.calls, std::vector<std::string>{"threshold 1"});
        QCOMPARE(f.panel.portNumber(), 0);
        for (C hidden :
             {C::SetR, C::SetN, C::SetC, C::Update, C::StoreEE, C::Text1, C::Label8, C::Warn})
            QVERIFY2(!f.shown(hidden), controlName(hidden).data());
        QCOMPARE(f.text(C::Creg), "00000");
        QCOMPARE(f.text(C::CPNo), "1");
        QCOMPARE(f.text(C::Fcomp2), "25");
        QCOMPARE(f.panel.state(C::Fcomp2).listIndex, -1);
        QCOMPARE(f.text(C::RefOut), "Ref Out");
        QCOMPARE(f.panel.state(C::RefOut).listIndex, -1);
        QVERIFY(f.panel.state(C::PD0).selected && !f.panel.state(C::PD1).selected);
        QCOMPARE(f.panel.state(C::InvertPD).value, 0);
        QCOMPARE(f.panel.state(C::FvE).value + f.panel.state(C::FrE).value +
                     f.panel.state(C::LDE).value,
                 3);
        QCOMPARE(f.panel.state(C::Fref).backColor, std::optional<unsigned>(Red));
        QCOMPARE(f.text(C::SetR), "Set R ");
    }

    // The click empties the field and the change rule runs inside it, in order.
    void clickIntoFrefAtStartUp() {
        PanelFixture f;
        f.clickInto(C::Fref);
        QCOMPARE(f.view.changes,
                 QStringList({"Fref.Text", "Creg.Text", "Fref.BackColor", "SetR.Visible"}));
        QCOMPARE(f.text(C::Fref), "");
        QCOMPARE(f.panel.state(C::Fref).backColor, std::optional<unsigned>(White));
        QCOMPARE(f.text(C::Creg), "");
        QCOMPARE(f.text(C::Rreg), "");
        QVERIFY(f.shown(C::SetR) && !f.shown(C::Update) && !f.shown(C::StoreEE));
    }

    void clickIntoFoutAtStartUp() {
        PanelFixture f;
        f.clickInto(C::Fout);
        QCOMPARE(f.text(C::Fout), "");
        QCOMPARE(f.panel.state(C::Fout).backColor, std::optional<unsigned>(White));
        QVERIFY(f.shown(C::SetN));
        QCOMPARE(f.text(C::Creg), "00000");
    }

    void clickIntoFout_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("frequency kept") << QByteArray("145.5") << QByteArray("145.5");
        QTest::newRow("negative kept") << QByteArray("-3") << QByteArray("-3");
        QTest::newRow("zero emptied") << QByteArray("0") << QByteArray("");
        QTest::newRow("0.0 emptied") << QByteArray("0.0") << QByteArray("");
        QTest::newRow("letters emptied") << QByteArray("abc") << QByteArray("");
    }

    void clickIntoFout() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        PanelFixture f;
        f.type(C::Fout, before.toStdString());
        f.view.changes.clear();
        f.clickInto(C::Fout);
        QCOMPARE(QByteArray::fromStdString(f.text(C::Fout)), after);
        QCOMPARE(f.view.changes.isEmpty(), before == after);
    }

    void clickIntoEmptyFieldChangesNothing() {
        PanelFixture f;
        f.clickInto(C::Fref);
        f.clickInto(C::Fout);
        f.view.changes.clear();
        f.clickInto(C::Fref);
        f.clickInto(C::Fout);
        QVERIFY(f.view.changes.isEmpty());
    }

    void clickIntoFrefEmptiesTypedValue() {
        PanelFixture f;
        f.type(C::Fref, "10");
        f.clickInto(C::Fref);
        QCOMPARE(f.text(C::Fref), "");
    }

    void editOfFrefKeepsOrEmptiesRreg_data() {
        QTest::addColumn<QByteArray>("rreg");
        QTest::addColumn<bool>("kept");
        for (const char* kept : {"0190", "0400", "1F40"})
            QTest::newRow(kept) << QByteArray(kept) << true;
        for (const char* emptied : {"00C8", "0C35", "A000", "0000"})
            QTest::newRow(emptied) << QByteArray(emptied) << false;
    }

    void editOfFrefKeepsOrEmptiesRreg() {
        QFETCH(QByteArray, rreg);
        QFETCH(bool, kept);
        PanelFixture f;
        f.type(C::Rreg, rreg.toStdString());
        f.type(C::Creg, "23");
        f.type(C::Fref, "1");
        QCOMPARE(QByteArray::fromStdString(f.text(C::Rreg)), kept ? rreg : QByteArray());
        QCOMPARE(f.text(C::Creg), "");
    }

    // Each change runs the rule in full, even when the text ends as it was.
    void typeAndDeleteRunsTheRuleTwice() {
        PanelFixture f;
        f.choosePort("1");
        QVERIFY(f.shown(C::Update));
        f.type(C::Fref, "1");
        f.type(C::Fref, "Enter value");
        QCOMPARE(f.text(C::Creg), "");
        QVERIFY(!f.shown(C::Update) && !f.shown(C::StoreEE));
        f.clickInto(C::Fout);
        QVERIFY(f.shown(C::SetN));
        f.type(C::Fout, "letters");
        QVERIFY(f.shown(C::SetN));
    }

    void editOfFoutEmptiesNregOnly() {
        PanelFixture f;
        f.type(C::Nreg, "16A8");
        f.type(C::Fout, "145");
        QCOMPARE(f.text(C::Nreg), "");
        QCOMPARE(f.text(C::Creg), "00000");
    }

    // Each frequency edit withdraws both module command buttons.
    void frequencyEditsHideUpdateAndStore_data() {
        QTest::addColumn<int>("field");
        QTest::newRow("Fref") << int(C::Fref);
        QTest::newRow("Fout") << int(C::Fout);
    }
    void frequencyEditsHideUpdateAndStore() {
        QFETCH(int, field);
        PanelFixture f;
        f.choosePort("1");
        QVERIFY(f.shown(C::Update) && f.shown(C::StoreEE));
        f.type(static_cast<C>(field), "1");
        QVERIFY(!f.shown(C::Update));
        QVERIFY(!f.shown(C::StoreEE));
    }

    void listChoiceInFcomp2EmptiesRegisters() {
        PanelFixture f;
        f.choosePort("1");
        for (C box : {C::Rreg, C::Nreg, C::Creg})
            f.type(box, "0190");
        f.panel.userChoseListEntry(C::Fcomp2, 0);
        QCOMPARE(f.text(C::Fcomp2), "6.25");
        QCOMPARE(f.panel.state(C::Fcomp2).listIndex, 0);
        for (C box : {C::Rreg, C::Nreg, C::Creg})
            QCOMPARE(f.text(box), "");
        for (C hidden : {C::Update, C::StoreEE, C::SetR, C::SetN, C::SetC})
            QVERIFY(!f.shown(hidden));
    }

    void typingInFcomp2ChangesNothingElse() {
        PanelFixture f;
        f.type(C::Rreg, "0190");
        f.view.changes.clear();
        f.type(C::Fcomp2, "12.5");
        QCOMPARE(f.view.changes, QStringList{"Fcomp2.Text"});
        QCOMPARE(f.panel.state(C::Fcomp2).listIndex, -1);
    }

    void refOutRevealsSetCOnlyWhenTyped() {
        PanelFixture f;
        f.panel.userChoseListEntry(C::RefOut, 5);
        QCOMPARE(f.text(C::RefOut), "OscIn /16");
        QVERIFY(!f.shown(C::SetC));
        f.type(C::RefOut, "OscIn /16x");
        QVERIFY(f.shown(C::SetC));
        QCOMPARE(f.panel.state(C::RefOut).listIndex, -1);
    }

    void optionClicksRevealSetCOnly_data() {
        QTest::addColumn<int>("control");
        for (C c : {C::PD0, C::PD1, C::InvertPD, C::LDE, C::FrE, C::FvE})
            QTest::newRow(controlName(c).data()) << static_cast<int>(c);
    }

    void optionClicksRevealSetCOnly() {
        QFETCH(int, control);
        const auto c = static_cast<C>(control);
        PanelFixture f;
        f.choosePort("1");
        if (controlKind(c) == ControlKind::OptionButton) {
            f.panel.userClickedOption(c);
        } else {
            f.panel.userSetCheck(c, 1 - f.panel.state(c).value);
            f.panel.userSetCheck(c, 1 - f.panel.state(c).value);
        }
        QVERIFY(f.shown(C::SetC));
        QCOMPARE(f.text(C::Creg), "00000");
        QVERIFY(f.shown(C::Update) && f.shown(C::StoreEE));
    }

    void overflowInAClickChangesNothing() {
        PanelFixture f;
        f.type(C::Fout, "1e999");
        f.view.changes.clear();
        f.clickInto(C::Fout);
        QCOMPARE(f.lastErrorKind(), "Overflow");
        QVERIFY(QString::fromStdString(f.reporter.errors.back().message)
                    .startsWith("Clicking into Fout"));
        QVERIFY(f.view.changes.isEmpty());
        // The panel keeps working.
        f.type(C::Fout, "145");
        QCOMPARE(f.text(C::Fout), "145");
    }

    // A fault in the nested change rule ends the click too, before the rule writes.
    void nestedFaultEndsTheClick() {
        PanelFixture f;
        f.type(C::Rreg, "9e999");
        f.type(C::Fref, "10");
        f.reporter.errors.clear();
        f.view.changes.clear();
        f.clickInto(C::Fref);
        QCOMPARE(f.reporter.errors.size(), 1u);
        QCOMPARE(f.view.changes, QStringList{"Fref.Text"});
    }

    void hiddenControlsTakeNoInput() {
        PanelFixture f;
        f.press(C::SetR);
        f.press(C::Update);
        QVERIFY(f.link.calls.size() == 1 && f.reporter.errors.empty());
        QCOMPARE(f.text(C::Rreg), "");
    }
};

QTEST_APPLESS_MAIN(EditingRulesTest)
#include "EditingRulesTest.moc"
